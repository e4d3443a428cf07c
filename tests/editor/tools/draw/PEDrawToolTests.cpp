#include "editor/tools/draw/PEDrawTool.h"

#include "editor/PEImageEditorTheme.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UISlider.h"
#include "tests/editor/tools/draw/StrokeToolFixture.h"

namespace {

using PEDrawToolTest = StrokeToolFixture<PEDrawTool>;

TEST(PEDrawToolColourTest, TheTrackRunsFromBlackThroughWhiteToTheHuesShortOfBlue) {
    struct Case {
        double value, red, green, blue;
    };
    // Grey up to white at 0.3, white to a third, then hue ((v - 1/3) / 0.7) x 2/3: six
    // times the hue is how far round red, yellow, green, cyan, blue it has come.
    const Case cases[] = {
        {0, 0, 0, 0},
        {0.15, 0.5, 0.5, 0.5},
        {0.3, 1, 1, 1},
        {0.33, 1, 1, 1},
        {1.0 / 3, 1, 0, 0},
        {0.5, 1, (1.0 / 6) / 0.7 * 4, 0},
        {1, 0, 4 - (2.0 / 3) / 0.7 * 4, 1},
    };
    for (const auto& c : cases) {
        double r, g, b, a;
        ASSERT_TRUE(PEDrawTool::colorForValue(c.value)->getRedGreenBlueAlpha(&r, &g, &b, &a));
        EXPECT_NEAR(r, c.red, 1e-9) << c.value;
        EXPECT_NEAR(g, c.green, 1e-9) << c.value;
        EXPECT_NEAR(b, c.blue, 1e-9) << c.value;
        EXPECT_EQ(a, 1) << c.value;
    }
}

TEST_F(PEDrawToolTest, OpensBlackAtATenthOfTheWidthWithOneFingerLeftToPainting) {
    auto layer = tool->drawingView();
    EXPECT_EQ(layer->superview(), host->imageView());
    EXPECT_EQ(layer->frame(), host->imageView()->bounds());
    EXPECT_FALSE(layer->image());
    EXPECT_EQ(host->scrollView()->panGestureRecognizer()->minimumNumberOfTouches(), 2u);

    EXPECT_EQ(tool->menuView()->frame(), host->menuView()->frame());
    EXPECT_EQ(tool->colorSlider()->frame(), CGRectMake(10, 5, 230, 34));
    EXPECT_EQ(tool->widthSlider()->frame(), CGRectMake(10, 44, 230, 34));
    EXPECT_EQ(tool->colorSlider()->value(), 0);
    const auto black = UIColor::colorWithWhiteAlpha(0, 1);
    EXPECT_TRUE(tool->strokePreview()->backgroundColor()->isEqual(*black));
    EXPECT_TRUE(tool->colorSlider()->thumbTintColor()->isEqual(*black));
    const double tenth = 0.1f; // the slider's value is single precision
    EXPECT_EQ(tool->strokePreview()->transform(), CGAffineTransformMakeScale(tenth, tenth));
    EXPECT_TRUE(tool->eraserIcon()->isHidden());
}

TEST_F(PEDrawToolTest, PaintLandsWhereTheFingerWentAndTheEraserClearsOnlyPaint) {
    twoFingerDrag();
    EXPECT_FALSE(tool->drawingView()->image());

    tool->colorSlider()->setValue(1.0f / 3);
    tool->colorSliderDidChange(*tool->colorSlider());
    stroke(40, 100, 280, 100);
    auto paint = tool->drawingView()->image();
    ASSERT_TRUE(paint);
    EXPECT_EQ(paint->size(), CGSizeMake(320, 424));
    for (double x : {80.0, 160.0, 270.0}) {
        EXPECT_EQ(layerPixel(paint, x, 100), 0xffff0000u) << x;
    }
    for (auto [x, y] : {std::pair{160.0, 108.0}, {160.0, 92.0}, {20.0, 100.0}, {300.0, 100.0}}) {
        EXPECT_EQ(layerPixel(paint, x, y), 0u) << x << "," << y;
    }

    // The eraser: the swatch in the text colour; the colour slider changes nothing then.
    TouchInjector::tapAt(TouchInjector::tapPointOfView(*tool->strokePreviewBackground()));
    ASSERT_TRUE(tool->isEraserMode());
    const auto text = PEImageEditorTheme::theme()->toolbarTextColor();
    EXPECT_TRUE(tool->strokePreview()->backgroundColor()->isEqual(*text));
    tool->colorSlider()->setValue(1);
    tool->colorSliderDidChange(*tool->colorSlider());
    EXPECT_TRUE(tool->strokePreview()->backgroundColor()->isEqual(*text));
    stroke(160, 100, 300, 100);
    EXPECT_EQ(layerPixel(tool->drawingView()->image(), 100, 100), 0xffff0000u);
    EXPECT_EQ(layerPixel(tool->drawingView()->image(), 200, 100), 0u);

    // Back in paint mode the swatch and the thumb take the slider's colour again.
    TouchInjector::tapAt(TouchInjector::tapPointOfView(*tool->strokePreviewBackground()));
    const auto blueish = PEDrawTool::colorForValue(1);
    EXPECT_TRUE(tool->strokePreview()->backgroundColor()->isEqual(*blueish));
    EXPECT_TRUE(tool->colorSlider()->thumbTintColor()->isEqual(*blueish));

    // OK: red where paint is left (picture points are half the layer's), the picture
    // itself where it was erased or never painted.
    auto result = execute();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->size(), picture->size());
    EXPECT_EQ(at(result, 50, 50), 0xffff0000u);
    for (auto [x, y] : {std::pair{100.0, 50.0}, {50.0, 60.0}, {80.0, 150.0}}) {
        EXPECT_EQ(at(result, x, y), kPictureColour) << x << "," << y;
    }
}

TEST_F(PEDrawToolTest, AThemeWithoutTextColourErasesInBlackRatherThanInNoColour) {
    PEImageEditorTheme::theme()->setToolbarTextColor(nullptr);
    stroke(40, 100, 280, 100);
    TouchInjector::tapAt(TouchInjector::tapPointOfView(*tool->strokePreviewBackground()));
    ASSERT_TRUE(tool->isEraserMode());
    ASSERT_TRUE(tool->strokePreview()->backgroundColor());
    EXPECT_TRUE(tool->strokePreview()->backgroundColor()->isEqual(*UIColor::blackColor()));
    stroke(160, 100, 300, 100);
    EXPECT_EQ(layerPixel(tool->drawingView()->image(), 200, 100), 0u);
}

TEST_F(PEDrawToolTest, OkWithoutStrokesGivesThePictureUnchangedAtItsSizeAndScale) {
    auto result = execute();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->size(), picture->size());
    EXPECT_EQ(result->scale(), picture->scale());
    EXPECT_EQ(pixelsOf(*result->cgImage()), pixelsOf(*picture->cgImage()));
}

} // namespace
