#include "platform/graphics/ImageOrientation.h"

#include <cstring>

namespace {

// Where output pixel (X, Y) comes from: x = ax X + bx Y + cx (w - 1), and the same for y
// with h - 1.
struct SourceMap {
    int ax, bx, cx;
    int ay, by, cy;
};

SourceMap sourceMap(ImageOrientation orientation) {
    switch (orientation) {
    case ImageOrientation::Up:
        return {1, 0, 0, 0, 1, 0};
    case ImageOrientation::UpMirrored:
        return {-1, 0, 1, 0, 1, 0};
    case ImageOrientation::Down:
        return {-1, 0, 1, 0, -1, 1};
    case ImageOrientation::DownMirrored:
        return {1, 0, 0, 0, -1, 1};
    case ImageOrientation::Right:
        return {0, 1, 0, -1, 0, 1};
    case ImageOrientation::Left:
        return {0, -1, 1, 1, 0, 0};
    case ImageOrientation::LeftMirrored:
        return {0, 1, 0, 1, 0, 0};
    case ImageOrientation::RightMirrored:
        return {0, -1, 1, -1, 0, 1};
    }
    return {1, 0, 0, 0, 1, 0};
}

} // namespace

ImageOrientation ImageOrientationFromExif(int exifOrientation) {
    switch (exifOrientation) {
    case 2:
        return ImageOrientation::UpMirrored;
    case 3:
        return ImageOrientation::Down;
    case 4:
        return ImageOrientation::DownMirrored;
    case 5:
        return ImageOrientation::LeftMirrored;
    case 6:
        return ImageOrientation::Right;
    case 7:
        return ImageOrientation::RightMirrored;
    case 8:
        return ImageOrientation::Left;
    default:
        return ImageOrientation::Up;
    }
}

CGImageRef CGImageCreateOriented(const CGImageRef& image, ImageOrientation orientation) {
    if (!image || orientation == ImageOrientation::Up) {
        return image;
    }
    const SourceMap map = sourceMap(orientation);
    const size_t width = image->width(), height = image->height();
    const bool swapped = map.ax == 0;
    const size_t outWidth = swapped ? height : width;
    const size_t outHeight = swapped ? width : height;
    const size_t pixelSize = image->bytesPerPixel();
    const size_t outStride = outWidth * pixelSize;
    const auto inStride = static_cast<ptrdiff_t>(image->bytesPerRow());
    const auto step = static_cast<ptrdiff_t>(pixelSize);

    // A mask keeps to the vector its factory takes; pixels go into a buffer never zeroed.
    std::vector<uint8_t> maskSamples(image->isMask() ? outStride * outHeight : 0);
    auto pixels = image->isMask()
                      ? nullptr
                      : std::make_unique_for_overwrite<uint8_t[]>(outStride * outHeight);
    uint8_t* const out = image->isMask() ? maskSamples.data() : pixels.get();
    const ptrdiff_t x0 = map.cx * static_cast<ptrdiff_t>(width - 1);
    const ptrdiff_t y0 = map.cy * static_cast<ptrdiff_t>(height - 1);
    // Moving one pixel right in the output moves this far in the source.
    const ptrdiff_t alongRow = map.ax * step + map.ay * inStride;
    for (size_t outY = 0; outY < outHeight; ++outY) {
        const auto y = static_cast<ptrdiff_t>(outY);
        ptrdiff_t offset = (x0 + map.bx * y) * step + (y0 + map.by * y) * inStride;
        uint8_t* target = out + outY * outStride;
        for (size_t outX = 0; outX < outWidth; ++outX, offset += alongRow, target += pixelSize) {
            std::memcpy(target, image->data() + offset, pixelSize);
        }
    }
    return image->isMask()
               ? CGImage::createMask(outWidth, outHeight, outStride, std::move(maskSamples))
               : CGImage::create(outWidth, outHeight, image->format(), outStride, std::move(pixels),
                                 outStride * outHeight);
}
