#include "platform/uikit/NSStringDrawing.h"

#include "platform/uikit/UIGraphics.h"
#include "tests/support/TextTest.h"

#include <atomic>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

namespace {

using NSStringDrawingTest = TextTest;

constexpr double kTolerance = 1.0 / 512;
const char* const kPangram = "The quick brown fox jumps over the lazy dog";

NSTextAttributes withFont(std::shared_ptr<UIFont> font) {
    NSTextAttributes attributes;
    attributes.font = std::move(font);
    return attributes;
}

NSTextAttributes withStyle(double size, NSLineBreakMode mode, double lineSpacing = 0) {
    auto style = std::make_shared<NSParagraphStyle>();
    style->setLineBreakMode(mode);
    style->setLineSpacing(lineSpacing);
    NSTextAttributes attributes = withFont(UIFont::systemFontOfSize(size));
    attributes.paragraphStyle = style;
    return attributes;
}

CGRect wrapped(const std::string& text, double width, const NSTextAttributes& attributes,
               double height = 0) {
    return NSStringDrawing::boundingRectWithSizeOptionsAttributes(
        text, CGSizeMake(width, height), NSStringDrawingUsesLineFragmentOrigin, attributes);
}

TEST_F(NSStringDrawingTest, BundledFontWidthsAreStable) {
    // Measured with the bundled DejaVu Sans, unhinted: a change here means text moves in
    // every screenshot.
    const auto font = UIFont::systemFontOfSize(17);
    const CGSize hello = NSStringDrawing::sizeWithAttributes("Hello", withFont(font));
    EXPECT_NEAR(hello.width, 43.0908, 0.001);
    EXPECT_NEAR(hello.height, font->lineHeight(), kTolerance);

    const CGSize bold =
        NSStringDrawing::sizeWithAttributes("Hello", withFont(UIFont::boldSystemFontOfSize(17)));
    EXPECT_NEAR(bold.width, 49.0918, 0.001);
    // Unhinted widths scale with the size.
    const CGSize twice =
        NSStringDrawing::sizeWithAttributes("Hello", withFont(UIFont::systemFontOfSize(34)));
    EXPECT_NEAR(twice.width, 2 * hello.width, 2 * kTolerance);
}

TEST_F(NSStringDrawingTest, SizeIsOneLineAParagraph) {
    const auto font = UIFont::systemFontOfSize(12);
    const NSTextAttributes attributes = withFont(font);
    EXPECT_EQ(NSStringDrawing::sizeWithAttributes("", attributes), CGSizeZero);

    const CGSize line = NSStringDrawing::sizeWithAttributes(kPangram, attributes);
    EXPECT_NEAR(line.height, font->lineHeight(), kTolerance);
    const CGSize longest =
        NSStringDrawing::sizeWithAttributes("jumps over the lazy dog", attributes);
    const CGSize twoLines = NSStringDrawing::sizeWithAttributes(
        "The quick brown fox\njumps over the lazy dog", attributes);
    EXPECT_NEAR(twoLines.width, longest.width, kTolerance);
    EXPECT_NEAR(twoLines.height, 2 * font->lineHeight(), kTolerance);

    // No attributes mean the system font at 12 points.
    EXPECT_EQ(NSStringDrawing::sizeWithAttributes(kPangram, {}), line);
}

TEST_F(NSStringDrawingTest, WrapsWithinTheWidthInWholeLines) {
    const auto font = UIFont::systemFontOfSize(17);
    struct Case {
        double width;
        int lines;
    } cases[] = {{1000, 1}, {400, 1}, {200, 3}, {150, 3}, {100, 5}, {50, 10}, {0, 1}, {-5, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        const CGRect rect = wrapped(kPangram, c.width, withFont(font));
        EXPECT_EQ(rect.origin, CGPointZero);
        EXPECT_NEAR(rect.size.height, c.lines * font->lineHeight(), c.lines * kTolerance);
        if (c.width > 0) {
            EXPECT_LE(rect.size.width, c.width);
        }
    }
}

TEST_F(NSStringDrawingTest, LineSpacingGoesBetweenLines) {
    const auto attributes = withStyle(17, NSLineBreakMode::ByWordWrapping, 4);
    const double lineHeight = attributes.font->lineHeight();
    EXPECT_NEAR(wrapped(kPangram, 100, attributes).size.height, 5 * lineHeight + 4 * 4,
                5 * kTolerance);
    EXPECT_NEAR(wrapped("one line", 100, attributes).size.height, lineHeight, kTolerance);
}

TEST_F(NSStringDrawingTest, WordsTooLongForALineBreakBetweenCharacters) {
    const std::string word = "Pneumonoultramicroscopicsilicovolcanoconiosis";
    for (auto mode : {NSLineBreakMode::ByWordWrapping, NSLineBreakMode::ByCharWrapping}) {
        SCOPED_TRACE(int(mode));
        const auto attributes = withStyle(17, mode);
        const CGRect rect = wrapped(word, 80, attributes);
        EXPECT_LE(rect.size.width, 80);
        EXPECT_GE(rect.size.height, 4 * attributes.font->lineHeight());
    }
    // Character wrapping fills lines where word wrapping moves the word down.
    const std::string words = "ab cdefghijklmnop";
    const double width = NSStringDrawing::sizeWithAttributes("ab cdefgh", withStyle(17, {})).width;
    const double lineHeight = UIFont::systemFontOfSize(17)->lineHeight();
    EXPECT_NEAR(wrapped(words, width, withStyle(17, NSLineBreakMode::ByWordWrapping)).size.height,
                3 * lineHeight, 3 * kTolerance);
    EXPECT_NEAR(wrapped(words, width, withStyle(17, NSLineBreakMode::ByCharWrapping)).size.height,
                2 * lineHeight, 2 * kTolerance);
}

TEST_F(NSStringDrawingTest, TruncatingAndClippingModesKeepEachParagraphOnOneLine) {
    const NSLineBreakMode modes[] = {
        NSLineBreakMode::ByTruncatingTail, NSLineBreakMode::ByTruncatingHead,
        NSLineBreakMode::ByTruncatingMiddle, NSLineBreakMode::ByClipping};
    for (auto mode : modes) {
        SCOPED_TRACE(int(mode));
        const auto attributes = withStyle(17, mode);
        const double lineHeight = attributes.font->lineHeight();
        const CGRect one = wrapped(kPangram, 120, attributes);
        EXPECT_NEAR(one.size.height, lineHeight, kTolerance);
        EXPECT_LE(one.size.width, 120);
        EXPECT_GT(one.size.width, 100);
        const CGRect two = wrapped(std::string(kPangram) + "\n" + kPangram, 120, attributes);
        EXPECT_NEAR(two.size.height, 2 * lineHeight, 2 * kTolerance);
    }
}

TEST_F(NSStringDrawingTest, HeightLimitCountsWholeLinesButAlwaysTheFirst) {
    const auto font = UIFont::systemFontOfSize(17);
    const double lineHeight = font->lineHeight();
    struct Case {
        double height;
        int lines;
    } cases[] = {
        {2.5 * lineHeight, 2}, {2 * lineHeight, 2}, {0.5 * lineHeight, 1}, {0, 5}, {1e9, 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.height);
        const CGRect rect = wrapped(kPangram, 100, withFont(font), c.height);
        EXPECT_NEAR(rect.size.height, c.lines * lineHeight, c.lines * kTolerance);
    }
}

TEST_F(NSStringDrawingTest, WithoutLineFragmentOriginTheRectSitsOnTheBaseline) {
    const auto font = UIFont::systemFontOfSize(17);
    const CGRect rect = NSStringDrawing::boundingRectWithSizeOptionsAttributes(
        kPangram, CGSizeMake(100, 100), 0, withFont(font));
    EXPECT_NEAR(rect.origin.y, -font->ascender(), kTolerance);
    EXPECT_EQ(rect.size, NSStringDrawing::sizeWithAttributes(kPangram, withFont(font)));
    EXPECT_EQ(NSStringDrawing::boundingRectWithSizeOptionsAttributes("", CGSizeMake(100, 100), 0,
                                                                     withFont(font)),
              CGRectZero);
}

TEST_F(NSStringDrawingTest, KernAddsSpaceBetweenCharacters) {
    NSTextAttributes attributes = withFont(UIFont::systemFontOfSize(17));
    const double plain = NSStringDrawing::sizeWithAttributes("Hello", attributes).width;
    attributes.kern = 2;
    EXPECT_NEAR(NSStringDrawing::sizeWithAttributes("Hello", attributes).width, plain + 4 * 2,
                kTolerance);
}

TEST_F(NSStringDrawingTest, InvalidUtf8IsMeasuredWithReplacementCharacters) {
    const NSTextAttributes attributes = withFont(UIFont::systemFontOfSize(17));
    struct Case {
        std::string text;
        const char* replaced;
    } cases[] = {
        {"a\xFF"
         "b",
         "a\uFFFDb"},
        {std::string("a\0b", 3), "a\uFFFDb"},
        {"a\xC3"
         "b",
         "a\uFFFDb"}, // a lead byte without its continuation
        {"a\xE2\x80"
         "b",
         "a\uFFFD\uFFFDb"},
        {"caf\xC3", "caf\uFFFD"}, // cut in the middle of a character
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.replaced);
        const CGSize expected = NSStringDrawing::sizeWithAttributes(c.replaced, attributes);
        const CGSize size = NSStringDrawing::sizeWithAttributes(c.text, attributes);
        EXPECT_NEAR(size.width, expected.width, kTolerance);
        EXPECT_NEAR(size.height, expected.height, kTolerance);
        EXPECT_EQ(wrapped(c.text, 100, attributes), wrapped(c.replaced, 100, attributes));
    }
}

TEST_F(NSStringDrawingTest, AbsurdAttributesGiveFiniteSizes) {
    const double absurd[] = {1e300, -1e300, std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
    for (double value : absurd) {
        SCOPED_TRACE(value);
        NSTextAttributes attributes = withStyle(17, NSLineBreakMode::ByWordWrapping, value);
        attributes.kern = value;
        attributes.strokeWidth = value;
        const CGRect rect = wrapped(kPangram, value, attributes, value);
        EXPECT_TRUE(std::isfinite(rect.size.width));
        EXPECT_TRUE(std::isfinite(rect.size.height));
        renderOnWhite(CGSizeMake(20, 20), [&] {
            NSStringDrawing::drawInRectWithAttributes(kPangram, CGRectMake(0, 0, 20, 20),
                                                      attributes);
        });
    }
}

// Drawing

TEST_F(NSStringDrawingTest, InkStaysInsideTheMeasuredRect) {
    struct Case {
        const char* text;
        double width; // 0: one line
    } cases[] = {
        {"Hello", 0},    {"gjpqy|", 0},     {"W\u00C9\u00D1 \u00E5\u00E7", 0},
        {kPangram, 120}, {"two\nlines", 0},
    };
    const NSTextAttributes attributes = withFont(UIFont::systemFontOfSize(17));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const CGRect measured = NSStringDrawing::boundingRectWithSizeOptionsAttributes(
            c.text, CGSizeMake(c.width, 0), NSStringDrawingUsesLineFragmentOrigin, attributes);
        const CGRect rect = CGRectOffset(measured, 10.5, 12.25);
        const auto image = renderOnWhite(CGSizeMake(200, 120), [&] {
            NSStringDrawing::drawInRectWithAttributes(c.text, rect, attributes);
        });
        const InkBox any = inkBox(image);
        ASSERT_FALSE(any.empty());
        EXPECT_GE(any.minX, std::floor(CGRectGetMinX(rect)));
        EXPECT_GE(any.minY, std::floor(CGRectGetMinY(rect)));
        EXPECT_LE(any.maxX + 1, std::ceil(CGRectGetMaxX(rect)));
        EXPECT_LE(any.maxY + 1, std::ceil(CGRectGetMaxY(rect)));
        // Solid ink, not a faint smear, fills most of the measured width.
        const InkBox dark = inkBox(image, 128);
        EXPECT_GE(dark.width(), 0.8 * measured.size.width);
    }
}

TEST_F(NSStringDrawingTest, HeavierWeightsDrawMoreInk) {
    // The sum of how far each pixel is from white, over the whole text.
    const auto ink = [](double weight) {
        const auto image = renderOnWhite(CGSizeMake(400, 40), [&] {
            NSStringDrawing::drawAtPointWithAttributes(
                kPangram, CGPointMake(4, 8), withFont(UIFont::systemFontOfSizeWeight(16, weight)));
        });
        long total = 0;
        for (size_t y = 0; y < image->height(); ++y) {
            for (size_t x = 0; x < image->width(); ++x) {
                total += 255 - long(image->pixelAt(x, y) & 0xff);
            }
        }
        return total;
    };
    const long thin = ink(UIFontWeightThin);
    const long regular = ink(UIFontWeightRegular);
    const long bold = ink(UIFontWeightBold);
    EXPECT_LT(thin, regular);
    EXPECT_LT(regular, bold);
    // A weight between the faces draws with the nearest one.
    EXPECT_EQ(regular, ink(0.1));
    EXPECT_EQ(bold, ink(UIFontWeightBlack));
    EXPECT_GT(double(bold), 1.2 * double(regular));
}

TEST_F(NSStringDrawingTest, AlignmentPlacesTheInkWithinTheRect) {
    const CGRect rect = CGRectMake(20, 10, 160, 30);
    struct Case {
        NSTextAlignment alignment;
        double expectedMidX; // NaN: not checked
        double leftEdge;     // where the ink must start, within a few pixels; NaN: not checked
        double rightEdge;
    } cases[] = {
        {NSTextAlignment::Left, NAN, CGRectGetMinX(rect), NAN},
        {NSTextAlignment::Natural, NAN, CGRectGetMinX(rect), NAN},
        {NSTextAlignment::Center, CGRectGetMidX(rect), NAN, NAN},
        {NSTextAlignment::Right, NAN, NAN, CGRectGetMaxX(rect)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.alignment));
        NSTextAttributes attributes = withFont(UIFont::systemFontOfSize(17));
        attributes.paragraphStyle = std::make_shared<NSParagraphStyle>();
        attributes.paragraphStyle->setAlignment(c.alignment);
        const InkBox ink = inkBox(renderOnWhite(CGSizeMake(200, 50), [&] {
            NSStringDrawing::drawInRectWithAttributes("Hello", rect, attributes);
        }));
        ASSERT_FALSE(ink.empty());
        if (!std::isnan(c.expectedMidX)) {
            EXPECT_NEAR(ink.midX(), c.expectedMidX, 1);
        }
        if (!std::isnan(c.leftEdge)) {
            EXPECT_GE(ink.minX, c.leftEdge);
            EXPECT_LE(ink.minX, c.leftEdge + 3);
        }
        if (!std::isnan(c.rightEdge)) {
            EXPECT_LE(ink.maxX + 1, c.rightEdge);
            EXPECT_GE(ink.maxX + 1, c.rightEdge - 3);
        }
    }
}

