// The core page's HTTP relay on the scripted page: the request the page describes is made
// on a loopback server, and every outcome is answered into the page.
#include "ads/core/NSString+ZADJSONAdditions.h"
#include "ads/core/NSString+ZADURLEncoding.h"
#include "ads/render/ZADAdServer.h"
#include "ads/render/ZADSDKCoreWebView.h"
#include "ads/render/ZADSDKCoreZMSGHandler.h"
#include "tests/platform/foundation/LoopbackServer.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/ads/render/PageCommands.h"
#include "tests/support/webkit/FakeWebViewEngine.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class SDKCoreRelayTest : public ::testing::Test {
protected:
    void SetUp() override {
        FakeWebViewEngine::install();
        ZADAdServer::setBaseURL("https://ads.test");
        webView = ZADSDKCoreWebView::init();
        engine = FakeWebViewEngine::latest();
        ASSERT_NE(engine, nullptr) << "the core page's web view made no engine";
        webView->refreshSDKCoreAndNotifyObserver(nullptr);
        environment.runUntilIdle();
        engine->finishLoad();
        environment.runUntilIdle();
        server.server().Get("/page", [](const httplib::Request&, httplib::Response& response) {
            response.set_header("X-Kind", "test");
            response.set_content("<p>relayed</p>", "text/html");
        });
        server.server().Post(
            "/echo", [](const httplib::Request& request, httplib::Response& response) {
                response.set_content(request.get_header_value("Content-Type") + "|" +
                                         request.get_header_value("X-Token") + "|" + request.body,
                                     "text/plain");
            });
        server.server().Get("/slow", [this](const httplib::Request&, httplib::Response& response) {
            server.hold();
            response.set_content("late", "text/html");
        });
        server.server().Get("/missing", [](const httplib::Request&, httplib::Response& response) {
            response.status = 404;
        });
        // A header value in Latin-1, as older servers still send them.
        server.server().Get("/latin", [](const httplib::Request&, httplib::Response& response) {
            response.set_header("X-Place", "caf\xE9");
            response.set_content("<p>latin</p>", "text/html");
        });
        ASSERT_TRUE(server.start());
    }

    // The page asks for a relay of `httpRequest` (sent as it is).
    void relay(const std::string& httpRequest) {
        engine->navigate("zmsg://core/fetchHttpRequest?http_request=" +
                             ZADURLEncoding::zad_stringByEscapingAsURLParameter(httpRequest),
                         UIWebViewNavigationType::Other);
    }
    // The relay answers the page was given, decoded.
    std::vector<PlistValue> replies() const {
        const std::string prefix = "ROZU_ReceiveMessage('fetchHttpRequestCompleted', ";
        std::vector<PlistValue> decoded;
        for (const auto& command : commandsRunIn(*engine)) {
            if (command.starts_with(prefix) && command.ends_with(")")) {
                auto json = ZADJSONAdditions::zad_decodedJSONObject(
                    command.substr(prefix.size(), command.size() - prefix.size() - 1));
                decoded.push_back(json.hasError() ? PlistValue("unreadable") : json.value());
            }
        }
        return decoded;
    }

    TaskEnvironment environment;
    LoopbackServer server;
    std::shared_ptr<ZADSDKCoreWebView> webView;
    FakeWebViewEngine* engine = nullptr;
};

TEST_F(SDKCoreRelayTest, ARequestThatCannotBeMadeIsAnsweredAsAFailure) {
    relay("{not json");
    relay(R"({"http_request_id":"r2","url":""})");
    relay(R"({"http_request_id":"r3"})");
    relay("[1]");
    environment.runUntilIdle();
    auto answers = replies();
    ASSERT_EQ(answers.size(), 4u);
    for (const auto& answer : answers) {
        EXPECT_EQ(answer["success"], PlistValue("false"));
        EXPECT_EQ(answer["response"]["response_code"], PlistValue(0));
        EXPECT_EQ(answer["response"]["body"], PlistValue(""));
        EXPECT_EQ(answer["response"]["headers"], PlistValue(PlistValue::Array{}));
    }
    EXPECT_EQ(answers[0]["response"]["http_request_id"], PlistValue(""));
    EXPECT_NE(answers[0]["reason"].stringValue(), "");
    EXPECT_EQ(answers[1]["response"]["http_request_id"], PlistValue("r2"));
    EXPECT_EQ(answers[1]["reason"], PlistValue("Invalid URL () requested for fetching"));
    EXPECT_EQ(answers[2]["reason"], PlistValue("Invalid URL () requested for fetching"));
    EXPECT_EQ(answers[3]["response"]["http_request_id"], PlistValue(""));
}

