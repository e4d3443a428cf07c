// The eight ways a picture may be stored relative to how it is shown (as cameras record
// them), and the pure pixel transform that turns stored pixels upright.
#pragma once

#include "platform/graphics/CGImage.h"

// How the stored pixels must be turned to be shown upright: Right means rotate them a
// quarter turn clockwise, Left anticlockwise; the mirrored ones flip as well. Same values
// as the platform's image orientations.
enum class ImageOrientation {
    Up,
    Down,
    Left,
    Right,
    UpMirrored,
    DownMirrored,
    LeftMirrored,
    RightMirrored,
};

// EXIF orientation 1..8 (1 Up, 2 UpMirrored, 3 Down, 4 DownMirrored, 5 LeftMirrored,
// 6 Right, 7 RightMirrored, 8 Left); anything else is Up.
ImageOrientation ImageOrientationFromExif(int exifOrientation);

// `image` shown upright: a new grid in the same pixel format (a mask stays a mask), width
// and height swapped for the Left and Right kinds. Up gives `image` itself.
CGImageRef CGImageCreateOriented(const CGImageRef& image, ImageOrientation orientation);
