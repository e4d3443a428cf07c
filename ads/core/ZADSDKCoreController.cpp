#include "ads/core/ZADSDKCoreController.h"

#include "ads/core/NSDictionary+ZADJSONAdditions.h"
#include "ads/core/NSDictionary+ZADObjectValidation.h"
#include "ads/core/NSString+ZADJSONAdditions.h"
#include "ads/core/ZADAd.h"
#include "ads/core/ZADAdFetcher.h"
#include "ads/core/ZADBannerAd.h"
#include "ads/core/ZADInterstitialAd.h"
#include "ads/core/ZADRequest.h"
#include "ads/core/ZADRequestError.h"
#include "ads/core/ZADSDKCoreControllerDelegate.h"
#include "ads/core/ZADTokenDispenser.h"
#include "ads/render/ZADCSITimeRecorder.h"
#include "ads/render/ZADMRAIDInterceptor.h"
#include "ads/render/ZADSDKCoreWebView.h"
#include "ads/render/ZADSDKCoreZMSGHandler.h"
#include "ads/signals/ZADAbsoluteTime.h"
#include "ads/signals/ZADApplication.h"
#include "ads/signals/ZADCharacterSets.h"
#include "ads/signals/ZADLocationService.h"
#include "ads/signals/ZADLogger.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSUserDefaults.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

constexpr const char* kLockQueueLabel = "com.zivido.vazer.sdk-core-controller";
// From asking for the ad URL to the page's answer.
constexpr const char* kAdURLTimingVariable = "rur_ios";
// From the ad URL's arrival to the ad's load.
constexpr const char* kNetworkLoadTimingVariable = "nwl_ios";
constexpr const char* kMediationKey = "zivido-ad-url-mediation";

// The constants stored as they come, as text, under the settings prefix.
constexpr const char* kPlainSettings[] = {
    "bad_ad_report_path",
    "use_cancelled_url_error",
    "as_domains",
    "iap_equivalent_classes",
    "iap_report_format",
    "iap_retry_suffix",
    "native_ad_support_url",
    "banner_prevent_autoplay",
    "web_view_cache_max_capacity",
    "ad_key_parent_view_count",
    "enable_signed_in_ads",
    "foreground_ping_enabled",
    "foreground_ping_delay",
    "foreground_ping_url",
    "volume_view",
    "minimum_signed_in_ads_token_lifespan",
    "bg_reload_enabled",
    "content_age_weight",
    "content_length_weight",
    "space_delimited_unicode_range",
    "character_delimited_unicode_range",
    "minimum_paragraph_length",
    "maximum_shingle_count",
    "shingle_length",
    "content_queue_maximum_capacity",
    "traversal_interval",
    "csi_reporting_probability",
    "csi_reporting_url",
    "native-indiscriminate-recognition",
    "disable_interstitial_click_ping_on_click_navigation",
    "url_time_to_live",
    "maximum_retry_url_count",
    "ping_interval",
    "prefetch_enabled",
    "deeplinkplus_enabled",
    "zads:interstitial_ad_pool:enabled",
    "zads:interstitial_ad_pool:max_pools",
    "zads:interstitial_ad_pool:max_pool_depth",
    "zads:interstitial_ad_pool:time_limit_sec",
    "view_controller_only_supports_application_orientation",
    "application_supports_split_screen",
    "enable_in_app_preview_dialog",
    "in_app_preview_url",
    "enable_native_advanced_debug_options_gesture",
    "enable_refresh_zmsg_protection",
};

std::mutex& sharedMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<ZADSDKCoreController>& sharedSlot() {
    static std::shared_ptr<ZADSDKCoreController> controller;
    return controller;
}

std::string settingsKey(const std::string& name) {
    return std::string(ZADSDKCoreController::kSettingsPrefix) + name;
}

std::optional<std::string> constantOf(const ZADSDKCoreZMSGHandlerDelegate::Parameters& constants,
                                      const std::string& name) {
    auto found = constants.find(name);
    return found == constants.end() ? std::nullopt : std::optional<std::string>(found->second);
}

