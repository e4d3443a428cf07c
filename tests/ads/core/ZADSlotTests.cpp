// The slot's state machine on the scripted web-view engine: which calls each state allows,
// a second load while one is under way, the roads to a valid ad and to each failure, the
// reload timer firing, pausing during full-screen presentations and resuming, and the end
// of a slot. The core controller's answers are played by calling the slot as it does.
#include "ads/core/ZADAd.h"
#include "ads/core/ZADAutoClickProtection.h"
#include "ads/core/ZADBannerAd.h"
#include "ads/core/ZADExtras.h"
#include "ads/core/ZADInterstitialAd.h"
#include "ads/core/ZADRequest.h"
#include "ads/core/ZADRequestError.h"
#include "ads/core/ZADSDKCoreController.h"
#include "ads/core/ZADSlot.h"
#include "ads/core/ZADSlotAdLoadDelegate.h"
#include "ads/core/ZADSlotAdResponseDelegate.h"
#include "ads/core/ZADSlotDelegate.h"
#include "ads/render/ZADAdView.h"
#include "ads/render/ZADCSITimeRecorder.h"
#include "ads/render/ZADMRAIDInterceptor.h"
#include "ads/render/ZADSDKCoreWebView.h"
#include "ads/signals/ZADAbsoluteTime.h"
#include "ads/signals/ZADApplication.h"
#include "ads/signals/ZADDevice.h"
#include "ads/signals/ZADMobileAds.h"
#include "ads/signals/ZADSession.h"
#include "ads/signals/ZADStatisticDictionary.h"
#include "platform/adsupport/ASIdentifierManager.h"
#include "platform/base/NSThread.h"
#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSError.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLError.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/graphics/NSValue.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIApplicationDelegate.h"
#include "platform/uikit/UIDevice.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"
#include "tests/support/webkit/FakeWebViewEngine.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// The ad object owning the slot: answers the slot's questions as a test sets them and
// writes down what it hears, and whether it heard it on the main thread.
class RecordingOwner : public NSObject,
                       public ZADSlotDelegate,
                       public ZADSlotAdLoadDelegate,
                       public ZADSlotAdResponseDelegate {
public:
    std::optional<bool> slotShouldLoadRequestError(ZADSlot&, const std::shared_ptr<ZADRequest>&,
                                                   std::shared_ptr<NSError>& error) override {
        error = refusal;
        return shouldLoad;
    }
    std::optional<bool> slotShouldReloadCurrentRequest(ZADSlot&) override { return shouldReload; }
    std::optional<bool> slotShouldPreemptInProgressRequest(ZADSlot&) override { return preempt; }
    void slotDidReceiveAdView(ZADSlot&, const std::shared_ptr<UIView>& view) override {
        note(view ? "ad view" : "no ad view");
    }
    std::optional<bool>
    slotNotifyPublisherToRenderCustomRenderingAdError(ZADSlot&,
                                                      std::shared_ptr<NSError>&) override {
        note("render custom");
        return rendersCustomAds;
    }
    std::optional<std::vector<std::shared_ptr<NSValue>>> validAdSizes() override { return sizes; }
    std::optional<CGRect> frame() override { return ownFrame; }
    void slotFinishedLoadingAdContent(ZADSlot&) override { note("finished"); }
    void slotDidFailToLoadAdContentWithError(ZADSlot&,
                                             const std::shared_ptr<NSError>& error) override {
        note("failed " + error->domain() + " " + std::to_string(error->code()));
    }
    bool slotShouldProcessAdResponseError(ZADSlot& slot, const std::shared_ptr<ZADAd>&,
                                          std::shared_ptr<NSError>& error) override {
        if (whileDecidingOnResponse) {
            whileDecidingOnResponse(slot);
        }
        error = responseError;
        return processResponse;
    }

    std::optional<bool> shouldLoad;
    std::shared_ptr<NSError> refusal;
    std::optional<bool> shouldReload;
    std::optional<bool> preempt;
    std::optional<bool> rendersCustomAds;
    bool processResponse = true;
    std::shared_ptr<NSError> responseError;
    std::function<void(ZADSlot&)> whileDecidingOnResponse;
    std::optional<std::vector<std::shared_ptr<NSValue>>> sizes;
    std::optional<CGRect> ownFrame;

    std::vector<std::string> heard;
    bool allOnMainThread = true;

private:
    void note(const std::string& what) {
        heard.push_back(what);
        allOnMainThread = allOnMainThread && NSThread::isMainThread();
    }
};

class ActiveApplication : public UIApplicationDelegate {};

std::shared_ptr<ZADAd> readyAd(const std::string& html, double reloadInterval = 0) {
    auto ad = ZADBannerAd::init();
    ad->setAdHTML(html);
    ad->setAdBaseURL(NSURL::URLWithString("https://ads.test/ad"));
    ad->setReloadInterval(reloadInterval);
    return ad;
}

// The "ad:" lines of the event log.
std::vector<std::string> adLines() {
    std::vector<std::string> lines;
    for (const auto& entry : EventLog::entries()) {
        if (entry.starts_with("ad: ")) {
            lines.push_back(entry);
        }
    }
    return lines;
}

class SlotTest : public ::testing::Test {
public:
    void SetUp() override {
        FakeWebViewEngine::install();
        UIApplication::sharedApplication()->launch(std::make_shared<ActiveApplication>());
        ZADSDKCoreController::sharedInstance();
        corePage = FakeWebViewEngine::latest();
        ASSERT_NE(corePage, nullptr) << "the controller's core page made no engine";
        freshSlot();
    }

    // A new 320x50 banner slot of the owner's for "unit-1" becomes `slot`.
    void freshSlot() {
        slot = ZADSlot::init();
        adPage = FakeWebViewEngine::latest();
        ASSERT_NE(adPage, nullptr) << "the slot's ad view made no engine";
        slot->setAdUnitID("unit-1");
        slot->setAdTypeAndReloadRequest(
            ZADAdType::bannerAdTypeForSize(ZADAdSizeMakeFromSize(CGSizeMake(320, 50))), false);
        slot->setSlotDelegate(owner);
        slot->setAdLoadDelegate(owner);
        environment.runUntilIdle();
    }

    // The core page never loads here, and its web view holds the controller as long as
    // the load is under way: ending it lets both go.
    void TearDown() override {
        environment.runUntilIdle();
        corePage->failLoad(NSURLErrorWithCode(NSURLErrorCannotConnectToHost,
                                              ZADSDKCoreWebView::SDKCoreURLString()));
        environment.runUntilIdle();
    }

    // A load that reaches the core controller (state 2).
    void startLoad() {
        slot->loadRequest(ZADRequest::request());
        environment.runUntilIdle();
    }
    // The controller hands over a ready ad; the fetch answers.
    void fetch(const std::shared_ptr<ZADAd>& ad, const PlistValue::Dictionary& headers = {}) {
        slot->loadAdHeaders(ad, headers);
        environment.runUntilIdle();
    }
    // The core page loads and is asked for the slot's ad URL (the slot is in state 2).
    void loadCorePage() {
        corePage->finishLoad();
        environment.runUntilIdle();
    }
    // The core page sends a message; "ID" in it stands for the slot's request id.
    void corePageSends(std::string message) {
        if (auto at = message.find("ID"); at != std::string::npos) {
            message.replace(at, 2, slot->requestID());
        }
        corePage->navigate("zmsg://core/" + message, UIWebViewNavigationType::Other);
        environment.runUntilIdle();
    }
    // A load to a valid ad with that refresh interval.
    void loadAd(double reloadInterval = 0) {
        startLoad();
        fetch(readyAd("<p>ad</p>", reloadInterval));
        adPage->finishLoad();
        environment.runUntilIdle();
    }

