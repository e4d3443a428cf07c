#include "platform/accelerate/vImageConvolution.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <immintrin.h>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

namespace {
constexpr size_t kChannels = 4;

// How a call is laid out: the destination's size, where its region starts in the source,
// the kernel's sides, and how many rows of row sums the temporary buffer keeps.
struct Plan {
    size_t srcWidth, srcHeight;
    size_t width, height;
    size_t x0, y0;
    uint32_t kernelWidth, kernelHeight;
    size_t ringRows;

    size_t rowSumsCount() const { return width * kChannels; }
    // Running sums cost a few operations a channel, whatever the kernel's size.
    size_t work() const { return width * height * kChannels * 4; }
    // Row sums (32 bits a channel: at most 255 x 65535), then column sums (64 bits).
    size_t tempBytes() const {
        if (width == 0 || height == 0) {
            return 0;
        }
        return ringRows * rowSumsCount() * sizeof(uint32_t) + rowSumsCount() * sizeof(uint64_t) +
               alignof(uint64_t);
    }
};

bool validKernelSide(uint32_t side) {
    return side % 2 == 1 && side <= kvImageMaxBoxKernelSize;
}

size_t clampIndex(int64_t index, size_t count) {
    return static_cast<size_t>(std::clamp<int64_t>(index, 0, static_cast<int64_t>(count) - 1));
}

// Whether the memory the two buffers' pixels occupy overlaps.
bool overlaps(const vImage_Buffer& a, const vImage_Buffer& b) {
    auto span = [](const vImage_Buffer& buffer) {
        auto start = reinterpret_cast<uintptr_t>(buffer.data);
        return std::pair{start,
                         start + (buffer.height - 1) * buffer.rowBytes + buffer.width * kChannels};
    };
    auto [aStart, aEnd] = span(a);
    auto [bStart, bEnd] = span(b);
    return aStart < bEnd && bStart < aEnd;
}

// Sums of `radius * 2 + 1` source pixels around each destination column of one source row,
// per channel, the columns beyond the edges repeating the edge pixels.
void sumRow(const uint8_t* row, const Plan& plan, uint32_t* out) {
    const int64_t radius = plan.kernelWidth / 2;
    const int64_t first = static_cast<int64_t>(plan.x0);
    const int64_t last = static_cast<int64_t>(plan.srcWidth) - 1;
    // The first window: the part beyond each edge counts that edge pixel once per column.
    const int64_t from = first - radius, to = first + radius;
    const uint64_t before = from < 0 ? static_cast<uint64_t>(-from) : 0;
    const uint64_t after = to > last ? static_cast<uint64_t>(to - last) : 0;
    uint32_t sum[kChannels];
    for (size_t c = 0; c < kChannels; ++c) {
        uint64_t s = before * row[c] + after * row[last * kChannels + c];
        for (int64_t x = std::max<int64_t>(from, 0); x <= std::min(to, last); ++x) {
            s += row[x * kChannels + c];
        }
        sum[c] = static_cast<uint32_t>(s);
        out[c] = sum[c];
    }
    for (size_t x = 1; x < plan.width; ++x) {
        const int64_t centre = first + static_cast<int64_t>(x);
        const uint8_t* leaving = row + clampIndex(centre - radius - 1, plan.srcWidth) * kChannels;
        const uint8_t* entering = row + clampIndex(centre + radius, plan.srcWidth) * kChannels;
        uint32_t* o = out + x * kChannels;
        for (size_t c = 0; c < kChannels; ++c) {
            sum[c] = sum[c] + entering[c] - leaving[c];
            o[c] = sum[c];
        }
    }
}

// Keeps the row sums of the source rows the current window needs, in a ring of rows indexed
// by source row, computing each row once as the window reaches it.
class RowSums {
public:
    RowSums(const vImage_Buffer& src, const Plan& plan, uint32_t* ring)
        : src_(src), plan_(plan), ring_(ring) {}

