// The font picker's faces and sizes, and the colour picker's wheel and sliders.
#include "editor/widgets/PECircleView.h"
#include "editor/widgets/PEColorPickerView.h"
#include "editor/widgets/PEFontPickerView.h"
#include "editor/widgets/PEPickerDrum.h"
#include "editor/widgets/PEPickerView.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UISlider.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

class SelectedFonts : public PEFontPickerViewDelegate {
public:
    void fontPickerViewDidSelectFont(PEFontPickerView&,
                                     const std::shared_ptr<UIFont>& font) override {
        fonts.push_back(font);
    }
    std::vector<std::shared_ptr<UIFont>> fonts;
};

class PEFontPickerViewTest : public ::testing::Test {
protected:
    TaskEnvironment environment;
    std::shared_ptr<PEFontPickerView> picker =
        PEFontPickerView::initWithFrame(CGRectMake(0, 0, 300, 160));
};

TEST_F(PEFontPickerViewTest, ListsTheBundledFacesSortedAndStartsOnTheAppsOwnFace) {
    const auto& fonts = picker->fontList();
    ASSERT_FALSE(fonts.empty());
    EXPECT_TRUE(std::ranges::is_sorted(fonts, {}, [](const auto& f) { return f->fontName(); }));
    for (const auto& font : fonts) {
        EXPECT_EQ(font->pointSize(), 14);
    }
    EXPECT_EQ(picker->font()->fontName(), UIFont::systemFontOfSize(14)->fontName());
    EXPECT_EQ(picker->font()->pointSize(), 14);
}

TEST_F(PEFontPickerViewTest, SetFontPicksTheFaceAndTheFirstSizeLargeEnough) {
    struct Case {
        const char* face;
        double size;
        const char* expectedFace;
        double expectedSize;
    };
    const Case cases[] = {
        {"DejaVuSerif-Bold", 15, "DejaVuSerif-Bold", 16},
        {"DejaVuSans-Oblique", 14, "DejaVuSans-Oblique", 14},
        // Beyond the largest size: the largest, not a wrap round to the smallest.
        {"DejaVuSansMono", 60, "DejaVuSansMono", 50},
        {"DejaVuSans", 1, "DejaVuSans", 8},
    };
    for (const Case& c : cases) {
        picker->setFont(UIFont::fontWithNameSize(c.face, c.size));
        EXPECT_EQ(picker->font()->fontName(), c.expectedFace) << c.face << " " << c.size;
        EXPECT_EQ(picker->font()->pointSize(), c.expectedSize) << c.face << " " << c.size;
    }
    // A face that is not listed: the first of the list.
    picker->setFontList(
        {UIFont::fontWithNameSize("DejaVuSerif", 14), UIFont::fontWithNameSize("DejaVuSans", 14)});
    picker->setFont(UIFont::fontWithNameSize("DejaVuSansMono", 20));
    EXPECT_EQ(picker->font()->fontName(), "DejaVuSerif");
    EXPECT_EQ(picker->font()->pointSize(), 20);
}

TEST_F(PEFontPickerViewTest, RowsShowTheSampleOrTheNameInTheirOwnFace) {
    PEPickerView& inner = picker->pickerView();
    const auto row = [&](long index, long component) {
        return std::static_pointer_cast<UILabel>(
            picker->pickerViewViewForRowForComponentReusingView(inner, index, component, nullptr));
    };
    const auto first = row(0, 0);
    EXPECT_EQ(first->text(), picker->fontList()[0]->fontName());
    EXPECT_TRUE(first->font()->isEqual(*picker->fontList()[0]));
    picker->setText("Hello");
    EXPECT_EQ(row(1, 0)->text(), "Hello");
    EXPECT_EQ(row(12, 1)->text(), "50");
}

TEST_F(PEFontPickerViewTest, HiddenSizesGiveTheFacesTheWholeWidthButStillCount) {
    picker->setFont(UIFont::fontWithNameSize("DejaVuSans", 30));
    picker->setSizeComponentHidden(true);
    picker->pickerView().layoutSubviews();
    const auto& drums = picker->pickerView().drums();
    ASSERT_EQ(drums.size(), 2u);
    EXPECT_EQ(drums[0]->frame(), CGRectMake(0, 0, 300, 160));
    // The size drum's fallback place lies past the clipped edge.
    EXPECT_GE(drums[1]->frame().origin.x, 300);
    EXPECT_TRUE(picker->clipsToBounds());
    EXPECT_EQ(picker->font()->pointSize(), 32);
}

TEST_F(PEFontPickerViewTest, EveryFaceThatPassesTheCentreIsReported) {
    auto delegate = std::make_shared<SelectedFonts>();
    picker->setDelegate(delegate);
    picker->pickerView().layoutSubviews();
    auto& faces = *picker->pickerView().drums()[0];
    const double row = faces.rowHeight();
    faces.scrollView().setContentOffset(
        CGPointMake(0, faces.scrollView().contentOffset().y + 2 * row));
    ASSERT_EQ(delegate->fonts.size(), 2u);
    EXPECT_TRUE(delegate->fonts[1]->isEqual(*picker->font()));
}

