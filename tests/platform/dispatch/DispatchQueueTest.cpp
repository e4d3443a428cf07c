#include "platform/dispatch/dispatch.h"

#include "platform/base/NSRunLoop.h"
#include "platform/base/NSThread.h"
#include "platform/dispatch/GlobalThreadPool.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

TEST(DispatchQueueTest, QueuesByPriorityAndAttribute) {
    TaskEnvironment environment;
    dispatch_queue_t normal = dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0);
    dispatch_queue_t high = dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_HIGH, 0);
    EXPECT_EQ(normal, dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0));
    EXPECT_EQ(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_BACKGROUND, 0),
              dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_BACKGROUND, 0));
    EXPECT_NE(normal, high);
    EXPECT_EQ(dispatch_get_global_queue(7, 0), normal) << "unknown priority: the default";

    EXPECT_TRUE(dispatch_get_main_queue()->isMain());
    EXPECT_EQ(dispatch_get_main_queue(), dispatch_get_main_queue());
    dispatch_queue_t serial = dispatch_queue_create("photos.save", DISPATCH_QUEUE_SERIAL);
    EXPECT_EQ(serial->label(), "photos.save");
    EXPECT_FALSE(serial->isMain());
    EXPECT_NE(serial, dispatch_queue_create("photos.save", DISPATCH_QUEUE_SERIAL));
}

TEST(DispatchQueueTest, CurrentQueueFollowsTheRunningTask) {
    TaskEnvironment environment(TaskEnvironment::GlobalQueues::Manual);
    dispatch_queue_t serial = dispatch_queue_create("serial", DISPATCH_QUEUE_SERIAL);
    dispatch_queue_t global = dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_HIGH, 0);
    std::vector<dispatch_queue_t> seen;
    auto record = [&] { seen.push_back(dispatch_get_current_queue()); };
    record();
    dispatch_async(serial, record);
    dispatch_async(global, record);
    dispatch_async(dispatch_get_main_queue(), record);
    environment.runUntilIdle();
    EXPECT_EQ(seen, (std::vector<dispatch_queue_t>{dispatch_get_main_queue(), serial, global,
                                                   dispatch_get_main_queue()}));

    dispatch_queue_t onOtherThread;
    std::thread([&] { onOtherThread = dispatch_get_current_queue(); }).join();
    EXPECT_EQ(onOtherThread, dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0));
}

TEST(DispatchQueueTest, AfterWaitsForMockTime) {
    TaskEnvironment environment(TaskEnvironment::GlobalQueues::Manual);
    dispatch_queue_t global = dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0);
    bool onMain = false;
    dispatch_queue_t ranOn;
    dispatch_after(2, dispatch_get_main_queue(), [&] { onMain = NSThread::isMainThread(); });
    dispatch_after(3, global, [&] { ranOn = dispatch_get_current_queue(); });
    environment.fastForwardBy(1.9);
    EXPECT_FALSE(onMain);
    environment.fastForwardBy(0.1);
    EXPECT_TRUE(onMain);

    environment.fastForwardBy(0.9);
    EXPECT_FALSE(ranOn);
    environment.fastForwardBy(0.1);
    EXPECT_EQ(ranOn, global) << "the timer hands the block to its queue";
}

TEST(DispatchQueueTest, AfterFromAnotherThreadIsTimedOnTheMainLoop) {
    TaskEnvironment environment;
    bool ran = false;
    std::thread([&] { dispatch_after(5, dispatch_get_main_queue(), [&] { ran = true; }); }).join();
    environment.fastForwardBy(4.9);
    EXPECT_FALSE(ran);
    environment.fastForwardBy(0.1);
    EXPECT_TRUE(ran);
}

TEST(DispatchQueueTest, SerialQueueRunsOneTaskAtATimeInOrderOnThreads) {
    TaskEnvironment environment;
    dispatch_queue_t serial = dispatch_queue_create("ordered", DISPATCH_QUEUE_SERIAL);
    std::vector<int> order; // unguarded on purpose: the queue is its only guard
    std::atomic<int> running{0};
    std::atomic<bool> overlapped{false};
    std::atomic<bool> offMain{true};
    for (int i = 0; i < 500; ++i) {
        dispatch_async(serial, [&, i] {
            if (++running > 1) {
                overlapped = true;
            }
            if (NSThread::isMainThread()) {
                offMain = false;
            }
            order.push_back(i);
            --running;
        });
        // Concurrent noise on the same pool.
        dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0), [] {});
    }
    size_t count = 0;
    dispatch_sync(serial, [&] { count = order.size(); });
    EXPECT_EQ(count, 500u);
    EXPECT_FALSE(overlapped);
    EXPECT_TRUE(offMain);
    for (int i = 0; i < 500; ++i) {
        ASSERT_EQ(order[i], i);
    }
}

