#include "platform/graphics/JPEGCodec.h"

#include "platform/graphics/ImageCodecError.h"

#include "tests/support/ImageFixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

namespace {

// Each channel's largest difference between two images of one size.
int largestDifference(const CGImage& a, const CGImage& b) {
    const auto pa = pixelsOf(a), pb = pixelsOf(b);
    int largest = 0;
    for (size_t i = 0; i < pa.size(); ++i) {
        for (int shift : {16, 8, 0}) {
            largest = std::max(
                largest, std::abs(int((pa[i] >> shift) & 0xff) - int((pb[i] >> shift) & 0xff)));
        }
    }
    return largest;
}

CGImageRef gradient(size_t width, size_t height) {
    return makeImage(width, height, CGImagePixelFormat::RGB24, [&](size_t x, size_t y) {
        return 0xff000000u | uint32_t(x * 255 / width) << 16 | uint32_t(y * 255 / height) << 8 |
               uint32_t(128 + (x + y) % 16);
    });
}

std::string hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

// Each colour channel of pixel (x, y) within `tolerance` of `expected`'s.
void expectColourNear(const CGImage& image, size_t x, size_t y, uint32_t expected, int tolerance) {
    const uint32_t actual = image.pixelAt(x, y);
    for (int shift : {16, 8, 0}) {
        EXPECT_NEAR(int((actual >> shift) & 0xff), int((expected >> shift) & 0xff), tolerance)
            << "at " << x << "," << y << ": " << hex(actual) << " for " << hex(expected);
    }
}

TEST(JPEGCodec, RoundTripsAtHighQuality) {
    const auto image = gradient(48, 32);
    const auto jpeg = JPEGCodec::encode(image, 0.9);
    ASSERT_FALSE(jpeg.hasError()) << jpeg.error()->description();
    const auto decoding = JPEGCodec::decode(jpeg.value().data(), jpeg.value().size());
    ASSERT_FALSE(decoding.hasError()) << decoding.error()->description();
    const auto& decoded = decoding.value();
    EXPECT_EQ(decoded->format(), CGImagePixelFormat::RGB24);
    ASSERT_EQ(decoded->width(), 48u);
    ASSERT_EQ(decoded->height(), 32u);
    EXPECT_LE(largestDifference(*decoded, *image), 12);
    // The skipped byte is opaque, so the pixels may also be read as ARGB32.
    EXPECT_EQ(decoded->data()[3], 0xff);
}

TEST(JPEGCodec, QualityIsClampedToTheUnitRange) {
    const auto image = gradient(48, 32);
    auto size = [&](double quality) { return JPEGCodec::encode(image, quality).value().size(); };
    EXPECT_LT(size(0.1), size(0.5));
    EXPECT_LT(size(0.5), size(1.0));
    EXPECT_EQ(JPEGCodec::encode(image, -3).value(), JPEGCodec::encode(image, 0).value());
    EXPECT_EQ(JPEGCodec::encode(image, 7).value(), JPEGCodec::encode(image, 1).value());
}

TEST(JPEGCodec, EncodesTranslucentPixelsAsIfOverBlackAndGreyAsGrey) {
    const auto translucent = makeImage(16, 16, CGImagePixelFormat::ARGB32Premultiplied,
                                       [](size_t, size_t) { return 0x80800000u; });
    const auto grey =
        makeImage(16, 16, CGImagePixelFormat::Gray8, [](size_t, size_t) { return 90u; });
    const struct {
        const char* name;
        CGImageRef image;
        uint32_t expected;
    } cases[] = {{"translucent red", translucent, 0xff800000}, {"grey", grey, 0xff5a5a5a}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto jpeg = JPEGCodec::encode(c.image, 1).value();
        const auto decoded = JPEGCodec::decode(jpeg.data(), jpeg.size()).value();
        const auto expected = makeImage(16, 16, CGImagePixelFormat::RGB24,
                                        [&](size_t, size_t) { return c.expected; });
        EXPECT_LE(largestDifference(*decoded, *expected), 2) << hex(decoded->pixelAt(0, 0));
    }
}

TEST(JPEGCodec, DecodesGreyscaleAndCMYKFiles) {
    // Left half one colour, right half another, 16-pixel blocks so subsampling keeps them.
    auto halves = [](int components, std::vector<uint8_t> left, std::vector<uint8_t> right) {
        std::vector<uint8_t> samples;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 32; ++x) {
                const auto& sample = x < 16 ? left : right;
                samples.insert(samples.end(), sample.begin(), sample.begin() + components);
            }
        }
        return samples;
    };
    // Ink amounts for red (no cyan, full magenta and yellow) and a dark blue.
    const std::vector<uint8_t> redInk = {0, 255, 255, 0}, blueInk = {255, 255, 0, 128};
    auto inverted = [](std::vector<uint8_t> ink) {
        for (auto& v : ink) {
            v = uint8_t(255 - v);
        }
        return ink;
    };
    const struct {
        const char* name;
        std::vector<uint8_t> jpeg;
        uint32_t left, right;
    } cases[] = {
        {"greyscale",
         writeJpeg(32, 16, JCS_GRAYSCALE, 1, JCS_GRAYSCALE, false, halves(1, {40}, {220})),
         0xff282828, 0xffdcdcdc},
        // Adobe's applications store CMYK inverted and say so with their marker.
        {"inverted CMYK with the Adobe marker",
         writeJpeg(32, 16, JCS_CMYK, 4, JCS_CMYK, true,
                   halves(4, inverted(redInk), inverted(blueInk))),
         0xffff0000, 0xff000080},
        {"inverted YCCK with the Adobe marker",
         writeJpeg(32, 16, JCS_CMYK, 4, JCS_YCCK, true,
                   halves(4, inverted(redInk), inverted(blueInk))),
         0xffff0000, 0xff000080},
        {"plain CMYK", writeJpeg(32, 16, JCS_CMYK, 4, JCS_CMYK, false, halves(4, redInk, blueInk)),
         0xffff0000, 0xff000080},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto decoding = JPEGCodec::decode(c.jpeg.data(), c.jpeg.size());
        ASSERT_FALSE(decoding.hasError()) << decoding.error()->description();
        const auto& image = decoding.value();
        EXPECT_EQ(image->format(), CGImagePixelFormat::RGB24);
        // Away from the seam, where subsampled chroma blends the halves.
        for (size_t x : {0, 5, 11, 20, 26, 31}) {
            for (size_t y : {0, 7, 15}) {
                expectColourNear(*image, x, y, x < 16 ? c.left : c.right, 4);
            }
        }
    }
}

