#include "platform/photos/BoxResampler.h"

#include "tests/support/ImageFixtures.h"

#include <gtest/gtest.h>

namespace {

uint32_t grey(uint32_t level) {
    return 0xff000000u | level << 16 | level << 8 | level;
}

TEST(BoxResamplerTest, EachPixelIsTheMeanOfTheAreaItCovers) {
    // Whole blocks: 2 x 2 pixels become one.
    const uint32_t blocks[2][4] = {{grey(0), grey(40), grey(100), grey(100)},
                                   {grey(80), grey(120), grey(100), grey(100)}};
    const auto halved =
        BoxResampler::resample(makeImage(4, 2, CGImagePixelFormat::RGB24,
                                         [&](size_t x, size_t y) { return blocks[y][x]; }),
                               CGRectMake(0, 0, 4, 2), 2, 1);
    ASSERT_TRUE(halved);
    EXPECT_EQ(halved->format(), CGImagePixelFormat::RGB24);
    EXPECT_EQ(pixelsOf(*halved), (std::vector<uint32_t>{grey(60), grey(100)}));

    // Three into two: the middle pixel counts half for each side.
    const auto thirds = BoxResampler::resample(
        makeImage(3, 1, CGImagePixelFormat::RGB24, [](size_t x, size_t) { return grey(90 * x); }),
        CGRectMake(0, 0, 3, 1), 2, 1);
    EXPECT_EQ(pixelsOf(*thirds), (std::vector<uint32_t>{grey(30), grey(150)}));

    // Ten into three: runs of four source pixels, the outer ones in part.
    const auto tenths = BoxResampler::resample(
        makeImage(10, 1, CGImagePixelFormat::RGB24, [](size_t x, size_t) { return grey(20 * x); }),
        CGRectMake(0, 0, 10, 1), 3, 1);
    EXPECT_EQ(pixelsOf(*tenths), (std::vector<uint32_t>{grey(24), grey(90), grey(156)}));

    // A part of the image, and a source area reaching past it is cut at its edge.
    const auto ramp = makeImage(8, 4, CGImagePixelFormat::RGB24,
                                [](size_t x, size_t y) { return grey(10 * x + 50 * y); });
    const auto part = BoxResampler::resample(ramp, CGRectMake(4, 2, 4, 2), 2, 1);
    EXPECT_EQ(pixelsOf(*part), (std::vector<uint32_t>{grey(170), grey(190)}));
    EXPECT_EQ(pixelsOf(*BoxResampler::resample(ramp, CGRectMake(6, 3, 10, 10), 1, 1)),
              std::vector<uint32_t>{grey(215)});
}

TEST(BoxResamplerTest, TransparencyAveragesPremultiplied) {
    // Opaque red beside clear: half-covered red, not a darkened red.
    const auto edge = makeImage(2, 1, CGImagePixelFormat::ARGB32Premultiplied,
                                [](size_t x, size_t) { return x == 0 ? 0xffff0000u : 0u; });
    const auto merged = BoxResampler::resample(edge, CGRectMake(0, 0, 2, 1), 1, 1);
    EXPECT_EQ(merged->format(), CGImagePixelFormat::ARGB32Premultiplied);
    EXPECT_EQ(pixelsOf(*merged), std::vector<uint32_t>{0x80800000u});
}

TEST(BoxResamplerTest, NothingToResampleGivesNull) {
    const auto image =
        makeImage(4, 4, CGImagePixelFormat::RGB24, [](size_t, size_t) { return grey(9); });
    EXPECT_FALSE(BoxResampler::resample(nullptr, CGRectMake(0, 0, 4, 4), 2, 2));
    EXPECT_FALSE(BoxResampler::resample(
        makeImage(4, 4, CGImagePixelFormat::Gray8, [](size_t, size_t) { return 9u; }),
        CGRectMake(0, 0, 4, 4), 2, 2))
        << "8-bit images are not photos";
    EXPECT_FALSE(BoxResampler::resample(image, CGRectMake(0, 0, 4, 4), 0, 2));
    EXPECT_FALSE(BoxResampler::resample(image, CGRectMake(5, 5, 4, 4), 2, 2));
    EXPECT_FALSE(BoxResampler::resample(image, CGRectMake(1, 1, 0, 3), 2, 2));
}

} // namespace