// The constant decoded as JSON; nothing when absent or not JSON.
std::optional<PlistValue> JSONConstantOf(const ZADSDKCoreZMSGHandlerDelegate::Parameters& constants,
                                         const std::string& name) {
    auto text = constantOf(constants, name);
    if (!text) {
        return std::nullopt;
    }
    auto decoded = ZADJSONAdditions::zad_decodedJSONObject(*text);
    return decoded.hasError() ? std::nullopt : std::optional<PlistValue>(decoded.value());
}

// A JSON object constant's pairs of text with text, stored when at least one is left.
void storeStringPairs(const ZADSDKCoreZMSGHandlerDelegate::Parameters& constants,
                      const std::string& name) {
    auto decoded = JSONConstantOf(constants, name);
    if (!decoded || !decoded->dictionary()) {
        return;
    }
    PlistValue::Dictionary pairs;
    for (const auto& [key, value] : *decoded->dictionary()) {
        if (value.string()) {
            pairs[key] = value;
        }
    }
    if (!pairs.empty()) {
        NSUserDefaults::standardUserDefaults()->setObjectForKey(std::move(pairs),
                                                                settingsKey(name));
    }
}

// A sampling interval of "refresh_intervals": a positive number, or text holding one.
// Anything else (zero or negative, text that is no number, another kind of value) would
// make the samplers spin or stop: it is dropped with a log line.
std::optional<double> intervalOf(const PlistValue::Dictionary& intervals, const char* name) {
    auto found = intervals.find(name);
    if (found == intervals.end()) {
        return std::nullopt;
    }
    std::optional<double> seconds;
    switch (found->second.type()) {
    case PlistValue::Type::Integer:
    case PlistValue::Type::Real:
    case PlistValue::Type::String: // its leading number; text with none reads as 0
        seconds = found->second.doubleValue();
        break;
    default:
        break;
    }
    if (!seconds || !std::isfinite(*seconds) || *seconds <= 0) {
        NSLog("ZADSDKCoreController: ignored the sampling interval %@: not a positive number",
              name);
        return std::nullopt;
    }
    return seconds;
}

} // namespace

template <class T> T ZADSDKCoreController::readOnLockQueue(const T& field) const {
    T value{};
    dispatch_sync(lockQueue_, [&] { value = field; });
    return value;
}

template <class T>
void ZADSDKCoreController::writeOnLockQueue(T ZADSDKCoreController::*field, T value) {
    auto self = this->self<ZADSDKCoreController>();
    dispatch_async(lockQueue_, [self, field, value] { (*self).*field = value; });
}

ZADSDKCoreController::ZADSDKCoreController()
    : lockQueue_(dispatch_queue_create(kLockQueueLabel, DISPATCH_QUEUE_SERIAL)),
      activeSDKCoreWebView_(ZADSDKCoreWebView::init()) {}

std::shared_ptr<ZADSDKCoreController> ZADSDKCoreController::sharedInstance() {
    std::lock_guard lock(sharedMutex());
    auto& controller = sharedSlot();
    if (!controller) {
        controller = make<ZADSDKCoreController>();
        controller->activeSDKCoreWebView_->SDKCoreZMSGHandler()->setDelegate(
            std::static_pointer_cast<ZADSDKCoreZMSGHandlerDelegate>(controller));
    }
    return controller;
}

void ZADSDKCoreController::resetForTesting() {
    std::lock_guard lock(sharedMutex());
    sharedSlot().reset();
}

std::string ZADSDKCoreController::adRequestParameterJSONFromParameters(
    const PlistValue::Dictionary& parameters) {
    auto json = ZADJSONAdditions::zad_JSONStringPretty(
        ZADJSONAdditions::zad_JSONSafeDictionary(parameters), false);
    return json.hasError() ? std::string() : json.value();
}

