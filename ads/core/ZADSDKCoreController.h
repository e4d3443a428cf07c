// The process-wide owner of the hidden core page, whose script builds every ad URL and
// delivers the server's constants. A load controller asks for its ad URL with buildAdURL;
// the controller keeps the page loaded and fresh, sends the page one call per request
// ("ROZU_getAd(<parameters as JSON>);") under a request id (1, 2 ... in order of sending),
// and hands the page's answer for that id back to the one that asked, on the main thread.
//
// Freshness: the page is (re)loaded at a request when it never loaded, failed, or was last
// asked for more than an hour (3,600,000 ms of the engine clock) before; each reload makes
// the loaded page first receive "ROZU_getSdkConstants(...)". Requests that arrive before
// the page has loaded wait, in order; a failed load fails them all.
//
// Time-out: a request that has no answer kAdURLRequestTimeout seconds after buildAdURL
// (the page never loads, never calls back, or forgets the id) is ended with a request
// error of code 5; an answer that comes later for its id is ignored. 15 s lets a slow
// core page load (seconds on a weak network) and its script answer, while a slot does not
// wait past its own reload interval.
//
// The constants are stored under "/zivido/ads/" and their names (the readers read them at
// the moment of use, with their own defaults); a few go to the objects that use them.
//
// Core web views are also lent to active-view monitoring: a shared one (fresh after the
// page asks for a reload) or, when the constants say so, a new one per use; views whose
// active-view work still runs when their ad is done wait in a small unload cache.
//
// Every field lives on the controller's own serial queue. The shared controller is first
// asked for on the main thread (its core page's web view is a view). The page's load and
// its answers for each request id are "ad:" lines of the program's event log.
#pragma once

#include "ads/render/ZADSDKCoreWebViewNotification.h"
#include "ads/render/ZADSDKCoreZMSGHandlerDelegate.h"
#include "platform/base/NSObject.h"
#include "platform/foundation/PlistValue.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class DispatchQueue;
class ZADSDKCoreControllerDelegate;
class ZADSDKCoreWebView;

