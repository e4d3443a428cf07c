#include "ads/core/ZADSlot.h"

#include "ads/core/ZADAd.h"
#include "ads/core/ZADAdFetcher.h"
#include "ads/core/ZADAutoClickProtection.h"
#include "ads/core/ZADBannerAd.h"
#include "ads/core/ZADInterstitialAd.h"
#include "ads/core/ZADRequest.h"
#include "ads/core/ZADRequestError.h"
#include "ads/core/ZADSDKCoreController.h"
#include "ads/core/ZADSlotAdKeyDelegate.h"
#include "ads/core/ZADSlotAdLoadDelegate.h"
#include "ads/core/ZADSlotAdResponseDelegate.h"
#include "ads/core/ZADSlotDelegate.h"
#include "ads/core/ZADTokenDispenser.h"
#include "ads/render/ZADAdView.h"
#include "ads/render/ZADBannerAdViewDelegate.h"
#include "ads/render/ZADCSITimeRecorder.h"
#include "ads/render/ZADMRAIDInterceptor.h"
#include "ads/signals/NSTimer+ZADWeakTargetAdditions.h"
#include "ads/signals/ZADAbsoluteTime.h"
#include "ads/signals/ZADApplication.h"
#include "ads/signals/ZADDevice.h"
#include "ads/signals/ZADLogger.h"
#include "ads/signals/ZADRunOnMainThread.h"
#include "ads/signals/ZADSlotStatistics.h"
#include "ads/signals/ZADStatisticDictionary.h"
#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSError.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSTimer.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/graphics/NSValue.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/WeakAction.h"

#include <cmath>
#include <cstdio>
#include <utility>

namespace {
constexpr const char* kLoadAction = "load_ad_ios";
constexpr const char* kZADSimulatorID = "Simulator";

// Whether this process has said how to get test ads (its first load does).
bool& testDeviceHintGiven() {
    static bool given = false;
    return given;
}
constexpr const char* kCustomRenderingRefused =
    "Custom rendered ad could not be rendered by delegate.";
constexpr const char* kMediationUnavailable = "Current class not set up for processing mediation.";
} // namespace

std::shared_ptr<ZADSlot> ZADSlot::initWithFrame(const CGRect& frame) {
    // The engine's first slot starts its early activities (once per process).
    ZADRunOnMainThread([] { ZADApplication::sharedInstance()->runEarlyActivities(); });
    auto slot = make<ZADSlot>();
    slot->setUp(frame);
    return slot;
}

void ZADSlot::setUp(const CGRect& frame) {
    slotStats_ = ZADSlotStatistics::init();
    adView_ = ZADAdView::initWithFrame(frame);
    adViewDelegate_ = ZADBannerAdViewDelegate::initWithSlot(self<ZADSlot>());
    adView_->setDelegate(adViewDelegate_);

    auto center = NSNotificationCenter::defaultCenter();
    const auto observe = [&](const char* name, void (ZADSlot::*method)()) {
        center->addObserverSelectorNameObject(self<ZADSlot>(), weakAction(self<ZADSlot>(), method),
                                              name, nullptr);
    };
    observe(UIApplicationWillResignActiveNotification, &ZADSlot::appWillBecomeInactive);
    observe(UIApplicationDidBecomeActiveNotification, &ZADSlot::appDidBecomeActive);
    // From every sender: any full-screen presentation in the process pauses every slot.
    observe(kAdModalViewControllerWillPresentFullScreen, &ZADSlot::adWillPresentFullScreen);
    observe(kAdModalViewControllerDidDismissFullScreen, &ZADSlot::adDidRelinquishFullScreen);
}

ZADSlot::~ZADSlot() {
    returnPendingAdStatistics();
    cancelFetch();
    deactivateReloadTimer();
    // The notification centre forgets an observer once it has gone; the ad view is let go
    // as invalidate does.
    if (adView_) {
        adView_->setDelegate({});
        ZADRunOnMainThread([adView = adView_] { adView->removeFromSuperview(); });
    }
}

// The load road.

void ZADSlot::loadRequest(const std::shared_ptr<ZADRequest>& request) {
    // The slot's own copy: reading the extras may take "_useOnce" ones out of it, which must
    // not change the application's request.
    nextRequest_ = request ? request->copy() : nullptr;
    loadNextRequestWithAutoRefresh(false);
}

