// The load engine behind every ad object: it takes a request through a numbered state
// machine, asks the core controller for the ad URL, has the fetcher fetch the response,
// renders an HTML ad in its own ad web view, reloads itself on a timer and tells its
// delegates how each load ended.
//
// States: 0 idle, 1 the core page failed to load, 2 asking for the ad URL, 3 ad URL
// received, 4 fetching, 5 rendering, 6 a valid ad, 7 the load failed, 8 invalidated (final:
// no set changes it, no load starts). A load is under way in states 2 to 5; a second one
// then starts only when the slot delegate lets it preempt the first. A refusal of the slot
// delegate is reported to the load delegate; an invalidated slot, an inactive application
// (unless background loading is on) and a system below the minimum make a load do
// nothing, silently.
//
// The reload timer (one-shot, `reloadInterval` seconds, 60 at creation) is restarted by a
// standard response and by the application becoming active or a full-screen presentation
// ending (any object's "kAdModalViewControllerDidDismissFullScreen"); it is stopped while
// the application is inactive or any full-screen presentation is up.
//
// A request's extras may carry a ready ad ("_ad", with "_adHeaders") or an ad URL
// ("_requestUrl"), with "_orientation": the load then skips the core page. A mediation
// answer fails (no mediation layer takes it yet); a custom-rendered ad waits for a
// placement, and its refusal ends the load (state 7) so that the next one may start.
// The latency report and impressions come with their own pieces.
//
// Every load start and end is one "ad:" line of the program's event log. Everything here
// runs on the main thread, except the latency recorder and request id the core controller
// reads and sets on its own queue; delegates are held weakly.
#pragma once

#include "ads/core/ZADAdFetcherDelegate.h"
#include "ads/core/ZADAdType.h"
#include "ads/core/ZADSDKCoreControllerDelegate.h"
#include "platform/base/NSObject.h"
#include "platform/foundation/PlistValue.h"
#include "platform/graphics/CGGeometry.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

class NSError;
class NSTimer;
class NSValue;
class UIView;
class ZADAd;
class ZADAdView;
class ZADBannerAdViewDelegate;
class ZADCSITimeRecorder;
class ZADRequest;
class ZADSlotAdKeyDelegate;
class ZADSlotAdLoadDelegate;
class ZADSlotAdResponseDelegate;
class ZADSlotDelegate;
class ZADSlotStatistics;
class ZADStatisticDictionary;

inline constexpr const char* kAdModalViewControllerWillPresentFullScreen =
    "kAdModalViewControllerWillPresentFullScreen";
inline constexpr const char* kAdModalViewControllerDidDismissFullScreen =
    "kAdModalViewControllerDidDismissFullScreen";

class ZADSlot : public NSObject, public ZADAdFetcherDelegate, public ZADSDKCoreControllerDelegate {
    NS_OBJECT(ZADSlot)
public:
    using AdStatistics = std::set<std::shared_ptr<ZADStatisticDictionary>>;
    enum State : int64_t {
        Idle = 0,
        SDKCoreFailed = 1,
        RequestingAdURL = 2,
        ReceivedAdURL = 3,
        Fetching = 4,
        Rendering = 5,
        ValidAd = 6,
        Failed = 7,
        Invalidated = 8,
    };
    static constexpr double kDefaultReloadInterval = 60.0;

    static std::shared_ptr<ZADSlot> init() { return initWithFrame(CGRectZero); }
    static std::shared_ptr<ZADSlot> initWithFrame(const CGRect& frame);
    ~ZADSlot() override;
    // The process's next load says again how to get test ads (between tests).
    static void resetForTesting();

    // The load road.
    // `nextRequest` = the request, then a load that is not a reload.
    void loadRequest(const std::shared_ptr<ZADRequest>& request);
    void loadNextRequestWithAutoRefresh(bool autoRefresh);
    bool isMakingRequest() const;

