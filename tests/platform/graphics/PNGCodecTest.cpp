#include "platform/graphics/PNGCodec.h"

#include "platform/graphics/ImageCodecError.h"

#include "tests/support/ImageFixtures.h"

#include <gtest/gtest.h>
#include <png.h>

namespace {

// The colour type our encoder wrote (byte 25 of a PNG: 0 grey, 2 RGB, 6 RGBA).
int colourTypeOf(const std::vector<uint8_t>& png) {
    return png.size() > 25 ? png[25] : -1;
}

// A PNG from libpng's own writer, for the kinds of file our encoder never writes.
// `rows` holds the packed rows as they are stored in the file.
std::vector<uint8_t> writePng(uint32_t width, uint32_t height, int colourType, int bitDepth,
                              bool interlaced, std::vector<uint8_t> rows,
                              const std::vector<png_color>& palette = {},
                              const std::vector<png_byte>& paletteAlpha = {}) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, size_t size) {
            auto* bytes = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
            bytes->insert(bytes->end(), data, data + size);
        },
        nullptr);
    png_set_IHDR(png, info, width, height, bitDepth, colourType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty()) {
        png_set_PLTE(png, info, palette.data(), int(palette.size()));
    }
    if (!paletteAlpha.empty()) {
        png_set_tRNS(png, info, paletteAlpha.data(), int(paletteAlpha.size()), nullptr);
    }
    png_write_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    EXPECT_EQ(rows.size(), rowBytes * height);
    std::vector<png_bytep> rowPointers;
    for (uint32_t y = 0; y < height; ++y) {
        rowPointers.push_back(rows.data() + y * rowBytes);
    }
    png_write_image(png, rowPointers.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

void expectNear(const CGImage& image, const std::vector<uint32_t>& expected, int tolerance) {
    const auto actual = pixelsOf(image);
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        for (int shift : {24, 16, 8, 0}) {
            const int a = (actual[i] >> shift) & 0xff, e = (expected[i] >> shift) & 0xff;
            EXPECT_LE(std::abs(a - e), tolerance)
                << "pixel " << i << ": " << std::hex << actual[i] << " != " << expected[i];
        }
    }
}

