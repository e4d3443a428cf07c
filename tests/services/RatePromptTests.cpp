#include "platform/dispatch/GlobalThreadPool.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSURLError.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIApplication.h"
#include "services/rateprompt/RatePrompt.h"
#include "tests/services/RatePromptTestFixture.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <cmath>

#include <filesystem>
#include <fstream>
#include <functional>

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
    auto prompt = RatePrompt::init();
    EXPECT_EQ(prompt->applicationName(), "MixPhotos");
    EXPECT_EQ(prompt->applicationVersion(), "1.9");
    EXPECT_EQ(prompt->applicationBundleID(), "com.mixphotos.collage");
    EXPECT_EQ(prompt->usesUntilPrompt(), 10u);
    EXPECT_FALSE(prompt->latestVersion().has_value());
}

TEST(RatePrompt, FirstLaunchStartsCountingAndAnnouncesTheVersion) {
    TaskEnvironment environment{TaskEnvironment::GlobalQueues::Manual};
    TestHome home;
    int announced = 0;
    auto token = NSNotificationCenter::defaultCenter()->addObserverForNameObjectQueueUsingBlock(
        "RatePromptDidDetectAppUpdate", nullptr, nullptr,
        [&](const NSNotification&) { ++announced; });
    auto prompt = RatePrompt::init();
    prompt->applicationLaunched();
    EXPECT_EQ(announced, 1);
    EXPECT_EQ(prompt->usesCount(), 1u);
    EXPECT_EQ(prompt->eventCount(), 0u);
    ASSERT_TRUE(prompt->firstUsed().has_value());
    EXPECT_NEAR(prompt->firstUsed()->timeIntervalSinceNow(), 0.0, 1e-6);

    // A second launch of the same version only counts a use.
    environment.fastForwardBy(3600);
    home.relaunchDefaults();
    prompt->applicationLaunched();
    EXPECT_EQ(announced, 1);
    EXPECT_EQ(prompt->usesCount(), 2u);
    NSNotificationCenter::defaultCenter()->removeObserver(token);
}

TEST(RatePrompt, UpdateForAUserWhoNeverRatedKeepsCountsAndWaitsAtMostADayMore) {
    TaskEnvironment environment{TaskEnvironment::GlobalQueues::Manual};
    TestHome home;
    auto prompt = RatePrompt::init();
    prompt->setDaysUntilPrompt(0.0f);
    prompt->applicationLaunched();
    prompt->logEvent(true);
    environment.fastForwardBy(10 * 86400);

    prompt->setApplicationVersion("2.0");
    prompt->applicationLaunched();
    EXPECT_EQ(prompt->usesCount(), 2u);
    EXPECT_EQ(prompt->eventCount(), 1u);
    // days 0: first use moves one day into the future.
    EXPECT_NEAR(prompt->firstUsed()->timeIntervalSinceNow(), 86400.0, 1e-3);
}

TEST(RatePrompt, UpdateAfterRatingStartsANewPeriod) {
    TaskEnvironment environment{TaskEnvironment::GlobalQueues::Manual};
    TestHome home;
    auto prompt = RatePrompt::init();
    prompt->applicationLaunched();
    prompt->logEvent(true);
    prompt->setRatedThisVersion(true);
    EXPECT_TRUE(prompt->ratedThisVersion());
    prompt->setApplicationVersion("2.0");
    EXPECT_FALSE(prompt->ratedThisVersion());
    EXPECT_TRUE(prompt->ratedAnyVersion());
    prompt->applicationLaunched();
    EXPECT_EQ(prompt->usesCount(), 1u);
    EXPECT_EQ(prompt->eventCount(), 0u);
}

TEST(RatePrompt, DeclinedVersionIsRecordedAndCleared) {
    TestHome home;
    auto prompt = RatePrompt::init();
    prompt->setDeclinedThisVersion(true);
    EXPECT_EQ(NSUserDefaults::standardUserDefaults()->stringForKey("RatePromptDeclinedVersion"),
              "1.9");
    EXPECT_TRUE(prompt->declinedThisVersion());
    prompt->setDeclinedThisVersion(false);
    EXPECT_FALSE(prompt->declinedAnyVersion());
    EXPECT_TRUE(
        NSUserDefaults::standardUserDefaults()->objectForKey("RatePromptDeclinedVersion").isNull());
}

