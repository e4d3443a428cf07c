#include "ads/signals/ZADAbsoluteTime.h"

#include "platform/foundation/NSNumber.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

TEST(ZADAbsoluteTimeTest, CountsMillisecondsFromTheFirstReadingWhichIsOne) {
    TaskEnvironment environment;
    // Time that passed before the clock's first use does not count.
    environment.fastForwardBy(100);
    EXPECT_EQ(ZADMonotonicTimeInMilliseconds(), 1u);
    EXPECT_EQ(ZADMonotonicTimeInMilliseconds(), 1u);
    environment.fastForwardBy(0.25);
    EXPECT_EQ(ZADMonotonicTimeInMilliseconds(), 251u);
    // Parts of a millisecond are cut, not rounded.
    environment.fastForwardBy(0.0019);
    EXPECT_EQ(ZADMonotonicTimeInMilliseconds(), 252u);
    environment.fastForwardBy(3600);
    EXPECT_EQ(ZADAbsoluteTime::absoluteTimeInMilliseconds()->unsignedLongLongValue(), 3600252u);
}

TEST(ZADAbsoluteTimeTest, ThreadsReadingFirstAtOnceAgreeOnTheStart) {
    TaskEnvironment environment;
    std::vector<uint64_t> first(8);
    std::vector<std::thread> threads;
    for (auto& reading : first) {
        threads.emplace_back([&reading] { reading = ZADMonotonicTimeInMilliseconds(); });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(first, std::vector<uint64_t>(8, 1));
    environment.fastForwardBy(2);
    EXPECT_EQ(ZADMonotonicTimeInMilliseconds(), 2001u);
}

} // namespace
