// The text of a text overlay: a label that draws its text outlined. The outline is
// stroked first in the outline colour, as wide as the outline width times 30 % of the
// font's size, and the text filled over it, so half the stroke shows around the glyphs;
// both passes are inset by a quarter of the stroke so the outline stays inside the label.
#pragma once

#include "platform/uikit/UILabel.h"

#include <memory>

class PETextLabel : public UILabel {
    NS_OBJECT(PETextLabel)
public:
    static std::shared_ptr<PETextLabel> initWithFrame(const CGRect& frame);
    static std::shared_ptr<PETextLabel> alloc() { return initWithFrame(CGRectZero); }

    std::shared_ptr<UIColor> outlineColor() const { return outlineColor_; }
    // Redraws only for another colour object than the one held.
    void setOutlineColor(std::shared_ptr<UIColor> color);
    double outlineWidth() const { return outlineWidth_; }
    // Redraws only for another width than the one held.
    void setOutlineWidth(double width);

    void drawTextInRect(const CGRect& rect) override;

protected:
    PETextLabel() = default;

private:
    std::shared_ptr<UIColor> outlineColor_;
    double outlineWidth_ = 0;
};
