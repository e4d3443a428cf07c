// The engine's core page web view against our own ad server, in-process: the page it loads
// is the one the server serves, and the engine reads the page's answers.
#include "ads/render/ZADAdServer.h"
#include "ads/render/ZADSDKCoreWebView.h"
#include "ads/render/ZADSDKCoreZMSGHandler.h"
#include "tests/adserver/RunningAdServer.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/ads/render/SDKConstantsRecorder.h"
#include "tests/support/ads/render/SDKCoreLoadCounter.h"
#include "tests/support/webkit/MainContextWait.h"

#include <gtest/gtest.h>

namespace {

TEST(SDKCoreWebViewOnAdServer, LoadsTheServersCorePageAndReadsItsConstants) {
    TaskEnvironment environment;
    RunningAdServer server;
    ASSERT_EQ(server.error(), "");
    ZADAdServer::setBaseURL(server.baseURL());
    auto webView = ZADSDKCoreWebView::init();
    auto recorder = std::make_shared<SDKConstantsRecorder>();
    webView->SDKCoreZMSGHandler()->setDelegate(recorder);

    auto counter = std::make_shared<SDKCoreLoadCounter>();
    webView->refreshSDKCoreAndNotifyObserver(counter);
    ASSERT_TRUE(turnMainContextUntil([&] { return counter->told > 0; }));
    ASSERT_EQ(webView->state(), ZADSDKCoreWebView::Loaded);

    webView->enqueueJavaScriptCommand(R"(ROZU_getSdkConstants({"js": "test"});)");
    ASSERT_TRUE(turnMainContextUntil([&] { return !recorder->received.empty(); }));
    const auto& constants = recorder->received.front();
    // The server names its scripts by its own address, which the engine got from its setting.
    auto banner = constants.find("mraid_banner_path");
    ASSERT_NE(banner, constants.end()) << ::testing::PrintToString(constants);
    EXPECT_EQ(banner->second,
              server.baseURL() + "/zmads/static/mad/sdk/native/mraid/v2/mraid_app_banner.js");
}

} // namespace