    // Source rows must be asked in non-decreasing order of first request, starting at `first`.
    void startAt(size_t first) { next_ = first; }
    const uint32_t* row(size_t sourceRow) {
        while (next_ <= sourceRow) {
            sumRow(static_cast<const uint8_t*>(src_.data) + next_ * src_.rowBytes, plan_,
                   slot(next_));
            ++next_;
        }
        return slot(sourceRow);
    }

private:
    uint32_t* slot(size_t sourceRow) {
        return ring_ + (sourceRow % plan_.ringRows) * plan_.rowSumsCount();
    }

    const vImage_Buffer& src_;
    const Plan& plan_;
    uint32_t* ring_;
    size_t next_ = 0;
};

void convolve(const vImage_Buffer& src, const vImage_Buffer& dest, const Plan& plan, void* temp) {
    auto* base = static_cast<uint8_t*>(temp);
    size_t space = plan.tempBytes();
    void* aligned = base;
    std::align(alignof(uint64_t), plan.tempBytes() - alignof(uint64_t), aligned, space);
    auto* columns = static_cast<uint64_t*>(aligned);
    auto* ring = reinterpret_cast<uint32_t*>(columns + plan.rowSumsCount());
    RowSums rows(src, plan, ring);

    const size_t n = plan.rowSumsCount();
    const int64_t radius = plan.kernelHeight / 2;
    const int64_t first = static_cast<int64_t>(plan.y0);
    const int64_t last = static_cast<int64_t>(plan.srcHeight) - 1;
    // The rounded mean by a multiplication, exact: the area is odd and below 2^32, so a
    // true mean never lies nearer than 1 / (2 area) >= 2^-33 to a rounding boundary, while
    // sum x (1 / area) in doubles errs by less than 2^-43 for sums below 2^41.
    const double reciprocal = 1.0 / (static_cast<double>(plan.kernelWidth) * plan.kernelHeight);

    // The first window, as for rows: rows beyond the edges repeat the edge rows.
    const int64_t from = first - radius, to = first + radius;
    const uint64_t before = from < 0 ? static_cast<uint64_t>(-from) : 0;
    const uint64_t after = to > last ? static_cast<uint64_t>(to - last) : 0;
    const size_t top = static_cast<size_t>(std::max<int64_t>(from, 0));
    const size_t bottom = static_cast<size_t>(std::min(to, last));
    rows.startAt(top);
    std::fill(columns, columns + n, 0);
    for (size_t y = top; y <= bottom; ++y) {
        const uint32_t* sums = rows.row(y);
        for (size_t i = 0; i < n; ++i) {
            columns[i] += sums[i];
        }
    }
    if (before > 0) {
        const uint32_t* edge = rows.row(0);
        for (size_t i = 0; i < n; ++i) {
            columns[i] += before * edge[i];
        }
    }
    if (after > 0) {
        const uint32_t* edge = rows.row(static_cast<size_t>(last));
        for (size_t i = 0; i < n; ++i) {
            columns[i] += after * edge[i];
        }
    }

    for (size_t y = 0; y < plan.height; ++y) {
        auto* out = static_cast<uint8_t*>(dest.data) + y * dest.rowBytes;
        if (y > 0) {
            // The ring holds one row more than a window, so the row entering never takes
            // the place of the row leaving.
            const int64_t centre = first + static_cast<int64_t>(y);
            const uint32_t* entering = rows.row(clampIndex(centre + radius, plan.srcHeight));
            const uint32_t* leaving = rows.row(clampIndex(centre - radius - 1, plan.srcHeight));
            for (size_t i = 0; i < n; ++i) {
                columns[i] = columns[i] + entering[i] - leaving[i];
            }
        }
        for (size_t i = 0; i < n; ++i) {
            // Through a signed integer, which converts in one instruction; sums stay far
            // below 2^63.
            out[i] = static_cast<uint8_t>(
                static_cast<double>(static_cast<int64_t>(columns[i])) * reciprocal + 0.5);
        }
    }
}
// The checks both convolutions make, in the platform's order; kvImageNoError when the call
// may go on.
vImage_Error checkCall(const vImage_Buffer* src, const vImage_Buffer* dest,
                       vImagePixelCount srcOffsetToROI_X, vImagePixelCount srcOffsetToROI_Y,
                       uint32_t kernel_height, uint32_t kernel_width, vImage_Flags flags) {
    if ((flags & ~(kvImageEdgeExtend | kvImageGetTempBufferSize)) != 0) {
        return kvImageUnknownFlagsBit;
    }
    if ((flags & kvImageEdgeExtend) == 0) {
        return kvImageInvalidEdgeStyle;
    }
    if (!src || !dest) {
        return kvImageNullPointerArgument;
    }
    if (!validKernelSide(kernel_height) || !validKernelSide(kernel_width)) {
        return kvImageInvalidKernelSize;
    }
    if (src->rowBytes / kChannels < src->width || dest->rowBytes / kChannels < dest->width) {
        return kvImageInvalidRowBytes;
    }
    if (srcOffsetToROI_X > src->width || dest->width > src->width - srcOffsetToROI_X ||
        srcOffsetToROI_Y > src->height || dest->height > src->height - srcOffsetToROI_Y) {
        return kvImageRoiLargerThanInputBuffer;
    }
    return kvImageNoError;
}

// The checks made once the work is known not to be a size query or empty.
vImage_Error checkPixels(const vImage_Buffer& src, const vImage_Buffer& dest) {
    if (!src.data || !dest.data) {
        return kvImageNullPointerArgument;
    }
    if (overlaps(src, dest)) {
        return kvImageOutOfPlaceOperationRequired;
    }
    return kvImageNoError;
}

// The general convolution's layout: a ring of source rows, each widened by the kernel's
// half width on both sides with edge pixels, then one row of sums. A window holds at most
// `ringRows` distinct rows (the kernel's height, or the picture's when that is smaller), so
// a tall kernel over a short picture asks for no more memory than the picture has rows.
struct KernelPlan {
    size_t srcWidth, srcHeight;
    size_t width, height;
    size_t x0, y0;
    uint32_t kernelWidth, kernelHeight;
    size_t ringRows;

