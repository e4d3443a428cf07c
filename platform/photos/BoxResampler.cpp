#include "platform/photos/BoxResampler.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

// Fixed point throughout. Across a row, weights are 8-bit fractions (a run sums to exactly
// 256), so one 32-bit multiply weighs two channels at once in 16-bit halves without a
// carry between them; down the columns they are 15-bit fractions, so that 16-bit times
// 16-bit products vectorize. Shrunk rows carry 8 fractional bits in 16 bits, and every
// sum fits in 32 bits.

namespace {

constexpr uint32_t kAcross = 1u << 8;
constexpr uint32_t kDown = 1u << 15;

// Along one axis: the source pixels each result pixel covers and how much of each, in
// fractions of `one`. Every run has the same length (the longest, padded with zero
// weights), so the loops over them have a fixed count.
struct Taps {
    size_t length = 1;
    std::vector<size_t> first;
    std::vector<uint16_t> weights; // `length` per result pixel
};

Taps tapsFor(double start, double size, size_t sourceSize, size_t resultSize, uint32_t one) {
    const double step = size / double(resultSize);
    const double limit = double(sourceSize);
    auto span = [&](size_t i) {
        const double a = std::clamp(start + double(i) * step, 0.0, limit);
        const double b = std::clamp(start + double(i + 1) * step, 0.0, limit);
        const size_t first = std::min(static_cast<size_t>(a), sourceSize - 1);
        const size_t end =
            std::max(first + 1, std::min(static_cast<size_t>(std::ceil(b)), sourceSize));
        return std::tuple(a, b, first, end);
    };
    Taps taps;
    for (size_t i = 0; i < resultSize; ++i) {
        const auto [a, b, first, end] = span(i);
        taps.length = std::max(taps.length, end - first);
    }
    std::vector<double> covered(taps.length);
    for (size_t i = 0; i < resultSize; ++i) {
        const auto [a, b, first, end] = span(i);
        // Runs near the far edge start early, so that none reads past it.
        const size_t start = std::min(first, sourceSize - taps.length);
        double total = 0;
        for (size_t k = 0; k < taps.length; ++k) {
            const double p = double(start + k);
            covered[k] = std::max(std::min(b, p + 1) - std::max(a, p), 0.0);
            total += covered[k];
        }
        // Rounded weights, the rounding's remainder given to the largest so the run sums to
        // one exactly; an area thinner than rounding can see takes the pixel it lies on.
        const size_t at = taps.weights.size();
        uint32_t sum = 0;
        for (size_t k = 0; k < taps.length; ++k) {
            const uint32_t weight =
                total > 0 ? static_cast<uint32_t>(std::lround(covered[k] / total * one))
                          : (start + k == first ? one : 0);
            taps.weights.push_back(static_cast<uint16_t>(weight));
            sum += weight;
        }
        auto heaviest = std::max_element(taps.weights.begin() + long(at), taps.weights.end());
        *heaviest = static_cast<uint16_t>(*heaviest + one - sum);
        taps.first.push_back(start);
    }
    return taps;
}

// One source row shrunk across: channels 0 and 2 share one multiply, 1 and 3 another.
template <size_t Length>
void shrinkRow(const uint8_t* source, const Taps& columns, size_t length, uint16_t* shrunk,
               size_t width) {
    if constexpr (Length != 0) {
        length = Length;
    }
    const uint16_t* weight = columns.weights.data();
    for (size_t x = 0; x < width; ++x, weight += length) {
        uint32_t evenChannels = 0, oddChannels = 0;
        const uint8_t* pixel = source + columns.first[x] * 4;
        for (size_t k = 0; k < length; ++k, pixel += 4) {
            evenChannels += (uint32_t(pixel[0]) | uint32_t(pixel[2]) << 16) * weight[k];
            oddChannels += (uint32_t(pixel[1]) | uint32_t(pixel[3]) << 16) * weight[k];
        }
        shrunk[4 * x] = static_cast<uint16_t>(evenChannels);
        shrunk[4 * x + 1] = static_cast<uint16_t>(oddChannels);
        shrunk[4 * x + 2] = static_cast<uint16_t>(evenChannels >> 16);
        shrunk[4 * x + 3] = static_cast<uint16_t>(oddChannels >> 16);
    }
}

// The usual runs (a result pixel covering up to three source pixels, as after a DCT-scaled
// decode) get loops the compiler unrolls.
void shrinkRow(const uint8_t* source, const Taps& columns, uint16_t* shrunk, size_t width) {
    switch (columns.length) {
    case 1:
        return shrinkRow<1>(source, columns, 1, shrunk, width);
    case 2:
        return shrinkRow<2>(source, columns, 2, shrunk, width);
    case 3:
        return shrinkRow<3>(source, columns, 3, shrunk, width);
    default:
        return shrinkRow<0>(source, columns, columns.length, shrunk, width);
    }
}

// Rows are shrunk across first, then combined down; only the few shrunk rows one result
// row needs are kept, in a ring, so memory stays at a few rows beyond the result.
std::vector<uint8_t> resampleRows(const CGImage& image, const Taps& columns, const Taps& rows,
                                  size_t width, size_t height) {
    const size_t rowLength = width * 4;
    std::vector<uint16_t> ring(rows.length * rowLength);
    std::vector<uint32_t> sum(rowLength);
    std::vector<uint8_t> result(rowLength * height);
    size_t shrunkRows = 0; // source rows below this one are done (or not needed)
    for (size_t y = 0; y < height; ++y) {
        const size_t firstRow = rows.first[y];
        for (size_t sy = std::max(shrunkRows, firstRow); sy < firstRow + rows.length; ++sy) {
            shrinkRow(image.data() + sy * image.bytesPerRow(), columns,
                      ring.data() + (sy % rows.length) * rowLength, width);
            shrunkRows = sy + 1;
        }
        std::fill(sum.begin(), sum.end(), 1u << 22); // rounds the final shift
        const uint16_t* weight = rows.weights.data() + y * rows.length;
        for (size_t k = 0; k < rows.length; ++k) {
            const uint16_t* shrunk = ring.data() + ((firstRow + k) % rows.length) * rowLength;
            const uint16_t w = weight[k];
            if (w == 0) {
                continue;
            }
            for (size_t i = 0; i < rowLength; ++i) {
                sum[i] += uint32_t(w) * shrunk[i];
            }
        }
        uint8_t* target = result.data() + y * rowLength;
        for (size_t i = 0; i < rowLength; ++i) {
            target[i] = static_cast<uint8_t>(sum[i] >> 23);
        }
    }
    return result;
}

} // namespace

CGImageRef BoxResampler::resample(const CGImageRef& image, const CGRect& source, size_t width,
                                  size_t height) {
    if (!image || image->bytesPerPixel() != 4 || image->isMask() || width == 0 || height == 0) {
        return nullptr;
    }
    const CGRect area =
        CGRectIntersection(CGRectStandardize(source),
                           CGRectMake(0, 0, double(image->width()), double(image->height())));
    if (CGRectIsEmpty(area)) {
        return nullptr;
    }
    const Taps columns = tapsFor(area.origin.x, area.size.width, image->width(), width, kAcross);
    const Taps rows = tapsFor(area.origin.y, area.size.height, image->height(), height, kDown);
    return CGImage::create(width, height, image->format(), width * 4,
                           resampleRows(*image, columns, rows, width, height));
}
