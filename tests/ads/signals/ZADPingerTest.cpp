#include "ads/signals/ZADPinger.h"

#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSUserDefaults.h"
#include "tests/adserver/RunningAdServer.h"
#include "tests/platform/foundation/LoopbackServer.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>

namespace {

class ZADPingerTest : public ::testing::Test {
protected:
    // The group as kept in the user defaults: URL -> retries left.
    std::map<std::string, int64_t> group(const std::string& name) {
        std::map<std::string, int64_t> entries;
        const PlistValue stored = NSUserDefaults::standardUserDefaults()->objectForKey(name);
        if (const auto* dictionary = stored.dictionary()) {
            for (const auto& [url, entry] : *dictionary) {
                entries[url] = entry.dictionary()->at(ZADPinger::kRetryCountKey).integerValue();
            }
        }
        return entries;
    }

    // One retry pass, on the pinger's queue as its timer runs it, and its pings' answers.
    void retryPass() {
        auto pinger = ZADPinger::sharedInstance();
        dispatch_sync(pinger->lockQueue(), [&] { pinger->pingRetryURLs(); });
        environment.runUntilIdle();
    }

    std::optional<bool> ping(const std::string& url) {
        std::optional<bool> answer;
        ZADPinger::sharedInstance()->pingURLStringQueueCompletionBlock(
            url, dispatch_get_main_queue(), [&](bool succeeded) { answer = succeeded; });
        environment.runUntilIdle();
        return answer;
    }

    TaskEnvironment environment;
    TestHome home;
};

TEST_F(ZADPingerTest, OnlyA2xxAnswerWithoutATransportErrorIsASuccess) {
    LoopbackServer server;
    server.server().Get(R"(/status/(\d+))",
                        [](const httplib::Request& request, httplib::Response& response) {
                            response.status = std::stoi(request.matches[1]);
                        });
    ASSERT_TRUE(server.start());
    for (auto [status, success] :
         {std::pair{200, true}, std::pair{204, true}, std::pair{299, true}, std::pair{300, false},
          std::pair{404, false}, std::pair{500, false}}) {
        EXPECT_EQ(ping(server.url("/status/" + std::to_string(status))), success) << status;
    }
    EXPECT_EQ(ping("http://127.0.0.1:" + std::to_string(LoopbackServer::closedPort()) + "/"),
              false);
    EXPECT_EQ(ping(""), false);
    EXPECT_EQ(ping("not a url"), false);
}

TEST_F(ZADPingerTest, AGroupTakesNoMoreThanItsMaximumAndKeepsAFirstCount) {
    NSUserDefaults::standardUserDefaults()->setIntegerForKey(2,
                                                             "/zivido/ads/maximum_retry_url_count");
    ZADPinger::resetForTesting();
    auto pinger = ZADPinger::sharedInstance();
    for (const char* url : {"http://a.test/1", "http://a.test/2", "http://a.test/3"}) {
        pinger->storeRetryURLStringRetryGroupKey(url, "group");
    }
    dispatch_sync(pinger->lockQueue(), [] {});
    EXPECT_EQ(group("group"),
              (std::map<std::string, int64_t>{{"http://a.test/1", 3}, {"http://a.test/2", 3}}));
    // A pass charges each URL one retry (these fail: nothing leaves the machine); storing a
    // URL again keeps what it has left.
    retryPass();
    pinger->storeRetryURLStringRetryGroupKey("http://a.test/1", "group");
    dispatch_sync(pinger->lockQueue(), [] {});
    EXPECT_EQ(group("group")["http://a.test/1"], 2);
    EXPECT_EQ(NSUserDefaults::standardUserDefaults()->objectForKey(ZADPinger::kRetryGroupKeysKey),
              PlistValue(PlistValue::Array{"group"}));
}

TEST_F(ZADPingerTest, AFailingPingIsRetriedAcrossARelaunchUntilOurServerTakesIt) {
    RunningAdServer adServer;
    ASSERT_EQ(adServer.error(), "");
    // The server refuses this ping twice (the direct one and the first retry), then takes it.
    const std::string url = adServer.baseURL() + "/zadpage/ping?id=relaunch&fail=2";
    ZADPinger::sharedInstance()->pingWithRetryGroupKeyURLRetryURLString(
        "/zivido/ads/crash_reporting", NSURL::URLWithString(url), url);
    environment.runUntilIdle();
    EXPECT_EQ(group("/zivido/ads/crash_reporting"), (std::map<std::string, int64_t>{{url, 3}}));

    // The next launch finds the group and its first pass comes soon after the start.
    home.relaunchDefaults();
    ZADPinger::resetForTesting();
    ZADPinger::sharedInstance()->start();
    environment.fastForwardBy(3);
    environment.runUntilIdle();
    EXPECT_EQ(group("/zivido/ads/crash_reporting"), (std::map<std::string, int64_t>{{url, 2}}));
    environment.fastForwardBy(60);
    environment.runUntilIdle();
    EXPECT_TRUE(group("/zivido/ads/crash_reporting").empty()) << "taken on the third try";

    int pings = 0;
    for (const auto& hit : adServer.hits()) {
        pings += hit.value("path", "") == "/zadpage/ping";
    }
    EXPECT_EQ(pings, 3);
}

TEST_F(ZADPingerTest, APingThatNeverSucceedsUsesItsBudgetAndIsDropped) {
    const std::string url =
        "http://127.0.0.1:" + std::to_string(LoopbackServer::closedPort()) + "/";
    ZADPinger::sharedInstance()->pingWithRetryGroupKeyURLRetryURLString(
        "zivido_fp", NSURL::URLWithString(url), url);
    environment.runUntilIdle();
    for (int64_t left : {2, 1, 0}) {
        retryPass();
        EXPECT_EQ(group("zivido_fp"), (std::map<std::string, int64_t>{{url, left}}));
    }
    retryPass();
    EXPECT_TRUE(group("zivido_fp").empty());
}

TEST_F(ZADPingerTest, ARetryListOfAnotherShapeIsIgnored) {
    auto defaults = NSUserDefaults::standardUserDefaults();
    defaults->setObjectForKey(PlistValue(PlistValue::Array{"good", 5}),
                              ZADPinger::kRetryGroupKeysKey);
    defaults->setObjectForKey(PlistValue(PlistValue::Dictionary{
                                  {"http://a.test/ok", PlistValue(PlistValue::Dictionary{
                                                           {ZADPinger::kRetryCountKey, 1}})},
                                  {"http://a.test/bad", PlistValue("no count")}}),
                              "good");
    retryPass();
    EXPECT_EQ(group("good"), (std::map<std::string, int64_t>{{"http://a.test/ok", 0}}));
    defaults->setObjectForKey(PlistValue("not a list"), ZADPinger::kRetryGroupKeysKey);
    retryPass();
    EXPECT_EQ(group("good"), (std::map<std::string, int64_t>{{"http://a.test/ok", 0}}));
}

} // namespace
