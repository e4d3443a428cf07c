// The server as the ad engine meets it: the core page, ad answers by size keys and by ad
// unit, each tracking and report endpoint, and the hits file.
#include "tests/adserver/RunningAdServer.h"

#include <gtest/gtest.h>

namespace {
class AdServerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(server_.error(), ""); }

    httplib::Result get(const std::string& target,
                        const httplib::Headers& headers = httplib::Headers()) {
        return server_.client().Get(target.c_str(), headers);
    }

    RunningAdServer server_;
};

TEST_F(AdServerTest, TheCorePageIsAnsweredDirectlyWithEveryUnitsPageAnswer) {
    auto result = get(AdServer::kCorePagePath);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(result->get_header_value("Content-Type").rfind("text/html", 0), 0u);
    for (const char* entry :
         {"ROZU_getSdkConstants", "ROZU_getAd", "ROZU_getAdapterLessMediationAd",
          "ROZU_ReceiveMessage", "ROZU_updateActiveView"}) {
        EXPECT_NE(result->body.find(entry), std::string::npos) << entry;
    }
    // The units the server filled in, as the page parses them.
    const std::string open = R"(<script type="application/json" id="ad-units">)";
    const auto start = result->body.find(open) + open.size();
    const auto units = nlohmann::json::parse(
        result->body.substr(start, result->body.find("</script>", start) - start), nullptr, false);
    ASSERT_TRUE(units.is_object()) << result->body.substr(start, 200);
    EXPECT_EQ(units["default"]["answer"], "url");
    EXPECT_EQ(units["page-error"]["answer"], "errors");
    EXPECT_EQ(units["page-error"]["errors"], "no ad to show");
    EXPECT_EQ(units["page-ready"]["fetched_ad"]["is_mediation"], false);
    EXPECT_EQ(units["interstitial-offline"]["parameters"]["request_scenario"], "offline_buffer");
}

TEST_F(AdServerTest, AnAdsCreativeFollowsTheRequestsSizeKeys) {
    const struct {
        const char* query;
        const char* size;
    } cases[] = {
        {"", "320x50"},
        {"format=interstitial_mb", "interstitial"},
        {"format=320x50_mb&fluid=height", "320x50"},
        {"sz=728x90%7C320x50", "728x90"},
        {"sz=300x250%7C728x90", "728x90"}, // the first size the inventory has
        {"sz=300x250", "320x50"},
        {"smart_w=full&smart_h=auto&ad_frame=%7B%22x%22%3A0%2C%22y%22%3A0%2C%22w%22%3A768%2C%22h%"
         "22%3A90%7D",
         "728x90"},
        {"smart_w=full&ad_frame=%7B%22w%22%3A375%7D", "320x50"},
        {"ad_frame=%7B%22w%22%3A100%7D", "320x50"}, // nothing fits: the smallest
        {"ad_frame=not-json", "320x50"},
    };
    for (const auto& c : cases) {
        auto result = get(std::string(AdServer::kAdPath) + "?request_id=1&" + c.query);
        ASSERT_TRUE(result) << c.query;
        EXPECT_EQ(result->status, 200) << c.query;
        EXPECT_NE(result->body.find(std::string("data-size=\"") + c.size + "\""), std::string::npos)
            << c.query << " wants " << c.size;
        // Every creative carries the ad pages' shared script, filled in whole.
        EXPECT_NE(result->body.find("window.ROZU_ReceiveMessage = function"), std::string::npos);
        EXPECT_EQ(result->body.find("{{"), std::string::npos) << c.query;
    }
}

