#include "platform/foundation/NSTimer.h"

#include "platform/base/NSRunLoop.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class NSTimerTest : public ::testing::Test {
protected:
    double now() { return environment.mockClock().monotonicNow(); }

    TaskEnvironment environment;
};

TEST_F(NSTimerTest, RepeatingTimerFiresEveryIntervalWithoutDrift) {
    std::vector<double> firedAt;
    auto timer = NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(
        10, true, [&](const std::shared_ptr<NSTimer>&) { firedAt.push_back(now()); });
    environment.fastForwardBy(35);
    EXPECT_EQ(firedAt, (std::vector<double>{1010, 1020, 1030}));
    EXPECT_TRUE(timer->isValid());
    EXPECT_EQ(timer->timeInterval(), 10);
    EXPECT_DOUBLE_EQ(timer->fireDate().timeIntervalSinceReferenceDate,
                     MockClock::kDefaultDateNow + 40);
    timer->invalidate();
    EXPECT_EQ(NSRunLoop::mainRunLoop().timerCount(), 0u);
}

TEST_F(NSTimerTest, InvalidatingInsideItsOwnBlockStopsItAndReleasesTheBlock) {
    auto captured = std::make_shared<int>(0);
    std::weak_ptr<int> capturedWatch = captured;
    std::weak_ptr<NSTimer> timerWatch;
    int count = 0;
    {
        auto timer = NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(
            1, true, [&count, captured](const std::shared_ptr<NSTimer>& timer) {
                if (++count == 2) {
                    timer->invalidate();
                }
            });
        timerWatch = timer;
    }
    captured.reset();
    environment.fastForwardBy(10);
    EXPECT_EQ(count, 2);
    EXPECT_TRUE(capturedWatch.expired()) << "the block is released";
    EXPECT_TRUE(timerWatch.expired()) << "the run loop lets go of an invalid timer";
}

TEST_F(NSTimerTest, RunLoopKeepsAScheduledOneShotTimerAliveUntilItFires) {
    int count = 0;
    std::weak_ptr<NSTimer> watch = NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(
        5, false, [&](const std::shared_ptr<NSTimer>&) { ++count; });
    environment.fastForwardBy(4);
    EXPECT_FALSE(watch.expired());
    environment.fastForwardBy(10);
    EXPECT_EQ(count, 1);
    EXPECT_TRUE(watch.expired());
}

TEST_F(NSTimerTest, UnscheduledTimerWaitsAndFiresAtOnceIfScheduledLate) {
    int count = 0;
    auto timer = NSTimer::timerWithTimeIntervalRepeatsBlock(
        2, false, [&](const std::shared_ptr<NSTimer>&) { ++count; });
    environment.fastForwardBy(5);
    EXPECT_EQ(count, 0);
    timer->scheduleOnMainRunLoop();
    environment.runUntilIdle();
    EXPECT_EQ(count, 1);
    EXPECT_FALSE(timer->isValid());
}

TEST_F(NSTimerTest, FireRunsTheBlockNowAndEndsOnlyOneShotTimers) {
    int oneShotCount = 0;
    int repeatingCount = 0;
    auto oneShot = NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(
        5, false, [&](const std::shared_ptr<NSTimer>&) { ++oneShotCount; });
    auto repeating = NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(
        5, true, [&](const std::shared_ptr<NSTimer>&) { ++repeatingCount; });
    environment.fastForwardBy(1);
    oneShot->fire();
    repeating->fire();
    EXPECT_EQ(oneShotCount, 1);
    EXPECT_FALSE(oneShot->isValid());
    EXPECT_TRUE(repeating->isValid());

    environment.fastForwardBy(4);
    EXPECT_EQ(oneShotCount, 1) << "an invalidated timer never fires";
    EXPECT_EQ(repeatingCount, 2) << "fire() leaves the schedule as it was";
    oneShot->fire();
    EXPECT_EQ(oneShotCount, 1);
    repeating->invalidate();
}

TEST_F(NSTimerTest, IntervalsAsReported) {
    struct Case {
        double interval;
        bool repeats;
        double reported;
    } cases[] = {
        {2.5, true, 2.5},
        {0, true, 0.0001},
        {-3, true, 0.0001},
        {2.5, false, 0},
    };
    for (const Case& c : cases) {
        auto timer = NSTimer::timerWithTimeIntervalRepeatsBlock(c.interval, c.repeats, nullptr);
        EXPECT_EQ(timer->timeInterval(), c.reported) << c.interval << " repeats " << c.repeats;
    }
}

TEST_F(NSTimerTest, ZeroIntervalRepeatsAtTheFloorInterval) {
    int count = 0;
    auto timer = NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(
        0, true, [&](const std::shared_ptr<NSTimer>&) { ++count; });
    environment.fastForwardBy(0.01);
    EXPECT_NEAR(count, 100, 1);
    timer->invalidate();
}

} // namespace