TEST(RatePrompt, UsesPerWeekFollowsTheFormula) {
    TaskEnvironment environment{TaskEnvironment::GlobalQueues::Manual};
    TestHome home;
    auto prompt = RatePrompt::init();
    // No uses in no time: no rate at all, which no threshold refuses.
    EXPECT_TRUE(std::isnan(prompt->usesPerWeek()));
    prompt->applicationLaunched();
    environment.fastForwardBy(604800 * 2);
    EXPECT_FLOAT_EQ(prompt->usesPerWeek(), 0.5f);
}

TEST(RatePrompt, ReturnsFromTheBackgroundCountUses) {
    TaskEnvironment environment{TaskEnvironment::GlobalQueues::Manual};
    TestHome home;
    LoopbackStore store;
    ASSERT_TRUE(store.start());
    auto prompt = RatePrompt::sharedInstance();
    prompt->storeLookup()->setBaseURL(store.baseURL());
    environment.runUntilIdle(); // the launch: one use, and a look at the store
    uint64_t uses = prompt->usesCount();
    auto application = UIApplication::sharedApplication();
    // A foreground notification without a stay in the background counts nothing.
    NSNotificationCenter::defaultCenter()->postNotificationNameObject(
        UIApplicationWillEnterForegroundNotification, application);
    EXPECT_EQ(prompt->usesCount(), uses);
    application->enterBackground();
    application->enterForeground();
    EXPECT_EQ(prompt->usesCount(), uses + 1);
    environment.runUntilIdle();
}

TEST(RatePrompt, DeferredEventsCountWithoutPrompting) {
    TaskEnvironment environment{TaskEnvironment::GlobalQueues::Manual};
    TestHome home;
    auto prompt = RatePrompt::init();
    prompt->setPreviewMode(true); // every check would prompt
    prompt->logEvent(true);
    EXPECT_EQ(prompt->eventCount(), 1u);
    EXPECT_FALSE(prompt->checkingForPrompt());
    EXPECT_EQ(GlobalThreadPool::shared().pendingTaskCount(), 0u);
}

const char* kRatingsPage = "itms-apps://apps.store.example/WebObjects/MZStore.woa/wa/"
                           "viewContentsUserReviews?type=Purple+Software&id=1187402256&"
                           "pageNumber=0&sortOrdering=2&mt=8";
const char* kAppMessage = "If you enjoy using MixPhotos, would you mind taking a moment to rate "
                          "it? It won’t take more than a minute. Thanks for your support!";

using RatePromptTest = RatePromptTestFixture;

