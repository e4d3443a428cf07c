// The outline of the blur tool's sharp circular spot: a ring 0.3 of the view's side across,
// centred in the view, whose whole square the spot's mask is stretched over. Every move or
// resize shows the ring and fades it out a second later.
#pragma once

#include "editor/PEOutlineFade.h"
#include "platform/uikit/UIView.h"

#include <memory>

class UIColor;

class PEBlurCircle : public UIView {
    NS_OBJECT(PEBlurCircle)
public:
    static std::shared_ptr<PEBlurCircle> initWithFrame(const CGRect& frame);
    static std::shared_ptr<PEBlurCircle> alloc() { return initWithFrame(CGRectZero); }

    // Also show the outline again.
    void setFrame(const CGRect& frame);
    void setCenter(const CGPoint& center);

    // The ring's colour; setting it does not redraw.
    std::shared_ptr<UIColor> color() const { return color_; }
    void setColor(std::shared_ptr<UIColor> color) { color_ = std::move(color); }

    // Redraws the ring, fully opaque, then fades the view out: 0.2 s after a second,
    // touches still passing through meanwhile.
    void showOutline();

    // The ring, stroked one point wide in the colour.
    void drawRect(const CGRect& rect) override;

protected:
    PEBlurCircle() = default;

private:
    std::shared_ptr<UIColor> color_;
    PEOutlineFade fade_;
};