void ZADSlot::loadNextRequestWithAutoRefresh(bool autoRefresh) {
    if (auto keyDelegate = adKeyDelegate()) {
        keyDelegate->cacheViewHierarchyInformationForSlot(*this);
    }
    ZADDevice::sharedInstance()->updateDynamicParameters();
    slotHasAttemptedAnAdRequestAtLeastOnce_ = true;
    if (!shouldMakeRequest(nextRequest_)) {
        return;
    }
    cancelLoad();
    auto recorder = ZADCSITimeRecorder::initWithAction(kLoadAction);
    recorder->startTimingVariableWithName("arf_ios");
    recorder->startTimingVariableWithName("ttc_ios");
    {
        std::lock_guard hold(controllerLock_);
        adLoadActionTimeRecorder_ = std::move(recorder);
    }
    willRequestAdURL();
    if (!nextRequest_) {
        nextRequest_ = ZADRequest::request();
    }
    loadingRequest_ = nextRequest_;
    if (auto delegate = slotDelegate()) {
        delegate->slotWillLoadAdWithRequest(*this, loadingRequest_);
    }
    hasAutoRefreshed_ = autoRefresh;
    logTestDeviceHintOnce();
    EventLog::record("ad", "load " + adUnitID_ + " " + adTypeLogName() +
                               (autoRefresh ? " (reload)" : ""));
    requestAdFromExtrasOrCore();
}

bool ZADSlot::shouldMakeRequest(const std::shared_ptr<ZADRequest>& request) {
    auto delegate = slotDelegate();
    if (isMakingRequest() &&
        !(delegate && delegate->slotShouldPreemptInProgressRequest(*this).value_or(false))) {
        return false;
    }
    if (delegate) {
        std::shared_ptr<NSError> error;
        const auto answer = delegate->slotShouldLoadRequestError(*this, request, error);
        if (answer && !*answer) {
            adFailedToReceiveContentWithError(error
                                                  ? error
                                                  : ZADRequestError::errorWithCodeRequest(
                                                        ZADRequestError::InvalidRequest, request));
            return false;
        }
    }
    if (state_ == Invalidated) {
        return false;
    }
    auto application = ZADApplication::sharedInstance();
    if (!application->backgroundLoadingEnabled() && !application->active()) {
        return false;
    }
    return ZADDevice::sharedInstance()->OSIsSupported();
}

bool ZADSlot::isMakingRequest() const {
    return state_ >= RequestingAdURL && state_ <= Rendering;
}

void ZADSlot::requestAdFromExtrasOrCore() {
    const auto extras =
        loadingRequest_->networkExtrasAdditionalParameters().value_or(PlistValue::Dictionary{});
    const auto value = [&](const char* key) -> const PlistValue& {
        static const PlistValue none;
        const auto found = extras.find(key);
        return found == extras.end() ? none : found->second;
    };
    const auto orientation = value("_orientation").string();
    const uint64_t mask = !orientation ? 0 : *orientation == "p" ? 6 : *orientation == "l" ? 24 : 0;
    const auto withOrientation = [mask](std::shared_ptr<ZADAd> ad) {
        if (mask != 0) {
            ad->setSupportedOrientations(mask);
        }
        return ad;
    };
    if (const auto ready = value("_ad").dictionary()) {
        std::shared_ptr<ZADAd> ad;
        if (adType_->isInterstitial()) {
            ad = ZADInterstitialAd::initWithDictionary(*ready);
        } else {
            ad = ZADBannerAd::initWithDictionary(*ready);
        }
        const auto headers = value("_adHeaders").dictionary();
        loadAdHeaders(withOrientation(ad), headers ? *headers : PlistValue::Dictionary{});
        return;
    }
    const auto requestURL = value("_requestUrl").string();
    if (auto url = requestURL ? NSURL::URLWithString(*requestURL) : nullptr) {
        ZADMRAIDInterceptor::allow();
        auto ad = ZADAd::init();
        ad->setAdURL(std::move(url));
        loadAdHeaders(withOrientation(ad), {});
        return;
    }
    ZADSDKCoreController::sharedInstance()->buildAdURL(self<ZADSlot>());
}

