#include "platform/uikit/UIImage.h"

#include "platform/uikit/UIGraphics.h"

#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSLog.h"
#include "platform/graphics/ExifReader.h"
#include "platform/graphics/ImageCodecError.h"
#include "platform/graphics/ImageDecoder.h"
#include "platform/graphics/ImageOrientation.h"
#include "platform/graphics/JPEGCodec.h"
#include "platform/graphics/PNGCodec.h"
#include "platform/uikit/UIScreen.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <mutex>

namespace {

// "icon@2x.png" -> 2; 1 without such a suffix.
double scaleFromFileName(const std::string& path) {
    const std::string stem = std::filesystem::path(path).stem().string();
    for (int scale : {2, 3}) {
        const std::string suffix = "@" + std::to_string(scale) + "x";
        if (stem.size() > suffix.size() && stem.ends_with(suffix)) {
            return scale;
        }
    }
    return 1;
}

CGImageRef uprightPixels(const std::shared_ptr<UIImage>& image) {
    return image ? CGImageCreateOriented(image->cgImage(), image->imageOrientation()) : nullptr;
}

// The platform's representations say nothing of why they failed.
std::optional<std::vector<uint8_t>> bytesOrNothing(ErrorOr<std::vector<uint8_t>> encoded) {
    if (encoded.hasError()) {
        return std::nullopt;
    }
    return std::move(encoded).value();
}

} // namespace

UIImage::UIImage(CGImageRef image, double scale, UIImageOrientation orientation)
    : image_(std::move(image)), scale_(scale > 0 ? scale : 1), orientation_(orientation) {}

std::shared_ptr<UIImage> UIImage::imageWithCGImageScaleOrientation(CGImageRef image, double scale,
                                                                   UIImageOrientation orientation) {
    if (!image) {
        return nullptr;
    }
    return make<UIImage>(std::move(image), scale, orientation);
}

std::shared_ptr<UIImage> UIImage::imageWithCGImage(CGImageRef image) {
    return imageWithCGImageScaleOrientation(std::move(image), 1, UIImageOrientation::Up);
}

ErrorOr<std::shared_ptr<UIImage>> UIImage::decode(std::span<const uint8_t> data, double scale) {
    const auto type = ImageDecoder::sniff(data.data(), data.size());
    if (type == ImageFileType::Unknown) {
        return makeError(ImageCodecErrorDomain, ImageCodecErrorUnknownFormat,
                         "not a PNG or JPEG file");
    }
    auto pixels = type == ImageFileType::PNG ? PNGCodec::decode(data.data(), data.size())
                                             : JPEGCodec::decode(data.data(), data.size());
    if (pixels.hasError()) {
        return pixels.error();
    }
    const auto orientation =
        type == ImageFileType::JPEG
            ? ImageOrientationFromExif(ExifReader::read(data.data(), data.size()).orientation)
            : UIImageOrientation::Up;
    return imageWithCGImageScaleOrientation(std::move(pixels).value(), scale, orientation);
}

std::shared_ptr<UIImage> UIImage::imageWithData(const std::vector<uint8_t>& data) {
    return imageWithDataScale(data, 1);
}

std::shared_ptr<UIImage> UIImage::imageWithDataScale(const std::vector<uint8_t>& data,
                                                     double scale) {
    auto image = decode(data, scale);
    if (image.hasError()) {
        NSLog("UIImage: cannot decode %zu bytes of data: %@", data.size(),
              image.error()->localizedDescription());
        return nullptr;
    }
    return std::move(image).value();
}

std::shared_ptr<UIImage> UIImage::imageWithContentsOfFile(const std::string& path) {
    auto data = NSData::dataWithContentsOfFile(path);
    if (!data) {
        NSLog("UIImage: cannot read %@", path);
        return nullptr;
    }
    auto image = decode(*data, scaleFromFileName(path));
    if (image.hasError()) {
        NSLog("UIImage: cannot decode %@: %@", path, image.error()->localizedDescription());
        return nullptr;
    }
    return std::move(image).value();
}

namespace {
// The images imageNamed has loaded, by bundle, screen scale and name.
struct NamedImageCache {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<UIImage>> images;
};

NamedImageCache& namedImageCache() {
    static NamedImageCache cache;
    return cache;
}
} // namespace

void UIImage::resetForTesting() {
    NamedImageCache& cache = namedImageCache();
    std::map<std::string, std::shared_ptr<UIImage>> dropped;
    std::lock_guard lock(cache.mutex);
    dropped.swap(cache.images);
}