TEST_F(RatePromptTest, PromptRule) {
    auto defaults = NSUserDefaults::standardUserDefaults();
    struct Case {
        const char* name;
        uint64_t uses;
        uint64_t events;
        double daysSinceFirstUse;
        std::function<void(RatePrompt&)> setUp;
        // The verbose reason for a NO; none for a YES.
        const char* reason;
    };
    const std::string no = "RatePrompt did not prompt for rating because ";
    const Case cases[] = {
        {"enough uses", 10, 0, 10, nullptr, nullptr},
        {"enough events", 0, 10, 10, nullptr, nullptr},
        {"neither", 9, 9, 10, nullptr,
         "the app has only been used 9 times and only 9 events have been logged"},
        {"too early", 10, 10, 9.9, nullptr, "the app was first used less than 10 days ago"},
        {"declined", 10, 10, 10, [](RatePrompt& p) { p.setDeclinedThisVersion(true); },
         "the user has declined to rate the app"},
        {"declined an older version", 10, 10, 10,
         [&](RatePrompt&) { defaults->setObjectForKey("1.0", "RatePromptDeclinedVersion"); },
         "the user has declined to rate the app"},
        {"rated", 10, 10, 10, [](RatePrompt& p) { p.setRatedThisVersion(true); },
         "the user has already rated this version"},
        {"rated an older version", 10, 10, 10,
         [&](RatePrompt&) { defaults->setObjectForKey("1.0", "RatePromptRatedVersionChecked"); },
         "the user has already rated this app, and promptForNewVersionIfUserRated is disabled"},
        {"rated an older version, new versions asked", 10, 10, 10,
         [&](RatePrompt& p) {
             defaults->setObjectForKey("1.0", "RatePromptRatedVersionChecked");
             p.setPromptForNewVersionIfUserRated(true);
         },
         nullptr},
        {"too few uses a week", 10, 10, 10, [](RatePrompt& p) { p.setUsesPerWeekForPrompt(8); },
         "the app has only been used 7 times per week on average since it was installed"},
        {"reminded half a day ago", 10, 10, 10,
         [](RatePrompt& p) { p.setLastReminded(NSDate::dateWithTimeIntervalSinceNow(-43200)); },
         "the user last asked to be reminded less than 1 days ago"},
        {"reminded two days ago", 10, 10, 10,
         [](RatePrompt& p) { p.setLastReminded(NSDate::dateWithTimeIntervalSinceNow(-172800)); },
         nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* key : {"RatePromptDeclinedVersion", "RatePromptRatedVersionChecked",
                                "RatePromptLastReminded"}) {
            defaults->removeObjectForKey(key);
        }
        auto fresh = makePrompt();
        fresh->setVerboseLogging(true);
        fresh->setFirstUsed(NSDate::dateWithTimeIntervalSinceNow(-c.daysSinceFirstUse * 86400));
        fresh->setUsesCount(c.uses);
        fresh->setEventCount(c.events);
        if (c.setUp) {
            c.setUp(*fresh);
        }
        CapturedLog log;
        EXPECT_EQ(fresh->shouldPromptForRating(), c.reason == nullptr);
        auto expectedLines =
            c.reason ? std::vector<std::string>{no + c.reason} : std::vector<std::string>{};
        EXPECT_EQ(log.lines(), expectedLines);

        // Quiet unless verbose; preview mode always prompts, and always says so.
        fresh->setVerboseLogging(false);
        fresh->shouldPromptForRating();
        fresh->setPreviewMode(true);
        EXPECT_TRUE(fresh->shouldPromptForRating());
        EXPECT_EQ(log.lines().size(), expectedLines.size() + 1);
        EXPECT_EQ(log.lines().back(),
                  "RatePrompt preview mode is enabled - make sure you disable this for release");
    }
    EXPECT_TRUE(store.requests().empty());
}

TEST_F(RatePromptTest, TextsFollowTheFirstPreferredLanguage) {
    struct Case {
        std::vector<std::string> languages;
        const char* title;
        const char* cancel;
    };
    const Case cases[] = {
        {{"de-AT", "en"}, "MixPhotos bewerten", "Nein, danke"},
        {{"zh-Hans-CN"}, "给MixPhotos评分", "不，谢谢"},
        // Neither "zh-Hant" nor "zh": the resource bundle's own choice, English.
        {{"zh-Hant-TW"}, "Rate MixPhotos", "No, Thanks"},
        // Not "fr": the resource bundle chooses among the other preferred languages.
        {{"fr-FR", "de"}, "MixPhotos bewerten", "Nein, danke"},
        {{}, "Rate MixPhotos", "No, Thanks"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.languages.empty() ? "(none)" : c.languages[0]);
        NSLocale::setOverride("xx", c.languages);
        auto fresh = makePrompt();
        EXPECT_EQ(fresh->messageTitle(), c.title);
        EXPECT_EQ(fresh->cancelButtonLabel(), c.cancel);
        // Chosen once: a later change of language does not reach this prompt.
        NSLocale::setOverride("en_US", {"en-US"});
        EXPECT_EQ(fresh->cancelButtonLabel(), c.cancel);
    }
}

TEST_F(RatePromptTest, MessagesNameTheAppAndFollowTheGenre) {
    EXPECT_EQ(prompt->message(), kAppMessage);
    EXPECT_EQ(prompt->updateMessage(), kAppMessage);
    EXPECT_EQ(prompt->rateButtonLabel(), "Rate It Now");
    EXPECT_EQ(prompt->remindButtonLabel(), "Remind Me Later");
    prompt->setAppStoreGenreID(6014);
    EXPECT_EQ(prompt->message().rfind("If you enjoy playing MixPhotos, would you mind", 0), 0u);
    prompt->setMessage("%@ and %@");
    EXPECT_EQ(prompt->message(), "MixPhotos and MixPhotos");
    EXPECT_EQ(prompt->updateMessage(), "MixPhotos and MixPhotos");
    prompt->setUpdateMessage("New in %@!");
    EXPECT_EQ(prompt->updateMessage(), "New in MixPhotos!");

    // Users who rated an earlier version see the update message.
    NSUserDefaults::standardUserDefaults()->setObjectForKey("1.0", "RatePromptRatedVersionChecked");
    prompt->promptForRating();
    ASSERT_TRUE(shownAlert());
    EXPECT_EQ(shownAlert()->message(), "New in MixPhotos!");
    EXPECT_TRUE(shownAlert()->tapButtonWithTitle("No, Thanks"));
}

