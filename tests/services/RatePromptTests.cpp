#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSUserDefaults.h"
#include "services/rateprompt/RatePrompt.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

namespace {
TEST(RatePrompt, StoreCountryFromTheLocale) {
    const std::pair<const char*, const char*> cases[] = {
        {"150", "eu"}, {"419", "us"}, {"", "us"},    {"GI", "GB"},
        {"DE", "DE"},  {"d1", "us"},  {"USA", "us"}, {"fr", "fr"},
    };
    for (const auto& [code, expected] : cases) {
        EXPECT_EQ(RatePrompt::storeCountryForLocaleCountry(code), expected) << code;
    }
}

TEST(RatePrompt, ReadsNameAndVersionFromTheBundle) {
    TestHome home;
    RatePrompt prompt;
    EXPECT_EQ(prompt.applicationName(), "MixPhotos");
    EXPECT_EQ(prompt.applicationVersion(), "1.9");
    EXPECT_EQ(prompt.applicationBundleID(), "com.mixphotos.collage");
    EXPECT_EQ(prompt.usesUntilPrompt(), 10u);
    EXPECT_FALSE(prompt.latestVersion().has_value());
}

TEST(RatePrompt, FirstLaunchStartsCountingAndAnnouncesTheVersion) {
    TaskEnvironment environment;
    TestHome home;
    int announced = 0;
    auto token = NSNotificationCenter::defaultCenter()->addObserverForNameObjectQueueUsingBlock(
        "RatePromptDidDetectAppUpdate", nullptr, nullptr,
        [&](const NSNotification&) { ++announced; });
    RatePrompt prompt;
    prompt.applicationLaunched();
    EXPECT_EQ(announced, 1);
    EXPECT_EQ(prompt.usesCount(), 1u);
    EXPECT_EQ(prompt.eventCount(), 0u);
    ASSERT_TRUE(prompt.firstUsed().has_value());
    EXPECT_NEAR(prompt.firstUsed()->timeIntervalSinceNow(), 0.0, 1e-6);

    // A second launch of the same version only counts a use.
    environment.fastForwardBy(3600);
    home.relaunchDefaults();
    prompt.applicationLaunched();
    EXPECT_EQ(announced, 1);
    EXPECT_EQ(prompt.usesCount(), 2u);
    NSNotificationCenter::defaultCenter()->removeObserver(token);
}

TEST(RatePrompt, UpdateForAUserWhoNeverRatedKeepsCountsAndWaitsAtMostADayMore) {
    TaskEnvironment environment;
    TestHome home;
    RatePrompt prompt;
    prompt.setDaysUntilPrompt(0.0f);
    prompt.applicationLaunched();
    prompt.logEvent(true);
    environment.fastForwardBy(10 * 86400);

    prompt.setApplicationVersion("2.0");
    prompt.applicationLaunched();
    EXPECT_EQ(prompt.usesCount(), 2u);
    EXPECT_EQ(prompt.eventCount(), 1u);
    // days 0: first use moves one day into the future.
    EXPECT_NEAR(prompt.firstUsed()->timeIntervalSinceNow(), 86400.0, 1e-3);
}

TEST(RatePrompt, UpdateAfterRatingStartsANewPeriod) {
    TaskEnvironment environment;
    TestHome home;
    RatePrompt prompt;
    prompt.applicationLaunched();
    prompt.logEvent(true);
    prompt.setRatedThisVersion(true);
    EXPECT_TRUE(prompt.ratedThisVersion());
    prompt.setApplicationVersion("2.0");
    EXPECT_FALSE(prompt.ratedThisVersion());
    EXPECT_TRUE(prompt.ratedAnyVersion());
    prompt.applicationLaunched();
    EXPECT_EQ(prompt.usesCount(), 1u);
    EXPECT_EQ(prompt.eventCount(), 0u);
}

TEST(RatePrompt, DeclinedVersionIsRecordedAndCleared) {
    TestHome home;
    RatePrompt prompt;
    prompt.setDeclinedThisVersion(true);
    EXPECT_EQ(NSUserDefaults::standardUserDefaults()->stringForKey("RatePromptDeclinedVersion"),
              "1.9");
    EXPECT_TRUE(prompt.declinedThisVersion());
    prompt.setDeclinedThisVersion(false);
    EXPECT_FALSE(prompt.declinedAnyVersion());
    EXPECT_TRUE(
        NSUserDefaults::standardUserDefaults()->objectForKey("RatePromptDeclinedVersion").isNull());
}

TEST(RatePrompt, UsesPerWeekNeverDividesByZero) {
    TaskEnvironment environment;
    TestHome home;
    RatePrompt prompt;
    EXPECT_EQ(prompt.usesPerWeek(), 0.0f);
    prompt.applicationLaunched();
    environment.fastForwardBy(604800 * 2);
    EXPECT_FLOAT_EQ(prompt.usesPerWeek(), 0.5f);
}
} // namespace
