// The core controller against our own ad server on the real engine: the server's page
// answers each ad unit's request for its id, and its constants become settings.
#include "ads/core/ZADSDKCoreController.h"
#include "ads/render/ZADAdServer.h"
#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSUserDefaults.h"
#include "tests/adserver/RunningAdServer.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/ads/core/RecordingLoader.h"
#include "tests/support/webkit/MainContextWait.h"

#include <gmock/gmock.h>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::StartsWith;

namespace {

class SDKCoreControllerOnAdServer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(server.error(), "");
        ZADAdServer::setBaseURL(server.baseURL());
        controller = ZADSDKCoreController::sharedInstance();
    }
    // Asks for the unit's ad URL and waits for the page's answer.
    std::shared_ptr<RecordingLoader> askAndWait(const std::string& unit) {
        auto loader = std::make_shared<RecordingLoader>(unit);
        controller->buildAdURL(loader);
        EXPECT_TRUE(turnMainContextUntil([&] { return loader->calls.size() >= 2; }))
            << unit << ": " << ::testing::PrintToString(loader->calls);
        return loader;
    }

    TaskEnvironment environment;
    RunningAdServer server;
    std::shared_ptr<ZADSDKCoreController> controller;
};

TEST_F(SDKCoreControllerOnAdServer, EachUnitsAnswerReachesItsRequester) {
    auto url = askAndWait("default");
    ASSERT_EQ(url->calls.size(), 2u);
    EXPECT_THAT(url->calls[1],
                StartsWith("loadAdURL request_id=1 url=" + server.baseURL() + "/ads?"));
    auto error = askAndWait("page-error");
    EXPECT_THAT(error->calls, ElementsAre("parameters", "loadAdURL errors=no ad to show "
                                                        "request_id=2"));
    auto invalid = askAndWait("page-invalid");
    EXPECT_THAT(invalid->calls, ElementsAre("parameters", "invalid"));
    for (const auto& loader : {url, error, invalid}) {
        EXPECT_TRUE(loader->allOnMainThread);
    }

    auto events = EventLog::entries();
    EXPECT_THAT(events, Contains("ad: core page loaded"));
    EXPECT_THAT(events, Contains(StartsWith("ad: request 1 answered with ad URL " +
                                            server.baseURL() + "/ads?")));
    EXPECT_THAT(events, Contains("ad: request 2 answered with error no ad to show"));
    bool corePageFetched = false;
    for (const auto& hit : server.hits()) {
        corePageFetched = corePageFetched || hit.value("path", "") == AdServer::kCorePagePath;
    }
    EXPECT_TRUE(corePageFetched);
}

TEST_F(SDKCoreControllerOnAdServer, TheServersConstantsBecomeSettings) {
    askAndWait("default");
    auto defaults = NSUserDefaults::standardUserDefaults();
    ASSERT_TRUE(turnMainContextUntil(
        [&] { return !defaults->objectForKey("/zivido/ads/csi_reporting_url").isNull(); }));
    EXPECT_EQ(defaults->objectForKey("/zivido/ads/csi_reporting_url"),
              PlistValue(server.baseURL() + "/csi"));
    EXPECT_EQ(defaults->objectForKey("/zivido/ads/ping_interval"), PlistValue("60"));
    EXPECT_DOUBLE_EQ(controller->swipeToViewSamplingInterval(), 0.25);
}

} // namespace