TEST_F(RatePromptTest, TheAppsOwnStringTableComesFirst) {
    namespace fs = std::filesystem;
    fs::path app = fs::path(home.path()) / "Override.app";
    fs::create_directories(app / "en.lproj");
    std::ofstream(app / "en.lproj" / "Localizable.strings")
        << "<plist><dict><key>RatePromptRateButton</key><string>Sure!</string></dict></plist>";
    fs::create_directory_symlink(fs::path(MP_TEST_BUNDLE_DIR) / "RatePrompt.bundle",
                                 app / "RatePrompt.bundle");
    NSBundle::setMainBundlePath(app.string());
    NSLocale::setOverride("de_DE", {"de-DE"});
    EXPECT_EQ(prompt->rateButtonLabel(), "Sure!");
    EXPECT_EQ(prompt->cancelButtonLabel(), "Nein, danke");
    NSBundle::setMainBundlePath(MP_TEST_BUNDLE_DIR);
}

TEST_F(RatePromptTest, ClassicAlertAnswers) {
    struct Case {
        std::optional<std::string> cancelLabel;
        std::optional<std::string> remindLabel;
        const char* buttons;
        const char* tap;
        std::vector<std::string> calls;
    };
    const char* three = "[Rate It Now | No, Thanks | Remind Me Later]";
    const Case cases[] = {
        {std::nullopt, std::nullopt, three, "Rate It Now", {"did prompt", "rate", "did open"}},
        {std::nullopt, std::nullopt, three, "No, Thanks", {"did prompt", "decline"}},
        {std::nullopt, std::nullopt, three, "Remind Me Later", {"did prompt", "remind"}},
        {std::nullopt, "", "[Rate It Now | No, Thanks]", "No, Thanks", {"did prompt", "decline"}},
        // Without the cancel button the remind button takes index 1.
        {"",
         std::nullopt,
         "[Rate It Now | Remind Me Later]",
         "Remind Me Later",
         {"did prompt", "remind"}},
    };
    auto defaults = NSUserDefaults::standardUserDefaults();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.buttons) + " " + c.tap);
        for (const char* key : {"RatePromptDeclinedVersion", "RatePromptRatedVersionChecked",
                                "RatePromptLastReminded"}) {
            defaults->removeObjectForKey(key);
        }
        recorder->calls.clear();
        notifications.clear();
        auto fresh = makePrompt();
        fresh->setAppStoreID(1187402256);
        if (c.cancelLabel) {
            fresh->setCancelButtonLabel(*c.cancelLabel);
        }
        if (c.remindLabel) {
            fresh->setRemindButtonLabel(*c.remindLabel);
        }
        fresh->promptForRating();
        EXPECT_EQ(lastEvent(),
                  std::string("alert: Rate MixPhotos: ") + kAppMessage + " " + c.buttons);
        EXPECT_TRUE(fresh->visibleAlert());
        fresh->promptForRating(); // one at a time
        ASSERT_TRUE(shownAlert());
        EXPECT_TRUE(shownAlert()->tapButtonWithTitle(c.tap));
        EXPECT_EQ(recorder->calls, c.calls);
        EXPECT_EQ(fresh->visibleAlert(), nullptr);
        EXPECT_EQ(shownAlert(), nullptr);

        const std::string answer = c.calls[1];
        EXPECT_EQ(fresh->ratedThisVersion(), answer == "rate");
        EXPECT_EQ(fresh->declinedThisVersion(), answer == "decline");
        EXPECT_EQ(fresh->lastReminded().has_value(), answer == "remind");
        if (answer == "rate") {
            EXPECT_EQ(UIApplication::sharedApplication()->openedURLs().back(), kRatingsPage);
            EXPECT_EQ(lastEvent(), std::string("open-url: ") + kRatingsPage);
        }
        std::vector<std::string> expectedNotifications;
        for (const auto& call : c.calls) {
            expectedNotifications.push_back(
                call == "did prompt" ? "RatePromptDidPromptForRating"
                : call == "rate"     ? "RatePromptUserDidAttemptToRateApp"
                : call == "decline"  ? "RatePromptUserDidDeclineToRateApp"
                : call == "remind"   ? "RatePromptUserDidRequestReminderToRateApp"
                                     : "RatePromptDidOpenAppStore");
        }
        EXPECT_EQ(notifications, expectedNotifications);
    }

    // With neither button, index 1 means nothing.
    recorder->calls.clear();
    prompt->setCancelButtonLabel("");
    prompt->setRemindButtonLabel("");
    prompt->didDismissAlertWithButtonAtIndex(1);
    EXPECT_TRUE(recorder->calls.empty());
}

