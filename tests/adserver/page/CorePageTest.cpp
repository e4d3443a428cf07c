// The core page on the real web engine: commands sent as the engine sends them come back
// as the zmsg messages it reads.
#include "ads/render/ZADAdView.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLRequest.h"
#include "platform/uikit/UIWindow.h"
#include "tests/adserver/RunningAdServer.h"
#include "tests/platform/webkit/RecordingWebViewDelegate.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/webkit/MainContextWait.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
class CorePageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(server_.error(), "");
        corePage_ = server_.baseURL() + AdServer::kCorePagePath;
        // As the engine does: only the core page itself loads; zmsg messages are read and
        // refused.
        delegate_->refuse = [this](const std::string& url) { return url != corePage_; };
        webView_->setDelegate(delegate_);
        window_->addSubview(webView_);
        webView_->loadRequest(NSURLRequest::requestWithURL(NSURL::URLWithString(corePage_)));
        ASSERT_TRUE(turnMainContextUntil([this] { return has("finish") || has("fail"); }));
        ASSERT_TRUE(has("finish")) << ::testing::PrintToString(delegate_->log);
    }

    bool has(const std::string& start) const { return message(start) != nullptr; }
    // The first line of the delegate's log that starts so, or null.
    const std::string* message(const std::string& start) const {
        auto found = std::find_if(delegate_->log.begin(), delegate_->log.end(),
                                  [&](const std::string& line) { return line.starts_with(start); });
        return found == delegate_->log.end() ? nullptr : &*found;
    }
    // Sends a command the way the engine does and waits for the message it brings.
    std::string exchange(const std::string& function, const std::string& json,
                         const std::string& answer) {
        webView_->stringByEvaluatingJavaScriptFromString(
            ZADAdView::JSCommandForAsynchronousScript(function + "(" + json + ");"));
        const std::string asked = "ask zmsg://core/" + answer;
        if (!turnMainContextUntil([&] { return has(asked); })) {
            return "(no " + answer + " in " + ::testing::PrintToString(delegate_->log) + ")";
        }
        std::string line = *message(asked);
        return line.substr(4, line.rfind(' ') - 4);
    }

    TaskEnvironment environment_;
    RunningAdServer server_;
    std::string corePage_;
    std::shared_ptr<UIWindow> window_ = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 50));
    std::shared_ptr<UIWebView> webView_ = UIWebView::initWithFrame(CGRectMake(0, 0, 320, 50));
    std::shared_ptr<RecordingWebViewDelegate> delegate_ =
        std::make_shared<RecordingWebViewDelegate>();
};