void ZADSDKCoreController::buildAdURL(
    const std::shared_ptr<ZADSDKCoreControllerDelegate>& delegate) {
    if (!delegate) {
        return;
    }
    auto self = this->self<ZADSDKCoreController>();
    dispatch_async(lockQueue_, [self, delegate] {
        if (auto recorder = delegate->adLoadActionTimeRecorder()) {
            recorder->startTimingVariableWithName(kAdURLTimingVariable);
        }
        // A load controller that asks again has moved on from its earlier ask: the page's
        // answer to it and its time-out reach nobody.
        std::erase_if(self->pendingActiveWebViewLoadDelegates_,
                      [&](const Waiting& entry) { return entry.delegate == delegate; });
        std::erase_if(self->pendingBuildAdURLDelegates_,
                      [&](const auto& entry) { return entry.second.delegate == delegate; });
        uint64_t ticket = self->nextTicket_++;
        self->pendingActiveWebViewLoadDelegates_.push_back({delegate, ticket});
        std::weak_ptr<ZADSDKCoreController> weak = self;
        dispatch_after(kAdURLRequestTimeout, self->lockQueue_, [weak, ticket] {
            if (auto controller = weak.lock()) {
                controller->timeOutTicket(ticket);
            }
        });
    });
    attemptRefresh();
}

void ZADSDKCoreController::attemptRefresh() {
    auto self = this->self<ZADSDKCoreController>();
    dispatch_async(lockQueue_, [self] {
        uint64_t now = ZADMonotonicTimeInMilliseconds();
        bool stale = now - self->lastWebViewRefreshTimestamp_ > kStalePageInterval;
        auto webView = self->activeSDKCoreWebView_;
        dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
                       [self, webView, stale, now] {
                           auto state = webView->state();
                           if (state == ZADSDKCoreWebView::NotLoaded ||
                               state == ZADSDKCoreWebView::LoadFailed || stale) {
                               webView->refreshSDKCoreAndNotifyObserver(self);
                               dispatch_async(self->lockQueue_, [self, now] {
                                   self->SDKConstantsNeedReload_ = true;
                                   self->lastWebViewRefreshTimestamp_ = now;
                                   self->awaitingLoadOutcome_ = true;
                               });
                           } else {
                               webView->addObserverForOneTimeNotification(self);
                           }
                       });
    });
}

void ZADSDKCoreController::didFinishLoadingSDKCoreInSDKCoreWebView(ZADSDKCoreWebView& webView) {
    auto self = this->self<ZADSDKCoreController>();
    auto view = webView.self<ZADSDKCoreWebView>();
    dispatch_async(lockQueue_, [self, view] {
        auto state = view->state();
        bool ended = state == ZADSDKCoreWebView::Loaded || state == ZADSDKCoreWebView::LoadFailed;
        if (ended && self->awaitingLoadOutcome_) {
            self->awaitingLoadOutcome_ = false;
            EventLog::record("ad", state == ZADSDKCoreWebView::Loaded ? "core page loaded"
                                                                      : "core page failed");
        }
        if (self->SDKConstantsNeedReload_ && state == ZADSDKCoreWebView::Loaded) {
            std::string parameters =
                adRequestParameterJSONFromParameters(ZADRequest::request()->threadSafeParameters());
            view->enqueueJavaScriptCommand(
                NSString::stringWithFormat("%@(%@);", "ROZU_getSdkConstants", parameters));
        }
        if (state == ZADSDKCoreWebView::Loaded) {
            auto waiting = std::move(self->pendingActiveWebViewLoadDelegates_);
            self->pendingActiveWebViewLoadDelegates_.clear();
            for (auto& entry : waiting) {
                self->asynchronouslyRequestURLForDelegate(std::move(entry));
            }
        } else if (state == ZADSDKCoreWebView::LoadFailed) {
            auto waiting = std::move(self->pendingActiveWebViewLoadDelegates_);
            self->pendingActiveWebViewLoadDelegates_.clear();
            for (auto& entry : waiting) {
                self->answerOnMainQueue(entry.delegate, {},
                                        [](ZADSDKCoreControllerDelegate& delegate) {
                                            delegate.failedJavaScriptFile();
                                        });
            }
        }
        if (!view->hasSDKCoreLoadedAtLeastOnce()) {
            self->lastWebViewRefreshTimestamp_ = 0;
        }
        if (!self->pendingActiveWebViewLoadDelegates_.empty()) {
            view->addObserverForOneTimeNotification(self);
        }
    });
}