TEST(PNGCodec, RoundTripsEachPixelFormat) {
    // Premultiplied colours with every kind of alpha, the faint ones included: they lose
    // the most when colours are un-premultiplied for the file and premultiplied back.
    const uint32_t translucent[] = {0x00000000, 0x01010000, 0x80402010, 0x807f7f7f,
                                    0xc0c00060, 0xff123456, 0x10100f01, 0xfe0080fe};
    const struct {
        const char* name;
        CGImagePixelFormat format;
        std::function<uint32_t(size_t, size_t)> pixel;
        int colourType;
        int tolerance;
    } cases[] = {
        {"ARGB with partial alpha", CGImagePixelFormat::ARGB32Premultiplied,
         [&](size_t x, size_t y) { return translucent[(x + 3 * y) % 8]; }, 6, 1},
        {"RGB", CGImagePixelFormat::RGB24,
         [](size_t x, size_t y) { return 0xff000000u | uint32_t(x * 40) << 16 | uint32_t(y * 50); },
         2, 0},
        {"grey", CGImagePixelFormat::Gray8, [](size_t x, size_t y) { return uint32_t(x * 30 + y); },
         0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto image = makeImage(5, 4, c.format, c.pixel, 3);
        const auto png = PNGCodec::encode(image);
        ASSERT_FALSE(png.hasError()) << png.error()->description();
        EXPECT_EQ(colourTypeOf(png.value()), c.colourType);
        const auto decoding = PNGCodec::decode(png.value().data(), png.value().size());
        ASSERT_FALSE(decoding.hasError()) << decoding.error()->description();
        const auto& decoded = decoding.value();
        EXPECT_EQ(decoded->format(), CGImagePixelFormat::ARGB32Premultiplied);
        EXPECT_EQ(decoded->width(), 5u);
        EXPECT_EQ(decoded->height(), 4u);
        ASSERT_NO_FATAL_FAILURE(expectNear(*decoded, pixelsOf(*image), c.tolerance));
    }
}

TEST(PNGCodec, DecodesEveryKindOfFileToPremultipliedARGB) {
    const struct {
        const char* name;
        std::vector<uint8_t> png;
        std::vector<uint32_t> expected;
    } cases[] = {
        {"1-bit grey",
         writePng(2, 1, PNG_COLOR_TYPE_GRAY, 1, false, {0x40}),
         {0xff000000, 0xffffffff}},
        {"grey with alpha",
         writePng(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, {200, 128, 9, 0}),
         {0x80646464, 0x00000000}},
        {"16-bit RGB",
         writePng(1, 1, PNG_COLOR_TYPE_RGB, 16, false, {0xff, 0xff, 0x80, 0x80, 0, 0}),
         {0xffff8000}},
        {"16-bit RGBA",
         writePng(1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 16, false, {0xff, 0xff, 0, 0, 0, 0, 0x80, 0x80}),
         {0x80800000}},
        {"palette with transparency",
         writePng(3, 1, PNG_COLOR_TYPE_PALETTE, 2, false, {0x18},
                  {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}, {128, 255}),
         {0x80800000, 0xff00ff00, 0xff0000ff}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto image = PNGCodec::decode(c.png.data(), c.png.size());
        ASSERT_FALSE(image.hasError()) << image.error()->description();
        ASSERT_NO_FATAL_FAILURE(expectNear(*image.value(), c.expected, 1));
    }
}

TEST(PNGCodec, DecodesInterlacedFiles) {
    // 9 x 9 so that each of the seven passes holds pixels.
    std::vector<uint8_t> rows;
    std::vector<uint32_t> expected;
    for (uint32_t y = 0; y < 9; ++y) {
        for (uint32_t x = 0; x < 9; ++x) {
            const uint8_t r = uint8_t(x * 28), g = uint8_t(y * 28), b = uint8_t(x * y);
            rows.insert(rows.end(), {r, g, b});
            expected.push_back(0xff000000u | r << 16 | g << 8 | b);
        }
    }
    const auto png = writePng(9, 9, PNG_COLOR_TYPE_RGB, 8, true, rows);
    const auto image = PNGCodec::decode(png.data(), png.size());
    ASSERT_FALSE(image.hasError()) << image.error()->description();
    EXPECT_EQ(pixelsOf(*image.value()), expected);
}

TEST(PNGCodec, DecodesAPartToTheAskedSizeInterlacedOrNot) {
    // 64 x 32 RGBA: a ramp across, opaque on top and half transparent below.
    std::vector<uint8_t> rows;
    for (uint32_t y = 0; y < 32; ++y) {
        for (uint32_t x = 0; x < 64; ++x) {
            rows.insert(rows.end(), {uint8_t(x * 4), 0, 0, uint8_t(y < 16 ? 255 : 128)});
        }
    }
    for (bool interlaced : {false, true}) {
        SCOPED_TRACE(interlaced ? "interlaced" : "not interlaced");
        const auto png = writePng(64, 32, PNG_COLOR_TYPE_RGB_ALPHA, 8, interlaced, rows);
        // The right half of the top, halved: pixel x covers source columns 32 + 2x, 2x + 33.
        const auto top =
            PNGCodec::decodeToSize(png.data(), png.size(), CGRectMake(32, 0, 32, 16), 16, 8);
        ASSERT_FALSE(top.hasError()) << top.error()->description();
        ASSERT_EQ(top.value()->width(), 16u);
        ASSERT_EQ(top.value()->height(), 8u);
        EXPECT_EQ(top.value()->format(), CGImagePixelFormat::ARGB32Premultiplied);
        EXPECT_EQ(top.value()->pixelAt(0, 0), 0xff820000u);  // (128 + 132) / 2
        EXPECT_EQ(top.value()->pixelAt(15, 7), 0xfffa0000u); // (248 + 252) / 2
        // The whole, to a quarter: the lower rows average premultiplied.
        const auto whole =
            PNGCodec::decodeToSize(png.data(), png.size(), CGRectMake(0, 0, 64, 32), 16, 8);
        ASSERT_FALSE(whole.hasError()) << whole.error()->description();
        expectNear(
            *whole.value(),
            [] {
                std::vector<uint32_t> expected;
                for (uint32_t y = 0; y < 8; ++y) {
                    for (uint32_t x = 0; x < 16; ++x) {
                        const uint32_t red = x * 16 + 6; // the mean of 16x .. 16x + 12
                        expected.push_back(y < 4 ? 0xff000000u | red << 16
                                                 : 0x80000000u | (red + 1) / 2 << 16);
                    }
                }
                return expected;
            }(),
            1);
    }
}

TEST(PNGCodec, DecodingToSizeHoldsRowsNotThePicture) {
    std::vector<uint8_t> rows;
    for (uint32_t y = 0; y < 2000; ++y) {
        for (uint32_t x = 0; x < 2000; ++x) {
            rows.insert(rows.end(), {uint8_t(x), uint8_t(x ^ y), uint8_t(y)});
        }
    }
    for (bool interlaced : {false, true}) {
        SCOPED_TRACE(interlaced ? "interlaced" : "not interlaced");
        const auto png = writePng(2000, 2000, PNG_COLOR_TYPE_RGB, 8, interlaced, rows);
        // The picture is 16 MB, a row 8 KB; shrunk, an interlaced file adds up sums four
        // times the result's 40 KB.
        for (size_t side : {100, 2000}) {
            SCOPED_TRACE(side);
            size_t working = 0;
            const auto image = PNGCodec::decodeToSize(
                png.data(), png.size(), CGRectMake(0, 0, 2000, 2000), side, side, &working);
            ASSERT_FALSE(image.hasError()) << image.error()->description();
            EXPECT_EQ(image.value()->width(), side);
            EXPECT_LT(working, 320u * 1024);
        }
    }
}

TEST(PNGCodec, InterlacedFilesShrinkAsTheSamePictureStoredPlain) {
    // 37 x 23, so that the passes end at odd places; shrunk by uneven factors, and in part.
    std::vector<uint8_t> rows;
    for (uint32_t y = 0; y < 23; ++y) {
        for (uint32_t x = 0; x < 37; ++x) {
            rows.insert(rows.end(), {uint8_t(x * 7), uint8_t(y * 11), uint8_t(x * y),
                                     uint8_t(255 - (x + y) * 3)});
        }
    }
    const auto plain = writePng(37, 23, PNG_COLOR_TYPE_RGB_ALPHA, 8, false, rows);
    const auto interlaced = writePng(37, 23, PNG_COLOR_TYPE_RGB_ALPHA, 8, true, rows);
    const struct {
        CGRect source;
        size_t width, height;
    } cases[] = {
        {CGRectMake(0, 0, 37, 23), 37, 23}, {CGRectMake(0, 0, 37, 23), 10, 7},
        {CGRectMake(0, 0, 37, 23), 1, 1},   {CGRectMake(5.5, 3, 20, 17), 6, 9},
        {CGRectMake(4, 2, 13, 11), 13, 11}, {CGRectMake(0, 0, 37, 23), 37, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.width << "x" << c.height << " from " << c.source.origin.x);
        const auto expected =
            PNGCodec::decodeToSize(plain.data(), plain.size(), c.source, c.width, c.height);
        const auto actual = PNGCodec::decodeToSize(interlaced.data(), interlaced.size(), c.source,
                                                   c.width, c.height);
        ASSERT_FALSE(expected.hasError()) << expected.error()->description();
        ASSERT_FALSE(actual.hasError()) << actual.error()->description();
        // Summed in one step rather than across then down: rounding may differ by one.
        expectNear(*actual.value(), pixelsOf(*expected.value()), 1);
    }
}

TEST(PNGCodec, RefusesASideLongerThanAnImageHolds) {
    const auto png = writePng(70000, 1, PNG_COLOR_TYPE_GRAY, 8, false, std::vector<uint8_t>(70000));
    const auto image = PNGCodec::decode(png.data(), png.size());
    ASSERT_TRUE(image.hasError());
    EXPECT_EQ(image.error()->domain(), ImageCodecErrorDomain);
    EXPECT_EQ(image.error()->code(), ImageCodecErrorTooLarge);
    EXPECT_EQ(image.error()->localizedDescription(), "image too large");
    // Only the result must fit an image: the picture may be shrunk to one.
    const auto shrunk =
        PNGCodec::decodeToSize(png.data(), png.size(), CGRectMake(0, 0, 70000, 1), 700, 1);
    ASSERT_FALSE(shrunk.hasError()) << shrunk.error()->description();
    EXPECT_EQ(shrunk.value()->width(), 700u);
}

} // namespace