    // The core controller's questions and answers. The request parameters are the loading
    // request's (with the device's and the network's) and the slot's own: the statistics
    // of the application, the slot and earlier ads ("quality_signals"; the ads' statistics
    // count as sent once an ad arrives and go back to the application when the load
    // fails), the unit, the sizes and format, where the owner stands, the request id and
    // the server's switches. A banner whose owner names no valid sizes sends its ad type's
    // size as "sz". Until the ad formats come, the slot answers for its owner's kind by
    // its ad type.
    // An answer is taken only while the slot waits for its ad URL (state 2; a ready ad
    // also in state 3), and only for the slot's last request id (the controller checks it
    // for every answer; each new ask clears it): an answer or a time-out of a load the slot
    // has moved on from (preempted, cancelled, ended) never ends the next one.
    std::shared_ptr<ZADCSITimeRecorder> adLoadActionTimeRecorder() override;
    std::optional<PlistValue::Dictionary> requestParameters() override;
    long requestedAdType() override;
    void setRequestID(const std::string& requestID) override;
    void loadAdURLWithParameters(const MessageParameters& parameters) override;
    // "320x50|300x250": the valid sizes resolved for this screen; others are skipped.
    static std::string
    multipleAdSizeParameterFromSizes(const std::vector<std::shared_ptr<NSValue>>& sizes);
    // Starts the fetch of an ad (a ready one, or one made from the ad URL); empty headers
    // are none.
    void loadAdHeaders(const std::shared_ptr<ZADAd>& ad,
                       const PlistValue::Dictionary& headers) override;
    void invalidJavaScriptRequest() override;
    void failedJavaScriptFile() override;
    // The core page did not answer in time: the failure road with that error.
    void adURLRequestDidFailWithError(const std::shared_ptr<NSError>& error) override;

    // The fetcher's answers.
    void adFetcherDidFetchAd(ZADAdFetcher& fetcher, const std::shared_ptr<ZADAd>& ad) override;
    void adFetcherDidFailToFetchAdWithErrorResponseCode(ZADAdFetcher& fetcher,
                                                        const std::shared_ptr<ZADAd>& ad,
                                                        const std::shared_ptr<NSError>& error,
                                                        long responseCode) override;

    // The reload timer.
    void scheduleAdReloadTimer();
    void deactivateReloadTimer();
    void reloadCurrentRequest();
    bool isReloadTimerScheduled() const { return reloadTimer_ != nullptr; }

    // Ending.
    // Cancels the fetch and drops the loading ad; state 0.
    void cancelLoad();
    void cancelPendingActions();
    // The owner goes away: nothing more is loaded or reported (state 8).
    void cancelPendingAndFutureActions();
    // Lets go of the ad view and its delegate (state 8).
    void invalidate();

    // State entry points.
    void willRequestAdURL();
    void didFailToRetrieveSDKCoreWithError(const std::shared_ptr<NSError>& error);
    void didReceiveAdURL();
    void willFetchAdContent();
    void didFetchAdContent();
    // The failure road.
    void
    didFailToReceiveAdWithErrorShouldCancelPendingActions(const std::shared_ptr<NSError>& error,
                                                          bool cancelPendingActions);
    void didReceiveValidAd();
    void willStartAdRendering();
    void willLoadAdHTMLInWebView();
    void didLoadAdHTMLInWebView();
    void resetState();
    void invalidateState();

    // Ad events. A null error is reported as the internal request error.
    void adFailedToReceiveContentWithError(const std::shared_ptr<NSError>& error);
    void adFinishedLoadingContent();

    // The ad type; a new one with `reload` hides the ad view until the next ad and loads
    // again when the slot has loaded before.
    void setAdTypeAndReloadRequest(const std::shared_ptr<ZADAdType>& adType, bool reload);
    // Where a custom-rendered ad is shown (held weakly); a pending one is rendered there.
    void setPlacement(const std::shared_ptr<NSObject>& placement);
    void mediatedAdNetworkAutoRefreshed() { hasAutoRefreshed_ = true; }

