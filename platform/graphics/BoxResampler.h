// Scales part of a whole image down by area averaging (see RowResampler): for pixels
// already in memory, such as an image decoded elsewhere.
#pragma once

#include "platform/graphics/CGGeometry.h"
#include "platform/graphics/CGImage.h"

#include <cstddef>

struct BoxResampler {
    // `source` (in the image's pixels, clipped to it) scaled to width x height, in the
    // image's pixel format: one of the 32-bit ones, what the decoders give. Null for
    // another image, an empty area or an empty size.
    static CGImageRef resample(const CGImageRef& image, const CGRect& source, size_t width,
                               size_t height);
};