// Each scan of a progressive file makes the decoder go over the whole image again, so a
// file of endless tiny scans would keep it busy for hours.
TEST(JPEGCodec, RefusesProgressiveFilesWithHundredsOfScans) {
    // A valid script: the DC scan, then each of the 63 AC coefficients refined a bit at a
    // time, `bits` scans each.
    auto script = [](int bits) {
        std::vector<jpeg_scan_info> scans{{1, {0}, 0, 0, 0, 0}};
        for (int k = 1; k < 64; ++k) {
            scans.push_back({1, {0}, k, k, 0, bits - 1});
            for (int bit = bits - 1; bit > 0; --bit) {
                scans.push_back({1, {0}, k, k, bit, bit - 1});
            }
        }
        return scans;
    };
    const std::vector<uint8_t> grey(64, 100);
    const auto many = writeJpeg(8, 8, JCS_GRAYSCALE, 1, JCS_GRAYSCALE, false, grey, script(7));
    const auto tooMany = writeJpeg(8, 8, JCS_GRAYSCALE, 1, JCS_GRAYSCALE, false, grey, script(8));
    const auto accepted = JPEGCodec::decode(many.data(), many.size()); // 442 scans
    EXPECT_FALSE(accepted.hasError()) << accepted.error()->description();
    const auto refused = JPEGCodec::decode(tooMany.data(), tooMany.size()); // 505 scans
    ASSERT_TRUE(refused.hasError());
    EXPECT_EQ(refused.error()->code(), ImageCodecErrorTooLarge);
    EXPECT_NE(refused.error()->localizedDescription().find("more than 500 scans"),
              std::string::npos)
        << refused.error()->description();
}

TEST(JPEGCodec, DecodeScaledPicksTheSmallestScaleStillLargeEnough) {
    const struct {
        size_t width, height;
        size_t minWidth, minHeight;
        size_t expectedWidth, expectedHeight;
    } cases[] = {
        {640, 480, 0, 0, 80, 60},            // 1/8 at least
        {640, 480, 80, 60, 80, 60},          // exactly 1/8
        {640, 480, 81, 60, 160, 120},        // one pixel more: 2/8
        {640, 480, 200, 100, 240, 180},      // 3/8
        {640, 480, 320, 240, 320, 240},      // 4/8
        {640, 480, 321, 1, 400, 300},        // 5/8
        {640, 480, 100, 400, 560, 420},      // the height decides: 7/8
        {640, 480, 640, 480, 640, 480},      // full size
        {640, 480, 2000, 2000, 640, 480},    // larger than the file: full size, not enlarged
        {1001, 751, 1, 1, 126, 94},          // sizes round up
        {4000, 3000, 750, 1334, 2000, 1500}, // a 12-megapixel photo for a 2x phone screen
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " asked " << c.minWidth
                                        << "x" << c.minHeight);
        const auto source = makeImage(c.width, c.height, CGImagePixelFormat::RGB24,
                                      [](size_t, size_t) { return 0xff336699u; });
        const auto jpeg = JPEGCodec::encode(source, 0.5).value();
        const auto decoding =
            JPEGCodec::decodeScaled(jpeg.data(), jpeg.size(), c.minWidth, c.minHeight);
        ASSERT_FALSE(decoding.hasError()) << decoding.error()->description();
        const auto& image = decoding.value();
        EXPECT_EQ(image->width(), c.expectedWidth);
        EXPECT_EQ(image->height(), c.expectedHeight);
    }
}