TEST_F(AdServerTest, AnAdUnitChoosesTheAnswersBehaviour) {
    const struct {
        const char* unit;
        int status;
        const char* header;
        const char* value; // "" when the header is absent
        bool emptyBody;
    } cases[] = {
        {"default", 200, "Content-Type", "text/html; charset=utf-8", false},
        {"no-such-unit", 200, "x-rozu-tracking-urls", "{base}/zadpage/impression?unit=default",
         false},
        {"settings", 200, "x-rozu-refresh-rate", "30", false},
        {"settings", 200, "x-rozu-debug-dialog", "{base}/echo?debug=1", false},
        {"mediation", 200, "x-rozu-mediation", "1", false},
        {"mediation", 200, "Content-Type", "application/json; charset=utf-8", false},
        {"mediation-no-store", 200, "Cache-Control", "no-store", false},
        {"native", 200, "x-rozu-ad-format", "native", false},
        {"custom-rendering", 200, "x-rozu-custom-rendering-allowed", "true", false},
        {"empty", 200, "x-rozu-tracking-urls", "", true},
        {"server-error", 503, "x-rozu-mediation", "", true},
        {"bad-request", 400, "x-rozu-mediation", "", true},
    };
    for (const auto& c : cases) {
        auto result = get(std::string(AdServer::kAdPath) + "?slotname=" + c.unit);
        ASSERT_TRUE(result) << c.unit;
        EXPECT_EQ(result->status, c.status) << c.unit;
        std::string expected = c.value;
        if (auto at = expected.find("{base}"); at != std::string::npos) {
            expected.replace(at, 6, server_.baseURL());
        }
        EXPECT_EQ(result->get_header_value(c.header), expected) << c.unit << " " << c.header;
        EXPECT_EQ(result->body.empty(), c.emptyBody) << c.unit;
    }
    // Answers in JSON are JSON.
    for (const char* unit : {"mediation", "native"}) {
        auto result = get(std::string(AdServer::kAdPath) + "?slotname=" + unit);
        ASSERT_TRUE(result);
        EXPECT_TRUE(nlohmann::json::parse(result->body, nullptr, false).is_object()) << unit;
    }
}

TEST_F(AdServerTest, RedirectingUnitsHopBeforeTheAdAndKeepTheRequestsParameters) {
    std::string target =
        std::string(AdServer::kAdPath) + "?slotname=redirects&request_id=7&sz=728x90";
    int hops = 0;
    for (; hops < 10; ++hops) {
        auto result = get(target);
        ASSERT_TRUE(result);
        if (result->status != 302) {
            EXPECT_EQ(result->status, 200);
            EXPECT_NE(result->body.find("data-size=\"728x90\""), std::string::npos);
            break;
        }
        target = result->get_header_value("Location");
        EXPECT_NE(target.find("request_id=7"), std::string::npos) << target;
    }
    EXPECT_EQ(hops, 3);
    EXPECT_EQ(get(std::string(AdServer::kAdPath) + "?slotname=redirects&hop=4")->status, 400);
}

TEST_F(AdServerTest, ABrokenOffAnswerEndsBeforeItsPromisedLength) {
    auto result = get(std::string(AdServer::kAdPath) + "?slotname=broken");
    // The client sees the transfer fail, never a complete ad.
    EXPECT_TRUE(!result ||
                result->body.size() < std::stoul(result->get_header_value("Content-Length")));
}

