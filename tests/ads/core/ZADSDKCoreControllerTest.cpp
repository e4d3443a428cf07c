// The core controller on a scripted core page: requests queued until the page is ready
// and numbered in order, the page's answers reaching the one that asked (on the main
// thread), the stale-page boundary, failures and the time-out, the constants stored as
// settings, and the web views lent to active-view monitoring.
#include "ads/core/ZADSDKCoreController.h"
#include "ads/core/ZADAd.h"
#include "ads/core/ZADBannerAd.h"
#include "ads/core/ZADRequestError.h"
#include "ads/core/ZADSDKCoreControllerDelegate.h"
#include "ads/render/ZADActiveViewObserver.h"
#include "ads/render/ZADAdServer.h"
#include "ads/render/ZADCSITimeRecorder.h"
#include "ads/render/ZADMRAIDInterceptor.h"
#include "ads/render/ZADSDKCoreWebView.h"
#include "ads/render/ZADSDKCoreZMSGHandler.h"
#include "ads/signals/ZADApplication.h"
#include "ads/signals/ZADLocationService.h"
#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSURLError.h"
#include "platform/foundation/NSUserDefaults.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/ads/core/RecordingLoader.h"
#include "tests/support/ads/render/PageCommands.h"
#include "tests/support/webkit/FakeWebViewEngine.h"

#include <gmock/gmock.h>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Key;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

constexpr const char* kServer = "https://ads.test";

class ZADSDKCoreControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        FakeWebViewEngine::install();
        ZADAdServer::setBaseURL(kServer);
        controller = ZADSDKCoreController::sharedInstance();
        engine = FakeWebViewEngine::latest();
        ASSERT_NE(engine, nullptr) << "the controller's core page made no engine";
        environment.runUntilIdle();
    }

    std::shared_ptr<RecordingLoader> ask(const std::string& slotname,
                                         long adType = ZADSDKCoreControllerDelegate::kBannerAd) {
        auto loader = std::make_shared<RecordingLoader>(slotname, adType);
        controller->buildAdURL(loader);
        environment.runUntilIdle();
        return loader;
    }
    void finishLoad() {
        engine->finishLoad();
        environment.runUntilIdle();
    }
    // The page sends a zmsg message.
    void pageSends(const std::string& message) {
        engine->navigate("zmsg://core/" + message, UIWebViewNavigationType::Other);
        environment.runUntilIdle();
    }
    // Requests of the core page made so far.
    size_t pageLoads() const {
        return std::count_if(engine->calls.begin(), engine->calls.end(),
                             [](const std::string& call) { return call.starts_with("request "); });
    }
    std::vector<std::string> adEvents() const {
        std::vector<std::string> events;
        for (const auto& entry : EventLog::entries()) {
            if (entry.starts_with("ad: ")) {
                events.push_back(entry);
            }
        }
        return events;
    }
    void storeConstants(const ZADSDKCoreZMSGHandlerDelegate::Parameters& constants) {
        controller->sdkCoreZMSGHandlerDidLoadSDKConstants(
            *controller->activeSDKCoreWebView()->SDKCoreZMSGHandler(), constants);
        environment.runUntilIdle();
    }
    static PlistValue setting(const std::string& name) {
        return NSUserDefaults::standardUserDefaults()->objectForKey("/zivido/ads/" + name);
    }

    TaskEnvironment environment;
    std::shared_ptr<ZADSDKCoreController> controller;
    FakeWebViewEngine* engine = nullptr;
};

