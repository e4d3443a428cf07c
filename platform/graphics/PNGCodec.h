// PNG files to and from CGImage pixels, on libpng.
#pragma once

#include "platform/foundation/ErrorOr.h"
#include "platform/graphics/CGGeometry.h"
#include "platform/graphics/CGImage.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct PNGCodec {
    // Any colour type, bit depth and interlacing, as premultiplied ARGB32 (transparency
    // from a tRNS chunk included). An ImageCodecErrorDomain error for a damaged, truncated
    // or oversized file.
    static ErrorOr<CGImageRef> decode(const uint8_t* data, size_t size);
    // `source` (a part of the picture, clipped to it) scaled to width x height, area-averaged
    // as the rows arrive, rows past the part left unread. Memory is the result and a few
    // rows, never the whole picture; an interlaced file, whose rows are only complete after
    // its last pass, is added up pass by pass in sums four times the result's size (none at
    // the picture's own size). `workingBytes`, when given, receives what this code held
    // besides the result. An ImageCodecErrorNoImage error for an empty size or part.
    static ErrorOr<CGImageRef> decodeToSize(const uint8_t* data, size_t size, const CGRect& source,
                                            size_t width, size_t height,
                                            size_t* workingBytes = nullptr);
    // RGBA for ARGB32 (colours un-premultiplied), RGB for RGB24, grey for Gray8; 8 bits
    // a sample.
    static ErrorOr<std::vector<uint8_t>> encode(const CGImageRef& image);
};
