#include "ads/signals/ZADApplication.h"

#include "ads/render/ZADMRAIDInterceptor.h"
#include "ads/signals/ZADDevice.h"
#include "ads/signals/ZADPinger.h"
#include "ads/signals/ZADSession.h"
#include "ads/signals/ZADStatisticDictionary.h"
#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIApplicationDelegate.h"
#include "tests/platform/foundation/LoopbackServer.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <mutex>
#include <optional>

namespace {

using ::testing::ElementsAre;
using ::testing::StartsWith;

class ZADApplicationTest : public ::testing::Test {
protected:
    TaskEnvironment environment;
    TestHome home;
};

TEST_F(ZADApplicationTest, RequestsCountThemselvesWithinOneSession) {
    auto application = ZADApplication::sharedInstance();
    environment.fastForwardBy(1);
    auto first = application->nextRequestStatisticsDictionaryForSlot(false);
    environment.fastForwardBy(2);
    auto second = application->nextRequestStatisticsDictionaryForSlot(false);

    const std::string session = application->currentSession()->uniqueID();
    ASSERT_FALSE(session.empty());
    EXPECT_EQ(session.find_first_not_of("0123456789"), std::string::npos);
    for (auto* statistics : {&first, &second}) {
        EXPECT_EQ((*statistics)["session_id"], PlistValue(session));
    }
    EXPECT_EQ(first["preqs"], PlistValue(0));
    EXPECT_EQ(first["seq_num"], PlistValue(1));
    EXPECT_EQ(first["basets"], first["currts"]);
    EXPECT_EQ(second["preqs"], PlistValue(1));
    EXPECT_EQ(second["seq_num"], PlistValue(2));
    EXPECT_EQ(second["basets"], first["currts"]);
    EXPECT_EQ(second["currts"].integerValue() - first["currts"].integerValue(), 2000);
    EXPECT_EQ(application->timeSinceFirstAdRequestInMilliseconds(), 2000u);

    // A mediating slot's request lowers the request count; mediation's own sequence number
    // is the request count's text, and raises the sequence number.
    auto mediating = application->nextRequestStatisticsDictionaryForSlot(true);
    EXPECT_EQ(mediating["preqs"], PlistValue(0));
    EXPECT_EQ(application->nextSequenceNumberAsString(), "0");
    EXPECT_EQ(application->statistics()->objectForKeyedSubscript("seq_num"), PlistValue(4));

    // The next launch is another session.
    ZADApplication::resetForTesting();
    EXPECT_NE(ZADApplication::sharedInstance()->currentSession()->uniqueID(), session);
    EXPECT_EQ(ZADApplication::sharedInstance()->timeSinceFirstAdRequestInMilliseconds(), 0u);
}

TEST_F(ZADApplicationTest, AdStatisticsWaitForTheNextRequestAndComeBackWhenItFails) {
    auto application = ZADApplication::sharedInstance();
    auto ad = ZADStatisticDictionary::initWithDelegate(application);
    auto quiet = ZADStatisticDictionary::initWithDelegate(application);
    ad->setObjectForKeyShouldNotifyDelegate(PlistValue("1"), "viewed", true);
    quiet->setObjectForKeyShouldNotifyDelegate(PlistValue("1"), "viewed", false);
    environment.runUntilIdle();

    auto taken = application->pendingAdStatistics();
    EXPECT_EQ(taken, ZADApplication::AdStatistics{ad});
    EXPECT_TRUE(application->pendingAdStatistics().empty()) << "handed over";
    application->didNotSendAdStatistics(taken);
    EXPECT_EQ(application->pendingAdStatistics(), ZADApplication::AdStatistics{ad});
}

TEST_F(ZADApplicationTest, TheApplicationsOwnParametersNameItAndThisDevice) {
    auto parameters = ZADApplication::sharedInstance()->parameters();
    auto device = ZADDevice::sharedInstance();
    EXPECT_EQ(parameters, (PlistValue::Dictionary{
                              {"appversion", "19"},
                              {"bundleid", "com.mixphotos.collage"},
                              {"osversion", PlistValue(device->systemVersion())},
                              {"rdid", PlistValue(device->rawDeviceIdentifier())},
                              {"lat", "0"},
                              {"sdkversion", "rozu-sdk-i-v7.8.1"},
                          }));
}

// Records whether ads may load while the application finishes launching.
class LaunchingApplication : public UIApplicationDelegate {
public:
    bool applicationDidFinishLaunchingWithOptions(UIApplication&,
                                                  const PlistValue::Dictionary&) override {
        activeWhileLaunching = ZADApplication::sharedInstance()->active();
        return true;
    }
    std::optional<bool> activeWhileLaunching;
};

TEST_F(ZADApplicationTest, AdsMayLoadOutsideTheBackgroundAndThereOnlyBeforeTheLaunchEnds) {
    auto platform = UIApplication::sharedApplication();
    auto application = ZADApplication::sharedInstance();
    // Launched for a background task: the launch has not finished yet.
    platform->enterBackground();
    EXPECT_TRUE(application->active());
    application->appDidFinishLaunching();
    EXPECT_FALSE(application->active());
    platform->enterForeground();
    EXPECT_TRUE(application->active());
}

TEST_F(ZADApplicationTest, AdsMayLoadWhileTheApplicationFinishesLaunching) {
    // The platform runs the launch while the application is still inactive.
    auto delegate = std::make_shared<LaunchingApplication>();
    UIApplication::sharedApplication()->launch(delegate);
    EXPECT_EQ(delegate->activeWhileLaunching, true);
}

// The early activities against a loopback server that records the foreground pings.
class ZADApplicationStartUpTest : public ZADApplicationTest {
protected:
    void SetUp() override {
        server.server().Get("/fp",
                            [this](const httplib::Request& request, httplib::Response& response) {
                                std::lock_guard lock(mutex);
                                pings.push_back(request.target);
                                response.status = 204;
                            });
        ASSERT_TRUE(server.start());
        auto defaults = NSUserDefaults::standardUserDefaults();
        defaults->setBoolForKey(true, "/zivido/ads/foreground_ping_enabled");
        defaults->setObjectForKey(
            PlistValue(server.url("/fp?id=@id@&app=@app@&ts=@ts@&pkg=@package_name@&lat=@lat@")),
            "/zivido/ads/foreground_ping_url");
    }

