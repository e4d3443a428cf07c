// The fetcher against our own ad server: each unit's status, body and headers give the
// record or the request error the slot is told of.
#include "ads/core/ZADAd.h"
#include "ads/core/ZADAdFetcher.h"
#include "ads/core/ZADAutoClickProtection.h"
#include "ads/core/ZADRequestError.h"
#include "adserver/AdServer.h"
#include "platform/foundation/NSURL.h"
#include "tests/adserver/RunningAdServer.h"
#include "tests/platform/foundation/LoopbackServer.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/ads/core/RecordingFetcherDelegate.h"

#include <gmock/gmock.h>

namespace {

class AdFetcherOnAdServer : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(server.error(), ""); }

    // The unit's ad URL fetched into a fresh record; the delegate once the load ended.
    std::shared_ptr<RecordingFetcherDelegate> fetch(const std::string& url) {
        auto delegate = std::make_shared<RecordingFetcherDelegate>();
        auto ad = ZADAd::init();
        ad->setAdURL(NSURL::URLWithString(url));
        auto fetcher = ZADAdFetcher::init();
        EXPECT_TRUE(fetcher->fetchRemainingContentForAdHeadersDelegateError(ad, std::nullopt,
                                                                            delegate, nullptr));
        environment.runUntilIdle();
        EXPECT_EQ(delegate->told, 1) << url;
        return delegate;
    }
    std::string unitURL(const std::string& unit) const {
        return server.baseURL() + AdServer::kAdPath + "?slotname=" + unit;
    }

    TaskEnvironment environment;
    RunningAdServer server;
};

TEST_F(AdFetcherOnAdServer, EachUnitIsClassifiedOrFailsWithItsCode) {
    const struct {
        const char* unit;
        uint64_t type;    // when fetched
        long errorCode;   // -1: fetched
        long responseCode;
    } cases[] = {
        {"default", ZADAd::HTML, -1, 0},
        {"redirects", ZADAd::HTML, -1, 0},
        {"mediation", ZADAd::Mediation, -1, 0},
        {"native", ZADAd::Native, -1, 0},
        {"custom-rendering", ZADAd::CustomRendering, -1, 0},
        {"mediation-html", 0, ZADRequestError::ServerError, 0},
        {"empty", 0, ZADRequestError::NoFill, 0},
        {"bad-request", 0, ZADRequestError::InvalidRequest, 400},
        {"unauthorized", 0, ZADRequestError::ServerError, 401},
        {"not-found", 0, ZADRequestError::ServerError, 404},
        {"internal-error", 0, ZADRequestError::ServerError, 500},
        {"server-error", 0, ZADRequestError::ServerError, 503},
        {"broken", 0, ZADRequestError::NetworkError, 200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.unit);
        auto heard = fetch(unitURL(c.unit));
        ASSERT_TRUE(heard->ad);
        if (c.errorCode < 0) {
            EXPECT_FALSE(heard->error) << heard->error->localizedDescription();
            EXPECT_EQ(heard->ad->responseType(), c.type);
            EXPECT_FALSE(heard->ad->adHTML().empty());
            continue;
        }
        ASSERT_TRUE(heard->error);
        EXPECT_EQ(heard->error->domain(), ZADRequestError::kDomain);
        EXPECT_EQ(heard->error->code(), c.errorCode);
        EXPECT_EQ(heard->responseCode, c.responseCode);
        // A failed answer is never an ad, whatever its body held.
        EXPECT_TRUE(heard->ad->adHTML().empty());
    }
}

TEST_F(AdFetcherOnAdServer, ARefusedConnectionIsAnInvalidResponse) {
    auto heard = fetch("http://127.0.0.1:1/ads?slotname=refused");
    ASSERT_TRUE(heard->error);
    EXPECT_EQ(heard->error->code(), ZADRequestError::ReceivedInvalidResponse);
    EXPECT_EQ(heard->responseCode, -1);
}

TEST_F(AdFetcherOnAdServer, TheFinalURLAfterRedirectsIsThePagesBase) {
    auto heard = fetch(unitURL("redirects"));
    ASSERT_TRUE(heard->ad && heard->ad->adBaseURL());
    EXPECT_THAT(heard->ad->adBaseURL()->absoluteString(), ::testing::HasSubstr("hop=3"));
}

TEST_F(AdFetcherOnAdServer, ARedirectsHeadersReachTheRecordToo) {
    LoopbackServer hops;
    hops.server().Get("/first", [](const httplib::Request&, httplib::Response& response) {
        response.set_header("x-rozu-click-tracking-urls", "http://track.test/click");
        response.set_redirect("/last");
    });
    hops.server().Get("/last", [](const httplib::Request&, httplib::Response& response) {
        response.set_header("x-rozu-tracking-urls", "http://track.test/seen");
        response.set_content("<html>an ad</html>", "text/html");
    });
    ASSERT_TRUE(hops.start());
    auto heard = fetch(hops.url("/first"));
    ASSERT_FALSE(heard->error);
    ASSERT_EQ(heard->ad->clickURLs().size(), 1u);
    EXPECT_EQ(heard->ad->clickURLs().front()->absoluteString(), "http://track.test/click");
    EXPECT_EQ(heard->ad->impressionURLs().size(), 1u);
    EXPECT_EQ(heard->ad->adHTML(), "<html>an ad</html>");
}

TEST_F(AdFetcherOnAdServer, TheServersHeadersFillTheRecord) {
    auto every = fetch(unitURL("every-header"))->ad;
    EXPECT_EQ(every->clickURLs().size(), 2u);
    EXPECT_EQ(every->impressionURLs().size(), 1u);
    EXPECT_EQ(every->manualImpressionURLs().size(), 1u);
    EXPECT_EQ(every->supportedOrientations(), 24u);
    EXPECT_EQ(every->reloadInterval(), 45);
    EXPECT_EQ(every->customAdSizeString(), "320x50");
    EXPECT_EQ(every->debugDialogString(), "every header");
    EXPECT_FALSE(every->isScrollEnabled());
    EXPECT_TRUE(every->isFluid());
    EXPECT_EQ(every->impressionDefinition(), 1);
    EXPECT_TRUE(every->activeViewConfigurations());
    EXPECT_TRUE(every->swipeToViewControllerConfigurations());
    ASSERT_TRUE(every->autoClickProtection());
    EXPECT_TRUE(every->autoClickProtection()->enabled());

    for (const char* unit : {"bad-headers", "huge-refresh"}) {
        SCOPED_TRACE(unit);
        auto heard = fetch(unitURL(unit));
        ASSERT_FALSE(heard->error);
        EXPECT_EQ(heard->ad->reloadInterval(), 0);
        EXPECT_EQ(heard->ad->supportedOrientations(), ZADAd::kAllOrientations);
        EXPECT_FALSE(heard->ad->activeViewConfigurations());
        EXPECT_FALSE(heard->ad->swipeToViewControllerConfigurations());
        EXPECT_FALSE(heard->ad->autoClickProtection());
    }
}
} // namespace