TEST_F(NSStringDrawingTest, DrawingAtAPointMatchesDrawingInTheMeasuredRect) {
    const NSTextAttributes attributes = withFont(UIFont::italicSystemFontOfSize(15));
    const std::string text = "Line one\nand line two";
    const CGSize size = NSStringDrawing::sizeWithAttributes(text, attributes);
    const auto atPoint = renderOnWhite(CGSizeMake(200, 60), [&] {
        NSStringDrawing::drawAtPointWithAttributes(text, CGPointMake(7, 9), attributes);
    });
    const auto inRect = renderOnWhite(CGSizeMake(200, 60), [&] {
        NSStringDrawing::drawInRectWithAttributes(text, CGRect{{7, 9}, size}, attributes);
    });
    ASSERT_FALSE(inkBox(atPoint).empty());
    EXPECT_EQ(std::vector<uint8_t>(atPoint->data(), atPoint->data() + atPoint->bytesPerRow() * 60),
              std::vector<uint8_t>(inRect->data(), inRect->data() + inRect->bytesPerRow() * 60));
}

TEST_F(NSStringDrawingTest, StrokeWidthChoosesFillOutlineOrBoth) {
    struct Case {
        double strokeWidth;
        bool blueFill;
        bool redOutline;
    } cases[] = {{0, true, false}, {4, false, true}, {-4, true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.strokeWidth);
        NSTextAttributes attributes = withFont(UIFont::boldSystemFontOfSize(40));
        attributes.foregroundColor = UIColor::blueColor();
        attributes.strokeColor = UIColor::redColor();
        attributes.strokeWidth = c.strokeWidth;
        const auto image = renderOnWhite(CGSizeMake(60, 60), [&] {
            NSStringDrawing::drawAtPointWithAttributes("O", CGPointMake(5, 5), attributes);
        });
        int blue = 0;
        int red = 0;
        for (size_t y = 0; y < image->height(); ++y) {
            for (size_t x = 0; x < image->width(); ++x) {
                const uint32_t pixel = image->pixelAt(x, y);
                const int r = int(pixel >> 16 & 0xff), g = int(pixel >> 8 & 0xff),
                          b = int(pixel & 0xff);
                blue += b > 200 && r < 60 && g < 60;
                red += r > 200 && b < 60 && g < 60;
            }
        }
        EXPECT_EQ(blue > 20, c.blueFill) << blue;
        EXPECT_EQ(red > 20, c.redOutline) << red;
    }
}

