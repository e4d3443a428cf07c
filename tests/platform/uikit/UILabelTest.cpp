#include "platform/uikit/UILabel.h"
#include "platform/text/NSStringDrawing.h"
#include "platform/uikit/UIScreen.h"

#include "tests/support/TextTest.h"

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
    const auto label = std::make_shared<UILabel>();
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

} // namespace
