// Members bound to weakly held targets: they run with the sender while the target lives,
// and once it is gone nothing runs and nothing keeps it alive.
#include "platform/uikit/WeakAction.h"

#include "platform/foundation/NSNotification.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIControl.h"
#include "platform/uikit/UISlider.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// Writes what reaches it into a log the test owns, so that calls after its end would show.
class Listener : public NSObject {
public:
    explicit Listener(Log& log) : log_(log) {}

    void buttonTapped(const UIButton& button) {
        log_.push_back("tapped " + std::to_string(button.tag()));
        lastSender_ = &button;
    }
    void sliderMoved(UISlider& slider) {
        log_.push_back("moved " + std::to_string(slider.value()));
    }
    void poked() { log_.push_back("poked"); }
    virtual void notified(const NSNotification& notification) {
        log_.push_back("listener " + notification.name());
    }

    const UIControl* lastSender() const { return lastSender_; }

protected:
    Log& log_;

private:
    const UIControl* lastSender_ = nullptr;
};

class LoudListener : public Listener {
public:
    using Listener::Listener;
    void notified(const NSNotification& notification) override {
        log_.push_back("loud " + notification.name());
    }
};

TEST(WeakAction, AControlCallsTheMemberWithItselfWhileTheTargetLives) {
    Log log;
    auto listener = std::make_shared<Listener>(log);
    auto button = UIButton::buttonWithType(UIButtonType::Custom);
    button->setTag(7);
    button->addTargetActionForControlEvents(listener, &Listener::buttonTapped,
                                            UIControlEventTouchUpInside);
    button->addTargetActionForControlEvents(listener, &Listener::poked, UIControlEventTouchDown);
    auto slider = UISlider::initWithFrame(CGRectMake(0, 0, 100, 20));
    slider->setValue(0.5f);
    slider->addTargetActionForControlEvents(listener, &Listener::sliderMoved,
                                            UIControlEventValueChanged);

    button->sendActionsForControlEvents(UIControlEventTouchDown | UIControlEventTouchUpInside);
    slider->sendActionsForControlEvents(UIControlEventValueChanged);
    EXPECT_EQ(log, (Log{"poked", "tapped 7", "moved 0.500000"}));
    EXPECT_EQ(listener->lastSender(), button.get());

    // The control holds its target weakly too: the target ends with its last owner.
    std::weak_ptr<Listener> watch = listener;
    listener.reset();
    EXPECT_TRUE(watch.expired());
    button->sendActionsForControlEvents(UIControlEventAllEvents);
    slider->sendActionsForControlEvents(UIControlEventAllEvents);
    EXPECT_EQ(log.size(), 3u);
}

// Callers that do not check the target themselves (queued blocks, timers, completions)
// rely on the bound action alone.
TEST(WeakAction, TheBoundActionNeitherKeepsNorReachesAGoneTarget) {
    Log log;
    auto listener = std::make_shared<Listener>(log);
    auto button = UIButton::buttonWithType(UIButtonType::Custom);
    button->setTag(3);
    const auto notification = NSNotification::notificationWithNameObjectUserInfo("Ping", nullptr);

    UIControl::Action tapped = weakAction(listener, &Listener::buttonTapped);
    std::function<void()> queued = weakAction(listener, &Listener::poked);
    std::function<void(const NSNotification&)> observed = weakAction(listener, &Listener::notified);
    tapped(*button);
    queued();
    observed(*notification);
    EXPECT_EQ(log, (Log{"tapped 3", "poked", "listener Ping"}));

    std::weak_ptr<Listener> watch = listener;
    listener.reset();
    EXPECT_TRUE(watch.expired());
    tapped(*button);
    queued();
    observed(*notification);
    EXPECT_EQ(log.size(), 3u);
}

TEST(WeakAction, AVirtualMemberOfABaseClassReachesTheOverride) {
    Log log;
    auto listener = std::make_shared<LoudListener>(log);
    std::function<void(const NSNotification&)> observed = weakAction(listener, &Listener::notified);
    observed(*NSNotification::notificationWithNameObjectUserInfo("Ping", nullptr));
    EXPECT_EQ(log, (Log{"loud Ping"}));
}

// A callable given the object and the caller's arguments, with values of its own captured.
TEST(WeakAction, ABoundCallableRunsWithTheObjectAndArgumentsOnlyWhileTheTargetLives) {
    Log log;
    auto listener = std::make_shared<Listener>(log);
    const std::string word = "bound";
    std::function<void(int)> counted = weakCall(listener, [word](Listener& self, int count) {
        self.poked();
        EXPECT_EQ(word, "bound");
        EXPECT_EQ(count, 2);
    });
    std::function<void()> queued =
        weakCall(std::weak_ptr<Listener>(listener), [](Listener& self) { self.poked(); });
    counted(2);
    queued();
    EXPECT_EQ(log, (Log{"poked", "poked"}));

    std::weak_ptr<Listener> watch = listener;
    listener.reset();
    EXPECT_TRUE(watch.expired());
    counted(2);
    queued();
    EXPECT_EQ(log.size(), 2u);
}

} // namespace
