// The colour picker's wheel: a ring of hues at the rim, drawn at the current saturation,
// and a round marker on the disc whose angle is the hue and whose distance from the centre
// (a share of the ring's radius) is the brightness. The marker's fill is the picked colour.
// A tap on the wheel or a drag of the marker puts the marker under the finger, held inside
// the disc.
#pragma once

#include "platform/uikit/UIView.h"

#include <memory>

class PECircleView;
class UIColor;
class UIGestureRecognizer;
class _PEHueCircleView;

class _PEHueCircleViewDelegate {
public:
    virtual ~_PEHueCircleViewDelegate() = default;
    // After every change of the colour, by the finger or set.
    virtual void hueCircleViewDidChange(_PEHueCircleView& view) {}
};

class _PEHueCircleView : public UIView {
    NS_OBJECT(_PEHueCircleView)
public:
    // Segments of the hue ring.
    static constexpr int kRingSegments = 320;

    static std::shared_ptr<_PEHueCircleView> initWithFrame(const CGRect& frame);
    static std::shared_ptr<_PEHueCircleView> alloc() { return initWithFrame(CGRectZero); }

    std::shared_ptr<_PEHueCircleViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<_PEHueCircleViewDelegate> delegate) {
        delegate_ = std::move(delegate);
    }

    // The marker's angle as a share of a turn: in (0, 1], 1 on the positive x axis and at
    // the centre.
    double hue() const;
    // The marker's distance from the centre as a share of the ring's radius, at most 1.
    double brightness() const;
    double saturation() const { return saturation_; }
    double alphaComponent() const { return alpha_; }
    // The marker's fill.
    std::shared_ptr<UIColor> color() const;
    // Read as hue, saturation, brightness and alpha, else as a grey; a colour that is
    // neither changes nothing. The ring is drawn again.
    void setColor(const std::shared_ptr<UIColor>& color);
    // Places the marker for the hue and brightness; black (brightness 0) keeps full
    // saturation. The ring is not drawn again.
    void setColorWithHueSaturationBrightnessAlpha(double hue, double saturation, double brightness,
                                                  double alpha);
    void setColorSaturation(double saturation);
    void setColorAlpha(double alpha);
    // Moves the marker to the point (own coordinates), held inside the disc.
    void setCircleViewToPoint(const CGPoint& point);
    std::shared_ptr<PECircleView> circleView() const { return circleView_; }

    // The ring: the radius as line width, each hue's segment overlapping the next.
    void drawRect(const CGRect& rect) override;

protected:
    _PEHueCircleView() = default;

private:
    void commonInit();
    CGPoint wheelCenter() const;
    double circleRadius() const;
    void colorStateDidChange();
    void fingerDidMove(UIGestureRecognizer& recognizer);

    std::shared_ptr<PECircleView> circleView_;
    double saturation_ = 1;
    double alpha_ = 1;
    std::weak_ptr<_PEHueCircleViewDelegate> delegate_;
};