void ZADSDKCoreController::asynchronouslyRequestURLForDelegate(Waiting waiting) {
    std::string requestID = std::to_string(requestID_++);
    waiting.delegate->setRequestID(requestID);
    // Registered before the parameters are gathered, so that the time-out finds it.
    pendingBuildAdURLDelegates_[requestID] = waiting;
    auto self = this->self<ZADSDKCoreController>();
    std::weak_ptr<ZADSDKCoreControllerDelegate> weak = waiting.delegate;
    dispatch_async(dispatch_get_main_queue(), [self, weak, requestID] {
        auto delegate = weak.lock();
        if (!delegate) {
            return;
        }
        auto parameters = delegate->requestParameters();
        dispatch_async(self->lockQueue_, [self, delegate, requestID, parameters] {
            if (!self->pendingBuildAdURLDelegates_.contains(requestID)) {
                return; // timed out meanwhile
            }
            if (!parameters) {
                // Nothing to build an ad URL from: the request cannot succeed.
                self->pendingBuildAdURLDelegates_.erase(requestID);
                EventLog::record("ad", "request " + requestID + " has no parameters");
                self->answerOnMainQueue(delegate, requestID,
                                        [](ZADSDKCoreControllerDelegate& waiting) {
                                            waiting.adURLRequestDidFailWithError(
                                                ZADRequestError::errorWithCode(
                                                    ZADRequestError::InternalError));
                                        });
                return;
            }
            if (auto recorder = delegate->adLoadActionTimeRecorder()) {
                auto eid = parameters->find("eid");
                if (eid != parameters->end()) {
                    for (const auto& id :
                         NSString::componentsSeparatedByString(eid->second.stringValue(), ",")) {
                        recorder->addExperimentID(id);
                    }
                }
            }
            const char* function = parameters->contains(kMediationKey)
                                       ? "ROZU_getAdapterLessMediationAd"
                                       : "ROZU_getAd";
            self->activeSDKCoreWebView_->enqueueJavaScriptCommand(NSString::stringWithFormat(
                "%@(%@);", function, adRequestParameterJSONFromParameters(*parameters)));
        });
    });
}

std::shared_ptr<ZADSDKCoreControllerDelegate>
ZADSDKCoreController::takeDelegateForRequestID(const std::string& id) {
    auto found = pendingBuildAdURLDelegates_.find(id);
    if (found == pendingBuildAdURLDelegates_.end()) {
        return nullptr;
    }
    auto delegate = std::move(found->second.delegate);
    pendingBuildAdURLDelegates_.erase(found);
    return delegate;
}