TEST_F(ZADSDKCoreControllerTest, RequestsBeforeThePageIsReadyWaitAndGetIdsInOrder) {
    auto first = ask("unit-a");
    auto second = ask("unit-b");
    second->extraParameters = {{"eid", "21,22"}};
    EXPECT_EQ(pageLoads(), 1u) << "one load serves both";
    EXPECT_THAT(commandsRunIn(*engine), IsEmpty());
    EXPECT_THAT(first->recorder->ongoingVariables(), Contains(Key("rur_ios")));

    finishLoad();
    EXPECT_EQ(first->requestID(), "1");
    EXPECT_EQ(second->requestID(), "2");
    auto commands = commandsRunIn(*engine);
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_THAT(commands[0], StartsWith("ROZU_getSdkConstants({"));
    EXPECT_THAT(commands[0], HasSubstr(R"("js":"rozu-sdk-i-v7.8.1")"));
    EXPECT_EQ(commands[1], R"(ROZU_getAd({"request_id":"1","slotname":"unit-a"});)");
    EXPECT_EQ(commands[2], R"(ROZU_getAd({"eid":"21,22","request_id":"2","slotname":"unit-b"});)");
    EXPECT_EQ(second->recorder->experimentIDs(), (std::set<std::string>{"21", "22"}));
    EXPECT_THAT(controller->pendingBuildAdURLRequestIDs(), ElementsAre("1", "2"));
    EXPECT_THAT(adEvents(), ElementsAre("ad: core page loaded"));

    // Once the page is ready a request goes out at once; the mediation adapter's asks the
    // page's other entry point.
    auto mediated = std::make_shared<RecordingLoader>("unit-m");
    mediated->extraParameters = {{"zivido-ad-url-mediation", "1"}};
    controller->buildAdURL(mediated);
    environment.runUntilIdle();
    EXPECT_EQ(pageLoads(), 1u);
    EXPECT_THAT(commandsRunIn(*engine).back(),
                StartsWith(R"(ROZU_getAdapterLessMediationAd({"request_id":"3")"));
}

TEST_F(ZADSDKCoreControllerTest, TheAnswerForAnIdReachesTheOneThatAskedOnTheMainThread) {
    CapturedLog log;
    auto url = ask("u1");
    auto error = ask("u2");
    auto invalid = ask("u3");
    auto other = ask("u4");
    finishLoad();

    pageSends("loadAdURL?request_id=1&url=https%3A%2F%2Fads.test%2Fads%3Fa%3D1");
    pageSends("loadAdURL?request_id=2&errors=no%20ad%20to%20show");
    pageSends("invalidRequest?request_id=3&errors=unknown%20unit");
    // Unknown ids, no id, and a second answer for an answered id reach nobody.
    pageSends("loadAdURL?request_id=99&url=x");
    pageSends("loadAdURL?url=x");
    pageSends("invalidRequest?request_id=1");

    EXPECT_THAT(url->calls, ElementsAre("parameters", "loadAdURL request_id=1 "
                                                      "url=https://ads.test/ads?a=1"));
    EXPECT_THAT(error->calls, ElementsAre("parameters", "loadAdURL errors=no ad to show "
                                                        "request_id=2"));
    EXPECT_THAT(invalid->calls, ElementsAre("parameters", "invalid"));
    EXPECT_THAT(other->calls, ElementsAre("parameters"));
    for (const auto& loader : {url, error, invalid}) {
        EXPECT_TRUE(loader->allOnMainThread);
    }
    EXPECT_THAT(controller->pendingBuildAdURLRequestIDs(), ElementsAre("4"));
    EXPECT_THAT(url->recorder->completedVariables(), Contains(Key("rur_ios")));
    EXPECT_THAT(url->recorder->ongoingVariables(), Contains(Key("nwl_ios")));
    EXPECT_THAT(invalid->recorder->ongoingVariables(), IsEmpty());
    EXPECT_THAT(invalid->recorder->completedVariables(), IsEmpty());
    EXPECT_THAT(log.lines(), Contains("<Zivido> Invalid Request. unknown unit"));
    EXPECT_THAT(adEvents(),
                ElementsAre("ad: core page loaded",
                            "ad: request 1 answered with ad URL https://ads.test/ads?a=1",
                            "ad: request 2 answered with error no ad to show",
                            "ad: request 3 answered invalid: unknown unit"));
}