    // "<ZADSlot: 0x...>\nad unit ID:..."
    std::string description() const override;

    // Accessors.
    State state() const { return state_; }
    void setState(State state);
    std::shared_ptr<ZADSlotDelegate> slotDelegate() const { return slotDelegate_.lock(); }
    void setSlotDelegate(std::weak_ptr<ZADSlotDelegate> d) { slotDelegate_ = std::move(d); }
    std::shared_ptr<ZADSlotAdLoadDelegate> adLoadDelegate() const { return adLoadDelegate_.lock(); }
    void setAdLoadDelegate(std::weak_ptr<ZADSlotAdLoadDelegate> d) {
        adLoadDelegate_ = std::move(d);
    }
    std::shared_ptr<ZADSlotAdResponseDelegate> adResponseDelegate() const {
        return adResponseDelegate_.lock();
    }
    void setAdResponseDelegate(std::weak_ptr<ZADSlotAdResponseDelegate> d) {
        adResponseDelegate_ = std::move(d);
    }
    std::shared_ptr<ZADSlotAdKeyDelegate> adKeyDelegate() const { return adKeyDelegate_.lock(); }
    void setAdKeyDelegate(std::weak_ptr<ZADSlotAdKeyDelegate> d) { adKeyDelegate_ = std::move(d); }
    std::shared_ptr<NSObject> placement() const { return placement_.lock(); }
    const std::string& adUnitID() const { return adUnitID_; }
    // Also names the slot's statistics.
    void setAdUnitID(std::string adUnitID);
    const std::shared_ptr<ZADSlotStatistics>& slotStats() const { return slotStats_; }
    // The application's statistics as this load's request took them.
    const PlistValue::Dictionary& applicationStatistics() const { return applicationStatistics_; }
    const AdStatistics& pendingAdStatistics() const { return pendingAdStatistics_; }
    const std::shared_ptr<ZADAdType>& adType() const { return adType_; }
    // "banner 320x50" (the size resolved for this screen) or "interstitial", as the
    // program's log names what a slot loads.
    std::string adTypeLogName() const;
    const std::shared_ptr<ZADRequest>& nextRequest() const { return nextRequest_; }
    void setNextRequest(std::shared_ptr<ZADRequest> request) { nextRequest_ = std::move(request); }
    const std::shared_ptr<ZADRequest>& loadingRequest() const { return loadingRequest_; }
    const std::shared_ptr<ZADAd>& loadingAd() const { return loadingAd_; }
    const std::shared_ptr<ZADAd>& ad() const { return ad_; }
    const std::shared_ptr<ZADAd>& pendingCustomRenderingAd() const {
        return pendingCustomRenderingAd_;
    }
    const std::shared_ptr<ZADAdView>& adView() const { return adView_; }
    const std::shared_ptr<ZADBannerAdViewDelegate>& adViewDelegate() const {
        return adViewDelegate_;
    }
    const std::shared_ptr<ZADAdFetcher>& adFetcher() const { return adFetcher_; }
    std::string requestID() const override;
    uint64_t timeLastLoaded() const { return timeLastLoaded_; }
    double reloadInterval() const { return reloadInterval_; }
    // Values below one second turn reloading off (0).
    void setReloadInterval(double seconds) { reloadInterval_ = seconds < 1.0 ? 0 : seconds; }
    CGSize newAdSize() const { return newAdSize_; }
    bool slotHasAttemptedAnAdRequestAtLeastOnce() const {
        return slotHasAttemptedAnAdRequestAtLeastOnce_;
    }
    bool hasAutoRefreshed() const { return hasAutoRefreshed_; }
    bool reloadable() const { return reloadable_; }
    void setReloadable(bool reloadable) { reloadable_ = reloadable; }
    bool manualImpressionsEnabled() const { return manualImpressionsEnabled_; }
    void setManualImpressionsEnabled(bool enabled) { manualImpressionsEnabled_ = enabled; }

private:
    ZADSlot() = default;
    void setUp(const CGRect& frame);