void ZADSDKCoreController::timeOutTicket(uint64_t ticket) {
    std::shared_ptr<ZADSDKCoreControllerDelegate> delegate;
    std::string requestID;
    auto waiting = std::find_if(pendingActiveWebViewLoadDelegates_.begin(),
                                pendingActiveWebViewLoadDelegates_.end(),
                                [ticket](const Waiting& entry) { return entry.ticket == ticket; });
    if (waiting != pendingActiveWebViewLoadDelegates_.end()) {
        delegate = std::move(waiting->delegate);
        pendingActiveWebViewLoadDelegates_.erase(waiting);
    } else {
        for (auto it = pendingBuildAdURLDelegates_.begin(); it != pendingBuildAdURLDelegates_.end();
             ++it) {
            if (it->second.ticket == ticket) {
                requestID = it->first;
                delegate = std::move(it->second.delegate);
                pendingBuildAdURLDelegates_.erase(it);
                break;
            }
        }
    }
    if (!delegate) {
        return; // answered in time
    }
    if (auto recorder = delegate->adLoadActionTimeRecorder()) {
        recorder->cancelTimingVariableWithName(kAdURLTimingVariable);
    }
    EventLog::record("ad", requestID.empty() ? "request timed out waiting for the core page"
                                             : "request " + requestID + " timed out");
    answerOnMainQueue(delegate, requestID, [](ZADSDKCoreControllerDelegate& waiting) {
        waiting.adURLRequestDidFailWithError(
            ZADRequestError::errorWithCode(ZADRequestError::Timeout));
    });
}

void ZADSDKCoreController::answerOnMainQueue(
    const std::shared_ptr<ZADSDKCoreControllerDelegate>& delegate, const std::string& requestID,
    std::function<void(ZADSDKCoreControllerDelegate&)> call) {
    std::weak_ptr<ZADSDKCoreControllerDelegate> weak = delegate;
    auto self = this->self<ZADSDKCoreController>();
    dispatch_async(dispatch_get_main_queue(), [self, weak, requestID, call = std::move(call)] {
        auto waiting = weak.lock();
        // While the answer crossed to the main thread the load controller may have asked
        // again: an ask that was sent has cleared or replaced its id; one still waiting for
        // the page is on the waiting list (its earlier entries were dropped from it).
        if (!waiting || waiting->requestID() != requestID ||
            (requestID.empty() && self->isWaitingForThePage(*waiting))) {
            return;
        }
        call(*waiting);
    });
}

bool ZADSDKCoreController::isWaitingForThePage(const ZADSDKCoreControllerDelegate& delegate) const {
    bool waiting = false;
    dispatch_sync(lockQueue_, [&] {
        waiting = std::any_of(
            pendingActiveWebViewLoadDelegates_.begin(), pendingActiveWebViewLoadDelegates_.end(),
            [&](const Waiting& entry) { return entry.delegate.get() == &delegate; });
    });
    return waiting;
}

void ZADSDKCoreController::answerRequestID(
    const std::string& requestID, std::function<void(ZADSDKCoreControllerDelegate&)> onQueue,
    std::function<void(ZADSDKCoreControllerDelegate&)> onMain) {
    auto self = this->self<ZADSDKCoreController>();
    dispatch_async(lockQueue_, [self, requestID, onQueue = std::move(onQueue),
                                onMain = std::move(onMain)]() mutable {
        auto delegate = self->takeDelegateForRequestID(requestID);
        if (!delegate) {
            return;
        }
        onQueue(*delegate);
        self->answerOnMainQueue(delegate, requestID, std::move(onMain));
    });
}

void ZADSDKCoreController::sdkCoreZMSGHandlerLoadAdURLWithRequestIDParameters(
    ZADSDKCoreZMSGHandler&, const std::string& requestID, const Parameters& parameters) {
    if (requestID.empty()) {
        return;
    }
    answerRequestID(
        requestID,
        [requestID, parameters](ZADSDKCoreControllerDelegate& delegate) {
            auto errors = parameters.find("errors");
            auto url = parameters.find("url");
            EventLog::record("ad", "request " + requestID + " answered with " +
                                       (errors != parameters.end() ? "error " + errors->second
                                        : url != parameters.end()  ? "ad URL " + url->second
                                                                   : "no ad URL"));
            if (auto recorder = delegate.adLoadActionTimeRecorder()) {
                recorder->endTimingVariableWithName(kAdURLTimingVariable);
            }
        },
        [parameters](ZADSDKCoreControllerDelegate& delegate) {
            if (auto recorder = delegate.adLoadActionTimeRecorder()) {
                recorder->startTimingVariableWithName(kNetworkLoadTimingVariable);
            }
            delegate.loadAdURLWithParameters(parameters);
        });
}

