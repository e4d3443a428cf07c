// A colour with alpha, picked in hue, saturation and brightness: the hue wheel (hue and
// brightness), then two upright sliders for saturation and alpha whose tracks show the
// colours they run through. Every change, by the finger or set, reaches the delegate once,
// through the wheel.
//
// The track pictures stand in image views behind the sliders, turned with them: a pattern
// colour as the sliders' background would tile from the window's corner, unturned, and
// show stripes instead of a track.
#pragma once

#include "editor/widgets/_PEHueCircleView.h"
#include "platform/uikit/UIView.h"

#include <functional>
#include <memory>

class PEColorPickerView;
class UIColor;
class UIImage;
class UIImageView;
class UISlider;

class PEColorPickerViewDelegate {
public:
    virtual ~PEColorPickerViewDelegate() = default;
    virtual void colorPickerViewColorDidChange(PEColorPickerView& picker,
                                               const std::shared_ptr<UIColor>& color) {}
};

class PEColorPickerView : public UIView, public _PEHueCircleViewDelegate {
    NS_OBJECT(PEColorPickerView)
public:
    // 180 high; it makes itself as wide as its controls.
    static std::shared_ptr<PEColorPickerView> init();
    static std::shared_ptr<PEColorPickerView> initWithFrame(const CGRect& frame);
    static std::shared_ptr<PEColorPickerView> alloc() { return init(); }

    std::shared_ptr<PEColorPickerViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<PEColorPickerViewDelegate> delegate) {
        delegate_ = std::move(delegate);
    }

    std::shared_ptr<UIColor> color() const;
    // Read as hue, saturation, brightness and alpha, else as a grey, for the sliders; the
    // wheel then takes the colour.
    void setColor(const std::shared_ptr<UIColor>& color);
    void setColorWithHueSaturationBrightnessAlpha(double hue, double saturation, double brightness,
                                                  double alpha);
    double hueComponent() const;
    double brightnessComponent() const;
    double saturationComponent() const;
    double alphaComponent() const;

    std::shared_ptr<_PEHueCircleView> hueCircle() const { return hueCircle_; }
    std::shared_ptr<UISlider> saturationSlider() const { return saturationSlider_; }
    std::shared_ptr<UISlider> alphaSlider() const { return alphaSlider_; }
    std::shared_ptr<UIImageView> saturationTrack() const { return saturationTrack_; }
    std::shared_ptr<UIImageView> alphaTrack() const { return alphaTrack_; }

    // The tracks: white to the fully saturated colour, and a checkerboard under clear to
    // the colour, each a 10-point pill along the slider's unturned frame.
    std::shared_ptr<UIImage> saturationSliderBackground() const;
    std::shared_ptr<UIImage> alphaSliderBackground() const;

    void hueCircleViewDidChange(_PEHueCircleView& view) override;

protected:
    PEColorPickerView() = default;

private:
    void customeInit();
    std::shared_ptr<UISlider> defaultSliderWithWidth(double width);
    // An image view over the slider's place, turned as it is, added just below it.
    std::shared_ptr<UIImageView> trackBehind(const std::shared_ptr<UISlider>& slider);
    void setSliderTracks();
    void saturationSliderDidChange(UISlider& slider);
    void alphaSliderDidChange(UISlider& slider);
    // Draws a track picture in the slider's unturned frame: the pill clipped, then `fill`.
    std::shared_ptr<UIImage>
    sliderBackground(UISlider& slider, const std::function<void(const CGSize& size)>& fill) const;

    std::shared_ptr<_PEHueCircleView> hueCircle_;
    std::shared_ptr<UISlider> saturationSlider_;
    std::shared_ptr<UISlider> alphaSlider_;
    std::shared_ptr<UIImageView> saturationTrack_;
    std::shared_ptr<UIImageView> alphaTrack_;
    std::weak_ptr<PEColorPickerViewDelegate> delegate_;
};
