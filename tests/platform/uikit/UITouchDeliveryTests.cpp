// How the window hands touches to views: hit testing, the view fixed for a touch's life,
// the responder chain, tap counts, and recognisers seeing touches first.
#include "harness/TouchInjector.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIControl.h"
#include "platform/uikit/UIEvent.h"
#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/UITapGestureRecognizer.h"
#include "platform/uikit/UITouch.h"
#include "tests/platform/uikit/TouchFixture.h"

namespace {

using Log = std::vector<std::string>;

class UITouchDeliveryTest : public TouchTest {};

TEST_F(UITouchDeliveryTest, ATouchGoesToTheDeepestViewHitAndStaysWithIt) {
    auto parent = addRecordingView("parent", CGRectMake(0, 0, 200, 200));
    auto child = addRecordingView("child", CGRectMake(50, 50, 40, 40), parent);

    TouchInjector::tapAt(CGPointMake(60, 70));
    EXPECT_EQ(log, (Log{"child began", "child ended"}));
    EXPECT_EQ(child->lastLocation, CGPointMake(10, 20));

    // Dragged out of the child onto its parent, the touch still belongs to the child.
    log.clear();
    TouchInjector::drag(CGPointMake(60, 60), CGPointMake(150, 150), 0.05);
    EXPECT_EQ(log.front(), "child began");
    EXPECT_EQ(log.back(), "child ended");
    EXPECT_EQ(count("parent moved"), 0);
    EXPECT_EQ(child->lastLocation, CGPointMake(100, 100));
}

TEST_F(UITouchDeliveryTest, ViewsThatCannotBeTouchedAreSkipped) {
    struct Case {
        const char* what;
        std::function<void(UIView&)> change;
    };
    const Case cases[] = {
        {"hidden", [](UIView& view) { view.setHidden(true); }},
        {"interaction off", [](UIView& view) { view.setUserInteractionEnabled(false); }},
        {"nearly transparent", [](UIView& view) { view.setAlpha(0.005); }},
    };
    auto parent = addRecordingView("parent", CGRectMake(0, 0, 200, 200));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        log.clear();
        auto child = addRecordingView("child", CGRectMake(50, 50, 40, 40), parent);
        c.change(*child);
        TouchInjector::tapAt(CGPointMake(60, 60));
        EXPECT_EQ(log, (Log{"parent began", "parent ended"}));
        child->removeFromSuperview();
    }

    // A disabled control is passed by too; enabled, it takes the touch.
    log.clear();
    auto control = UIControl::initWithFrame(CGRectMake(50, 50, 40, 40));
    parent->addSubview(control);
    control->setEnabled(false);
    TouchInjector::tapAt(CGPointMake(60, 60));
    EXPECT_EQ(log, (Log{"parent began", "parent ended"}));
    log.clear();
    control->setEnabled(true);
    TouchInjector::tapAt(CGPointMake(60, 60));
    EXPECT_TRUE(log.empty());
}

TEST_F(UITouchDeliveryTest, ViewsThatDoNotHandleTouchesPassThemUpTheChain) {
    // Through a plain view and a screen's root view to the recording view holding them.
    auto holder = addRecordingView("holder", CGRectMake(0, 0, 300, 300));
    auto inner = UIViewController::init();
    inner->view()->setFrame(CGRectMake(0, 0, 200, 200));
    holder->addSubview(inner->view());
    auto plain = addView(CGRectMake(10, 10, 50, 50), inner->view());

    TouchInjector::drag(CGPointMake(20, 20), CGPointMake(40, 40), 0.05);
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log.front(), "holder began");
    EXPECT_EQ(log[1], "holder moved");
    EXPECT_EQ(log.back(), "holder ended");
    // The window passes on to the application, the end of the chain.
    EXPECT_EQ(window->nextResponder(), UIApplication::sharedApplication());
}