void ZADSDKCoreController::sdkCoreZMSGHandlerLoadAdWithRequestIDParameters(
    ZADSDKCoreZMSGHandler&, const std::string& requestID, const PlistValue::Dictionary& fetchedAd) {
    answerRequestID(
        requestID,
        [requestID](ZADSDKCoreControllerDelegate&) {
            EventLog::record("ad", "request " + requestID + " answered with a ready ad");
        },
        [fetchedAd](ZADSDKCoreControllerDelegate& delegate) {
            std::shared_ptr<ZADAd> ad;
            switch (delegate.requestedAdType()) {
            case ZADSDKCoreControllerDelegate::kPlainAd:
                ad = ZADAd::initWithDictionary(fetchedAd);
                break;
            case ZADSDKCoreControllerDelegate::kBannerAd:
                ad = ZADBannerAd::initWithDictionary(fetchedAd);
                break;
            case ZADSDKCoreControllerDelegate::kInterstitialAd:
                ad = ZADInterstitialAd::initWithDictionary(fetchedAd);
                break;
            default:
                break;
            }
            PlistValue::Dictionary headers;
            if (ad) {
                headers = ad->responseHeaders();
                if (PlistValue(fetchedAd)["is_mediation"].boolValue()) {
                    ad->setResponseType(ZADAd::Mediation);
                    headers["x-rozu-mediation"] = 1;
                    headers["Content-Type"] = "application/json";
                }
            }
            delegate.loadAdHeaders(ad, headers);
        });
}

void ZADSDKCoreController::sdkCoreZMSGHandlerDidReceiveInvalidAdWithRequestIDParameters(
    ZADSDKCoreZMSGHandler&, const std::string& requestID, const Parameters& parameters) {
    answerRequestID(
        requestID,
        [requestID, parameters](ZADSDKCoreControllerDelegate& delegate) {
            auto errors = parameters.find("errors");
            std::string detail = errors == parameters.end() ? std::string() : " " + errors->second;
            ZADLogger::sharedInstance()->logPublicMessage("Invalid Request." + detail);
            EventLog::record("ad", "request " + requestID + " answered invalid" +
                                       (detail.empty() ? std::string() : ":" + detail));
            if (auto recorder = delegate.adLoadActionTimeRecorder()) {
                recorder->cancelTimingVariableWithName(kAdURLTimingVariable);
            }
        },
        [](ZADSDKCoreControllerDelegate& delegate) { delegate.invalidJavaScriptRequest(); });
}

void ZADSDKCoreController::sdkCoreZMSGHandlerDidReceiveSDKCoreUpdateNotification(
    ZADSDKCoreZMSGHandler&) {
    auto self = this->self<ZADSDKCoreController>();
    dispatch_async(lockQueue_, [self] { self->SDKCoreUpdateHandled_ = false; });
}

void ZADSDKCoreController::sdkCoreZMSGHandlerDidLoadSDKConstants(ZADSDKCoreZMSGHandler&,
                                                                 const Parameters& constants) {
    storeConstants(constants);
}

