#include "platform/photos/BoxResampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>
#include <vector>

// Fixed point in 16 bits, so that vectors (the compiler's vector extension; plain code on
// a target without one) carry eight channels at a time: weights are 8-bit fractions (each
// run sums to exactly 256), so a weighted sum of 8-bit samples never exceeds 255 x 256.
// Columns are combined down first, into one padded row of 8-bit pixels per result row;
// that row is then shrunk across, two pixels per vector.

namespace {

constexpr uint32_t kOne = 256;

using Samples = uint8_t __attribute__((vector_size(8)));    // two pixels
using Weighted = uint16_t __attribute__((vector_size(16))); // the same, widened

// Along one axis: the source pixels each result pixel covers and how much of each. Every
// run has the same length (the longest, rounded up to `multiple` with zero weights), so
// the loops over runs have a fixed count.
struct Taps {
    size_t length = 1;
    std::vector<size_t> first;
    std::vector<uint16_t> weights; // `length` per result pixel
};

Taps tapsFor(double start, double size, size_t sourceSize, size_t resultSize, size_t multiple) {
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
    size_t longest = 1;
    for (size_t i = 0; i < resultSize; ++i) {
        const auto [a, b, first, end] = span(i);
        longest = std::max(longest, end - first);
    }
    Taps taps;
    taps.length = (longest + multiple - 1) / multiple * multiple;
    std::vector<double> covered(taps.length);
    for (size_t i = 0; i < resultSize; ++i) {
        const auto [a, b, first, end] = span(i);
        // Runs near the far edge start early, so that no weighed pixel lies past it.
        const size_t runStart = std::min(first, sourceSize - longest);
        double total = 0;
        for (size_t k = 0; k < taps.length; ++k) {
            const double p = double(runStart + k);
            covered[k] = std::max(std::min(b, p + 1) - std::max(a, p), 0.0);
            total += covered[k];
        }
        // Rounded weights, the rounding's remainder given to the largest so the run sums to
        // one exactly; an area thinner than rounding can see takes the pixel it lies on.
        const size_t at = taps.weights.size();
        uint32_t sum = 0;
        for (size_t k = 0; k < taps.length; ++k) {
            const uint32_t weight =
                total > 0 ? static_cast<uint32_t>(std::lround(covered[k] / total * kOne))
                          : (runStart + k == first ? kOne : 0);
            taps.weights.push_back(static_cast<uint16_t>(weight));
            sum += weight;
        }
        auto heaviest = std::max_element(taps.weights.begin() + long(at), taps.weights.end());
        *heaviest = static_cast<uint16_t>(*heaviest + kOne - sum);
        taps.first.push_back(runStart);
    }
    return taps;
}

// The column weights as vectors: for each result pixel, runs of four source pixels as two
// vectors (pixels 0 and 1, pixels 2 and 3), each weight repeated for the four channels.
std::vector<Weighted> columnVectors(const Taps& columns) {
    std::vector<Weighted> vectors;
    for (size_t at = 0; at < columns.weights.size(); at += 2) {
        Weighted pair;
        for (int lane = 0; lane < 8; ++lane) {
            pair[lane] = columns.weights[at + size_t(lane / 4)];
        }
        vectors.push_back(pair);
    }
    return vectors;
}

std::vector<uint8_t> resampleRows(const CGImage& image, const Taps& columns, const Taps& rows,
                                  size_t width, size_t height) {
    const std::vector<Weighted> weights = columnVectors(columns);
    const size_t groups = columns.length / 4;
    // The source columns any run reads; the row has room for a run of four past the end.
    const size_t begin = columns.first.front() * 4;
    const size_t end = std::min(columns.first.back() + columns.length, image.width()) * 4;
    std::vector<uint16_t> sum(end);
    std::vector<uint8_t> combined((image.width() + 4) * 4);
    std::vector<uint8_t> result(width * 4 * height);
    for (size_t y = 0; y < height; ++y) {
        std::fill(sum.begin() + long(begin), sum.end(), uint16_t(kOne / 2)); // rounds the shift
        for (size_t k = 0; k < rows.length; ++k) {
            const uint16_t w = rows.weights[y * rows.length + k];
            if (w == 0) {
                continue;
            }
            const uint8_t* source = image.data() + (rows.first[y] + k) * image.bytesPerRow();
            for (size_t i = begin; i < end; ++i) {
                sum[i] = static_cast<uint16_t>(sum[i] + w * source[i]);
            }
        }
        for (size_t i = begin; i < end; ++i) {
            combined[i] = static_cast<uint8_t>(sum[i] >> 8);
        }

        uint8_t* target = result.data() + y * width * 4;
        const Weighted* weight = weights.data();
        for (size_t x = 0; x < width; ++x, target += 4) {
            Weighted total{};
            const uint8_t* pixel = combined.data() + columns.first[x] * 4;
            for (size_t group = 0; group < groups; ++group, pixel += 16, weight += 2) {
                Samples near, far;
                std::memcpy(&near, pixel, sizeof near);
                std::memcpy(&far, pixel + 8, sizeof far);
                total += __builtin_convertvector(near, Weighted) * weight[0] +
                         __builtin_convertvector(far, Weighted) * weight[1];
            }
            // Pixel 0's channels plus pixel 1's, rounded, narrowed and stored.
            const Weighted folded =
                (total + __builtin_shufflevector(total, total, 4, 5, 6, 7, 0, 1, 2, 3) +
                 kOne / 2) >>
                8;
            const Samples narrowed = __builtin_convertvector(folded, Samples);
            std::memcpy(target, &narrowed, 4);
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
    const Taps columns = tapsFor(area.origin.x, area.size.width, image->width(), width, 4);
    const Taps rows = tapsFor(area.origin.y, area.size.height, image->height(), height, 1);
    return CGImage::create(width, height, image->format(), width * 4,
                           resampleRows(*image, columns, rows, width, height));
}
