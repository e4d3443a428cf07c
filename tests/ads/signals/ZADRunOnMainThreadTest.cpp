#include "ads/signals/ZADRunOnMainThread.h"

#include "platform/base/NSThread.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

TEST(ZADRunOnMainThreadTest, OnTheMainThreadRunsBeforeReturning) {
    TaskEnvironment environment;
    std::vector<int> order;
    ZADRunOnMainThread([&] { order.push_back(1); });
    order.push_back(2);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST(ZADRunOnMainThreadTest, FromAnotherThreadReturnsAtOnceAndRunsLaterOnTheMainThread) {
    TaskEnvironment environment;
    std::atomic<bool> ran{false};
    bool ranOnMain = false;
    bool ranBeforeReturning = true;
    std::thread([&] {
        ZADRunOnMainThread([&] {
            ranOnMain = NSThread::isMainThread();
            ran = true;
        });
        ranBeforeReturning = ran;
    }).join();
    EXPECT_FALSE(ranBeforeReturning);
    EXPECT_FALSE(ran);
    environment.runUntilIdle();
    EXPECT_TRUE(ran);
    EXPECT_TRUE(ranOnMain);
}

} // namespace
