#include "tests/support/PhotoFixtures.h"

#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/graphics/JPEGCodec.h"
#include "platform/graphics/PNGCodec.h"
#include "platform/photos/PHPhotoLibrary.h"
#include "tests/support/ImageFixtures.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

std::vector<uint8_t> photoJpeg(size_t width, size_t height, int exifOrientation,
                               const std::string& dateTimeOriginal) {
    const auto image = makeImage(width, height, CGImagePixelFormat::RGB24, [&](size_t x, size_t y) {
        const bool right = x >= width / 2, bottom = y >= height / 2;
        return bottom ? (right ? kBottomRight : kBottomLeft) : (right ? kTopRight : kTopLeft);
    });
    auto jpeg = JPEGCodec::encode(image, 0.9).value();
    if (exifOrientation || !dateTimeOriginal.empty()) {
        jpeg = withExif(std::move(jpeg),
                        exifBlock(false, uint16_t(exifOrientation), "", dateTimeOriginal));
    }
    return jpeg;
}

std::vector<uint8_t> photoJpegWithThumbnail(size_t width, size_t height, int exifOrientation,
                                            size_t thumbnailWidth, size_t thumbnailHeight) {
    const auto thumbnail = photoJpeg(thumbnailWidth, thumbnailHeight);
    // "Exif\0\0", a little-endian TIFF header, IFD0 with the orientation, IFD1 with where
    // the thumbnail lies (from the TIFF header), then the thumbnail.
    std::vector<uint8_t> tiff;
    auto put = [&](uint32_t value, int size) {
        for (int i = 0; i < size; ++i) {
            tiff.push_back(static_cast<uint8_t>(value >> (8 * i)));
        }
    };
    auto putEntry = [&](uint16_t tag, uint16_t type, uint32_t value) {
        put(tag, 2);
        put(type, 2);
        put(1, 4);
        put(value, 4);
    };
    constexpr uint32_t kIfd1At = 8 + 18, kThumbnailAt = kIfd1At + 30;
    tiff = {'I', 'I'};
    put(42, 2);
    put(8, 4);
    put(1, 2);
    putEntry(0x0112, 3, uint32_t(exifOrientation ? exifOrientation : 1));
    put(kIfd1At, 4);
    put(2, 2);
    putEntry(0x0201, 4, kThumbnailAt);
    putEntry(0x0202, 4, uint32_t(thumbnail.size()));
    put(0, 4);
    std::vector<uint8_t> block(6 + tiff.size() + thumbnail.size());
    std::memcpy(block.data(), "Exif\0", 6);
    std::copy(tiff.begin(), tiff.end(), block.begin() + 6);
    std::copy(thumbnail.begin(), thumbnail.end(), block.begin() + 6 + long(tiff.size()));
    return withExif(photoJpeg(width, height), block);
}

std::vector<uint8_t> translucentPng(size_t width, size_t height) {
    return PNGCodec::encode(makeImage(width, height, CGImagePixelFormat::ARGB32Premultiplied,
                                      [](size_t, size_t) { return 0x80800000u; }))
        .value();
}

std::vector<uint8_t> videoBytes() {
    return {0, 0, 0, 20, 'f', 't', 'y', 'p', 'i', 's', 'o', 'm', 0, 0, 2, 0, 'm', 'p', '4', '1'};
}

std::string writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

void setModificationDate(const std::string& path, NSDate date) {
    const double seconds = std::floor(date.timeIntervalSince1970());
    const timespec times[2] = {{static_cast<time_t>(seconds), 0},
                               {static_cast<time_t>(seconds), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

PhotoLibraryTest::PhotoLibraryTest() {
    NSLogSetSink([this](const std::string& line) { log_.push_back(line); });
    PHPhotoLibrary::configure(library_.path(), PHAccessAnswer::Granted);
    PHPhotoLibrary::requestAuthorization(nullptr);
    environment_.runUntilIdle();
}

PhotoLibraryTest::~PhotoLibraryTest() {
    NSLogSetSink(nullptr);
    PHPhotoLibrary::configure("", PHAccessAnswer::Ask);
}

std::string PhotoLibraryTest::albumFile(const std::string& name,
                                        const std::vector<uint8_t>& bytes) {
    return writeBytes(stringByAppendingPathComponent(NSHomeDirectory(), "Album/" + name), bytes);
}