    size_t paddedRowBytes() const { return (width + kernelWidth - 1) * kChannels; }
    size_t work() const { return width * height * kChannels * kernelWidth * kernelHeight; }
    size_t sumsCount() const { return width * kChannels; }
    size_t tempBytes() const {
        if (width == 0 || height == 0) {
            return 0;
        }
        return sumsCount() * sizeof(int64_t) + alignof(int64_t) + ringRows * paddedRowBytes();
    }
};

// Source row `y`, widened with its edge pixels, into `out`.
void padRow(const uint8_t* row, const KernelPlan& plan, uint8_t* out) {
    const int64_t radius = plan.kernelWidth / 2;
    const size_t padded = plan.width + plan.kernelWidth - 1;
    for (size_t px = 0; px < padded; ++px) {
        const size_t x = clampIndex(static_cast<int64_t>(plan.x0 + px) - radius, plan.srcWidth);
        std::memcpy(out + px * kChannels, row + x * kChannels, kChannels);
    }
}

// The build assumes only the processor baseline; the loops that gain most from AVX2 are
// also built for it and run so where the processor has it. (Chosen here, not by the
// loader: the thread checker cannot run in code the loader calls before it starts.)
bool hasAvx2() {
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

// Walks the destination rows of a band: for each, the padded source rows its kernel rows
// cover (rows[i] for kernel row i), each widened once, as the window first reaches it.
template <class RowWork>
void forEachKernelWindow(const vImage_Buffer& src, const KernelPlan& plan, uint8_t* ring,
                         RowWork work) {
    const int64_t radius = plan.kernelHeight / 2;
    const auto slot = [&](size_t sourceRow) {
        return ring + (sourceRow % plan.ringRows) * plan.paddedRowBytes();
    };
    std::vector<const uint8_t*> rows(plan.kernelHeight);
    size_t next = clampIndex(static_cast<int64_t>(plan.y0) - radius, plan.srcHeight);
    for (size_t y = 0; y < plan.height; ++y) {
        for (uint32_t i = 0; i < plan.kernelHeight; ++i) {
            const size_t sourceRow =
                clampIndex(static_cast<int64_t>(plan.y0 + y + i) - radius, plan.srcHeight);
            for (; next <= sourceRow; ++next) {
                padRow(static_cast<const uint8_t*>(src.data) + next * src.rowBytes, plan,
                       slot(next));
            }
            rows[i] = slot(sourceRow);
        }
        work(y, rows.data());
    }
}

// The divisor's part of the formula: sign and magnitude, and half of it for rounding.
struct Division {
    explicit Division(int32_t divisor)
        : sign(divisor < 0 ? -1 : 1), div(divisor == 0 ? 1 : static_cast<int64_t>(divisor) * sign),
          half(div / 2), reciprocal(1.0 / static_cast<double>(div)) {}

    // Halves away from zero, clamped.
    uint8_t operator()(int64_t sum) const {
        const int64_t total = sum * sign;
        const int64_t rounded = total >= 0 ? (total + half) / div : -((-total + half) / div);
        return static_cast<uint8_t>(std::clamp<int64_t>(rounded, 0, 255));
    }

    // The same for a sum below 2^31 in magnitude, by a multiplication: a negative total
    // clamps to 0; otherwise the true quotient q = (total + half) / div either is whole or
    // lies at least 1 / div >= 2^-31 below the next whole number, while the product errs by
    // under 2^-43 wherever q < 512 (above, the result is 255 either way), so adding 2^-40
    // before truncating gives floor(q) exactly.
    uint8_t narrow(int32_t sum) const {
        const int64_t total = int64_t{sum} * sign;
        if (total < 0) {
            return 0;
        }
        const double q = static_cast<double>(total + half) * reciprocal + 0x1p-40;
        return static_cast<uint8_t>(std::min(q, 255.0));
    }

    int64_t sign, div, half;
    double reciprocal;
};

// sums[k] += weight x in[k]: the loop at the heart of the general convolution.
template <class Sum>
[[gnu::always_inline]] inline void
multiplyAddLoop(Sum* __restrict sums, const uint8_t* __restrict in, size_t n, Sum weight) {
    for (size_t k = 0; k < n; ++k) {
        sums[k] += weight * static_cast<Sum>(in[k]);
    }
}

// The baseline's vectors lack 32-bit multiplies, so the loop is also built for AVX2 and
// run so where the processor has it.
template <class Sum>
[[gnu::target("avx2")]] void multiplyAddAvx2(Sum* sums, const uint8_t* in, size_t n, Sum weight) {
    multiplyAddLoop(sums, in, n, weight);
}

template <class Sum> void multiplyAdd(Sum* sums, const uint8_t* in, size_t n, Sum weight) {
    if (hasAvx2()) {
        multiplyAddAvx2(sums, in, n, weight);
    } else {
        multiplyAddLoop(sums, in, n, weight);
    }
}

template <class Sum>
void convolveKernel(const vImage_Buffer& src, const vImage_Buffer& dest, const KernelPlan& plan,
                    const int16_t* kernel, int32_t divisor, void* temp) {
    size_t space = plan.tempBytes();
    void* aligned = temp;
    std::align(alignof(int64_t), plan.tempBytes() - alignof(int64_t), aligned, space);
    auto* sums = static_cast<Sum*>(aligned);
    auto* ring = reinterpret_cast<uint8_t*>(static_cast<int64_t*>(aligned) + plan.sumsCount());
    const size_t n = plan.sumsCount();
    const Division division(divisor);
    forEachKernelWindow(src, plan, ring, [&](size_t y, const uint8_t* const* rows) {
        std::fill(sums, sums + n, Sum{0});
        for (uint32_t i = 0; i < plan.kernelHeight; ++i) {
            for (uint32_t j = 0; j < plan.kernelWidth; ++j) {
                const Sum weight = kernel[i * plan.kernelWidth + j];
                if (weight != 0) {
                    multiplyAdd(sums, rows[i] + j * kChannels, n, weight);
                }
            }
        }
        auto* out = static_cast<uint8_t*>(dest.data) + y * dest.rowBytes;
        for (size_t k = 0; k < n; ++k) {
            out[k] = division(sums[k]);
        }
    });
}

// Two kernel taps at once: the bytes under each and their two weights.
struct TapPair {
    const uint8_t* a;
    const uint8_t* b;
    int16_t weightA, weightB;

    // Both weights in one 32-bit lane, A's in the low half, as a 16-bit multiply-add of
    // interleaved A and B bytes reads them.
    int32_t packed() const {
        return static_cast<int32_t>(static_cast<uint16_t>(weightA) |
                                    static_cast<uint32_t>(static_cast<uint16_t>(weightB)) << 16);
    }
};

// The kernel's non-zero taps over one window, in pairs (the last one alone with a weight of
// 0 beside itself).
void pairTaps(const KernelPlan& plan, const int16_t* kernel, const uint8_t* const* rows,
              std::vector<TapPair>& pairs) {
    pairs.clear();
    bool open = false;
    for (uint32_t i = 0; i < plan.kernelHeight; ++i) {
        for (uint32_t j = 0; j < plan.kernelWidth; ++j) {
            const int16_t weight = kernel[i * plan.kernelWidth + j];
            const uint8_t* bytes = rows[i] + j * kChannels;
            if (weight == 0) {
                continue;
            }
            if (open) {
                pairs.back().b = bytes;
                pairs.back().weightB = weight;
            } else {
                pairs.push_back({bytes, bytes, weight, 0});
            }
            open = !open;
        }
    }
}

// 16 bytes at `bytes` widened to 16-bit lanes.
[[gnu::target("avx2")]] inline __m256i widened(const uint8_t* bytes) {
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)));
}