// An application delegate that is also the rating prompt's delegate.
struct RatingAppDelegate : UIApplicationDelegate, RecordingRatePromptDelegate {
    std::shared_ptr<UIWindow> appWindow;
    std::shared_ptr<UIWindow> window() const override { return appWindow; }
};

TEST_F(RatePromptTest, AlertControllerOverTheTopScreenAndTheApplicationDelegateListening) {
    auto appDelegate = std::make_shared<RatingAppDelegate>();
    appDelegate->appWindow = window;
    UIApplication::sharedApplication()->launch(appDelegate);
    auto fresh = RatePrompt::init();
    EXPECT_EQ(fresh->delegate().get(), static_cast<RatePromptDelegate*>(appDelegate.get()));
    fresh->setUseUIAlertControllerIfAvailable(true);
    fresh->setCancelButtonLabel("");
    fresh->promptForRating();
    environment.fastForwardBy(UIViewController::kTransitionDuration);
    auto alert = std::dynamic_pointer_cast<UIAlertController>(root->presentedViewController());
    ASSERT_TRUE(alert);
    EXPECT_EQ(fresh->visibleAlert(), alert);
    EXPECT_EQ(lastEvent(), std::string("alert: Rate MixPhotos: ") + kAppMessage +
                               " [Rate It Now | Remind Me Later]");
    EXPECT_TRUE(alert->tapActionWithTitle("Remind Me Later"));
    environment.fastForwardBy(UIViewController::kTransitionDuration);
    EXPECT_EQ(appDelegate->calls, (std::vector<std::string>{"did prompt", "remind"}));
    EXPECT_EQ(fresh->visibleAlert(), nullptr);
    EXPECT_TRUE(fresh->lastReminded().has_value());
    UIApplication::sharedApplication()->launch(nullptr);
}

TEST_F(RatePromptTest, NoWindowNoAlert) {
    UIApplication::sharedApplication()->setKeyWindow(nullptr);
    prompt->promptForRating();
    EXPECT_EQ(prompt->visibleAlert(), nullptr);
    EXPECT_TRUE(recorder->calls.empty());
    // Once there is a window, the next prompt shows.
    window->makeKeyAndVisible();
    prompt->promptForRating();
    ASSERT_TRUE(shownAlert());
    EXPECT_TRUE(shownAlert()->tapButtonWithTitle("No, Thanks"));
}

TEST_F(RatePromptTest, ThePromptWaitsForTheStoreAndALaunchLookupServesIt) {
    store.setAnswer({200, LoopbackStore::appAnswer("com.mixphotos.collage", "1.9")});
    prompt->setAppStoreID(1187402256);
    prompt->setDaysUntilPrompt(0);
    prompt->setUsesUntilPrompt(2);
    prompt->setPromptAtLaunch(false);
    prompt->applicationLaunched();
    finishLookups();
    prompt->logEvent(false); // one use, one event: not yet
    finishLookups();
    EXPECT_EQ(store.requests().size(), 1u);
    EXPECT_EQ(prompt->visibleAlert(), nullptr);

    home.relaunchDefaults();
    prompt->applicationLaunched(); // the second use; its lookup is held
    prompt->logEvent(false);
    EXPECT_TRUE(prompt->checkingForPrompt());
    EXPECT_EQ(prompt->visibleAlert(), nullptr);
    finishLookups();
    // One lookup served both the launch and the prompt.
    EXPECT_EQ(store.requests(),
              (std::vector<std::string>{"/US/lookup?id=1187402256", "/US/lookup?id=1187402256"}));
    EXPECT_FALSE(prompt->checkingForPrompt());
    ASSERT_TRUE(shownAlert());
    EXPECT_EQ(recorder->calls, (std::vector<std::string>{"should prompt", "did prompt"}));
    EXPECT_TRUE(shownAlert()->tapButtonWithTitle("No, Thanks"));
    EXPECT_TRUE(prompt->declinedThisVersion());
}

