#include "platform/uikit/UISlider.h"

#include "platform/graphics/CGPath.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UITouch.h"

#include <algorithm>

namespace {

constexpr double kTrackHeight = 2;
constexpr double kThumbDiameter = 28;
// How far beside the thumb a finger still takes it: fingers are wider than thumbs.
constexpr double kThumbSlop = 10;

std::shared_ptr<UIColor> defaultMinimumTrackColor() {
    return UIColor::colorWithRedGreenBlueAlpha(0, 122 / 255.0, 1, 1);
}

std::shared_ptr<UIColor> defaultMaximumTrackColor() {
    return UIColor::colorWithRedGreenBlueAlpha(0.71, 0.71, 0.73, 1);
}

} // namespace

std::shared_ptr<UISlider> UISlider::initWithFrame(const CGRect& frame) {
    auto slider = make<UISlider>();
    slider->setFrame(frame);
    return slider;
}

// Values

void UISlider::setMinimumValue(float minimum) {
    minimumValue_ = minimum;
    maximumValue_ = std::max(maximumValue_, minimum);
    setValue(value_);
}

void UISlider::setMaximumValue(float maximum) {
    maximumValue_ = maximum;
    minimumValue_ = std::min(minimumValue_, maximum);
    setValue(value_);
}

void UISlider::setValue(float value) {
    value_ = std::clamp(value, minimumValue_, maximumValue_);
    setNeedsDisplay();
}

void UISlider::setValueAnimated(float value, bool) {
    // The thumb is drawn where the value is; there is no in-between state worth showing
    // headless, so both forms jump.
    setValue(value);
}

void UISlider::setMinimumTrackTintColor(std::shared_ptr<UIColor> color) {
    minimumTrackTintColor_ = std::move(color);
    setNeedsDisplay();
}

void UISlider::setMaximumTrackTintColor(std::shared_ptr<UIColor> color) {
    maximumTrackTintColor_ = std::move(color);
    setNeedsDisplay();
}

void UISlider::setThumbTintColor(std::shared_ptr<UIColor> color) {
    thumbTintColor_ = std::move(color);
    setNeedsDisplay();
}

void UISlider::setThumbImageForState(std::shared_ptr<UIImage> image, unsigned state) {
    thumbImages_.set(std::move(image), state);
    setNeedsDisplay();
}

std::shared_ptr<UIImage> UISlider::thumbImageForState(unsigned state) const {
    return thumbImages_.get(state);
}

void UISlider::setMinimumTrackImageForState(std::shared_ptr<UIImage> image, unsigned state) {
    minimumTrackImages_.set(std::move(image), state);
    setNeedsDisplay();
}

std::shared_ptr<UIImage> UISlider::minimumTrackImageForState(unsigned state) const {
    return minimumTrackImages_.get(state);
}

void UISlider::setMaximumTrackImageForState(std::shared_ptr<UIImage> image, unsigned state) {
    maximumTrackImages_.set(std::move(image), state);
    setNeedsDisplay();
}

std::shared_ptr<UIImage> UISlider::maximumTrackImageForState(unsigned state) const {
    return maximumTrackImages_.get(state);
}

// Geometry

CGSize UISlider::thumbSize() const {
    const auto image = currentThumbImage();
    return image ? image->size() : CGSizeMake(kThumbDiameter, kThumbDiameter);
}

CGRect UISlider::trackRectForBounds(const CGRect& bounds) const {
    return CGRectMake(bounds.origin.x, bounds.origin.y + (bounds.size.height - kTrackHeight) / 2,
                      bounds.size.width, kTrackHeight);
}

CGRect UISlider::thumbRectForBoundsTrackRectValue(const CGRect& bounds, const CGRect& rect,
                                                  float value) const {
    const CGSize size = thumbSize();
    const double range = double(maximumValue_) - double(minimumValue_);
    const double fraction =
        range > 0 ? std::clamp((double(value) - minimumValue_) / range, 0.0, 1.0) : 0.0;
    const double travel = std::max(0.0, rect.size.width - size.width);
    return CGRectMake(rect.origin.x + travel * fraction,
                      bounds.origin.y + (bounds.size.height - size.height) / 2, size.width,
                      size.height);
}

CGRect UISlider::currentThumbRect() const {
    const CGRect bounds = this->bounds();
    return thumbRectForBoundsTrackRectValue(bounds, trackRectForBounds(bounds), value_);
}