    TaskEnvironment environment;
    // Where the device keeps its advertising identifier.
    TestHome home;
    std::shared_ptr<RecordingOwner> owner = std::make_shared<RecordingOwner>();
    std::shared_ptr<ZADSlot> slot;
    FakeWebViewEngine* adPage = nullptr;
    FakeWebViewEngine* corePage = nullptr;
};

TEST_F(SlotTest, ALoadWalksTheStatesToAValidAdAndReportsItOnTheMainThread) {
    EXPECT_EQ(slot->state(), ZADSlot::Idle);
    EXPECT_DOUBLE_EQ(slot->reloadInterval(), 60.0);
    startLoad();
    EXPECT_EQ(slot->state(), ZADSlot::RequestingAdURL);
    EXPECT_TRUE(slot->isMakingRequest());
    EXPECT_EQ(ZADMRAIDInterceptor::canInitWithRequestCount(), 1);
    ASSERT_TRUE(slot->adLoadActionTimeRecorder());
    EXPECT_EQ(slot->adLoadActionTimeRecorder()->action(), "load_ad_ios");

    slot->loadAdHeaders(readyAd("  <p>ad</p>\n"), {});
    EXPECT_EQ(slot->state(), ZADSlot::Fetching);
    environment.runUntilIdle();
    EXPECT_EQ(slot->state(), ZADSlot::Rendering);
    EXPECT_EQ(adPage->calls.back(), "html https://ads.test/ad");
    EXPECT_THAT(owner->heard, ElementsAre("ad view"));

    adPage->finishLoad();
    environment.runUntilIdle();
    EXPECT_EQ(slot->state(), ZADSlot::ValidAd);
    EXPECT_FALSE(slot->isMakingRequest());
    EXPECT_EQ(ZADMRAIDInterceptor::canInitWithRequestCount(), 0);
    EXPECT_TRUE(slot->ad());
    EXPECT_FALSE(slot->loadingAd());
    EXPECT_GT(slot->timeLastLoaded(), 0u);
    EXPECT_FALSE(slot->adView()->isHidden());
    EXPECT_THAT(owner->heard, ElementsAre("ad view", "finished"));
    EXPECT_TRUE(owner->allOnMainThread);
    EXPECT_THAT(adLines(),
                ElementsAre("ad: load unit-1 banner 320x50", "ad: received unit-1 banner 320x50"));
    const auto completed = slot->adLoadActionTimeRecorder()->completedVariables();
    for (const char* variable : {"arf_ios", "awr_ios", "ttc_ios"}) {
        EXPECT_TRUE(completed.contains(variable)) << variable;
    }
}

// Which states let a new load start: the ones where none is under way, and not the final
// one. A load under way is replaced only when the owner lets it be preempted.
TEST_F(SlotTest, EachStateAllowsANewLoadOrNot) {
    struct Case {
        ZADSlot::State state;
        std::optional<bool> preempt;
        bool starts;
    };
    const Case cases[] = {
        {ZADSlot::Idle, std::nullopt, true},
        {ZADSlot::SDKCoreFailed, std::nullopt, true},
        {ZADSlot::RequestingAdURL, std::nullopt, false},
        {ZADSlot::ReceivedAdURL, std::nullopt, false},
        {ZADSlot::Fetching, std::nullopt, false},
        {ZADSlot::Rendering, false, false},
        {ZADSlot::Rendering, true, true},
        {ZADSlot::Fetching, true, true},
        {ZADSlot::ValidAd, std::nullopt, true},
        {ZADSlot::Failed, std::nullopt, true},
        {ZADSlot::Invalidated, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << c.state);
        auto fresh = ZADSlot::init();
        fresh->setSlotDelegate(owner);
        fresh->setState(c.state);
        owner->preempt = c.preempt;
        EventLog::clear();
        fresh->loadRequest(ZADRequest::request());
        EXPECT_EQ(adLines().size(), c.starts ? 1u : 0u);
        EXPECT_EQ(fresh->state(), c.starts ? ZADSlot::RequestingAdURL : c.state);
        environment.runUntilIdle();
    }
}