void ZADSDKCoreController::storeConstants(const Parameters& constants) {
    auto defaults = NSUserDefaults::standardUserDefaults();
    ZADMRAIDInterceptor::setBannerImplementationPath(constantOf(constants, "mraid_banner_path"));
    ZADMRAIDInterceptor::setInterstitialImplementationPath(
        constantOf(constants, "mraid_interstitial_path"));
    ZADMRAIDInterceptor::setExpandedBannerImplementationPath(
        constantOf(constants, "mraid_expanded_banner_path"));

    auto cacheSize = constantOf(constants, "active_view_unload_cache_size");
    int64_t size = cacheSize ? NSString::integerValue(*cacheSize) : 0;
    auto useNewWebViews = constantOf(constants, "use_new_web_views_for_active_view");
    bool useNew = useNewWebViews && NSString::boolValue(*useNewWebViews);
    auto self = this->self<ZADSDKCoreController>();
    dispatch_async(lockQueue_, [self, size, useNew] {
        // A negative size is no size: the cache keeps its limit.
        if (size > 0) {
            self->activeViewUnloadCacheMaxSize_ = static_cast<size_t>(size);
        }
        self->useNewWebViewsForActiveViewProcessing_ = useNew;
    });

    if (constantOf(constants, "mraid_disable_redirect") == "1") {
        ZADMRAIDInterceptor::disallow();
    } else {
        ZADMRAIDInterceptor::allow();
    }

    if (auto intervals = JSONConstantOf(constants, "refresh_intervals");
        intervals && intervals->dictionary()) {
        if (auto seconds = intervalOf(*intervals->dictionary(), "active_view_sampling_interval")) {
            setActiveViewSamplingInterval(*seconds);
        }
        if (auto seconds =
                intervalOf(*intervals->dictionary(), "swipe_to_view_sampling_interval")) {
            setSwipeToViewSamplingInterval(*seconds);
        }
    }

    if (auto domains = JSONConstantOf(constants, "whitelisted_ad_request_domains");
        domains && domains->array()) {
        const auto strings = ZADObjectValidation::zad_stringsOf(*domains->array());
        defaults->setObjectForKey(PlistValue::Array(strings.begin(), strings.end()),
                                  ZADAdFetcher::kWhitelistedDomainsKey);
    }

    storeStringPairs(constants, "clickthrough_confirm_schemes");

    const std::string schemaKey = "zads:interstitial_ad_pool:schema";
    if (auto schema = constantOf(constants, schemaKey)) {
        auto fields = NSString::componentsSeparatedByString(*schema, ",");
        defaults->setObjectForKey(PlistValue::Array(fields.begin(), fields.end()),
                                  settingsKey(schemaKey));
    } else {
        defaults->removeObjectForKey(settingsKey(schemaKey));
    }

    auto autoCollect = constantOf(constants, "auto_collect_location");
    ZADLocationService::sharedInstance()->setFeatureEnabled(autoCollect &&
                                                            NSString::boolValue(*autoCollect));

    storeStringPairs(constants, "zads:interstitial_ad_pool:field_names");

    const std::string experimentKey = settingsKey("experiment_id_string");
    defaults->removeObjectForKey(experimentKey);
    if (auto given = constantOf(constants, "experiment_id_string")) {
        if (!given->empty()) {
            defaults->setObjectForKey(*given, experimentKey);
        }
    } else {
        std::vector<std::string> experiments;
        for (const auto& [name, value] : constants) {
            if (name.ends_with("experiment_id")) {
                experiments.push_back(value);
            }
        }
        if (!experiments.empty()) {
            std::string joined;
            for (const auto& experiment : experiments) {
                joined += (joined.empty() ? "" : ",") + experiment;
            }
            defaults->setObjectForKey(joined, experimentKey);
        }
    }

    for (const char* name : kPlainSettings) {
        auto value = constantOf(constants, name);
        if (value && !value->empty()) {
            defaults->setObjectForKey(*value, settingsKey(name));
        }
    }

    ZADCharacterSets::updateCharacterSets();
    ZADApplication::sharedInstance()->updateAvailableAdapterNamesWithPotentialAdapterNames(
        constantOf(constants, "adapter_class_names"));
    ZADTokenDispenser::refreshSignedInUser();
    dispatch_async(lockQueue_, [self] { self->SDKConstantsNeedReload_ = false; });
}

