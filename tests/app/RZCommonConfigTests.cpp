#include "app/RZCommonConfig.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIViewController.h"
#include "services/advertise/CVAdvertiseController.h"
#include "services/rateprompt/RatePrompt.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

namespace {
class RZCommonConfigTest : public ::testing::Test {
protected:
    TaskEnvironment environment;
    TestHome home;
    std::shared_ptr<RZCommonConfig> config = RZCommonConfig::shareInstance();
    std::shared_ptr<RatePrompt> prompt = RatePrompt::sharedInstance();
};

TEST_F(RZCommonConfigTest, VersionLiveFlagComparesVersionsNumerically) {
    struct Case {
        const char* running;
        std::optional<std::string> store;
        bool live;
    };
    const Case cases[] = {
        {"1.10", "1.9", false}, {"1.9", "1.10", true},        {"1.9", "1.9", true},
        {"1.9", "", false},     {"1.9", std::nullopt, false}, {"2", "10", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.running) + " vs " + c.store.value_or("(none)"));
        NSUserDefaults::standardUserDefaults()->removeObjectForKey(kCurrVersionShangXianKey);
        prompt->setApplicationVersion(c.running);
        prompt->setLatestVersion(c.store);
        EXPECT_EQ(config->isCurrentVersionOnline(), c.live);
        EXPECT_EQ(NSUserDefaults::standardUserDefaults()->boolForKey(kCurrVersionShangXianKey),
                  c.live);
    }
}

TEST_F(RZCommonConfigTest, VersionLiveFlagIsStickyAcrossRelaunch) {
    prompt->setApplicationVersion("1.9");
    prompt->setLatestVersion("1.10");
    ASSERT_TRUE(config->isCurrentVersionOnline());
    home.relaunchDefaults();
    prompt->setLatestVersion("1.0");
    EXPECT_TRUE(config->isCurrentVersionOnline());
}

TEST_F(RZCommonConfigTest, CurrentAppIDIsZeroWhenNoIdentifierIsKnown) {
    prompt->setAppStoreID(0);
    EXPECT_EQ(config->currentAppID(), "0");
    NSUserDefaults::standardUserDefaults()->setIntegerForKey(1187402256, "RatePromptAppStoreID");
    EXPECT_EQ(config->currentAppID(), "1187402256");
}

TEST_F(RZCommonConfigTest, RateSettingsReachThePrompt) {
    config->setLiteAppId("424242");
    config->initRateAppConfig();
    EXPECT_EQ(prompt->appStoreID(), 424242u);
    EXPECT_EQ(prompt->eventsUntilPrompt(), 30u);
    EXPECT_EQ(prompt->usesUntilPrompt(), 2u);
    EXPECT_EQ(prompt->daysUntilPrompt(), 0.0f);
    EXPECT_FALSE(prompt->promptAtLaunch());
    EXPECT_EQ(prompt->remindButtonLabelSetting(), std::optional<std::string>(""));
    EXPECT_EQ(prompt->delegate().get(), static_cast<RatePromptDelegate*>(config.get()));
}

TEST_F(RZCommonConfigTest, DeclineRestartsBothCounters) {
    prompt->setEventCount(31);
    prompt->setUsesCount(5);
    prompt->setDeclinedThisVersion(true);
    ASSERT_TRUE(prompt->declinedAnyVersion());
    config->RatePromptUserDidDeclineToRateApp();
    EXPECT_EQ(prompt->eventCount(), 0u);
    EXPECT_EQ(prompt->usesCount(), 0u);
    EXPECT_FALSE(prompt->declinedAnyVersion());
}

// An ad controller with an interstitial always ready; it counts presentations.
class ReadyAdvertiser : public CVAdvertiseController {
public:
    bool ready = true;
    std::vector<std::shared_ptr<UIViewController>> shownFrom;
    bool showInterstitialLoadingState() override { return ready; }
    void showInterstitial(const std::shared_ptr<UIViewController>& controller) override {
        shownFrom.push_back(controller);
    }
};

TEST_F(RZCommonConfigTest, BecomingActiveShowsAnInterstitialOnlyWhenConfigured) {
    auto advertiser = std::make_shared<ReadyAdvertiser>();
    CVAdvertiseController::installShareInstance(advertiser);
    config->initAdvertise();
    auto becomeActive = [] {
        NSNotificationCenter::defaultCenter()->postNotificationNameObject(
            UIApplicationDidBecomeActiveNotification, nullptr);
    };
    becomeActive();
    EXPECT_TRUE(advertiser->shownFrom.empty());
    config->setShouldShowFullscreenAdFromBackgroundToForeground(true);
    becomeActive();
    ASSERT_EQ(advertiser->shownFrom.size(), 1u);
    EXPECT_EQ(advertiser->shownFrom[0], nullptr); // the ad controller finds the top screen
    // Nothing is shown, or queued, while no interstitial is ready.
    advertiser->ready = false;
    config->showInterstitialAdInViewController(std::make_shared<UIViewController>());
    EXPECT_EQ(advertiser->shownFrom.size(), 1u);
    config->setShouldShowFullscreenAdFromBackgroundToForeground(false);
    CVAdvertiseController::installShareInstance(nullptr);
}

TEST_F(RZCommonConfigTest, AnEmptyStoreIdentifierLeavesThePromptsUnset) {
    prompt->setAppStoreID(0);
    config->setLiteAppId("");
    config->initRateAppConfig();
    EXPECT_EQ(prompt->appStoreID(), 0u);
}

TEST_F(RZCommonConfigTest, TheProVersionOpensItsStorePage) {
    config->setProAppId("1187402671");
    config->gotoBuyProVersion();
    ASSERT_FALSE(UIApplication::sharedApplication()->openedURLs().empty());
    const std::string& url = UIApplication::sharedApplication()->openedURLs().back();
    EXPECT_TRUE(url.starts_with("itms-apps://")) << url;
    EXPECT_TRUE(url.ends_with("/app/id1187402671")) << url;
}

TEST_F(RZCommonConfigTest, NoInterstitialIsShownWithoutAnAdNetwork) {
    EXPECT_FALSE(config->isInterstitialAdReady());
    config->initAdvertise();
    environment.runUntilIdle();
    EXPECT_FALSE(config->isInterstitialAdReady());
}
} // namespace