// A ready ad or an ad URL in the request's extras goes straight to the fetch (states
// 0, 2, 0, 4), never to the core page.
TEST_F(SlotTest, AReadyAdOrAdURLInTheExtrasSkipsTheCorePage) {
    using Dictionary = PlistValue::Dictionary;
    struct Case {
        std::string name;
        bool interstitial;
        Dictionary extras;
        std::string adClass; // of the loading ad; empty: the core page is asked
        uint64_t orientations;
        double reloadInterval;
        std::string pageBaseURL; // what the ad page was loaded with; empty: the fetch fails
        bool MRAIDAllowed;
    };
    const Dictionary readyBanner{{"ad_html", PlistValue("<p>ready</p>")},
                                 {"ad_base_url", PlistValue("https://ads.test/base")},
                                 {"refresh_rate", PlistValue(int64_t{45})}};
    const Case cases[] = {
        {"a ready banner",
         false,
         {{"_ad", PlistValue(readyBanner)}, {"_orientation", PlistValue("l")}},
         "ZADBannerAd",
         24,
         45,
         "https://ads.test/base",
         false},
        {"a ready interstitial",
         true,
         {{"_ad", PlistValue(readyBanner)}},
         "ZADInterstitialAd",
         30,
         60,
         "https://ads.test/base",
         false},
        {"an ad URL",
         false,
         {{"_requestUrl", PlistValue("https://ads.test/ads?unit=1")},
          {"_orientation", PlistValue("p")}},
         "ZADAd",
         6,
         60,
         "", // fetched for real: nothing here leaves the machine
         true},
        {"an orientation alone", false, {{"_orientation", PlistValue("p")}}, "", 0, 60, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ZADMRAIDInterceptor::resetForTesting();
        auto fresh = ZADSlot::init();
        auto page = FakeWebViewEngine::latest();
        ASSERT_NE(page, nullptr) << "the slot's ad view made no engine";
        fresh->setAdTypeAndReloadRequest(
            c.interstitial
                ? ZADAdType::interstitialAdType()
                : ZADAdType::bannerAdTypeForSize(ZADAdSizeMakeFromSize(CGSizeMake(320, 50))),
            false);
        auto extras = ZADExtras::init();
        extras->setAdditionalParameters(c.extras);
        auto request = ZADRequest::request();
        request->registerAdNetworkExtras(extras);
        fresh->loadRequest(request);
        if (c.adClass.empty()) {
            EXPECT_EQ(fresh->state(), ZADSlot::RequestingAdURL);
            continue;
        }
        EXPECT_EQ(fresh->state(), ZADSlot::Fetching);
        EXPECT_EQ(ZADMRAIDInterceptor::canInitWithRequestCount(), 1);
        EXPECT_EQ(ZADMRAIDInterceptor::isAllowed(), c.MRAIDAllowed);
        ASSERT_TRUE(fresh->loadingAd());
        EXPECT_EQ(fresh->loadingAd()->className(), c.adClass);
        EXPECT_EQ(fresh->loadingAd()->supportedOrientations(), c.orientations);
        EXPECT_DOUBLE_EQ(fresh->reloadInterval(), c.reloadInterval);
        environment.runUntilIdle();
        if (c.pageBaseURL.empty()) {
            EXPECT_EQ(fresh->state(), ZADSlot::Failed);
            continue;
        }
        EXPECT_EQ(fresh->state(), ZADSlot::Rendering);
        EXPECT_EQ(page->calls.back(), "html " + c.pageBaseURL);
    }
}

TEST_F(SlotTest, TheCorePageGetsTheUnitTheSizeAndTheRequestID) {
    startLoad();
    slot->setRequestID("7");
    auto parameters = slot->requestParameters().value();
    EXPECT_EQ(parameters["slotname"], PlistValue("unit-1"));
    EXPECT_FALSE(parameters.contains("format"));
    EXPECT_EQ(parameters["request_id"], PlistValue("7"));
    EXPECT_EQ(parameters["js"], PlistValue(ZADRequest::sdkVersion()));
    EXPECT_EQ(slot->requestedAdType(), ZADSDKCoreControllerDelegate::kBannerAd);

    slot->setAdTypeAndReloadRequest(ZADAdType::interstitialAdType(), false);
    parameters = slot->requestParameters().value();
    EXPECT_EQ(parameters["format"], PlistValue("interstitial_mb"));
    EXPECT_FALSE(parameters.contains("sz"));
    EXPECT_EQ(slot->requestedAdType(), ZADSDKCoreControllerDelegate::kInterstitialAd);
}

TEST_F(SlotTest, TheSizeKeysFollowTheAdTypeAndWhatTheOwnerAnswers) {
    const auto sizes = std::vector{ZADAdSizeToValue(ZADAdSizeMakeFromSize(CGSizeMake(320, 50))),
                                   ZADAdSizeToValue(kZADAdSizeInvalid),
                                   NSValue::valueWithCGAffineTransform(CGAffineTransformIdentity),
                                   ZADAdSizeToValue(ZADAdSizeMakeFromSize(CGSizeMake(300, 250)))};
    struct Case {
        const char* name;
        ZADAdSize size;
        bool interstitial;
        PlistValue::Dictionary present;
        std::vector<std::string> absent;
    };
    const PlistValue frame(
        PlistValue::Dictionary{{"x", 10.0}, {"y", 20.0}, {"w", 320.0}, {"h", 50.0}});
    const PlistValue bounds(
        PlistValue::Dictionary{{"x", 0.0}, {"y", 0.0}, {"w", 320.0}, {"h", 50.0}});
    const Case cases[] = {
        // Of the valid sizes, those that are ad sizes, in their order.
        {"listed sizes",
         ZADAdSizeMakeFromSize(CGSizeMake(320, 50)),
         false,
         {{"sz", "320x50|300x250"}, {"ad_frame", frame}, {"ad_bounds", bounds}},
         {"format", "smart_w", "smart_h"}},
        {"fluid", kZADAdSizeFluid, false, {{"format", "320x50_mb"}, {"fluid", "height"}}, {"sz"}},
        {"smart banner",
         kZADAdSizeSmartBannerPortrait,
         false,
         {{"smart_w", "full"}, {"smart_h", "auto"}},
         {}},
        {"full width", ZADAdSizeMakeFullWidth(90), false, {{"smart_w", "full"}}, {"smart_h"}},
        {"interstitial",
         kZADAdSizeInvalid,
         true,
         {{"format", "interstitial_mb"}},
         {"sz", "ad_frame", "ad_bounds"}},
    };
    owner->sizes = sizes;
    owner->ownFrame = CGRectMake(10, 20, 320, 50);
    slot->adView()->setFrame(CGRectMake(0, 0, 320, 50));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        slot->setAdTypeAndReloadRequest(c.interstitial ? ZADAdType::interstitialAdType()
                                                       : ZADAdType::bannerAdTypeForSize(c.size),
                                        false);
        auto parameters = slot->requestParameters().value();
        for (const auto& [key, value] : c.present) {
            EXPECT_EQ(parameters[key], value) << key;
        }
        for (const auto& key : c.absent) {
            EXPECT_FALSE(parameters.contains(key)) << key;
        }
    }
    // An owner that names no sizes sends none: the frame tells the server the size.
    owner->sizes.reset();
    slot->setAdTypeAndReloadRequest(ZADAdType::bannerAdTypeForSize(kZADAdSizeMediumRectangle),
                                    false);
    const auto parameters = slot->requestParameters().value();
    EXPECT_FALSE(parameters.contains("sz"));
    EXPECT_EQ(parameters.at("ad_frame"), frame);
}

TEST_F(SlotTest, TheServersSwitchesGoWithTheRequest) {
    startLoad();
    auto parameters = slot->requestParameters().value();
    EXPECT_EQ(parameters["force_https"], PlistValue("1"));
    for (const char* key : {"eid", "_forcePrefetch", "content_info", "d_imp_hdr", "pan"}) {
        EXPECT_FALSE(parameters.contains(key)) << key;
    }
    auto defaults = NSUserDefaults::standardUserDefaults();
    defaults->setBoolForKey(false, "/zivido/ads/use_https");
    defaults->setObjectForKey(PlistValue("31,32"), "/zivido/ads/experiment_id_string");
    defaults->setObjectForKey(PlistValue("true"), "/zivido/ads/prefetch_enabled");
    defaults->setObjectForKey(PlistValue("f00d"), "/zivido/ads/content_url_fingerprint");
    slot->setManualImpressionsEnabled(true);
    parameters = slot->requestParameters().value();
    EXPECT_FALSE(parameters.contains("force_https"));
    EXPECT_EQ(parameters["eid"], PlistValue("31,32"));
    EXPECT_EQ(parameters["_forcePrefetch"], PlistValue("1"));
    EXPECT_EQ(parameters["d_imp_hdr"], PlistValue("1"));
    EXPECT_EQ(parameters["content_info"],
              PlistValue(PlistValue::Dictionary{{"fingerprint", "f00d"}, {"v", 1}}));
}

TEST_F(SlotTest, EachRequestCarriesTheApplicationsStatisticsAndEarlierAdsStatistics) {
    auto application = ZADApplication::sharedInstance();
    auto earlierAd = ZADStatisticDictionary::initWithDelegate(application);
    earlierAd->setObjectForKeyShouldNotifyDelegate(PlistValue("3"), "viewed", true);
    environment.runUntilIdle();

    startLoad();
    auto signals = *slot->requestParameters().value()["quality_signals"].dictionary();
    const PlistValue::Dictionary app = *signals["app"].dictionary();
    EXPECT_EQ(app.at("seq_num"), PlistValue(1));
    EXPECT_EQ(app.at("session_id"), PlistValue(application->currentSession()->uniqueID()));
    EXPECT_EQ(signals["ads"],
              PlistValue(PlistValue::Array{PlistValue::Dictionary{{"viewed", "3"}}}));
    EXPECT_TRUE(application->pendingAdStatistics().empty()) << "the slot took them";

    // The load fails: they wait for the next request, which counts on.
    slot->loadAdURLWithParameters({{"errors", "none"}});
    EXPECT_EQ(slot->state(), ZADSlot::Failed);
    startLoad();
    signals = *slot->requestParameters().value()["quality_signals"].dictionary();
    EXPECT_EQ(signals["app"].dictionary()->at("seq_num"), PlistValue(2));
    EXPECT_EQ(signals["app"].dictionary()->at("session_id"), app.at("session_id"));
    EXPECT_EQ(signals["ads"].array()->size(), 1u);
}