void ZADSlot::logTestDeviceHintOnce() const {
    if (std::exchange(testDeviceHintGiven(), true) || loadingRequest_->isATestDevice()) {
        return;
    }
    auto device = ZADDevice::sharedInstance();
    const std::string identifier =
        device->isSimulator() ? std::string(kZADSimulatorID) : device->deviceIdentifier();
    ZADLogger::sharedInstance()->logPublicMessage(
        identifier.empty()
            ? "Advertising tracking may be disabled. To get test ads on this device, enable "
              "advertising tracking."
            : "To get test ads on this device, call: request.testDevices = @[ " +
                  (device->isSimulator() ? std::string("kZADSimulatorID")
                                         : "@\"" + identifier + "\"") +
                  " ];");
}

void ZADSlot::resetForTesting() {
    testDeviceHintGiven() = false;
}

std::shared_ptr<ZADCSITimeRecorder> ZADSlot::adLoadActionTimeRecorder() {
    std::lock_guard hold(controllerLock_);
    return adLoadActionTimeRecorder_;
}

std::string ZADSlot::requestID() const {
    std::lock_guard hold(controllerLock_);
    return requestID_;
}

void ZADSlot::setRequestID(const std::string& requestID) {
    std::lock_guard hold(controllerLock_);
    requestID_ = requestID;
}

long ZADSlot::requestedAdType() {
    return adType_->isInterstitial() ? kInterstitialAd : kBannerAd;
}

void ZADSlot::setAdUnitID(std::string adUnitID) {
    adUnitID_ = std::move(adUnitID);
    slotStats_->setIdentifier(adUnitID_);
}

std::optional<PlistValue::Dictionary> ZADSlot::requestParameters() {
    PlistValue::Dictionary parameters;
    if (loadingRequest_) {
        parameters = loadingRequest_->parameters();
    }
    PlistValue::Dictionary signals;
    if (!applicationStatistics_.empty()) {
        signals["app"] = applicationStatistics_;
    }
    if (auto statistics = slotStats_->statistics(); !statistics.empty()) {
        signals["slots"] = std::move(statistics);
    }
    if (loadingRequest_ && loadingRequest_->privateMediationExtras() &&
        !loadingRequest_->privateMediationExtras()->empty()) {
        signals["request"] = *loadingRequest_->privateMediationExtras();
    }
    // Statistics an earlier ask of this slot took and did not send go back first, so that
    // none is lost when a load is asked for again.
    returnPendingAdStatistics();
    pendingAdStatistics_ = ZADApplication::sharedInstance()->pendingAdStatistics();
    if (!pendingAdStatistics_.empty()) {
        PlistValue::Array ads;
        for (const auto& statistics : pendingAdStatistics_) {
            ads.emplace_back(statistics->dictionary());
        }
        signals["ads"] = std::move(ads);
    }
    if (!signals.empty()) {
        parameters["quality_signals"] = std::move(signals);
    }
    if (!adUnitID_.empty()) {
        parameters["slotname"] = PlistValue(adUnitID_);
    }
    addSizeParameters(parameters);
    const ZADAdSize size = adType_->adSize();
    if (ZADAdSizeIsFullWidth(size)) {
        parameters["smart_w"] = PlistValue("full");
        if (ZADAdSizeIsSmartBanner(size)) {
            parameters["smart_h"] = PlistValue("auto");
        }
    }
    if (auto id = requestID(); !id.empty()) {
        parameters["request_id"] = PlistValue(std::move(id));
    }
    if (auto delegate = slotDelegate()) {
        if (auto position = delegate->coordinatesOfContentInScreen(*UIScreen::mainScreen())) {
            parameters["ad_pos"] = std::move(*position);
        }
    }
    if (manualImpressionsEnabled_) {
        parameters["d_imp_hdr"] = PlistValue("1");
    }
    auto defaults = NSUserDefaults::standardUserDefaults();
    const PlistValue useHTTPS = defaults->objectForKey("/zivido/ads/use_https");
    if (useHTTPS.isNull() || useHTTPS.boolValue()) {
        parameters["force_https"] = PlistValue("1");
    }
    // Without content hashing there is no fresh fingerprint: the one saved last is sent.
    if (const PlistValue fingerprint =
            defaults->objectForKey("/zivido/ads/content_url_fingerprint");
        fingerprint.string()) {
        parameters["content_info"] =
            PlistValue::Dictionary{{"fingerprint", fingerprint}, {"v", PlistValue(1)}};
    }
    if (auto token = ZADTokenDispenser::token()) {
        parameters["pan"] = PlistValue::Dictionary{{"token", PlistValue(*token)}};
        parameters["force_https"] = PlistValue("1");
    }
    if (auto keyDelegate = adKeyDelegate()) {
        if (auto hierarchy = keyDelegate->viewHierarchyInformationForSlot(*this)) {
            parameters["view_hierarchy"] = std::move(*hierarchy);
        }
    }
    if (const PlistValue experiments = defaults->objectForKey("/zivido/ads/experiment_id_string");
        experiments.string()) {
        parameters["eid"] = experiments;
    }
    if (PlistValue(defaults->stringForKey("/zivido/ads/prefetch_enabled")).boolValue()) {
        parameters["_forcePrefetch"] = PlistValue("1");
    }
    return parameters;
}