TEST_F(UITouchDeliveryTest, QuickTapsAtOnePlaceCountUp) {
    auto view = addRecordingView("view", CGRectMake(0, 0, 200, 200));
    TouchInjector::doubleTapAt(CGPointMake(50, 50));
    EXPECT_EQ(view->lastTapCount, 2u);

    struct Case {
        const char* what;
        double pause;
        CGPoint second;
        unsigned expected;
    };
    const Case cases[] = {
        {"soon and near", 0.1, CGPointMake(55, 55), 3},
        {"too late", 0.5, CGPointMake(50, 50), 1},
        {"too far", 0.1, CGPointMake(80, 50), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        environment.fastForwardBy(1);
        TouchInjector::doubleTapAt(CGPointMake(50, 50));
        environment.fastForwardBy(c.pause);
        TouchInjector::tapAt(c.second);
        EXPECT_EQ(view->lastTapCount, c.expected);
    }
}

TEST_F(UITouchDeliveryTest, EventsCarryTheirTouchesPerView) {
    auto left = addView(CGRectMake(0, 0, 100, 100));
    auto right = addView(CGRectMake(100, 0, 100, 100));
    const double now = environment.mockClock().monotonicNow();
    auto first = UITouch::initWithWindowLocationTimestamp(window, CGPointMake(10, 10), now);
    auto second = UITouch::initWithWindowLocationTimestamp(window, CGPointMake(150, 10), now);
    auto event = UIEvent::initWithTouchesTimestamp({first, second, nullptr}, now);
    UIApplication::sharedApplication()->sendEvent(event);

    EXPECT_EQ(event->allTouches().size(), 2u);
    EXPECT_EQ(event->timestamp(), now);
    EXPECT_EQ(event->touchesForView(left.get()), UITouchSet{first});
    EXPECT_EQ(event->touchesForView(right.get()), UITouchSet{second});
    EXPECT_EQ(first->window(), window);
    EXPECT_EQ(second->locationInView(right.get()), CGPointMake(50, 10));

    second->setPhaseLocationTimestamp(UITouchPhase::Moved, CGPointMake(160, 20), now + 0.1);
    EXPECT_EQ(second->previousLocationInView(nullptr), CGPointMake(150, 10));
    EXPECT_EQ(second->locationInView(nullptr), CGPointMake(160, 20));
    EXPECT_EQ(second->timestamp(), now + 0.1);
}

TEST_F(UITouchDeliveryTest, RecognisersSeeTouchesBeforeTheView) {
    // Logs its own touches, never recognising.
    class Watcher : public UIGestureRecognizer {
    public:
        explicit Watcher(Log& log) : log_(log) {}
        void touchesBeganWithEvent(const UITouchSet&, const UIEvent*) override {
            log_.push_back("watcher began");
        }
        void touchesEndedWithEvent(const UITouchSet&, const UIEvent*) override {
            log_.push_back("watcher ended");
        }

    private:
        Log& log_;
    };
    auto parent = addView(CGRectMake(0, 0, 200, 200));
    auto view = addRecordingView("view", CGRectMake(0, 0, 100, 100), parent);
    auto watcher = std::make_shared<Watcher>(log);
    parent->addGestureRecognizer(watcher);
    auto tap = UITapGestureRecognizer::initWithTargetAction(target, logStates("tap"));
    view->addGestureRecognizer(tap);

    TouchInjector::tapAt(CGPointMake(50, 50));
    // Recognisers before the view. The tap wins the touch: the
    // watcher hears no more of it, and the view's end becomes a cancel.
    EXPECT_EQ(log, (Log{"watcher began", "view began", "view cancelled", "tap ended"}));
    ASSERT_EQ(parent->gestureRecognizers().size(), 1u);
    EXPECT_EQ(watcher->view(), parent);

    // What a touch carries, and what a removed recogniser no longer gets.
    log.clear();
    parent->removeGestureRecognizer(watcher);
    EXPECT_EQ(watcher->view(), nullptr);
    EXPECT_TRUE(parent->gestureRecognizers().empty());
    tap->setCancelsTouchesInView(false);
    TouchInjector::tapAt(CGPointMake(50, 50));
    EXPECT_EQ(log, (Log{"view began", "tap ended", "view ended"}));
}

TEST_F(UITouchDeliveryTest, ARecogniserDelayingTouchesBeganKeepsThemFromTheView) {
    auto view = addRecordingView("view", CGRectMake(0, 0, 200, 200));
    auto pan = UIPanGestureRecognizer::initWithTargetAction(target, logStates("pan"));
    pan->setDelaysTouchesBegan(true);
    view->addGestureRecognizer(pan);

    // The pan wins: the view never hears of the touch.
    TouchInjector::drag(CGPointMake(20, 20), CGPointMake(120, 20), 0.1);
    EXPECT_EQ(count("view began"), 0);
    EXPECT_EQ(count("view cancelled"), 0);
    EXPECT_EQ(count("pan ended"), 1);

    // The pan fails when the finger lifts in place: the view gets it all then.
    log.clear();
    TouchInjector::tapAt(CGPointMake(20, 20));
    EXPECT_EQ(log, (Log{"view began", "view ended"}));
}

} // namespace
