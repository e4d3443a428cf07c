#include "platform/photos/PhotoFileHeader.h"

#include "tests/support/ImageFixtures.h"
#include "tests/support/PhotoFixtures.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

std::vector<uint8_t> cut(std::vector<uint8_t> bytes, size_t size) {
    bytes.resize(size);
    return bytes;
}

// Where a JPEG's first frame header (FF C0) starts.
size_t frameAt(const std::vector<uint8_t>& jpeg) {
    for (size_t i = 2; i + 1 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xff && jpeg[i + 1] == 0xc0) {
            return i;
        }
    }
    return 0;
}

// `jpeg` with `segment` (marker and payload) inserted right after its start marker.
std::vector<uint8_t> withSegment(std::vector<uint8_t> jpeg, uint8_t marker,
                                 const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> segment = {0xff, marker, uint8_t((payload.size() + 2) >> 8),
                                    uint8_t(payload.size() + 2)};
    segment.insert(segment.end(), payload.begin(), payload.end());
    jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
    return jpeg;
}

TEST(PhotoFileHeaderTest, TellsReadableImagesByTheirContent) {
    const auto jpeg = photoJpeg(40, 30);
    auto strayBytes = jpeg;
    strayBytes.insert(strayBytes.begin() + long(frameAt(jpeg)), {0x00, 0x12, 0x34});
    // Metadata far larger than any first read: the frame header lies 120 KB in.
    const auto bigMetadata = withSegment(withSegment(jpeg, 0xe2, std::vector<uint8_t>(60000, 7)),
                                         0xe2, std::vector<uint8_t>(60000, 9));
    const auto greyJpeg =
        writeJpeg(8, 4, JCS_GRAYSCALE, 1, JCS_GRAYSCALE, false, std::vector<uint8_t>(32, 90));
    const auto cmykJpeg =
        writeJpeg(8, 4, JCS_CMYK, 4, JCS_CMYK, true, std::vector<uint8_t>(128, 30));
    const auto png = translucentPng(12, 7);

    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        ImageFileType type; // Unknown: not an image we can read
        size_t width, height;
    } cases[] = {
        {"JPEG", jpeg, ImageFileType::JPEG, 40, 30},
        {"JPEG with stray bytes before a marker", strayBytes, ImageFileType::JPEG, 40, 30},
        {"JPEG with large metadata", bigMetadata, ImageFileType::JPEG, 40, 30},
        {"greyscale JPEG", greyJpeg, ImageFileType::JPEG, 8, 4},
        {"CMYK JPEG", cmykJpeg, ImageFileType::JPEG, 8, 4},
        {"PNG with alpha", png, ImageFileType::PNG, 12, 7},
        {"JPEG whose data is cut after its header", cut(jpeg, jpeg.size() - 100),
         ImageFileType::JPEG, 40, 30},
        {"empty", {}, ImageFileType::Unknown, 0, 0},
        {"text", bytesOf("not a picture at all"), ImageFileType::Unknown, 0, 0},
        {"JPEG cut inside its frame header", cut(jpeg, frameAt(jpeg) + 6), ImageFileType::Unknown,
         0, 0},
        {"JPEG cut before its first scan", cut(jpeg, frameAt(jpeg) + 19), ImageFileType::Unknown, 0,
         0},
        {"JPEG of no width", jpegWithSize(jpeg, 0, 30), ImageFileType::Unknown, 0, 0},
        {"JPEG beyond the decoders' limit", jpegWithSize(jpeg, 60000, 60000), ImageFileType::JPEG,
         60000, 60000},
        {"PNG cut inside its header", cut(png, 20), ImageFileType::Unknown, 0, 0},
        {"PNG of no height", pngWithSize(png, 12, 0), ImageFileType::Unknown, 0, 0},
        {"video", videoBytes(), ImageFileType::Unknown, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto header = PhotoFileHeader::readData(c.bytes.data(), c.bytes.size());
        ASSERT_EQ(header.has_value(), c.type != ImageFileType::Unknown);
        if (header) {
            EXPECT_EQ(header->kind, PhotoFileHeader::Kind::Image);
            EXPECT_EQ(header->imageType, c.type);
            EXPECT_EQ(header->width, c.width);
            EXPECT_EQ(header->height, c.height);
            EXPECT_EQ(header->exifOrientation, 1);
            EXPECT_FALSE(header->dateTimeOriginal);
        }
    }
}

TEST(PhotoFileHeaderTest, ReadsTheEXIFOrientationAndDate) {
    const auto jpeg = photoJpeg(40, 30, 6, "2024:05:06 07:08:09");
    const auto header = PhotoFileHeader::readData(jpeg.data(), jpeg.size());
    ASSERT_TRUE(header);
    EXPECT_EQ(header->exifOrientation, 6);
    EXPECT_EQ(header->dateTimeOriginal, "2024:05:06 07:08:09");
    EXPECT_EQ(header->width, 40u);
    EXPECT_EQ(header->uprightWidth(), 30u);
    EXPECT_EQ(header->uprightHeight(), 40u);
}

TEST(PhotoFileHeaderTest, FilesAreVideosByContainerAndExtensionTogether) {
    TempFolder folder;
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        bool listed;
        PhotoFileHeader::Kind kind;
    } cases[] = {
        {"clip.mp4", videoBytes(), true, PhotoFileHeader::Kind::Video},
        {"clip.MOV", videoBytes(), true, PhotoFileHeader::Kind::Video},
        {"clip.m4v", videoBytes(), true, PhotoFileHeader::Kind::Video},
        {"clip.avi", videoBytes(), false, {}},
        {"notes.mp4", bytesOf("plain text, no container"), false, {}},
        {"photo.mov", photoJpeg(8, 8), true, PhotoFileHeader::Kind::Image},
        {"photo.txt", photoJpeg(8, 8), true, PhotoFileHeader::Kind::Image},
        {"empty.jpg", {}, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto header = PhotoFileHeader::readFile(writeBytes(folder.file(c.name), c.bytes));
        ASSERT_EQ(header.has_value(), c.listed);
        if (header) {
            EXPECT_EQ(header->kind, c.kind);
        }
    }
    EXPECT_FALSE(PhotoFileHeader::readFile(folder.file("missing.jpg")));
    EXPECT_FALSE(PhotoFileHeader::readFile(folder.path())) << "a folder";
}

} // namespace
