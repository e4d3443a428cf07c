#include "platform/uikit/UILabel.h"
#include "platform/uikit/NSStringDrawing.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewRenderer.h"

#include "tests/support/TextTest.h"

#include <algorithm>

#include <cmath>

namespace {

using UILabelTest = TextTest;

const char* const kPangram = "The quick brown fox jumps over the lazy dog";

double ceilToScreenPixels(double points) {
    const double scale = UIScreen::mainScreen()->scale();
    return std::ceil(points * scale) / scale;
}

TEST_F(UILabelTest, Defaults) {
    const auto label = UILabel::initWithFrame(CGRectMake(0, 0, 100, 20));
    EXPECT_EQ(label->font()->fontName(), "DejaVuSans");
    EXPECT_EQ(label->font()->pointSize(), 17);
    EXPECT_TRUE(label->textColor()->isEqual(*UIColor::blackColor()));
    EXPECT_EQ(label->textAlignment(), NSTextAlignment::Left);
    EXPECT_EQ(label->numberOfLines(), 1);
    EXPECT_EQ(label->lineBreakMode(), NSLineBreakMode::ByTruncatingTail);
    EXPECT_FALSE(label->adjustsFontSizeToFitWidth());
    // Touches pass through labels to the view behind.
    EXPECT_FALSE(label->isUserInteractionEnabled());

    // Null restores the defaults.
    label->setFont(UIFont::boldSystemFontOfSize(10));
    label->setFont(nullptr);
    EXPECT_EQ(label->font()->pointSize(), 17);
    label->setTextColor(nullptr);
    EXPECT_TRUE(label->textColor()->isEqual(*UIColor::blackColor()));
}

TEST_F(UILabelTest, DescriptionAndAccessibilityLabelShowTheText) {
    const auto label = UILabel::initWithFrame(CGRectMake(10, 20, 100, 30));
    EXPECT_EQ(label->description(), "<UILabel; frame = (10 20; 100 30)>");
    EXPECT_EQ(label->accessibilityLabel(), "");

    label->setText("Hello");
    label->setTag(3);
    EXPECT_EQ(label->description(), "<UILabel; frame = (10 20; 100 30); tag = 3; text = 'Hello'>");
    EXPECT_EQ(label->accessibilityLabel(), "Hello");
    label->setAccessibilityLabel("Greeting");
    EXPECT_EQ(label->accessibilityLabel(), "Greeting");
    EXPECT_EQ(static_cast<const UIView&>(*label).accessibilityLabel(), "Greeting");
}

TEST_F(UILabelTest, SizeThatFitsHonoursWidthAndLineCount) {
    const auto label = UILabel::initWithFrame(CGRectZero);
    EXPECT_EQ(label->sizeThatFits(CGSizeMake(100, 100)), CGSizeZero);

    label->setText(kPangram);
    const double lineHeight = label->font()->lineHeight();
    NSTextAttributes attributes;
    attributes.font = label->font();
    const CGSize natural = NSStringDrawing::sizeWithAttributes(kPangram, attributes);

    struct Case {
        long lines;
        double width;
        int expectedLines;
    } cases[] = {
        {1, 0, 1},   // unlimited width: the whole text on one line
        {1, 100, 1}, // truncated to the width
        {0, 100, 5}, {2, 100, 2}, {9, 100, 5}, {0, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        SCOPED_TRACE(c.width);
        label->setNumberOfLines(c.lines);
        const CGSize size = label->sizeThatFits(CGSizeMake(c.width, 10));
        EXPECT_EQ(size.height, ceilToScreenPixels(c.expectedLines * lineHeight));
        if (c.width > 0) {
            EXPECT_LE(size.width, c.width);
        } else {
            EXPECT_EQ(size.width, ceilToScreenPixels(natural.width));
        }
    }

    label->setNumberOfLines(0);
    label->sizeToFit();
    EXPECT_EQ(label->bounds().size,
              CGSizeMake(ceilToScreenPixels(natural.width), ceilToScreenPixels(lineHeight)));
}

// Drawing

std::vector<uint8_t> pixelsOf(const CGImageRef& image) {
    return std::vector<uint8_t>(image->data(),
                                image->data() + image->bytesPerRow() * image->height());
}

// A margin right of the label shows ink that would spill past its width.
constexpr double kSpillMargin = 40;

CGImageRef renderLabel(const std::shared_ptr<UILabel>& label) {
    const CGSize size = label->bounds().size;
    return renderOnWhite(CGSizeMake(size.width + kSpillMargin, size.height),
                         [&] { label->drawRect(label->bounds()); });
}

TEST_F(UILabelTest, DrawsWhatStringDrawingDrawsCentredVertically) {
    for (auto alignment :
         {NSTextAlignment::Left, NSTextAlignment::Center, NSTextAlignment::Right}) {
        SCOPED_TRACE(int(alignment));
        const auto label = UILabel::initWithFrame(CGRectMake(0, 0, 200, 60));
        label->setText("Hello");
        label->setTextAlignment(alignment);
        label->setTextColor(UIColor::darkGrayColor());

        NSTextAttributes attributes;
        attributes.font = label->font();
        attributes.foregroundColor = UIColor::darkGrayColor();
        attributes.paragraphStyle = std::make_shared<NSParagraphStyle>();
        attributes.paragraphStyle->setAlignment(alignment);
        const double lineHeight = label->font()->lineHeight();
        const auto expected = renderOnWhite(CGSizeMake(200 + kSpillMargin, 60), [&] {
            NSStringDrawing::drawInRectWithAttributes(
                "Hello", CGRectMake(0, (60 - lineHeight) / 2, 200, lineHeight), attributes);
        });
        const auto drawn = renderLabel(label);
        ASSERT_FALSE(inkBox(drawn).empty());
        EXPECT_EQ(pixelsOf(drawn), pixelsOf(expected));
    }
}

TEST_F(UILabelTest, RenderedInItsWindowTheTextSitsInItsFrame) {
    const auto window = UIWindow::initWithFrame(CGRectMake(0, 0, 200, 100));
    window->setBackgroundColor(UIColor::whiteColor());
    const auto label = UILabel::initWithFrame(CGRectMake(30, 20, 140, 50));
    label->setText("Centred");
    label->setTextAlignment(NSTextAlignment::Center);
    window->addSubview(label);
    const auto shot = ViewRenderer::snapshotWindow(*window, 2)->cgImage();
    ASSERT_EQ(shot->width(), 400u);
    const InkBox ink = inkBox(shot);
    ASSERT_FALSE(ink.empty());
    EXPECT_NEAR(ink.midX() / 2, CGRectGetMidX(label->frame()), 1);
    // The line box, not the ink, is centred: the ink sits within it.
    const double lineTop = 20 + (50 - label->font()->lineHeight()) / 2;
    EXPECT_GE(ink.minY / 2.0, lineTop);
    EXPECT_LE((ink.maxY + 1) / 2.0, lineTop + label->font()->lineHeight());
}

TEST_F(UILabelTest, DrawTextInRectIsTheHookForInsets) {
    struct InsetLabel : UILabel {
        void drawTextInRect(const CGRect& rect) override {
            UILabel::drawTextInRect(CGRectInset(rect, 30, 0));
        }
    };
    const auto inset = std::make_shared<InsetLabel>();
    inset->setFrame(CGRectMake(0, 0, 200, 40));
    inset->setText("Hello");
    const InkBox ink = inkBox(renderLabel(inset));
    ASSERT_FALSE(ink.empty());
    EXPECT_GE(ink.minX, 30);
    EXPECT_LE(ink.minX, 33);
}

// Columns of text drawn in capital I's (plain stems) and what the line's two ends show: a
// stem, or the dots of an ellipsis sitting on the baseline.
enum class End { None, Stem, Dot };
struct LineEnds {
    End left = End::None;
    End right = End::None;
    bool dotsInside = false; // an ellipsis between stems
    int rightX = -1;
};

LineEnds lineEnds(const CGImageRef& image, int top, int bottom, double capHeight) {
    LineEnds ends;
    std::vector<End> columns;
    for (size_t x = 0; x < image->width(); ++x) {
        const InkBox column = [&] {
            InkBox box{int(x), image->height() > 0 ? int(image->height()) : 0, -1, -1};
            for (int y = top; y < bottom; ++y) {
                if ((image->pixelAt(x, size_t(y)) & 0xff) < 128) {
                    box.minY = std::min(box.minY, y);
                    box.maxY = std::max(box.maxY, y);
                    box.maxX = int(x);
                }
            }
            return box;
        }();
        if (column.empty()) {
            continue;
        }
        const End kind = column.height() >= 0.8 * capHeight    ? End::Stem
                         : column.height() <= 0.35 * capHeight ? End::Dot
                                                               : End::None;
        columns.push_back(kind);
        ends.rightX = int(x);
    }
    if (!columns.empty()) {
        ends.left = columns.front();
        ends.right = columns.back();
        const auto firstDot = std::find(columns.begin(), columns.end(), End::Dot);
        const auto lastDot = std::find(columns.rbegin(), columns.rend(), End::Dot);
        ends.dotsInside = firstDot != columns.end() &&
                          std::find(columns.begin(), firstDot, End::Stem) != firstDot &&
                          std::find(columns.rbegin(), lastDot, End::Stem) != lastDot;
    }
    return ends;
}

TEST_F(UILabelTest, TextTooLongIsCutAsTheLineBreakModeSays) {
    const std::string text(40, 'I');
    struct Case {
        NSLineBreakMode mode;
        long lines;
        End left, right;
        bool dotsInside;
        bool reachesTheEdge; // clipped through a stem
    } cases[] = {
        {NSLineBreakMode::ByTruncatingTail, 1, End::Stem, End::Dot, false, false},
        {NSLineBreakMode::ByTruncatingHead, 1, End::Dot, End::Stem, false, false},
        {NSLineBreakMode::ByTruncatingMiddle, 1, End::Stem, End::Stem, true, false},
        {NSLineBreakMode::ByClipping, 1, End::Stem, End::Stem, false, true},
        {NSLineBreakMode::ByWordWrapping, 1, End::Stem, End::Stem, false, false},
        {NSLineBreakMode::ByCharWrapping, 1, End::Stem, End::Stem, false, false},
        // Two lines: the first wraps, the second is cut.
        {NSLineBreakMode::ByTruncatingTail, 2, End::Stem, End::Dot, false, false},
    };
    // A width through the middle of the 17th letter, so that clipping cuts its stem.
    NSTextAttributes attributes;
    attributes.font = UIFont::systemFontOfSize(20);
    const double width =
        std::round(16.5 * NSStringDrawing::sizeWithAttributes("I", attributes).width);
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.mode));
        SCOPED_TRACE(c.lines);
        const auto label = UILabel::initWithFrame(CGRectMake(0, 0, width, 60));
        label->setFont(UIFont::systemFontOfSize(20));
        label->setText(text);
        label->setLineBreakMode(c.mode);
        label->setNumberOfLines(c.lines);
        const auto image = renderLabel(label);
        const double lineHeight = label->font()->lineHeight();
        const double top = (60 - c.lines * lineHeight) / 2;
        for (long line = 0; line < c.lines; ++line) {
            const bool last = line == c.lines - 1;
            const LineEnds ends =
                lineEnds(image, int(top + line * lineHeight), int(top + (line + 1) * lineHeight),
                         label->font()->capHeight());
            EXPECT_EQ(ends.left, last ? c.left : End::Stem) << line;
            EXPECT_EQ(ends.right, last ? c.right : End::Stem) << line;
            EXPECT_EQ(ends.dotsInside, last && c.dotsInside) << line;
            if (last && c.reachesTheEdge) {
                EXPECT_EQ(ends.rightX, width - 1);
            }
        }
        EXPECT_LE(inkBox(image).maxX, width - 1);
    }
}

