#include "platform/graphics/RowResampler.h"

#include "tests/support/ImageFixtures.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

uint32_t grey(uint32_t level) {
    return 0xff000000u | level << 16 | level << 8 | level;
}

// Gives the resampler the rows it reads of a grid whose pixel (x, y) is `pixel(x, y)`,
// as a decoder does: one at a time, the delivered columns only.
template <typename Pixel>
CGImageRef feed(RowResampler& resampler, size_t first, size_t count, Pixel pixel) {
    resampler.deliverColumns(first, count);
    for (size_t y = resampler.firstRow(); y < resampler.rowEnd(); ++y) {
        uint8_t* row = resampler.nextRow();
        for (size_t x = 0; x < count; ++x) {
            const uint32_t value = pixel(first + x, y);
            std::memcpy(row + x * 4, &value, 4);
        }
        resampler.addRow();
    }
    return resampler.takeImage();
}

TEST(RowResamplerTest, ATallPictureShrinksHoldingAFewRows) {
    // 20000 rows into 200: each result row is the mean of 100 rows of a ramp repeating every
    // 100 rows (mean 99), each weighing 2.56 / 256, which rounding must not push past one.
    auto ramp = [](size_t, size_t y) { return grey(uint32_t(y % 100) * 2); };
    auto resampler = RowResampler::create(8, 20000, CGRectMake(0, 0, 8, 20000), 4, 200,
                                          CGImagePixelFormat::RGB24);
    ASSERT_TRUE(resampler);
    EXPECT_EQ(resampler->firstRow(), 0u);
    EXPECT_EQ(resampler->rowEnd(), 20000u);
    const auto image = feed(*resampler, 0, 8, ramp);
    for (uint32_t pixel : pixelsOf(*image)) {
        EXPECT_NEAR(int(pixel & 0xff), 99, 2);
    }
    // The weights and a few rows of scratch; the 640 KB of the source never are.
    EXPECT_LT(resampler->workingBytes(), 128u * 1024);
}

TEST(RowResamplerTest, ReadsOnlyTheRowsAndColumnsOfThePart) {
    // 100 x 100, part (40, 30) 20 x 10 at half size: columns 40..59, rows 30..39.
    auto resampler = RowResampler::create(100, 100, CGRectMake(40, 30, 20, 10), 10, 5,
                                          CGImagePixelFormat::RGB24);
    ASSERT_TRUE(resampler);
    EXPECT_EQ(resampler->firstColumn(), 40u);
    EXPECT_GE(resampler->columnEnd(), 60u);
    EXPECT_LE(resampler->columnEnd(), 64u) << "at most a run of four past the part";
    EXPECT_EQ(resampler->firstRow(), 30u);
    EXPECT_EQ(resampler->rowEnd(), 40u);
    // Delivered wider than asked, as a decoder cutting at block edges does.
    const auto image = feed(*resampler, 32, resampler->columnEnd() - 32,
                            [](size_t x, size_t y) { return grey(uint32_t(2 * (x + y))); });
    ASSERT_EQ(image->width(), 10u);
    // Pixel (0, 0) covers columns 40, 41 of rows 30, 31: the mean of 140, 142, 142, 144.
    EXPECT_EQ(image->pixelAt(0, 0), grey(142));
    EXPECT_EQ(image->pixelAt(9, 4), grey(2 * (58 + 38) + 2));
}

TEST(RowResamplerTest, AnUnscaledPartIsCopiedExactly) {
    const struct {
        const char* name;
        CGRect part;
        size_t deliveredFirst, deliveredCount;
    } cases[] = {
        {"the whole grid, written in place", {0, 0, 6, 4}, 0, 6},
        {"a part, delivered wider", {2, 1, 3, 2}, 0, 6},
    };
    auto pixel = [](size_t x, size_t y) { return 0xff000000u | uint32_t(x * 40 + y); };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t width = size_t(c.part.size.width), height = size_t(c.part.size.height);
        auto resampler = RowResampler::create(6, 4, c.part, width, height,
                                              CGImagePixelFormat::ARGB32Premultiplied);
        ASSERT_TRUE(resampler);
        const auto image = feed(*resampler, c.deliveredFirst, c.deliveredCount, pixel);
        EXPECT_EQ(image->format(), CGImagePixelFormat::ARGB32Premultiplied);
        for (size_t y = 0; y < height; ++y) {
            for (size_t x = 0; x < width; ++x) {
                EXPECT_EQ(image->pixelAt(x, y),
                          pixel(x + size_t(c.part.origin.x), y + size_t(c.part.origin.y)));
            }
        }
    }
}

TEST(RowResamplerTest, NothingToMakeGivesNothing) {
    const auto argb = CGImagePixelFormat::ARGB32Premultiplied;
    EXPECT_FALSE(RowResampler::create(4, 4, CGRectMake(0, 0, 4, 4), 0, 2, argb));
    EXPECT_FALSE(RowResampler::create(4, 4, CGRectMake(0, 0, 4, 4), 2, 0, argb));
    EXPECT_FALSE(RowResampler::create(4, 4, CGRectMake(5, 5, 4, 4), 2, 2, argb));
    EXPECT_FALSE(RowResampler::create(4, 4, CGRectMake(1, 1, 0, 3), 2, 2, argb));
    EXPECT_FALSE(
        RowResampler::create(4, 4, CGRectMake(0, 0, 4, 4), 2, 2, CGImagePixelFormat::Gray8));
}

} // namespace