float UISlider::valueForThumbX(double thumbX) const {
    const CGRect track = trackRectForBounds(bounds());
    const double travel = track.size.width - thumbSize().width;
    if (travel <= 0) {
        return value_;
    }
    const double fraction = std::clamp((thumbX - track.origin.x) / travel, 0.0, 1.0);
    return float(minimumValue_ + fraction * (double(maximumValue_) - minimumValue_));
}

// Tracking

bool UISlider::beginTrackingWithTouchWithEvent(const UITouch& touch, const UIEvent*) {
    const CGPoint point = touch.locationInView(this);
    const CGRect thumb = currentThumbRect();
    if (point.x < CGRectGetMinX(thumb) - kThumbSlop ||
        point.x > CGRectGetMaxX(thumb) + kThumbSlop) {
        return false;
    }
    grabOffset_ = point.x - thumb.origin.x;
    valueAtGrab_ = value_;
    return true;
}

bool UISlider::continueTrackingWithTouchWithEvent(const UITouch& touch, const UIEvent*) {
    const float value = valueForThumbX(touch.locationInView(this).x - grabOffset_);
    if (value != value_) {
        setValue(value);
        if (continuous_) {
            sendActionsForControlEvents(UIControlEventValueChanged);
        }
    }
    return true;
}

void UISlider::endTrackingWithTouchWithEvent(const UITouch*, const UIEvent*) {
    if (!continuous_ && value_ != valueAtGrab_) {
        sendActionsForControlEvents(UIControlEventValueChanged);
    }
}

void UISlider::cancelTrackingWithEvent(const UIEvent* event) {
    // The thumb stays where the finger left it, so the value it shows is reported.
    endTrackingWithTouchWithEvent(nullptr, event);
}

// Drawing

void UISlider::drawTrackPart(const CGRect& part, const std::shared_ptr<UIImage>& image,
                             const std::shared_ptr<UIColor>& color) const {
    if (part.size.width <= 0) {
        return;
    }
    if (image) {
        image->drawInRect(part);
        return;
    }
    const CGContextRef context = UIGraphicsGetCurrentContext();
    const double radius = std::min(part.size.width, part.size.height) / 2;
    CGContextSetFillColorWithColor(context, color->cgColor());
    CGContextAddPath(context, CGPathCreateWithRoundedRect(part, radius, radius, nullptr));
    CGContextFillPath(context);
}

void UISlider::drawRect(const CGRect&) {
    const CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) {
        return;
    }
    const CGRect bounds = this->bounds();
    const CGRect thumb = currentThumbRect();
    const double split = CGRectGetMidX(thumb);
    const unsigned state = this->state();
    const CGRect track = trackRectForBounds(bounds);

    // Track images keep their own height, centred on the track line.
    auto partRect = [&](const std::shared_ptr<UIImage>& image, double minX, double maxX) {
        const double height = image ? image->size().height : track.size.height;
        return CGRectMake(minX, CGRectGetMidY(track) - height / 2, maxX - minX, height);
    };
    const auto minimumImage = minimumTrackImageForState(state);
    const auto maximumImage = maximumTrackImageForState(state);
    drawTrackPart(partRect(maximumImage, split, CGRectGetMaxX(track)), maximumImage,
                  maximumTrackTintColor_ ? maximumTrackTintColor_ : defaultMaximumTrackColor());
    drawTrackPart(partRect(minimumImage, CGRectGetMinX(track), split), minimumImage,
                  minimumTrackTintColor_ ? minimumTrackTintColor_ : defaultMinimumTrackColor());

    if (const auto image = currentThumbImage()) {
        image->drawInRect(thumb);
        return;
    }
    const CGRect disc = CGRectInset(thumb, 0.5, 0.5);
    CGContextSaveGState(context);
    CGContextSetShadowWithColor(context, CGSizeMake(0, 3), 8, CGColorMake(0, 0, 0, 0.15));
    CGContextSetFillColorWithColor(context, thumbTintColor_ ? thumbTintColor_->cgColor()
                                                            : CGColorMake(1, 1, 1, 1));
    CGContextFillEllipseInRect(context, disc);
    CGContextRestoreGState(context);
    // A hairline edge keeps a white thumb visible on a white panel.
    CGContextSetStrokeColorWithColor(context, CGColorMake(0, 0, 0, 0.06));
    CGContextSetLineWidth(context, 0.5);
    CGContextStrokeEllipseInRect(context, disc);
}
