#include "ads/signals/NSTimer+ZADWeakTargetAdditions.h"

#include "ads/signals/ZADBlockTimerTarget.h"
#include "platform/base/NSRunLoop.h"
#include "platform/foundation/NSTimer.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using ZADWeakTargetAdditions::zad_scheduledTimerWithTimeIntervalRepeatsToleranceBlock;

// An owner as the engine writes one: it keeps its timer and is captured weakly by it.
struct Owner {
    std::shared_ptr<NSTimer> timer;
    int fired = 0;
};

TEST(ZADWeakTargetTimerTest, FiresOnTheMainRunLoopWithoutKeepingItsOwner) {
    TaskEnvironment environment;
    auto owner = std::make_shared<Owner>();
    std::weak_ptr<Owner> weakOwner = owner;
    int firedWithoutOwner = 0;
    std::shared_ptr<NSTimer> firedTimer;
    owner->timer = zad_scheduledTimerWithTimeIntervalRepeatsToleranceBlock(
        60, true, 0,
        [weakOwner, &firedWithoutOwner, &firedTimer](const std::shared_ptr<NSTimer>& timer) {
            firedTimer = timer;
            if (auto strong = weakOwner.lock()) {
                ++strong->fired;
            } else {
                ++firedWithoutOwner;
            }
        });
    auto timer = owner->timer;
    environment.fastForwardBy(59.9);
    EXPECT_EQ(owner->fired, 0);
    environment.fastForwardBy(0.1);
    EXPECT_EQ(owner->fired, 1);
    EXPECT_EQ(firedTimer, timer) << "the block is handed the timer that fired";

    // Dropping the owner frees it although its repeating timer is still scheduled; the
    // timer goes on firing and finds no owner, until someone invalidates it.
    owner.reset();
    EXPECT_TRUE(weakOwner.expired());
    environment.fastForwardBy(120);
    EXPECT_EQ(firedWithoutOwner, 2);
    timer->invalidate();
    environment.fastForwardBy(600);
    EXPECT_EQ(firedWithoutOwner, 2);
    EXPECT_EQ(NSRunLoop::mainRunLoop().timerCount(), 0u);
}

TEST(ZADWeakTargetTimerTest, OneShotFiresOnceAndToleranceIsSetOnlyWhenPositive) {
    TaskEnvironment environment;
    struct Case {
        double tolerance;
        double expected;
    };
    for (const Case& c : {Case{0, 0}, Case{-1, 0}, Case{0.5, 0.5}}) {
        int fired = 0;
        auto timer = zad_scheduledTimerWithTimeIntervalRepeatsToleranceBlock(
            2, false, c.tolerance, [&fired](const std::shared_ptr<NSTimer>&) { ++fired; });
        EXPECT_EQ(timer->tolerance(), c.expected) << c.tolerance;
        environment.fastForwardBy(10);
        EXPECT_EQ(fired, 1);
        EXPECT_FALSE(timer->isValid());
    }
}

TEST(ZADWeakTargetTimerTest, TargetWithoutBlockDoesNothing) {
    TaskEnvironment environment;
    auto target = ZADBlockTimerTarget::init();
    auto timer = NSTimer::timerWithTimeIntervalRepeatsBlock(1, false, nullptr);
    target->timerFired(timer);
    std::shared_ptr<NSTimer> handed;
    target->setBlock([&handed](const std::shared_ptr<NSTimer>& fired) { handed = fired; });
    target->timerFired(timer);
    EXPECT_EQ(handed, timer);
}

} // namespace