// Division::narrow of eight sums at once, into `levels`: the same operations in the same
// order, four doubles at a time.
[[gnu::target("avx2")]] inline void dividedNarrowAvx2(__m256i sums, const Division& division,
                                                      int32_t* levels) {
    const __m256i zero = _mm256_setzero_si256();
    if (division.sign < 0) {
        sums = _mm256_sub_epi32(zero, sums);
    }
    const __m256i totals = _mm256_max_epi32(sums, zero);
    const __m256d half = _mm256_set1_pd(static_cast<double>(division.half));
    const __m256d reciprocal = _mm256_set1_pd(division.reciprocal);
    const __m256d nudge = _mm256_set1_pd(0x1p-40);
    const __m256d top = _mm256_set1_pd(255.0);
    for (int part = 0; part < 2; ++part) {
        const __m128i four =
            part == 0 ? _mm256_castsi256_si128(totals) : _mm256_extracti128_si256(totals, 1);
        const __m256d q = _mm256_add_pd(
            _mm256_mul_pd(_mm256_add_pd(_mm256_cvtepi32_pd(four), half), reciprocal), nudge);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(levels + 4 * part),
                         _mm256_cvttpd_epi32(_mm256_min_pd(q, top)));
    }
}

// One destination row of the general convolution when every sum fits in 32 bits, on AVX2:
// each step multiplies 16 bytes of two taps by their 16-bit weights and adds the pairs (one
// multiply-add of 16-bit lanes), and 32 channels' sums stay in registers across all taps;
// nothing is rounded before the division, so the result is the formula's exactly.
[[gnu::target("avx2")]] void convolveRowPairsAvx2(const std::vector<TapPair>& pairs, size_t n,
                                                  const Division& division, uint8_t* out) {
    alignas(32) int32_t levels[32];
    size_t k = 0;
    for (; k + 32 <= n; k += 32) {
        __m256i low0 = _mm256_setzero_si256(), high0 = low0, low1 = low0, high1 = low0;
        for (const TapPair& pair : pairs) {
            const __m256i weights = _mm256_set1_epi32(pair.packed());
            const __m256i a0 = widened(pair.a + k), b0 = widened(pair.b + k);
            const __m256i a1 = widened(pair.a + k + 16), b1 = widened(pair.b + k + 16);
            // Within each 128-bit half: channels 0-3 of the half from the low unpack, 4-7
            // from the high one.
            low0 =
                _mm256_add_epi32(low0, _mm256_madd_epi16(_mm256_unpacklo_epi16(a0, b0), weights));
            high0 =
                _mm256_add_epi32(high0, _mm256_madd_epi16(_mm256_unpackhi_epi16(a0, b0), weights));
            low1 =
                _mm256_add_epi32(low1, _mm256_madd_epi16(_mm256_unpacklo_epi16(a1, b1), weights));
            high1 =
                _mm256_add_epi32(high1, _mm256_madd_epi16(_mm256_unpackhi_epi16(a1, b1), weights));
        }
        const __m256i inOrder[4] = {_mm256_permute2x128_si256(low0, high0, 0x20),
                                    _mm256_permute2x128_si256(low0, high0, 0x31),
                                    _mm256_permute2x128_si256(low1, high1, 0x20),
                                    _mm256_permute2x128_si256(low1, high1, 0x31)};
        for (int v = 0; v < 4; ++v) {
            dividedNarrowAvx2(inOrder[v], division, levels + 8 * v);
        }
        for (size_t i = 0; i < 32; ++i) {
            out[k + i] = static_cast<uint8_t>(levels[i]);
        }
    }
    for (; k < n; ++k) {
        int32_t sum = 0;
        for (const TapPair& pair : pairs) {
            sum += pair.weightA * pair.a[k] + pair.weightB * pair.b[k];
        }
        out[k] = division.narrow(sum);
    }
}

