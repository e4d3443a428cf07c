#include "platform/graphics/GaussianBlur.h"

#include "platform/accelerate/vImageConvolution.h"
#include "tests/support/NaiveBoxBlur.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

vImage_Buffer bufferOf(TestPixels& pixels) {
    return {pixels.data(), pixels.height, pixels.width, pixels.rowBytes};
}

// The picture inside a transparent frame `border` pixels wide.
TestPixels framed(const TestPixels& picture, size_t border) {
    const size_t width = picture.width + 2 * border, height = picture.height + 2 * border;
    TestPixels out{width, height, width * 4, std::vector<uint8_t>(width * height * 4)};
    for (size_t y = 0; y < picture.height; ++y) {
        std::memcpy(out.data() + (y + border) * out.rowBytes + border * 4, picture.row(y),
                    picture.width * 4);
    }
    return out;
}

// The three box passes summed the obvious way, each with nothing but transparency beyond
// the picture's edges.
TestPixels naiveBlur(TestPixels picture, const std::array<uint32_t, 3>& sides) {
    for (uint32_t side : sides) {
        const size_t radius = side / 2;
        picture = naiveBoxMean(framed(picture, radius), radius, radius, picture.width,
                               picture.height, side, side);
    }
    return picture;
}

TEST(GaussianBlur, BoxesAddUpToTheGaussiansVariance) {
    for (double deviation : {0.6, 1.0, 2.0, 3.7, 8.0, 30.0, 250.0}) {
        SCOPED_TRACE(deviation);
        const auto sides = GaussianBlur(deviation).boxSides();
        double variance = 0;
        for (uint32_t side : sides) {
            EXPECT_EQ(side % 2, 1u);
            EXPECT_LE(side, sides.back()) << "smaller boxes first";
            EXPECT_LE(sides.back() - side, 2u) << "neighbouring sides";
            variance += (double(side) * side - 1) / 12; // a box's variance
        }
        // Whole odd sides miss the variance by less than one step of a side.
        EXPECT_NEAR(variance, deviation * deviation, (4.0 * sides[0] + 4) / 12);
    }
    // No blur at all, and blurs beyond what the convolution takes held at its largest box.
    for (double none : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_EQ(GaussianBlur(none).boxSides(), (std::array<uint32_t, 3>{1, 1, 1}));
    }
    for (double huge : {1e6, 1e300, std::numeric_limits<double>::infinity()}) {
        const GaussianBlur blur(huge);
        for (uint32_t side : blur.boxSides()) {
            EXPECT_LE(side, kvImageMaxBoxKernelSize);
            EXPECT_GE(side, kvImageMaxBoxKernelSize - 2);
        }
    }
}

TEST(GaussianBlur, ThreeBoxPassesWithTransparencyBeyondTheEdges) {
    struct Case {
        const char* name;
        size_t width, height;
        double deviation;
    } cases[] = {
        {"no blur: a copy", 9, 5, 0},
        {"small boxes", 13, 11, 1.5},
        {"boxes wider than the picture", 6, 4, 6},
        {"one row", 17, 1, 2.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const GaussianBlur blur(c.deviation);
        // Rows padded beyond their pixels, in both buffers.
        TestPixels source = noisyPixels(c.width, c.height, 11, c.width * 4 + 12);
        TestPixels result{c.width, c.height, c.width * 4 + 8,
                          std::vector<uint8_t>((c.width * 4 + 8) * c.height, 0xab)};
        blur.blur(bufferOf(source), bufferOf(result));

        // A 1 x 1 box: the source with its rows packed tightly.
        TestPixels tight = naiveBoxMean(source, 0, 0, c.width, c.height, 1, 1);
        const TestPixels expected = naiveBlur(tight, blur.boxSides());
        for (size_t y = 0; y < c.height; ++y) {
            ASSERT_EQ(std::memcmp(result.row(y), expected.row(y), c.width * 4), 0) << "row " << y;
            EXPECT_EQ(result.row(y)[c.width * 4], 0xab) << "the padding stays";
        }
    }
}

} // namespace