TEST_F(SDKCoreRelayTest, AFetchedPageIsAnsweredWithItsBodyAndHeaders) {
    relay(R"({"http_request_id":"r1","url":")" + server.url("/page") + R"("})");
    relay(R"({"http_request_id":"r2","url":")" + server.url("/echo") +
          R"(","post_body":"a=1","content_type":"application/x-www-form-urlencoded",)"
          R"("headers":[{"key":"X-Token","value":"t1"},{"key":"X-Token","value":"t2"},)"
          R"({"key":"X-Other"}]})");
    relay(R"({"http_request_id":"r3","url":")" + server.url("/missing") + R"("})");
    environment.runUntilIdle();
    auto answers = replies();
    ASSERT_EQ(answers.size(), 3u);
    std::map<std::string, PlistValue> byID;
    for (const auto& answer : answers) {
        byID[answer["response"]["http_request_id"].stringValue()] = answer;
    }
    EXPECT_EQ(byID["r1"]["success"], PlistValue("true"));
    EXPECT_EQ(byID["r1"]["response"]["response_code"], PlistValue(200));
    EXPECT_EQ(byID["r1"]["response"]["body"], PlistValue("<p>relayed</p>"));
    bool kindHeader = false;
    for (const auto& header : *byID["r1"]["response"]["headers"].array()) {
        // The fetcher keeps header names in lower case: HTTP compares them without case.
        kindHeader = kindHeader || (header["key"] == PlistValue("x-kind") &&
                                    header["value"] == PlistValue("test"));
    }
    EXPECT_TRUE(kindHeader);
    // A body with a type is posted; a later header of the same name wins.
    EXPECT_EQ(byID["r2"]["response"]["body"],
              PlistValue("application/x-www-form-urlencoded|t2|a=1"));
    EXPECT_EQ(byID["r3"]["success"], PlistValue("false"));
    EXPECT_EQ(byID["r3"]["response"]["response_code"], PlistValue(404));
}

TEST_F(SDKCoreRelayTest, AHeaderValueThatIsNotUTF8ReachesThePageAsLatin1) {
    relay(R"({"http_request_id":"r1","url":")" + server.url("/latin") + R"("})");
    environment.runUntilIdle();
    auto answers = replies();
    ASSERT_EQ(answers.size(), 1u);
    ASSERT_TRUE(answers[0]["response"]["headers"].array());
    bool placeHeader = false;
    for (const auto& header : *answers[0]["response"]["headers"].array()) {
        placeHeader = placeHeader || (header["key"] == PlistValue("x-place") &&
                                      header["value"] == PlistValue("caf\u00e9"));
    }
    EXPECT_TRUE(placeHeader);
    EXPECT_EQ(answers[0]["response"]["body"], PlistValue("<p>latin</p>"));
}

TEST_F(SDKCoreRelayTest, ASecondRequestWithTheIdOfARunningRelayIsIgnored) {
    const std::string slow = R"({"http_request_id":"r1","url":")" + server.url("/slow") + R"("})";
    relay(slow);
    environment.runMainLoopUntilIdle();
    EXPECT_TRUE(webView->SDKCoreZMSGHandler()->isFetchInProgressForFetchRequestID("r1"));
    relay(slow);
    environment.runMainLoopUntilIdle();
    server.release();
    environment.runUntilIdle();
    auto answers = replies();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0]["response"]["body"], PlistValue("late"));
    EXPECT_FALSE(webView->SDKCoreZMSGHandler()->isFetchInProgressForFetchRequestID("r1"));
    // Once answered, the id may be used again.
    relay(slow);
    environment.runUntilIdle();
    EXPECT_EQ(replies().size(), 2u);
}

TEST(SDKCoreRelayReplyTest, TheReplyIsOneJSONArgument) {
    EXPECT_EQ(
        ZADSDKCoreZMSGHandler::replyCommandForReply(
            {{"success", "true"}, {"response", PlistValue::Dictionary{{"body", "')"}}}}),
        R"js(ROZU_ReceiveMessage('fetchHttpRequestCompleted', {"response":{"body":"')"},"success":"true"}))js");
    EXPECT_EQ(ZADSDKCoreZMSGHandler::replyCommandForReply({{"bad", "\xFF"}}),
              "ROZU_ReceiveMessage('fetchHttpRequestCompleted', )");
}

} // namespace
