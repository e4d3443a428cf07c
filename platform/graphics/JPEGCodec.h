// JPEG files to and from CGImage pixels, on libjpeg-turbo.
#pragma once

#include "platform/foundation/ErrorOr.h"
#include "platform/graphics/CGGeometry.h"
#include "platform/graphics/CGImage.h"

#include <cstddef>
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
    // costs little time and memory, and the rows go straight into the result.
    static ErrorOr<CGImageRef> decodeScaled(const uint8_t* data, size_t size, size_t minWidth,
                                            size_t minHeight);
    // `source` (a part of the picture in its stored full-size pixels, clipped to it) scaled
    // to width x height: decoded at the smallest of the scales 1/8, 2/8 ... 8/8 that still
    // has a pixel for each result pixel (scaling inside the DCT costs little), then
    // area-averaged as the rows arrive; columns and rows outside the part are not decoded.
    // Memory is the result and a few rows, never the whole picture (but for a progressive
    // file, whose coefficients the codec library must hold). `workingBytes`, when given,
    // receives what this code held besides the result. An ImageCodecErrorNoImage error for
    // an empty size or part.
    static ErrorOr<CGImageRef> decodeToSize(const uint8_t* data, size_t size, const CGRect& source,
                                            size_t width, size_t height,
                                            size_t* workingBytes = nullptr);
    // `quality` 0..1 (clamped) maps to the encoder's 0..100. No alpha is written: colours
    // are taken premultiplied, that is as if composited over black.
    static ErrorOr<std::vector<uint8_t>> encode(const CGImageRef& image, double quality);
};