TEST_F(ZADSDKCoreControllerTest, AReadyAdBecomesARecordOfTheRequestedKind) {
    auto banner = ask("b", ZADSDKCoreControllerDelegate::kBannerAd);
    auto plain = ask("p", ZADSDKCoreControllerDelegate::kPlainAd);
    auto unknownKind = ask("x", 7);
    finishLoad();

    pageSends("loadAd?request_id=1&fetched_ad=%7B%22ad_url%22%3A%22https%3A%2F%2Fads.test%2Fa%22"
              "%2C%22is_mediation%22%3Atrue%7D");
    pageSends(
        "loadAd?request_id=2&fetched_ad=%7B%22ad_url%22%3A%22https%3A%2F%2Fads.test%2Fb%22%7D");
    pageSends("loadAd?request_id=3&fetched_ad=%7B%7D");

    ASSERT_NE(std::dynamic_pointer_cast<ZADBannerAd>(banner->loadedAd), nullptr);
    EXPECT_EQ(banner->loadedAd->responseType(), ZADAd::Mediation);
    EXPECT_EQ(
        banner->loadedHeaders,
        (PlistValue::Dictionary{{"x-rozu-mediation", 1}, {"Content-Type", "application/json"}}));
    ASSERT_NE(plain->loadedAd, nullptr);
    EXPECT_EQ(plain->loadedAd->className(), "ZADAd");
    EXPECT_EQ(plain->loadedAd->responseType(), ZADAd::Failure) << "not classified yet";
    EXPECT_THAT(plain->loadedHeaders, IsEmpty());
    EXPECT_EQ(unknownKind->loadedAd, nullptr);
    EXPECT_THAT(unknownKind->calls, ElementsAre("parameters", "loadAd"));
}

TEST_F(ZADSDKCoreControllerTest, APageOlderThanAnHourIsReloadedAtTheNextRequest) {
    auto answer = [&](const std::shared_ptr<RecordingLoader>& loader) {
        pageSends("loadAdURL?request_id=" + loader->requestID() + "&url=u");
    };
    auto first = ask("a");
    finishLoad();
    answer(first);
    // Until the constants are stored, every load notice asks for them again.
    pageSends("loadSdkConstants?ping_interval=60");

    environment.fastForwardBy(3600);
    auto atTheHour = ask("b");
    EXPECT_EQ(pageLoads(), 1u) << "3,600,000 ms is not stale yet";
    answer(atTheHour);

    environment.fastForwardBy(0.001);
    auto past = ask("c");
    EXPECT_EQ(pageLoads(), 2u) << "3,600,001 ms is";
    EXPECT_TRUE(past->requestID().empty()) << "waits for the reloaded page";
    finishLoad();
    EXPECT_EQ(past->requestID(), "3");
    auto commands = commandsRunIn(*engine);
    EXPECT_EQ(
        std::count_if(commands.begin(), commands.end(),
                      [](const std::string& c) { return c.starts_with("ROZU_getSdkConstants"); }),
        2)
        << "a reloaded page is asked for the constants again, before the request";
    EXPECT_THAT(commands.back(), StartsWith("ROZU_getAd("));
}

TEST_F(ZADSDKCoreControllerTest, AFailedPageFailsTheWaitingRequestsAndIsLoadedAgainNextTime) {
    auto first = ask("a");
    auto second = ask("b");
    engine->failLoad(
        NSURLErrorWithCode(NSURLErrorCannotConnectToHost, ZADSDKCoreWebView::SDKCoreURLString()));
    environment.runUntilIdle();
    EXPECT_THAT(first->calls, ElementsAre("failedJavaScriptFile"));
    EXPECT_THAT(second->calls, ElementsAre("failedJavaScriptFile"));
    EXPECT_TRUE(first->allOnMainThread);
    EXPECT_THAT(adEvents(), ElementsAre("ad: core page failed"));

    auto retry = ask("c");
    EXPECT_EQ(pageLoads(), 2u);
    finishLoad();
    EXPECT_EQ(retry->requestID(), "1") << "ids count sent calls only";
}

