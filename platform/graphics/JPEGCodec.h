// JPEG files to and from CGImage pixels, on libjpeg-turbo.
#pragma once

#include "platform/foundation/ErrorOr.h"
#include "platform/graphics/CGImage.h"

#include <cstdint>
#include <vector>

struct JPEGCodec {
    // Greyscale, YCbCr, RGB and CMYK/YCCK files, as opaque RGB24 (the skipped byte is
    // 255, so the pixels also read as opaque ARGB32). An ImageCodecErrorDomain error for a
    // damaged, truncated or oversized file.
    static ErrorOr<CGImageRef> decode(const uint8_t* data, size_t size);
    // Decodes at the smallest of the scales 1/8, 2/8 ... 8/8 whose result is still at
    // least minWidth x minHeight (in the file's own pixel orientation), or at full size
    // when even that is smaller. Scaling happens inside the DCT, so a small result also
    // costs little time and memory.
    static ErrorOr<CGImageRef> decodeScaled(const uint8_t* data, size_t size, size_t minWidth,
                                            size_t minHeight);
    // `quality` 0..1 (clamped) maps to the encoder's 0..100. No alpha is written: colours
    // are taken premultiplied, that is as if composited over black.
    static ErrorOr<std::vector<uint8_t>> encode(const CGImageRef& image, double quality);
};
