#include "platform/base/NSRunLoop.h"

#include "platform/base/NSThread.h"
#include "tests/support/TaskEnvironment.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

class NSRunLoopTest : public ::testing::Test {
protected:
    TaskEnvironment environment;
    NSRunLoop& loop = NSRunLoop::mainRunLoop();
};

TEST_F(NSRunLoopTest, RunsTasksInOrderIncludingTasksTheyPost) {
    std::vector<int> order;
    loop.postTask([&] {
        order.push_back(1);
        loop.postTask([&] { order.push_back(3); });
    });
    loop.postTask([&] { order.push_back(2); });
    EXPECT_TRUE(loop.hasPendingWork());
    loop.runUntilIdle();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(loop.hasPendingWork());
}

TEST_F(NSRunLoopTest, TimersFireInOrderAtTheirMockTimes) {
    std::vector<std::pair<std::string, double>> fired;
    auto record = [&](std::string name) {
        return [&, name] { fired.emplace_back(name, environment.mockClock().monotonicNow()); };
    };
    loop.addTimer(3, record("late"));
    loop.addTimer(1, record("first"));
    loop.addTimer(1, record("second, same time"));
    uint64_t cancelled = loop.addTimer(2, record("cancelled"));
    loop.addTimer(1.5, [&] {
        fired.emplace_back("chained", environment.mockClock().monotonicNow());
        loop.addTimer(1, record("added by a timer"));
    });
    loop.cancelTimer(cancelled);
    EXPECT_EQ(loop.timerCount(), 4u);

    loop.runUntilIdle();
    EXPECT_TRUE(fired.empty()) << "nothing is due before time moves";

    environment.fastForwardBy(5);
    std::vector<std::pair<std::string, double>> expected{{"first", 1001},
                                                         {"second, same time", 1001},
                                                         {"chained", 1001.5},
                                                         {"added by a timer", 1002.5},
                                                         {"late", 1003}};
    EXPECT_EQ(fired, expected);
    EXPECT_EQ(environment.mockClock().monotonicNow(), 1005);
    EXPECT_EQ(loop.timerCount(), 0u);
}

TEST_F(NSRunLoopTest, SixtySecondTimerFiresOnlyWhenItsTimeIsReached) {
    bool fired = false;
    loop.addTimer(60, [&] { fired = true; });
    environment.fastForwardBy(59.9);
    EXPECT_FALSE(fired);
    environment.fastForwardBy(0.1);
    EXPECT_TRUE(fired);
}

TEST_F(NSRunLoopTest, RunsTasksPostedFromAnotherThread) {
    std::vector<int> order;
    std::thread poster([&] {
        for (int i = 0; i < 100; ++i) {
            loop.postTask([&order, i] { order.push_back(i); });
        }
    });
    poster.join();
    loop.runUntilIdle();
    ASSERT_EQ(order.size(), 100u);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(order[i], i);
    }
}

TEST_F(NSRunLoopTest, RunWakesForTasksFromAnotherThreadUntilStopped) {
    int ran = 0;
    std::thread poster([&] {
        for (int i = 0; i < 10; ++i) {
            loop.postTask([&] { ++ran; });
            std::this_thread::yield();
        }
        loop.postTask([&] { loop.stop(); });
    });
    loop.run();
    poster.join();
    EXPECT_EQ(ran, 10);
}

TEST_F(NSRunLoopTest, RunUntilIdleAlsoDispatchesOtherSourcesOnTheMainContext) {
    bool idleRan = false;
    g_idle_add(
        [](gpointer ran) -> gboolean {
            *static_cast<bool*>(ran) = true;
            return G_SOURCE_REMOVE;
        },
        &idleRan);
    loop.runUntilIdle();
    EXPECT_TRUE(idleRan);
}

TEST_F(NSRunLoopTest, RunUntilIdleGivesUpOnATaskThatRepostsItselfForever) {
    int runs = 0;
    std::function<void()> repost = [&] {
        ++runs;
        loop.postTask(repost);
    };
    loop.postTask(repost);
    loop.runUntilIdle();
    EXPECT_GT(runs, 1000);
    EXPECT_TRUE(loop.hasPendingWork());
}

TEST_F(NSRunLoopTest, FastForwardStopsAtATimerThatRearmsWithoutDelay) {
    std::function<void()> rearm = [&] { loop.addTimer(0, rearm); };
    loop.addTimer(1, rearm);
    environment.fastForwardBy(2);
    EXPECT_EQ(environment.mockClock().monotonicNow(), 1002) << "time still reaches the target";
}

TEST(NSRunLoopEnvironmentTest, LeftoverWorkDoesNotReachTheNextEnvironment) {
    bool fired = false;
    {
        TaskEnvironment first;
        NSRunLoop::mainRunLoop().addTimer(10, [&] { fired = true; });
        NSRunLoop::mainRunLoop().postTask([&] { fired = true; });
    }
    TaskEnvironment second;
    EXPECT_FALSE(NSRunLoop::mainRunLoop().hasPendingWork());
    second.fastForwardBy(20);
    EXPECT_FALSE(fired);
}

// A clock that jumps ten seconds each time it is read, so that runForSeconds sees its
// time pass without waiting for it: every timer is already due when the loop looks.
class JumpingClock : public Clock {
public:
    double monotonicNow() const override { return now_ += 10; }
    double dateNow() const override { return now_; }

private:
    mutable std::atomic<double> now_{0};
};

TEST(NSRunLoopClockTest, RunForSecondsRunsTheLoopUntilThatTimeHasPassed) {
    NSThread::markCurrentThreadAsMain();
    auto clock = std::make_shared<JumpingClock>();
    Clock::setCurrent(clock);
    NSRunLoop& loop = NSRunLoop::mainRunLoop();
    std::vector<std::string> ran;
    loop.postTask([&] { ran.push_back("task"); });
    loop.addTimer(0.5, [&] { ran.push_back("timer"); });
    const double before = clock->monotonicNow();
    loop.runForSeconds(3);
    EXPECT_EQ(ran, (std::vector<std::string>{"task", "timer"}));
    EXPECT_GE(clock->monotonicNow() - before, 3);
    EXPECT_FALSE(loop.hasPendingWork());
    Clock::setCurrent(nullptr);
}

} // namespace