TEST_F(ZADSDKCoreControllerTest, ARequestThePageNeverAnswersEndsWithATimeOutError) {
    // The page never loads.
    auto waiting = ask("a");
    environment.fastForwardBy(ZADSDKCoreController::kAdURLRequestTimeout - 0.1);
    EXPECT_THAT(waiting->calls, IsEmpty());
    environment.fastForwardBy(0.2);
    EXPECT_THAT(waiting->calls, ElementsAre("error 5"));
    ASSERT_NE(std::dynamic_pointer_cast<ZADRequestError>(waiting->failure), nullptr);
    EXPECT_EQ(waiting->failure->domain(), "com.zivido.ads");
    EXPECT_EQ(waiting->failure->localizedDescription(),
              ZADRequestError::standardMessageForCode(ZADRequestError::Timeout));
    EXPECT_TRUE(waiting->allOnMainThread);
    EXPECT_THAT(waiting->recorder->ongoingVariables(), IsEmpty());

    // The page loads, the call goes out, and the page stays silent: the same loader can
    // ask again and is timed out again; a late answer is ignored.
    controller->buildAdURL(waiting);
    environment.runUntilIdle();
    finishLoad();
    ASSERT_EQ(waiting->requestID(), "1");
    environment.fastForwardBy(ZADSDKCoreController::kAdURLRequestTimeout);
    EXPECT_THAT(waiting->calls, ElementsAre("error 5", "parameters", "error 5"));
    EXPECT_THAT(controller->pendingBuildAdURLRequestIDs(), IsEmpty());
    pageSends("loadAdURL?request_id=1&url=late");
    EXPECT_EQ(waiting->calls.size(), 3u);
    EXPECT_THAT(adEvents(), ElementsAre("ad: request timed out waiting for the core page",
                                        "ad: core page loaded", "ad: request 1 timed out"));

    // An answer in time stops the clock for that request.
    auto answered = ask("b");
    pageSends("loadAdURL?request_id=2&url=u");
    environment.fastForwardBy(ZADSDKCoreController::kAdURLRequestTimeout * 2);
    EXPECT_THAT(answered->calls, ElementsAre("parameters", "loadAdURL request_id=2 url=u"));
}

TEST_F(ZADSDKCoreControllerTest, ALoaderWithoutParametersFailsAtOnce) {
    auto loader = std::make_shared<RecordingLoader>("a");
    loader->withoutParameters = true;
    controller->buildAdURL(loader);
    environment.runUntilIdle();
    finishLoad();
    EXPECT_THAT(loader->calls, ElementsAre("parameters", "error 11"));
    EXPECT_EQ(commandsRunIn(*engine).size(), 1u) << "only the constants call";
}

