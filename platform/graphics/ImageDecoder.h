// What kind of image a file holds, told by its first bytes (never by its name), and the
// limit every decoder keeps to.
#pragma once

#include <cstddef>
#include <cstdint>

enum class ImageFileType { Unknown, PNG, JPEG };

struct ImageDecoder {
    // Larger images are refused before any pixel is allocated ("image too large"): a
    // hostile header must not make us reserve gigabytes.
    static constexpr uint64_t maxPixels = 100'000'000;

    static ImageFileType sniff(const uint8_t* data, size_t size);
};
