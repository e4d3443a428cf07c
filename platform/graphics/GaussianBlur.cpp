#include "platform/graphics/GaussianBlur.h"

#include "platform/accelerate/vImageConvolution.h"
#include "platform/foundation/NSLog.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace {
constexpr size_t kChannels = 4;
constexpr int kPasses = 3;
} // namespace

// Three boxes of two neighbouring odd sides, `lower` and `lower` + 2, the first
// `lowerCount` passes with the smaller, chosen so that their variances add up to the
// Gaussian's as nearly as whole sides allow.
GaussianBlur::GaussianBlur(double deviation) {
    if (!(deviation > 0)) {
        return;
    }
    const double variance = deviation * deviation;
    // Larger boxes than the convolution takes are held at its largest: one spans twice the
    // largest bitmap's side, beyond which a shadow is no more than a faint haze anyway.
    const double ideal =
        std::min(std::sqrt(12 * variance / kPasses + 1), double(kvImageMaxBoxKernelSize - 2));
    auto lower = uint32_t(std::floor(ideal));
    if (lower % 2 == 0) {
        --lower;
    }
    const double l = lower;
    const long lowerCount = std::lround(
        (12 * variance - kPasses * l * l - 4 * kPasses * l - 3 * kPasses) / (-4.0 * l - 4));
    for (int pass = 0; pass < kPasses; ++pass) {
        sides_[size_t(pass)] = pass < lowerCount ? lower : lower + 2;
    }
}

// Each pass reads an image framed by one transparent pixel and writes inside the frame of
// another: the convolution repeats the edge pixels beyond the edges, and those are the
// frame's, so everything beyond the picture counts as transparent in every pass.
void GaussianBlur::blur(const vImage_Buffer& source, const vImage_Buffer& destination) const {
    const size_t width = source.width, height = source.height;
    if (width == 0 || height == 0) {
        return;
    }
    const size_t rowBytes = (width + 2) * kChannels;
    const size_t inside = rowBytes + kChannels; // the first pixel within the frame
    std::vector<uint8_t> front((height + 2) * rowBytes), back(front.size());
    for (size_t y = 0; y < height; ++y) {
        std::memcpy(front.data() + inside + y * rowBytes,
                    static_cast<const uint8_t*>(source.data) + y * source.rowBytes,
                    width * kChannels);
    }
    const uint32_t largest = *std::max_element(sides_.begin(), sides_.end());
    vImage_Buffer framed{front.data(), height + 2, width + 2, rowBytes};
    vImage_Buffer within{back.data() + inside, height, width, rowBytes};
    std::vector<uint8_t> temp(size_t(std::max<vImage_Error>(
        vImageBoxConvolve_ARGB8888(&framed, &within, nullptr, 1, 1, largest, largest, nullptr,
                                   kvImageEdgeExtend | kvImageGetTempBufferSize),
        0)));
    for (uint32_t side : sides_) {
        if (side == 1) {
            continue;
        }
        framed.data = front.data();
        within.data = back.data() + inside;
        const vImage_Error error = vImageBoxConvolve_ARGB8888(
            &framed, &within, temp.data(), 1, 1, side, side, nullptr, kvImageEdgeExtend);
        if (error != kvImageNoError) {
            NSLog("GaussianBlur: the box convolution failed (error %ld).", long(error));
            break;
        }
        std::swap(front, back);
    }
    for (size_t y = 0; y < height; ++y) {
        std::memcpy(static_cast<uint8_t*>(destination.data) + y * destination.rowBytes,
                    front.data() + inside + y * rowBytes, width * kChannels);
    }
}