TEST_F(ZADSDKCoreControllerTest, EveryKindOfConstantIsStoredAsItsTableSays) {
    auto defaults = NSUserDefaults::standardUserDefaults();
    defaults->setObjectForKey("kept", "/zivido/ads/bad_ad_report_path");
    defaults->setObjectForKey(PlistValue::Array{"old"},
                              "/zivido/ads/zads:interstitial_ad_pool:schema");
    defaults->setObjectForKey("stale", "/zivido/ads/experiment_id_string");
    ZADSDKCoreZMSGHandlerDelegate::Parameters constants = {
        {"mraid_banner_path", "https://ads.test/b.js"},
        {"mraid_interstitial_path", "https://ads.test/i.js"},
        {"active_view_unload_cache_size", "5"},
        {"use_new_web_views_for_active_view", "1"},
        {"mraid_disable_redirect", "1"},
        {"refresh_intervals",
         R"({"active_view_sampling_interval":"0.5","swipe_to_view_sampling_interval":0.25})"},
        {"whitelisted_ad_request_domains", R"(["ads.test", 7, "cdn.test"])"},
        {"clickthrough_confirm_schemes", R"({"tel":"Call?","bad":1})"},
        {"zads:interstitial_ad_pool:field_names", R"({"a":2})"},
        {"auto_collect_location", "true"},
        {"bad_ad_report_path", ""},
        {"first_experiment_id", "11"},
        {"second_experiment_id", "12"},
        {"adapter_class_names", "ZADRequest, NoSuchAdapter"},
        {"csi_reporting_probability", "0.5"},
        {"zads:interstitial_ad_pool:enabled", "1"},
        {"native-indiscriminate-recognition", "YES"},
        {"not_a_setting", "x"},
    };
    storeConstants(constants);

    EXPECT_EQ(ZADMRAIDInterceptor::bannerImplementationPath(), "https://ads.test/b.js");
    EXPECT_EQ(ZADMRAIDInterceptor::interstitialImplementationPath(), "https://ads.test/i.js");
    EXPECT_EQ(ZADMRAIDInterceptor::expandedBannerImplementationPath(), std::nullopt);
    EXPECT_FALSE(ZADMRAIDInterceptor::isAllowed());
    EXPECT_EQ(controller->activeViewUnloadCacheMaxSize(), 5u);
    EXPECT_TRUE(controller->useNewWebViewsForActiveViewProcessing());
    EXPECT_DOUBLE_EQ(controller->activeViewSamplingInterval(), 0.5);
    EXPECT_DOUBLE_EQ(controller->swipeToViewSamplingInterval(), 0.25);
    EXPECT_EQ(setting("whitelisted_ad_request_domains"),
              PlistValue(PlistValue::Array{"ads.test", "cdn.test"}));
    EXPECT_EQ(setting("clickthrough_confirm_schemes"),
              PlistValue(PlistValue::Dictionary{{"tel", "Call?"}}));
    EXPECT_TRUE(setting("zads:interstitial_ad_pool:field_names").isNull())
        << "no pair of texts left";
    EXPECT_TRUE(setting("zads:interstitial_ad_pool:schema").isNull()) << "absent: removed";
    EXPECT_TRUE(ZADLocationService::sharedInstance()->featureEnabled());
    EXPECT_EQ(setting("bad_ad_report_path"), PlistValue("kept")) << "empty: unchanged";
    EXPECT_EQ(setting("experiment_id_string"), PlistValue("11,12"));
    EXPECT_EQ(ZADApplication::sharedInstance()->availableAdapterNames(),
              std::vector<std::string>{"ZADRequest"});
    EXPECT_EQ(setting("csi_reporting_probability"), PlistValue("0.5")) << "stored as text";
    EXPECT_EQ(setting("zads:interstitial_ad_pool:enabled"), PlistValue("1"));
    EXPECT_EQ(setting("native-indiscriminate-recognition"), PlistValue("YES"));
    EXPECT_TRUE(setting("not_a_setting").isNull());

    // A second delivery: what is absent goes back to its default where the table says so.
    storeConstants({{"experiment_id_string", "9"},
                    {"zads:interstitial_ad_pool:schema", "a,b"},
                    {"refresh_intervals", "[0.1]"},
                    {"active_view_unload_cache_size", "0"}});
    EXPECT_TRUE(ZADMRAIDInterceptor::isAllowed());
    EXPECT_EQ(ZADMRAIDInterceptor::bannerImplementationPath(), std::nullopt);
    EXPECT_FALSE(controller->useNewWebViewsForActiveViewProcessing());
    EXPECT_EQ(controller->activeViewUnloadCacheMaxSize(), 5u) << "0 keeps the limit";
    EXPECT_DOUBLE_EQ(controller->activeViewSamplingInterval(), 0.5) << "not an object";
    EXPECT_FALSE(ZADLocationService::sharedInstance()->featureEnabled());
    EXPECT_EQ(setting("experiment_id_string"), PlistValue("9"));
    EXPECT_EQ(setting("zads:interstitial_ad_pool:schema"), PlistValue(PlistValue::Array{"a", "b"}));
}

// A sampling interval must be a positive number: anything else would make the samplers
// spin or stop, so it is dropped with a log line and the last good one stays.
TEST_F(ZADSDKCoreControllerTest, SamplingIntervalsThatAreNotPositiveNumbersAreIgnored) {
    storeConstants({{"refresh_intervals", R"({"active_view_sampling_interval":2,)"
                                          R"("swipe_to_view_sampling_interval":"1.5"})"}});
    const std::pair<std::string, std::string> cases[] = {
        {"zero", "0"},
        {"negative", "-1"},
        {"negative text", R"("-0.5")"},
        {"text", R"("soon")"},
        {"empty text", R"("")"},
        {"boolean", "true"},
        {"object", R"({"s":1})"},
        {"array", "[1]"},
        {"null", "null"},
    };
    for (const auto& [name, value] : cases) {
        SCOPED_TRACE(name);
        CapturedLog log;
        storeConstants(
            {{"refresh_intervals", R"({"active_view_sampling_interval":)" + value +
                                       R"(,"swipe_to_view_sampling_interval":)" + value + "}"}});
        EXPECT_DOUBLE_EQ(controller->activeViewSamplingInterval(), 2);
        EXPECT_DOUBLE_EQ(controller->swipeToViewSamplingInterval(), 1.5);
        EXPECT_THAT(log.lines(), ElementsAre(HasSubstr("active_view_sampling_interval"),
                                             HasSubstr("swipe_to_view_sampling_interval")));
    }
    storeConstants({{"refresh_intervals", R"({"active_view_sampling_interval":0.25})"}});
    EXPECT_DOUBLE_EQ(controller->activeViewSamplingInterval(), 0.25);
}

