#include "platform/graphics/RowResampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>

// Fixed point in 16 bits, so that vectors (the compiler's vector extension; plain code on
// a target without one) carry many channels at a time: weights are 8-bit fractions (each
// run sums to exactly 256), so a weighted sum of 8-bit samples never exceeds 255 x 256.
// Each arriving row is shrunk across first, into a ring of rows as wide as the result;
// a result row is made from the ring once the last source row it covers has arrived.

namespace {

constexpr uint32_t kOne = 256;

using Samples = uint8_t __attribute__((vector_size(8)));        // two pixels
using Weighted = uint16_t __attribute__((vector_size(16)));     // the same, widened
using WideSamples = uint8_t __attribute__((vector_size(16)));   // four pixels
using WideWeighted = uint16_t __attribute__((vector_size(32))); // the same, widened

} // namespace

RowResampler::Taps RowResampler::tapsFor(double start, double size, size_t sourceSize,
                                         size_t resultSize, size_t multiple) {
    Taps taps;
    if (size == double(resultSize) && start == std::floor(start) && start >= 0 &&
        start + size <= double(sourceSize)) {
        taps.identity = true;
        for (size_t i = 0; i < resultSize; ++i) {
            taps.first.push_back(static_cast<size_t>(start) + i);
        }
        return taps;
    }
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
        // Each weight is the rounded share of the coverage so far less what was given, so
        // the run sums to one exactly and no weight is negative; an area thinner than
        // rounding can see takes the pixel it lies on.
        double running = 0;
        uint32_t given = 0;
        for (size_t k = 0; k < taps.length; ++k) {
            running += covered[k];
            const uint32_t upTo = total > 0
                                      ? static_cast<uint32_t>(std::lround(running / total * kOne))
                                      : (runStart + k >= first ? kOne : 0);
            taps.weights.push_back(static_cast<uint16_t>(upTo - given));
            given = upTo;
        }
        taps.first.push_back(runStart);
    }
    return taps;
}

std::optional<RowResampler> RowResampler::create(size_t gridWidth, size_t gridHeight,
                                                 const CGRect& source, size_t width, size_t height,
                                                 CGImagePixelFormat format) {
    if (format == CGImagePixelFormat::Gray8 || width == 0 || height == 0) {
        return std::nullopt;
    }
    const CGRect area = CGRectIntersection(CGRectStandardize(source),
                                           CGRectMake(0, 0, double(gridWidth), double(gridHeight)));
    if (CGRectIsEmpty(area)) {
        return std::nullopt;
    }
    RowResampler resampler;
    resampler.width_ = width;
    resampler.height_ = height;
    resampler.format_ = format;
    // Runs of four columns, so that the loop across takes two pixels a vector twice.
    resampler.columns_ = tapsFor(area.origin.x, area.size.width, gridWidth, width, 4);
    resampler.rows_ = tapsFor(area.origin.y, area.size.height, gridHeight, height, 1);
    const Taps& columns = resampler.columns_;
    resampler.columnEnd_ = std::min(columns.first.back() + columns.length, gridWidth);
    resampler.rowEnd_ = resampler.rows_.first.back() + resampler.rows_.length;
    for (size_t at = 0; at < columns.weights.size(); at += 2) {
        for (int lane = 0; lane < 8; ++lane) {
            resampler.columnVectors_.push_back(columns.weights[at + size_t(lane / 4)]);
        }
    }
    if (!resampler.rows_.identity) {
        resampler.ringStride_ = (width * 4 + 15) / 16 * 16;
        resampler.ring_.resize(resampler.ringStride_ * resampler.rows_.length);
        resampler.runRows_.resize(resampler.rows_.length);
        resampler.runWeights_.resize(resampler.rows_.length);
    }
    resampler.result_ = std::make_unique_for_overwrite<uint8_t[]>(width * height * 4);
    return resampler;
}

bool RowResampler::writesResultDirectly() const {
    return columns_.identity && rows_.identity && deliveredFirst_ == firstColumn() &&
           deliveredCount_ == width_;
}

