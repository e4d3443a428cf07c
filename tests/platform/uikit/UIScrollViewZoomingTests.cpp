// Zooming scroll views: real pinches and programmatic zooms, the scale limits, the content
// size and offset that follow, what the delegate hears, and a masked zoomed view on screen.
#include "harness/TouchInjector.h"
#include "platform/graphics/CGPath.h"
#include "platform/quartzcore/CAShapeLayer.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIPinchGestureRecognizer.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/ViewRenderer.h"
#include "tests/platform/uikit/TouchFixture.h"

#include <cmath>
#include <sstream>

namespace {

// Gives its view for zooming and logs what it hears; runs of zooms count once.
class ZoomDelegate : public UIScrollViewDelegate {
public:
    std::shared_ptr<UIView> viewForZoomingInScrollView(UIScrollView&) override { return view; }
    void scrollViewDidZoom(UIScrollView&) override {
        if (log.empty() || log.back() != "zoom") {
            log.push_back("zoom");
        }
    }
    void scrollViewWillBeginZoomingWithView(UIScrollView&,
                                            const std::shared_ptr<UIView>& zoomed) override {
        log.push_back(zoomed == view ? "will zoom" : "will zoom another view");
    }
    void scrollViewDidEndZoomingWithViewAtScale(UIScrollView&, const std::shared_ptr<UIView>&,
                                                double scale) override {
        std::ostringstream entry;
        entry << "end zoom at " << scale;
        log.push_back(entry.str());
    }
    std::shared_ptr<UIView> view;
    std::vector<std::string> log;
};

class UIScrollViewZoomingTest : public TouchTest {
protected:
    // A 200-point scroll view centred at (160, 240) zooming an 800-point view, scales 0.25
    // to 2.
    UIScrollViewZoomingTest() {
        scroll->setDelegate(delegate);
        root->addSubview(scroll);
        delegate->view = addView(CGRectMake(0, 0, 800, 800), scroll);
        scroll->setContentSize(CGSizeMake(800, 800));
        scroll->setMinimumZoomScale(0.25);
        scroll->setMaximumZoomScale(2);
    }
    // The zoom view's point at the centre of the scroll view's bounds.
    CGPoint pointAtCentre() const {
        return scroll->convertPointToView(
            CGPointMake(CGRectGetMidX(scroll->bounds()), CGRectGetMidY(scroll->bounds())),
            delegate->view.get());
    }

