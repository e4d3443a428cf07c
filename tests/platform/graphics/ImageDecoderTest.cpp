#include "platform/graphics/ImageDecoder.h"

#include "platform/graphics/ImageCodecError.h"
#include "platform/graphics/JPEGCodec.h"
#include "platform/graphics/PNGCodec.h"
#include "tests/support/ImageFixtures.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::vector<uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

std::vector<uint8_t> randomBytes(size_t size, std::vector<uint8_t> prefix = {}) {
    std::mt19937 random(7);
    while (prefix.size() < size) {
        prefix.push_back(static_cast<uint8_t>(random()));
    }
    return prefix;
}

CGImageRef gradient(size_t width, size_t height) {
    return makeImage(width, height, CGImagePixelFormat::RGB24, [&](size_t x, size_t y) {
        return 0xff000000u | uint32_t(x * 255 / width) << 16 | uint32_t(y * 255 / height) << 8;
    });
}

TEST(ImageDecoder, SniffsTheTypeFromTheFirstBytes) {
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        ImageFileType expected;
    } cases[] = {
        {"png", PNGCodec::encode(gradient(2, 2)).value(), ImageFileType::PNG},
        {"jpeg", JPEGCodec::encode(gradient(2, 2), 0.5).value(), ImageFileType::JPEG},
        {"png signature only", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'}, ImageFileType::PNG},
        {"png signature cut short",
         {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a},
         ImageFileType::Unknown},
        {"png signature with a text file's line ending", bytesOf("\x89PNG\n\x1a\n\n"),
         ImageFileType::Unknown},
        {"jpeg start marker without a segment", {0xff, 0xd8}, ImageFileType::Unknown},
        {"gif", bytesOf("GIF89a"), ImageFileType::Unknown},
        {"text", bytesOf("hello.jpg"), ImageFileType::Unknown},
        {"empty", {}, ImageFileType::Unknown},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ImageDecoder::sniff(c.bytes.data(), c.bytes.size()), c.expected);
    }
}

// A refusal with a reason containing `part` (when given); only the pixel limit is not a
// damaged file.
void expectRefused(const ErrorOr<CGImageRef>& decoded, const char* part) {
    ASSERT_TRUE(decoded.hasError());
    const NSError& error = *decoded.error();
    EXPECT_EQ(error.domain(), ImageCodecErrorDomain);
    const bool tooLarge = part && std::string(part) == "image too large";
    EXPECT_EQ(error.code(), tooLarge ? ImageCodecErrorTooLarge : ImageCodecErrorDamagedFile);
    const std::string reason = error.localizedDescription();
    EXPECT_NE(reason, "");
    if (part) {
        EXPECT_NE(reason.find(part), std::string::npos) << reason;
    }
}

// Whatever lands in either decoder, it gives an error with a reason, never a crash or a
// hang.
TEST(ImageDecoder, CorruptInputsGiveAnErrorWithAReason) {
    const auto png = PNGCodec::encode(gradient(16, 16)).value();
    const auto jpeg = JPEGCodec::encode(gradient(16, 16), 0.9).value();
    auto badCrc = png;
    badCrc[png.size() - 13] ^= 0xff; // the image data's checksum, before the end chunk
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* pngError;  // a part of the expected PNG error, or null for any
        const char* jpegError; // the same for JPEG
    } cases[] = {
        {"empty", {}, "empty", "empty"},
        {"random bytes", randomBytes(300), nullptr, "Not a JPEG file"},
        {"png signature then random bytes", randomBytes(300, {png.begin(), png.begin() + 8}),
         nullptr, nullptr},
        {"jpeg start then random bytes", randomBytes(300, {0xff, 0xd8, 0xff}), nullptr, nullptr},
        {"truncated png", {png.begin(), png.begin() + long(png.size() / 2)}, nullptr, nullptr},
        {"truncated jpeg",
         {jpeg.begin(), jpeg.begin() + long(jpeg.size() / 2)},
         nullptr,
         "Premature end"},
        {"png with a bad checksum", badCrc, "CRC", nullptr},
        {"text named like a jpeg", bytesOf("<html>not a picture</html>"), nullptr,
         "Not a JPEG file"},
        {"png of zero size", pngWithSize(png, 0, 0), "IHDR", nullptr},
        {"jpeg of zero size", jpegWithSize(jpeg, 0, 0), nullptr, "Empty JPEG image"},
        {"png over 100 megapixels", pngWithSize(png, 20000, 20000), "image too large", nullptr},
        {"jpeg over 100 megapixels", jpegWithSize(jpeg, 20000, 20000), nullptr, "image too large"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        {
            SCOPED_TRACE("PNG");
            expectRefused(PNGCodec::decode(c.bytes.data(), c.bytes.size()), c.pngError);
        }
        {
            SCOPED_TRACE("JPEG");
            expectRefused(JPEGCodec::decode(c.bytes.data(), c.bytes.size()), c.jpegError);
        }
    }
}

// A header claiming far more pixels than the file's data can hold: refused as damaged
// before any pixel is decoded, or as too large when the claim passes the limit.
TEST(ImageDecoder, AClaimedSizeTheDataDoesNotHoldIsRefused) {
    const auto png = PNGCodec::encode(gradient(16, 16)).value();
    const auto jpeg = JPEGCodec::encode(gradient(16, 16), 0.9).value();
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        double side;
        long code;
    } cases[] = {
        {"png claiming 9000 x 9000", pngWithSize(png, 9000, 9000), 9000,
         ImageCodecErrorDamagedFile},
        {"jpeg claiming 9000 x 9000", jpegWithSize(jpeg, 9000, 9000), 9000,
         ImageCodecErrorDamagedFile},
        {"png claiming 60000 x 60000", pngWithSize(png, 60000, 60000), 60000,
         ImageCodecErrorTooLarge},
        {"jpeg claiming 60000 x 60000", jpegWithSize(jpeg, 60000, 60000), 60000,
         ImageCodecErrorTooLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const bool isPng =
            ImageDecoder::sniff(c.bytes.data(), c.bytes.size()) == ImageFileType::PNG;
        const CGRect whole = CGRectMake(0, 0, c.side, c.side);
        for (const auto& decoded :
             {isPng ? PNGCodec::decode(c.bytes.data(), c.bytes.size())
                    : JPEGCodec::decode(c.bytes.data(), c.bytes.size()),
              isPng ? PNGCodec::decodeToSize(c.bytes.data(), c.bytes.size(), whole, 100, 100)
                    : JPEGCodec::decodeToSize(c.bytes.data(), c.bytes.size(), whole, 100, 100)}) {
            ASSERT_TRUE(decoded.hasError());
            EXPECT_EQ(decoded.error()->domain(), ImageCodecErrorDomain);
            EXPECT_EQ(decoded.error()->code(), c.code) << decoded.error()->description();
            EXPECT_NE(decoded.error()->localizedDescription(), "");
        }
    }
}

// A file cut anywhere before its end is refused, not shown with a grey or black hole.
TEST(ImageDecoder, EveryTruncationIsRefused) {
    const auto png = PNGCodec::encode(gradient(24, 24)).value();
    const auto jpeg = JPEGCodec::encode(gradient(24, 24), 0.9).value();
    const size_t pngImageEnd = png.size() - 12; // the end chunk follows the image data
    for (size_t size = 0; size < pngImageEnd; ++size) {
        ASSERT_TRUE(PNGCodec::decode(png.data(), size).hasError()) << size;
    }
    for (size_t size = 0; size < jpeg.size(); ++size) {
        ASSERT_TRUE(JPEGCodec::decode(jpeg.data(), size).hasError()) << size;
    }
}

} // namespace