// The general convolution when every sum fits in 32 bits, on AVX2, row by row.
void convolveKernelPairs(const vImage_Buffer& src, const vImage_Buffer& dest,
                         const KernelPlan& plan, const int16_t* kernel, int32_t divisor,
                         void* temp) {
    const Division division(divisor);
    std::vector<TapPair> pairs;
    forEachKernelWindow(
        src, plan, static_cast<uint8_t*>(temp), [&](size_t y, const uint8_t* const* rows) {
            pairTaps(plan, kernel, rows, pairs);
            convolveRowPairsAvx2(pairs, plan.sumsCount(), division,
                                 static_cast<uint8_t*>(dest.data) + y * dest.rowBytes);
        });
}

// Large calls are split into bands of destination rows, one a thread: a band is the same
// convolution of fewer rows starting lower in the source, with a temporary buffer of its
// own. Each band gets at least this much work, so small calls stay on the caller's thread.
constexpr size_t kWorkPerBand = size_t{1} << 20;

template <class Layout> size_t bandCount(const Layout& plan) {
    const size_t threads = std::max(1u, std::thread::hardware_concurrency());
    return std::clamp<size_t>(plan.work() / kWorkPerBand, 1, std::min(threads, plan.height));
}

// The temporary bytes of every band together.
template <class Layout> size_t tempBytesOf(const Layout& plan) {
    return bandCount(plan) * plan.tempBytes();
}