    std::vector<std::string> received() {
        std::lock_guard lock(mutex);
        return pings;
    }

    LoopbackServer server;
    std::mutex mutex;
    std::vector<std::string> pings;
};

TEST_F(ZADApplicationStartUpTest, EarlyActivitiesRunOnceAndEndWithAForegroundPing) {
    // The foreground moment is now; the ping leaves 10 seconds later and names it.
    environment.fastForwardBy(100);
    const auto launchSeconds = static_cast<long>(NSDate::date().timeIntervalSince1970());
    auto application = ZADApplication::sharedInstance();
    application->runEarlyActivities();
    application->runEarlyActivities();
    EXPECT_TRUE(ZADApplication::earlyActivitiesDone());
    EXPECT_TRUE(ZADDevice::sharedInstance()->hasCachedStaticParameters());
    EXPECT_TRUE(ZADMRAIDInterceptor::isAllowed());
    // Once, in this order; content hashing only when the server enables it.
    EXPECT_THAT(EventLog::entries(),
                ElementsAre("ad start: device facts", "ad start: rich-media interceptor",
                            "ad start: ping retries", "ad start: foreground ping"));

    environment.fastForwardBy(9.9);
    EXPECT_TRUE(received().empty());
    environment.fastForwardBy(0.1);
    environment.runUntilIdle();
    const std::string expected = "/fp?id=wfocus&app=1&ts=" + std::to_string(launchSeconds) +
                                 "&pkg=com.mixphotos.collage&lat=0";
    EXPECT_THAT(received(), ElementsAre(expected)) << "one ping for one start";
    // It succeeded: nothing waits in its retry group.
    EXPECT_EQ(
        NSUserDefaults::standardUserDefaults()->objectForKey(ZADApplication::kForegroundPingGroup),
        PlistValue(PlistValue::Dictionary{}));

    // Coming back to the foreground pings again.
    application->willEnterForeground();
    environment.fastForwardBy(10);
    environment.runUntilIdle();
    EXPECT_EQ(received().size(), 2u);

    // The next start, with content hashing enabled, runs it before the foreground ping.
    ZADApplication::resetForTesting();
    EventLog::clear();
    NSUserDefaults::standardUserDefaults()->setBoolForKey(true, "/zivido/ads/content_url_enabled");
    ZADApplication::sharedInstance()->runEarlyActivities();
    EXPECT_THAT(EventLog::entries(),
                ElementsAre("ad start: device facts", "ad start: rich-media interceptor",
                            "ad start: ping retries", "ad start: content hashing",
                            "ad start: foreground ping"));
}

TEST_F(ZADApplicationStartUpTest, PingValuesAreEscapedAndTheRetryURLIsMarked) {
    // An application whose identifier holds what would change the URL's meaning.
    TempFolder bundle;
    bundle.write("Info.plist", R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
<key>CFBundleIdentifier</key><string>com.example.app&amp;x=1#top</string>
</dict></plist>)");
    NSBundle::setMainBundlePath(bundle.path());
    NSUserDefaults::standardUserDefaults()->setObjectForKey(
        PlistValue(server.url("/nowhere?pkg=@package_name@&ts=@ts@")),
        "/zivido/ads/foreground_ping_url");
    NSUserDefaults::standardUserDefaults()->setObjectForKey(PlistValue("0"),
                                                            "/zivido/ads/foreground_ping_delay");
    ZADApplication::sharedInstance()->willEnterForeground();
    environment.runUntilIdle();
    // The ping failed (404): its retry URL, the ping's with "retry=1", waits in the group.
    const PlistValue group =
        NSUserDefaults::standardUserDefaults()->objectForKey(ZADApplication::kForegroundPingGroup);
    ASSERT_TRUE(group.dictionary());
    ASSERT_EQ(group.dictionary()->size(), 1u);
    const std::string retryURL = group.dictionary()->begin()->first;
    EXPECT_THAT(retryURL, StartsWith(server.url("/nowhere?pkg=com.example.app%26x%3D1%23top&ts=")));
    EXPECT_THAT(retryURL, ::testing::EndsWith("&retry=1"));
}

} // namespace
