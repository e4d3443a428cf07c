#include "editor/widgets/PEColorPickerView.h"

#include "app/categories/UIView+UIViewx.h"
#include "platform/graphics/CGContext.h"
#include "platform/graphics/CGGradient.h"
#include "platform/graphics/CGPath.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UISlider.h"

#include <numbers>

namespace {
constexpr double kDefaultHeight = 180;
constexpr double kSliderThickness = 34;
constexpr double kPillThickness = 10;
constexpr double kCheckerSide = 5;

// The colour's red, green and blue, or its grey in all three.
void readRGB(const UIColor& color, double& red, double& green, double& blue) {
    double alpha = 0;
    if (!color.getRedGreenBlueAlpha(&red, &green, &blue, &alpha)) {
        double white = 0;
        color.getWhiteAlpha(&white, &alpha);
        red = green = blue = white;
    }
}

// A two-stop gradient from `from` to `to` (RGBA) across the pill, extended past its end.
void drawTrackGradient(const CGContextRef& context, const CGSize& size, const double (&from)[4],
                       const double (&to)[4]) {
    const double components[8] = {from[0], from[1], from[2], from[3], to[0], to[1], to[2], to[3]};
    const double locations[2] = {0, 1};
    const auto gradient = CGGradientCreateWithColorComponents(components, locations, 2);
    CGContextDrawLinearGradient(context, gradient, CGPointMake(kCheckerSide, 0),
                                CGPointMake(size.width - 2 * kCheckerSide, 0),
                                kCGGradientDrawsAfterEndLocation);
}
} // namespace

std::shared_ptr<PEColorPickerView> PEColorPickerView::init() {
    return initWithFrame(CGRectMake(0, 0, 0, kDefaultHeight));
}

std::shared_ptr<PEColorPickerView> PEColorPickerView::initWithFrame(const CGRect& frame) {
    auto picker = make<PEColorPickerView>();
    picker->setFrame(frame);
    picker->customeInit();
    return picker;
}

void PEColorPickerView::customeInit() {
    setBackgroundColor(UIColor::clearColor());
    const double h = UIViewx::height(*this);
    hueCircle_ = _PEHueCircleView::initWithFrame(CGRectMake(0, 0, h, h));
    hueCircle_->setDelegate(self<PEColorPickerView>());
    addSubview(hueCircle_);

    saturationSlider_ = defaultSliderWithWidth(0.9 * h);
    saturationSlider_->setCenter(CGPointMake(h + 20, h * 0.5));
    saturationSlider_->addTargetActionForControlEvents(
        self<PEColorPickerView>(), &PEColorPickerView::saturationSliderDidChange,
        UIControlEventValueChanged);
    addSubview(saturationSlider_);
    saturationTrack_ = trackBehind(saturationSlider_);

    alphaSlider_ = defaultSliderWithWidth(0.9 * h);
    alphaSlider_->setCenter(CGPointMake(saturationSlider_->center().x + 40, h * 0.5));
    alphaSlider_->addTargetActionForControlEvents(self<PEColorPickerView>(),
                                                  &PEColorPickerView::alphaSliderDidChange,
                                                  UIControlEventValueChanged);
    addSubview(alphaSlider_);
    alphaTrack_ = trackBehind(alphaSlider_);
    setSliderTracks();

    UIViewx::setWidth(*this, float(alphaSlider_->center().x + 30));
}

std::shared_ptr<UISlider> PEColorPickerView::defaultSliderWithWidth(double width) {
    auto slider = UISlider::initWithFrame(CGRectMake(0, 0, width, kSliderThickness));
    slider->setValue(1.0f);
    // No track of its own: the background shows the colours.
    slider->setMinimumTrackTintColor(UIColor::clearColor());
    slider->setMaximumTrackTintColor(UIColor::clearColor());
    slider->setThumbTintColor(UIColor::whiteColor());
    // Upright, the minimum at the bottom.
    slider->setTransform(CGAffineTransformMakeRotation(-std::numbers::pi / 2));
    return slider;
}

std::shared_ptr<UIColor> PEColorPickerView::color() const {
    return hueCircle_->color();
}

void PEColorPickerView::setColor(const std::shared_ptr<UIColor>& color) {
    if (!color) {
        return;
    }
    double h = 0, s = 0, b = 0, a = 0, white = 0;
    if (color->getHueSaturationBrightnessAlpha(&h, &s, &b, &a)) {
        saturationSlider_->setValue(float(b == 0 ? 1.0 : s));
        alphaSlider_->setValue(float(a));
    } else if (color->getWhiteAlpha(&white, &a)) {
        saturationSlider_->setValue(white == 0 ? 1.0f : 0.0f);
        alphaSlider_->setValue(float(a));
    }
    hueCircle_->setColor(color);
}