    // Whether a load of the request may start (refusals by the slot delegate are reported).
    bool shouldMakeRequest(const std::shared_ptr<ZADRequest>& request);
    // A ready ad or ad URL in the request's extras, else the core controller.
    void requestAdFromExtrasOrCore();
    // The owner's size keys: "sz", "format" and "fluid", "ad_frame" and "ad_bounds".
    void addSizeParameters(PlistValue::Dictionary& parameters);
    // The statistics of ads taken for this load go back to the application.
    void returnPendingAdStatistics();
    // The first load of the process that gets this far tells, in the public log, how this
    // device gets test ads, unless the request already names it.
    void logTestDeviceHintOnce() const;
    // Cancels the fetch, drops the shown ad; state 0.
    void resetRequestState();
    // Cancels and drops the fetcher: its answer never comes.
    void cancelFetch();
    bool isWaitingForAdURL() const;
    void processAdResponse(const std::shared_ptr<ZADAd>& ad);
    void processStandardAdResponse(const std::shared_ptr<ZADAd>& ad);
    void processCustomRenderingAdResponse(const std::shared_ptr<ZADAd>& ad);
    void renderPendingCustomRenderingAd();
    void setViewForAdUsingView(const std::shared_ptr<UIView>& view);
    // The loading ad becomes the shown one.
    void finishedLoadingAdResponse(const std::shared_ptr<ZADAd>& ad);
    // The "ad:" line of a load that ended with an ad, `how` said after it.
    void recordReceived(const std::string& how) const;

    // Notifications.
    void appWillBecomeInactive();
    void appDidBecomeActive();
    void adWillPresentFullScreen();
    void adDidRelinquishFullScreen();

    State state_ = Idle;
    std::weak_ptr<ZADSlotDelegate> slotDelegate_;
    std::weak_ptr<ZADSlotAdLoadDelegate> adLoadDelegate_;
    std::weak_ptr<ZADSlotAdResponseDelegate> adResponseDelegate_;
    std::weak_ptr<ZADSlotAdKeyDelegate> adKeyDelegate_;
    std::weak_ptr<NSObject> placement_;
    std::string adUnitID_;
    std::shared_ptr<ZADAdType> adType_ = ZADAdType::interstitialAdType();
    std::shared_ptr<ZADRequest> nextRequest_;
    std::shared_ptr<ZADRequest> loadingRequest_;
    std::shared_ptr<ZADAd> loadingAd_;
    std::shared_ptr<ZADAd> ad_;
    std::shared_ptr<ZADAd> pendingCustomRenderingAd_;
    std::shared_ptr<ZADAdView> adView_;
    std::shared_ptr<ZADBannerAdViewDelegate> adViewDelegate_;
    std::shared_ptr<ZADAdFetcher> adFetcher_;
    // The core controller reads and writes these on its own queue.
    mutable std::mutex controllerLock_;
    std::string requestID_;
    std::shared_ptr<ZADCSITimeRecorder> adLoadActionTimeRecorder_;
    std::shared_ptr<ZADSlotStatistics> slotStats_;
    PlistValue::Dictionary applicationStatistics_;
    AdStatistics pendingAdStatistics_;
    uint64_t timeLastLoaded_ = 0;
    std::shared_ptr<NSTimer> reloadTimer_;
    double reloadInterval_ = kDefaultReloadInterval;
    CGSize newAdSize_{};
    bool slotHasAttemptedAnAdRequestAtLeastOnce_ = false;
    bool hasAutoRefreshed_ = false;
    bool reloadable_ = false;
    bool manualImpressionsEnabled_ = false;
};