TEST_F(CorePageTest, AnswersTheEnginesCommandsWithItsMessages) {
    // Nothing is sent before a command comes.
    EXPECT_FALSE(has("ask zmsg:")) << ::testing::PrintToString(delegate_->log);
    const auto encoded = [](const std::string& text) {
        std::string out;
        for (char c : text) {
            out += c == ':' ? "%3A" : c == '/' ? "%2F" : std::string(1, c);
        }
        return out;
    };
    const std::string constants =
        exchange("ROZU_getSdkConstants", R"({"js":"test"})", "loadSdkConstants?");
    EXPECT_NE(constants.find("mraid_banner_path=" +
                             encoded(server_.baseURL() +
                                     "/zmads/static/mad/sdk/native/mraid/v2/mraid_app_banner.js")),
              std::string::npos)
        << constants;
    EXPECT_NE(
        constants.find("&refresh_intervals=%7B%22active_view_sampling_interval%22%3A%220.4%22"),
        std::string::npos)
        << constants;

    const struct {
        const char* function;
        const char* parameters;
        const char* answer;
    } cases[] = {
        {"ROZU_getAd", R"({"request_id":"2","slotname":"page-error"})",
         "loadAdURL?request_id=2&errors=no%20ad%20to%20show"},
        {"ROZU_getAd", R"({"request_id":"3","slotname":"page-invalid"})",
         "invalidRequest?request_id=3&errors=unknown%20ad%20unit"},
        {"ROZU_getAdapterLessMediationAd", R"({"request_id":"4","slotname":"page-ready"})",
         "loadAd?request_id=4&fetched_ad=%7B%22ad_html%22"},
        {"ROZU_getAd", R"({"slotname":"default"})", "invalidRequest?request_id=&errors="},
        {"ROZU_getAd",
         R"({"request_id":"5","slotname":"interstitial-offline","format":"interstitial_mb"})",
         "loadAdURL?request_id=5&url="},
        {"ROZU_updateActiveView", R"({"units":[{"hashCode":7,"isVisible":"1"}]})",
         "visibilityChanged?hashCode=7&isVisible=1"},
        {"ROZU_updateActiveView",
         R"({"units":[{"hashCode":7,"isVisible":"1","doneReasonCode":"u"}]})",
         "untrackActiveViewUnit?hashCode=7"},
    };
    for (const auto& c : cases) {
        const std::string answer = exchange(c.function, c.parameters, c.answer);
        EXPECT_EQ(answer.find(std::string("zmsg://core/") + c.answer), 0u) << c.parameters << "\n"
                                                                           << answer;
    }
    EXPECT_TRUE(has("ask zmsg://core/trackActiveViewUnit"));
    const auto* offline = message("ask zmsg://core/loadAdURL?request_id=5&url=");
    ASSERT_NE(offline, nullptr);
    for (const char* piece : {"&request_scenario=offline_buffer", "&enable_auto_click_protection=1",
                              "&interstitial_size_width=320", "&interstitial_size_height=480"}) {
        EXPECT_NE(offline->find(piece), std::string::npos) << piece << " in " << *offline;
    }
}

TEST_F(CorePageTest, TheAdURLCarriesTheRequestAndServesItsCreative) {
    const std::string answer = exchange(
        "ROZU_getAd",
        R"({"request_id":"1","slotname":"banner-unit","sz":"728x90|320x50","ad_frame":{"x":0,"y":0,"w":728,"h":90}})",
        "loadAdURL?request_id=1&url=");
    const auto start = answer.find("&url=") + 5;
    const std::string url =
        httplib::detail::decode_url(answer.substr(start, answer.find('&', start) - start), false);
    ASSERT_EQ(url.find(server_.baseURL() + "/ads?"), 0u) << url;
    auto ad = server_.client().Get(url.substr(server_.baseURL().size()).c_str());
    ASSERT_TRUE(ad);
    EXPECT_EQ(ad->status, 200);
    EXPECT_NE(ad->body.find("data-size=\"728x90\""), std::string::npos);
    // The hits show what the engine sent, objects as JSON.
    const auto hits = server_.hits();
    ASSERT_FALSE(hits.empty());
    const auto& query = hits.back()["query"];
    EXPECT_EQ(query["request_id"], "1");
    EXPECT_EQ(query["sz"], "728x90|320x50");
    EXPECT_EQ(nlohmann::json::parse(query["ad_frame"].get<std::string>())["w"], 728);
}

TEST_F(CorePageTest, KeepsWhatTheEngineSendsBack) {
    webView_->stringByEvaluatingJavaScriptFromString(
        "ROZU_ReceiveMessage('fetchHttpRequestCompleted', {\"success\":\"true\",\"response\":"
        "{\"response_code\":200,\"body\":\"ok\",\"http_request_id\":\"f1\",\"headers\":[]}})");
    const auto received = nlohmann::json::parse(
        webView_->stringByEvaluatingJavaScriptFromString("JSON.stringify(ROZU_received)"), nullptr,
        false);
    ASSERT_TRUE(received.is_array());
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0]["name"], "fetchHttpRequestCompleted");
    EXPECT_EQ(received[0]["data"]["response"]["http_request_id"], "f1");
}
} // namespace
