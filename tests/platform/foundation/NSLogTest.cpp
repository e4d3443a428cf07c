#include "platform/foundation/NSLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

TEST(NSLogTest, LinesFromManyThreadsArriveWhole) {
    std::vector<std::string> lines;
    NSLogSetSink([&](const std::string& line) { lines.push_back(line); });
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 100; ++i) {
                NSLog("thread %d line %d %@", t, i, "done");
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    NSLogSetSink(nullptr);
    ASSERT_EQ(lines.size(), 400u);
    for (int t = 0; t < 4; ++t) {
        EXPECT_EQ(std::count(lines.begin(), lines.end(),
                             NSString::stringWithFormat("thread %d line 99 done", t)),
                  1);
    }
}

TEST(NSLogTest, WritesToStandardErrorWithoutASink) {
    testing::internal::CaptureStderr();
    NSLog("%@ = %d", "answer", 42);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "answer = 42\n");
}

} // namespace
