#include "platform/accelerate/vImageConvolution.h"
#include "tests/support/NaiveBoxBlur.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

namespace {

constexpr uint8_t kUntouched = 0xab;

vImage_Buffer bufferOf(TestPixels& pixels) {
    return {pixels.data(), pixels.height, pixels.width, pixels.rowBytes};
}

// The convolution written out: every kernel weight for every pixel, coordinates clamped to
// the edges, the sum divided with halves rounded away from zero.
TestPixels naiveConvolve(const TestPixels& source, size_t x0, size_t y0, size_t width,
                         size_t height, const std::vector<int16_t>& kernel, int kernelHeight,
                         int kernelWidth, int divisor) {
    TestPixels out{width, height, width * 4, std::vector<uint8_t>(width * height * 4)};
    const double div = divisor == 0 ? 1 : divisor;
    for (size_t y = 0; y < height; ++y) {
        for (size_t x = 0; x < width; ++x) {
            for (size_t c = 0; c < 4; ++c) {
                long long sum = 0;
                for (int i = 0; i < kernelHeight; ++i) {
                    for (int j = 0; j < kernelWidth; ++j) {
                        const long long sy = std::clamp<long long>(
                            static_cast<long long>(y0 + y) + i - kernelHeight / 2, 0,
                            static_cast<long long>(source.height) - 1);
                        const long long sx = std::clamp<long long>(
                            static_cast<long long>(x0 + x) + j - kernelWidth / 2, 0,
                            static_cast<long long>(source.width) - 1);
                        sum += kernel[i * kernelWidth + j] * source.row(sy)[sx * 4 + c];
                    }
                }
                const double value = std::round(static_cast<double>(sum) / div);
                out.bytes[y * width * 4 + x * 4 + c] =
                    static_cast<uint8_t>(std::clamp(value, 0.0, 255.0));
            }
        }
    }
    return out;
}

std::vector<int16_t> randomKernel(size_t count, int low, int high, uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> weight(low, high);
    std::vector<int16_t> kernel(count);
    for (auto& w : kernel) {
        w = static_cast<int16_t>(weight(random));
    }
    return kernel;
}

struct Case {
    const char* name;
    size_t width, height;
    int kernelHeight, kernelWidth;
    int low, high; // weights drawn from [low, high]
    int divisor;   // 0: the sum of the weights
    size_t x0 = 0, y0 = 0, roiWidth = 0, roiHeight = 0, padding = 0;
};

TEST(Convolve, MatchesTheConvolutionWrittenOut) {
    const Case cases[] = {
        {"one weight", 9, 7, 1, 1, 3, 3, 3},
        {"three by three", 17, 9, 3, 3, 0, 20, 0},
        {"vertical", 16, 12, 9, 1, 0, 255, 0},
        {"horizontal", 16, 12, 1, 15, 0, 255, 0},
        {"sharpening, negative weights", 14, 10, 3, 5, -40, 60, 0},
        {"negative divisor", 8, 6, 3, 3, -30, 5, -50},
        {"divisor zero counts as one", 8, 6, 3, 3, -1, 1, 0},
        {"kernel larger than the picture", 5, 4, 11, 9, 0, 9, 0},
        {"wide weights need 64-bit sums", 12, 9, 17, 17, 30000, 32767, 1 << 24},
        {"region inside, padded rows", 20, 16, 5, 7, 0, 30, 0, 5, 7, 8, 6, 12},
        {"region at the far corner", 20, 16, 9, 3, 1, 4, 0, 12, 10, 8, 6},
        // Large enough to be split into bands of rows on several threads.
        {"region of a large picture", 200, 150, 15, 15, 0, 40, 0, 10, 7, 170, 130, 8},
    };
    uint32_t seed = 1;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TestPixels source = noisyPixels(k.width, k.height, seed, k.width * 4 + k.padding);
        const auto kernel = randomKernel(static_cast<size_t>(k.kernelHeight) * k.kernelWidth, k.low,
                                         k.high, seed++);
        int divisor = k.divisor;
        if (divisor == 0 && std::string(k.name) != "divisor zero counts as one") {
            for (int16_t w : kernel) {
                divisor += w;
            }
        }
        const size_t width = k.roiWidth ? k.roiWidth : k.width;
        const size_t height = k.roiHeight ? k.roiHeight : k.height;
        const TestPixels expected = naiveConvolve(source, k.x0, k.y0, width, height, kernel,
                                                  k.kernelHeight, k.kernelWidth, divisor);
        TestPixels result{width, height, width * 4 + k.padding,
                          std::vector<uint8_t>((width * 4 + k.padding) * height, kUntouched)};
        vImage_Buffer src = bufferOf(source), dest = bufferOf(result);
        ASSERT_EQ(vImageConvolve_ARGB8888(&src, &dest, nullptr, k.x0, k.y0, kernel.data(),
                                          static_cast<uint32_t>(k.kernelHeight),
                                          static_cast<uint32_t>(k.kernelWidth), divisor, nullptr,
                                          kvImageEdgeExtend),
                  kvImageNoError);
        for (size_t y = 0; y < height; ++y) {
            ASSERT_EQ(0, std::memcmp(result.row(y), expected.row(y), width * 4)) << "row " << y;
            for (size_t i = width * 4; i < result.rowBytes; ++i) {
                ASSERT_EQ(result.row(y)[i], kUntouched) << "padding of row " << y;
            }
        }
    }
}

