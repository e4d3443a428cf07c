#include "platform/foundation/NSNotificationCenter.h"

#include "platform/dispatch/dispatch.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

class NSNotificationCenterTest : public ::testing::Test {
protected:
    // Registers an observer that appends `tag` to `calls` on every notification it gets.
    std::shared_ptr<NSObject> observe(const std::string& tag, const std::string& name,
                                      const std::shared_ptr<NSObject>& sender) {
        auto observer = std::make_shared<NSObject>();
        center->addObserverSelectorNameObject(
            observer, [this, tag](const NSNotification&) { calls.push_back(tag); }, name, sender);
        return observer;
    }

    TaskEnvironment environment;
    std::shared_ptr<NSNotificationCenter> center = std::make_shared<NSNotificationCenter>();
    std::vector<std::string> calls;
};

TEST_F(NSNotificationCenterTest, FiltersByNameAndSender) {
    auto senderA = std::make_shared<NSObject>();
    auto senderB = std::make_shared<NSObject>();
    std::vector<std::shared_ptr<NSObject>> observers{
        observe("any", "", nullptr),
        observe("saved", "Saved", nullptr),
        observe("saved by A", "Saved", senderA),
        observe("anything by B", "", senderB),
    };
    struct Case {
        std::string name;
        std::shared_ptr<NSObject> sender;
        std::vector<std::string> expected;
    } cases[] = {
        {"Saved", nullptr, {"any", "saved"}},
        {"Saved", senderA, {"any", "saved", "saved by A"}},
        {"Saved", senderB, {"any", "saved", "anything by B"}},
        {"Loaded", senderA, {"any"}},
        {"Loaded", senderB, {"any", "anything by B"}},
    };
    for (const Case& c : cases) {
        calls.clear();
        center->postNotificationNameObject(c.name, c.sender);
        EXPECT_EQ(calls, c.expected) << c.name << " from " << NSDescription(c.sender);
    }
}

TEST_F(NSNotificationCenterTest, DeliversTheNotificationItself) {
    auto sender = std::make_shared<NSObject>();
    PlistValue::Dictionary info{{"count", PlistValue(3)}};
    std::shared_ptr<NSObject> received;
    PlistValue::Dictionary receivedInfo;
    auto token = center->addObserverForNameObjectQueueUsingBlock(
        "Changed", nullptr, nullptr, [&](const NSNotification& notification) {
            EXPECT_EQ(notification.name(), "Changed");
            received = notification.object();
            receivedInfo = notification.userInfo();
        });
    center->postNotificationNameObjectUserInfo("Changed", sender, info);
    EXPECT_EQ(received, sender);
    EXPECT_EQ(receivedInfo, info);
}

TEST_F(NSNotificationCenterTest, DeadObserversAreSkipped) {
    auto kept = observe("kept", "Ping", nullptr);
    observe("dropped", "Ping", nullptr); // its only owner is gone at once
    center->postNotificationNameObject("Ping", nullptr);
    center->postNotificationNameObject("Ping", nullptr);
    EXPECT_EQ(calls, (std::vector<std::string>{"kept", "kept"}));
}

TEST_F(NSNotificationCenterTest, SenderFilterHoldsTheSenderWeakly) {
    auto sender = std::make_shared<NSObject>();
    std::weak_ptr<NSObject> watch = sender;
    auto observer = observe("observer", "Ping", sender);
    sender.reset();
    EXPECT_TRUE(watch.expired());
    center->postNotificationNameObject("Ping", std::make_shared<NSObject>());
    EXPECT_TRUE(calls.empty()) << "a dead sender matches no one else";
}

TEST_F(NSNotificationCenterTest, ChangesDuringAPostFollowTheSnapshot) {
    std::shared_ptr<NSObject> second;
    std::shared_ptr<NSObject> added;
    auto first = std::make_shared<NSObject>();
    center->addObserverSelectorNameObject(
        first,
        [&](const NSNotification&) {
            calls.push_back("first");
            center->removeObserver(second);
            if (!added) {
                added = observe("added", "Ping", nullptr);
            }
        },
        "Ping", nullptr);
    second = observe("second", "Ping", nullptr);

    center->postNotificationNameObject("Ping", nullptr);
    EXPECT_EQ(calls, (std::vector<std::string>{"first"}))
        << "removed during the post: not called; added during it: not yet";
    calls.clear();
    center->postNotificationNameObject("Ping", nullptr);
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "added"}));
}

TEST_F(NSNotificationCenterTest, RemovalByNameAndSenderLeavesTheRest) {
    auto sender = std::make_shared<NSObject>();
    auto observer = std::make_shared<NSObject>();
    for (const char* name : {"A", "B"}) {
        center->addObserverSelectorNameObject(
            observer, [this, name](const NSNotification&) { calls.push_back(name); }, name, sender);
    }
    center->removeObserverNameObject(observer, "A", nullptr);
    center->postNotificationNameObject("A", sender);
    center->postNotificationNameObject("B", sender);
    EXPECT_EQ(calls, (std::vector<std::string>{"B"}));

    center->removeObserverNameObject(observer, "", std::make_shared<NSObject>());
    center->postNotificationNameObject("B", sender);
    EXPECT_EQ(calls, (std::vector<std::string>{"B", "B"})) << "another sender: nothing removed";

    center->removeObserverNameObject(observer, "", sender);
    center->postNotificationNameObject("B", sender);
    EXPECT_EQ(calls, (std::vector<std::string>{"B", "B"}));
}

TEST_F(NSNotificationCenterTest, BlockObserverLivesUntilItsTokenIsRemoved) {
    int count = 0;
    std::weak_ptr<NSObject> tokenWatch = center->addObserverForNameObjectQueueUsingBlock(
        "Ping", nullptr, nullptr, [&](const NSNotification&) { ++count; });
    center->postNotificationNameObject("Ping", nullptr);
    EXPECT_EQ(count, 1) << "the centre keeps the registration without the caller's token";
    center->removeObserver(tokenWatch.lock());
    center->postNotificationNameObject("Ping", nullptr);
    EXPECT_EQ(count, 1);
    EXPECT_TRUE(tokenWatch.expired());
}

TEST_F(NSNotificationCenterTest, BlockWithAQueueRunsThereLater) {
    int count = 0;
    auto token = center->addObserverForNameObjectQueueUsingBlock(
        "Ping", nullptr, dispatch_get_main_queue(), [&](const NSNotification& notification) {
            EXPECT_EQ(notification.name(), "Ping");
            ++count;
        });
    center->postNotificationNameObject("Ping", nullptr);
    EXPECT_EQ(count, 0);
    environment.runUntilIdle();
    EXPECT_EQ(count, 1);
}

TEST_F(NSNotificationCenterTest, PostsAndRegistrationsFromManyThreads) {
    std::atomic<int> delivered{0};
    auto token = center->addObserverForNameObjectQueueUsingBlock(
        "Ping", nullptr, nullptr, [&](const NSNotification&) { ++delivered; });
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                auto churn = center->addObserverForNameObjectQueueUsingBlock(
                    "Other", nullptr, nullptr, [](const NSNotification&) {});
                center->postNotificationNameObject("Ping", nullptr);
                center->removeObserver(churn);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(delivered, 800);
}

} // namespace
