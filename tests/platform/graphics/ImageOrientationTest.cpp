#include "platform/graphics/ImageOrientation.h"

#include "tests/support/ImageFixtures.h"

#include <gtest/gtest.h>

namespace {

TEST(ImageOrientation, MapsEXIFOrientations) {
    const struct {
        int exif;
        ImageOrientation expected;
    } cases[] = {
        {1, ImageOrientation::Up},
        {2, ImageOrientation::UpMirrored},
        {3, ImageOrientation::Down},
        {4, ImageOrientation::DownMirrored},
        {5, ImageOrientation::LeftMirrored},
        {6, ImageOrientation::Right},
        {7, ImageOrientation::RightMirrored},
        {8, ImageOrientation::Left},
        {0, ImageOrientation::Up},
        {9, ImageOrientation::Up},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ImageOrientationFromExif(c.exif), c.expected) << c.exif;
    }
}

// The stored 3 x 2 grid    a b c    shown upright for each orientation. What EXIF says of
//                          d e f    each (row 0 is the shown top, left side ...) decides.
TEST(ImageOrientation, TurnsPixelsUpright) {
    const uint32_t a = 0xff0000a0, b = 0xff0000b0, c = 0xff0000c0, d = 0xff0000d0, e = 0xff0000e0,
                   f = 0xff0000f0;
    const uint32_t stored[2][3] = {{a, b, c}, {d, e, f}};
    const struct {
        const char* name;
        ImageOrientation orientation;
        size_t width, height;
        std::vector<uint32_t> expected;
    } cases[] = {
        {"Up", ImageOrientation::Up, 3, 2, {a, b, c, d, e, f}},
        {"UpMirrored", ImageOrientation::UpMirrored, 3, 2, {c, b, a, f, e, d}},
        {"Down", ImageOrientation::Down, 3, 2, {f, e, d, c, b, a}},
        {"DownMirrored", ImageOrientation::DownMirrored, 3, 2, {d, e, f, a, b, c}},
        {"Right", ImageOrientation::Right, 2, 3, {d, a, e, b, f, c}},
        {"Left", ImageOrientation::Left, 2, 3, {c, f, b, e, a, d}},
        {"LeftMirrored", ImageOrientation::LeftMirrored, 2, 3, {a, d, b, e, c, f}},
        {"RightMirrored", ImageOrientation::RightMirrored, 2, 3, {f, c, e, b, d, a}},
    };
    // Padded rows, so that a transform mixing up width and row length shows.
    const auto image = makeImage(
        3, 2, CGImagePixelFormat::ARGB32Premultiplied,
        [&](size_t x, size_t y) { return stored[y][x]; }, 8);
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        const auto upright = CGImageCreateOriented(image, k.orientation);
        ASSERT_TRUE(upright);
        EXPECT_EQ(upright->width(), k.width);
        EXPECT_EQ(upright->height(), k.height);
        EXPECT_EQ(upright->format(), CGImagePixelFormat::ARGB32Premultiplied);
        EXPECT_EQ(pixelsOf(*upright), k.expected);
    }
}

TEST(ImageOrientation, KeepsGreyPixelsAndMasks) {
    const auto mask = CGImage::createMask(3, 2, 4, {1, 2, 3, 0, 4, 5, 6, 0});
    const auto upright = CGImageCreateOriented(mask, ImageOrientation::Right);
    ASSERT_TRUE(upright);
    EXPECT_TRUE(upright->isMask());
    EXPECT_EQ(upright->format(), CGImagePixelFormat::Gray8);
    const std::vector<uint8_t> samples(upright->data(), upright->data() + 6);
    EXPECT_EQ(samples, (std::vector<uint8_t>{4, 1, 5, 2, 6, 3}));
}

} // namespace
