// The sizes behind an image request: what the result measures, which part of the stored
// photo it shows, and the smallest decode that still has the pixels for it. Pure
// arithmetic, so the size rules are checked without decoding anything.
#pragma once

#include "platform/graphics/CGGeometry.h"
#include "platform/photos/PHImageManager.h"
#include "platform/photos/PHImageRequestOptions.h"
#include "platform/photos/PhotoFileHeader.h"

#include <cstddef>

struct ImageRequestGeometry {
    // The result, upright, in pixels.
    size_t width = 0;
    size_t height = 0;
    // The part of the stored photo the result shows, in its stored full-size pixels.
    CGRect storedSource;
    // The decode needs at least this many pixels, in the stored orientation.
    size_t minimumDecodeWidth = 0;
    size_t minimumDecodeHeight = 0;

    // A target with a side that is not positive (PHImageManagerMaximumSize) asks for the
    // whole photo. Aspect fit lies inside the target, aspect fill covers it; with Exact,
    // aspect fill is cut (centred) to the target's shape. Never larger than the photo.
    static ImageRequestGeometry compute(const PhotoFileHeader& header, CGSize targetSize,
                                        PHImageContentMode contentMode,
                                        PHImageRequestOptionsResizeMode resizeMode);
};
