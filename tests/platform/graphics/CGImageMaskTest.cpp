#include "platform/graphics/CGImage.h"
#include "tests/support/ImageFixtures.h"

#include <gtest/gtest.h>

namespace {

// Four pixels: opaque red, half-transparent green, opaque white, clear.
CGImageRef fourPixels() {
    return makeImage(4, 1, CGImagePixelFormat::ARGB32Premultiplied, [](size_t x, size_t) {
        const uint32_t pixels[] = {0xffff0000u, 0x80008000u, 0xffffffffu, 0u};
        return pixels[x];
    });
}

TEST(CGImageMaskTest, ImageMasksShowWhereDarkAndGreyImagesWhereLight) {
    const CGImageRef image = fourPixels();
    struct Case {
        const char* name;
        CGImageRef mask;
        std::vector<uint32_t> expected;
    };
    const Case cases[] = {
        {"image mask",
         CGImage::createMask(4, 1, 4, {0, 0, 255, 0}),
         {0xffff0000u, 0x80008000u, 0u, 0u}},
        {"image mask at half",
         CGImage::createMask(4, 1, 4, {128, 128, 128, 128}),
         {0x7f7f0000u, 0x40004000u, 0x7f7f7f7fu, 0u}},
        {"grey image",
         makeImage(4, 1, CGImagePixelFormat::Gray8,
                   [](size_t x, size_t) { return x == 2 ? 0u : 255u; }),
         {0xffff0000u, 0x80008000u, 0u, 0u}},
        // Two mask pixels stretched over four: each covers two.
        {"stretched", CGImage::createMask(2, 1, 2, {255, 0}), {0u, 0u, 0xffffffffu, 0u}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CGImageRef masked = CGImageCreateWithMask(image, c.mask);
        ASSERT_TRUE(masked);
        EXPECT_EQ(masked->format(), CGImagePixelFormat::ARGB32Premultiplied);
        EXPECT_EQ(pixelsOf(*masked), c.expected);
    }
    // An opaque image gains alpha where the mask cuts; rows of the mask follow the image's
    // (read at their own stride: these have spare bytes).
    const CGImageRef opaque = makeImage(
        1, 2, CGImagePixelFormat::RGB24, [](size_t, size_t) { return 0x204060u; }, 8);
    const CGImageRef halved = CGImageCreateWithMask(opaque, CGImage::createMask(1, 2, 1, {255, 0}));
    ASSERT_TRUE(halved);
    EXPECT_EQ(pixelsOf(*halved), (std::vector<uint32_t>{0u, 0xff204060u}));
}

TEST(CGImageMaskTest, NoMaskNoImage) {
    const CGImageRef image = fourPixels();
    EXPECT_FALSE(CGImageCreateWithMask(nullptr, CGImage::createMask(1, 1, 1, {0})));
    EXPECT_FALSE(CGImageCreateWithMask(image, nullptr));
    // A colour picture is not a mask.
    EXPECT_FALSE(CGImageCreateWithMask(image, image));
}

} // namespace
