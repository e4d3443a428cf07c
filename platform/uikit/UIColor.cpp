#include "platform/uikit/UIColor.h"

#include "platform/uikit/UIImage.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

double clampComponent(double value) {
    return std::clamp(value, 0.0, 1.0);
}

} // namespace

UIColor::UIColor(double red, double green, double blue, double alpha)
    : red_(clampComponent(red)), green_(clampComponent(green)), blue_(clampComponent(blue)),
      alpha_(clampComponent(alpha)) {}

std::shared_ptr<UIColor> UIColor::colorWithRedGreenBlueAlpha(double red, double green, double blue,
                                                             double alpha) {
    return make<UIColor>(red, green, blue, alpha);
}

std::shared_ptr<UIColor> UIColor::colorWithWhiteAlpha(double white, double alpha) {
    return colorWithRedGreenBlueAlpha(white, white, white, alpha);
}

std::shared_ptr<UIColor> UIColor::colorWithHueSaturationBrightnessAlpha(double hue,
                                                                        double saturation,
                                                                        double brightness,
                                                                        double alpha) {
    const double h = std::isfinite(hue) ? hue - std::floor(hue) : 0;
    const double s = std::isfinite(saturation) ? std::clamp(saturation, 0.0, 1.0) : 0;
    const double v = std::isfinite(brightness) ? std::clamp(brightness, 0.0, 1.0) : 0;
    // The hexcone: six sectors of the turn, each ramping one component up or down.
    const double sector = h * 6;
    const int index = int(sector) % 6;
    const double f = sector - std::floor(sector);
    const double p = v * (1 - s);
    const double q = v * (1 - s * f);
    const double t = v * (1 - s * (1 - f));
    const double rgb[6][3] = {{v, t, p}, {q, v, p}, {p, v, t}, {p, q, v}, {t, p, v}, {v, p, q}};
    return colorWithRedGreenBlueAlpha(rgb[index][0], rgb[index][1], rgb[index][2], alpha);
}

std::shared_ptr<UIColor> UIColor::clearColor() {
    return colorWithWhiteAlpha(0, 0);
}
std::shared_ptr<UIColor> UIColor::blackColor() {
    return colorWithWhiteAlpha(0, 1);
}
std::shared_ptr<UIColor> UIColor::whiteColor() {
    return colorWithWhiteAlpha(1, 1);
}
std::shared_ptr<UIColor> UIColor::grayColor() {
    return colorWithWhiteAlpha(0.5, 1);
}
std::shared_ptr<UIColor> UIColor::lightGrayColor() {
    return colorWithWhiteAlpha(2.0 / 3.0, 1);
}
std::shared_ptr<UIColor> UIColor::darkGrayColor() {
    return colorWithWhiteAlpha(1.0 / 3.0, 1);
}
std::shared_ptr<UIColor> UIColor::redColor() {
    return colorWithRedGreenBlueAlpha(1, 0, 0, 1);
}
std::shared_ptr<UIColor> UIColor::greenColor() {
    return colorWithRedGreenBlueAlpha(0, 1, 0, 1);
}
std::shared_ptr<UIColor> UIColor::blueColor() {
    return colorWithRedGreenBlueAlpha(0, 0, 1, 1);
}
std::shared_ptr<UIColor> UIColor::yellowColor() {
    return colorWithRedGreenBlueAlpha(1, 1, 0, 1);
}
std::shared_ptr<UIColor> UIColor::orangeColor() {
    return colorWithRedGreenBlueAlpha(1, 0.5, 0, 1);
}
std::shared_ptr<UIColor> UIColor::cyanColor() {
    return colorWithRedGreenBlueAlpha(0, 1, 1, 1);
}
std::shared_ptr<UIColor> UIColor::magentaColor() {
    return colorWithRedGreenBlueAlpha(1, 0, 1, 1);
}

std::shared_ptr<UIColor> UIColor::colorWithPatternImage(CGImageRef image, double scale) {
    auto color = colorWithRedGreenBlueAlpha(0, 0, 0, 1);
    color->patternImage_ = std::move(image);
    color->patternScale_ = scale > 0 ? scale : 1;
    return color;
}

std::shared_ptr<UIColor> UIColor::colorWithPatternImage(const std::shared_ptr<UIImage>& image) {
    if (!image || !image->uprightCGImage()) {
        return clearColor();
    }
    return colorWithPatternImage(image->uprightCGImage(), image->scale());
}

std::shared_ptr<UIColor> UIColor::colorWithAlphaComponent(double alpha) const {
    auto color = colorWithRedGreenBlueAlpha(red_, green_, blue_, alpha);
    color->patternImage_ = patternImage_;
    color->patternScale_ = patternScale_;
    return color;
}

CGColor UIColor::cgColor() const {
    CGColor color = CGColorMake(red_, green_, blue_, alpha_);
    color.pattern = patternImage_;
    color.patternScale = patternScale_;
    return color;
}

bool UIColor::getHueSaturationBrightnessAlpha(double* hue, double* saturation, double* brightness,
                                              double* alpha) const {
    if (patternImage_) {
        return false;
    }
    const double high = std::max({red_, green_, blue_});
    const double low = std::min({red_, green_, blue_});
    const double range = high - low;
    double h = 0;
    if (range > 0) {
        if (high == red_) {
            h = (green_ - blue_) / range;
        } else if (high == green_) {
            h = 2 + (blue_ - red_) / range;
        } else {
            h = 4 + (red_ - green_) / range;
        }
        h /= 6;
        if (h < 0) {
            h += 1;
        }
    }
    const auto put = [](double* out, double value) {
        if (out) {
            *out = value;
        }
    };
    put(hue, h);
    put(saturation, high > 0 ? range / high : 0);
    put(brightness, high);
    put(alpha, alpha_);
    return true;
}

bool UIColor::getWhiteAlpha(double* white, double* alpha) const {
    if (patternImage_) {
        return false;
    }
    if (white) {
        *white = red_ == green_ && green_ == blue_ ? red_
                                                   : 0.299 * red_ + 0.587 * green_ + 0.114 * blue_;
    }
    if (alpha) {
        *alpha = alpha_;
    }
    return true;
}

bool UIColor::getRedGreenBlueAlpha(double* red, double* green, double* blue, double* alpha) const {
    if (red) {
        *red = red_;
    }
    if (green) {
        *green = green_;
    }
    if (blue) {
        *blue = blue_;
    }
    if (alpha) {
        *alpha = alpha_;
    }
    return true;
}

bool UIColor::isEqual(const NSObject& other) const {
    const auto* color = dynamic_cast<const UIColor*>(&other);
    return color && color->red_ == red_ && color->green_ == green_ && color->blue_ == blue_ &&
           color->alpha_ == alpha_ && color->patternImage_ == patternImage_ &&
           color->patternScale_ == patternScale_;
}

std::string UIColor::description() const {
    if (patternImage_) {
        return "UIPatternColor";
    }
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "UIExtendedSRGBColorSpace %g %g %g %g", red_, green_,
                  blue_, alpha_);
    return buffer;
}
