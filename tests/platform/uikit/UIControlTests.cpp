// Controls under injected touches: which control events a touch makes, the states, the
// tracking hooks; and a button's values per state.
#include "harness/TouchInjector.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/UITouch.h"
#include "tests/platform/uikit/TouchFixture.h"

namespace {

using Log = std::vector<std::string>;

const std::pair<unsigned, const char*> kEventNames[] = {
    {UIControlEventTouchDown, "down"},
    {UIControlEventTouchDownRepeat, "repeat"},
    {UIControlEventTouchDragInside, "drag inside"},
    {UIControlEventTouchDragOutside, "drag outside"},
    {UIControlEventTouchDragEnter, "enter"},
    {UIControlEventTouchDragExit, "exit"},
    {UIControlEventTouchUpInside, "up inside"},
    {UIControlEventTouchUpOutside, "up outside"},
    {UIControlEventTouchCancel, "cancel"},
    {UIControlEventValueChanged, "value"},
};

class UIControlTest : public TouchTest {
protected:
    UIControlTest() {
        root->addSubview(button);
        // One action per event, so that the log names the event.
        for (const auto& [event, name] : kEventNames) {
            button->addTargetActionForControlEvents(
                target,
                [this, name = std::string(name)](UIControl& control) {
                    log.push_back(name + (control.isHighlighted() ? " (lit)" : ""));
                },
                event);
        }
    }
    // Collapses runs of the same entry, so that a drag reads as its stages.
    Log stages() const {
        Log result;
        for (const auto& entry : log) {
            if (result.empty() || result.back() != entry) {
                result.push_back(entry);
            }
        }
        return result;
    }