TEST(JPEGCodec, DecodeScaledKeepsThePicture) {
    const auto source = makeImage(256, 128, CGImagePixelFormat::RGB24, [](size_t x, size_t) {
        return x < 128 ? 0xffff0000u : 0xff0000ffu;
    });
    const auto jpeg = JPEGCodec::encode(source, 0.9).value();
    const auto image = JPEGCodec::decodeScaled(jpeg.data(), jpeg.size(), 64, 32).value();
    ASSERT_EQ(image->width(), 64u);
    // The columns at the seam blend; everything else keeps its colour.
    for (size_t y = 0; y < 32; ++y) {
        for (size_t x : {0, 10, 29, 34, 50, 63}) {
            expectColourNear(*image, x, y, x < 32 ? 0xffff0000u : 0xff0000ffu, 8);
        }
    }
}

TEST(JPEGCodec, DecodesAPartToTheAskedSize) {
    // Red left, blue right; 20 x 10 blocks of 16 pixels, so every cut falls inside a block.
    const auto source = makeImage(320, 160, CGImagePixelFormat::RGB24, [](size_t x, size_t) {
        return x < 160 ? 0xffff0000u : 0xff0000ffu;
    });
    const auto jpeg = JPEGCodec::encode(source, 0.9).value();
    const uint32_t red = 0xffff0000u, blue = 0xff0000ffu;
    const struct {
        const char* name;
        CGRect part;
        size_t width, height;
        uint32_t left, right; // the colours of the result's outer columns
    } cases[] = {
        {"the whole at an eighth", {0, 0, 320, 160}, 40, 20, red, blue},
        {"the whole at no scale the codec has", {0, 0, 320, 160}, 33, 17, red, blue},
        {"the whole at full size", {0, 0, 320, 160}, 320, 160, red, blue},
        {"the right half, cut inside a block", {165, 3, 150, 150}, 30, 30, blue, blue},
        {"the left half", {0, 0, 150, 160}, 75, 80, red, red},
        {"across the seam, thinly", {100, 50, 120, 7}, 60, 3, red, blue},
        {"a part reaching past the picture is cut at its edge",
         {200, 100, 400, 400},
         12,
         6,
         blue,
         blue},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto decoded =
            JPEGCodec::decodeToSize(jpeg.data(), jpeg.size(), c.part, c.width, c.height);
        ASSERT_FALSE(decoded.hasError()) << decoded.error()->description();
        const auto& image = *decoded.value();
        ASSERT_EQ(image.width(), c.width);
        ASSERT_EQ(image.height(), c.height);
        EXPECT_EQ(image.format(), CGImagePixelFormat::RGB24);
        for (size_t y : {size_t(0), c.height / 2, c.height - 1}) {
            expectColourNear(image, 0, y, c.left, 10);
            expectColourNear(image, c.width - 1, y, c.right, 10);
        }
    }
}

TEST(JPEGCodec, DecodingToSizeHoldsRowsNotThePicture) {
    const auto jpeg = JPEGCodec::encode(gradient(2048, 2048), 0.8).value();
    size_t working = 0;
    const auto small = JPEGCodec::decodeToSize(jpeg.data(), jpeg.size(),
                                               CGRectMake(0, 0, 2048, 2048), 100, 100, &working);
    ASSERT_FALSE(small.hasError()) << small.error()->description();
    // The picture is 16 MB; even at the 1/8 scale the codec decodes at, it is 256 KB.
    EXPECT_LT(working, 64u * 1024);
    EXPECT_GT(working, 0u);
}

TEST(JPEGCodec, NothingToDecodeToIsAnError) {
    const auto jpeg = JPEGCodec::encode(gradient(32, 32), 0.8).value();
    for (const auto& [part, width, height] :
         {std::tuple{CGRectMake(0, 0, 32, 32), 0, 10}, std::tuple{CGRectMake(0, 0, 32, 32), 10, 0},
          std::tuple{CGRectMake(40, 0, 10, 10), 10, 10},
          std::tuple{CGRectMake(0, 0, 32, 0), 10, 10}}) {
        const auto decoded = JPEGCodec::decodeToSize(jpeg.data(), jpeg.size(), part, width, height);
        ASSERT_TRUE(decoded.hasError());
        EXPECT_EQ(decoded.error()->code(), ImageCodecErrorNoImage);
    }
}

} // namespace
