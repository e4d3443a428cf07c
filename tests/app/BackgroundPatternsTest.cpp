// The bundle's background patterns fill the collage's background as tiles, edge to edge,
// and are saved with it: where one tile meets the next must look like the inside of a tile.
#include "platform/foundation/NSString.h"
#include "platform/graphics/CGContext.h"
#include "platform/graphics/CGImage.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

constexpr int kPatternCount = 45;

// The pixel's luma, 0-255. A JPEG keeps colour at half the resolution of brightness, and
// its decoder, which cannot blend colour across the picture's edge, leaves a faint step in
// colour at every edge; brightness is what a seam shows in.
double luma(uint32_t pixel) {
    return 0.299 * double(pixel >> 16 & 0xff) + 0.587 * double(pixel >> 8 & 0xff) +
           0.114 * double(pixel & 0xff);
}

// How far apart two lines of pixels are: the mean difference in luma along them.
double lineDifference(const std::function<uint32_t(size_t)>& a,
                      const std::function<uint32_t(size_t)>& b, size_t length) {
    double total = 0;
    for (size_t i = 0; i < length; ++i) {
        total += std::abs(luma(a(i)) - luma(b(i)));
    }
    return total / double(length);
}

// A seam is a step across the tile's edge sharper than any the pattern takes inside the
// tile: a stripe may well begin at the edge, but a line cut short or a curve broken there
// is sharper than anything in it. The margin is for a JPEG's noise.
struct Steps {
    double sharpestInside = 0; // between neighbouring lines of the tile
    double acrossTheEdge = 0;  // from the tile's last line to the next tile's first
    bool seamless() const { return acrossTheEdge <= 1.1 * sharpestInside + 1; }
};

// Steps between neighbouring columns (`acrossColumns`) or rows.
Steps steps(const CGImage& image, bool acrossColumns) {
    const size_t lines = acrossColumns ? image.width() : image.height();
    const size_t length = acrossColumns ? image.height() : image.width();
    const auto line = [&](size_t index) {
        return [&image, index, acrossColumns](size_t i) {
            return acrossColumns ? image.pixelAt(index, i) : image.pixelAt(i, index);
        };
    };
    Steps result;
    for (size_t index = 0; index + 1 < lines; ++index) {
        result.sharpestInside =
            std::max(result.sharpestInside, lineDifference(line(index), line(index + 1), length));
    }
    result.acrossTheEdge = lineDifference(line(lines - 1), line(0), length);
    return result;
}

TEST(BackgroundPatternsTest, EveryPatternTilesWithoutASeam) {
    TaskEnvironment environment;
    for (int n = 1; n <= kPatternCount; ++n) {
        const std::string name = NSString::stringWithFormat("pt_%d.jpg", n);
        SCOPED_TRACE(name);
        const auto image = UIImage::imageNamed(name);
        ASSERT_TRUE(image);
        const CGImageRef pixels = image->cgImage();
        ASSERT_TRUE(pixels);
        ASSERT_GT(pixels->width(), 1u);
        ASSERT_GT(pixels->height(), 1u);
        for (bool acrossColumns : {true, false}) {
            SCOPED_TRACE(acrossColumns ? "left and right edges" : "top and bottom edges");
            const Steps s = steps(*pixels, acrossColumns);
            EXPECT_TRUE(s.seamless())
                << s.acrossTheEdge << " across, " << s.sharpestInside << " at most inside";
        }
    }
}

TEST(BackgroundPatternsTest, LinesEndingAtTheEdgeAreASeam) {
    // Diagonal stripes that periodically fill the tile, drawn once as lines from the top
    // edge to the bottom one (their square-cut ends leave notches along both edges) and
    // once as lines running on past the tile: only the first is a seam.
    const auto stripes = [](bool pastTheEdges) {
        const double t = 80;
        UIGraphicsBeginImageContextWithOptions(CGSizeMake(t, t), true, 1);
        const CGContextRef c = UIGraphicsGetCurrentContext();
        CGContextSetRGBFillColor(c, 1, 1, 1, 1);
        CGContextFillRect(c, CGRectMake(0, 0, t, t));
        CGContextSetRGBStrokeColor(c, 0.8, 0.3, 0.2, 1);
        CGContextSetLineWidth(c, t / 14);
        for (int i = -6; i <= 6; ++i) {
            const double x = t * i / 4;
            if (pastTheEdges) {
                CGContextMoveToPoint(c, x - t, -t);
                CGContextAddLineToPoint(c, x + 2 * t, 2 * t);
            } else {
                CGContextMoveToPoint(c, x, 0);
                CGContextAddLineToPoint(c, x + t, t);
            }
        }
        CGContextStrokePath(c);
        const CGImageRef image = UIGraphicsGetCGImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        return image;
    };
    TaskEnvironment environment;
    EXPECT_FALSE(steps(*stripes(false), false).seamless());
    for (bool acrossColumns : {true, false}) {
        EXPECT_TRUE(steps(*stripes(true), acrossColumns).seamless());
    }
}

} // namespace