void ZADSlot::addSizeParameters(PlistValue::Dictionary& parameters) {
    if (adType_->isInterstitial()) {
        parameters["format"] = PlistValue("interstitial_mb");
        return;
    }
    const ZADAdSize size = adType_->adSize();
    auto delegate = slotDelegate();
    if (ZADAdSizeIsFluid(size)) {
        parameters["format"] = PlistValue("320x50_mb");
        parameters["fluid"] = PlistValue("height");
    } else if (auto sizes = delegate ? delegate->validAdSizes() : std::nullopt) {
        // Only an owner that lists its sizes names them; the server takes the others'
        // size from the frame.
        if (auto text = multipleAdSizeParameterFromSizes(*sizes); !text.empty()) {
            parameters["sz"] = PlistValue(std::move(text));
        }
    }
    const auto rectangle = [](const CGRect& rect) {
        const CGRect standard = CGRectStandardize(rect);
        return PlistValue(PlistValue::Dictionary{{"x", PlistValue(standard.origin.x)},
                                                 {"y", PlistValue(standard.origin.y)},
                                                 {"w", PlistValue(standard.size.width)},
                                                 {"h", PlistValue(standard.size.height)}});
    };
    auto frame = delegate ? delegate->frame() : std::nullopt;
    auto bounds = delegate ? delegate->bounds() : std::nullopt;
    parameters["ad_frame"] = rectangle(frame.value_or(adView_->frame()));
    parameters["ad_bounds"] = rectangle(bounds.value_or(adView_->bounds()));
}

std::string
ZADSlot::multipleAdSizeParameterFromSizes(const std::vector<std::shared_ptr<NSValue>>& sizes) {
    std::string joined;
    for (const auto& value : sizes) {
        const ZADAdSize size = ZADAdSizeFromValue(value);
        if (ZADAdSizeIsEqual(size, kZADAdSizeInvalid)) {
            continue;
        }
        const CGSize resolved = ZADAdSizeGetCGSize(size);
        if (!joined.empty()) {
            joined += '|';
        }
        joined += std::to_string(static_cast<unsigned long>(resolved.width)) + "x" +
                  std::to_string(static_cast<unsigned long>(resolved.height));
    }
    return joined;
}

void ZADSlot::returnPendingAdStatistics() {
    if (!pendingAdStatistics_.empty()) {
        ZADApplication::sharedInstance()->didNotSendAdStatistics(pendingAdStatistics_);
        pendingAdStatistics_.clear();
    }
}

bool ZADSlot::isWaitingForAdURL() const {
    return state_ == RequestingAdURL;
}

