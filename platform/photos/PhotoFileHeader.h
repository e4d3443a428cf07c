// What a file of the photo library holds, told from its first bytes and never by its
// name: a PNG or JPEG with its stored size (and a JPEG's EXIF orientation and date), or a
// video container. Reads headers only, so listing a library never decodes pixels.
#pragma once

#include "platform/graphics/ImageDecoder.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

struct PhotoFileHeader {
    enum class Kind { Image, Video };

    Kind kind = Kind::Image;
    ImageFileType imageType = ImageFileType::Unknown;
    // The stored pixel grid, before the EXIF orientation; 0 for a video.
    size_t width = 0;
    size_t height = 0;
    // EXIF orientation 1..8.
    int exifOrientation = 1;
    // "YYYY:MM:DD HH:MM:SS" from the EXIF block, when there is a well-formed one.
    std::optional<std::string> dateTimeOriginal;
    // Where a JPEG's EXIF block ("Exif\0\0" and what follows) lies in the file; a length
    // of 0 when there is none. Its embedded thumbnail is read from there.
    uint64_t exifBlockOffset = 0;
    size_t exifBlockLength = 0;

    // The longest side a header may give (PNG's own bound; a JPEG's is lower).
    static constexpr size_t kMaxSide = 0x7fffffff;

    // An image whose header is complete and whose size is non-zero, or a file named .mov,
    // .mp4 or .m4v whose content starts with a container's "ftyp" box. Nothing for anything
    // else. A picture beyond the decoders' limit is one all the same: it is in the library
    // and shown as one that cannot be opened, its decode refused.
    static std::optional<PhotoFileHeader> readFile(const std::string& path);
    // The same for image bytes in memory (videos are only told from files).
    static std::optional<PhotoFileHeader> readData(const uint8_t* data, size_t size);

    // The size as shown: width and height swapped for the quarter-turn orientations (5-8).
    bool isTransposed() const { return exifOrientation >= 5 && exifOrientation <= 8; }
    size_t uprightWidth() const { return isTransposed() ? height : width; }
    size_t uprightHeight() const { return isTransposed() ? width : height; }
};
