#include "ads/signals/ZADScheduler.h"

#include "platform/dispatch/dispatch.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

TEST(ZADSchedulerTest, TasksRunOnTheirQueuesAtEachTickOfTheRunLoopsClock) {
    TaskEnvironment environment;
    auto scheduler = ZADScheduler::initWithInterval(10);
    auto queue = dispatch_queue_create("test.scheduler", DISPATCH_QUEUE_SERIAL);
    std::atomic<int> first{0};
    int second = 0;
    EXPECT_EQ(scheduler->taskIDScheduledOnQueueBlock(queue, [&] { ++first; }), 1);
    const long secondID =
        scheduler->taskIDScheduledOnQueueBlock(dispatch_get_main_queue(), [&] { ++second; });
    EXPECT_EQ(secondID, 2);
    EXPECT_EQ(scheduler->taskIDScheduledOnQueueBlock(queue, nullptr), ZADScheduler::kNoTask);
    EXPECT_EQ(scheduler->taskIDScheduledOnQueueBlock(nullptr, [] {}), ZADScheduler::kNoTask);

    environment.fastForwardBy(30);
    EXPECT_EQ(first, 0) << "not started";
    scheduler->start();
    scheduler->start();
    environment.fastForwardBy(9.9);
    EXPECT_EQ(first, 0);
    environment.fastForwardBy(0.1);
    environment.runUntilIdle();
    EXPECT_EQ(first, 1) << "one timer, however often started";
    EXPECT_EQ(second, 1);

    scheduler->unscheduleTaskWithID(secondID);
    scheduler->unscheduleTaskWithID(99);
    environment.fastForwardBy(20);
    environment.runUntilIdle();
    EXPECT_EQ(first, 3);
    EXPECT_EQ(second, 1);

    scheduler->stop();
    environment.fastForwardBy(30);
    environment.runUntilIdle();
    EXPECT_EQ(first, 3);
}

TEST(ZADSchedulerTest, ASchedulerLetGoStopsTicking) {
    TaskEnvironment environment;
    int ticks = 0;
    {
        auto scheduler = ZADScheduler::initWithInterval(1);
        scheduler->taskIDScheduledOnQueueBlock(dispatch_get_main_queue(), [&] { ++ticks; });
        scheduler->start();
        environment.fastForwardBy(1);
    }
    environment.fastForwardBy(5);
    EXPECT_EQ(ticks, 1);
}

} // namespace