// What both convolutions do once their plan is made: answer a size query, skip an empty
// region, check the pixels, find a temporary buffer and run `work` on every band with its
// share of it.
template <class Layout, class Work>
vImage_Error runPlan(const Layout& plan, const vImage_Buffer& src, const vImage_Buffer& dest,
                     void* tempBuffer, vImage_Flags flags, Work work) {
    if (flags & kvImageGetTempBufferSize) {
        return static_cast<vImage_Error>(tempBytesOf(plan));
    }
    if (plan.width == 0 || plan.height == 0) {
        return kvImageNoError;
    }
    if (vImage_Error error = checkPixels(src, dest)) {
        return error;
    }
    std::vector<uint64_t> owned;
    if (!tempBuffer) {
        owned.resize(tempBytesOf(plan) / sizeof(uint64_t) + 1);
        tempBuffer = owned.data();
    }
    const size_t bands = bandCount(plan);
    const auto runBand = [&](size_t band) {
        const size_t first = plan.height * band / bands, last = plan.height * (band + 1) / bands;
        Layout part = plan;
        part.y0 = plan.y0 + first;
        part.height = last - first;
        vImage_Buffer rows = dest;
        rows.data = static_cast<uint8_t*>(dest.data) + first * dest.rowBytes;
        rows.height = part.height;
        work(rows, part, static_cast<uint8_t*>(tempBuffer) + band * plan.tempBytes());
    };
    std::vector<std::thread> threads;
    for (size_t band = 1; band < bands; ++band) {
        threads.emplace_back(runBand, band);
    }
    runBand(0);
    for (std::thread& thread : threads) {
        thread.join();
    }
    return kvImageNoError;
}
} // namespace

