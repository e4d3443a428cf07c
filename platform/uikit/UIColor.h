// A colour as the views and drawing code hand it around: red, green, blue and alpha in
// 0..1 in the extended sRGB space, or a pattern image tiled in place of a colour.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/graphics/CGColor.h"

#include <memory>

class UIImage;

class UIColor : public NSObject {
    NS_OBJECT(UIColor)
public:
    // Components outside 0..1 are clamped.
    static std::shared_ptr<UIColor> colorWithRedGreenBlueAlpha(double red, double green,
                                                               double blue, double alpha);
    static std::shared_ptr<UIColor> colorWithWhiteAlpha(double white, double alpha);
    // Hue as a share of a turn from red (1 is red again; beyond 0..1 it wraps round),
    // saturation and brightness clamped to 0..1.
    static std::shared_ptr<UIColor> colorWithHueSaturationBrightnessAlpha(double hue,
                                                                          double saturation,
                                                                          double brightness,
                                                                          double alpha);

    static std::shared_ptr<UIColor> clearColor();
    static std::shared_ptr<UIColor> blackColor();
    static std::shared_ptr<UIColor> whiteColor();
    static std::shared_ptr<UIColor> grayColor();
    static std::shared_ptr<UIColor> lightGrayColor();
    static std::shared_ptr<UIColor> darkGrayColor();
    static std::shared_ptr<UIColor> redColor();
    static std::shared_ptr<UIColor> greenColor();
    static std::shared_ptr<UIColor> blueColor();
    static std::shared_ptr<UIColor> yellowColor();
    static std::shared_ptr<UIColor> orangeColor();
    static std::shared_ptr<UIColor> cyanColor();
    static std::shared_ptr<UIColor> magentaColor();

    // A colour that paints by tiling the image, `scale` pixels to a point (opaque black
    // in its components).
    static std::shared_ptr<UIColor> colorWithPatternImage(CGImageRef image, double scale);
    // The image upright at its own scale, its tiles starting at the drawing context's base
    // origin (a window's top left when the window is painted), not at the painted view's.
    // No image: a clear colour, so a missing picture paints nothing.
    static std::shared_ptr<UIColor> colorWithPatternImage(const std::shared_ptr<UIImage>& image);

    // The same colour with another alpha.
    std::shared_ptr<UIColor> colorWithAlphaComponent(double alpha) const;
    // Writes each component whose pointer is non-null; always succeeds for these colours.
    bool getRedGreenBlueAlpha(double* red, double* green, double* blue, double* alpha) const;
    // The colour as hue (0 up to 1; 0 for greys), saturation and brightness; NO (and
    // nothing written) for a pattern, which has no colour of its own.
    bool getHueSaturationBrightnessAlpha(double* hue, double* saturation, double* brightness,
                                         double* alpha) const;
    // The colour's grey level (its luma, by the Rec. 601 weights; a grey's own level) and
    // alpha; NO (and nothing written) for a pattern.
    bool getWhiteAlpha(double* white, double* alpha) const;

    double red() const { return red_; }
    double green() const { return green_; }
    double blue() const { return blue_; }
    double alpha() const { return alpha_; }
    const CGImageRef& patternImage() const { return patternImage_; }

    // The colour as drawing contexts take it.
    CGColor cgColor() const;

    // Equal when every component is exactly equal and the pattern image is the same.
    bool isEqual(const NSObject& other) const override;
    // "UIExtendedSRGBColorSpace 1 0.5 0 1".
    std::string description() const override;

private:
    UIColor(double red, double green, double blue, double alpha);

    double red_;
    double green_;
    double blue_;
    double alpha_;
    CGImageRef patternImage_;
    double patternScale_ = 1;
};
