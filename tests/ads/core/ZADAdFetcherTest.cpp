// The fetcher without a network: headers handed in with a ready ad, read into the record
// and the settings, classified, and the answer always after the start call returns.
#include "ads/core/ZADAdFetcher.h"
#include "ads/core/ZADAd.h"
#include "ads/core/ZADAutoClickProtection.h"
#include "ads/core/ZADRequestError.h"
#include "ads/render/ZADCSI.h"
#include "ads/signals/ZADLocationService.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSUserDefaults.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/ads/core/RecordingFetcherDelegate.h"

#include <gmock/gmock.h>

namespace {
using Dictionary = PlistValue::Dictionary;

std::vector<std::string> texts(const std::vector<std::shared_ptr<NSURL>>& urls) {
    std::vector<std::string> all;
    for (const auto& url : urls) {
        all.push_back(url->absoluteString());
    }
    return all;
}

class AdFetcherTest : public ::testing::Test {
protected:
    // A ready ad fetched with these headers; the delegate's answer once the queue ran.
    std::shared_ptr<ZADAd> fetchWithHeaders(const Dictionary& headers) {
        auto ad = ZADAd::init();
        ad->setAdHTML("<p>ad</p>");
        fetcher = ZADAdFetcher::init();
        EXPECT_TRUE(fetcher->fetchRemainingContentForAdHeadersDelegateError(ad, headers, delegate,
                                                                            nullptr));
        EXPECT_EQ(delegate->told, 0); // never during the start call
        environment.runUntilIdle();
        EXPECT_EQ(delegate->told, 1);
        return ad;
    }