void RowResampler::deliverColumns(size_t first, size_t count) {
    deliveredFirst_ = first;
    deliveredCount_ = count;
    if (writesResultDirectly()) {
        return;
    }
    // The runs across may read up to three pixels past the last column they weigh.
    const size_t reach = columns_.first.back() + columns_.length + 4 - first;
    scratch_.assign(std::max(count, reach) * 4, 0);
}

uint8_t* RowResampler::nextRow() {
    if (writesResultDirectly()) {
        return result_.get() + rowsGiven_ * width_ * 4;
    }
    return scratch_.data();
}

void RowResampler::addRow() {
    const size_t row = firstRow() + rowsGiven_++;
    if (writesResultDirectly()) {
        return;
    }
    if (rows_.identity) {
        shrinkAcross(scratch_.data(), result_.get() + (row - firstRow()) * width_ * 4);
        return;
    }
    shrinkAcross(scratch_.data(), ring_.data() + row % rows_.length * ringStride_);
    emitRows();
}

void RowResampler::shrinkAcross(const uint8_t* row, uint8_t* target) const {
    if (columns_.identity) {
        std::memcpy(target, row + (firstColumn() - deliveredFirst_) * 4, width_ * 4);
        return;
    }
    const size_t groups = columns_.length / 4;
    const uint16_t* weight = columnVectors_.data();
    for (size_t x = 0; x < width_; ++x, target += 4) {
        Weighted total{};
        const uint8_t* pixel = row + (columns_.first[x] - deliveredFirst_) * 4;
        for (size_t group = 0; group < groups; ++group, pixel += 16, weight += 16) {
            Samples near, far;
            Weighted nearWeight, farWeight;
            std::memcpy(&near, pixel, sizeof near);
            std::memcpy(&far, pixel + 8, sizeof far);
            std::memcpy(&nearWeight, weight, sizeof nearWeight);
            std::memcpy(&farWeight, weight + 8, sizeof farWeight);
            total += __builtin_convertvector(near, Weighted) * nearWeight +
                     __builtin_convertvector(far, Weighted) * farWeight;
        }
        // Pixel 0's channels plus pixel 1's, rounded, narrowed and stored.
        const Weighted folded =
            (total + __builtin_shufflevector(total, total, 4, 5, 6, 7, 0, 1, 2, 3) + kOne / 2) >> 8;
        const Samples narrowed = __builtin_convertvector(folded, Samples);
        std::memcpy(target, &narrowed, 4);
    }
}

// Makes every result row whose source rows have all arrived.
void RowResampler::emitRows() {
    const size_t length = rows_.length;
    const size_t arrived = firstRow() + rowsGiven_;
    const size_t bytes = width_ * 4;
    for (; rowsDone_ < height_ && rows_.first[rowsDone_] + length <= arrived; ++rowsDone_) {
        const uint16_t* weights = rows_.weights.data() + rowsDone_ * length;
        uint8_t* target = result_.get() + rowsDone_ * bytes;
        // The run's rows with a weight, in the ring.
        size_t count = 0;
        for (size_t k = 0, slot = rows_.first[rowsDone_] % length; k < length; ++k) {
            if (weights[k] != 0) {
                runRows_[count] = ring_.data() + slot * ringStride_;
                runWeights_[count++] = weights[k];
            }
            slot = slot + 1 == length ? 0 : slot + 1;
        }
        for (size_t at = 0; at < bytes; at += sizeof(WideSamples)) {
            WideWeighted sum = WideWeighted{} + uint16_t(kOne / 2); // rounds the shift
            for (size_t k = 0; k < count; ++k) {
                WideSamples samples;
                std::memcpy(&samples, runRows_[k] + at, sizeof samples);
                sum += __builtin_convertvector(samples, WideWeighted) * runWeights_[k];
            }
            const WideSamples narrowed = __builtin_convertvector(sum >> 8, WideSamples);
            std::memcpy(target + at, &narrowed, std::min(sizeof narrowed, bytes - at));
        }
    }
}