TEST_F(AdServerTest, TrackingAndReportEndpointsAnswerAsTheEngineExpects) {
    const struct {
        const char* method;
        const char* target;
        const char* body;
        int status;
        // The redirect's target, when one is expected (the client reads it percent-decoded).
        const char* location;
    } cases[] = {
        {"GET", "/zadpage/impression?unit=default", "", 204, ""},
        {"GET", "/zadpage/report_204?event=crash", "", 204, ""},
        {"GET", "/csi?s=vire_sdk&v=3&action=ad_load", "", 204, ""},
        {"GET", "/csi?s=vire_sdk&v=3", "", 400, ""},
        {"GET", "/zadpage/conversion/?app=1.2&bundle=x", "", 204, ""},
        {"GET", "/zadpage/conversion/?app=@appversion@", "", 400, ""},
        {"GET", "/zadpage/click?dest=/landing/tidepool-sketch", "", 302,
         "/landing/tidepool-sketch"},
        {"GET", "/zadpage/click?dest=//elsewhere.example/", "", 400, ""},
        {"GET", "/zadpage/click?dest=https://elsewhere.example/", "", 400, ""},
        {"GET", "/zadpage/click", "", 400, ""},
        {"GET", "/zadpage/redirect?n=2&to=/landing/quillfern-journal", "", 302,
         "/zadpage/redirect?n=1&to=/landing/quillfern-journal"},
        {"GET", "/zadpage/redirect?n=0&to=mixphotos://open", "", 302, "mixphotos://open"},
        {"GET", "/zadpage/redirect?n=0&to=javascript:alert(1)", "", 400, ""},
        {"GET", "/zadpage/redirect?n=11&to=/", "", 400, ""},
        {"POST", "/s/reportAd", R"({"debugHeader":"x"})", 204, ""},
        {"POST", "/s/reportAd", R"({"other":1})", 400, ""},
        {"POST", "/s/reportAd", "not json", 400, ""},
        {"GET", "/landing/paperlantern-cards", "", 200, ""},
        {"GET", "/landing/unknown-app", "", 404, ""},
        {"GET", "/static/picture.png", "", 200, ""},
        {"GET", AdServer::kNativeAdsPagePath, "", 200, ""},
        {"GET", "/zmads/static/mad/sdk/native/mraid/v2/mraid_app_banner.js", "", 200, ""},
        {"GET", "/zmads/static/mad/sdk/native/mraid/v2/mraid_app_expanded_banner.js", "", 200, ""},
        {"GET", "/zmads/static/mad/sdk/native/mraid/v2/mraid_app_interstitial.js", "", 200, ""},
        {"GET", "/nothing/here", "", 404, ""},
    };
    auto client = server_.client();
    for (const auto& c : cases) {
        auto result = std::string(c.method) == "GET"
                          ? client.Get(c.target)
                          : client.Post(c.target, c.body, "application/json");
        ASSERT_TRUE(result) << c.target;
        EXPECT_EQ(result->status, c.status) << c.method << " " << c.target;
        EXPECT_EQ(result->get_header_value("Location"), c.location) << c.target;
        if (c.status >= 400) {
            EXPECT_FALSE(result->body.empty()) << "a refusal says why: " << c.target;
        }
    }
}

TEST_F(AdServerTest, APingFailsAsOftenAsItsFirstHitAsksThenSucceeds) {
    std::vector<int> statuses;
    for (int i = 0; i < 4; ++i) {
        statuses.push_back(get("/zadpage/ping?id=retry-a&fail=2")->status);
    }
    EXPECT_EQ(statuses, (std::vector<int>{503, 503, 204, 204}));
    EXPECT_EQ(get("/zadpage/ping?id=retry-b")->status, 204);
    EXPECT_EQ(get("/zadpage/ping?id=retry-c&fail=-1")->status, 400);
    EXPECT_EQ(get("/zadpage/ping?fail=1")->status, 400);
}

TEST_F(AdServerTest, TheTokenEndpointAnswersARefreshGrantAndRefusesOthers) {
    auto client = server_.client();
    const char* form = "application/x-www-form-urlencoded";
    auto granted =
        client.Post("/oauth2/v3/token",
                    "client_id=app&grant_type=refresh_token&refresh_token=r1&scope=ads", form);
    ASSERT_TRUE(granted);
    EXPECT_EQ(granted->status, 200);
    const auto answer = nlohmann::json::parse(granted->body, nullptr, false);
    EXPECT_TRUE(answer["access_token"].is_string());
    EXPECT_GT(answer["expires_in"].get<int>(), 0);
    auto other =
        client.Post("/oauth2/v3/token",
                    "client_id=app&grant_type=refresh_token&refresh_token=r2&scope=ads", form);
    EXPECT_NE(nlohmann::json::parse(other->body)["access_token"], answer["access_token"]);

    const struct {
        const char* body;
        const char* error;
    } refused[] = {
        {"client_id=app&grant_type=password&refresh_token=r&scope=ads", "unsupported_grant_type"},
        {"client_id=app&grant_type=refresh_token&scope=ads", "invalid_request"},
        {"", "invalid_request"},
        {"%zz=%%&&==", "invalid_request"},
    };
    for (const auto& c : refused) {
        auto result = client.Post("/oauth2/v3/token", c.body, form);
        ASSERT_TRUE(result) << c.body;
        EXPECT_EQ(result->status, 400) << c.body;
        EXPECT_EQ(nlohmann::json::parse(result->body, nullptr, false)["error"], c.error) << c.body;
    }
}

