// Convolutions of 8-bit four-channel images.
//
// Box convolution: every output pixel is the rounded mean of
// the kernel_height x kernel_width source pixels centred on it, each channel on its own
// (so premultiplied pixels stay premultiplied). Running sums along rows and columns make
// the cost grow with the pixels, not with the kernel's area.
//
// Large calls of either convolution run on one thread a core, each filling a band of the
// destination's rows; the call returns when all are done.
#pragma once

#include "platform/accelerate/vImageTypes.h"

// The largest kernel side accepted; every sum then fits in 64 bits with room to spare.
inline constexpr uint32_t kvImageMaxBoxKernelSize = 65535;

// Convolves the region of `src` starting at (srcOffsetToROI_X, srcOffsetToROI_Y), of
// `dest`'s size, into `dest`; pixels beyond the source's edges repeat its edge pixels
// (kvImageEdgeExtend, the one edge style offered here). `tempBuffer` may be null (the call
// then allocates) or hold the size the same call with kvImageGetTempBufferSize returns.
// `backgroundColor` is not read by this edge style. Errors, without touching `dest`:
// kvImageUnknownFlagsBit, kvImageInvalidEdgeStyle (no edge style given),
// kvImageNullPointerArgument, kvImageInvalidKernelSize (even, zero or above
// kvImageMaxBoxKernelSize), kvImageInvalidRowBytes (rows shorter than their pixels),
// kvImageRoiLargerThanInputBuffer (the region leaves the source) and
// kvImageOutOfPlaceOperationRequired (source and destination memory overlap).
vImage_Error vImageBoxConvolve_ARGB8888(const vImage_Buffer* src, const vImage_Buffer* dest,
                                        void* tempBuffer, vImagePixelCount srcOffsetToROI_X,
                                        vImagePixelCount srcOffsetToROI_Y, uint32_t kernel_height,
                                        uint32_t kernel_width, const uint8_t* backgroundColor,
                                        vImage_Flags flags);

// General convolution with an integer kernel: every output channel is
//   clamp(round(sum of kernel[i * kernel_width + j] x source pixel (x + j - kw/2, y + i - kh/2))
//         / divisor), 0, 255)
// each channel on its own, rounding halves away from zero; a divisor of 0 counts as 1, a
// negative one flips the sum's sign. Kernel sides are odd, any size. The region, edge
// style, temporary buffer and errors are as for the box convolution above (the kernel's
// sides are checked the same way, and a null kernel is kvImageNullPointerArgument).
// Sums are carried in 32 bits when the kernel cannot overflow them, else in 64.
vImage_Error vImageConvolve_ARGB8888(const vImage_Buffer* src, const vImage_Buffer* dest,
                                     void* tempBuffer, vImagePixelCount srcOffsetToROI_X,
                                     vImagePixelCount srcOffsetToROI_Y, const int16_t* kernel,
                                     uint32_t kernel_height, uint32_t kernel_width, int32_t divisor,
                                     const uint8_t* backgroundColor, vImage_Flags flags);
