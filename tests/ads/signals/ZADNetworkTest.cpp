#include "ads/signals/ZADNetwork.h"

#include "ads/signals/ZADMobileAds.h"
#include "ads/signals/ZADSession.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

namespace {

TEST(ZADNetworkTest, ReachabilityFlagsGiveTheTypesCodes) {
    TaskEnvironment environment;
    struct Case {
        SCNetworkReachabilityFlags flags;
        std::optional<std::string> code;
    };
    for (const Case& c :
         {Case{0, std::nullopt}, Case{kSCNetworkReachabilityFlagsReachable, "wi"},
          Case{kSCNetworkReachabilityFlagsIsWWAN, "ed"},
          Case{kSCNetworkReachabilityFlagsIsWWAN | kSCNetworkReachabilityFlagsReachable, "ed"}}) {
        auto network = ZADNetwork::init();
        network->setNetworkTypeFromFlags(c.flags);
        EXPECT_EQ(network->networkTypeString(), c.code) << c.flags;
    }
}

TEST(ZADNetworkTest, TheLastKnownTypeOutlivesTheNetwork) {
    TaskEnvironment environment;
    auto network = ZADNetwork::init();
    EXPECT_EQ(network->networkTypeString(), std::nullopt) << "no answer yet";
    EXPECT_EQ(network->lastKnownNetworkTypeString(), std::nullopt);
    network->setNetworkType(ZADNetwork::WiFi);
    network->setNetworkType(ZADNetwork::WiFi);
    network->setNetworkType(ZADNetwork::Unknown);
    network->setNetworkType(ZADNetwork::NotReachable);
    EXPECT_EQ(network->changeCount(), 2u) << "a repeat and type 0 never count";
    EXPECT_EQ(network->networkTypeString(), std::nullopt);
    EXPECT_EQ(network->lastKnownNetworkTypeString(), "wi");
}

TEST(ZADNetworkTest, TheAdServersHostIsWatchedForReal) {
    TaskEnvironment environment;
    struct Case {
        const char* host;
        ZADNetwork::Type type;
    };
    // A loopback name resolves; any other is unreachable in tests, where nothing is looked
    // up beyond this machine.
    for (const Case& c : {Case{"127.0.0.1", ZADNetwork::WiFi}, Case{"localhost", ZADNetwork::WiFi},
                          Case{"ads.mixphotos.example", ZADNetwork::NotReachable}}) {
        auto network = ZADNetwork::init();
        network->enableNetworkCheckingForHost(c.host);
        environment.runUntilIdle();
        EXPECT_EQ(network->networkType(), c.type) << c.host;
        network->disableNetworkChecking();
        EXPECT_EQ(network->networkType(), ZADNetwork::Unknown) << c.host;
    }
}

TEST(ZADSessionTest, EveryRunHasItsOwnIdentifierOfDigits) {
    const std::string first = ZADSession::init()->uniqueID();
    const std::string second = ZADSession::init()->uniqueID();
    EXPECT_NE(first, second);
    for (const auto& id : {first, second}) {
        EXPECT_FALSE(id.empty());
        EXPECT_LE(id.size(), 20u);
        EXPECT_EQ(id.find_first_not_of("0123456789"), std::string::npos) << id;
    }
}

TEST(ZADMobileAdsTest, OnlyRealChangesOfTheVolumeArePosted) {
    TaskEnvironment environment;
    auto mobileAds = ZADMobileAds::sharedInstance();
    int posted = 0;
    auto token = NSNotificationCenter::defaultCenter()->addObserverForNameObjectQueueUsingBlock(
        ZADMobileAdsApplicationVolumeDidChangeNotification, mobileAds, nullptr,
        [&](const NSNotification&) { ++posted; });
    mobileAds->setApplicationVolume(1.0f);
    EXPECT_EQ(posted, 0);
    mobileAds->setApplicationVolume(0.5f);
    mobileAds->setApplicationVolume(0.5f);
    EXPECT_EQ(posted, 1);
    mobileAds->setApplicationMuted(true);
    EXPECT_EQ(posted, 2);
    for (auto [volume, clamped] :
         {std::pair{1.5f, 1.0f}, std::pair{-0.5f, 0.0f}, std::pair{0.25f, 0.25f}}) {
        mobileAds->setApplicationVolume(volume);
        EXPECT_EQ(mobileAds->clampedApplicationVolume(), clamped);
    }
    NSNotificationCenter::defaultCenter()->removeObserver(token);
}

} // namespace