void ZADSlot::loadAdURLWithParameters(const MessageParameters& parameters) {
    const auto id = parameters.find("request_id");
    if (!isWaitingForAdURL() || (id != parameters.end() && id->second != requestID())) {
        return; // the answer to a request this slot has moved on from
    }
    didReceiveAdURL();
    if (parameters.contains("errors")) {
        didFailToReceiveAdWithErrorShouldCancelPendingActions(
            ZADRequestError::errorWithCodeRequest(ZADRequestError::InvalidRequest, loadingRequest_),
            false);
        return;
    }
    const auto answer = [&parameters](const char* key) -> std::optional<std::string> {
        auto found = parameters.find(key);
        return found == parameters.end() ? std::nullopt : std::optional(found->second);
    };
    // How the server answered: from its offline buffer, its online one, or not at all.
    auto statistics = ZADApplication::sharedInstance()->statistics();
    const std::string scenario = answer("request_scenario").value_or("");
    if (scenario == "offline_buffer") {
        statistics->incrementNumberForKeyShouldNotifyDelegate("bas_off", false);
    } else if (scenario == "online_buffer") {
        statistics->incrementNumberForKeyShouldNotifyDelegate("bas_on", false);
    }
    if (scenario == "offline_empty" || scenario == "offline_buffer") {
        statistics->incrementNumberForKeyShouldNotifyDelegate("oar", false);
        statistics->setObjectForKeyedSubscript(statistics->objectForKeyedSubscript("seq_num"),
                                               "losn");
    }
    auto ad = ZADAd::init();
    if (auto url = answer("url")) {
        ad->setAdURL(NSURL::URLWithString(*url));
    }
    // Numbers the page sends as text, read as text reads (what is no number reads 0).
    const auto number = [&answer](const char* key) -> std::optional<double> {
        auto text = answer(key);
        return text ? std::optional(PlistValue(*text).doubleValue()) : std::nullopt;
    };
    ad->setAutoClickProtection(ZADAutoClickProtection::initWithAutoClickProtectionEnabled(
        PlistValue(answer("enable_auto_click_protection").value_or("")).boolValue()));
    if (auto width = number("interstitial_size_width"), height = number("interstitial_size_height");
        width && height) {
        ad->setSize(CGSizeMake(*width, *height));
    }
    if (auto threshold = number("cropped_content_threshold")) {
        ad->setCroppedContentThreshold(*threshold);
    }
    loadAdHeaders(ad, {});
}

void ZADSlot::loadAdHeaders(const std::shared_ptr<ZADAd>& ad,
                            const PlistValue::Dictionary& headers) {
    if (!isWaitingForAdURL() && state_ != ReceivedAdURL) {
        return;
    }
    resetRequestState();
    loadingAd_ = ad;
    willFetchAdContent();
    if (ad && !adType_->isInterstitial() && std::dynamic_pointer_cast<ZADBannerAd>(ad)) {
        newAdSize_ = ad->size();
        setReloadInterval(ad->reloadInterval());
    }
    adFetcher_ = ZADAdFetcher::init();
    adFetcher_->setRequest(loadingRequest_);
    std::shared_ptr<NSError> error;
    adFetcher_->fetchRemainingContentForAdHeadersDelegateError(
        ad, headers.empty() ? std::nullopt : std::optional(headers), self<ZADSlot>(), &error);
}

void ZADSlot::invalidJavaScriptRequest() {
    if (!isWaitingForAdURL()) {
        return;
    }
    didFailToReceiveAdWithErrorShouldCancelPendingActions(
        ZADRequestError::errorWithCodeRequest(ZADRequestError::InvalidRequest, loadingRequest_),
        false);
}

void ZADSlot::failedJavaScriptFile() {
    if (!isWaitingForAdURL()) {
        return;
    }
    didFailToRetrieveSDKCoreWithError(
        ZADRequestError::errorWithCode(ZADRequestError::NetworkError));
}

void ZADSlot::adURLRequestDidFailWithError(const std::shared_ptr<NSError>& error) {
    if (!isWaitingForAdURL()) {
        return;
    }
    didFailToReceiveAdWithErrorShouldCancelPendingActions(error, false);
}

void ZADSlot::adFetcherDidFetchAd(ZADAdFetcher& fetcher, const std::shared_ptr<ZADAd>& ad) {
    if (&fetcher != adFetcher_.get()) {
        return; // a fetch this slot has moved on from
    }
    didFetchAdContent();
    processAdResponse(ad);
}

void ZADSlot::adFetcherDidFailToFetchAdWithErrorResponseCode(ZADAdFetcher& fetcher,
                                                             const std::shared_ptr<ZADAd>& ad,
                                                             const std::shared_ptr<NSError>& error,
                                                             long responseCode) {
    if (&fetcher != adFetcher_.get()) {
        return;
    }
    // The failed response's own refresh rate holds, unset (0) included; an invalid
    // response keeps the slot's.
    if (ad && !(error && error->code() == ZADRequestError::ReceivedInvalidResponse)) {
        reloadInterval_ = ad->reloadInterval();
    }
    didFailToReceiveAdWithErrorShouldCancelPendingActions(error, false);
}

void ZADSlot::resetRequestState() {
    cancelFetch();
    ad_.reset();
    resetState();
}

void ZADSlot::cancelFetch() {
    if (auto fetcher = std::exchange(adFetcher_, nullptr)) {
        fetcher->cancel();
    }
}

