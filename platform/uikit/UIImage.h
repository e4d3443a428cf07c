// An image as views and drawing use it: a pixel grid with a scale (pixels per point) and
// an orientation saying how the stored pixels are shown. Loads PNG and JPEG files, data
// and the app bundle's named images; writes PNG and JPEG.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/ErrorOr.h"
#include "platform/graphics/CGContext.h"
#include "platform/graphics/CGGeometry.h"
#include "platform/graphics/CGImage.h"
#include "platform/graphics/ImageOrientation.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

// How the stored pixels are shown (the platform's values 0..7): Right means they are
// turned a quarter turn clockwise for display, as a camera held upright records them.
using UIImageOrientation = ImageOrientation;

class UIImage : public NSObject {
    NS_OBJECT(UIImage)
public:
    // Null for a null image. A scale that is not positive counts as 1.
    static std::shared_ptr<UIImage>
    imageWithCGImageScaleOrientation(CGImageRef image, double scale,
                                     UIImageOrientation orientation);
    static std::shared_ptr<UIImage> imageWithCGImage(CGImageRef image);
    // PNG or JPEG bytes, told by their content; a JPEG's EXIF orientation becomes the
    // image's. Null and a log line when they do not decode.
    static std::shared_ptr<UIImage> imageWithData(const std::vector<uint8_t>& data);
    static std::shared_ptr<UIImage> imageWithDataScale(const std::vector<uint8_t>& data,
                                                       double scale);
    // "@2x" or "@3x" ending the file's name (before its extension) sets the scale. Null
    // and a log line naming the file and the reason when it cannot be read or decoded.
    static std::shared_ptr<UIImage> imageWithContentsOfFile(const std::string& path);
    // An image of the main bundle, by name with or without extension (png, then jpg):
    // "name@<screen scale>x", then "name@2x", then "name". Kept once loaded, so the same
    // name gives the same object.
    static std::shared_ptr<UIImage> imageNamed(const std::string& name);
    // Forgets the images imageNamed has cached (between tests).
    static void resetForTesting();

    CGImageRef cgImage() const { return image_; }
    // In points, as shown: width and height swapped for the Left and Right kinds.
    CGSize size() const;
    double scale() const { return scale_; }
    UIImageOrientation imageOrientation() const { return orientation_; }
    // The pixels turned upright (the same image when already upright).
    CGImageRef uprightCGImage() const;

    // Drawing into the current graphics context, upright, in its (top-left) coordinates.
    void drawInRect(const CGRect& rect) const;
    void drawInRectBlendModeAlpha(const CGRect& rect, CGBlendMode mode, double alpha) const;
    void drawAtPoint(const CGPoint& point) const;

private:
    UIImage(CGImageRef image, double scale, UIImageOrientation orientation);
    static ErrorOr<std::shared_ptr<UIImage>> decode(std::span<const uint8_t> data, double scale);

    CGImageRef image_;
    double scale_;
    UIImageOrientation orientation_;
    mutable CGImageRef upright_;
};

// The current image context's content as an image of its scale; null when the current
// context is not an image context.
std::shared_ptr<UIImage> UIGraphicsGetImageFromCurrentImageContext();

// The image's pixels turned upright, as a PNG or JPEG file (quality 0..1); nothing for a
// null image.
std::optional<std::vector<uint8_t>> UIImagePNGRepresentation(const std::shared_ptr<UIImage>& image);
std::optional<std::vector<uint8_t>> UIImageJPEGRepresentation(const std::shared_ptr<UIImage>& image,
                                                              double quality);
