// The core page's web view on the real engine, against a small core page of our own
// served at the core page's path by a loopback server: the page loads to ready, a command
// sent before it is ready runs after, the page's message arrives parsed, every other
// navigation is refused, and the engine's User-Agent is captured as requests send it.
#include "ads/core/NSString+ZADJSONAdditions.h"
#include "ads/render/ZADAdServer.h"
#include "ads/render/ZADAdView.h"
#include "ads/render/ZADSDKCoreWebView.h"
#include "ads/render/ZADSDKCoreWebViewNotification.h"
#include "ads/render/ZADSDKCoreZMSGHandler.h"
#include "ads/render/ZADSDKCoreZMSGHandlerDelegate.h"
#include "ads/signals/ZADDevice.h"
#include "platform/foundation/NSURLRequest.h"
#include "tests/platform/foundation/LoopbackServer.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/ads/render/SDKConstantsRecorder.h"
#include "tests/support/ads/render/SDKCoreLoadCounter.h"
#include "tests/support/webkit/MainContextWait.h"

#include <gmock/gmock.h>

#include <mutex>

using ::testing::ElementsAre;

namespace {

// Sends each call's parameters back as a zmsg message, encoded as pages encode them.
constexpr const char* kCorePage = R"(<!doctype html>
<html><head><title>core</title><script>
function zmsg(name, params) {
  var pieces = [];
  for (var key in params) {
    pieces.push(encodeURIComponent(key) + '=' + encodeURIComponent(params[key]));
  }
  location.href = 'zmsg://core/' + name + (pieces.length ? '?' + pieces.join('&') : '');
}
function ROZU_getSdkConstants(params) { zmsg('loadSdkConstants', params); }
</script></head><body></body></html>)";

class SDKCoreWebViewEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.server().Get(ZADSDKCoreWebView::kSDKCorePagePath,
                            [this](const httplib::Request& request, httplib::Response& response) {
                                record(request);
                                response.set_content(kCorePage, "text/html");
                            });
        server.server().Get("/other.html",
                            [this](const httplib::Request& request, httplib::Response& response) {
                                record(request);
                                response.set_content("<p>other</p>", "text/html");
                            });
        ASSERT_TRUE(server.start());
        ZADAdServer::setBaseURL(server.url(""));
        webView = ZADSDKCoreWebView::init();
        webView->SDKCoreZMSGHandler()->setDelegate(delegate);
    }

    void record(const httplib::Request& request) {
        std::lock_guard lock(mutex);
        paths.push_back(request.path);
        userAgents.push_back(request.get_header_value("User-Agent"));
    }
    std::vector<std::string> pathsSeen() {
        std::lock_guard lock(mutex);
        return paths;
    }

    void loadToReady() {
        auto observer = std::make_shared<SDKCoreLoadCounter>();
        webView->refreshSDKCoreAndNotifyObserver(observer);
        ASSERT_TRUE(turnMainContextUntil([&] { return observer->told > 0; }));
        ASSERT_EQ(webView->state(), ZADSDKCoreWebView::Loaded);
    }
    void waitForConstants(size_t count) {
        ASSERT_TRUE(turnMainContextUntil([&] { return delegate->received.size() >= count; }));
    }

    TaskEnvironment environment;
    LoopbackServer server;
    std::mutex mutex;
    std::vector<std::string> paths;
    std::vector<std::string> userAgents;
    std::shared_ptr<ZADSDKCoreWebView> webView;
    std::shared_ptr<SDKConstantsRecorder> delegate = std::make_shared<SDKConstantsRecorder>();
};

TEST_F(SDKCoreWebViewEngineTest, ACommandSentBeforeThePageIsReadyRunsAfterItsLoad) {
    // Ending in a line comment: the command must still run whole.
    webView->enqueueJavaScriptCommand(R"(ROZU_getSdkConstants({"early": "1"}); // sent early)");
    ASSERT_NO_FATAL_FAILURE(loadToReady());
    ASSERT_NO_FATAL_FAILURE(waitForConstants(1));
    EXPECT_EQ(delegate->received[0], (ZADNotification::Parameters{{"early", "1"}}));
    EXPECT_TRUE(webView->hasSDKCoreLoadedAtLeastOnce());
    EXPECT_THAT(pathsSeen(), ElementsAre(ZADSDKCoreWebView::kSDKCorePagePath));

    // The engine's User-Agent, as the page's request sent it, is kept for ad requests.
    std::lock_guard lock(mutex);
    const std::string userAgent = ZADDevice::sharedInstance()->userAgent();
    EXPECT_FALSE(userAgent.empty());
    EXPECT_EQ(userAgent, userAgents.at(0));
}

TEST_F(SDKCoreWebViewEngineTest, ThePagesMessageArrivesParsed) {
    ASSERT_NO_FATAL_FAILURE(loadToReady());
    webView->enqueueJavaScriptCommand(
        R"(ROZU_getSdkConstants({"Request_ID": "7", "text": "a b&c=d;e+f", "word": "\u00e9t\u00e9",
                                 "list": "[1,2]"});)");
    ASSERT_NO_FATAL_FAILURE(waitForConstants(1));
    EXPECT_EQ(delegate->received[0], (ZADNotification::Parameters{{"Request_ID", "7"},
                                                                  {"list", "[1,2]"},
                                                                  {"text", "a b&c=d;e+f"},
                                                                  {"word", "\xC3\xA9t\xC3\xA9"}}));
}

TEST_F(SDKCoreWebViewEngineTest, NavigationsToOtherPagesAreRefused) {
    ASSERT_NO_FATAL_FAILURE(loadToReady());
    std::string other = server.url("/other.html");
    webView->enqueueJavaScriptCommand(
        "location.href = " + ZADJSONAdditions::zad_JSONStringLiteral(other) + ";");
    webView->enqueueJavaScriptCommand("var f = document.createElement('iframe'); f.src = " +
                                      ZADJSONAdditions::zad_JSONStringLiteral(other) +
                                      "; document.body.appendChild(f);");
    webView->enqueueJavaScriptCommand(R"(ROZU_getSdkConstants({"still": "here"});)");
    ASSERT_NO_FATAL_FAILURE(waitForConstants(1));
    EXPECT_EQ(delegate->received[0], (ZADNotification::Parameters{{"still", "here"}}));
    EXPECT_EQ(webView->adView()->stringByEvaluatingJavaScriptFromString("location.href"),
              ZADSDKCoreWebView::SDKCoreURLString());
    EXPECT_THAT(pathsSeen(), ElementsAre(ZADSDKCoreWebView::kSDKCorePagePath));
    EXPECT_EQ(webView->state(), ZADSDKCoreWebView::Loaded);
}

TEST_F(SDKCoreWebViewEngineTest, AnUnreachableServerEndsTheLoadInStateFour) {
    ZADAdServer::setBaseURL("http://127.0.0.1:" + std::to_string(LoopbackServer::closedPort()));
    auto observer = std::make_shared<SDKCoreLoadCounter>();
    webView->refreshSDKCoreAndNotifyObserver(observer);
    ASSERT_TRUE(turnMainContextUntil([&] { return observer->told > 0; }));
    EXPECT_EQ(webView->state(), ZADSDKCoreWebView::LoadFailed);
    EXPECT_FALSE(webView->hasSDKCoreLoadedAtLeastOnce());
}

} // namespace