TEST_F(AdServerTest, TheEchoAnswersWhatItWasSent) {
    auto result = server_.client().Post("/echo?a=1", {{"X-Test", "yes"}}, "hello", "text/plain");
    ASSERT_TRUE(result);
    const auto echo = nlohmann::json::parse(result->body, nullptr, false);
    EXPECT_EQ(echo["method"], "POST");
    EXPECT_EQ(echo["query"], "a=1");
    EXPECT_EQ(echo["headers"]["X-Test"], "yes");
    EXPECT_EQ(echo["body"], "hello");
}

TEST_F(AdServerTest, ABodyOverAMegabyteIsRefusedUnread) {
    auto result = server_.client().Post("/echo", std::string(2 * 1024 * 1024, 'x'), "text/plain");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 413);
    EXPECT_EQ(result->body.find("xxxx"), std::string::npos);
}

TEST_F(AdServerTest, EveryHitIsOneLineOfTheHitsFile) {
    get(std::string(AdServer::kAdPath) + "?request_id=3&slotname=tracked&sz=320x50",
        {{"User-Agent", "MixPhotos/1.0 (test)"}});
    server_.client().Post("/s/reportAd", R"({"debugHeader":"abc"})", "application/json");
    get("/nothing?x=1&x=2");

    const auto hits = server_.hits();
    ASSERT_EQ(hits.size(), 3u);
    EXPECT_EQ(hits[0]["method"], "GET");
    EXPECT_EQ(hits[0]["path"], "/ads");
    EXPECT_EQ(hits[0]["query"],
              (nlohmann::json{{"request_id", "3"}, {"slotname", "tracked"}, {"sz", "320x50"}}));
    EXPECT_EQ(hits[0]["headers"]["User-Agent"], "MixPhotos/1.0 (test)");
    EXPECT_FALSE(hits[0]["headers"].contains("REMOTE_ADDR"));
    EXPECT_EQ(hits[0]["status"], 200);
    EXPECT_TRUE(hits[0]["time"].is_number());
    EXPECT_EQ(hits[1]["method"], "POST");
    EXPECT_EQ(hits[1]["body_size"], std::string(R"({"debugHeader":"abc"})").size());
    EXPECT_EQ(hits[2]["query"]["x"], (nlohmann::json{"1", "2"}));
    EXPECT_EQ(hits[2]["status"], 404);
}

TEST_F(AdServerTest, LandingPagesLinkOnAndKeepASignUp) {
    auto page = get("/landing/tidepool-sketch");
    ASSERT_TRUE(page);
    EXPECT_NE(page->body.find("<title>Tidepool Sketch</title>"), std::string::npos);
    EXPECT_NE(page->body.find(R"(href="/landing/quillfern-journal")"), std::string::npos);
    EXPECT_NE(page->body.find("<form"), std::string::npos);
    EXPECT_EQ(page->body.find("You are on the list"), std::string::npos);
    auto signedUp = get("/landing/tidepool-sketch?subscribed=1&email=a%40b.example");
    EXPECT_NE(signedUp->body.find("You are on the list"), std::string::npos);
    // The last app's page links back to the first.
    EXPECT_NE(get("/landing/paperlantern-cards")->body.find(R"(href="/landing/tidepool-sketch")"),
              std::string::npos);
}
} // namespace

// stop() ends listen() whenever it comes: before listen(), as the library's loop starts, or
// while it serves, also when two threads stop the server at once.
TEST(AdServerStopTest, StopEndsListenWheneverItComes) {
    for (int round = 0; round < 100; ++round) {
        SCOPED_TRACE(round);
        auto created = AdServer::create(
            {RunningAdServer::bundled("site"), RunningAdServer::bundled("inventory"), {}});
        ASSERT_FALSE(created.hasError());
        auto server = std::move(created).value();
        ASSERT_FALSE(server->bind(0).hasError());
        if (round == 0) {
            server->stop();
            EXPECT_TRUE(server->listen()) << "a stop before listen() ends it at once";
            continue;
        }
        std::thread listener([&] { EXPECT_TRUE(server->listen()); });
        // Each round lets the listener get a little further before the stops.
        for (int step = 0; step < round % 10; ++step) {
            std::this_thread::yield();
        }
        std::thread other([&] { server->stop(); });
        server->stop();
        other.join();
        listener.join();
    }
}
