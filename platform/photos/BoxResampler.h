// Scales part of an image down by area averaging: each result pixel is the mean of the
// source area it covers, partial pixels weighted by how much of them it covers. Right for
// shrinking photos (no aliasing, no ringing); over premultiplied pixels, so edges of
// transparent areas do not darken.
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
