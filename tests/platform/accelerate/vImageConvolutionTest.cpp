#include "platform/accelerate/vImageConvolution.h"
#include "tests/support/NaiveBoxBlur.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <vector>

namespace {
constexpr uint8_t kUntouched = 0xab;

vImage_Buffer bufferOf(TestPixels& pixels) {
    return {pixels.data(), pixels.height, pixels.width, pixels.rowBytes};
}

// A destination filled with a byte no result is checked to keep.
TestPixels blankDestination(size_t width, size_t height, size_t rowBytes) {
    return {width, height, rowBytes, std::vector<uint8_t>(rowBytes * height, kUntouched)};
}

struct Case {
    const char* name;
    size_t width, height;
    uint32_t kernelHeight, kernelWidth;
    size_t x0 = 0, y0 = 0;
    size_t roiWidth = 0, roiHeight = 0; // 0: the whole source
    size_t padding = 0;                 // bytes beyond each row's pixels, both buffers
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class BoxConvolveMatchesNaive : public ::testing::TestWithParam<Case> {};

TEST_P(BoxConvolveMatchesNaive, WithAndWithoutATemporaryBuffer) {
    const Case& k = GetParam();
    TestPixels source = noisyPixels(k.width, k.height, 7, k.width * 4 + k.padding);
    vImage_Buffer src = bufferOf(source);
    size_t width = k.roiWidth ? k.roiWidth : k.width;
    size_t height = k.roiHeight ? k.roiHeight : k.height;
    TestPixels expected =
        naiveBoxMean(source, k.x0, k.y0, width, height, k.kernelHeight, k.kernelWidth);

    for (bool ownTemp : {false, true}) {
        SCOPED_TRACE(ownTemp ? "caller's temporary buffer" : "allocated temporary buffer");
        TestPixels result = blankDestination(width, height, width * 4 + k.padding);
        vImage_Buffer dest = bufferOf(result);
        std::vector<uint8_t> temp;
        if (ownTemp) {
            vImage_Error size = vImageBoxConvolve_ARGB8888(
                &src, &dest, nullptr, k.x0, k.y0, k.kernelHeight, k.kernelWidth, nullptr,
                kvImageEdgeExtend | kvImageGetTempBufferSize);
            ASSERT_GT(size, 0);
            // Offset by one byte: the buffer need not be aligned.
            temp.resize(static_cast<size_t>(size) + 1);
        }
        ASSERT_EQ(vImageBoxConvolve_ARGB8888(&src, &dest, ownTemp ? temp.data() + 1 : nullptr, k.x0,
                                             k.y0, k.kernelHeight, k.kernelWidth, nullptr,
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

INSTANTIATE_TEST_SUITE_P(
    Cases, BoxConvolveMatchesNaive,
    ::testing::Values(Case{"OneByOneCopies", 17, 9, 1, 1}, Case{"ThreeByThree", 17, 9, 3, 3},
                      Case{"ElevenSquare", 23, 19, 11, 11}, Case{"TallerThanWide", 16, 12, 7, 3},
                      Case{"WiderThanTall", 16, 12, 1, 9},
                      Case{"KernelLargerThanImage", 7, 5, 31, 33}, Case{"SinglePixel", 1, 1, 9, 9},
                      Case{"SingleRow", 40, 1, 5, 5},
                      Case{"RegionInside", 20, 16, 5, 5, 5, 7, 8, 6},
                      Case{"RegionAtFarCorner", 20, 16, 9, 3, 12, 10, 8, 6},
                      Case{"PaddedRows", 13, 11, 5, 7, 0, 0, 0, 0, 12},
                      // Large enough to be split into bands of rows on several threads.
                      Case{"RegionOfALargePicture", 420, 360, 9, 5, 6, 11, 400, 340, 8}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BoxConvolve, ZeroIterationsOfAnyKernelOnAUniformImageKeepIt) {
    // Edge extension never lets anything but the image's own colour in.
    TestPixels source{9, 7, 36, std::vector<uint8_t>(36 * 7)};
    for (size_t i = 0; i < source.bytes.size(); i += 4) {
        source.bytes[i] = 200, source.bytes[i + 1] = 10, source.bytes[i + 2] = 99,
        source.bytes[i + 3] = 0;
    }
    TestPixels result = blankDestination(9, 7, 36);
    vImage_Buffer src = bufferOf(source), dest = bufferOf(result);
    ASSERT_EQ(vImageBoxConvolve_ARGB8888(&src, &dest, nullptr, 0, 0, 65535, 65535, nullptr,
                                         kvImageEdgeExtend),
              kvImageNoError);
    EXPECT_EQ(result.bytes, source.bytes);
}

TEST(BoxConvolve, BadArgumentsAreErrorValuesAndLeaveTheDestination) {
    TestPixels source = noisyPixels(12, 10, 3);
    vImage_Buffer src = bufferOf(source);
    TestPixels result = blankDestination(12, 10, 48);
    const vImage_Buffer dest = bufferOf(result);

    struct Bad {
        const char* what;
        vImage_Buffer src, dest;
        size_t x0, y0;
        uint32_t kernelHeight, kernelWidth;
        vImage_Flags flags;
        vImage_Error expected;
    };
    vImage_Buffer narrowRows = src;
    narrowRows.rowBytes = 47;
    vImage_Buffer tallDest = dest;
    tallDest.height = 11;
    vImage_Buffer noData = src;
    noData.data = nullptr;
    // The destination overlapping the source: its second row is the source's.
    vImage_Buffer inPlace = src;
    inPlace.data = source.data() + source.rowBytes;
    inPlace.height = 9;
    const Bad cases[] = {
        {"even kernel height", src, dest, 0, 0, 4, 3, kvImageEdgeExtend, kvImageInvalidKernelSize},
        {"even kernel width", src, dest, 0, 0, 3, 10, kvImageEdgeExtend, kvImageInvalidKernelSize},
        {"zero kernel", src, dest, 0, 0, 0, 3, kvImageEdgeExtend, kvImageInvalidKernelSize},
        {"kernel too large", src, dest, 0, 0, 65537, 3, kvImageEdgeExtend,
         kvImageInvalidKernelSize},
        {"no edge style", src, dest, 0, 0, 3, 3, kvImageNoFlags, kvImageInvalidEdgeStyle},
        {"unknown flag", src, dest, 0, 0, 3, 3, kvImageEdgeExtend | 1u << 20,
         kvImageUnknownFlagsBit},
        {"rows too short", narrowRows, dest, 0, 0, 3, 3, kvImageEdgeExtend, kvImageInvalidRowBytes},
        {"destination taller than the source", src, tallDest, 0, 0, 3, 3, kvImageEdgeExtend,
         kvImageRoiLargerThanInputBuffer},
        {"region leaves the source", src, dest, 1, 0, 3, 3, kvImageEdgeExtend,
         kvImageRoiLargerThanInputBuffer},
        {"offset beyond the source", src, dest, 0, ~size_t{0}, 3, 3, kvImageEdgeExtend,
         kvImageRoiLargerThanInputBuffer},
        {"no pixels", noData, dest, 0, 0, 3, 3, kvImageEdgeExtend, kvImageNullPointerArgument},
        {"overlapping buffers", src, inPlace, 0, 0, 3, 3, kvImageEdgeExtend,
         kvImageOutOfPlaceOperationRequired},
    };
    for (const auto& bad : cases) {
        SCOPED_TRACE(bad.what);
        EXPECT_EQ(vImageBoxConvolve_ARGB8888(&bad.src, &bad.dest, nullptr, bad.x0, bad.y0,
                                             bad.kernelHeight, bad.kernelWidth, nullptr, bad.flags),
                  bad.expected);
        EXPECT_EQ(result.bytes, std::vector<uint8_t>(result.bytes.size(), kUntouched));
    }
    EXPECT_EQ(
        vImageBoxConvolve_ARGB8888(nullptr, &dest, nullptr, 0, 0, 3, 3, nullptr, kvImageEdgeExtend),
        kvImageNullPointerArgument);
    // Asking for the temporary size does no work.
    EXPECT_GT(vImageBoxConvolve_ARGB8888(&src, &dest, nullptr, 0, 0, 3, 3, nullptr,
                                         kvImageEdgeExtend | kvImageGetTempBufferSize),
              0);
    EXPECT_EQ(result.bytes, std::vector<uint8_t>(result.bytes.size(), kUntouched));
}
} // namespace
