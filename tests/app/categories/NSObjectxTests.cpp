#include "app/categories/NSObject+x.h"
#include "platform/base/NSThread.h"
#include "platform/dispatch/GlobalThreadPool.h"
#include "platform/foundation/NSUserDefaults.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

namespace {
TEST(NSObjectx, ExecOnceOnKeyRunsOncePerKeyAcrossRelaunches) {
    TestHome home;
    int runs = 0;
    x::execOnceOnKeyBlock("firstLaunchTip", [&] { ++runs; });
    x::execOnceOnKeyBlock("firstLaunchTip", [&] { ++runs; });
    EXPECT_EQ(runs, 1);
    home.relaunchDefaults();
    x::execOnceOnKeyBlock("firstLaunchTip", [&] { ++runs; });
    EXPECT_EQ(runs, 1);
    x::execOnceOnKeyBlock("anotherKey", [&] { ++runs; });
    EXPECT_EQ(runs, 2);
}

TEST(NSObjectx, ExecOnceSetsItsFlagOnlyAfterTheBlockReturns) {
    TestHome home;
    bool flagDuringBlock = true;
    x::execOnceOnKeyBlock("tip", [&] {
        flagDuringBlock = NSUserDefaults::standardUserDefaults()->boolForKey("tip");
    });
    EXPECT_FALSE(flagDuringBlock);
    EXPECT_TRUE(NSUserDefaults::standardUserDefaults()->boolForKey("tip"));
}

TEST(NSObjectx, ReturnOnMainRunsTheCompletionOnTheMainThreadAfterTheTask) {
    TaskEnvironment environment(TaskEnvironment::GlobalQueues::Manual);
    std::vector<std::string> order;
    x::asyncTaskReturnOnMain([&] { order.push_back("task"); },
                             [&] {
                                 EXPECT_TRUE(NSThread::isMainThread());
                                 order.push_back("completion");
                             });
    environment.runMainLoopUntilIdle();
    EXPECT_TRUE(order.empty());
    EXPECT_TRUE(GlobalThreadPool::shared().runNextTask());
    environment.runUntilIdle();
    EXPECT_EQ(order, (std::vector<std::string>{"task", "completion"}));
}

TEST(NSObjectx, DelayedTasksWaitForTheirTime) {
    TaskEnvironment environment;
    int runs = 0;
    x::syncTaskOnMainAfter([&] { ++runs; }, 2.0);
    x::syncTask([&] { ++runs; });
    environment.runUntilIdle();
    EXPECT_EQ(runs, 1);
    environment.fastForwardBy(1.9);
    EXPECT_EQ(runs, 1);
    environment.fastForwardBy(0.1);
    EXPECT_EQ(runs, 2);
}
} // namespace
