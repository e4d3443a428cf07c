#include "platform/graphics/GaussianBlur.h"

#include "platform/accelerate/vImageConvolution.h"
#include "platform/foundation/NSLog.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

namespace {
constexpr size_t kChannels = 4;
constexpr int kPasses = 3;

void copyPixels(const vImage_Buffer& from, const vImage_Buffer& to) {
    for (size_t y = 0; y < from.height; ++y) {
        std::memcpy(static_cast<uint8_t*>(to.data) + y * to.rowBytes,
                    static_cast<const uint8_t*>(from.data) + y * from.rowBytes,
                    from.width * kChannels);
    }
}
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

// Each pass reads an image framed by one transparent pixel: the convolution repeats the
// edge pixels beyond the edges, and those are the frame's, so everything beyond the picture
// counts as transparent in every pass. Passes before the last write inside the frame of
// the next one's image.
void GaussianBlur::blur(const vImage_Buffer& source, const vImage_Buffer& destination) const {
    std::vector<uint32_t> passes;
    std::copy_if(sides_.begin(), sides_.end(), std::back_inserter(passes),
                 [](uint32_t side) { return side > 1; });
    if (passes.empty()) {
        copyPixels(source, destination);
        return;
    }
    const size_t width = source.width, height = source.height;
    const size_t rowBytes = (width + 2) * kChannels;
    std::vector<uint8_t> front((height + 2) * rowBytes), back(front.size());
    // The picture with its frame, and the picture alone.
    auto framed = [&](std::vector<uint8_t>& pixels) {
        return vImage_Buffer{pixels.data(), height + 2, width + 2, rowBytes};
    };
    auto inside = [&](std::vector<uint8_t>& pixels) {
        return vImage_Buffer{pixels.data() + rowBytes + kChannels, height, width, rowBytes};
    };
    copyPixels(source, inside(front));
    const uint32_t largest = *std::max_element(passes.begin(), passes.end());
    const vImage_Buffer first = framed(front);
    std::vector<uint8_t> temp(size_t(std::max<vImage_Error>(
        vImageBoxConvolve_ARGB8888(&first, &destination, nullptr, 1, 1, largest, largest, nullptr,
                                   kvImageEdgeExtend | kvImageGetTempBufferSize),
        0)));
    for (size_t i = 0; i < passes.size(); ++i) {
        const vImage_Buffer from = framed(front);
        const vImage_Buffer target = i + 1 < passes.size() ? inside(back) : destination;
        const vImage_Error error = vImageBoxConvolve_ARGB8888(
            &from, &target, temp.data(), 1, 1, passes[i], passes[i], nullptr, kvImageEdgeExtend);
        if (error != kvImageNoError) {
            NSLog("GaussianBlur: the box convolution failed (error %ld).", long(error));
            return;
        }
        std::swap(front, back);
    }
}