// An ad's own statistics: the request it answers, its fetch and its load, on the engine
// clock; once loaded they travel with the next request.
TEST_F(SlotTest, ALoadedAdsStatisticsTravelWithTheNextRequest) {
    environment.fastForwardBy(5);
    startLoad();
    const PlistValue requested = slot->applicationStatistics().at("currts");
    environment.fastForwardBy(1);
    auto ad = readyAd("<p>ad</p>");
    slot->loadAdHeaders(ad, {});
    const auto fetched = static_cast<long long>(ZADMonotonicTimeInMilliseconds());
    environment.runUntilIdle();
    environment.fastForwardBy(2);
    adPage->finishLoad();
    environment.runUntilIdle();
    ASSERT_EQ(slot->state(), ZADSlot::ValidAd);
    const auto loaded = static_cast<long long>(ZADMonotonicTimeInMilliseconds());

    startLoad();
    auto signals = *slot->requestParameters().value()["quality_signals"].dictionary();
    ASSERT_TRUE(signals.contains("ads")) << "the loaded ad's statistics are not on the request";
    EXPECT_EQ(signals["ads"], PlistValue(PlistValue::Array{PlistValue::Dictionary{
                                  {"treq", requested},
                                  {"tfetch", PlistValue(fetched)},
                                  {"tresponse", PlistValue(fetched)},
                                  {"tload", PlistValue(loaded)},
                                  {"slotid", PlistValue("unit-1")},
                                  {"seq_num", PlistValue(1)}}}));
}

TEST_F(SlotTest, TheServersAnswerCountsItsScenarioAndShapesTheAd) {
    struct Case {
        const char* scenario;
        PlistValue::Dictionary counted;
    };
    const Case cases[] = {
        {"offline_empty", {{"oar", 1}, {"losn", 1}}},
        {"offline_buffer", {{"oar", 1}, {"bas_off", 1}, {"losn", 1}}},
        {"online_buffer", {{"bas_on", 1}}},
        {"online_request", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scenario);
        ZADApplication::resetForTesting();
        freshSlot();
        startLoad();
        slot->loadAdURLWithParameters({{"url", "https://ads.test/a"},
                                       {"request_scenario", c.scenario},
                                       {"enable_auto_click_protection", "1"},
                                       {"interstitial_size_width", "300"},
                                       {"interstitial_size_height", "250"},
                                       {"cropped_content_threshold", "12.5"}});
        auto statistics = ZADApplication::sharedInstance()->statistics();
        for (const char* key : {"oar", "bas_off", "bas_on", "losn"}) {
            auto expected = c.counted.find(key);
            EXPECT_EQ(statistics->objectForKeyedSubscript(key),
                      expected == c.counted.end() ? PlistValue() : expected->second)
                << key;
        }
        ASSERT_TRUE(slot->loadingAd());
        EXPECT_TRUE(slot->loadingAd()->autoClickProtection()->enabled());
        EXPECT_EQ(slot->loadingAd()->size(), CGSizeMake(300, 250));
        EXPECT_DOUBLE_EQ(slot->loadingAd()->croppedContentThreshold(), 12.5);
    }
}

TEST_F(SlotTest, TheStateIsFinalOnceInvalidatedAndSettingTheSameStateChangesNothing) {
    slot->setState(ZADSlot::Idle);
    EXPECT_EQ(ZADMRAIDInterceptor::canInitWithRequestCount(), 0);
    slot->setState(ZADSlot::RequestingAdURL);
    slot->setState(ZADSlot::RequestingAdURL);
    EXPECT_EQ(ZADMRAIDInterceptor::canInitWithRequestCount(), 1);
    slot->setState(ZADSlot::Failed);
    EXPECT_EQ(ZADMRAIDInterceptor::canInitWithRequestCount(), 0);
    slot->invalidateState();
    for (auto state : {ZADSlot::Idle, ZADSlot::RequestingAdURL, ZADSlot::ValidAd}) {
        slot->setState(state);
        EXPECT_EQ(slot->state(), ZADSlot::Invalidated);
    }
    EXPECT_EQ(ZADMRAIDInterceptor::canInitWithRequestCount(), 0);
}

TEST_F(SlotTest, ASecondLoadWhileLoadingWaitsUnlessTheOwnerLetsItPreemptTheFirst) {
    startLoad();
    fetch(readyAd("<p>first</p>"));
    ASSERT_EQ(slot->state(), ZADSlot::Rendering);
    const auto firstRecorder = slot->adLoadActionTimeRecorder();

    slot->loadRequest(ZADRequest::request());
    EXPECT_EQ(slot->state(), ZADSlot::Rendering);
    EXPECT_EQ(slot->adLoadActionTimeRecorder(), firstRecorder);
    EXPECT_EQ(adLines().size(), 1u);

    owner->preempt = true;
    slot->loadRequest(ZADRequest::request());
    EXPECT_EQ(slot->state(), ZADSlot::RequestingAdURL);
    EXPECT_NE(slot->adLoadActionTimeRecorder(), firstRecorder);
    EXPECT_EQ(adLines().size(), 2u);

    // The preempted fetch is cancelled: its answer never reaches the slot.
    slot->loadAdHeaders(readyAd("<p>second</p>"), {});
    slot->loadRequest(ZADRequest::request());
    environment.runUntilIdle();
    EXPECT_EQ(slot->state(), ZADSlot::RequestingAdURL);
    EXPECT_THAT(owner->heard, ElementsAre("ad view"));
}

