#include "tests/support/editor/DistinctPicture.h"

#include "platform/uikit/UIImage.h"
#include "tests/support/ImageFixtures.h"

uint32_t distinctColourAt(size_t x, size_t y) {
    return 0xff000000u | static_cast<uint32_t>(x & 0xff) << 16 |
           static_cast<uint32_t>(y & 0xff) << 8 | 0x40u;
}

std::shared_ptr<UIImage> distinctPicture(size_t width, size_t height) {
    return UIImage::imageWithCGImage(
        makeImage(width, height, CGImagePixelFormat::ARGB32Premultiplied, distinctColourAt));
}