std::shared_ptr<ZADSDKCoreWebView> ZADSDKCoreController::SDKCoreWebViewForActiveViewProcessing() {
    removeFinishedActiveViewWebViews();
    bool useNew = false;
    std::shared_ptr<ZADSDKCoreWebView> lent;
    dispatch_sync(lockQueue_, [&] {
        useNew = useNewWebViewsForActiveViewProcessing_;
        if (!useNew && SDKCoreUpdateHandled_) {
            lent = activeViewSDKCoreWebView_;
        }
        if (!useNew) {
            SDKCoreUpdateHandled_ = true;
        }
    });
    if (lent) {
        return lent;
    }
    // A web view is a view: made here, on the main thread, never on the queue.
    lent = ZADSDKCoreWebView::init();
    if (!useNew) {
        dispatch_sync(lockQueue_, [&] { activeViewSDKCoreWebView_ = lent; });
    }
    lent->refreshSDKCoreAndNotifyObserver(nullptr);
    return lent;
}

void ZADSDKCoreController::finishedUsingSDKCoreWebViewForActiveViewProcessing(
    const std::shared_ptr<ZADSDKCoreWebView>& webView) {
    if (webView && webView->isActiveViewRunning()) {
        cacheRunningActiveViewWebView(webView);
    }
}

void ZADSDKCoreController::cacheRunningActiveViewWebView(
    const std::shared_ptr<ZADSDKCoreWebView>& webView) {
    dispatch_sync(lockQueue_, [&] {
        if (std::find(activeViewSDKCoreWebViews_.begin(), activeViewSDKCoreWebViews_.end(),
                      webView) == activeViewSDKCoreWebViews_.end()) {
            activeViewSDKCoreWebViews_.push_back(webView);
        }
    });
    removeFinishedActiveViewWebViews();
}

void ZADSDKCoreController::removeFinishedActiveViewWebViews() {
    std::vector<std::shared_ptr<ZADSDKCoreWebView>> dropped;
    dispatch_sync(lockQueue_, [&] {
        std::vector<std::shared_ptr<ZADSDKCoreWebView>> survivors;
        // Newest first: the most recent work is the one worth finishing.
        for (auto it = activeViewSDKCoreWebViews_.rbegin(); it != activeViewSDKCoreWebViews_.rend();
             ++it) {
            if ((*it)->isActiveViewRunning() && survivors.size() < activeViewUnloadCacheMaxSize_) {
                survivors.insert(survivors.begin(), *it);
            } else {
                dropped.push_back(*it);
            }
        }
        activeViewSDKCoreWebViews_ = std::move(survivors);
    });
    for (const auto& webView : dropped) {
        webView->clearAllActiveViewInstances();
        finishedUsingSDKCoreWebViewForActiveViewProcessing(webView);
    }
}

double ZADSDKCoreController::activeViewSamplingInterval() const {
    return readOnLockQueue(activeViewSamplingInterval_);
}

void ZADSDKCoreController::setActiveViewSamplingInterval(double seconds) {
    writeOnLockQueue(&ZADSDKCoreController::activeViewSamplingInterval_, seconds);
}

double ZADSDKCoreController::swipeToViewSamplingInterval() const {
    return readOnLockQueue(swipeToViewSamplingInterval_);
}

void ZADSDKCoreController::setSwipeToViewSamplingInterval(double seconds) {
    writeOnLockQueue(&ZADSDKCoreController::swipeToViewSamplingInterval_, seconds);
}

std::shared_ptr<ZADSDKCoreWebView> ZADSDKCoreController::activeSDKCoreWebView() const {
    return readOnLockQueue(activeSDKCoreWebView_);
}

std::vector<std::string> ZADSDKCoreController::pendingBuildAdURLRequestIDs() const {
    std::vector<std::string> ids;
    dispatch_sync(lockQueue_, [&] {
        for (const auto& [id, waiting] : pendingBuildAdURLDelegates_) {
            ids.push_back(id);
        }
    });
    return ids;
}

size_t ZADSDKCoreController::activeViewUnloadCacheMaxSize() const {
    return readOnLockQueue(activeViewUnloadCacheMaxSize_);
}

bool ZADSDKCoreController::useNewWebViewsForActiveViewProcessing() const {
    return readOnLockQueue(useNewWebViewsForActiveViewProcessing_);
}
