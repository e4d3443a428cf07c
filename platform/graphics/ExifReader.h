// The few EXIF facts the app uses from a photo file: how to turn it upright, when it was
// taken and its embedded preview.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ExifInfo {
    // The EXIF orientation, 1 (upright) to 8.
    int orientation = 1;
    // "YYYY:MM:DD HH:MM:SS": DateTimeOriginal, else DateTime, when well formed.
    std::optional<std::string> dateTimeOriginal;
    // The small JPEG picture cameras embed for previews, when there is one and it was
    // asked for.
    std::vector<uint8_t> thumbnail;
};

struct ExifReader {
    enum class Thumbnail { Skip, Copy };
    // `data` is a whole JPEG file or a bare EXIF block. Missing or broken EXIF, and
    // values out of range, give the defaults. The preview, tens of kilobytes, is copied
    // out only for the one reader that shows it.
    static ExifInfo read(const uint8_t* data, size_t size, Thumbnail thumbnail = Thumbnail::Skip);
};