TEST_F(SlotTest, EveryFailureEndsTheLoadWithItsRequestErrorOnTheMainThread) {
    const auto errorWith = [](long code) {
        return "failed com.zivido.ads " + std::to_string(code);
    };
    struct Case {
        std::string name;
        std::function<void(SlotTest&)> play;
        ZADSlot::State state;
        std::string heard;
    };
    const Case cases[] = {
        {"the core page failed to load", [](SlotTest& t) { t.slot->failedJavaScriptFile(); },
         ZADSlot::SDKCoreFailed, errorWith(2)},
        {"the core page did not answer in time",
         [](SlotTest& t) {
             t.slot->adURLRequestDidFailWithError(
                 ZADRequestError::errorWithCode(ZADRequestError::Timeout));
         },
         ZADSlot::Failed, errorWith(5)},
        {"the core page refused the request",
         [](SlotTest& t) { t.slot->invalidJavaScriptRequest(); }, ZADSlot::Failed, errorWith(0)},
        {"the core page answered with errors",
         [](SlotTest& t) {
             t.slot->loadAdURLWithParameters({{"errors", "no ad"}});
         },
         ZADSlot::Failed, errorWith(0)},
        {"the response is only white space", [](SlotTest& t) { t.fetch(readyAd(" \n\t ")); },
         ZADSlot::Failed, errorWith(1)},
        {"the fetch found nothing to fetch", [](SlotTest& t) { t.fetch(ZADAd::init()); },
         ZADSlot::Failed, errorWith(1)},
        {"the ad page failed to load",
         [](SlotTest& t) {
             t.fetch(readyAd("<p>ad</p>"));
             t.adPage->failLoad(
                 NSURLErrorWithCode(NSURLErrorCannotConnectToHost, "https://ads.test/ad"));
         },
         ZADSlot::Failed, errorWith(2)},
        {"a mediation answer with no mediation layer",
         [](SlotTest& t) {
             t.fetch(readyAd("{}"), {{"x-rozu-mediation", PlistValue("1")},
                                     {"content-type", PlistValue("application/json")}});
         },
         ZADSlot::Failed, errorWith(7)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        owner->heard.clear();
        EventLog::clear();
        startLoad();
        ASSERT_EQ(slot->state(), ZADSlot::RequestingAdURL);
        c.play(*this);
        environment.runUntilIdle();
        EXPECT_EQ(slot->state(), c.state);
        ASSERT_FALSE(owner->heard.empty());
        EXPECT_EQ(owner->heard.back(), c.heard);
        EXPECT_TRUE(owner->allOnMainThread);
        EXPECT_EQ(ZADMRAIDInterceptor::canInitWithRequestCount(), 0);
        const auto lines = adLines();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_TRUE(lines[1].starts_with("ad: failed unit-1: error ")) << lines[1];
    }
}

// Answers of the core controller for a load the slot has moved on from (the time-out of a
// preempted request, a late answer, another request id's ad URL) change nothing.
TEST_F(SlotTest, AnswersForALoadTheSlotHasMovedOnFromAreDropped) {
    const std::pair<std::string, std::function<void(ZADSlot&)>> answers[] = {
        {"time-out",
         [](ZADSlot& s) {
             s.adURLRequestDidFailWithError(
                 ZADRequestError::errorWithCode(ZADRequestError::Timeout));
         }},
        {"invalid request", [](ZADSlot& s) { s.invalidJavaScriptRequest(); }},
        {"core page failed", [](ZADSlot& s) { s.failedJavaScriptFile(); }},
        {"ad URL",
         [](ZADSlot& s) {
             s.loadAdURLWithParameters({{"url", "https://ads.test/ads"}});
         }},
        {"ready ad", [](ZADSlot& s) { s.loadAdHeaders(readyAd("<p>late</p>"), {}); }},
    };
    loadAd();
    for (const auto& [name, answer] : answers) {
        answer(*slot);
        environment.runUntilIdle();
        EXPECT_EQ(slot->state(), ZADSlot::ValidAd) << name;
    }
    startLoad();
    slot->setRequestID("2");
    slot->loadAdURLWithParameters({{"request_id", "1"}, {"url", "https://ads.test/ads"}});
    EXPECT_EQ(slot->state(), ZADSlot::RequestingAdURL);
    slot->loadAdURLWithParameters({{"request_id", "2"}, {"url", "https://ads.test/ads"}});
    EXPECT_EQ(slot->state(), ZADSlot::Fetching);
    EXPECT_THAT(owner->heard, ElementsAre("ad view", "finished"));
}

TEST_F(SlotTest, ARefusalOfTheOwnerIsReportedWithoutAStateChange) {
    owner->shouldLoad = false;
    slot->loadRequest(ZADRequest::request());
    EXPECT_EQ(slot->state(), ZADSlot::Idle);
    EXPECT_THAT(owner->heard, ElementsAre("failed com.zivido.ads 0"));
    EXPECT_FALSE(slot->adLoadActionTimeRecorder());

    owner->refusal = makeError("owner", 9, "not now");
    slot->invalidateState();
    slot->loadRequest(ZADRequest::request());
    EXPECT_THAT(owner->heard, ElementsAre("failed com.zivido.ads 0", "failed owner 9"));
    EXPECT_EQ(slot->state(), ZADSlot::Invalidated);
}

TEST_F(SlotTest, ABackgroundApplicationLoadsOnlyWithBackgroundLoadingOn) {
    // Once launched (the launch itself may load in the background).
    ZADApplication::sharedInstance()->appDidFinishLaunching();
    UIApplication::sharedApplication()->enterBackground();
    slot->loadRequest(ZADRequest::request());
    EXPECT_EQ(slot->state(), ZADSlot::Idle);
    EXPECT_THAT(owner->heard, IsEmpty());

    // The server's reload switch is not the application's own.
    NSUserDefaults::standardUserDefaults()->setBoolForKey(true, "/zivido/ads/bg_reload_enabled");
    slot->loadRequest(ZADRequest::request());
    EXPECT_EQ(slot->state(), ZADSlot::Idle);
    ZADMobileAds::enableBackgroundAdLoading();
    slot->loadRequest(ZADRequest::request());
    EXPECT_EQ(slot->state(), ZADSlot::RequestingAdURL);
}

TEST_F(SlotTest, ASystemBelowTheMinimumLoadsNothing) {
    const std::pair<const char*, bool> cases[] = {
        {"5.1.1", false}, {"6.0", true}, {"10.3.3", true}};
    for (const auto& [version, loads] : cases) {
        // As a launch on that system: the device's facts are taken anew.
        UIDevice::currentDevice()->setSystemVersion(version);
        ZADDevice::resetForTesting();
        auto fresh = ZADSlot::init();
        fresh->loadRequest(ZADRequest::request());
        EXPECT_EQ(fresh->state(), loads ? ZADSlot::RequestingAdURL : ZADSlot::Idle) << version;
    }
    EXPECT_THAT(owner->heard, IsEmpty());
}

TEST_F(SlotTest, TheResponseDelegateMayTakeTheAdOrFailTheLoad) {
    slot->setAdResponseDelegate(owner);
    owner->processResponse = false;
    startLoad();
    fetch(readyAd("<p>ad</p>"));
    EXPECT_EQ(slot->state(), ZADSlot::ValidAd);
    EXPECT_THAT(adPage->calls, IsEmpty());

    owner->responseError = makeError("owner", 4, "refused");
    startLoad();
    fetch(readyAd("<p>ad</p>"));
    EXPECT_EQ(slot->state(), ZADSlot::Failed);
    EXPECT_EQ(owner->heard.back(), "failed owner 4");
}

TEST_F(SlotTest, ReloadIntervalsBelowOneSecondTurnReloadingOff) {
    const std::pair<double, double> cases[] = {{0.5, 0}, {0.999, 0}, {1.0, 1.0}, {45, 45}, {-3, 0}};
    for (const auto& [given, kept] : cases) {
        slot->setReloadInterval(given);
        EXPECT_DOUBLE_EQ(slot->reloadInterval(), kept) << given;
    }
    slot->setReloadable(true);
    loadAd(0.5);
    EXPECT_FALSE(slot->isReloadTimerScheduled());
}

TEST_F(SlotTest, TheReloadTimerLoadsAgainWhenTheOwnerAgreesElseWaitsAnotherPeriod) {
    slot->setReloadable(true);
    loadAd(30);
    ASSERT_TRUE(slot->isReloadTimerScheduled());

    // Without the owner's yes the timer only comes round again.
    environment.fastForwardBy(30);
    EXPECT_EQ(slot->state(), ZADSlot::ValidAd);
    EXPECT_TRUE(slot->isReloadTimerScheduled());

    owner->shouldReload = true;
    environment.fastForwardBy(29.9);
    EXPECT_EQ(slot->state(), ZADSlot::ValidAd);
    environment.fastForwardBy(0.1);
    EXPECT_EQ(slot->state(), ZADSlot::RequestingAdURL);
    EXPECT_TRUE(slot->hasAutoRefreshed());
    EXPECT_EQ(adLines().back(), "ad: load unit-1 banner 320x50 (reload)");
}

TEST_F(SlotTest, AFullScreenPresentationAnywherePausesTheTimerAndItsEndResumesIt) {
    slot->setReloadable(true);
    owner->shouldReload = true;
    loadAd(30);
    environment.fastForwardBy(10);

    auto presenter = std::make_shared<NSObject>();
    NSNotificationCenter::defaultCenter()->postNotificationNameObject(
        kAdModalViewControllerWillPresentFullScreen, presenter);
    EXPECT_FALSE(slot->isReloadTimerScheduled());
    environment.fastForwardBy(120);
    EXPECT_EQ(slot->state(), ZADSlot::ValidAd);

    NSNotificationCenter::defaultCenter()->postNotificationNameObject(
        kAdModalViewControllerDidDismissFullScreen, presenter);
    EXPECT_TRUE(slot->isReloadTimerScheduled());
    environment.fastForwardBy(29);
    EXPECT_EQ(slot->state(), ZADSlot::ValidAd);
    environment.fastForwardBy(1);
    EXPECT_EQ(slot->state(), ZADSlot::RequestingAdURL);
}

TEST_F(SlotTest, AfterAFailedFetchTheTimerWaitsForTheApplicationToBecomeActiveAgain) {
    slot->setReloadable(true);
    owner->shouldReload = true;
    startLoad();
    auto ad = readyAd(" ", 30); // white space: no fill, after the timer was restarted
    fetch(ad);
    EXPECT_EQ(slot->state(), ZADSlot::Failed);
    EXPECT_TRUE(slot->isReloadTimerScheduled());

    UIApplication::sharedApplication()->enterBackground();
    EXPECT_FALSE(slot->isReloadTimerScheduled());
    UIApplication::sharedApplication()->enterForeground();
    EXPECT_TRUE(slot->isReloadTimerScheduled());
    environment.fastForwardBy(30);
    EXPECT_EQ(slot->state(), ZADSlot::RequestingAdURL);
}

TEST_F(SlotTest, CustomRenderedAdsWaitForAPlacementAndTheOwnerMayRefuseThem) {
    slot->setReloadable(true);
    startLoad();
    auto ad = readyAd("<p>custom</p>");
    const PlistValue::Dictionary customRendering{
        {"x-rozu-custom-rendering-allowed", PlistValue("true")}};
    fetch(ad, customRendering);
    EXPECT_EQ(slot->pendingCustomRenderingAd(), ad);
    EXPECT_FALSE(slot->reloadable());
    EXPECT_THAT(owner->heard, IsEmpty());

    auto placement = std::make_shared<NSObject>();
    slot->setPlacement(placement);
    EXPECT_FALSE(slot->pendingCustomRenderingAd());
    EXPECT_FALSE(slot->ad()); // refused: the ad shown before (none) is back
    EXPECT_THAT(owner->heard, ElementsAre("render custom", "failed com.zivido.ads 12"));
    EXPECT_EQ(slot->state(), ZADSlot::Failed); // so that the next load may start

    owner->rendersCustomAds = true;
    owner->heard.clear();
    startLoad();
    fetch(ad, customRendering);
    EXPECT_EQ(slot->ad(), ad);
    EXPECT_THAT(owner->heard, ElementsAre("render custom"));
}

TEST_F(SlotTest, ANewAdTypeReloadsOnlyASlotThatHasLoadedBefore) {
    slot->setAdTypeAndReloadRequest(
        ZADAdType::bannerAdTypeForSize(ZADAdSizeMakeFromSize(CGSizeMake(300, 250))), true);
    EXPECT_EQ(slot->state(), ZADSlot::Idle);
    EXPECT_TRUE(slot->adView()->isHidden());
    EXPECT_THAT(adLines(), IsEmpty());

    loadAd();
    slot->setAdTypeAndReloadRequest(
        ZADAdType::bannerAdTypeForSize(ZADAdSizeMakeFromSize(CGSizeMake(300, 250))), true);
    EXPECT_EQ(slot->state(), ZADSlot::ValidAd); // the same type: nothing
    slot->setAdTypeAndReloadRequest(
        ZADAdType::bannerAdTypeForSize(ZADAdSizeMakeFromSize(CGSizeMake(728, 90))), true);
    EXPECT_EQ(slot->state(), ZADSlot::RequestingAdURL);
    EXPECT_EQ(adLines().back(), "ad: load unit-1 banner 728x90");
}

TEST_F(SlotTest, AnEndedSlotLoadsAndTellsNothingMore) {
    slot->setReloadable(true);
    owner->shouldReload = true;
    loadAd(30);
    slot->cancelPendingAndFutureActions();
    EXPECT_EQ(slot->state(), ZADSlot::Invalidated);
    EXPECT_FALSE(slot->isReloadTimerScheduled());
    EXPECT_FALSE(slot->slotDelegate());
    environment.fastForwardBy(60);
    slot->loadRequest(ZADRequest::request());
    EXPECT_EQ(slot->state(), ZADSlot::Invalidated);

    auto container = UIView::initWithFrame(CGRectMake(0, 0, 320, 50));
    container->addSubview(slot->adView());
    slot->invalidate();
    EXPECT_FALSE(slot->adView());
    EXPECT_THAT(container->subviews(), IsEmpty());
}

TEST_F(SlotTest, ASlotGoneMidLoadIsNeverCalledBack) {
    // A ready ad: the fetch is under way and nothing else holds the slot.
    auto extras = ZADExtras::init();
    extras->setAdditionalParameters(PlistValue::Dictionary{
        {"_ad",
         PlistValue(PlistValue::Dictionary{{"ad_html", PlistValue("<p>ad</p>")},
                                           {"ad_base_url", PlistValue("https://ads.test/")}})}});
    auto request = ZADRequest::request();
    request->registerAdNetworkExtras(extras);
    slot->loadRequest(request);
    ASSERT_EQ(slot->state(), ZADSlot::Fetching);
    std::weak_ptr<ZADSlot> gone = slot;
    slot.reset();
    environment.runUntilIdle();
    EXPECT_TRUE(gone.expired());
    EXPECT_THAT(owner->heard, IsEmpty());
}

TEST_F(SlotTest, TheFirstLoadOfTheProcessSaysHowToGetTestAdsOnce) {
    CapturedLog log;
    startLoad();
    slot->cancelLoad();
    startLoad();
    environment.runUntilIdle();
    EXPECT_THAT(
        log.lines(),
        ElementsAre("<Zivido> To get test ads on this device, call: request.testDevices = @[ @\"" +
                    ZADDevice::sharedInstance()->deviceIdentifier() + "\" ];"));
}

TEST_F(SlotTest, WithTrackingLimitedTheHintSaysSo) {
    ASIdentifierManager::sharedManager()->setAdvertisingTrackingEnabled(false);
    CapturedLog log;
    startLoad();
    environment.runUntilIdle();
    EXPECT_THAT(log.lines(), ElementsAre("<Zivido> Advertising tracking may be disabled. To get "
                                         "test ads on this device, enable advertising tracking."));
}

TEST_F(SlotTest, ItsDescriptionNamesTheAdUnit) {
    EXPECT_THAT(slot->description(),
                testing::MatchesRegex("<ZADSlot: 0x[0-9a-f]+>\nad unit ID:unit-1"));
}

// The whole road: slot, core controller, scripted core page and back. The page's error
// answer and its refusal of the request reach the owner as request errors of code 0, on the
// main thread, and end the load.
TEST_F(SlotTest, TheCorePagesErrorAndRefusalEndTheLoadAsInvalidRequestErrors) {
    const std::pair<std::string, std::string> answers[] = {
        {"an error answer", "loadAdURL?request_id=ID&errors=no%20fill"},
        {"an invalid request", "invalidRequest?request_id=ID&errors=unknown%20unit"},
    };
    for (const auto& [name, message] : answers) {
        SCOPED_TRACE(name);
        owner->heard.clear();
        startLoad();
        if (slot->requestID().empty()) {
            loadCorePage();
        }
        ASSERT_FALSE(slot->requestID().empty());
        EventLog::clear();
        corePageSends(message);
        EXPECT_EQ(slot->state(), ZADSlot::Failed);
        EXPECT_THAT(owner->heard, ElementsAre("failed com.zivido.ads 0"));
        EXPECT_TRUE(owner->allOnMainThread);
        const auto lines = adLines();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[1], "ad: failed unit-1: error 0 " + ZADRequestError::standardMessageForCode(
                                                                ZADRequestError::InvalidRequest));
    }
}

