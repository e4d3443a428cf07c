#include "ads/signals/ZADTiming.h"
#include "ads/signals/ZADSlotStatistics.h"
#include "ads/signals/ZADTimingManager.h"

#include "platform/foundation/NSUserDefaults.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

TEST(ZADTimingTest, ATimingMeasuresWhatItWasGiven) {
    TaskEnvironment environment;
    environment.fastForwardBy(1);
    auto timing = ZADTiming::initWithCategory("fetch");
    timing->end();
    EXPECT_EQ(timing->elapsedMilliseconds(), 0u) << "an end before a start does nothing";
    EXPECT_FALSE(timing->isActive());

    timing->start();
    environment.fastForwardBy(0.25);
    EXPECT_TRUE(timing->isActive());
    EXPECT_EQ(timing->elapsedMilliseconds(), 250u) << "so far";
    timing->setExplicitEnd(true);
    EXPECT_EQ(timing->elapsedMilliseconds(), 0u) << "not ended, with an explicit end";
    timing->end();
    environment.fastForwardBy(1);
    EXPECT_EQ(timing->elapsedMillisecondsString(), "250");
    timing->reset();
    EXPECT_EQ(timing->elapsedMilliseconds(), 0u);

    auto unnamed = ZADTiming::initWithCategory(std::nullopt);
    EXPECT_THAT(unnamed->category(), ::testing::StartsWith("ZADTiming (0x"));
}

TEST(ZADTimingTest, TimingsAreRestoredAfterARelaunch) {
    TaskEnvironment environment;
    TestHome home;
    environment.fastForwardBy(5);
    {
        auto manager = ZADTimingManager::init();
        manager->setIdentifier("unit-1");
        auto timing = manager->addTimingWithCategory("adapter");
        timing->setStartTimestamp(1000);
        timing->setEndTimestamp(1300);
        manager->addTimingWithCategory("other");
        // Removing is written by the next add only.
        manager->removeTimingForCategory("other");
        manager->addTiming(nullptr);
    }
    home.relaunchDefaults();
    auto manager = ZADTimingManager::init();
    manager->setIdentifier("unit-1");
    EXPECT_EQ(manager->categories(), std::vector<std::string>{"adapter"});
    EXPECT_EQ(manager->timingForCategory("adapter")->elapsedMilliseconds(), 300u);

    auto stranger = ZADTimingManager::init();
    stranger->setIdentifier("unit-2");
    EXPECT_TRUE(stranger->categories().empty());
}

TEST(ZADTimingTest, RecordsOfAnotherShapeAreIgnoredAndRewritten) {
    TaskEnvironment environment;
    TestHome home;
    auto defaults = NSUserDefaults::standardUserDefaults();
    struct Case {
        const char* name;
        PlistValue timings;
        PlistValue statistics;
    };
    const Case cases[] = {
        {"not dictionaries", PlistValue("garbage"), PlistValue(7)},
        {"entries of another kind",
         PlistValue(PlistValue::Dictionary{
             {"bad", PlistValue("x")},
             {"negative", PlistValue(PlistValue::Dictionary{
                              {"category", "negative"}, {"start", -5}, {"end", 0}})},
             {"good", PlistValue(PlistValue::Dictionary{
                          {"category", "good"}, {"start", 10}, {"end", 30}})}}),
         PlistValue(PlistValue::Dictionary{{"adapter_exit", PlistValue(PlistValue::Array{"1"})},
                                           {"adapter_duration", "not a list"}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        defaults->setObjectForKey(c.timings, "zivido_timing_broken");
        defaults->setObjectForKey(c.statistics, "zivido_stats_broken");
        defaults->synchronize();
        home.relaunchDefaults();
        CapturedLog log;
        auto statistics = ZADSlotStatistics::init();
        statistics->setIdentifier("broken");
        statistics->statistics();
        EXPECT_THAT(log.lines(), Contains(HasSubstr("zivido_timing_broken")));
        EXPECT_THAT(log.lines(), Contains(HasSubstr("zivido_stats_broken")));
        // The next change writes records of the right shape.
        statistics->startTimingAdapter();
        statistics->endTimingAdapterWithExitCode(2);
        statistics->statistics();
        statistics->timingManager()->applicationWillTerminate();
        defaults = NSUserDefaults::standardUserDefaults();
        const PlistValue timings = defaults->objectForKey("zivido_timing_broken");
        ASSERT_TRUE(timings.dictionary());
        EXPECT_TRUE(timings.dictionary()->contains("adapter"));
        EXPECT_FALSE(timings.dictionary()->contains("bad"));
        const PlistValue stored = defaults->objectForKey("zivido_stats_broken");
        ASSERT_TRUE(stored.dictionary());
        EXPECT_TRUE(stored.dictionary()->at("adapter_duration").array());
        EXPECT_EQ(stored.dictionary()->at("adapter_exit").array()->back(), PlistValue("2"));
    }
}

TEST(ZADSlotStatisticsTest, AdapterResultsBecomePingParametersAndSurviveARelaunch) {
    TaskEnvironment environment;
    TestHome home;
    environment.fastForwardBy(1);
    {
        auto statistics = ZADSlotStatistics::init();
        statistics->setIdentifier("unit");
        EXPECT_EQ(statistics->adapterFillStatusParameter(), std::nullopt);
        for (auto [milliseconds, code] : {std::pair{0.125, 0L}, std::pair{0.5, 3L}}) {
            statistics->startTimingAdapter();
            environment.fastForwardBy(milliseconds);
            statistics->endTimingAdapterWithExitCode(code);
        }
        for (auto [allocation, milliseconds] : {std::pair{"a1", 0.25}, std::pair{"a2", 0.375}}) {
            statistics->startTimingAdapter();
            environment.fastForwardBy(milliseconds);
            statistics->endTimingAdapterWithFillStatusAllocationID(1, allocation);
        }
        statistics->statistics();
    }
    home.relaunchDefaults();
    auto statistics = ZADSlotStatistics::init();
    statistics->setIdentifier("unit");
    EXPECT_EQ(statistics->adapterDurationsParameter(), "125,500");
    EXPECT_EQ(statistics->adapterExitCodesParameter(), "0,3");
    EXPECT_EQ(statistics->adapterFillStatusParameter(), "a1.1.250_a2.1.375");
    statistics->resetTimingAdapters();
    statistics->resetFillStatus();
    EXPECT_EQ(statistics->adapterDurationsParameter(), std::nullopt);
    EXPECT_EQ(statistics->adapterFillStatusParameter(), std::nullopt);
}

} // namespace