TEST(DispatchQueueTest, GlobalQueueRunsTasksConcurrently) {
    TaskEnvironment environment;
    // Two tasks that each wait for the other can only finish side by side.
    std::mutex mutex;
    std::condition_variable bothArrived;
    int arrived = 0;
    int finished = 0;
    for (int i = 0; i < 2; ++i) {
        dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0), [&] {
            std::unique_lock lock(mutex);
            ++arrived;
            bothArrived.notify_all();
            bothArrived.wait(lock, [&] { return arrived == 2; });
            ++finished;
        });
    }
    environment.runUntilIdle();
    std::lock_guard lock(mutex);
    EXPECT_EQ(finished, 2);
}

TEST(DispatchQueueTest, SyncToMainFromAnotherThreadWaitsForTheMainLoop) {
    TaskEnvironment environment;
    int value = 0;
    std::thread worker([&] {
        dispatch_sync(dispatch_get_main_queue(), [&] { value = 42; });
        EXPECT_EQ(value, 42);
        NSRunLoop::mainRunLoop().stop();
    });
    NSRunLoop::mainRunLoop().run();
    worker.join();
    EXPECT_EQ(value, 42);
}

TEST(DispatchQueueTest, SyncToMainFromAManuallySteppedGlobalTaskRunsInline) {
    TaskEnvironment environment(TaskEnvironment::GlobalQueues::Manual);
    dispatch_queue_t global = dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0);
    std::vector<std::string> steps;
    dispatch_async(global, [&] {
        steps.push_back("global");
        dispatch_sync(dispatch_get_main_queue(), [&] {
            EXPECT_TRUE(dispatch_get_current_queue()->isMain());
            steps.push_back("main");
        });
        EXPECT_EQ(dispatch_get_current_queue(), global);
        steps.push_back("global again");
    });
    ASSERT_TRUE(GlobalThreadPool::shared().runNextTask());
    EXPECT_EQ(steps, (std::vector<std::string>{"global", "main", "global again"}));
}

TEST(DispatchQueueTest, SyncToASerialQueueUnderManualSteppingRunsWhatIsAhead) {
    TaskEnvironment environment(TaskEnvironment::GlobalQueues::Manual);
    dispatch_queue_t serial = dispatch_queue_create("serial", DISPATCH_QUEUE_SERIAL);
    std::vector<std::string> steps;
    dispatch_async(serial, [&] { steps.push_back("queued"); });
    dispatch_sync(serial, [&] { steps.push_back("sync"); });
    EXPECT_EQ(steps, (std::vector<std::string>{"queued", "sync"}));
    EXPECT_EQ(GlobalThreadPool::shared().pendingTaskCount(), 0u);
}

TEST(DispatchQueueTest, SyncFromInsideTheSameSerialQueueStopsLoudlyUnderManualStepping) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            TaskEnvironment environment(TaskEnvironment::GlobalQueues::Manual);
            dispatch_queue_t serial = dispatch_queue_create("serial", DISPATCH_QUEUE_SERIAL);
            dispatch_async(serial, [serial] { dispatch_sync(serial, [] {}); });
            environment.runUntilIdle();
        },
        "sync from inside the queue deadlocks");
}

TEST(DispatchQueueTest, SyncToAGlobalQueueRunsOnTheCallingThread) {
    TaskEnvironment environment(TaskEnvironment::GlobalQueues::Manual);
    dispatch_queue_t global = dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_LOW, 0);
    dispatch_queue_t inside;
    dispatch_sync(global, [&] { inside = dispatch_get_current_queue(); });
    EXPECT_EQ(inside, global);
    EXPECT_EQ(dispatch_get_current_queue(), dispatch_get_main_queue());
}

TEST(DispatchQueueTest, OnceRunsOnceAcrossThreads) {
    dispatch_once_t once;
    std::atomic<int> runs{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([&] { dispatch_once(&once, [&] { ++runs; }); });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(runs, 1);
}

TEST(DispatchQueueTest, NullQueueOrBlockIsDropped) {
    TaskEnvironment environment(TaskEnvironment::GlobalQueues::Manual);
    dispatch_async(nullptr, [] { FAIL() << "no queue to run on"; });
    dispatch_sync(nullptr, [] { FAIL() << "no queue to run on"; });
    dispatch_after(1, nullptr, [] { FAIL() << "no queue to run on"; });
    dispatch_async(dispatch_get_global_queue(0, 0), nullptr);
    dispatch_async(dispatch_get_main_queue(), nullptr);
    EXPECT_EQ(GlobalThreadPool::shared().pendingTaskCount(), 0u);
    EXPECT_FALSE(NSRunLoop::mainRunLoop().hasPendingWork());
}

} // namespace