// A slot asks again while its first ask is still awaited (it was preempted, or a new ad type
// reloaded it): none of the first ask's answers, nor its time-out, ends or takes over the
// second load, which goes on to its ad.
TEST_F(SlotTest, AnOldAsksAnswerOrTimeOutNeverEndsTheNextLoad) {
    const std::pair<std::string, std::function<void(SlotTest&)>> reasks[] = {
        {"preempted",
         [](SlotTest& t) {
             t.owner->preempt = true;
             t.slot->loadRequest(ZADRequest::request());
         }},
        {"a new ad type",
         [](SlotTest& t) {
             const double width = t.slot->adType()->adSize().size.width == 300 ? 728 : 300;
             t.slot->setAdTypeAndReloadRequest(
                 ZADAdType::bannerAdTypeForSize(ZADAdSizeMakeFromSize(CGSizeMake(width, 90))),
                 true);
         }},
    };
    const std::pair<std::string, std::string> oldEvents[] = {
        {"its time-out", ""},
        {"its refusal", "invalidRequest?request_id=OLD"},
        {"its error answer", "loadAdURL?request_id=OLD&errors=late"},
        {"its ad URL", "loadAdURL?request_id=OLD&url=https%3A%2F%2Fads.test%2Fold"},
        {"its ready ad", "loadAd?request_id=OLD&fetched_ad=%7B%22ad_html%22%3A%22old%22%7D"},
    };
    for (const auto& [reaskName, reask] : reasks) {
        for (const auto& [eventName, message] : oldEvents) {
            SCOPED_TRACE(reaskName + ", then " + eventName);
            owner->heard.clear();
            owner->preempt.reset();
            startLoad();
            if (slot->requestID().empty()) {
                loadCorePage();
            }
            const std::string old = slot->requestID();
            ASSERT_FALSE(old.empty());
            environment.fastForwardBy(5);
            reask(*this);
            EXPECT_TRUE(slot->requestID().empty()) << "a new ask clears the id";
            environment.runUntilIdle();
            ASSERT_EQ(slot->state(), ZADSlot::RequestingAdURL);
            ASSERT_NE(slot->requestID(), old);

            if (message.empty()) {
                environment.fastForwardBy(ZADSDKCoreController::kAdURLRequestTimeout - 5 + 0.1);
            } else {
                auto text = message;
                text.replace(text.find("OLD"), 3, old);
                corePageSends(text);
            }
            EXPECT_EQ(slot->state(), ZADSlot::RequestingAdURL);
            EXPECT_THAT(owner->heard, IsEmpty());

            corePageSends("loadAd?request_id=ID&fetched_ad=%7B%22ad_html%22%3A%22%3Cp%3Enew%3C%2Fp"
                          "%3E%22%2C%22ad_base_url%22%3A%22https%3A%2F%2Fads.test%2F%22%7D");
            adPage->finishLoad();
            environment.runUntilIdle();
            EXPECT_EQ(slot->state(), ZADSlot::ValidAd);
            EXPECT_THAT(owner->heard, ElementsAre("ad view", "finished"));
        }
    }
}

