// The image buffers, flags and error codes of the platform's image-processing library, as
// its convolutions take and return them. Buffers describe memory the caller owns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <sys/types.h>

using vImagePixelCount = size_t;
// Zero or a negative error code; positive for a size asked with kvImageGetTempBufferSize.
using vImage_Error = ssize_t;
using vImage_Flags = uint32_t;
// One pixel of four 8-bit channels.
using Pixel_8888 = uint8_t[4];

// `rowBytes` apart, `height` rows of `width` pixels.
struct vImage_Buffer {
    void* data = nullptr;
    vImagePixelCount height = 0;
    vImagePixelCount width = 0;
    size_t rowBytes = 0;
};

enum : vImage_Flags {
    kvImageNoFlags = 0,
    // Pixels beyond the edges repeat the nearest edge pixel.
    kvImageEdgeExtend = 8,
    // Do no work: return the size of the temporary buffer the call needs.
    kvImageGetTempBufferSize = 128,
};

enum : vImage_Error {
    kvImageNoError = 0,
    kvImageRoiLargerThanInputBuffer = -21766,
    kvImageInvalidKernelSize = -21767,
    kvImageInvalidEdgeStyle = -21768,
    kvImageNullPointerArgument = -21772,
    kvImageUnknownFlagsBit = -21775,
    kvImageInvalidRowBytes = -21777,
    kvImageOutOfPlaceOperationRequired = -21780,
};
