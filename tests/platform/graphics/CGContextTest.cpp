#include "platform/graphics/CGContext.h"

#include "tests/platform/graphics/Pixels.h"
#include "tests/support/CapturedLog.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

using Pixels = std::vector<std::pair<int, int>>;

TEST(CGContext, TransformsApplyInTheOrderTheyAreMade) {
    struct Case {
        const char* name;
        std::function<void(const CGContextRef&)> transform;
        Pixels painted; // by the unit square at the origin, in a 10 x 10 y-up bitmap
    } cases[] = {
        {"translate then scale",
         [](auto& c) {
             CGContextTranslateCTM(c, 2, 3);
             CGContextScaleCTM(c, 2, 2);
         },
         {{2, 5}, {3, 5}, {2, 6}, {3, 6}}},
        {"scale then translate",
         [](auto& c) {
             CGContextScaleCTM(c, 2, 2);
             CGContextTranslateCTM(c, 2, 3);
         },
         {{4, 2}, {5, 2}, {4, 3}, {5, 3}}},
        {"translate then rotate a quarter toward y",
         [](auto& c) {
             CGContextTranslateCTM(c, 5, 0);
             CGContextRotateCTM(c, M_PI / 2);
         },
         {{4, 9}}},
        {"concat applies before the current transform",
         [](auto& c) {
             CGContextTranslateCTM(c, 1, 0);
             CGContextConcatCTM(c, CGAffineTransformMakeScale(3, 1));
         },
         {{1, 9}, {2, 9}, {3, 9}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto context = makeArgbContext(10, 10);
        c.transform(context);
        CGContextFillRect(context, CGRectMake(0, 0, 1, 1));
        EXPECT_EQ(paintedPixels(context, 128), c.painted);
    }
}

TEST(CGContext, ReportsItsTransformInAYUpDeviceSpace) {
    auto bitmap = makeArgbContext(10, 8);
    EXPECT_EQ(CGContextGetCTM(bitmap), CGAffineTransformIdentity);
    CGContextTranslateCTM(bitmap, 2, 3);
    EXPECT_EQ(CGContextGetCTM(bitmap), CGAffineTransformMakeTranslation(2, 3));

    auto image = CGContext::createImageContext(20, 16, 2, false);
    EXPECT_EQ(CGContextGetCTM(image), CGAffineTransformMake(2, 0, 0, -2, 0, 16));
    EXPECT_EQ(image->deviceScale(), 2);
}

TEST(CGContext, SavedStateComesBack) {
    auto c = makeArgbContext(4, 1);
    CGContextSetRGBFillColor(c, 1, 0, 0, 1);
    CGContextSaveGState(c);
    CGContextSetRGBFillColor(c, 0, 0, 1, 1);
    CGContextTranslateCTM(c, 2, 0);
    CGContextClipToRect(c, CGRectMake(0, 0, 1, 1));
    CGContextFillRect(c, CGRectMake(0, 0, 4, 1));
    CGContextRestoreGState(c);
    CGContextFillRect(c, CGRectMake(0, 0, 1, 1));
    EXPECT_EQ(pixelAt(c, 0, 0), kRed);
    EXPECT_EQ(pixelAt(c, 1, 0), kClear);
    EXPECT_EQ(pixelAt(c, 2, 0), kBlue);
    EXPECT_EQ(pixelAt(c, 3, 0), kClear);

    CapturedLog log;
    CGContextRestoreGState(c); // nothing saved: refused, the context stays usable
    EXPECT_EQ(log.lines().size(), 1u);
    CGContextFillRect(c, CGRectMake(3, 0, 1, 1));
    EXPECT_EQ(pixelAt(c, 3, 0), kRed);
}

TEST(CGContext, ArcDirectionFollowsTheContextsYAxis) {
    // A pie from angle 0 to pi/2 around the centre of a 20 x 20 context.
    struct Case {
        const char* name;
        bool yUp;
        int clockwise;
        bool upperRight, lowerRight, upperLeft; // as seen in the bitmap
    } cases[] = {
        {"y up, counterclockwise: the quarter above", true, 0, true, false, false},
        {"y up, clockwise: the other three quarters", true, 1, false, true, true},
        {"y down, counterclockwise: the quarter below", false, 0, false, true, false},
        {"y down, clockwise: the other three quarters", false, 1, true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto context =
            c.yUp ? makeArgbContext(20, 20) : CGContext::createImageContext(20, 20, 1, false);
        CGContextMoveToPoint(context, 10, 10);
        CGContextAddArc(context, 10, 10, 8, 0, M_PI / 2, c.clockwise);
        CGContextClosePath(context);
        CGContextFillPath(context);
        EXPECT_EQ(pixelAt(context, 14, 5).alpha() == 255, c.upperRight);
        EXPECT_EQ(pixelAt(context, 14, 14).alpha() == 255, c.lowerRight);
        EXPECT_EQ(pixelAt(context, 5, 5).alpha() == 255, c.upperLeft);
    }
}

TEST(CGContext, FillRulesOnASelfIntersectingStar) {
    for (bool evenOdd : {false, true}) {
        SCOPED_TRACE(evenOdd ? "even-odd" : "non-zero");
        auto c = makeArgbContext(20, 20);
        for (int i = 0; i < 5; ++i) {
            double angle = M_PI / 2 + i * 4 * M_PI / 5;
            double x = 10 + 9.5 * std::cos(angle), y = 10 + 9.5 * std::sin(angle);
            i == 0 ? CGContextMoveToPoint(c, x, y) : CGContextAddLineToPoint(c, x, y);
        }
        CGContextClosePath(c);
        evenOdd ? CGContextEOFillPath(c) : CGContextFillPath(c);
        EXPECT_EQ(pixelAt(c, 10, 10).alpha(), evenOdd ? 0u : 255u); // wound twice
        EXPECT_EQ(pixelAt(c, 10, 5).alpha(), 255u);                 // the top point
        EXPECT_TRUE(CGContextIsPathEmpty(c));
    }
}

TEST(CGContext, ClipsToPathsAndRectangles) {
    auto c = makeArgbContext(10, 10);
    CGContextSaveGState(c);
    CGContextAddEllipseInRect(c, CGRectMake(0, 0, 10, 10));
    CGContextClip(c);
    EXPECT_TRUE(CGContextIsPathEmpty(c));
    CGContextSetRGBFillColor(c, 0, 1, 0, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 10, 10));
    EXPECT_EQ(pixelAt(c, 5, 5), kGreen);
    EXPECT_EQ(pixelAt(c, 0, 0), kClear);
    CGContextRestoreGState(c);
    CGContextClearRect(c, CGRectMake(0, 0, 10, 10));

    // ClipToRect keeps the path being built.
    CGContextAddRect(c, CGRectMake(0, 0, 10, 1));
    CGContextClipToRect(c, CGRectMake(0, 0, 2, 10));
    CGContextFillPath(c);
    EXPECT_EQ(pixelAt(c, 0, 9), kBlack);
    EXPECT_EQ(pixelAt(c, 1, 9), kBlack);
    EXPECT_EQ(pixelAt(c, 2, 9), kClear);
}

TEST(CGContext, BlendModesActWithinWhatIsDrawn) {
    // Destination pixels: opaque blue, half red, clear, and opaque blue left outside the
    // filled rectangle. The source is green at alpha 0.6 (premultiplied 0x99009900).
    struct Case {
        const char* name;
        CGBlendMode mode;
        Argb inside[3];
    } cases[] = {
        {"normal", kCGBlendModeNormal, {{0xff009966}, {0xcc339900}, {0x99009900}}},
        {"clear", kCGBlendModeClear, {{0}, {0}, {0}}},
        {"copy", kCGBlendModeCopy, {{0x99009900}, {0x99009900}, {0x99009900}}},
        {"plus lighter", kCGBlendModePlusLighter, {{0xff0099ff}, {0xff809900}, {0x99009900}}},
        {"multiply", kCGBlendModeMultiply, {{0xff000066}, {0xcc334c00}, {0x99009900}}},
        {"screen", kCGBlendModeScreen, {{0xff0099ff}, {0xcc809900}, {0x99009900}}},
        {"source in", kCGBlendModeSourceIn, {{0x99009900}, {0x4d004d00}, {0}}},
        {"destination in", kCGBlendModeDestinationIn, {{0x99000099}, {0x4d4d0000}, {0}}},
        {"destination out", kCGBlendModeDestinationOut, {{0x66000066}, {0x33330000}, {0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint32_t> pixels = {0xff0000ff, 0x80800000, 0, 0xff0000ff};
        auto context =
            CGBitmapContextCreate(pixels.data(), 4, 1, 8, 16, CGColorSpaceCreateDeviceRGB(),
                                  kCGImageAlphaPremultipliedFirst);
        CGContextSetBlendMode(context, c.mode);
        CGContextSetRGBFillColor(context, 0, 1, 0, 0.6);
        CGContextFillRect(context, CGRectMake(0, 0, 3, 1));
        for (int x = 0; x < 3; ++x) {
            EXPECT_PRED3(nearlyEqual, Argb{pixels[size_t(x)]}, c.inside[x], 1) << "pixel " << x;
        }
        EXPECT_EQ(Argb{pixels[3]}, kBlue);
    }
}

TEST(CGContext, GlobalAlphaScalesTheSourceInEveryMode) {
    for (CGBlendMode mode : {kCGBlendModeNormal, kCGBlendModeCopy}) {
        auto c = makeArgbContext(2, 1);
        CGContextSetRGBFillColor(c, 0, 0, 1, 1);
        CGContextFillRect(c, CGRectMake(0, 0, 2, 1));
        CGContextSetBlendMode(c, mode);
        CGContextSetAlpha(c, 0.5);
        CGContextSetRGBFillColor(c, 0, 1, 0, 1);
        CGContextFillRect(c, CGRectMake(0, 0, 1, 1));
        Argb expected = mode == kCGBlendModeCopy ? Argb{0x80008000} : Argb{0xff008080};
        EXPECT_PRED3(nearlyEqual, pixelAt(c, 0, 0), expected, 1) << mode;
        EXPECT_EQ(pixelAt(c, 1, 0), kBlue) << mode;
    }
}

TEST(CGContext, ClearRectIgnoresAlphaAndBlendModeButNotTheClip) {
    auto c = makeArgbContext(3, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 3, 1));
    CGContextSetAlpha(c, 0.2);
    CGContextSetBlendMode(c, kCGBlendModeMultiply);
    CGContextClipToRect(c, CGRectMake(0, 0, 2, 1));
    CGContextClearRect(c, CGRectMake(1, 0, 2, 1));
    EXPECT_EQ(pixelAt(c, 0, 0), kBlack);
    EXPECT_EQ(pixelAt(c, 1, 0), kClear);
    EXPECT_EQ(pixelAt(c, 2, 0), kBlack);
}

TEST(CGContext, StrokesFollowLineWidthAndCaps) {
    auto c = makeArgbContext(10, 10);
    CGContextSetRGBStrokeColor(c, 1, 0, 0, 1);
    CGContextSetLineWidth(c, 2);
    CGContextMoveToPoint(c, 2, 5);
    CGContextAddLineToPoint(c, 8, 5);
    CGContextStrokePath(c);
    EXPECT_EQ(pixelAt(c, 5, 4), kRed); // y 5..6 up = rows 4
    EXPECT_EQ(pixelAt(c, 5, 5), kRed); // and 5
    EXPECT_EQ(pixelAt(c, 5, 3), kClear);
    EXPECT_EQ(pixelAt(c, 1, 4), kClear); // butt caps stop at the ends

    CGContextSetLineCap(c, kCGLineCapSquare);
    CGContextMoveToPoint(c, 2, 2);
    CGContextAddLineToPoint(c, 8, 2);
    CGContextStrokePath(c);
    EXPECT_EQ(pixelAt(c, 1, 7), kRed); // square caps reach one half width further

    CGContextStrokeRectWithWidth(c, CGRectMake(0.5, 0.5, 9, 9), 1);
    EXPECT_EQ(pixelAt(c, 0, 0), kRed);
    EXPECT_EQ(pixelAt(c, 9, 9), kRed);
    // The width was for that rectangle only.
    CGContextMoveToPoint(c, 0, 8);
    CGContextAddLineToPoint(c, 10, 8);
    CGContextStrokePath(c);
    EXPECT_EQ(pixelAt(c, 5, 1), kRed);
    EXPECT_EQ(pixelAt(c, 5, 2), kRed);
}

TEST(CGContext, DashedLines) {
    auto c = makeArgbContext(8, 1);
    const CGFloat dashes[] = {2, 1};
    CGContextSetLineDash(c, 0, dashes, 2);
    CGContextMoveToPoint(c, 0, 0.5);
    CGContextAddLineToPoint(c, 8, 0.5);
    CGContextStrokePath(c);
    EXPECT_EQ(paintedPixels(c, 128),
              (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {3, 0}, {4, 0}, {6, 0}, {7, 0}}));

    const CGFloat unusable[] = {0, 0};
    CGContextSetLineDash(c, 0, unusable, 2); // solid again
    CGContextSetRGBStrokeColor(c, 1, 0, 0, 1);
    CGContextMoveToPoint(c, 0, 0.5);
    CGContextAddLineToPoint(c, 8, 0.5);
    CGContextStrokePath(c);
    EXPECT_EQ(paintedPixels(c, 128).size(), 8u);
    EXPECT_EQ(pixelAt(c, 2, 0), kRed);
}

TEST(CGContext, FillShapePaintsLikeAFill) {
    // What text drawing relies on: the shape gets the fill colour, alpha and shadow, and
    // the path being built survives.
    auto c = CGContext::createImageContext(6, 6, 1, false);
    CGContextMoveToPoint(c, 0, 0);
    CGContextSetRGBFillColor(c, 0, 0, 1, 1);
    CGContextSetAlpha(c, 0.5);
    CGContextSetShadowWithColor(c, CGSizeMake(0, 2), 0, CGColorMake(0, 0, 0, 1));
    c->fillShape([](cairo_t* cr) {
        cairo_rectangle(cr, 1, 1, 2, 2);
        cairo_fill(cr);
    });
    EXPECT_PRED3(nearlyEqual, pixelAt(c, 1, 1), Argb{0x80000080}, 1);
    EXPECT_PRED3(nearlyEqual, pixelAt(c, 1, 4), Argb{0x80000000}, 1);
    EXPECT_FALSE(CGContextIsPathEmpty(c));
}

TEST(CGContext, PathQueriesAndCopies) {
    auto c = CGContext::createImageContext(10, 10, 1, false);
    EXPECT_TRUE(CGContextIsPathEmpty(c));
    EXPECT_TRUE(CGRectIsNull(CGContextGetPathBoundingBox(c)));
    EXPECT_EQ(CGContextCopyPath(c), nullptr);

    CGContextTranslateCTM(c, 5, 5);
    CGContextMoveToPoint(c, 0, 0);
    CGContextAddQuadCurveToPoint(c, 2, 4, 4, 0);
    CGContextAddRect(c, CGRectMake(-1, -1, 2, 2));
    EXPECT_FALSE(CGContextIsPathEmpty(c));
    CGRect box = CGContextGetPathBoundingBox(c);
    // cairo keeps points to 1/256 of a pixel.
    EXPECT_NEAR(CGRectGetMinX(box), -1, 0.01);
    EXPECT_NEAR(CGRectGetMaxX(box), 4, 0.01);
    EXPECT_NEAR(CGRectGetMaxY(box), 8.0 / 3.0, 0.01); // the curve's cubic control points

    // The path is kept in device space: after a transform change it reads in the new space.
    CGContextTranslateCTM(c, -5, -5);
    CGPathRef copy = CGContextCopyPath(c);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(CGPathContainsPoint(copy, nullptr, {4.5, 4.5}, false));
    EXPECT_NEAR(CGRectGetMinX(CGPathGetBoundingBox(copy)), 4, 0.01);

    CGContextBeginPath(c);
    CGContextAddPath(c, copy);
    CGContextFillPath(c);
    EXPECT_EQ(pixelAt(c, 4, 4), kBlack);
    EXPECT_EQ(pixelAt(c, 2, 2), kClear);
}

TEST(CGContext, SingularTransformsDrawNothingAndRecover) {
    auto c = makeArgbContext(4, 4);
    CGContextSaveGState(c);
    CGContextScaleCTM(c, 0, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 4, 4));
    CGContextRestoreGState(c);
    EXPECT_TRUE(paintedPixels(c).empty());
    CGContextFillRect(c, CGRectMake(0, 0, 1, 1));
    EXPECT_EQ(pixelAt(c, 0, 3), kBlack);
}

TEST(CGContext, NullContextsAreIgnored) {
    CGContextRef none;
    CGContextSaveGState(none);
    CGContextFillRect(none, CGRectMake(0, 0, 1, 1));
    CGContextDrawImage(none, CGRectMake(0, 0, 1, 1), nullptr);
    EXPECT_TRUE(CGContextIsPathEmpty(none));
    EXPECT_EQ(CGBitmapContextCreateImage(none), nullptr);
    EXPECT_EQ(CGBitmapContextGetData(none), nullptr);
}

} // namespace