RowResampler::Uses RowResampler::usesOf(const Taps& taps, size_t sourceEnd) {
    Uses uses;
    auto each = [&](auto&& visit) {
        for (size_t i = 0; i < taps.first.size(); ++i) {
            for (size_t k = 0; k < taps.length; ++k) {
                const uint16_t weight =
                    taps.identity ? uint16_t(kOne) : taps.weights[i * taps.length + k];
                if (weight != 0 && taps.first[i] + k < sourceEnd) {
                    visit(taps.first[i] + k, i, weight);
                }
            }
        }
    };
    uses.start.assign(sourceEnd + 1, 0);
    each([&](size_t source, size_t, uint16_t) { ++uses.start[source + 1]; });
    for (size_t p = 0; p < sourceEnd; ++p) {
        uses.start[p + 1] += uses.start[p];
    }
    uses.target.resize(uses.start.back());
    uses.weight.resize(uses.start.back());
    std::vector<uint32_t> filled(uses.start.begin(), uses.start.end() - 1);
    each([&](size_t source, size_t result, uint16_t weight) {
        uses.target[filled[source]] = static_cast<uint32_t>(result);
        uses.weight[filled[source]++] = weight;
    });
    return uses;
}

void RowResampler::addPixels(size_t y, size_t first, size_t step, size_t count,
                             const uint8_t* pixels) {
    if (columns_.identity && rows_.identity) {
        // Each pixel has its own place in the result.
        if (y < firstRow() || y >= rowEnd()) {
            return;
        }
        uint8_t* row = result_.get() + (y - firstRow()) * width_ * 4;
        for (size_t i = 0, x = first; i < count; ++i, x += step) {
            if (x >= firstColumn() && x < columnEnd()) {
                std::memcpy(row + (x - firstColumn()) * 4, pixels + i * 4, 4);
            }
        }
        return;
    }
    if (sums_.empty()) {
        columnUses_ = usesOf(columns_, columnEnd_);
        rowUses_ = usesOf(rows_, rowEnd_);
        sums_.assign(width_ * height_ * 4, 0);
    }
    if (y >= rowEnd_) {
        return;
    }
    // 8-bit weights across and down make a 16-bit one; 255 times all of them is below 2^24.
    for (uint32_t r = rowUses_.start[y]; r < rowUses_.start[y + 1]; ++r) {
        uint32_t* sumRow = sums_.data() + size_t(rowUses_.target[r]) * width_ * 4;
        const uint32_t down = rowUses_.weight[r];
        for (size_t i = 0, x = first; i < count && x < columnEnd_; ++i, x += step) {
            const uint8_t* pixel = pixels + i * 4;
            for (uint32_t c = columnUses_.start[x]; c < columnUses_.start[x + 1]; ++c) {
                const uint32_t weight = down * columnUses_.weight[c];
                uint32_t* sum = sumRow + size_t(columnUses_.target[c]) * 4;
                for (int channel = 0; channel < 4; ++channel) {
                    sum[channel] += weight * pixel[channel];
                }
            }
        }
    }
}

size_t RowResampler::workingBytes() const {
    return scratch_.capacity() + ring_.capacity() + runRows_.capacity() * sizeof(uint8_t*) +
           sums_.capacity() * 4 +
           (columnUses_.start.capacity() + columnUses_.target.capacity() +
            rowUses_.start.capacity() + rowUses_.target.capacity()) *
               4 +
           (columnUses_.weight.capacity() + rowUses_.weight.capacity()) * 2 +
           runWeights_.capacity() * 2 + columnVectors_.capacity() * 2 +
           columns_.weights.capacity() * 2 + rows_.weights.capacity() * 2 +
           (columns_.first.capacity() + rows_.first.capacity()) * sizeof(size_t);
}

CGImageRef RowResampler::takeImage() {
    if (!sums_.empty()) {
        for (size_t i = 0; i < sums_.size(); ++i) {
            result_[i] = static_cast<uint8_t>((sums_[i] + kOne * kOne / 2) >> 16);
        }
    }
    return CGImage::create(width_, height_, format_, width_ * 4, std::move(result_),
                           width_ * height_ * 4);
}