TEST_F(UILabelTest, OneLineLabelsShrinkTheirFontToFitBeforeTruncating) {
    const std::string text(24, 'I');
    const double naturalWidth = [&] {
        NSTextAttributes attributes;
        attributes.font = UIFont::systemFontOfSize(20);
        return NSStringDrawing::sizeWithAttributes(text, attributes).width;
    }();
    const double width = std::floor(naturalWidth * 0.7);
    const double fullCap = UIFont::systemFontOfSize(20)->capHeight();
    struct Case {
        bool adjusts;
        double minimumScaleFactor;
        double minimumFontSize;
        long lines;
        double scale; // of the font that is drawn
        End right;
    } cases[] = {
        {true, 0.5, 0, 1, width / naturalWidth, End::Stem},
        {true, 0, 10, 1, width / naturalWidth, End::Stem},
        {true, 0.9, 0, 1, 0.9, End::Dot}, // shrinks as far as allowed, then truncates
        {true, 0, 0, 1, 1, End::Dot},     // no minimum: no shrinking
        {false, 0.5, 0, 1, 1, End::Dot},
        {true, 0.5, 0, 2, 1, End::Stem}, // two lines wrap instead
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.minimumScaleFactor);
        SCOPED_TRACE(c.minimumFontSize);
        SCOPED_TRACE(c.lines);
        const auto label = UILabel::initWithFrame(CGRectMake(0, 0, width, 60));
        label->setFont(UIFont::systemFontOfSize(20));
        label->setText(text);
        label->setAdjustsFontSizeToFitWidth(c.adjusts);
        label->setMinimumScaleFactor(c.minimumScaleFactor);
        label->setMinimumFontSize(c.minimumFontSize);
        label->setNumberOfLines(c.lines);
        const auto image = renderLabel(label);
        // The first line's stems are as tall as the drawn font's capitals.
        const InkBox firstLine = inkBox(image, 128, 0, c.lines == 2 ? 30 : 60);
        EXPECT_NEAR(firstLine.height(), fullCap * c.scale, 1.5);
        EXPECT_EQ(lineEnds(image, 0, c.lines == 2 ? 30 : 60, fullCap * c.scale).right, c.right);
        EXPECT_LE(inkBox(image).maxX, width - 1);
    }

    // Lines without limit in a label one line high: the wrapped text is too tall, so the
    // font shrinks until the text fits on that one line, whole.
    const auto label = UILabel::initWithFrame(CGRectMake(0, 0, width, 26));
    label->setFont(UIFont::systemFontOfSize(20));
    label->setText(text);
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumScaleFactor(0.5);
    label->setNumberOfLines(0);
    const auto image = renderLabel(label);
    EXPECT_NEAR(inkBox(image, 128).height(), fullCap * width / naturalWidth, 1.5);
    EXPECT_EQ(lineEnds(image, 0, 26, fullCap * width / naturalWidth).right, End::Stem);
    EXPECT_LE(inkBox(image).maxX, width - 1);
}

} // namespace
