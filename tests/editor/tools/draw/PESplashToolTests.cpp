#include "editor/tools/draw/PESplashTool.h"

#include "editor/PEImageEditorTheme.h"
#include "editor/PEToolPanel.h"
#include "editor/categories/UIImage+Utility.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UISlider.h"
#include "tests/editor/tools/draw/StrokeToolFixture.h"
#include "tests/support/editor/ToolExecution.h"

namespace {

class PESplashToolTest : public StrokeToolFixture<PESplashTool> {
protected:
    uint32_t grey() const { return at(Utility::grayScaleImage(picture), 0, 0); }
    // Whether the layer shows the grey copy at a point of the layer (else the colour
    // picture beneath shows through).
    bool greyShownAt(double x, double y) const {
        auto shown = tool->drawingView()->image();
        const CGSize size = shown->size();
        return (at(shown, x * size.width / 320, y * size.height / 424) >> 24) == 0xff;
    }
};

TEST_F(PESplashToolTest, OpensWithThePictureGreyAndOneFingerLeftToPainting) {
    auto layer = tool->drawingView();
    EXPECT_EQ(layer->superview(), host->imageView());
    EXPECT_EQ(layer->frame(), host->imageView()->bounds());
    EXPECT_EQ(layer->contentMode(), UIViewContentMode::ScaleAspectFit);
    // The grey copy fits into twice the layer: 640 x 848 for this picture.
    EXPECT_EQ(tool->grayImage()->size(), CGSizeMake(640, 848));
    EXPECT_EQ(layer->image(), tool->grayImage());
    EXPECT_EQ(at(tool->grayImage(), 320, 400), grey());
    EXPECT_FALSE(tool->maskImage());
    EXPECT_TRUE(host->imageView()->isUserInteractionEnabled());
    EXPECT_EQ(host->scrollView()->panGestureRecognizer()->minimumNumberOfTouches(), 2u);

    // The panel over the menu: the slider centred in its height, the swatch in the theme's
    // text colour at a tenth of its size with a ring 2 points wide on screen.
    auto panel = tool->menuView();
    EXPECT_EQ(panel->frame(), host->menuView()->frame());
    EXPECT_FALSE(panel->clipsToBounds());
    EXPECT_EQ(tool->widthSlider()->frame(), CGRectMake(10, 23, 230, 34));
    EXPECT_FLOAT_EQ(tool->widthSlider()->value(), 0.1f);
    EXPECT_EQ(tool->strokePreview()->center(), CGPointMake(285, 40));
    const double tenth = 0.1f; // the slider's value is single precision
    EXPECT_EQ(tool->strokePreview()->transform(), CGAffineTransformMakeScale(tenth, tenth));
    EXPECT_DOUBLE_EQ(tool->strokePreview()->layer()->borderWidth(), 2 / tenth);
    const auto text = PEImageEditorTheme::theme()->toolbarTextColor();
    EXPECT_TRUE(tool->strokePreview()->backgroundColor()->isEqual(*text));
    EXPECT_TRUE(tool->strokePreviewBackground()->backgroundColor()->isEqual(*text));
    EXPECT_TRUE(tool->eraserIcon()->isHidden());
    EXPECT_TRUE(tool->eraserIcon()->image());

    // Width 0 gives 1-point strokes and the swatch at a twentieth.
    tool->widthSlider()->setValue(0);
    tool->widthSliderDidChange(*tool->widthSlider());
    EXPECT_EQ(tool->lineWidth(), 1);
    EXPECT_EQ(tool->strokePreview()->transform(), CGAffineTransformMakeScale(0.05, 0.05));
}

TEST_F(PESplashToolTest, PaintingBringsTheColourBackWhereTheFingerWentAndTheEraserTheGrey) {
    twoFingerDrag();
    EXPECT_FALSE(tool->maskImage());

    stroke(40, 100, 280, 100);
    auto mask = tool->maskImage();
    ASSERT_TRUE(mask);
    EXPECT_EQ(mask->size(), CGSizeMake(320, 424));
    EXPECT_EQ(mask->scale(), 2);
    // Width 0.1 x 65 = 6.5 points: white along the line, black a little beside it.
    for (double x : {80.0, 160.0, 270.0}) {
        EXPECT_EQ(layerPixel(mask, x, 100), 0xffffffffu) << x;
        EXPECT_FALSE(greyShownAt(x, 100)) << x;
    }
    for (auto [x, y] : {std::pair{160.0, 108.0}, {160.0, 92.0}, {20.0, 100.0}, {300.0, 100.0}}) {
        EXPECT_EQ(layerPixel(mask, x, y), 0xff000000u) << x << "," << y;
        EXPECT_TRUE(greyShownAt(x, y)) << x << "," << y;
    }

    // The eraser paints grey back over the right half of the stroke.
    TouchInjector::tapAt(TouchInjector::tapPointOfView(*tool->strokePreviewBackground()));
    EXPECT_TRUE(tool->isEraserMode());
    stroke(160, 100, 300, 100);
    EXPECT_EQ(layerPixel(tool->maskImage(), 100, 100), 0xffffffffu);
    EXPECT_EQ(layerPixel(tool->maskImage(), 200, 100), 0xff000000u);
    EXPECT_TRUE(greyShownAt(200, 100));

    // OK: the picture at its own size, in colour where the mask is white (picture points
    // are half the layer's), grey elsewhere; a stroke after OK is not in it.
    auto result = executeAndWait(*tool, environment, [] { stroke(20, 300, 300, 300); });
    ASSERT_TRUE(result);
    EXPECT_EQ(result->size(), picture->size());
    EXPECT_EQ(result->scale(), picture->scale());
    EXPECT_EQ(at(result, 50, 50), kPictureColour);
    EXPECT_EQ(at(result, 100, 50), grey());
    EXPECT_EQ(at(result, 50, 60), grey());
    EXPECT_EQ(at(result, 80, 150), grey());
}

TEST_F(PESplashToolTest, OkBeforeAnyPaintingGivesTheGreyPictureTheScreenShows) {
    auto result = execute();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->size(), picture->size());
    for (auto [x, y] : {std::pair{0.0, 0.0}, {80.0, 100.0}, {159.0, 211.0}}) {
        EXPECT_EQ(at(result, x, y), grey()) << x << "," << y;
    }
}

TEST_F(PESplashToolTest, BackRemovesTheLayerAndGivesTheScrollViewItsOneFingerPan) {
    stroke(40, 100, 280, 100);
    auto panel = tool->menuView();
    host->back(*tool);
    EXPECT_FALSE(tool->drawingView()->superview());
    EXPECT_FALSE(host->imageView()->isUserInteractionEnabled());
    EXPECT_EQ(host->scrollView()->panGestureRecognizer()->minimumNumberOfTouches(), 1u);
    environment.fastForwardBy(PEToolPanel::kAnimationDuration);
    EXPECT_FALSE(panel->superview());
    EXPECT_EQ(host->imageView()->image(), picture);
}

} // namespace
