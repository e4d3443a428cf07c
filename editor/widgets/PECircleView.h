// A round dot: one filled ellipse, centred in a clear view, with an outline stroked on its
// edge. The handles of the text and picture overlays, the hue wheel's marker and the text
// panel's colour swatches; whoever holds it places it and gives it its gestures.
#pragma once

#include "platform/uikit/UIView.h"

#include <memory>

class UIColor;

class PECircleView : public UIView {
    NS_OBJECT(PECircleView)
public:
    // Clear background, a black fill filling the bounds, a clear outline of width 0.
    static std::shared_ptr<PECircleView> initWithFrame(const CGRect& frame);
    static std::shared_ptr<PECircleView> alloc() { return initWithFrame(CGRectZero); }

    std::shared_ptr<UIColor> color() const { return color_; }
    // Redraws only for another colour object than the one held.
    void setColor(std::shared_ptr<UIColor> color);
    // The ellipse's size as a share of the bounds' (1 fills them). Only stored: a new
    // radius shows at the next redraw.
    double radius() const { return radius_; }
    void setRadius(double radius) { radius_ = radius; }
    std::shared_ptr<UIColor> borderColor() const { return borderColor_; }
    // Redraws only for another colour object than the one held.
    void setBorderColor(std::shared_ptr<UIColor> color);
    double borderWidth() const { return borderWidth_; }
    // Redraws only for another width than the one held.
    void setBorderWidth(double width);

    // The ellipse filled, then its outline stroked on the same edge (half of it falls
    // outside an ellipse that fills the bounds, and is clipped away with them).
    void drawRect(const CGRect& rect) override;

protected:
    PECircleView();

private:
    std::shared_ptr<UIColor> color_;
    double radius_ = 1;
    std::shared_ptr<UIColor> borderColor_;
    double borderWidth_ = 0;
};