    std::shared_ptr<UIButton> button = UIButton::initWithFrame(CGRectMake(100, 100, 100, 50));
};

TEST_F(UIControlTest, ATapInsideFiresTouchUpInsideOnce) {
    TouchInjector::tapAt(CGPointMake(150, 125));
    EXPECT_EQ(log, (Log{"down (lit)", "up inside"}));
    EXPECT_FALSE(button->isHighlighted());
    EXPECT_FALSE(button->isTracking());
}

TEST_F(UIControlTest, DragsReportLeavingAndComingBack) {
    struct Case {
        const char* what;
        CGPoint to;
        Log expected;
    };
    const Case cases[] = {
        {"ends inside", CGPointMake(190, 140), {"down (lit)", "drag inside (lit)", "up inside"}},
        {"ends outside",
         CGPointMake(300, 125),
         {"down (lit)", "drag inside (lit)", "exit", "drag outside", "up outside"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        log.clear();
        TouchInjector::drag(CGPointMake(110, 125), c.to, 0.2);
        EXPECT_EQ(stages(), c.expected);
    }

    // Out and back in.
    log.clear();
    TouchInjector::drag(CGPointMake(190, 125), CGPointMake(300, 125), 0.2);
    TouchInjector::drag(CGPointMake(300, 125), CGPointMake(110, 125), 0.2);
    EXPECT_EQ(count("up inside"), 0);
}

TEST_F(UIControlTest, ADisabledControlIgnoresTouches) {
    button->setEnabled(false);
    EXPECT_EQ(button->state(), unsigned(UIControlStateDisabled));
    TouchInjector::tapAt(CGPointMake(150, 125));
    EXPECT_TRUE(log.empty());
}

TEST_F(UIControlTest, TheSecondTapOfADoubleTapIsARepeat) {
    TouchInjector::doubleTapAt(CGPointMake(150, 125));
    EXPECT_EQ(log, (Log{"down (lit)", "up inside", "down (lit)", "repeat (lit)", "up inside"}));
}

TEST_F(UIControlTest, APanAroundTheControlCancelsItsTouch) {
    auto pan = UIPanGestureRecognizer::initWithTargetAction(target, [](UIGestureRecognizer&) {});
    root->addGestureRecognizer(pan);
    TouchInjector::drag(CGPointMake(110, 125), CGPointMake(190, 125), 0.2);
    // The control follows the finger until the pan has seen it travel far enough.
    EXPECT_EQ(stages(), (Log{"down (lit)", "drag inside (lit)", "cancel"}));
    EXPECT_FALSE(button->isHighlighted());
}

TEST_F(UIControlTest, ActionsAreRemovedByTargetAndEvent) {
    auto other = std::make_shared<NSObject>();
    button->addTargetActionForControlEvents(
        other, [this](UIControl&) { log.push_back("other"); },
        UIControlEventTouchUpInside | UIControlEventTouchDown);

    button->removeTargetActionForControlEvents(other, UIControlEventTouchDown);
    button->sendActionsForControlEvents(UIControlEventTouchDown | UIControlEventTouchUpInside);
    EXPECT_EQ(log, (Log{"down", "up inside", "other"}));

    // A target gone calls nothing.
    log.clear();
    other.reset();
    button->sendActionsForControlEvents(UIControlEventTouchUpInside);
    EXPECT_EQ(log, Log{"up inside"});

    // A null target stands for all of them.
    log.clear();
    button->removeTargetActionForControlEvents({}, UIControlEventAllEvents);
    button->sendActionsForControlEvents(UIControlEventAllEvents);
    EXPECT_TRUE(log.empty());
}

TEST_F(UIControlTest, TrackingHooksFollowTheControlsTouch) {
    // Follows the finger along its width, as a slider would; stops following past 150.
    class Slider : public UIControl {
    public:
        explicit Slider(Log& log) : log_(log) {}
        bool beginTrackingWithTouchWithEvent(const UITouch& touch, const UIEvent*) override {
            log_.push_back("begin");
            return true;
        }
        bool continueTrackingWithTouchWithEvent(const UITouch& touch, const UIEvent*) override {
            log_.push_back("continue");
            value = touch.locationInView(this).x;
            sendActionsForControlEvents(UIControlEventValueChanged);
            return value < 150;
        }
        void endTrackingWithTouchWithEvent(const UITouch*, const UIEvent*) override {
            log_.push_back("end");
        }
        double value = 0;

    private:
        Log& log_;
    };
    auto slider = std::make_shared<Slider>(log);
    slider->setFrame(CGRectMake(0, 300, 300, 40));
    root->addSubview(slider);
    slider->addTargetActionForControlEvents(
        target, [this](UIControl&) { log.push_back("value"); }, UIControlEventValueChanged);

    TouchInjector::drag(CGPointMake(10, 320), CGPointMake(100, 320), 0.1);
    EXPECT_EQ(log.front(), "begin");
    EXPECT_EQ(log[1], "continue");
    EXPECT_EQ(log[2], "value");
    EXPECT_EQ(log.back(), "end");
    EXPECT_GE(count("continue"), 2);
    EXPECT_EQ(count("continue"), count("value"));
    EXPECT_EQ(slider->value, 100);

    // Once continue says no, the hooks stop; the drag goes on to the end without them.
    log.clear();
    TouchInjector::drag(CGPointMake(10, 320), CGPointMake(290, 320), 0.1);
    EXPECT_EQ(log.front(), "begin");
    EXPECT_EQ(log.back(), "value");
    EXPECT_EQ(count("end"), 0);
    EXPECT_GE(slider->value, 150);
    EXPECT_LT(slider->value, 290);
}

TEST(UIButton, ValuesPerStateFallBackToNormal) {
    auto button = UIButton::buttonWithType(UIButtonType::System);
    EXPECT_EQ(button->buttonType(), UIButtonType::System);
    auto red = UIColor::redColor();
    auto blue = UIColor::blueColor();
    button->setTitleForState("Save", UIControlStateNormal);
    button->setTitleForState("Saving", UIControlStateHighlighted);
    button->setTitleColorForState(red, UIControlStateNormal);
    button->setTitleColorForState(blue, UIControlStateSelected);

    struct Case {
        unsigned state;
        const char* title;
        std::shared_ptr<UIColor> color;
    };
    const Case cases[] = {
        {UIControlStateNormal, "Save", red},
        {UIControlStateHighlighted, "Saving", red},
        {UIControlStateSelected, "Save", blue},
        {UIControlStateSelected | UIControlStateHighlighted, "Save", red},
        {UIControlStateDisabled, "Save", red},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        EXPECT_EQ(button->titleForState(c.state), c.title);
        EXPECT_EQ(button->titleColorForState(c.state), c.color);
    }

    // The current values follow the control's state.
    button->setSelected(true);
    EXPECT_EQ(button->currentTitleColor(), blue);
    button->setSelected(false);
    button->setHighlighted(true);
    EXPECT_EQ(button->state(), unsigned(UIControlStateHighlighted));
    EXPECT_EQ(button->currentTitle(), "Saving");
    // An empty value takes the state's own away.
    button->setTitleForState("", UIControlStateHighlighted);
    EXPECT_EQ(button->currentTitle(), "Save");
    EXPECT_EQ(button->currentImage(), nullptr);
    EXPECT_EQ(button->currentBackgroundImage(), nullptr);
    EXPECT_TRUE(button->adjustsImageWhenHighlighted());
}

TEST(UIButton, AccessibilityLabelIsTheTitleUnlessSet) {
    auto button = UIButton::initWithFrame(CGRectMake(0, 0, 10, 10));
    EXPECT_EQ(button->buttonType(), UIButtonType::Custom);
    button->setTitleForState("Share", UIControlStateNormal);
    const UIView& view = *button;
    EXPECT_EQ(view.accessibilityLabel(), "Share");
    button->setAccessibilityLabel("Share the collage");
    EXPECT_EQ(view.accessibilityLabel(), "Share the collage");
}

} // namespace