vImage_Error vImageBoxConvolve_ARGB8888(const vImage_Buffer* src, const vImage_Buffer* dest,
                                        void* tempBuffer, vImagePixelCount srcOffsetToROI_X,
                                        vImagePixelCount srcOffsetToROI_Y, uint32_t kernel_height,
                                        uint32_t kernel_width, const uint8_t* backgroundColor,
                                        vImage_Flags flags) {
    if (vImage_Error error = checkCall(src, dest, srcOffsetToROI_X, srcOffsetToROI_Y, kernel_height,
                                       kernel_width, flags)) {
        return error;
    }
    const Plan plan{
        src->width,   src->height,      dest->width,
        dest->height, srcOffsetToROI_X, srcOffsetToROI_Y,
        kernel_width, kernel_height,    std::min<size_t>(size_t{kernel_height} + 1, src->height)};
    return runPlan(plan, *src, *dest, tempBuffer, flags,
                   [&](const vImage_Buffer& rows, const Plan& part, void* temp) {
                       convolve(*src, rows, part, temp);
                   });
}

vImage_Error vImageConvolve_ARGB8888(const vImage_Buffer* src, const vImage_Buffer* dest,
                                     void* tempBuffer, vImagePixelCount srcOffsetToROI_X,
                                     vImagePixelCount srcOffsetToROI_Y, const int16_t* kernel,
                                     uint32_t kernel_height, uint32_t kernel_width, int32_t divisor,
                                     const uint8_t* backgroundColor, vImage_Flags flags) {
    if (vImage_Error error = checkCall(src, dest, srcOffsetToROI_X, srcOffsetToROI_Y, kernel_height,
                                       kernel_width, flags)) {
        return error;
    }
    if (!kernel) {
        return kvImageNullPointerArgument;
    }
    const KernelPlan plan{
        src->width,   src->height,      dest->width,
        dest->height, srcOffsetToROI_X, srcOffsetToROI_Y,
        kernel_width, kernel_height,    std::min<size_t>(kernel_height, src->height)};
    // 32-bit sums are faster and hold 255 x the kernel's absolute sum up to 2^31.
    int64_t reach = 0;
    for (size_t i = 0; i < size_t{kernel_height} * kernel_width; ++i) {
        reach += std::abs(static_cast<int64_t>(kernel[i]));
    }
    const bool narrow = reach * 255 < (int64_t{1} << 31);
    return runPlan(plan, *src, *dest, tempBuffer, flags,
                   [&](const vImage_Buffer& rows, const KernelPlan& part, void* temp) {
                       if (narrow && hasAvx2()) {
                           convolveKernelPairs(*src, rows, part, kernel, divisor, temp);
                       } else if (narrow) {
                           convolveKernel<int32_t>(*src, rows, part, kernel, divisor, temp);
                       } else {
                           convolveKernel<int64_t>(*src, rows, part, kernel, divisor, temp);
                       }
                   });
}