void PEColorPickerView::setColorWithHueSaturationBrightnessAlpha(double hue, double saturation,
                                                                 double brightness, double alpha) {
    saturationSlider_->setValue(float(brightness == 0 ? 1.0 : saturation));
    alphaSlider_->setValue(float(alpha));
    hueCircle_->setColorWithHueSaturationBrightnessAlpha(hue, saturation, brightness, alpha);
}

double PEColorPickerView::hueComponent() const {
    return hueCircle_->hue();
}

double PEColorPickerView::brightnessComponent() const {
    return hueCircle_->brightness();
}

double PEColorPickerView::saturationComponent() const {
    return saturationSlider_->value();
}

double PEColorPickerView::alphaComponent() const {
    return alphaSlider_->value();
}

void PEColorPickerView::saturationSliderDidChange(UISlider& slider) {
    hueCircle_->setColorSaturation(slider.value());
}

void PEColorPickerView::alphaSliderDidChange(UISlider& slider) {
    hueCircle_->setColorAlpha(slider.value());
}

std::shared_ptr<UIImageView>
PEColorPickerView::trackBehind(const std::shared_ptr<UISlider>& slider) {
    auto track = UIImageView::initWithFrame(slider->bounds());
    track->setCenter(slider->center());
    track->setTransform(slider->transform());
    insertSubviewBelowSubview(track, slider);
    return track;
}

void PEColorPickerView::setSliderTracks() {
    saturationTrack_->setImage(saturationSliderBackground());
    alphaTrack_->setImage(alphaSliderBackground());
}

void PEColorPickerView::hueCircleViewDidChange(_PEHueCircleView&) {
    setSliderTracks();
    if (const auto delegate = delegate_.lock()) {
        delegate->colorPickerViewColorDidChange(*this, hueCircle_->color());
    }
}

// Track pictures

std::shared_ptr<UIImage>
PEColorPickerView::sliderBackground(UISlider& slider,
                                    const std::function<void(const CGSize& size)>& fill) const {
    const CGAffineTransform turned = slider.transform();
    slider.setTransform(CGAffineTransformIdentity);
    const CGSize size = slider.frame().size;
    std::shared_ptr<UIImage> image;
    if (size.width > 0 && size.height > 0) {
        UIGraphicsBeginImageContextWithOptions(size, false, UIScreen::mainScreen()->scale());
        const CGContextRef context = UIGraphicsGetCurrentContext();
        const CGRect pill = CGRectMake(kCheckerSide, (size.height - kPillThickness) * 0.5,
                                       size.width - 2 * kCheckerSide, kPillThickness);
        CGContextAddPath(context, CGPathCreateWithRoundedRect(pill, kPillThickness / 2,
                                                              kPillThickness / 2, nullptr));
        CGContextClip(context);
        fill(size);
        image = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
    }
    slider.setTransform(turned);
    return image;
}

std::shared_ptr<UIImage> PEColorPickerView::saturationSliderBackground() const {
    return sliderBackground(*saturationSlider_, [this](const CGSize& size) {
        const auto full = UIColor::colorWithHueSaturationBrightnessAlpha(
            hueCircle_->hue(), 1.0, hueCircle_->brightness(), 1.0);
        double red = 0, green = 0, blue = 0;
        readRGB(*full, red, green, blue);
        drawTrackGradient(UIGraphicsGetCurrentContext(), size, {1, 1, 1, 1}, {red, green, blue, 1});
    });
}

std::shared_ptr<UIImage> PEColorPickerView::alphaSliderBackground() const {
    return sliderBackground(*alphaSlider_, [this](const CGSize& size) {
        const CGContextRef context = UIGraphicsGetCurrentContext();
        CGContextSetGrayFillColor(context, 0.9, 1);
        for (int i = 0; i < size.width / kCheckerSide; ++i) {
            CGContextAddRect(context, CGRectMake(kCheckerSide * i,
                                                 size.height * 0.5 - kCheckerSide * (i % 2),
                                                 kCheckerSide, kCheckerSide));
        }
        CGContextFillPath(context);
        double red = 0, green = 0, blue = 0;
        readRGB(*hueCircle_->color(), red, green, blue);
        drawTrackGradient(context, size, {red, green, blue, 0}, {red, green, blue, 1});
    });
}
