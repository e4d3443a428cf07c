#include "platform/base/MockClock.h"

#include <gtest/gtest.h>

TEST(MockClockTest, StartsAtFixedMomentsAndMovesOnlyWhenTold) {
    MockClock clock;
    EXPECT_EQ(clock.monotonicNow(), 1000.0);
    // 2026-01-01 00:00:00 UTC is 1767225600 s after 1970.
    EXPECT_EQ(clock.dateNow() + 978307200.0, 1767225600.0);

    clock.advance(2.5);
    EXPECT_EQ(clock.monotonicNow(), 1002.5);
    EXPECT_EQ(clock.dateNow(), MockClock::kDefaultDateNow + 2.5);

    clock.advance(-10);
    EXPECT_EQ(clock.monotonicNow(), 1002.5) << "time never runs backwards";

    clock.setDateNow(5.0);
    EXPECT_EQ(clock.dateNow(), 5.0);
    EXPECT_EQ(clock.monotonicNow(), 1002.5) << "the date moves alone";
}

TEST(MockClockTest, StartsWhereToldAndInstallsAsCurrent) {
    auto clock = std::make_shared<MockClock>(7.0, 9.0);
    Clock::setCurrent(clock);
    EXPECT_EQ(Clock::current().monotonicNow(), 7.0);
    EXPECT_EQ(Clock::current().dateNow(), 9.0);
    Clock::setCurrent(nullptr);
    EXPECT_NE(&Clock::current(), clock.get()) << "back to the system clock";
}
