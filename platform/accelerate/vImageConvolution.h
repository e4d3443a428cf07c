// Box convolution of 8-bit four-channel images: every output pixel is the rounded mean of
// the kernel_height x kernel_width source pixels centred on it, each channel on its own
// (so premultiplied pixels stay premultiplied). Running sums along rows and columns make
// the cost grow with the pixels, not with the kernel's area.
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
