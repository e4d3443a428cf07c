// The rotate tool's outline: a clear view over the whole picture area that strokes one
// rectangle (the turned picture's bounding box) in its colour, one point wide.
#pragma once

#include "platform/uikit/UIView.h"

#include <memory>

class UIColor;

class PERotatePanel : public UIView {
    NS_OBJECT(PERotatePanel)
public:
    // Covers `superview` (its frame is the superview's bounds), outlines `frame` (in the
    // superview's coordinates) and adds itself to the superview.
    static std::shared_ptr<PERotatePanel> initWithSuperviewFrame(const std::shared_ptr<UIView>& superview,
                                                                 const CGRect& frame);
    static std::shared_ptr<PERotatePanel> alloc();

    CGRect gridRect() const { return gridRect_; }
    // Redraws.
    void setGridRect(const CGRect& rect);
    std::shared_ptr<UIColor> gridColor() const { return gridColor_; }
    // Does not redraw by itself.
    void setGridColor(std::shared_ptr<UIColor> color) { gridColor_ = std::move(color); }

    void drawRect(const CGRect& rect) override;

protected:
    PERotatePanel() = default;

private:
    CGRect gridRect_{};
    std::shared_ptr<UIColor> gridColor_;
};
