#include "app/RZCommonConfig.h"
#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSLocale.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"
#include "services/advertise/CVAdvertiseController.h"
#include "services/rateprompt/RatePrompt.h"
#include "tests/support/LoopbackStore.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

namespace {
// The process's configuration and rating prompt, the prompt asking a loopback store; the
// store lookups wait until settle() runs them, and every test leaves none behind.
class RZCommonConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        NSLocale::setOverride("en_US", {"en-US"});
        ASSERT_TRUE(store.start());
        store.setAnswer({404, ""});
        prompt->storeLookup()->setBaseURL(store.baseURL());
        window->setRootViewController(UIViewController::init());
        window->makeKeyAndVisible();
        settle();
    }
    void TearDown() override {
        settle();
        EXPECT_FALSE(prompt->storeLookup()->isInProgress());
        EXPECT_EQ(prompt->visibleAlert(), nullptr);
        NSLocale::clearOverride();
    }
    // Runs what is queued, lookups included, until nothing is left.
    void settle() { environment.runUntilIdle(); }
    // The classic alert on screen, or null.
    std::shared_ptr<UIAlertView> shownAlert() const {
        for (const auto& view : window->subviews()) {
            if (auto alert = std::dynamic_pointer_cast<UIAlertView>(view)) {
                return alert;
            }
        }
        return nullptr;
    }

    TaskEnvironment environment{TaskEnvironment::GlobalQueues::Manual};
    TestHome home;
    LoopbackStore store;
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 375, 667));
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

TEST_F(RZCommonConfigTest, VersionLiveFlagFollowsTheStoreLookup) {
    struct Case {
        const char* store;
        bool live;
    };
    const Case cases[] = {{"1.10", true}, {"1.9", true}, {"1.8", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.store);
        NSUserDefaults::standardUserDefaults()->removeObjectForKey(kCurrVersionShangXianKey);
        prompt->setApplicationVersion("1.9");
        prompt->setLatestVersion(std::nullopt);
        ASSERT_FALSE(config->isCurrentVersionOnline());
        store.setAnswer({200, LoopbackStore::appAnswer("com.mixphotos.collage", c.store)});
        prompt->checkForConnectivityInBackground();
        settle();
        EXPECT_EQ(prompt->latestVersion(), c.store);
        EXPECT_EQ(config->isCurrentVersionOnline(), c.live);
    }
}

TEST_F(RZCommonConfigTest, RatingAlertWithTheAppSettingsAndItsAnswers) {
    const std::string page = "itms-apps://apps.store.example/WebObjects/MZStore.woa/wa/"
                             "viewContentsUserReviews?type=Purple+Software&id=1187402256&"
                             "pageNumber=0&sortOrdering=2&mt=8";
    store.setAnswer({200, LoopbackStore::appAnswer("com.mixphotos.collage", "1.9")});
    prompt->setApplicationVersion("1.9");
    prompt->setFirstUsed(NSDate::date());
    prompt->setUsesCount(1);
    prompt->setEventCount(0);
    config->setLiteAppId("1187402256");
    config->initRateAppConfig();
    EventLog::clear();
    const size_t asked = store.requests().size();

    // One use and one event are not enough.
    prompt->logEvent(false);
    settle();
    EXPECT_EQ(store.requests().size(), asked);
    EXPECT_EQ(shownAlert(), nullptr);

    // The second use is: the store is asked, then the alert has no remind button.
    prompt->setUsesCount(2);
    prompt->logEvent(false);
    settle();
    ASSERT_EQ(store.requests().size(), asked + 1);
    EXPECT_EQ(store.requests().back(), "/US/lookup?id=1187402256");
    ASSERT_TRUE(shownAlert());
    EXPECT_EQ(shownAlert()->numberOfButtons(), 2);
    EXPECT_EQ(EventLog::entries().back(),
              "alert: Rate MixPhotos: If you enjoy using MixPhotos, would you mind taking a "
              "moment to rate it? It won’t take more than a minute. Thanks for your support! "
              "[Rate It Now | No, Thanks]");

    // Declining restarts both counts and forgets the decline.
    EXPECT_TRUE(shownAlert()->tapButtonWithTitle("No, Thanks"));
    EXPECT_EQ(prompt->usesCount(), 0u);
    EXPECT_EQ(prompt->eventCount(), 0u);
    EXPECT_FALSE(prompt->declinedAnyVersion());

    // 30 events bring it back; rating opens the store's page.
    for (int i = 0; i < 29; ++i) {
        prompt->logEvent(false);
    }
    settle();
    EXPECT_EQ(shownAlert(), nullptr);
    prompt->logEvent(false);
    settle();
    ASSERT_TRUE(shownAlert());
    EXPECT_TRUE(shownAlert()->tapButtonWithTitle("Rate It Now"));
    EXPECT_EQ(UIApplication::sharedApplication()->openedURLs().back(), page);
    EXPECT_EQ(EventLog::entries().back(), "open-url: " + page);
    EXPECT_TRUE(config->isThisVersionRated());
    // Rated: no more prompts for this version.
    prompt->logEvent(false);
    settle();
    EXPECT_EQ(shownAlert(), nullptr);
    EXPECT_EQ(store.requests().size(), asked + 2);
}

TEST_F(RZCommonConfigTest, OpeningTheRatingsPageMarksThisVersionRated) {
    prompt->setApplicationVersion("1.9");
    prompt->setAppStoreID(0);
    store.setAnswer({200, LoopbackStore::appAnswer("com.mixphotos.collage", "1.9", 777)});
    size_t opened = UIApplication::sharedApplication()->openedURLs().size();
    config->openRatingsPageInAppStore();
    EXPECT_TRUE(config->isThisVersionRated());
    settle();
    ASSERT_EQ(UIApplication::sharedApplication()->openedURLs().size(), opened + 1);
    EXPECT_NE(UIApplication::sharedApplication()->openedURLs().back().find("&id=777&"),
              std::string::npos);
    EXPECT_EQ(config->currentAppID(), "777");
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
    EXPECT_EQ(prompt->remindButtonLabel(), "");
    EXPECT_FALSE(prompt->showRemindButton());
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
    config->showInterstitialAdInViewController(UIViewController::init());
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
