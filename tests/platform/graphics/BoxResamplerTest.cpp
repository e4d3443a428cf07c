#include "platform/graphics/BoxResampler.h"

#include "platform/graphics/JPEGCodec.h"
#include "platform/graphics/PNGCodec.h"
#include "tests/support/ImageFixtures.h"

#include <gtest/gtest.h>

#include <cmath>

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

// A picture with smooth gradients, fine texture and a translucent band, as samples of
// `channels` bytes (RGB or RGBA).
uint32_t photoPixel(size_t x, size_t y) {
    const uint32_t red = uint32_t(x * 255 / 300), green = uint32_t(y * 255 / 200);
    const uint32_t blue = uint32_t(128 + 60 * std::sin(double(x) / 5) * std::cos(double(y) / 7));
    return 0xff000000u | red << 16 | green << 8 | blue;
}

std::vector<uint8_t> rgbSamples(size_t width, size_t height) {
    std::vector<uint8_t> samples;
    for (size_t y = 0; y < height; ++y) {
        for (size_t x = 0; x < width; ++x) {
            const uint32_t pixel = photoPixel(x, y);
            samples.insert(samples.end(),
                           {uint8_t(pixel >> 16), uint8_t(pixel >> 8), uint8_t(pixel)});
        }
    }
    return samples;
}

// The largest and the mean difference of any channel.
std::pair<int, double> difference(const CGImage& a, const CGImage& b) {
    const auto pa = pixelsOf(a), pb = pixelsOf(b);
    int largest = 0;
    double sum = 0;
    for (size_t i = 0; i < pa.size(); ++i) {
        for (int shift : {24, 16, 8, 0}) {
            const int d = std::abs(int((pa[i] >> shift) & 0xff) - int((pb[i] >> shift) & 0xff));
            largest = std::max(largest, d);
            sum += d;
        }
    }
    return {largest, sum / double(pa.size() * 4)};
}

// Decoding to a size while reading gives the picture that decoding all of it and then
// resampling gives: exactly for PNG, within what the codec's scaled and faster transform
// changes for JPEG.
TEST(BoxResamplerTest, DecodingToSizeMatchesDecodingWholeThenResampling) {
    const auto picture =
        makeImage(300, 200, CGImagePixelFormat::ARGB32Premultiplied, [](size_t x, size_t y) {
            // A translucent band across the middle.
            return y >= 80 && y < 120 ? 0x80000000u | (photoPixel(x, y) >> 1 & 0x7f7f7f)
                                      : photoPixel(x, y);
        });
    // The DC scan, then each component's AC coefficients.
    const std::vector<jpeg_scan_info> progressive = {{3, {0, 1, 2}, 0, 0, 0, 0},
                                                     {1, {0}, 1, 63, 0, 0},
                                                     {1, {1}, 1, 63, 0, 0},
                                                     {1, {2}, 1, 63, 0, 0}};
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        bool png;
        int largest;
        double mean;
    } files[] = {
        {"png", PNGCodec::encode(picture).value(), true, 0, 0},
        {"baseline jpeg", JPEGCodec::encode(picture, 0.95).value(), false, 20, 1.5},
        {"progressive jpeg",
         writeJpeg(300, 200, JCS_RGB, 3, JCS_YCbCr, false, rgbSamples(300, 200), progressive),
         false, 20, 1.5},
    };
    const struct {
        CGRect part;
        size_t width, height;
    } targets[] = {
        {{0, 0, 300, 200}, 75, 50},   // a scale the codec has
        {{0, 0, 300, 200}, 97, 61},   // one it has not
        {{37, 21, 150, 100}, 64, 43}, // a part
        {{0, 0, 300, 200}, 300, 200}, // full size
    };
    for (const auto& file : files) {
        const auto whole = file.png ? PNGCodec::decode(file.bytes.data(), file.bytes.size())
                                    : JPEGCodec::decode(file.bytes.data(), file.bytes.size());
        ASSERT_FALSE(whole.hasError()) << file.name;
        for (const auto& target : targets) {
            SCOPED_TRACE(testing::Message()
                         << file.name << " to " << target.width << "x" << target.height);
            const auto decoded =
                file.png ? PNGCodec::decodeToSize(file.bytes.data(), file.bytes.size(), target.part,
                                                  target.width, target.height)
                         : JPEGCodec::decodeToSize(file.bytes.data(), file.bytes.size(),
                                                   target.part, target.width, target.height);
            ASSERT_FALSE(decoded.hasError()) << decoded.error()->description();
            const auto reference =
                BoxResampler::resample(whole.value(), target.part, target.width, target.height);
            ASSERT_EQ(decoded.value()->width(), target.width);
            ASSERT_EQ(decoded.value()->height(), target.height);
            const auto [largest, mean] = difference(*decoded.value(), *reference);
            EXPECT_LE(largest, file.largest);
            EXPECT_LE(mean, file.mean);
        }
    }
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