TEST(Convolve, UsesTheCallersTemporaryBuffer) {
    // A small call, and one large enough to give each band of rows its share of the buffer.
    for (const auto& [width, height] : {std::pair<size_t, size_t>{23, 19}, {180, 140}}) {
        SCOPED_TRACE(width);
        TestPixels source = noisyPixels(width, height, 5);
        const auto kernel = randomKernel(7 * 5, 0, 50, 9);
        TestPixels first{width, height, width * 4, std::vector<uint8_t>(width * 4 * height)};
        TestPixels second = first;
        vImage_Buffer src = bufferOf(source), a = bufferOf(first), b = bufferOf(second);
        const vImage_Error size =
            vImageConvolve_ARGB8888(&src, &a, nullptr, 0, 0, kernel.data(), 7, 5, 500, nullptr,
                                    kvImageEdgeExtend | kvImageGetTempBufferSize);
        ASSERT_GT(size, 0);
        // Exactly the size asked for, offset by one byte: the buffer need not be aligned.
        std::vector<uint8_t> temp(static_cast<size_t>(size) + 1, 0xee);
        ASSERT_EQ(vImageConvolve_ARGB8888(&src, &a, temp.data() + 1, 0, 0, kernel.data(), 7, 5, 500,
                                          nullptr, kvImageEdgeExtend),
                  kvImageNoError);
        ASSERT_EQ(vImageConvolve_ARGB8888(&src, &b, nullptr, 0, 0, kernel.data(), 7, 5, 500,
                                          nullptr, kvImageEdgeExtend),
                  kvImageNoError);
        EXPECT_EQ(first.bytes, second.bytes);
    }
}

TEST(Convolve, ATallKernelOverAShortPictureHoldsOnlyItsRows) {
    TestPixels source = noisyPixels(5, 2, 11);
    const std::vector<int16_t> kernel(4001, 1);
    TestPixels ours{5, 2, 20, std::vector<uint8_t>(40)};
    vImage_Buffer src = bufferOf(source), dest = bufferOf(ours);
    const vImage_Error size =
        vImageConvolve_ARGB8888(&src, &dest, nullptr, 0, 0, kernel.data(), 4001, 1, 4001, nullptr,
                                kvImageEdgeExtend | kvImageGetTempBufferSize);
    EXPECT_LT(size, 1024);
    ASSERT_EQ(vImageConvolve_ARGB8888(&src, &dest, nullptr, 0, 0, kernel.data(), 4001, 1, 4001,
                                      nullptr, kvImageEdgeExtend),
              kvImageNoError);
    const TestPixels expected = naiveConvolve(source, 0, 0, 5, 2, kernel, 4001, 1, 4001);
    EXPECT_EQ(ours.bytes, expected.bytes);
}

TEST(Convolve, BadArgumentsAreErrorValuesAndLeaveTheDestination) {
    TestPixels source = noisyPixels(12, 10, 3);
    TestPixels result{12, 10, 48, std::vector<uint8_t>(480, kUntouched)};
    vImage_Buffer src = bufferOf(source), dest = bufferOf(result);
    vImage_Buffer inPlace = src;
    inPlace.data = source.data() + source.rowBytes;
    inPlace.height = 9;
    const int16_t kernel[9] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
    struct Bad {
        const char* what;
        const int16_t* kernel;
        uint32_t kernelHeight, kernelWidth;
        const vImage_Buffer* dest;
        vImage_Flags flags;
        vImage_Error expected;
    };
    const Bad cases[] = {
        {"no kernel", nullptr, 3, 3, &dest, kvImageEdgeExtend, kvImageNullPointerArgument},
        {"even kernel", kernel, 1, 4, &dest, kvImageEdgeExtend, kvImageInvalidKernelSize},
        {"no edge style", kernel, 3, 3, &dest, kvImageNoFlags, kvImageInvalidEdgeStyle},
        {"overlapping buffers", kernel, 3, 3, &inPlace, kvImageEdgeExtend,
         kvImageOutOfPlaceOperationRequired},
    };
    for (const Bad& bad : cases) {
        SCOPED_TRACE(bad.what);
        EXPECT_EQ(vImageConvolve_ARGB8888(&src, bad.dest, nullptr, 0, 0, bad.kernel,
                                          bad.kernelHeight, bad.kernelWidth, 9, nullptr, bad.flags),
                  bad.expected);
        EXPECT_EQ(result.bytes, std::vector<uint8_t>(result.bytes.size(), kUntouched));
    }
}

} // namespace