void ZADSlot::processAdResponse(const std::shared_ptr<ZADAd>& ad) {
    const uint64_t type = ad->responseType();
    if (auto recorder = adLoadActionTimeRecorder();
        recorder && (type == ZADAd::HTML || type == ZADAd::CustomRendering)) {
        recorder->endTimingVariableWithName("arf_ios");
        recorder->endTimingVariableWithName("nwl_ios");
        recorder->startTimingVariableWithName("awr_ios");
    }
    switch (type) {
    case ZADAd::HTML:
    case ZADAd::Native:
        processStandardAdResponse(ad);
        return;
    case ZADAd::Mediation:
        // No mediation layer takes the answer yet: as for an ad no format can mediate.
        didFailToReceiveAdWithErrorShouldCancelPendingActions(
            ZADRequestError::errorWithCodeCustomMessage(ZADRequestError::MediationDataError,
                                                        kMediationUnavailable),
            false);
        return;
    case ZADAd::CustomRendering:
        processCustomRenderingAdResponse(ad);
        return;
    default:
        didFailToReceiveAdWithErrorShouldCancelPendingActions(
            ZADRequestError::errorWithCode(ZADRequestError::ReceivedInvalidResponse), false);
    }
}

void ZADSlot::processStandardAdResponse(const std::shared_ptr<ZADAd>& ad) {
    if (auto responseDelegate = adResponseDelegate()) {
        std::shared_ptr<NSError> error;
        const bool process = responseDelegate->slotShouldProcessAdResponseError(*this, ad, error);
        if (error) {
            didFailToReceiveAdWithErrorShouldCancelPendingActions(error, false);
            return;
        }
        if (!process) {
            didReceiveValidAd(); // the delegate has taken the ad
            recordReceived(" (taken by the response delegate)");
            return;
        }
    }
    if (!adView_) {
        return; // invalidated by a delegate meanwhile: nothing to render in, nothing to tell
    }
    loadingAd_ = ad;
    setReloadInterval(ad->reloadInterval());
    scheduleAdReloadTimer();
    const std::string html = NSString::stringByTrimmingWhitespaceAndNewlines(ad->adHTML());
    if (html.empty()) {
        didFailToReceiveAdWithErrorShouldCancelPendingActions(
            ZADRequestError::errorWithCodeRequest(ZADRequestError::NoFill, loadingRequest_), false);
        return;
    }
    willLoadAdHTMLInWebView();
    adView_->loadHTMLStringBaseURL(html, ad->adBaseURL());
    setViewForAdUsingView(adView_);
}

void ZADSlot::setViewForAdUsingView(const std::shared_ptr<UIView>& view) {
    if (auto delegate = slotDelegate()) {
        delegate->slotDidReceiveAdView(*this, view);
    }
    newAdSize_ = CGSizeZero;
}

void ZADSlot::processCustomRenderingAdResponse(const std::shared_ptr<ZADAd>& ad) {
    reloadable_ = false;
    deactivateReloadTimer();
    pendingCustomRenderingAd_ = ad;
    if (placement()) {
        renderPendingCustomRenderingAd();
    }
}

void ZADSlot::setPlacement(const std::shared_ptr<NSObject>& placement) {
    placement_ = placement;
    if (placement && pendingCustomRenderingAd_) {
        renderPendingCustomRenderingAd();
    }
}

void ZADSlot::renderPendingCustomRenderingAd() {
    auto shown = ad_;
    finishedLoadingAdResponse(std::exchange(pendingCustomRenderingAd_, nullptr));
    std::shared_ptr<NSError> error;
    auto delegate = slotDelegate();
    const auto rendered =
        delegate ? delegate->slotNotifyPublisherToRenderCustomRenderingAdError(*this, error)
                 : std::nullopt;
    if (rendered.value_or(false)) {
        recordReceived(" (custom rendering)"); // the owner reports the rendered ad
        return;
    }
    ad_ = shown;
    // The load has ended: left in the fetching state the slot would refuse every later load.
    setState(Failed);
    adFailedToReceiveContentWithError(
        error ? error
              : ZADRequestError::errorWithCodeCustomMessage(ZADRequestError::InvalidArgument,
                                                            kCustomRenderingRefused));
}

