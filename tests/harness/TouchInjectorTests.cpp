// Finding views by label as a user sees them, where to tap them, and the shapes of the
// scripted gestures.
#include "harness/TouchInjector.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

namespace {

class TouchInjectorFindTest : public ::testing::Test {
protected:
    TouchInjectorFindTest() {
        window->addSubview(container);
        container->addSubview(view);
        view->setAccessibilityLabel("Go");
    }
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 480));
    std::shared_ptr<UIView> container = UIView::initWithFrame(CGRectMake(0, 0, 320, 480));
    std::shared_ptr<UIView> view = UIView::initWithFrame(CGRectMake(100, 100, 100, 40));
};

TEST_F(TouchInjectorFindTest, OnlyViewsAUserCouldTapAreFound) {
    struct Case {
        const char* what;
        std::function<void(UIView& container, UIView& view)> change;
        size_t found;
    };
    const Case cases[] = {
        {"as it is", [](UIView&, UIView&) {}, 1},
        {"another label", [](UIView&, UIView& v) { v.setAccessibilityLabel("Stop"); }, 0},
        {"hidden", [](UIView&, UIView& v) { v.setHidden(true); }, 0},
        {"transparent", [](UIView&, UIView& v) { v.setAlpha(0); }, 0},
        {"in a hidden view", [](UIView& c, UIView&) { c.setHidden(true); }, 0},
        {"in a view taking no touches",
         [](UIView& c, UIView&) { c.setUserInteractionEnabled(false); }, 0},
        {"taking no touches", [](UIView&, UIView& v) { v.setUserInteractionEnabled(false); }, 0},
        {"off screen", [](UIView&, UIView& v) { v.setFrame(CGRectMake(400, 100, 100, 40)); }, 0},
        {"half off screen", [](UIView&, UIView& v) { v.setFrame(CGRectMake(270, 100, 100, 40)); },
         1},
        {"clipped away",
         [](UIView& c, UIView&) {
             c.setFrame(CGRectMake(0, 0, 50, 50));
             c.setClipsToBounds(true);
         },
         0},
        // Drawn, but a finger cannot reach it: hit testing stops at the parent's bounds.
        {"outside a view that does not clip",
         [](UIView& c, UIView&) { c.setFrame(CGRectMake(0, 0, 50, 50)); }, 0},
        {"covered by another view",
         [](UIView& c, UIView&) {
             c.addSubview(UIView::initWithFrame(CGRectMake(0, 0, 320, 480)));
         },
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto container = UIView::initWithFrame(CGRectMake(0, 0, 320, 480));
        auto view = UIView::initWithFrame(CGRectMake(100, 100, 100, 40));
        view->setAccessibilityLabel("Here");
        window->addSubview(container);
        container->addSubview(view);
        c.change(*container, *view);
        EXPECT_EQ(TouchInjector::viewsWithLabel(window, "Here").size(), c.found);
        container->removeFromSuperview();
    }
    EXPECT_TRUE(TouchInjector::viewsWithLabel(nullptr, "Go").empty());
}

TEST_F(TouchInjectorFindTest, ButtonsAreFoundByTitleWhileEnabled) {
    auto button = UIButton::initWithFrame(CGRectMake(10, 10, 80, 30));
    button->setTitleForState("Go", UIControlStateNormal);
    auto inside = UIView::initWithFrame(CGRectMake(0, 0, 10, 10));
    inside->setAccessibilityLabel("Go");
    button->addSubview(inside);
    container->addSubview(button);
    // Back to front: the fixture's view, then the button and what it holds.
    EXPECT_EQ(TouchInjector::viewsWithLabel(window, "Go"),
              (std::vector<std::shared_ptr<UIView>>{view, button, inside}));
    button->setEnabled(false);
    EXPECT_EQ(TouchInjector::viewsWithLabel(window, "Go"),
              (std::vector<std::shared_ptr<UIView>>{view}));
}

TEST_F(TouchInjectorFindTest, TheTapPointIsTheCentreOfWhatIsOnScreen) {
    EXPECT_EQ(TouchInjector::tapPointOfView(*view), CGPointMake(150, 120));
    container->setFrame(CGRectMake(0, 20, 320, 460));
    view->setFrame(CGRectMake(220, 0, 200, 40));
    EXPECT_EQ(TouchInjector::tapPointOfView(*view), CGPointMake(270, 40));
}

TEST(TouchGesture, ShapesOfTheGestures) {
    const TouchGesture tap = TouchGesture::tap(CGPointMake(1, 2));
    ASSERT_EQ(tap.frames().size(), 2u);
    EXPECT_EQ(tap.frames()[0].fingers[0].phase, UITouchPhase::Began);
    EXPECT_EQ(tap.frames()[1].fingers[0].phase, UITouchPhase::Ended);
    EXPECT_EQ(tap.duration(), TouchGesture::kTapDuration);

    // The second tap of a double tap lands well within the multiple-tap interval.
    const TouchGesture twice = TouchGesture::doubleTap(CGPointMake(1, 2));
    ASSERT_EQ(twice.frames().size(), 4u);
    EXPECT_LT(twice.frames()[2].time - twice.frames()[1].time, UITouch::kMultipleTapInterval);

    // Even an instant drag moves twice, and ends where it was going.
    for (double seconds : {0.0, -1.0, 0.001, 0.5}) {
        SCOPED_TRACE(seconds);
        const TouchGesture drag =
            TouchGesture::drag(CGPointMake(0, 0), CGPointMake(30, 40), seconds);
        const auto& frames = drag.frames();
        ASSERT_GE(frames.size(), 4u);
        EXPECT_EQ(frames[1].fingers[0].phase, UITouchPhase::Moved);
        EXPECT_EQ(frames.back().fingers[0].phase, UITouchPhase::Ended);
        EXPECT_EQ(frames.back().fingers[0].location, CGPointMake(30, 40));
        EXPECT_EQ(drag.duration(), std::max(seconds, 0.0));
    }
    EXPECT_EQ(TouchGesture::drag({}, {}, 0.5).frames().size(), 32u) << "a move every 1/60 s";

    // Held still first: the first move comes only after the hold.
    const TouchGesture held = TouchGesture::pressAndDrag({}, CGPointMake(30, 40), 0.6, 0.2);
    ASSERT_GE(held.frames().size(), 3u);
    EXPECT_EQ(held.frames()[0].time, 0);
    EXPECT_GT(held.frames()[1].time, 0.6);
    EXPECT_EQ(held.frames()[1].fingers[0].phase, UITouchPhase::Moved);
    EXPECT_DOUBLE_EQ(held.duration(), 0.8);

    // Two fingers, their distance and angle as asked.
    const TouchGesture pinchGesture = TouchGesture::pinch(CGPointMake(100, 100), 50, 150, 0.2);
    const auto& pinch = pinchGesture.frames();
    const auto distance = [](const TouchGesture::Frame& frame) {
        const CGPoint a = frame.fingers[0].location, b = frame.fingers[1].location;
        return std::hypot(a.x - b.x, a.y - b.y);
    };
    EXPECT_DOUBLE_EQ(distance(pinch.front()), 50);
    EXPECT_DOUBLE_EQ(distance(pinch.back()), 150);
    const TouchGesture turnGesture =
        TouchGesture::rotate(CGPointMake(100, 100), 30, std::numbers::pi / 2, 0.2);
    const auto& turn = turnGesture.frames();
    EXPECT_NEAR(turn.back().fingers[1].location.x, 100, 1e-9);
    EXPECT_NEAR(turn.back().fingers[1].location.y, 130, 1e-9);
}

} // namespace