class ZADSDKCoreController : public NSObject,
                             public ZADSDKCoreWebViewNotification,
                             public ZADSDKCoreZMSGHandlerDelegate {
    NS_OBJECT(ZADSDKCoreController)
public:
    static constexpr const char* kSettingsPrefix = "/zivido/ads/";
    // Past this age (engine clock milliseconds) the page is reloaded at the next request.
    static constexpr uint64_t kStalePageInterval = 3'600'000;
    static constexpr double kAdURLRequestTimeout = 15;

    static std::shared_ptr<ZADSDKCoreController> sharedInstance();
    // Lets go of the shared controller and its web views (between tests).
    static void resetForTesting();

    // Any thread. The answer comes later through the delegate.
    void buildAdURL(const std::shared_ptr<ZADSDKCoreControllerDelegate>& delegate);
    // The parameters made JSON-safe, as compact JSON; "" when they cannot be written.
    static std::string
    adRequestParameterJSONFromParameters(const PlistValue::Dictionary& parameters);

    // Active-view lending; main thread (a lent web view may be made).
    std::shared_ptr<ZADSDKCoreWebView> SDKCoreWebViewForActiveViewProcessing();
    void finishedUsingSDKCoreWebViewForActiveViewProcessing(
        const std::shared_ptr<ZADSDKCoreWebView>& webView);
    void cacheRunningActiveViewWebView(const std::shared_ptr<ZADSDKCoreWebView>& webView);
    void removeFinishedActiveViewWebViews();

    double activeViewSamplingInterval() const;
    void setActiveViewSamplingInterval(double seconds);
    double swipeToViewSamplingInterval() const;
    void setSwipeToViewSamplingInterval(double seconds);
    std::shared_ptr<ZADSDKCoreWebView> activeSDKCoreWebView() const;
    // The ids whose call was sent and whose answer is awaited.
    std::vector<std::string> pendingBuildAdURLRequestIDs() const;
    size_t activeViewUnloadCacheMaxSize() const;
    bool useNewWebViewsForActiveViewProcessing() const;

    void didFinishLoadingSDKCoreInSDKCoreWebView(ZADSDKCoreWebView& webView) override;

    void sdkCoreZMSGHandlerLoadAdURLWithRequestIDParameters(ZADSDKCoreZMSGHandler& handler,
                                                            const std::string& requestID,
                                                            const Parameters& parameters) override;
    void sdkCoreZMSGHandlerLoadAdWithRequestIDParameters(
        ZADSDKCoreZMSGHandler& handler, const std::string& requestID,
        const PlistValue::Dictionary& fetchedAd) override;
    void sdkCoreZMSGHandlerDidReceiveInvalidAdWithRequestIDParameters(
        ZADSDKCoreZMSGHandler& handler, const std::string& requestID,
        const Parameters& parameters) override;
    void sdkCoreZMSGHandlerDidLoadSDKConstants(ZADSDKCoreZMSGHandler& handler,
                                               const Parameters& constants) override;
    void
    sdkCoreZMSGHandlerDidReceiveSDKCoreUpdateNotification(ZADSDKCoreZMSGHandler& handler) override;

private:
    ZADSDKCoreController();

    // A load controller on its way, with the ticket its time-out knows it by.
    struct Waiting {
        std::shared_ptr<ZADSDKCoreControllerDelegate> delegate;
        uint64_t ticket = 0;
    };

    void attemptRefresh();
    // Lock queue. Sends the call for one load controller.
    void asynchronouslyRequestURLForDelegate(Waiting waiting);
    // Takes out the load controller waiting under the id; null for an unknown id.
    std::shared_ptr<ZADSDKCoreControllerDelegate> takeDelegateForRequestID(const std::string& id);
    // Hands the page's answer to the load controller waiting under the id (an unknown id
    // reaches nobody): `onQueue` with it on the lock queue, then `onMain` on the main queue
    // while it still exists.
    void answerRequestID(const std::string& requestID,
                         std::function<void(ZADSDKCoreControllerDelegate&)> onQueue,
                         std::function<void(ZADSDKCoreControllerDelegate&)> onMain);
    // Calls the load controller on the main queue, unless it has gone meanwhile.
    static void tellOnMainQueue(const std::shared_ptr<ZADSDKCoreControllerDelegate>& delegate,
                                std::function<void(ZADSDKCoreControllerDelegate&)> call);
    // Ends the request of that ticket, if still unanswered, with the time-out error.
    void timeOutTicket(uint64_t ticket);
    void storeConstants(const Parameters& constants);
    // A field's value, read on the lock queue (the caller waits).
    template <class T> T readOnLockQueue(const T& field) const;
    // Sets a field on the lock queue (the caller goes on).
    template <class T> void writeOnLockQueue(T ZADSDKCoreController::*field, T value);

    std::shared_ptr<DispatchQueue> lockQueue_;
    // On the lock queue only.
    std::shared_ptr<ZADSDKCoreWebView> activeSDKCoreWebView_;
    std::vector<Waiting> pendingActiveWebViewLoadDelegates_;
    std::map<std::string, Waiting> pendingBuildAdURLDelegates_;
    uint64_t requestID_ = 1;
    uint64_t nextTicket_ = 1;
    uint64_t lastWebViewRefreshTimestamp_ = 0;
    bool SDKConstantsNeedReload_ = true;
    // A (re)load was asked for and its end not yet logged.
    bool awaitingLoadOutcome_ = false;
    std::shared_ptr<ZADSDKCoreWebView> activeViewSDKCoreWebView_;
    bool SDKCoreUpdateHandled_ = false;
    bool useNewWebViewsForActiveViewProcessing_ = false;
    std::vector<std::shared_ptr<ZADSDKCoreWebView>> activeViewSDKCoreWebViews_;
    size_t activeViewUnloadCacheMaxSize_ = 3;
    double activeViewSamplingInterval_ = 0.4;
    double swipeToViewSamplingInterval_ = 0;
};