void ZADSlot::finishedLoadingAdResponse(const std::shared_ptr<ZADAd>& ad) {
    ad_ = ad;
    loadingAd_.reset();
}

void ZADSlot::setAdTypeAndReloadRequest(const std::shared_ptr<ZADAdType>& adType, bool reload) {
    if (!adType || adType->isEqual(*adType_)) {
        return;
    }
    adType_ = adType;
    if (adView_ && newAdSize_ == CGSizeZero && reload) {
        adView_->setHidden(true);
    }
    if (!reload) {
        return;
    }
    if (isMakingRequest()) {
        cancelPendingActions();
    }
    if (slotHasAttemptedAnAdRequestAtLeastOnce_) {
        loadNextRequestWithAutoRefresh(false);
    }
}

// The reload timer.

void ZADSlot::scheduleAdReloadTimer() {
    deactivateReloadTimer();
    if (!reloadable_ || !slotHasAttemptedAnAdRequestAtLeastOnce_ || reloadInterval_ <= 0) {
        return;
    }
    reloadTimer_ = ZADWeakTargetAdditions::zad_scheduledTimerWithTimeIntervalRepeatsToleranceBlock(
        reloadInterval_, false, 0, weakCall(weakSelf<ZADSlot>(), [](ZADSlot& self, auto&&...) {
            self.reloadTimer_.reset();
            self.reloadCurrentRequest();
        }));
}

void ZADSlot::deactivateReloadTimer() {
    if (auto timer = std::exchange(reloadTimer_, nullptr)) {
        timer->invalidate();
    }
}

void ZADSlot::reloadCurrentRequest() {
    if (!reloadable_) {
        return;
    }
    auto delegate = slotDelegate();
    if (delegate && delegate->slotShouldReloadCurrentRequest(*this).value_or(false)) {
        loadNextRequestWithAutoRefresh(true);
    } else {
        scheduleAdReloadTimer(); // try again one period later
    }
}

void ZADSlot::appWillBecomeInactive() {
    deactivateReloadTimer();
}

void ZADSlot::appDidBecomeActive() {
    scheduleAdReloadTimer();
}

void ZADSlot::adWillPresentFullScreen() {
    deactivateReloadTimer();
}

void ZADSlot::adDidRelinquishFullScreen() {
    scheduleAdReloadTimer();
}

// Ending.

void ZADSlot::cancelLoad() {
    cancelFetch();
    loadingAd_.reset();
    resetState();
}

void ZADSlot::cancelPendingActions() {
    deactivateReloadTimer();
    cancelLoad();
}

void ZADSlot::cancelPendingAndFutureActions() {
    cancelPendingActions();
    slotDelegate_.reset();
    reloadable_ = false;
    invalidateState();
}

void ZADSlot::invalidate() {
    // A fetch under way would answer into a slot with no ad view.
    cancelFetch();
    adViewDelegate_.reset();
    if (adView_) {
        adView_->setDelegate({});
        ZADRunOnMainThread([adView = std::move(adView_)] { adView->removeFromSuperview(); });
    }
    invalidateState();
}

// States.

void ZADSlot::setState(State state) {
    if (state == state_ || state_ == Invalidated) {
        return;
    }
    const State old = state_;
    state_ = state;
    if (old == Idle && state == RequestingAdURL) {
        ZADMRAIDInterceptor::enableCanInitWithRequest();
    }
    if (state == SDKCoreFailed || state == ValidAd || state == Failed) {
        ZADMRAIDInterceptor::disableCanInitWithRequest();
    }
}

void ZADSlot::willRequestAdURL() {
    setState(RequestingAdURL);
    setRequestID({}); // until the controller numbers this load's ask
    applicationStatistics_ =
        ZADApplication::sharedInstance()->nextRequestStatisticsDictionaryForSlot(false);
}

void ZADSlot::didFailToRetrieveSDKCoreWithError(const std::shared_ptr<NSError>& error) {
    setState(SDKCoreFailed);
    adFailedToReceiveContentWithError(error);
}

void ZADSlot::didReceiveAdURL() {
    setState(ReceivedAdURL);
}