// A load controller that asks again has moved on from its earlier ask: the page's answer to
// it reaches nothing, even one already on its way to the main thread.
TEST_F(ZADSDKCoreControllerTest, AnAnswerToAnAskTheLoaderHasMovedOnFromReachesNothing) {
    auto loader = ask("a");
    finishLoad();
    ASSERT_EQ(loader->requestID(), "1");

    // The answer leaves for the main thread; meanwhile the loader asks again (clearing its id
    // as a new ask does).
    engine->navigate("zmsg://core/invalidRequest?request_id=1", UIWebViewNavigationType::Other);
    loader->setRequestID({});
    controller->buildAdURL(loader);
    environment.runUntilIdle();
    ASSERT_EQ(loader->requestID(), "2");
    EXPECT_THAT(loader->calls, ElementsAre("parameters", "parameters")) << "nothing of ask 1";
    pageSends("loadAdURL?request_id=2&url=new");
    EXPECT_EQ(loader->calls.back(), "loadAdURL request_id=2 url=new");
}

// Two asks of one loader before the page loads: the first is dropped, so its time-out never
// comes and the page gets one call.
TEST_F(ZADSDKCoreControllerTest, AnAskRepeatedBeforeThePageLoadsReplacesTheFirst) {
    auto loader = ask("a");
    environment.fastForwardBy(5);
    controller->buildAdURL(loader);
    environment.fastForwardBy(ZADSDKCoreController::kAdURLRequestTimeout - 1);
    EXPECT_THAT(loader->calls, IsEmpty()) << "the first ask's time-out is gone";
    finishLoad();
    EXPECT_EQ(loader->requestID(), "1");
    EXPECT_EQ(commandsRunIn(*engine).size(), 2u) << "the constants and one request";
    environment.fastForwardBy(1);
    EXPECT_THAT(loader->calls, ElementsAre("parameters", "error 5")) << "the second's comes";
}

TEST_F(ZADSDKCoreControllerTest, ConstantsThePageSendsAreStored) {
    ask("a");
    finishLoad();
    pageSends("loadSdkConstants?as_domains=ads.test&ping_interval=30");
    EXPECT_EQ(setting("as_domains"), PlistValue("ads.test"));
    EXPECT_EQ(setting("ping_interval"), PlistValue("30"));
}

class RunningUnit : public ZADActiveViewObserver {
public:
    void activeViewVisibilityChanged(bool) override {}
    void activeViewMonitoringDidStop() override { stopped = true; }
    bool stopped = false;
};

TEST_F(ZADSDKCoreControllerTest, ActiveViewLendingAndTheUnloadCache) {
    // One shared view, until the page asks for a reload.
    ask("a");
    finishLoad();
    auto shared = controller->SDKCoreWebViewForActiveViewProcessing();
    EXPECT_EQ(controller->SDKCoreWebViewForActiveViewProcessing(), shared);
    pageSends("requestReload");
    auto fresh = controller->SDKCoreWebViewForActiveViewProcessing();
    EXPECT_NE(fresh, shared);
    EXPECT_NE(fresh, controller->activeSDKCoreWebView()) << "the ad-URL page is not lent";

    // Four views still running after their ads, a cache of three: the oldest is cleared.
    std::vector<std::shared_ptr<ZADSDKCoreWebView>> views;
    std::vector<std::shared_ptr<RunningUnit>> units;
    for (uint64_t id = 1; id <= 4; ++id) {
        auto view = ZADSDKCoreWebView::init();
        auto unit = std::make_shared<RunningUnit>();
        view->setActiveViewObserverForActiveViewID(unit, id);
        environment.runUntilIdle();
        views.push_back(view);
        units.push_back(unit);
        controller->finishedUsingSDKCoreWebViewForActiveViewProcessing(view);
    }
    EXPECT_TRUE(units[0]->stopped);
    EXPECT_FALSE(views[0]->isActiveViewRunning());
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_FALSE(units[i]->stopped) << i;
        EXPECT_TRUE(views[i]->isActiveViewRunning()) << i;
    }

    // A view whose work has ended is not cached.
    auto idle = ZADSDKCoreWebView::init();
    controller->finishedUsingSDKCoreWebViewForActiveViewProcessing(idle);
    EXPECT_TRUE(views[1]->isActiveViewRunning());
}

} // namespace
