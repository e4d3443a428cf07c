// A rating prompt on a fresh home, with a window on screen, a delegate that records what it
// is told and a loopback store; the prompt's lookups wait until finishLookups() runs them.
#pragma once

#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSLocale.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"
#include "services/rateprompt/RatePrompt.h"
#include "tests/services/RecordingRatePromptDelegate.h"
#include "tests/support/LoopbackStore.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class RatePromptTestFixture : public ::testing::Test {
protected:
    void SetUp() override {
        NSLocale::setOverride("en_US", {"en-US"});
        ASSERT_TRUE(store.start());
        window->setRootViewController(root);
        window->makeKeyAndVisible();
        EventLog::clear();
        notificationToken =
            NSNotificationCenter::defaultCenter()->addObserverForNameObjectQueueUsingBlock(
                "", nullptr, nullptr, [this](const NSNotification& notification) {
                    if (notification.name().rfind("RatePrompt", 0) == 0) {
                        notifications.push_back(notification.name());
                    }
                });
        prompt = makePrompt();
    }
    void TearDown() override {
        NSNotificationCenter::defaultCenter()->removeObserver(notificationToken);
        NSLocale::clearOverride();
    }

    // A prompt asking the loopback store and telling the recorder.
    std::shared_ptr<RatePrompt> makePrompt() {
        auto made = RatePrompt::init();
        made->storeLookup()->setBaseURL(store.baseURL());
        made->setDelegate(recorder);
        return made;
    }
    // Runs the held lookups and hands their outcomes to the main thread.
    void finishLookups() { environment.runUntilIdle(); }
    // The classic alert on screen, or null.
    std::shared_ptr<UIAlertView> shownAlert() const {
        for (const auto& view : window->subviews()) {
            if (auto alert = std::dynamic_pointer_cast<UIAlertView>(view)) {
                return alert;
            }
        }
        return nullptr;
    }
    std::string lastEvent() const {
        auto entries = EventLog::entries();
        return entries.empty() ? "" : entries.back();
    }

    TaskEnvironment environment{TaskEnvironment::GlobalQueues::Manual};
    TestHome home;
    LoopbackStore store;
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 375, 667));
    std::shared_ptr<UIViewController> root = UIViewController::init();
    std::shared_ptr<RecordingRatePromptDelegate> recorder =
        std::make_shared<RecordingRatePromptDelegate>();
    std::vector<std::string> notifications;
    std::shared_ptr<NSObject> notificationToken;
    std::shared_ptr<RatePrompt> prompt;
};