    TaskEnvironment environment;
    std::shared_ptr<RecordingFetcherDelegate> delegate = std::make_shared<RecordingFetcherDelegate>();
    std::shared_ptr<ZADAdFetcher> fetcher;
};

TEST_F(AdFetcherTest, TheClassificationFollowsTheHeadersInAnyCase) {
    const struct {
        Dictionary headers;
        uint64_t type;
        long errorCode; // -1: fetched
    } cases[] = {
        {{}, ZADAd::HTML, -1},
        {{{"X-ROZU-MEDIATION", "1"}, {"Content-Type", "application/json; charset=utf-8"}},
         ZADAd::Mediation, -1},
        {{{"x-rozu-mediation", "yes"}, {"content-type", "text/html"}}, ZADAd::Failure,
         ZADRequestError::ServerError},
        {{{"x-rozu-mediation", "1"}}, ZADAd::Failure, ZADRequestError::ServerError},
        {{{"x-rozu-mediation", "0"}, {"x-rozu-ad-format", "NATIVE"}}, ZADAd::Native, -1},
        {{{"x-rozu-ad-format", "banner"}, {"x-rozu-custom-rendering-allowed", "true"}},
         ZADAd::CustomRendering, -1},
        {{{"x-rozu-custom-rendering-allowed", "no"}}, ZADAd::HTML, -1},
    };
    for (const auto& c : cases) {
        delegate = std::make_shared<RecordingFetcherDelegate>();
        auto ad = fetchWithHeaders(c.headers);
        SCOPED_TRACE(PlistValue(c.headers).description());
        EXPECT_EQ(ad->responseType(), c.type);
        if (c.errorCode < 0) {
            EXPECT_FALSE(delegate->error);
            EXPECT_EQ(delegate->ad, ad);
        } else {
            ASSERT_TRUE(delegate->error);
            EXPECT_EQ(delegate->error->code(), c.errorCode);
            EXPECT_EQ(delegate->responseCode, 0);
        }
    }
}

TEST_F(AdFetcherTest, EveryHeaderReachesTheRecordOrTheSettings) {
    auto ad = fetchWithHeaders({
        {"X-Rozu-Click-Tracking-URLs", "https://t.test/1  https://t.test/2\nhttps://t.test/3 nonsense"},
        {"x-rozu-tracking-urls", "https://t.test/i https://t.test/i"},
        {"x-rozu-manual-tracking-urls", "https://t.test/m"},
        {"x-rozu-content-url-opted-out", "false"},
        {"x-rozu-render-in-browser", "Yes"},
        {"x-rozu-activeview", "{\"enabled\":true}"},
        {"x-rozu-use-displayed-impression", "1"},
        {"x-rozu-orientation", "landscape"},
        {"x-rozu-refresh-rate", "0"},
        {"x-rozu-debug-dialog", "dialog"},
        {"x-rozu-ad-size", "300x250"},
        {"x-rozu-disable-activation-and-scroll", "true"},
        {"x-rozu-use-https", "1"},
        {"x-rozu-oauth-token-status", "clear"},
        {"x-rozu-fluid", "HEIGHT"},
        {"x-rozu-zws-query-id", "q-1"},
        {"x-rozu-auto-collect-location", "t"},
        {"x-rozu-swipe-to-view-controller", "{\"threshold\":0.5}"},
        {"x-rozu-auto-protection-configuration",
         "{\"enable_protection\":true,\"reporting_urls\":[\"https://r.test/{NAVIGATION_URL}\"]}"},
    });
    EXPECT_THAT(texts(ad->clickURLs()),
                ::testing::ElementsAre("https://t.test/1", "https://t.test/2", "https://t.test/3"));
    EXPECT_THAT(texts(ad->impressionURLs()), ::testing::ElementsAre("https://t.test/i"));
    EXPECT_THAT(texts(ad->manualImpressionURLs()), ::testing::ElementsAre("https://t.test/m"));
    auto defaults = NSUserDefaults::standardUserDefaults();
    EXPECT_TRUE(defaults->boolForKey(ZADAdFetcher::kContentURLEnabledKey));
    EXPECT_TRUE(defaults->boolForKey(ZADAdFetcher::kRenderInBrowserKey));
    EXPECT_TRUE(defaults->boolForKey(ZADAdFetcher::kUseHTTPSKey));
    ASSERT_TRUE(ad->activeViewConfigurations());
    EXPECT_TRUE(ad->activeViewConfigurations()->at("enabled").boolValue());
    EXPECT_EQ(ad->impressionDefinition(), 1);
    EXPECT_EQ(ad->supportedOrientations(), 24u);
    EXPECT_EQ(ad->reloadInterval(), 0);
    EXPECT_EQ(ad->debugDialogString(), "dialog");
    EXPECT_EQ(ad->customAdSizeString(), "300x250");
    EXPECT_FALSE(ad->isScrollEnabled());
    EXPECT_TRUE(ad->isFluid());
    EXPECT_EQ(ZADCSI::sharedInstance()->ZWSQueryID(), "q-1");
    EXPECT_TRUE(ZADLocationService::sharedInstance()->publisherAuthorized());
    ASSERT_TRUE(ad->swipeToViewControllerConfigurations());
    EXPECT_EQ(ad->swipeToViewControllerConfigurations()->at("threshold").doubleValue(), 0.5);
    ASSERT_TRUE(ad->autoClickProtection());
    EXPECT_TRUE(ad->autoClickProtection()->enabled());
    EXPECT_THAT(ad->autoClickProtection()->reportingURLs(),
                ::testing::ElementsAre("https://r.test/{NAVIGATION_URL}"));
    // Names are kept lowercased in the record.
    EXPECT_EQ(ad->responseHeaders().count("x-rozu-click-tracking-urls"), 1u);

    // Without the headers: the switches go back, the record keeps its defaults.
    delegate = std::make_shared<RecordingFetcherDelegate>();
    auto plain = fetchWithHeaders({});
    EXPECT_TRUE(defaults->objectForKey(ZADAdFetcher::kContentURLEnabledKey).isNull());
    EXPECT_TRUE(defaults->boolForKey(ZADAdFetcher::kUseHTTPSKey)); // kept once stored
    EXPECT_FALSE(ZADLocationService::sharedInstance()->publisherAuthorized());
    EXPECT_TRUE(plain->isScrollEnabled());
    EXPECT_FALSE(plain->debugDialogString());
}

TEST_F(AdFetcherTest, ValuesThatDoNotReadAreSkippedAndChangeNothing) {
    const struct {
        const char* name;
        const char* value;
    } cases[] = {
        {"x-rozu-refresh-rate", "-5"},
        {"x-rozu-refresh-rate", "1e400"},
        {"x-rozu-refresh-rate", "90000"},
        {"x-rozu-refresh-rate", "nan"},
        {"x-rozu-refresh-rate", "soon"},
        {"x-rozu-refresh-rate", "30s"},
        {"x-rozu-orientation", "sideways"},
        {"x-rozu-activeview", "{\"enabled\":"},
        {"x-rozu-activeview", "[1]"},
        {"x-rozu-swipe-to-view-controller", "[1, 2"},
        {"x-rozu-auto-protection-configuration", "not json"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ": " + c.value);
        delegate = std::make_shared<RecordingFetcherDelegate>();
        auto ad = ZADAd::init();
        ad->setAdHTML("<p>ad</p>");
        ad->setReloadInterval(12);
        fetcher = ZADAdFetcher::init();
        fetcher->fetchRemainingContentForAdHeadersDelegateError(ad, Dictionary{{c.name, c.value}},
                                                                delegate, nullptr);
        environment.runUntilIdle();
        EXPECT_EQ(delegate->ad, ad); // still an ad
        EXPECT_FALSE(delegate->error);
        EXPECT_EQ(ad->reloadInterval(), 12);
        EXPECT_EQ(ad->supportedOrientations(), ZADAd::kAllOrientations);
        EXPECT_FALSE(ad->activeViewConfigurations());
        EXPECT_FALSE(ad->swipeToViewControllerConfigurations());
        EXPECT_FALSE(ad->autoClickProtection());
    }
}

TEST_F(AdFetcherTest, AFetcherFetchesOnceAndACancelledOneIsSilent) {
    fetchWithHeaders({});
    std::shared_ptr<NSError> error;
    EXPECT_FALSE(fetcher->fetchRemainingContentForAdHeadersDelegateError(ZADAd::init(), std::nullopt,
                                                                         delegate, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), ZADRequestError::NetworkError);
    EXPECT_EQ(error->localizedDescription(),
              "Could not start fetch. This object has already been used to fetch.");

    auto silent = std::make_shared<RecordingFetcherDelegate>();
    auto cancelled = ZADAdFetcher::init();
    auto ad = ZADAd::init();
    ad->setAdHTML("<p>ad</p>");
    cancelled->fetchRemainingContentForAdHeadersDelegateError(ad, std::nullopt, silent, nullptr);
    cancelled->cancel();
    environment.runUntilIdle();
    EXPECT_EQ(silent->told, 0);

    // Nothing to fetch and no HTML: no ad.
    delegate = std::make_shared<RecordingFetcherDelegate>();
    fetcher = ZADAdFetcher::init();
    fetcher->fetchRemainingContentForAdHeadersDelegateError(ZADAd::init(), std::nullopt, delegate,
                                                            nullptr);
    environment.runUntilIdle();
    ASSERT_TRUE(delegate->error);
    EXPECT_EQ(delegate->error->code(), ZADRequestError::NoFill);
}

TEST_F(AdFetcherTest, OnlyHTTPSToAWhitelistedHostAsksForTheSignedInToken) {
    NSUserDefaults::standardUserDefaults()->setObjectForKey(
        PlistValue(PlistValue::Array{PlistValue("ads.test")}), ZADAdFetcher::kWhitelistedDomainsKey);
    EXPECT_EQ(ZADAdFetcher::whitelistedDomains(), std::set<std::string>{"ads.test"});
    // No signed-in user exists yet: no token, so no header even for such a URL.
    auto fetcher = ZADAdFetcher::init();
    EXPECT_FALSE(fetcher->requestHeadersForURL(NSURL::URLWithString("https://ads.test/ads")));
    EXPECT_FALSE(fetcher->requestHeadersForURL(NSURL::URLWithString("http://ads.test/ads")));
}
} // namespace
