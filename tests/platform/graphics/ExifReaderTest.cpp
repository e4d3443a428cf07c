#include "platform/graphics/ExifReader.h"

#include "platform/graphics/JPEGCodec.h"
#include "tests/support/ImageFixtures.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> smallJpeg() {
    const auto image =
        makeImage(8, 8, CGImagePixelFormat::RGB24, [](size_t, size_t) { return 0xff808080u; });
    return JPEGCodec::encode(image, 0.8).value();
}

TEST(ExifReader, ReadsOrientationAndDateFromAPhoto) {
    const auto jpeg = smallJpeg();
    const std::string taken = "2019:07:14 09:30:05", saved = "2020:01:02 03:04:05";
    auto truncated = exifBlock(false, 6, saved, taken);
    truncated.resize(truncated.size() - 30);
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        int orientation;
        std::optional<std::string> date;
    } cases[] = {
        {"little-endian", withExif(jpeg, exifBlock(false, 6, saved, taken)), 6, taken},
        {"big-endian", withExif(jpeg, exifBlock(true, 8, saved, taken)), 8, taken},
        {"a bare EXIF block", exifBlock(false, 3, "", taken), 3, taken},
        {"only the time of saving", withExif(jpeg, exifBlock(false, 2, saved, "")), 2, saved},
        {"an unknown time is left out",
         withExif(jpeg, exifBlock(false, 5, saved, "    :  :     :  :  ")), 5, saved},
        {"a zero time is left out", withExif(jpeg, exifBlock(false, 1, "0000:00:00 00:00:00", "")),
         1, std::nullopt},
        {"an orientation out of range", withExif(jpeg, exifBlock(false, 9, "", "")), 1,
         std::nullopt},
        {"no orientation", withExif(jpeg, exifBlock(false, 0, "", taken)), 1, taken},
        {"no EXIF", jpeg, 1, std::nullopt},
        {"a cut EXIF block", withExif(jpeg, truncated), 6, std::nullopt},
        {"text", {'E', 'x', 'i', 'f', 0}, 1, std::nullopt},
        {"empty", {}, 1, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ExifInfo info = ExifReader::read(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(info.orientation, c.orientation);
        EXPECT_EQ(info.dateTimeOriginal, c.date);
    }
}

} // namespace