std::shared_ptr<UIImage> UIImage::imageNamed(const std::string& name) {
    std::mutex& mutex = namedImageCache().mutex;
    std::map<std::string, std::shared_ptr<UIImage>>& cache = namedImageCache().images;

    const auto bundle = NSBundle::mainBundle();
    const int screenScale =
        std::max(1, static_cast<int>(std::lround(UIScreen::mainScreen()->scale())));
    // The bundle and the screen are part of the key: tests and the program may change both.
    const std::string key = bundle->bundlePath() + '\n' + std::to_string(screenScale) + '\n' + name;
    {
        std::lock_guard lock(mutex);
        if (auto found = cache.find(key); found != cache.end()) {
            return found->second;
        }
    }

    std::string base = name;
    std::vector<std::string> extensions{"png", "jpg"};
    const auto extension = std::filesystem::path(name).extension().string();
    if (!extension.empty()) {
        base = name.substr(0, name.size() - extension.size());
        extensions = {extension.substr(1)};
    }
    std::vector<std::string> suffixes;
    for (int scale : {screenScale, 2, 1}) {
        std::string suffix = scale == 1 ? "" : "@" + std::to_string(scale) + "x";
        if (std::find(suffixes.begin(), suffixes.end(), suffix) == suffixes.end()) {
            suffixes.push_back(suffix);
        }
    }
    for (const auto& type : extensions) {
        for (const auto& suffix : suffixes) {
            const std::string path = bundle->pathForResourceOfType(base + suffix, type);
            if (path.empty()) {
                continue;
            }
            auto image = imageWithContentsOfFile(path);
            if (!image) {
                return nullptr;
            }
            std::lock_guard lock(mutex);
            return cache.emplace(key, image).first->second;
        }
    }
    NSLog("UIImage: no image named %@ in %@", name, bundle->bundlePath());
    return nullptr;
}

CGSize UIImage::size() const {
    CGSize pixels = CGSizeMake(static_cast<CGFloat>(image_->width()) / scale_,
                               static_cast<CGFloat>(image_->height()) / scale_);
    switch (orientation_) {
    case UIImageOrientation::Left:
    case UIImageOrientation::Right:
    case UIImageOrientation::LeftMirrored:
    case UIImageOrientation::RightMirrored:
        return CGSizeMake(pixels.height, pixels.width);
    default:
        return pixels;
    }
}

std::optional<std::vector<uint8_t>>
UIImagePNGRepresentation(const std::shared_ptr<UIImage>& image) {
    return bytesOrNothing(PNGCodec::encode(uprightPixels(image)));
}

std::optional<std::vector<uint8_t>> UIImageJPEGRepresentation(const std::shared_ptr<UIImage>& image,
                                                              double quality) {
    return bytesOrNothing(JPEGCodec::encode(uprightPixels(image), quality));
}

CGImageRef UIImage::uprightCGImage() const {
    if (orientation_ == UIImageOrientation::Up) {
        return image_;
    }
    if (!upright_) {
        upright_ = CGImageCreateOriented(image_, orientation_);
    }
    return upright_;
}

void UIImage::drawInRectBlendModeAlpha(const CGRect& rect, CGBlendMode mode, double alpha) const {
    auto context = UIGraphicsGetCurrentContext();
    CGImageRef pixels = uprightCGImage();
    if (!context || !pixels) {
        return;
    }
    // Images land with their top row at the rectangle's maximum y; the context is y-down,
    // so the rectangle is flipped about its own middle first.
    CGContextSaveGState(context);
    CGContextTranslateCTM(context, rect.origin.x, rect.origin.y + rect.size.height);
    CGContextScaleCTM(context, 1, -1);
    CGContextSetBlendMode(context, mode);
    CGContextSetAlpha(context, alpha);
    CGContextDrawImage(context, CGRectMake(0, 0, rect.size.width, rect.size.height), pixels);
    CGContextRestoreGState(context);
}

void UIImage::drawInRect(const CGRect& rect) const {
    drawInRectBlendModeAlpha(rect, kCGBlendModeNormal, 1.0);
}

void UIImage::drawAtPoint(const CGPoint& point) const {
    CGSize s = size();
    drawInRect(CGRectMake(point.x, point.y, s.width, s.height));
}

std::shared_ptr<UIImage> UIGraphicsGetImageFromCurrentImageContext() {
    CGImageRef pixels = UIGraphicsGetCGImageFromCurrentImageContext();
    if (!pixels) {
        return nullptr;
    }
    return UIImage::imageWithCGImageScaleOrientation(
        pixels, UIGraphicsGetCurrentImageContextScale(), UIImageOrientation::Up);
}