TEST_F(RatePromptTest, PromptAtLaunch) {
    store.setAnswer({200, LoopbackStore::appAnswer("com.mixphotos.collage", "1.9")});
    prompt->setAppStoreID(1187402256);
    prompt->setDaysUntilPrompt(0);
    prompt->setUsesUntilPrompt(1);
    prompt->applicationLaunched();
    finishLookups();
    ASSERT_TRUE(shownAlert());
    EXPECT_TRUE(shownAlert()->tapButtonWithTitle("Remind Me Later"));
}

TEST_F(RatePromptTest, AnUnreachableStoreEndsTheAttemptAndTheNextEventTriesAgain) {
    prompt->storeLookup()->setBaseURL("http://127.0.0.1:" +
                                      std::to_string(LoopbackServer::closedPort()));
    prompt->setAppStoreID(1187402256);
    prompt->setDaysUntilPrompt(0);
    prompt->setUsesUntilPrompt(1);
    prompt->setEventsUntilPrompt(1);

    // A lookup nobody waits for fails quietly.
    prompt->checkForConnectivityInBackground();
    finishLookups();
    EXPECT_TRUE(recorder->calls.empty());

    std::shared_ptr<NSObject> posted;
    auto token = NSNotificationCenter::defaultCenter()->addObserverForNameObjectQueueUsingBlock(
        "RatePromptCouldNotConnectToAppStore", nullptr, nullptr,
        [&](const NSNotification& notification) { posted = notification.object(); });
    CapturedLog log;
    prompt->logEvent(false);
    finishLookups();
    NSNotificationCenter::defaultCenter()->removeObserver(token);
    EXPECT_EQ(recorder->calls, std::vector<std::string>{"could not connect"});
    ASSERT_TRUE(recorder->error);
    EXPECT_EQ(recorder->error->domain(), NSURLErrorDomain);
    EXPECT_EQ(recorder->error->code(), NSURLErrorCannotConnectToHost);
    EXPECT_EQ(posted, recorder->error);
    EXPECT_EQ(log.lines().back(), "RatePrompt rating process failed because: " +
                                      recorder->error->localizedDescription());
    EXPECT_FALSE(prompt->checkingForPrompt());
    EXPECT_EQ(prompt->eventCount(), 1u);
    EXPECT_EQ(prompt->visibleAlert(), nullptr);

    // The store is back: the next event asks again and the alert comes.
    store.setAnswer({200, LoopbackStore::appAnswer("com.mixphotos.collage", "1.9")});
    prompt->storeLookup()->setBaseURL(store.baseURL());
    prompt->logEvent(false);
    finishLookups();
    ASSERT_TRUE(shownAlert());
    EXPECT_TRUE(shownAlert()->tapButtonWithTitle("No, Thanks"));
}

TEST_F(RatePromptTest, OpeningTheRatingsPageLearnsTheStoreIDFirst) {
    store.setAnswer({200, LoopbackStore::appAnswer("com.mixphotos.collage", "1.9", 555)});
    auto& opened = UIApplication::sharedApplication()->openedURLs();
    size_t openedBefore = opened.size();
    prompt->openRatingsPageInAppStore();
    EXPECT_TRUE(prompt->checkingForAppStoreID());
    EXPECT_EQ(opened.size(), openedBefore);
    finishLookups();
    EXPECT_EQ(store.requests(),
              std::vector<std::string>{"/US/lookup?bundleId=com.mixphotos.collage"});
    ASSERT_EQ(opened.size(), openedBefore + 1);
    EXPECT_NE(opened.back().find("&id=555&"), std::string::npos) << opened.back();
    EXPECT_EQ(NSUserDefaults::standardUserDefaults()->integerForKey("RatePromptAppStoreID"), 555);
    EXPECT_FALSE(prompt->checkingForAppStoreID());
    EXPECT_EQ(recorder->calls, std::vector<std::string>{"did open"});

    // Known now: the page opens at once.
    prompt->openRatingsPageInAppStore();
    EXPECT_EQ(opened.size(), openedBefore + 2);
    EXPECT_EQ(store.requests().size(), 1u);
}
} // namespace
