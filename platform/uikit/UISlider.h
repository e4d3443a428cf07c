// A horizontal slider: a value between a minimum and a maximum, set by dragging the thumb
// along a thin track. Value-changed events go out while dragging (continuous) or once when
// the finger lifts; a touch that lands beside the thumb moves nothing.
#pragma once

#include "platform/uikit/UIControl.h"
#include "platform/uikit/UIControlStateValues.h"

class UIColor;
class UIImage;

class UISlider : public UIControl {
    NS_OBJECT(UISlider)
public:
    static std::shared_ptr<UISlider> initWithFrame(const CGRect& frame);
    static std::shared_ptr<UISlider> alloc() { return initWithFrame(CGRectZero); }

    // Setting a bound past the other moves the other along; the value is kept in range.
    float minimumValue() const { return minimumValue_; }
    void setMinimumValue(float minimum);
    float maximumValue() const { return maximumValue_; }
    void setMaximumValue(float maximum);
    // Clamped to the range; setting it from code sends no event.
    float value() const { return value_; }
    void setValue(float value);
    void setValueAnimated(float value, bool animated);
    bool isContinuous() const { return continuous_; }
    void setContinuous(bool continuous) { continuous_ = continuous; }

    // The filled part of the track (minimum side) and the rest; null gives the defaults.
    std::shared_ptr<UIColor> minimumTrackTintColor() const { return minimumTrackTintColor_; }
    void setMinimumTrackTintColor(std::shared_ptr<UIColor> color);
    std::shared_ptr<UIColor> maximumTrackTintColor() const { return maximumTrackTintColor_; }
    void setMaximumTrackTintColor(std::shared_ptr<UIColor> color);
    // Null: a white thumb.
    std::shared_ptr<UIColor> thumbTintColor() const { return thumbTintColor_; }
    void setThumbTintColor(std::shared_ptr<UIColor> color);

    // Pictures per state (a UIControlState mask) in place of the drawn thumb and track
    // parts; a state without its own picture takes the Normal state's.
    void setThumbImageForState(std::shared_ptr<UIImage> image, unsigned state);
    std::shared_ptr<UIImage> thumbImageForState(unsigned state) const;
    void setMinimumTrackImageForState(std::shared_ptr<UIImage> image, unsigned state);
    std::shared_ptr<UIImage> minimumTrackImageForState(unsigned state) const;
    void setMaximumTrackImageForState(std::shared_ptr<UIImage> image, unsigned state);
    std::shared_ptr<UIImage> maximumTrackImageForState(unsigned state) const;
    std::shared_ptr<UIImage> currentThumbImage() const { return thumbImageForState(state()); }

    // The track across the bounds, centred vertically; the thumb on it for a value, its
    // centre running from the track's left end plus half a thumb to the right end minus
    // half a thumb.
    CGRect trackRectForBounds(const CGRect& bounds) const;
    CGRect thumbRectForBoundsTrackRectValue(const CGRect& bounds, const CGRect& rect,
                                            float value) const;

    bool beginTrackingWithTouchWithEvent(const UITouch& touch, const UIEvent* event) override;
    bool continueTrackingWithTouchWithEvent(const UITouch& touch, const UIEvent* event) override;
    void endTrackingWithTouchWithEvent(const UITouch* touch, const UIEvent* event) override;
    void cancelTrackingWithEvent(const UIEvent* event) override;

    // The track (filled part in the minimum tint), then the thumb with a soft shadow.
    void drawRect(const CGRect& rect) override;

protected:
    UISlider() = default;

private:
    CGSize thumbSize() const;
    CGRect currentThumbRect() const;
    // The value whose thumb has its left edge at `thumbX`.
    float valueForThumbX(double thumbX) const;
    void drawTrackPart(const CGRect& part, const std::shared_ptr<UIImage>& image,
                       const std::shared_ptr<UIColor>& color) const;

    float minimumValue_ = 0;
    float maximumValue_ = 1;
    float value_ = 0;
    bool continuous_ = true;
    std::shared_ptr<UIColor> minimumTrackTintColor_;
    std::shared_ptr<UIColor> maximumTrackTintColor_;
    std::shared_ptr<UIColor> thumbTintColor_;
    UIControlStateValues<std::shared_ptr<UIImage>> thumbImages_;
    UIControlStateValues<std::shared_ptr<UIImage>> minimumTrackImages_;
    UIControlStateValues<std::shared_ptr<UIImage>> maximumTrackImages_;
    // While dragging: the finger's distance from the thumb's left edge, and the value when
    // the drag began (a non-continuous slider reports only a change).
    double grabOffset_ = 0;
    float valueAtGrab_ = 0;
};
