// The outline of the blur tool's sharp band: a view as wide as the picture's diagonal and
// as tall as the picture, centred on it, whose middle 40 % of the height is the band. The
// band is thickened by a vertical scale, turned, and shifted along its own normal through
// the view's transform. Every change shows the outline and fades it out a second later.
#pragma once

#include "editor/PEOutlineFade.h"
#include "platform/uikit/UIView.h"

#include <memory>

class UIColor;

class PEBlurBand : public UIView {
    NS_OBJECT(PEBlurBand)
public:
    // Level, at scale 1 and offset 0.
    static std::shared_ptr<PEBlurBand> initWithFrame(const CGRect& frame);
    static std::shared_ptr<PEBlurBand> alloc() { return initWithFrame(CGRectZero); }

    // Also show the outline again.
    void setFrame(const CGRect& frame);
    void setCenter(const CGPoint& center);
    void setTransform(const CGAffineTransform& transform);

    std::shared_ptr<UIColor> color() const { return color_; }
    void setColor(std::shared_ptr<UIColor> color) { color_ = std::move(color); }
    // Radians.
    double rotation() const { return rotation_; }
    void setRotation(double rotation);
    // The band's thickness factor.
    double scale() const { return scale_; }
    void setScale(double scale);
    // Points along the band's normal, in the coordinates of the view it lies in.
    double offset() const { return offset_; }
    void setOffset(double offset);

    // The view's transform from rotation, scale and offset: scaled vertically, turned, then
    // shifted along the turned vertical axis (about the view's centre).
    void calcTransform();

    // As PEBlurCircle's.
    void showOutline();

    // The band's two edges, one point thick whatever the scale.
    void drawRect(const CGRect& rect) override;

protected:
    PEBlurBand() = default;

private:
    std::shared_ptr<UIColor> color_;
    PEOutlineFade fade_;
    double rotation_ = 0;
    double scale_ = 1;
    double offset_ = 0;
};