// The core page stays silent: the controller's clock ends the load with the time-out error
// (code 5), a late answer changes nothing, and the slot's next load goes through.
TEST_F(SlotTest, ASlotTheControllerTimesOutLoadsAgainAfterwards) {
    startLoad();
    loadCorePage();
    ASSERT_EQ(slot->requestID(), "1");
    environment.fastForwardBy(ZADSDKCoreController::kAdURLRequestTimeout - 0.1);
    EXPECT_EQ(slot->state(), ZADSlot::RequestingAdURL);
    environment.fastForwardBy(0.1);
    EXPECT_EQ(slot->state(), ZADSlot::Failed);
    EXPECT_THAT(owner->heard, ElementsAre("failed com.zivido.ads 5"));
    corePageSends("loadAdURL?request_id=1&url=https%3A%2F%2Fads.test%2Flate");
    EXPECT_EQ(slot->state(), ZADSlot::Failed);

    startLoad();
    EXPECT_EQ(slot->requestID(), "2");
    corePageSends("loadAd?request_id=ID&fetched_ad=%7B%22ad_html%22%3A%22%3Cp%3Ead%3C%2Fp%3E%22%"
                  "2C%22ad_base_url%22%3A%22https%3A%2F%2Fads.test%2F%22%7D");
    adPage->finishLoad();
    environment.runUntilIdle();
    EXPECT_EQ(slot->state(), ZADSlot::ValidAd);
    EXPECT_THAT(owner->heard, ElementsAre("failed com.zivido.ads 5", "ad view", "finished"));
    EXPECT_TRUE(owner->allOnMainThread);
    EXPECT_THAT(adLines(),
                ElementsAre("ad: load unit-1 banner 320x50", "ad: core page loaded",
                            "ad: request 1 timed out",
                            "ad: failed unit-1: error 5 " +
                                ZADRequestError::standardMessageForCode(ZADRequestError::Timeout),
                            "ad: load unit-1 banner 320x50",
                            "ad: request 2 answered with a ready ad",
                            "ad: received unit-1 banner 320x50"));
}

// A slot invalidated while its load is under way ends it quietly: nothing is rendered into
// the ad view it let go, and nothing is reported.
TEST_F(SlotTest, ASlotInvalidatedMidLoadEndsItQuietly) {
    const std::pair<std::string, std::function<void(SlotTest&)>> cases[] = {
        {"during the fetch",
         [](SlotTest& t) {
             t.slot->loadAdHeaders(readyAd("<p>ad</p>"), {});
             t.slot->invalidate();
         }},
        {"by the response delegate, deciding on the response",
         [](SlotTest& t) {
             t.slot->setAdResponseDelegate(t.owner);
             t.owner->whileDecidingOnResponse = [](ZADSlot& slot) { slot.invalidate(); };
             t.slot->loadAdHeaders(readyAd("<p>ad</p>"), {});
         }},
        {"then reloaded for a new ad type",
         [](SlotTest& t) {
             t.slot->invalidate();
             t.slot->setAdTypeAndReloadRequest(ZADAdType::interstitialAdType(), true);
         }},
    };
    for (const auto& [name, play] : cases) {
        SCOPED_TRACE(name);
        ASSERT_NO_FATAL_FAILURE(freshSlot());
        const auto letGo = slot->adView(); // keeps the scripted page readable
        startLoad();
        play(*this);
        environment.runUntilIdle();
        EXPECT_EQ(slot->state(), ZADSlot::Invalidated);
        EXPECT_FALSE(slot->adView());
        EXPECT_THAT(adPage->calls, IsEmpty());
        EXPECT_THAT(owner->heard, IsEmpty());
        owner->whileDecidingOnResponse = nullptr;
    }
}

