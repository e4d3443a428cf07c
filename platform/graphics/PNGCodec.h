// PNG files to and from CGImage pixels, on libpng.
#pragma once

#include "platform/graphics/CGImage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct PNGCodec {
    // Any colour type, bit depth and interlacing, as premultiplied ARGB32 (transparency
    // from a tRNS chunk included). Null and a reason in `error` (when given) for a
    // damaged, truncated or oversized file.
    static CGImageRef decode(const uint8_t* data, size_t size, std::string* error);
    // RGBA for ARGB32 (colours un-premultiplied), RGB for RGB24, grey for Gray8; 8 bits
    // a sample.
    static std::optional<std::vector<uint8_t>> encode(const CGImageRef& image, std::string* error);
};