void ZADSlot::willFetchAdContent() {
    setState(Fetching);
    if (!loadingAd_) {
        return;
    }
    // Which request the ad answers and when its fetch began.
    const auto& statistics = loadingAd_->statistics();
    const auto now = static_cast<long long>(ZADMonotonicTimeInMilliseconds());
    const auto requested = applicationStatistics_.find("currts");
    statistics->setObjectForKeyedSubscript(
        requested != applicationStatistics_.end() ? requested->second : PlistValue(now), "treq");
    statistics->setObjectForKeyedSubscript(PlistValue(now), "tfetch");
    if (!adUnitID_.empty()) {
        statistics->setObjectForKeyedSubscript(PlistValue(adUnitID_), "slotid");
    }
    if (auto sequence = applicationStatistics_.find("seq_num");
        sequence != applicationStatistics_.end()) {
        statistics->setObjectForKeyedSubscript(sequence->second, "seq_num");
    }
}

void ZADSlot::didFetchAdContent() {
    if (loadingAd_) {
        loadingAd_->statistics()->setObjectForKeyedSubscript(
            PlistValue(static_cast<long long>(ZADMonotonicTimeInMilliseconds())), "tresponse");
    }
    // An answer came: the server's buffering counts start again.
    auto statistics = ZADApplication::sharedInstance()->statistics();
    for (const char* key : {"oar", "bas_on", "bas_off"}) {
        statistics->setObjectForKeyedSubscript(PlistValue(0), key);
    }
}

void ZADSlot::didFailToReceiveAdWithErrorShouldCancelPendingActions(
    const std::shared_ptr<NSError>& error, bool cancelPendingActionsToo) {
    if (cancelPendingActionsToo) {
        cancelPendingActions();
    }
    if (auto recorder = adLoadActionTimeRecorder()) {
        recorder->cancelTimingVariableWithName("awr_ios");
        recorder->cancelTimingVariableWithName("ttc_ios");
    }
    setState(Failed);
    loadingAd_.reset();
    returnPendingAdStatistics();
    adFailedToReceiveContentWithError(error);
}

void ZADSlot::didReceiveValidAd() {
    if (auto recorder = adLoadActionTimeRecorder()) {
        recorder->endTimingVariableWithName("awr_ios");
        recorder->endTimingVariableWithName("ttc_ios");
    }
    pendingAdStatistics_.clear(); // they went with the request
    setState(ValidAd);
}

void ZADSlot::willStartAdRendering() {
    setState(Rendering);
}

void ZADSlot::willLoadAdHTMLInWebView() {
    willStartAdRendering();
}

void ZADSlot::didLoadAdHTMLInWebView() {
    auto loaded = loadingAd_;
    finishedLoadingAdResponse(loaded);
    timeLastLoaded_ = ZADMonotonicTimeInMilliseconds();
    // Telling the application puts the ad's statistics on the next request.
    if (loaded) {
        loaded->statistics()->setObjectForKeyShouldNotifyDelegate(
            PlistValue(static_cast<long long>(timeLastLoaded_)), "tload", true);
    }
}

void ZADSlot::resetState() {
    setState(Idle);
}

void ZADSlot::invalidateState() {
    setState(Invalidated);
}

// Ad events.

void ZADSlot::adFailedToReceiveContentWithError(const std::shared_ptr<NSError>& error) {
    // No error given is the internal error, whichever road the failure came by.
    const auto reported =
        error ? error : ZADRequestError::errorWithCode(ZADRequestError::InternalError);
    EventLog::record("ad", "failed " + adUnitID_ + ": error " + std::to_string(reported->code()) +
                               " " + reported->localizedDescription());
    if (auto delegate = adLoadDelegate()) {
        delegate->slotDidFailToLoadAdContentWithError(*this, reported);
    }
}

void ZADSlot::recordReceived(const std::string& how) const {
    EventLog::record("ad", "received " + adUnitID_ + " " + adTypeLogName() + how);
}

void ZADSlot::adFinishedLoadingContent() {
    recordReceived({});
    if (auto delegate = adLoadDelegate()) {
        delegate->slotFinishedLoadingAdContent(*this);
    }
}

std::string ZADSlot::adTypeLogName() const {
    if (adType_->isInterstitial()) {
        return "interstitial";
    }
    const CGSize size = ZADAdSizeGetCGSize(adType_->adSize());
    const auto side = [](CGFloat value) {
        return std::to_string(static_cast<long long>(std::llround(value)));
    };
    return "banner " + side(size.width) + "x" + side(size.height);
}

std::string ZADSlot::description() const {
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
    return "<" + className() + ": " + address + ">\nad unit ID:" + adUnitID_;
}
