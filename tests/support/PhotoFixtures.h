// Photo files and a photo library for the photos tests: a temporary library folder, a
// fresh home, mock time and manually stepped global queues, with access already granted.
#pragma once

#include "platform/foundation/NSDate.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// Colours of the stored quarters of photoJpeg, so that a test can tell how it was turned.
inline constexpr uint32_t kTopLeft = 0xffff0000, kTopRight = 0xff00ff00, kBottomLeft = 0xff0000ff,
                          kBottomRight = 0xffffffff;

// A JPEG of width x height stored pixels in four coloured quarters, with an EXIF block
// when `exifOrientation` or `dateTimeOriginal` is given.
std::vector<uint8_t> photoJpeg(size_t width, size_t height, int exifOrientation = 0,
                               const std::string& dateTimeOriginal = "");
// photoJpeg with an EXIF block holding the orientation (0: none) and an embedded
// thumbnail: photoJpeg(thumbnailWidth, thumbnailHeight), in the stored orientation as a
// camera writes it.
std::vector<uint8_t> photoJpegWithThumbnail(size_t width, size_t height, int exifOrientation,
                                            size_t thumbnailWidth, size_t thumbnailHeight);
// A PNG of width x height half-transparent red pixels.
std::vector<uint8_t> translucentPng(size_t width, size_t height);
// The smallest MPEG-4 start: an "ftyp" box.
std::vector<uint8_t> videoBytes();

// Writes `bytes` to `path`, creating folders on the way; returns the path.
std::string writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void setModificationDate(const std::string& path, NSDate date);

class PhotoLibraryTest : public testing::Test {
protected:
    PhotoLibraryTest();
    ~PhotoLibraryTest() override;

    // A file in the library folder, by its path there.
    std::string libraryFile(const std::string& name, const std::vector<uint8_t>& bytes) {
        return writeBytes(library_.file(name), bytes);
    }
    // A file in the home's Album folder.
    std::string albumFile(const std::string& name, const std::vector<uint8_t>& bytes);

    TaskEnvironment environment_{TaskEnvironment::GlobalQueues::Manual};
    TestHome home_;
    TempFolder library_;
    std::vector<std::string> log_;
};
