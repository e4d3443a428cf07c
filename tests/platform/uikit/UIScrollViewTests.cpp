// Scroll views under real drags and mock time: how far the content follows a finger, where
// it may go, how it decelerates or settles on a page, what the delegate hears, and which
// touches still reach the views inside.
#include "harness/TouchInjector.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIViewAnimation.h"
#include "platform/uikit/ViewRenderer.h"
#include "tests/platform/uikit/TouchFixture.h"

namespace {

using Log = std::vector<std::string>;

// Logs what a scroll view tells its delegate; runs of scrolls count once.
class RecordingScrollDelegate : public UIScrollViewDelegate {
public:
    void scrollViewDidScroll(UIScrollView&) override {
        if (log.empty() || log.back() != "scroll") {
            log.push_back("scroll");
        }
    }
    void scrollViewWillBeginDragging(UIScrollView&) override { log.push_back("will drag"); }
    void scrollViewDidEndDraggingWillDecelerate(UIScrollView&, bool decelerate) override {
        log.push_back(decelerate ? "end drag, decelerate" : "end drag");
    }
    void scrollViewWillBeginDecelerating(UIScrollView&) override {
        log.push_back("will decelerate");
    }
    void scrollViewDidEndDecelerating(UIScrollView&) override { log.push_back("end decelerate"); }
    void scrollViewDidEndScrollingAnimation(UIScrollView&) override {
        log.push_back("end animation");
    }
    Log log;
};

class UIScrollViewTest : public TouchTest {
protected:
    std::shared_ptr<UIScrollView> addScrollView(const CGRect& frame, const CGSize& content) {
        auto view = UIScrollView::initWithFrame(frame);
        view->setContentSize(content);
        root->addSubview(view);
        return view;
    }
    // Long enough for any deceleration to end.
    void settle() { environment.fastForwardBy(5); }
};

TEST_F(UIScrollViewTest, ADragMovesTheContentByTheFingersTravel) {
    auto scroll = addScrollView(CGRectMake(0, 0, 100, 200), CGSizeMake(100, 1000));
    EXPECT_TRUE(scroll->clipsToBounds());

    TouchInjector::drag(CGPointMake(50, 150), CGPointMake(50, 50), 0.5);
    EXPECT_EQ(scroll->contentOffset(), CGPointMake(0, 100));
    EXPECT_EQ(scroll->bounds().origin, CGPointMake(0, 100));
    EXPECT_FALSE(scroll->isDragging());

    // Dragging down again brings the content back; it never goes above its top.
    settle();
    const double before = scroll->contentOffset().y;
    TouchInjector::drag(CGPointMake(50, 50), CGPointMake(50, 90), 1);
    EXPECT_DOUBLE_EQ(scroll->contentOffset().y, before - 40);
}

TEST_F(UIScrollViewTest, DragsStayWithinTheContentAndItsInsets) {
    // Offsets from (-left, -top) to (width + right - 100, height + bottom - 100).
    auto scroll = addScrollView(CGRectMake(0, 0, 100, 100), CGSizeMake(300, 400));
    scroll->setContentInset(UIEdgeInsetsMake(20, 10, 30, 40));
    struct Case {
        CGPoint from, to;
        CGPoint offset;
    };
    const Case cases[] = {
        {{10, 10}, {300, 460}, {-10, -20}},   // pulled down and right: the top-left corner
        {{90, 90}, {-500, -500}, {240, 330}}, // pushed up and left: the far corner
        {{50, 90}, {50, -600}, {240, 330}},   // further up: stays
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(NSStringFromCGPoint(c.to));
        TouchInjector::drag(c.from, c.to, 0.3);
        settle();
        EXPECT_EQ(scroll->contentOffset(), c.offset);
    }

    // Content narrower than the view does not move sideways.
    scroll->setContentSize(CGSizeMake(50, 400));
    scroll->setContentInset(UIEdgeInsetsZero);
    scroll->setContentOffset(CGPointZero);
    TouchInjector::drag(CGPointMake(90, 90), CGPointMake(10, 40), 0.3);
    settle();
    EXPECT_EQ(scroll->contentOffset().x, 0);
    EXPECT_GT(scroll->contentOffset().y, 50);
}

TEST_F(UIScrollViewTest, ReleasedContentDeceleratesOnTheClockAndStops) {
    auto scroll = addScrollView(CGRectMake(0, 0, 100, 200), CGSizeMake(100, 1000));
    // 100 points in half a second: 200 points a second at the release.
    TouchInjector::drag(CGPointMake(50, 150), CGPointMake(50, 50), 0.5);
    EXPECT_TRUE(scroll->isDecelerating());
    EXPECT_EQ(scroll->contentOffset().y, 100);

    environment.fastForwardBy(0.1);
    const double early = scroll->contentOffset().y;
    EXPECT_GT(early, 100);
    environment.fastForwardBy(0.1);
    // Slower as it goes: the second tenth covers less than the first.
    EXPECT_LT(scroll->contentOffset().y - early, early - 100);

    settle();
    EXPECT_FALSE(scroll->isDecelerating());
    // It stops once slower than 10 points a second: 200 (1 - 0.05) / (1000 ln(1/0.998)),
    // about 95 points beyond the release.
    EXPECT_NEAR(scroll->contentOffset().y, 195, 1);
    const double rest = scroll->contentOffset().y;
    environment.fastForwardBy(1);
    EXPECT_EQ(scroll->contentOffset().y, rest);
}

TEST_F(UIScrollViewTest, DecelerationStopsAtTheEdge) {
    auto scroll = addScrollView(CGRectMake(0, 0, 100, 200), CGSizeMake(100, 350));
    auto delegate = std::make_shared<RecordingScrollDelegate>();
    scroll->setDelegate(delegate);
    TouchInjector::drag(CGPointMake(50, 150), CGPointMake(50, 50), 0.5);
    environment.fastForwardBy(0.5);
    EXPECT_EQ(scroll->contentOffset().y, 150);
    EXPECT_FALSE(scroll->isDecelerating());
    EXPECT_EQ(delegate->log.back(), "end decelerate");
}

TEST_F(UIScrollViewTest, PagingSettlesOnAPageAtMostOneAwayFromTheStart) {
    struct Case {
        const char* what;
        double distance, seconds;
        double page;
    };
    const Case cases[] = {
        {"a third of a page, slowly", 100, 1, 0},
        {"two thirds of a page, slowly", 200, 1, 1},
        {"a short flick", 50, 0.05, 1},
        {"a flick over two pages", 620, 0.2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto scroll = addScrollView(CGRectMake(0, 0, 300, 100), CGSizeMake(1500, 100));
        scroll->setPagingEnabled(true);
        TouchInjector::drag(CGPointMake(290, 50), CGPointMake(290 - c.distance, 50), c.seconds);
        settle();
        EXPECT_EQ(scroll->contentOffset(), CGPointMake(c.page * 300, 0));
        EXPECT_FALSE(scroll->isDecelerating());
        scroll->removeFromSuperview();
    }
}

TEST_F(UIScrollViewTest, TheDelegateHearsADragInOrder) {
    auto scroll = addScrollView(CGRectMake(0, 0, 100, 200), CGSizeMake(100, 1000));
    auto delegate = std::make_shared<RecordingScrollDelegate>();
    scroll->setDelegate(delegate);

    TouchInjector::drag(CGPointMake(50, 150), CGPointMake(50, 50), 0.5);
    settle();
    EXPECT_EQ(delegate->log, (Log{"will drag", "scroll", "end drag, decelerate", "will decelerate",
                                  "scroll", "end decelerate"}));

    // A finger landing on moving content stops it, and is tracked until it lifts; resting
    // there moves nothing.
    TouchInjector::drag(CGPointMake(50, 150), CGPointMake(50, 50), 0.5);
    environment.fastForwardBy(0.1);
    delegate->log.clear();
    TouchInjector::performAsync(TouchGesture::longPress(CGPointMake(50, 50), 0.3), nullptr);
    EXPECT_TRUE(scroll->isTracking());
    EXPECT_FALSE(scroll->isDragging());
    EXPECT_FALSE(scroll->isDecelerating());
    environment.fastForwardBy(0.5);
    EXPECT_FALSE(scroll->isTracking());
    EXPECT_EQ(delegate->log, (Log{"end decelerate"}));
}

TEST_F(UIScrollViewTest, AnAnimatedOffsetLandsAtOnceAndEndsAfterTheAnimation) {
    auto scroll = addScrollView(CGRectMake(0, 0, 100, 200), CGSizeMake(100, 1000));
    auto delegate = std::make_shared<RecordingScrollDelegate>();
    scroll->setDelegate(delegate);
    UIViewAnimation::clearRecords();

    scroll->setContentOffsetAnimated(CGPointMake(0, 300), true);
    EXPECT_EQ(scroll->contentOffset(), CGPointMake(0, 300));
    ASSERT_EQ(UIViewAnimation::records().size(), 1u);
    EXPECT_EQ(UIViewAnimation::records()[0].duration, UIScrollView::kScrollAnimationDuration);
    EXPECT_EQ(UIViewAnimation::records()[0].keys, (Log{"UIScrollView.bounds"}));
    EXPECT_EQ(delegate->log, (Log{"scroll"}));
    environment.fastForwardBy(UIScrollView::kScrollAnimationDuration);
    EXPECT_EQ(delegate->log, (Log{"scroll", "end animation"}));

    // A second animation started before the first ends replaces it: one end is heard.
    delegate->log.clear();
    scroll->setContentOffsetAnimated(CGPointMake(0, 100), true);
    environment.fastForwardBy(0.1);
    scroll->setContentOffsetAnimated(CGPointMake(0, 200), true);
    environment.fastForwardBy(1);
    EXPECT_EQ(delegate->log, (Log{"scroll", "end animation"}));

    // Not animated, or to where it already is: no animation at all.
    delegate->log.clear();
    scroll->setContentOffsetAnimated(CGPointMake(0, 200), true);
    scroll->setContentOffsetAnimated(CGPointMake(0, 50), false);
    environment.fastForwardBy(1);
    EXPECT_EQ(delegate->log, (Log{"scroll"}));
}

TEST_F(UIScrollViewTest, TapsReachButtonsInsideButDragsScroll) {
    auto scroll = addScrollView(CGRectMake(0, 0, 200, 200), CGSizeMake(200, 1000));
    auto button = UIButton::initWithFrame(CGRectMake(0, 50, 200, 100));
    scroll->addSubview(button);
    std::vector<std::string> events;
    button->addTargetActionForControlEvents(
        target, [&events](UIControl&) { events.push_back("up inside"); },
        UIControlEventTouchUpInside);
    button->addTargetActionForControlEvents(
        target, [&events](UIControl&) { events.push_back("cancel"); }, UIControlEventTouchCancel);

    TouchInjector::tapAt(CGPointMake(100, 100));
    EXPECT_EQ(events, (Log{"up inside"}));
    EXPECT_EQ(scroll->contentOffset(), CGPointZero);

    // Less than the pan's travel still counts as a tap.
    events.clear();
    TouchInjector::drag(CGPointMake(100, 100), CGPointMake(100, 94), 0.1);
    EXPECT_EQ(events, (Log{"up inside"}));

    events.clear();
    TouchInjector::drag(CGPointMake(100, 140), CGPointMake(100, 60), 0.3);
    EXPECT_EQ(events, (Log{"cancel"}));
    EXPECT_EQ(scroll->contentOffset(), CGPointMake(0, 80));
}

TEST_F(UIScrollViewTest, ThePanBeginsOnlyWhenThereIsSomethingToScroll) {
    struct Case {
        const char* what;
        CGSize content;
        std::function<void(UIScrollView&)> setUp;
        bool takesTheTouch;
    };
    const Case cases[] = {
        {"taller content", {100, 500}, [](UIScrollView&) {}, true},
        {"content that fits", {100, 100}, [](UIScrollView&) {}, false},
        {"always bouncing",
         {100, 100},
         [](UIScrollView& s) { s.setAlwaysBounceVertical(true); },
         true},
        {"scrolling off", {100, 500}, [](UIScrollView& s) { s.setScrollEnabled(false); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        log.clear();
        auto scroll = addScrollView(CGRectMake(0, 0, 100, 200), c.content);
        c.setUp(*scroll);
        addRecordingView("inside", CGRectMake(0, 0, 100, 200), scroll);
        TouchInjector::drag(CGPointMake(50, 150), CGPointMake(50, 50), 0.3);
        settle();
        EXPECT_EQ(count("inside cancelled"), c.takesTheTouch ? 1 : 0);
        EXPECT_EQ(count("inside ended"), c.takesTheTouch ? 0 : 1);
        EXPECT_EQ(scroll->contentOffset().y != 0, c.takesTheTouch && c.content.height > 200);
        scroll->removeFromSuperview();
    }
}

TEST_F(UIScrollViewTest, DirectionalLockKeepsADragOnItsFirstAxis) {
    for (const bool locked : {false, true}) {
        SCOPED_TRACE(locked ? "locked" : "free");
        auto scroll = addScrollView(CGRectMake(0, 0, 200, 200), CGSizeMake(1000, 1000));
        scroll->setDirectionalLockEnabled(locked);
        TouchInjector::drag(CGPointMake(150, 150), CGPointMake(50, 120), 1);
        EXPECT_EQ(scroll->contentOffset(), CGPointMake(100, locked ? 0 : 30));
        scroll->removeFromSuperview();
    }
}

TEST_F(UIScrollViewTest, ContentIsDrawnFromTheOffsetAndClipped) {
    window->setBackgroundColor(UIColor::whiteColor());
    auto scroll = addScrollView(CGRectMake(0, 0, 50, 50), CGSizeMake(50, 200));
    auto block = UIView::initWithFrame(CGRectMake(0, 60, 50, 100));
    block->setBackgroundColor(UIColor::redColor());
    scroll->addSubview(block);
    scroll->setContentOffset(CGPointMake(0, 40));

    const auto shot = ViewRenderer::snapshotWindow(*window, 1);
    ASSERT_TRUE(shot);
    const uint32_t red = 0xffff0000;
    EXPECT_NE(shot->cgImage()->pixelAt(25, 15), red); // content y 55
    EXPECT_EQ(shot->cgImage()->pixelAt(25, 25), red); // content y 65
    EXPECT_NE(shot->cgImage()->pixelAt(25, 55), red); // below the scroll view: clipped
}

} // namespace