TEST_F(NSStringDrawingTest, TheStrokingTextModeOutlinesGlyphsWithTheContextsLine) {
    NSTextAttributes attributes = withFont(UIFont::boldSystemFontOfSize(40));
    attributes.foregroundColor = UIColor::blueColor();
    // Blue pixels of an "O" drawn in that mode and line width; a saved state restored
    // after the stroke brings filling back.
    const auto bluePixels = [&](CGTextDrawingMode mode, double lineWidth) {
        const auto image = renderOnWhite(CGSizeMake(60, 60), [&] {
            const CGContextRef context = UIGraphicsGetCurrentContext();
            CGContextSaveGState(context);
            CGContextSetTextDrawingMode(context, mode);
            CGContextSetLineWidth(context, lineWidth);
            NSStringDrawing::drawAtPointWithAttributes("O", CGPointMake(5, 5), attributes);
            CGContextRestoreGState(context);
            EXPECT_EQ(context->textDrawingMode(), kCGTextFill);
        });
        int blue = 0;
        for (size_t y = 0; y < image->height(); ++y) {
            for (size_t x = 0; x < image->width(); ++x) {
                const uint32_t pixel = image->pixelAt(x, y);
                blue += (pixel & 0xff) > 200 && (pixel >> 16 & 0xff) < 60;
            }
        }
        return blue;
    };
    const int filled = bluePixels(kCGTextFill, 1);
    const int thin = bluePixels(kCGTextStroke, 1);
    const int thick = bluePixels(kCGTextStroke, 6);
    EXPECT_GT(thin, 20);
    // An outline: the glyph's inside stays white under a thin line...
    EXPECT_LT(thin, filled);
    // ... and a wider line covers more.
    EXPECT_GT(thick, 2 * thin);
    EXPECT_EQ(bluePixels(kCGTextStroke, 0), 0);
}

TEST_F(NSStringDrawingTest, DrawingWithoutAContextDoesNothing) {
    ASSERT_EQ(UIGraphicsGetCurrentContext(), nullptr);
    NSStringDrawing::drawInRectWithAttributes("Hello", CGRectMake(0, 0, 50, 20), {});
    NSStringDrawing::drawAtPointWithAttributes("Hello", CGPointZero, {});
}

// Threads

TEST_F(NSStringDrawingTest, MeasuresTheSameFromManyThreadsAtOnce) {
    const auto measure = [] {
        return wrapped(kPangram, 100, withFont(UIFont::fontWithNameSize("DejaVuSerif", 15)));
    };
    const CGRect expected = measure();
    std::vector<std::thread> threads;
    std::atomic<int> mismatches = 0;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 50; ++i) {
                mismatches += measure() == expected ? 0 : 1;
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(mismatches, 0);
}

} // namespace