    std::shared_ptr<UIScrollView> scroll =
        UIScrollView::initWithFrame(CGRectMake(60, 140, 200, 200));
    std::shared_ptr<ZoomDelegate> delegate = std::make_shared<ZoomDelegate>();
};

TEST_F(UIScrollViewZoomingTest, APinchScalesAboutItsCentreWithinTheLimits) {
    struct Case {
        double start, from, to, scale;
    };
    const Case cases[] = {
        {1, 100, 200, 2},     // spread to twice the distance: twice the scale
        {1, 40, 160, 2},      // four times, held at the maximum
        {1, 100, 50, 0.5},    // closed to half
        {0.5, 100, 10, 0.25}, // a tenth, held at the minimum
        {0.5, 50, 100, 1},    // from a smaller scale, multiplied on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << ": " << c.from << " -> " << c.to);
        scroll->setZoomScale(c.start);
        scroll->setContentOffset(CGPointMake(10, 10));
        const CGPoint before = pointAtCentre();
        TouchInjector::pinch(CGPointMake(160, 240), c.from, c.to, 0.3);
        EXPECT_NEAR(scroll->zoomScale(), c.scale, 1e-9);
        EXPECT_FALSE(scroll->isZooming());
        // A scale transform, the frame at the content's origin, the content its size.
        const auto view = delegate->view;
        EXPECT_NEAR(view->transform().a, c.scale, 1e-9);
        EXPECT_NEAR(view->transform().d, c.scale, 1e-9);
        EXPECT_EQ(view->bounds().size, CGSizeMake(800, 800));
        EXPECT_NEAR(view->frame().origin.x, 0, 1e-9);
        EXPECT_NEAR(scroll->contentSize().width, 800 * c.scale, 1e-9);
        EXPECT_NEAR(scroll->contentSize().height, 800 * c.scale, 1e-9);
        // The point under the fingers stays under them while the content allows.
        const CGPoint offset = scroll->contentOffset();
        const double far = 800 * c.scale - 200;
        if (offset.x > 0 && offset.x < far) {
            EXPECT_NEAR(pointAtCentre().x, before.x, 1e-6);
            EXPECT_NEAR(pointAtCentre().y, before.y, 1e-6);
        } else {
            EXPECT_GE(offset.x, 0);
            EXPECT_LE(offset.x, std::max(0.0, far));
        }
    }
}

TEST_F(UIScrollViewZoomingTest, ThePinchTellsTheDelegateInOrder) {
    TouchInjector::pinch(CGPointMake(160, 240), 100, 150, 0.3);
    ASSERT_EQ(delegate->log.size(), 3u);
    EXPECT_EQ(delegate->log[0], "will zoom");
    EXPECT_EQ(delegate->log[1], "zoom");
    EXPECT_EQ(delegate->log[2], "end zoom at 1.5");
}

TEST_F(UIScrollViewZoomingTest, ZoomToRectFillsTheBoundsClampedAndCentred) {
    struct Case {
        CGRect rect;
        double scale;
        CGPoint offset;
    };
    const Case cases[] = {
        {CGRectMake(50, 50, 100, 100), 2, CGPointMake(100, 100)},   // fills the bounds
        {CGRectMake(200, 0, 200, 100), 1, CGPointMake(200, 0)},     // the longer side fits
        {CGRectMake(400, 400, 10, 10), 2, CGPointMake(710, 710)},   // held at the maximum
        {CGRectMake(0, 0, 800, 800), 0.25, CGPointMake(0, 0)},      // the whole view
        {CGRectMake(-100, 0, 3200, 3200), 0.25, CGPointMake(0, 0)}, // held at the minimum
        {CGRectMake(750, 750, 50, 50), 2, CGPointMake(1400, 1400)}, // its edge: as far as it goes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rect.origin.x << "," << c.rect.size.width);
        scroll->zoomToRectAnimated(c.rect, false);
        EXPECT_DOUBLE_EQ(scroll->zoomScale(), c.scale);
        EXPECT_DOUBLE_EQ(scroll->contentSize().width, 800 * c.scale);
        EXPECT_EQ(scroll->contentOffset(), c.offset);
    }
}

TEST_F(UIScrollViewZoomingTest, AnAnimatedZoomLandsAtOnceAndEndsAfterItsDuration) {
    scroll->setZoomScaleAnimated(5, true);
    EXPECT_DOUBLE_EQ(scroll->zoomScale(), 2);
    EXPECT_EQ(delegate->log, std::vector<std::string>{"zoom"});
    environment.fastForwardBy(UIScrollView::kScrollAnimationDuration);
    EXPECT_EQ(delegate->log, (std::vector<std::string>{"zoom", "end zoom at 2"}));

    // Without animation only the zoom itself is told; the centre stays put.
    delegate->log.clear();
    const CGPoint centre = pointAtCentre();
    scroll->setZoomScale(1);
    environment.fastForwardBy(1);
    EXPECT_EQ(delegate->log, std::vector<std::string>{"zoom"});
    EXPECT_NEAR(pointAtCentre().x, centre.x, 1e-9);
}

TEST_F(UIScrollViewZoomingTest, NoZoomViewOrEqualLimitsMeanNoZooming) {
    // Equal limits: no pinch recogniser; it returns when they differ again.
    EXPECT_TRUE(scroll->pinchGestureRecognizer());
    scroll->setMaximumZoomScale(0.25);
    EXPECT_FALSE(scroll->pinchGestureRecognizer());
    scroll->setMaximumZoomScale(2);
    ASSERT_TRUE(scroll->pinchGestureRecognizer());

    // No view for zooming: pinches and zooms leave everything as it was.
    const auto view = delegate->view;
    delegate->view = nullptr;
    TouchInjector::pinch(CGPointMake(160, 240), 100, 200, 0.3);
    scroll->setZoomScale(2);
    scroll->zoomToRectAnimated(CGRectMake(0, 0, 10, 10), true);
    EXPECT_EQ(scroll->zoomScale(), 1);
    EXPECT_EQ(scroll->contentSize(), CGSizeMake(800, 800));
    EXPECT_TRUE(CGAffineTransformIsIdentity(view->transform()));
    EXPECT_TRUE(delegate->log.empty());
    EXPECT_EQ(scroll->pinchGestureRecognizer()->state(), UIGestureRecognizerState::Possible);
}

TEST_F(UIScrollViewZoomingTest, AFrameSetOnAZoomedViewIsItsZoomedSize) {
    scroll->setZoomScale(0.25);
    delegate->view->setFrame(CGRectMake(0, 0, 300, 200));
    EXPECT_EQ(delegate->view->bounds().size, CGSizeMake(1200, 800));
    scroll->setZoomScale(0.5);
    EXPECT_EQ(scroll->contentSize(), CGSizeMake(600, 400));
}

TEST_F(UIScrollViewZoomingTest, AShapeMaskedZoomedViewShowsOnlyItsPolygon) {
    // The zoom view: red left half, blue right half; zoomed to 0.25 it fits the 200 points.
    delegate->view->setBackgroundColor(UIColor::redColor());
    addView(CGRectMake(400, 0, 400, 800), delegate->view)->setBackgroundColor(UIColor::blueColor());
    scroll->setZoomScale(0.25);
    root->setBackgroundColor(UIColor::whiteColor());
    // A triangle keeps the scroll view's lower-left half.
    auto triangle = CAShapeLayer::layer();
    auto path = CGPathCreateMutable();
    CGPathMoveToPoint(path, nullptr, 0, 0);
    CGPathAddLineToPoint(path, nullptr, 0, 200);
    CGPathAddLineToPoint(path, nullptr, 200, 200);
    CGPathCloseSubpath(path);
    triangle->setPath(path);
    triangle->setFrame(CGRectMake(0, 0, 200, 200));
    scroll->layer()->setMask(triangle);

    const auto shot = ViewRenderer::snapshotWindow(*window, 1);
    ASSERT_TRUE(shot);
    const auto at = [&](size_t x, size_t y) { return shot->cgImage()->pixelAt(x, y); };
    EXPECT_EQ(at(70, 330), 0xffff0000u);  // inside, the zoomed left half
    EXPECT_EQ(at(240, 335), 0xff0000ffu); // inside, the right half, scaled down
    EXPECT_EQ(at(250, 150), 0xffffffffu); // outside the polygon
    EXPECT_EQ(at(100, 150), 0xffffffffu);
}

} // namespace
