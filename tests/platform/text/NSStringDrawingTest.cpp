#include "platform/text/NSStringDrawing.h"

#include "tests/support/TextTest.h"

#include <atomic>
#include <cmath>
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
