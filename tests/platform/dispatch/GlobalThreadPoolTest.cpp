#include "platform/dispatch/GlobalThreadPool.h"

#include "platform/base/NSRunLoop.h"
#include "platform/dispatch/dispatch.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <future>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

class GlobalThreadPoolTest : public ::testing::Test {
protected:
    TaskEnvironment environment{TaskEnvironment::GlobalQueues::Manual};
    GlobalThreadPool& pool = GlobalThreadPool::shared();
    dispatch_queue_t global = dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0);
    std::vector<std::string> steps;
};

// The shape of a "drop requests while busy" object: a request starts background work only
// when none is in flight; the work reports back on the main queue.
TEST_F(GlobalThreadPoolTest, ManualSteppingRunsExactlyOneTaskAtATime) {
    bool busy = false;
    int started = 0;
    int reported = 0;
    auto request = [&] {
        if (busy) {
            return;
        }
        busy = true;
        dispatch_async(global, [&] {
            ++started;
            dispatch_async(dispatch_get_main_queue(), [&] {
                busy = false;
                ++reported;
            });
        });
    };
    request();
    request();
    EXPECT_EQ(pool.pendingTaskCount(), 1u) << "the second request was dropped";
    ASSERT_TRUE(pool.runNextTask());
    EXPECT_EQ(started, 1);
    EXPECT_EQ(reported, 0) << "the result arrives only when the main loop runs";
    request();
    EXPECT_EQ(pool.pendingTaskCount(), 0u) << "still busy until the main loop ran";
    environment.runUntilIdle();
    EXPECT_EQ(reported, 1);
    request();
    EXPECT_EQ(pool.pendingTaskCount(), 1u);
}

TEST_F(GlobalThreadPoolTest, HeldTasksRunInSubmissionOrderIncludingTheirOwn) {
    dispatch_queue_t serial = dispatch_queue_create("serial", DISPATCH_QUEUE_SERIAL);
    dispatch_async(serial, [&] { steps.push_back("serial 1"); });
    dispatch_async(global, [&] {
        steps.push_back("global 1");
        dispatch_async(global, [&] { steps.push_back("global 2, submitted by global 1"); });
    });
    dispatch_async(serial, [&] { steps.push_back("serial 2"); });
    EXPECT_EQ(pool.pendingTaskCount(), 3u);
    EXPECT_TRUE(steps.empty()) << "nothing runs by itself";

    ASSERT_TRUE(pool.runNextTask());
    EXPECT_EQ(steps, (std::vector<std::string>{"serial 1"}));
    pool.runAllTasks();
    EXPECT_EQ(steps, (std::vector<std::string>{"serial 1", "global 1", "serial 2",
                                               "global 2, submitted by global 1"}));
    EXPECT_FALSE(pool.runNextTask());
}

TEST_F(GlobalThreadPoolTest, SerialQueueStaysOneAtATimeWhenStepsNest) {
    dispatch_queue_t serial = dispatch_queue_create("serial", DISPATCH_QUEUE_SERIAL);
    dispatch_async(serial, [&] {
        dispatch_async(serial, [&] { steps.push_back("second"); });
        dispatch_async(global, [&] { steps.push_back("global"); });
        // Stepping from inside the first task may run the global task, never the second
        // task of the busy serial queue.
        while (pool.runNextTask()) {
        }
        steps.push_back("first done");
    });
    pool.runAllTasks();
    EXPECT_EQ(steps, (std::vector<std::string>{"global", "first done", "second"}));
}

TEST_F(GlobalThreadPoolTest, HeldTasksRunOnThreadsWhenSteppingEnds) {
    std::optional<std::thread::id> ranOn;
    dispatch_async(global, [&] { ranOn = std::this_thread::get_id(); });
    pool.setManualStepping(false);
    pool.waitUntilIdle();
    ASSERT_TRUE(ranOn.has_value());
    EXPECT_NE(*ranOn, std::this_thread::get_id());
}

// The shape of a URL load: work on a thread of its own marks the pool busy, and its
// result comes back as a task. Waiting for the pool waits for that result too.
TEST_F(GlobalThreadPoolTest, WaitingForIdleCoversBusyMarksAndWhatTheyQueue) {
    std::promise<void> started;
    bool late = false;
    GlobalThreadPool::BusyMark mark = pool.markBusy();
    dispatch_async(global, [&] { started.set_value(); });
    std::thread loader([&, mark = std::move(mark)]() mutable {
        started.get_future().wait(); // the held task ran inside waitUntilIdle
        dispatch_async(global, [&] { late = true; });
        mark = {};
    });
    pool.waitUntilIdle();
    loader.join();
    EXPECT_TRUE(late);
    EXPECT_EQ(pool.pendingTaskCount(), 0u);
}

TEST(GlobalThreadPoolThreadsTest, RunUntilIdleFollowsWorkBetweenTheMainLoopAndThePool) {
    TaskEnvironment environment; // threaded global queues
    dispatch_queue_t global = dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0);
    std::vector<std::string> steps;
    dispatch_async(global, [&] {
        dispatch_async(dispatch_get_main_queue(), [&] {
            steps.push_back("main 1");
            dispatch_async(global, [&] {
                dispatch_async(dispatch_get_main_queue(), [&] { steps.push_back("main 2"); });
            });
        });
    });
    environment.runUntilIdle();
    EXPECT_EQ(steps, (std::vector<std::string>{"main 1", "main 2"}));
}

TEST(GlobalThreadPoolExitTest, ProcessExitDoesNotHangOnABusyWorker) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            GlobalThreadPool::shared().setShutdownGrace(std::chrono::milliseconds(10));
            std::promise<void> never;
            auto started = std::make_shared<std::promise<void>>();
            dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
                           [&never, started] {
                               started->set_value();
                               never.get_future().wait();
                           });
            started->get_future().wait();
            for (int i = 0; i < 100; ++i) {
                dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
                               [] {});
            }
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "still running at exit");
}

} // namespace
