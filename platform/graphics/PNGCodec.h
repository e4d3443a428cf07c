// PNG files to and from CGImage pixels, on libpng.
#pragma once

#include "platform/foundation/ErrorOr.h"
#include "platform/graphics/CGImage.h"

#include <cstdint>
#include <vector>

struct PNGCodec {
    // Any colour type, bit depth and interlacing, as premultiplied ARGB32 (transparency
    // from a tRNS chunk included). An ImageCodecErrorDomain error for a damaged, truncated
    // or oversized file.
    static ErrorOr<CGImageRef> decode(const uint8_t* data, size_t size);
    // RGBA for ARGB32 (colours un-premultiplied), RGB for RGB24, grey for Gray8; 8 bits
    // a sample.
    static ErrorOr<std::vector<uint8_t>> encode(const CGImageRef& image);
};