// Only a failure of the page the current load renders ends that load. A cancelled page load
// (replaced or stopped) counts only when the server's "use_cancelled_url_error" says so; a
// page failing after its load ended, or while the next load asks for its ad URL, is not the
// load's failure.
TEST_F(SlotTest, OnlyTheRenderedPagesOwnFailureEndsTheLoad) {
    const auto cancelled = NSURLErrorWithCode(NSURLErrorCancelled, "https://ads.test/ad");
    const auto unreachable =
        NSURLErrorWithCode(NSURLErrorCannotConnectToHost, "https://ads.test/ad");
    const auto rendering = [](SlotTest& t) {
        t.startLoad();
        t.fetch(readyAd("<p>ad</p>"));
    };
    struct Case {
        std::string name;
        std::function<void(SlotTest&)> reach;
        std::shared_ptr<NSError> error;
        std::optional<std::string> setting;
        ZADSlot::State state;
        std::vector<std::string> heard;
    };
    const Case cases[] = {
        {"a cancelled load", rendering, cancelled, std::nullopt, ZADSlot::Rendering, {"ad view"}},
        {"a cancelled load, the server not counting them",
         rendering,
         cancelled,
         "0",
         ZADSlot::Rendering,
         {"ad view"}},
        {"a cancelled load, the server counting them",
         rendering,
         cancelled,
         "1",
         ZADSlot::Failed,
         {"ad view", "failed com.zivido.ads 2"}},
        {"a second failure after the load failed",
         [&](SlotTest& t) {
             rendering(t);
             t.adPage->failLoad(unreachable);
         },
         unreachable,
         std::nullopt,
         ZADSlot::Failed,
         {"ad view", "failed com.zivido.ads 2"}},
        {"a failure after the slot was ended",
         [&](SlotTest& t) {
             rendering(t);
             t.slot->cancelPendingAndFutureActions();
         },
         unreachable,
         std::nullopt,
         ZADSlot::Invalidated,
         {"ad view"}},
        {"the shown ad's page while the next load asks for its ad URL",
         [](SlotTest& t) {
             t.loadAd();
             t.startLoad();
         },
         unreachable,
         std::nullopt,
         ZADSlot::RequestingAdURL,
         {"ad view", "finished"}},
    };
    auto defaults = NSUserDefaults::standardUserDefaults();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.setting) {
            defaults->setObjectForKey(*c.setting, "/zivido/ads/use_cancelled_url_error");
        } else {
            defaults->removeObjectForKey("/zivido/ads/use_cancelled_url_error");
        }
        owner->heard.clear();
        ASSERT_NO_FATAL_FAILURE(freshSlot());
        c.reach(*this);
        adPage->failLoad(c.error);
        environment.runUntilIdle();
        EXPECT_EQ(slot->state(), c.state);
        EXPECT_EQ(owner->heard, c.heard);
    }
}

TEST_F(SlotTest, AFailureWithoutAnErrorIsReportedAsTheInternalError) {
    const std::pair<std::string, std::function<void(ZADSlot&)>> roads[] = {
        {"straight to the owner", [](ZADSlot& s) { s.adFailedToReceiveContentWithError(nullptr); }},
        {"the failure road",
         [](ZADSlot& s) {
             s.didFailToReceiveAdWithErrorShouldCancelPendingActions(nullptr, false);
         }},
        {"the core controller", [](ZADSlot& s) { s.adURLRequestDidFailWithError(nullptr); }},
    };
    for (const auto& [name, road] : roads) {
        SCOPED_TRACE(name);
        owner->heard.clear();
        startLoad();
        road(*slot);
        EXPECT_THAT(owner->heard, ElementsAre("failed com.zivido.ads 11"));
        EXPECT_EQ(adLines().back(),
                  "ad: failed unit-1: error 11 " +
                      ZADRequestError::standardMessageForCode(ZADRequestError::InternalError));
    }
}

// Reading a request's one-time extras takes them out of the request read: the slot's own
// copy, never the application's object.
TEST_F(SlotTest, TheSlotLoadsItsOwnCopyOfTheApplicationsRequest) {
    auto extras = ZADExtras::init();
    extras->setAdditionalParameters(PlistValue::Dictionary{
        {"_useOnce", PlistValue("1")}, {"_requestUrl", PlistValue("https://ads.test/ads?unit=1")}});
    auto request = ZADRequest::request();
    request->registerAdNetworkExtras(extras);
    slot->loadRequest(request);
    EXPECT_EQ(slot->state(), ZADSlot::Fetching) << "the ad URL of the extras";
    EXPECT_EQ(request->adNetworkExtrasFor("ZADExtras"), extras);
    EXPECT_NE(slot->loadingRequest(), request);
    environment.runUntilIdle();
    // Fetched for real: the made-up host is not reached from a test, and the load ends.
    ASSERT_EQ(slot->state(), ZADSlot::Failed);

    // A reload uses the slot's copy, whose one-time extras are spent: it asks the core page.
    slot->loadNextRequestWithAutoRefresh(true);
    EXPECT_EQ(slot->state(), ZADSlot::RequestingAdURL);
}

// Whichever way a load ends, it ends with one "ad:" line after its start's.
TEST_F(SlotTest, EveryLoadEndIsOneAdLine) {
    const std::pair<std::function<void(SlotTest&)>, std::string> cases[] = {
        {[](SlotTest& t) {
             t.fetch(readyAd("<p>ad</p>"));
             t.adPage->finishLoad();
         },
         "ad: received unit-1 banner 320x50"},
        {[](SlotTest& t) {
             t.slot->setAdResponseDelegate(t.owner);
             t.owner->processResponse = false;
             t.fetch(readyAd("<p>ad</p>"));
         },
         "ad: received unit-1 banner 320x50 (taken by the response delegate)"},
        {[](SlotTest& t) {
             t.owner->rendersCustomAds = true;
             t.fetch(readyAd("<p>custom</p>"),
                     {{"x-rozu-custom-rendering-allowed", PlistValue("true")}});
             t.slot->setPlacement(std::make_shared<NSObject>());
         },
         "ad: received unit-1 banner 320x50 (custom rendering)"},
        {[](SlotTest& t) { t.fetch(readyAd(" ")); },
         "ad: failed unit-1: error 1 " +
             ZADRequestError::standardMessageForCode(ZADRequestError::NoFill)},
    };
    for (const auto& [play, end] : cases) {
        SCOPED_TRACE(end);
        ASSERT_NO_FATAL_FAILURE(freshSlot());
        EventLog::clear();
        startLoad();
        play(*this);
        environment.runUntilIdle();
        EXPECT_THAT(adLines(), ElementsAre("ad: load unit-1 banner 320x50", end));
    }
}

} // namespace
