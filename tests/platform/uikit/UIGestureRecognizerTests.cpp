// The recognisers under mock time, fed by the touch injector: what each recognises and
// fails, what they report, and how they share touches with each other and the views.
#include "harness/TouchInjector.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIEvent.h"
#include "platform/uikit/UILongPressGestureRecognizer.h"
#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/UIPinchGestureRecognizer.h"
#include "platform/uikit/UIRotationGestureRecognizer.h"
#include "platform/uikit/UITapGestureRecognizer.h"
#include "platform/uikit/UITouch.h"
#include "tests/platform/uikit/TouchFixture.h"

#include <numbers>

namespace {

using Log = std::vector<std::string>;
constexpr double kPi = std::numbers::pi;

class Delegate : public UIGestureRecognizerDelegate {
public:
    bool begin = true;
    bool simultaneous = false;
    bool receive = true;
    bool gestureRecognizerShouldBegin(UIGestureRecognizer&) override { return begin; }
    bool gestureRecognizerShouldRecognizeSimultaneouslyWithGestureRecognizer(
        UIGestureRecognizer&, UIGestureRecognizer&) override {
        return simultaneous;
    }
    bool gestureRecognizerShouldReceiveTouch(UIGestureRecognizer&, UITouch&) override {
        return receive;
    }
};

class UIGestureRecognizerTest : public TouchTest {
protected:
    std::shared_ptr<UIView> area = addView(CGRectMake(0, 0, 320, 480));
};

TEST_F(UIGestureRecognizerTest, TapsAreCountedInPlaceAndInTime) {
    const CGPoint p = CGPointMake(100, 100);
    struct Case {
        const char* what;
        unsigned taps;
        unsigned touches;
        std::function<void()> play;
        long recognitions;
    };
    auto tapTwice = [this, p](double pause, CGPoint second) {
        return [this, p, pause, second] {
            TouchInjector::tapAt(p);
            environment.fastForwardBy(pause);
            TouchInjector::tapAt(second);
        };
    };
    // Two fingers come down and lift together without moving.
    auto twoFingerTap = [p] { TouchInjector::pinch(p, 40, 40, 0.05); };
    const Case cases[] = {
        {"one tap", 1, 1, [p] { TouchInjector::tapAt(p); }, 1},
        {"a double tap", 2, 1, [p] { TouchInjector::doubleTapAt(p); }, 1},
        {"a double tap, one tap wanted", 1, 1, [p] { TouchInjector::doubleTapAt(p); }, 2},
        {"one tap, two wanted", 2, 1, [p] { TouchInjector::tapAt(p); }, 0},
        {"two slow taps", 2, 1, tapTwice(0.5, p), 0},
        {"two slow taps, one wanted", 1, 1, tapTwice(0.5, p), 2},
        {"two taps apart", 2, 1, tapTwice(0.1, CGPointMake(130, 100)), 0},
        {"a drag", 1, 1, [p] { TouchInjector::drag(p, CGPointMake(150, 100), 0.1); }, 0},
        {"a wobble", 1, 1, [p] { TouchInjector::drag(p, CGPointMake(106, 100), 0.03); }, 1},
        {"two fingers", 1, 2, twoFingerTap, 1},
        {"two fingers, one wanted", 1, 1, twoFingerTap, 0},
        {"one finger, two wanted", 1, 2, [p] { TouchInjector::tapAt(p); }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        log.clear();
        auto tap = UITapGestureRecognizer::initWithTargetAction(target, logStates("tap"));
        tap->setNumberOfTapsRequired(c.taps);
        tap->setNumberOfTouchesRequired(c.touches);
        area->addGestureRecognizer(tap);
        c.play();
        environment.fastForwardBy(1);
        EXPECT_EQ(count("tap ended"), c.recognitions);
        EXPECT_EQ(log.size(), size_t(c.recognitions)) << "only recognitions are reported";
        EXPECT_EQ(tap->state(), UIGestureRecognizerState::Possible) << "reset for the next";
        area->removeGestureRecognizer(tap);
    }
}

TEST_F(UIGestureRecognizerTest, ASingleTapWaitingForADoubleTapToFail) {
    auto single = UITapGestureRecognizer::initWithTargetAction(target, logStates("single"));
    auto twice = UITapGestureRecognizer::initWithTargetAction(target, logStates("double"));
    twice->setNumberOfTapsRequired(2);
    single->requireGestureRecognizerToFail(twice);
    area->addGestureRecognizer(single);
    area->addGestureRecognizer(twice);

    TouchInjector::doubleTapAt(CGPointMake(50, 50));
    environment.fastForwardBy(1);
    EXPECT_EQ(log, Log{"double ended"});

    log.clear();
    TouchInjector::tapAt(CGPointMake(50, 50));
    EXPECT_TRUE(log.empty()) << "the double tap may still come";
    environment.fastForwardBy(UITouch::kMultipleTapInterval);
    EXPECT_EQ(log, Log{"single ended"});
    EXPECT_EQ(single->locationInView(area.get()), CGPointMake(50, 50));
}

TEST_F(UIGestureRecognizerTest, LongPressNeedsTheTimeWithTheFingerStill) {
    const CGPoint p = CGPointMake(100, 100);
    struct Case {
        const char* what;
        std::function<void()> play;
        Log expected;
    };
    const Case cases[] = {
        {"too short", [p] { TouchInjector::longPressAt(p, 0.4); }, {}},
        {"long enough",
         [p] { TouchInjector::longPressAt(p, 0.6); },
         {"press began", "press ended"}},
        {"moved away before the time",
         [p] { TouchInjector::drag(p, CGPointMake(150, 100), 1.0); },
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        log.clear();
        auto press = UILongPressGestureRecognizer::initWithTargetAction(target, logStates("press"));
        area->addGestureRecognizer(press);
        c.play();
        environment.fastForwardBy(1);
        EXPECT_EQ(log, c.expected);
        area->removeGestureRecognizer(press);
    }

    // Moving within the allowance, the press begins, then reports every move.
    log.clear();
    auto press = UILongPressGestureRecognizer::initWithTargetAction(target, logStates("press"));
    EXPECT_EQ(press->minimumPressDuration(), 0.5);
    EXPECT_EQ(press->allowableMovement(), 10);
    area->addGestureRecognizer(press);
    TouchInjector::drag(p, CGPointMake(108, 100), 1.0);
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log.front(), "press began");
    EXPECT_EQ(log[1], "press changed");
    EXPECT_EQ(log.back(), "press ended");
    EXPECT_EQ(press->locationInView(nullptr), CGPointMake(108, 100));
}

TEST_F(UIGestureRecognizerTest, PanReportsTranslationAndVelocity) {
    CGPoint translation, velocity;
    std::vector<UIGestureRecognizerState> states;
    auto pan = UIPanGestureRecognizer::initWithTargetAction(target, [&](UIGestureRecognizer& r) {
        auto& pan = static_cast<UIPanGestureRecognizer&>(r);
        states.push_back(pan.state());
        translation = pan.translationInView(area.get());
        velocity = pan.velocityInView(nullptr);
    });
    area->addGestureRecognizer(pan);

    TouchInjector::drag(CGPointMake(100, 100), CGPointMake(200, 150), 0.3);
    ASSERT_GE(states.size(), 3u);
    EXPECT_EQ(states.front(), UIGestureRecognizerState::Began);
    EXPECT_EQ(states[1], UIGestureRecognizerState::Changed);
    EXPECT_EQ(states.back(), UIGestureRecognizerState::Ended);
    EXPECT_NEAR(translation.x, 100, 1e-9);
    EXPECT_NEAR(translation.y, 50, 1e-9);
    EXPECT_NEAR(velocity.x, 100 / 0.3, 1e-6);
    EXPECT_NEAR(velocity.y, 50 / 0.3, 1e-6);

    // In a view drawn at twice the size, the same travel is half as many points.
    auto zoomed = addView(CGRectMake(0, 0, 100, 100));
    zoomed->setTransform(CGAffineTransformMakeScale(2, 2));
    const CGPoint inZoomed = pan->translationInView(zoomed.get());
    EXPECT_NEAR(inZoomed.x, 50, 1e-9);
    EXPECT_NEAR(inZoomed.y, 25, 1e-9);
    pan->setTranslationInView(CGPointMake(5, 5), zoomed.get());
    EXPECT_NEAR(pan->translationInView(nullptr).x, 10, 1e-9);
}

TEST_F(UIGestureRecognizerTest, PanTranslationResetEachStepAddsUpToTheWholeDrag) {
    CGPoint total{};
    auto pan = UIPanGestureRecognizer::initWithTargetAction(target, [&](UIGestureRecognizer& r) {
        auto& pan = static_cast<UIPanGestureRecognizer&>(r);
        const CGPoint step = pan.translationInView(nullptr);
        total.x += step.x;
        total.y += step.y;
        pan.setTranslationInView(CGPointZero, nullptr);
    });
    area->addGestureRecognizer(pan);
    TouchInjector::drag(CGPointMake(10, 10), CGPointMake(70, 90), 0.2);
    EXPECT_NEAR(total.x, 60, 1e-9);
    EXPECT_NEAR(total.y, 80, 1e-9);

    // Travel short of the threshold is no pan.
    log.clear();
    pan->addTargetAction(target, logStates("pan"));
    TouchInjector::drag(CGPointMake(10, 10), CGPointMake(18, 10), 0.2);
    EXPECT_TRUE(log.empty());
}

TEST_F(UIGestureRecognizerTest, PanLimitedInFingersIgnoresAnyOtherNumber) {
    const auto dragWith = [](size_t fingers) {
        TouchInjector::perform(TouchGesture::motion(
            [fingers](double f) {
                std::vector<CGPoint> points;
                for (size_t i = 0; i < fingers; ++i) {
                    points.push_back(CGPointMake(100 + 40.0 * i + 80 * f, 100));
                }
                return points;
            },
            0.3));
    };
    struct Case {
        size_t minimum, maximum;
        std::vector<size_t> ignored, recognised;
    };
    // One finger for a tool, two for the scroll view beneath it.
    for (const auto& c : {Case{1, 1, {2}, {1}}, Case{2, SIZE_MAX, {1}, {2, 3}}}) {
        SCOPED_TRACE(c.minimum);
        auto pan = UIPanGestureRecognizer::initWithTargetAction(target, logStates("pan"));
        pan->setMinimumNumberOfTouches(c.minimum);
        pan->setMaximumNumberOfTouches(c.maximum);
        area->addGestureRecognizer(pan);
        for (size_t fingers : c.ignored) {
            log.clear();
            dragWith(fingers);
            EXPECT_TRUE(log.empty()) << fingers << " fingers";
        }
        for (size_t fingers : c.recognised) {
            log.clear();
            dragWith(fingers);
            ASSERT_FALSE(log.empty()) << fingers << " fingers";
            EXPECT_EQ(log.front(), "pan began");
        }
        area->removeGestureRecognizer(pan);
    }
}

TEST_F(UIGestureRecognizerTest, PanLimitedToOneFingerCountsNoTravelOfTwo) {
    CGPoint translation{};
    auto pan = UIPanGestureRecognizer::initWithTargetAction(target, [&](UIGestureRecognizer& r) {
        translation = static_cast<UIPanGestureRecognizer&>(r).translationInView(nullptr);
    });
    pan->setMaximumNumberOfTouches(1);
    area->addGestureRecognizer(pan);
    // By hand, as the injector's gestures keep their fingers down to the end: two fingers
    // drag 80 to the right, one lifts, and the other drags 30 down.
    double now = environment.mockClock().monotonicNow();
    const auto send = [&](UITouchSet touches) {
        UIApplication::sharedApplication()->sendEvent(
            UIEvent::initWithTouchesTimestamp(touches, now));
        environment.fastForwardBy(TouchGesture::kFrameInterval);
        now = environment.mockClock().monotonicNow();
    };
    auto first = UITouch::initWithWindowLocationTimestamp(window, CGPointMake(100, 100), now);
    auto second = UITouch::initWithWindowLocationTimestamp(window, CGPointMake(140, 100), now);
    send({first, second});
    first->setPhaseLocationTimestamp(UITouchPhase::Moved, CGPointMake(180, 100), now);
    second->setPhaseLocationTimestamp(UITouchPhase::Moved, CGPointMake(220, 100), now);
    send({first, second});
    first->setPhaseLocationTimestamp(UITouchPhase::Stationary, CGPointZero, now);
    second->setPhaseLocationTimestamp(UITouchPhase::Ended, CGPointMake(220, 100), now);
    send({first, second});
    first->setPhaseLocationTimestamp(UITouchPhase::Moved, CGPointMake(180, 130), now);
    send({first});
    EXPECT_EQ(pan->state(), UIGestureRecognizerState::Began);
    EXPECT_NEAR(translation.x, 0, 1e-9);
    EXPECT_NEAR(translation.y, 30, 1e-9);
    first->setPhaseLocationTimestamp(UITouchPhase::Ended, CGPointMake(180, 130), now);
    send({first});
}

TEST_F(UIGestureRecognizerTest, PinchScaleIsTheRatioOfDistances) {
    struct Case {
        double from, to, scale;
    };
    for (const auto& c : {Case{100, 200, 2}, Case{200, 50, 0.25}}) {
        SCOPED_TRACE(c.to);
        log.clear();
        double scale = 0, velocity = 0;
        auto pinch =
            UIPinchGestureRecognizer::initWithTargetAction(target, [&](UIGestureRecognizer& r) {
                auto& pinch = static_cast<UIPinchGestureRecognizer&>(r);
                log.push_back(stateName(pinch.state()));
                scale = pinch.scale();
                velocity = pinch.velocity();
            });
        area->addGestureRecognizer(pinch);
        TouchInjector::pinch(CGPointMake(160, 240), c.from, c.to, 0.3);
        EXPECT_EQ(log.front(), "began");
        EXPECT_EQ(log.back(), "ended");
        EXPECT_NEAR(scale, c.scale, 1e-9);
        EXPECT_GT(velocity * (c.to - c.from), 0) << "growing or shrinking, as the fingers go";
        area->removeGestureRecognizer(pinch);
    }
}

TEST_F(UIGestureRecognizerTest, PinchScaleSetMidwayMultipliesOn) {
    double product = 1;
    auto pinch =
        UIPinchGestureRecognizer::initWithTargetAction(target, [&](UIGestureRecognizer& r) {
            auto& pinch = static_cast<UIPinchGestureRecognizer&>(r);
            product *= pinch.scale();
            pinch.setScale(1);
        });
    area->addGestureRecognizer(pinch);
    TouchInjector::pinch(CGPointMake(160, 240), 80, 240, 0.3);
    EXPECT_NEAR(product, 3, 1e-9);
}

TEST_F(UIGestureRecognizerTest, RotationFollowsTheTurnOfTheFingers) {
    // Three quarters of a turn crosses the ±π seam of the angle.
    for (double radians : {kPi / 2, -kPi / 3, 1.5 * kPi}) {
        SCOPED_TRACE(radians);
        double rotation = 0;
        UIGestureRecognizerState last = UIGestureRecognizerState::Possible;
        auto rotate =
            UIRotationGestureRecognizer::initWithTargetAction(target, [&](UIGestureRecognizer& r) {
                rotation = static_cast<UIRotationGestureRecognizer&>(r).rotation();
                last = r.state();
            });
        area->addGestureRecognizer(rotate);
        TouchInjector::rotate(CGPointMake(160, 240), 60, radians, 0.5);
        EXPECT_EQ(last, UIGestureRecognizerState::Ended);
        EXPECT_NEAR(rotation, radians, 1e-9);
        area->removeGestureRecognizer(rotate);
    }
}

TEST_F(UIGestureRecognizerTest, OnlyOneRecogniserWinsUnlessADelegateAllowsBoth) {
    auto inner = addView(CGRectMake(0, 0, 200, 200), area);
    auto innerPan = UIPanGestureRecognizer::initWithTargetAction(target, logStates("inner"));
    auto outerPan = UIPanGestureRecognizer::initWithTargetAction(target, logStates("outer"));
    inner->addGestureRecognizer(innerPan);
    area->addGestureRecognizer(outerPan);
    auto innerDelegate = std::make_shared<Delegate>();
    auto outerDelegate = std::make_shared<Delegate>();
    innerPan->setDelegate(innerDelegate);
    outerPan->setDelegate(outerDelegate);
    const auto drag = [] { TouchInjector::drag(CGPointMake(50, 50), CGPointMake(150, 50), 0.1); };

    struct Case {
        const char* what;
        bool innerSimultaneous, outerSimultaneous, innerBegins;
        long innerEnded, outerEnded;
    };
    const Case cases[] = {
        {"the deepest wins", false, false, true, 1, 0},
        {"the inner delegate allows both", true, false, true, 1, 1},
        {"the outer delegate allows both", false, true, true, 1, 1},
        {"the inner one may not begin", false, false, false, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        log.clear();
        innerDelegate->simultaneous = c.innerSimultaneous;
        outerDelegate->simultaneous = c.outerSimultaneous;
        innerDelegate->begin = c.innerBegins;
        drag();
        EXPECT_EQ(count("inner ended"), c.innerEnded);
        EXPECT_EQ(count("outer ended"), c.outerEnded);
        EXPECT_EQ(count("inner began"), c.innerEnded);
        EXPECT_EQ(count("outer began"), c.outerEnded);
    }
}

TEST_F(UIGestureRecognizerTest, TouchesKeptFromARecogniserGoToTheView) {
    auto view = addRecordingView("view", CGRectMake(0, 0, 200, 200), area);
    auto tap = UITapGestureRecognizer::initWithTargetAction(target, logStates("tap"));
    view->addGestureRecognizer(tap);
    auto delegate = std::make_shared<Delegate>();
    delegate->receive = false;
    tap->setDelegate(delegate);
    TouchInjector::tapAt(CGPointMake(50, 50));
    EXPECT_EQ(log, (Log{"view began", "view ended"}));

    // Disabled, the same.
    log.clear();
    delegate->receive = true;
    tap->setEnabled(false);
    TouchInjector::tapAt(CGPointMake(50, 50));
    EXPECT_EQ(log, (Log{"view began", "view ended"}));

    // Enabled again, with its target gone: it still takes the tap, but calls nothing.
    log.clear();
    tap->setEnabled(true);
    target.reset();
    TouchInjector::tapAt(CGPointMake(50, 50));
    EXPECT_EQ(log, (Log{"view began", "view cancelled"}));
}

TEST_F(UIGestureRecognizerTest, DisablingARecogniserUnderWayCancelsIt) {
    auto press = UILongPressGestureRecognizer::initWithTargetAction(target, logStates("press"));
    press->addTargetAction(target, [](UIGestureRecognizer& r) {
        if (r.state() == UIGestureRecognizerState::Began) {
            r.setEnabled(false);
        }
    });
    area->addGestureRecognizer(press);
    TouchInjector::longPressAt(CGPointMake(50, 50), 1);
    EXPECT_EQ(log, (Log{"press began", "press cancelled"}));
    EXPECT_EQ(press->state(), UIGestureRecognizerState::Possible);
}

TEST_F(UIGestureRecognizerTest, AControlKeepsItsTapsFromATapRecogniserAround) {
    auto button = UIButton::initWithFrame(CGRectMake(10, 10, 80, 40));
    area->addSubview(button);
    button->addTargetActionForControlEvents(
        target, [this](UIControl&) { log.push_back("button"); }, UIControlEventTouchUpInside);
    auto tap = UITapGestureRecognizer::initWithTargetAction(target, logStates("tap"));
    auto twice = UITapGestureRecognizer::initWithTargetAction(target, logStates("double"));
    twice->setNumberOfTapsRequired(2);
    area->addGestureRecognizer(tap);
    area->addGestureRecognizer(twice);

    TouchInjector::tapAt(CGPointMake(50, 30));
    EXPECT_EQ(log, Log{"button"});
    log.clear();
    TouchInjector::tapAt(CGPointMake(200, 200));
    environment.fastForwardBy(1);
    EXPECT_EQ(log, Log{"tap ended"});
    // Only single taps are the control's.
    log.clear();
    TouchInjector::doubleTapAt(CGPointMake(50, 30));
    EXPECT_EQ(count("double ended"), 1);
}

} // namespace