class ColourChanges : public PEColorPickerViewDelegate {
public:
    void colorPickerViewColorDidChange(PEColorPickerView&,
                                       const std::shared_ptr<UIColor>& color) override {
        colours.push_back(color);
    }
    std::vector<std::shared_ptr<UIColor>> colours;
};

class PEColorPickerViewTest : public ::testing::Test {
protected:
    PEColorPickerViewTest() { picker->setDelegate(changes); }

    CGPoint markerOffset() const {
        const auto wheel = picker->hueCircle();
        const CGPoint marker = wheel->circleView()->center();
        return CGPointMake(marker.x - wheel->bounds().size.width / 2,
                           marker.y - wheel->bounds().size.height / 2);
    }

    TaskEnvironment environment;
    std::shared_ptr<PEColorPickerView> picker = PEColorPickerView::init();
    std::shared_ptr<ColourChanges> changes = std::make_shared<ColourChanges>();
    // The ring's radius for a 180-point wheel.
    static constexpr double kRadius = 180 * 0.8 * 0.5;
};

TEST_F(PEColorPickerViewTest, ANewPickerIsBlackAtTheCentreAndAsWideAsItsControls) {
    EXPECT_EQ(picker->frame().size, CGSizeMake(270, 180));
    EXPECT_EQ(markerOffset(), CGPointZero);
    const auto colour = picker->color();
    EXPECT_EQ(colour->red() + colour->green() + colour->blue(), 0);
    EXPECT_EQ(colour->alpha(), 1);
    EXPECT_TRUE(changes->colours.empty());
}

TEST_F(PEColorPickerViewTest, SetColoursPlaceTheMarkerAndSlidersAndReportOnce) {
    struct Case {
        std::shared_ptr<UIColor> colour;
        CGPoint marker;
        float saturation;
        float alpha;
    };
    const Case cases[] = {
        // Pure green: a third of a turn, on the rim.
        {UIColor::greenColor(),
         {kRadius * std::cos(2 * M_PI / 3), kRadius * std::sin(2 * M_PI / 3)},
         1,
         1},
        // A grey: halfway out at hue 0, no saturation.
        {UIColor::colorWithWhiteAlpha(0.5, 0.4), {kRadius / 2, 0}, 0, 0.4f},
        // Black: the centre, and the saturation slider at full.
        {UIColor::blackColor(), {0, 0}, 1, 1},
    };
    for (const Case& c : cases) {
        changes->colours.clear();
        picker->setColor(c.colour);
        EXPECT_NEAR(markerOffset().x, c.marker.x, 1e-3);
        EXPECT_NEAR(markerOffset().y, c.marker.y, 1e-3);
        EXPECT_EQ(picker->saturationSlider()->value(), c.saturation);
        EXPECT_EQ(picker->alphaSlider()->value(), c.alpha);
        ASSERT_EQ(changes->colours.size(), 1u);
        EXPECT_NEAR(changes->colours[0]->red(), c.colour->red(), 1e-3);
        EXPECT_NEAR(changes->colours[0]->green(), c.colour->green(), 1e-3);
        EXPECT_NEAR(changes->colours[0]->alpha(), c.colour->alpha(), 1e-6);
    }
}

TEST_F(PEColorPickerViewTest, AFingerBeyondTheRimKeepsTheMarkerOnItAtFullBrightness) {
    const auto wheel = picker->hueCircle();
    // Straight down from the centre, far outside: a quarter turn, on the rim.
    wheel->setCircleViewToPoint(CGPointMake(90, 400));
    EXPECT_NEAR(markerOffset().x, 0, 1e-3);
    EXPECT_NEAR(markerOffset().y, kRadius, 1e-3);
    EXPECT_DOUBLE_EQ(picker->brightnessComponent(), 1);
    EXPECT_NEAR(picker->hueComponent(), 0.25, 1e-6);
    // The marker's fill is the picked colour: a quarter turn is yellow-green.
    const auto colour = picker->color();
    EXPECT_NEAR(colour->red(), 0.5, 1e-3);
    EXPECT_NEAR(colour->green(), 1, 1e-3);
    EXPECT_NEAR(colour->blue(), 0, 1e-3);
}

TEST_F(PEColorPickerViewTest, SlidersChangeSaturationAndAlphaOfThePickedColour) {
    picker->setColor(UIColor::redColor());
    changes->colours.clear();
    picker->saturationSlider()->setValue(0.5f);
    picker->saturationSlider()->sendActionsForControlEvents(UIControlEventValueChanged);
    picker->alphaSlider()->setValue(0.25f);
    picker->alphaSlider()->sendActionsForControlEvents(UIControlEventValueChanged);
    ASSERT_EQ(changes->colours.size(), 2u);
    const auto colour = changes->colours.back();
    EXPECT_NEAR(colour->red(), 1, 1e-3);
    EXPECT_NEAR(colour->green(), 0.5, 1e-3);
    EXPECT_NEAR(colour->alpha(), 0.25, 1e-6);
    EXPECT_EQ(picker->hueCircle()->saturation(), 0.5);
}

} // namespace
