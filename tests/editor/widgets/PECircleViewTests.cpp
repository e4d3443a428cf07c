// The round handle as it draws: where its ellipse and outline land in its bounds.
#include "editor/widgets/PECircleView.h"
#include "platform/graphics/CGImage.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/ViewRenderer.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kClear = 0;
constexpr uint32_t kBlack = 0xff000000;
constexpr uint32_t kRed = 0xffff0000;

CGImageRef paint(const PECircleView& view) {
    UIGraphicsBeginImageContextWithOptions(view.bounds().size, false, 1);
    ViewRenderer::renderInContext(view, UIGraphicsGetCurrentContext());
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image->cgImage();
}

TEST(PECircleViewTest, AFreshViewIsABlackEllipseFillingItsBoundsWithNoOutline) {
    const auto view = PECircleView::initWithFrame(CGRectMake(0, 0, 40, 20));
    EXPECT_EQ(view->radius(), 1);
    EXPECT_EQ(view->borderWidth(), 0);
    const CGImageRef image = paint(*view);
    EXPECT_EQ(image->pixelAt(20, 10), kBlack);
    EXPECT_EQ(image->pixelAt(2, 10), kBlack); // the ellipse reaches the narrow ends...
    EXPECT_EQ(image->pixelAt(20, 1), kBlack); // ... and the long sides,
    EXPECT_EQ(image->pixelAt(1, 1), kClear);  // but not the corners.
    EXPECT_EQ(image->pixelAt(38, 18), kClear);
}

TEST(PECircleViewTest, TheRadiusSizesTheEllipseAboutTheCentre) {
    struct Case {
        double radius;
        CGPoint inside;  // filled (none when radius is 0)
        CGPoint outside; // clear
    };
    const Case cases[] = {
        {0.5, {20, 20}, {8, 20}}, // 20 across, from 10 to 30
        {0.5, {28, 20}, {20, 8}},
        {0, {-1, -1}, {20, 20}}, // nothing at all
        {2, {1, 1}, {-1, -1}},   // past the bounds, clipped: even the corners fill
    };
    for (const Case& c : cases) {
        const auto view = PECircleView::initWithFrame(CGRectMake(0, 0, 40, 40));
        view->setRadius(c.radius);
        const CGImageRef image = paint(*view);
        if (c.inside.x >= 0) {
            EXPECT_EQ(image->pixelAt(c.inside.x, c.inside.y), kBlack) << c.radius;
        }
        if (c.outside.x >= 0) {
            EXPECT_EQ(image->pixelAt(c.outside.x, c.outside.y), kClear) << c.radius;
        }
    }
}

TEST(PECircleViewTest, TheOutlineStraddlesTheEllipsesEdge) {
    const auto view = PECircleView::initWithFrame(CGRectMake(0, 0, 40, 40));
    view->setRadius(0.5); // edge at 10 and 30 across the middle row
    view->setColor(UIColor::whiteColor());
    view->setBorderColor(UIColor::redColor());
    view->setBorderWidth(4);
    const CGImageRef image = paint(*view);
    EXPECT_EQ(image->pixelAt(9, 20), kRed);  // outer half
    EXPECT_EQ(image->pixelAt(11, 20), kRed); // inner half, over the fill
    EXPECT_EQ(image->pixelAt(7, 20), kClear);
    EXPECT_EQ(image->pixelAt(20, 20), 0xffffffffu);
}

} // namespace
