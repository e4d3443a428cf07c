#include "platform/photos/BoxResampler.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Along one axis: the run of source pixels each result pixel covers, and how much of
// each (the weights of a run sum to 1).
struct Taps {
    std::vector<size_t> first;
    std::vector<size_t> count;
    std::vector<size_t> offset; // into weights
    std::vector<float> weights;
    size_t widest = 1;
};

Taps tapsFor(double start, double length, size_t sourceSize, size_t resultSize) {
    Taps taps;
    const double step = length / double(resultSize);
    const double limit = double(sourceSize);
    for (size_t i = 0; i < resultSize; ++i) {
        const double a = std::clamp(start + double(i) * step, 0.0, limit);
        const double b = std::clamp(start + double(i + 1) * step, 0.0, limit);
        const size_t first = std::min(static_cast<size_t>(a), sourceSize - 1);
        const size_t end =
            std::max(first + 1, std::min(static_cast<size_t>(std::ceil(b)), sourceSize));
        const size_t last = end - 1;
        taps.first.push_back(first);
        taps.count.push_back(last - first + 1);
        taps.offset.push_back(taps.weights.size());
        taps.widest = std::max(taps.widest, last - first + 1);
        double total = 0;
        const size_t at = taps.weights.size();
        for (size_t p = first; p <= last; ++p) {
            const double covered = std::min(b, double(p + 1)) - std::max(a, double(p));
            taps.weights.push_back(float(std::max(covered, 0.0)));
            total += std::max(covered, 0.0);
        }
        for (size_t k = at; k < taps.weights.size(); ++k) {
            // An area thinner than rounding can see takes the pixel it lies on.
            taps.weights[k] =
                total > 0 ? float(taps.weights[k] / total) : 1.0f / float(last - first + 1);
        }
    }
    return taps;
}

// Rows are shrunk across first, then combined down; only the few shrunk rows one result
// row needs are kept, in a ring, so memory stays at a few rows beyond the result.
template <size_t Channels>
std::vector<uint8_t> resampleRows(const CGImage& image, const Taps& columns, const Taps& rows,
                                  size_t width, size_t height) {
    const size_t rowFloats = width * Channels;
    std::vector<float> ring(rows.widest * rowFloats);
    std::vector<float> sum(rowFloats);
    std::vector<uint8_t> result(rowFloats * height);
    size_t shrunkRows = 0; // source rows below this one are done (or not needed)
    for (size_t y = 0; y < height; ++y) {
        const size_t firstRow = rows.first[y], rowCount = rows.count[y];
        for (size_t sy = std::max(shrunkRows, firstRow); sy < firstRow + rowCount; ++sy) {
            const uint8_t* source = image.data() + sy * image.bytesPerRow();
            float* shrunk = ring.data() + (sy % rows.widest) * rowFloats;
            for (size_t x = 0; x < width; ++x) {
                float channel[Channels] = {};
                const float* weight = columns.weights.data() + columns.offset[x];
                const uint8_t* pixel = source + columns.first[x] * Channels;
                for (size_t k = 0; k < columns.count[x]; ++k, pixel += Channels) {
                    for (size_t c = 0; c < Channels; ++c) {
                        channel[c] += weight[k] * float(pixel[c]);
                    }
                }
                std::copy(channel, channel + Channels, shrunk + x * Channels);
            }
            shrunkRows = sy + 1;
        }
        std::fill(sum.begin(), sum.end(), 0.0f);
        const float* weight = rows.weights.data() + rows.offset[y];
        for (size_t k = 0; k < rowCount; ++k) {
            const float* shrunk = ring.data() + ((firstRow + k) % rows.widest) * rowFloats;
            for (size_t i = 0; i < rowFloats; ++i) {
                sum[i] += weight[k] * shrunk[i];
            }
        }
        uint8_t* target = result.data() + y * rowFloats;
        for (size_t i = 0; i < rowFloats; ++i) {
            target[i] = static_cast<uint8_t>(std::min(sum[i] + 0.5f, 255.0f));
        }
    }
    return result;
}

} // namespace

CGImageRef BoxResampler::resample(const CGImageRef& image, const CGRect& source, size_t width,
                                  size_t height) {
    if (!image || width == 0 || height == 0) {
        return nullptr;
    }
    const CGRect area =
        CGRectIntersection(CGRectStandardize(source),
                           CGRectMake(0, 0, double(image->width()), double(image->height())));
    if (CGRectIsEmpty(area)) {
        return nullptr;
    }
    const Taps columns = tapsFor(area.origin.x, area.size.width, image->width(), width);
    const Taps rows = tapsFor(area.origin.y, area.size.height, image->height(), height);
    const size_t pixelSize = image->bytesPerPixel();
    auto pixels = pixelSize == 1 ? resampleRows<1>(*image, columns, rows, width, height)
                                 : resampleRows<4>(*image, columns, rows, width, height);
    return image->isMask() ? CGImage::createMask(width, height, width, std::move(pixels))
                           : CGImage::create(width, height, image->format(), width * pixelSize,
                                             std::move(pixels));
}
