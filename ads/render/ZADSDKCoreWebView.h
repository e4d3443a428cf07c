// The core page's web view: one hidden ad view that loads the ad server's core page, runs
// the engine's commands in it once it has loaded, and turns the page's zmsg messages into
// calls on the core page's handler and the active-view handler.
//
// States: 0 not loaded, 1 load requested, 2 the core page's load started, 3 loaded,
// 4 load failed. A refresh (from 0, 3 or 4) asks for the page. The only navigation ever
// allowed is a load of the core page itself, unless one has started (then everything is
// refused: a redirect, a frame); once it has loaded, the page's zmsg messages go to the
// handlers and never load. Commands wait for state 3 (the 50 newest at most); in state 4 new ones
// are dropped. One-time observers hear of each load's end.
//
// Every field lives on the view's own serial queue; web-view callbacks, loads and scripts
// run on the main thread, and observers are called there.
#pragma once

#include "ads/render/ZADActiveViewZMSGHandlerDelegate.h"
#include "ads/render/ZADAdViewDelegate.h"
#include "platform/foundation/PlistValue.h"

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

class DispatchQueue;
class ZADActiveViewObserver;
class ZADActiveViewZMSGHandler;
class ZADAdView;
class ZADSDKCoreWebViewNotification;
class ZADSDKCoreZMSGHandler;

class ZADSDKCoreWebView : public ZADAdViewDelegate, public ZADActiveViewZMSGHandlerDelegate {
    NS_OBJECT(ZADSDKCoreWebView)
public:
    enum State : int64_t {
        NotLoaded = 0,
        LoadRequested = 1,
        LoadStarted = 2,
        Loaded = 3,
        LoadFailed = 4,
    };
    static constexpr size_t kMaximumPendingJSCommands = 50;
    static constexpr const char* kSDKCorePagePath = "/zmads/static/sdk/native/sdk-core-v40.html";

    static std::shared_ptr<ZADSDKCoreWebView> init();
    ~ZADSDKCoreWebView() override;

    // The core page on the ad server the engine is set to.
    static std::string SDKCoreURLString();

    // Main thread. Asks for the core page unless a load is already under way, then adds
    // the observer (which may be null).
    void
    refreshSDKCoreAndNotifyObserver(const std::shared_ptr<ZADSDKCoreWebViewNotification>& observer);
    // Any thread. The observer is held until it has heard of one load's end: at once when
    // the page has loaded or failed, else when the load under way ends. Null is ignored.
    void addObserverForOneTimeNotification(
        const std::shared_ptr<ZADSDKCoreWebViewNotification>& observer);
    void removeObserver(const std::shared_ptr<ZADSDKCoreWebViewNotification>& observer);

    // Any thread. The command runs in the page, in order, once it has loaded.
    void enqueueJavaScriptCommand(std::string command);
    // Hands the waiting commands to the page, when it has loaded.
    void dispatchPendingJavaScriptCommands();
    // Calls the page's ROZU_ReceiveMessage (see ZADAdView).
    void postJSNotificationUserInfo(const std::string& name,
                                    const std::optional<PlistValue::Dictionary>& userInfo);

    State state() const;
    void setState(State state);
    bool hasSDKCoreLoadedAtLeastOnce() const;
    void setHasSDKCoreLoadedAtLeastOnce(bool loaded);

    // Active-view units of the page, by id: an observer is kept weakly, and an id counts
    // as running from its first observer until the page untracks it or all are cleared.
    void
    setActiveViewObserverForActiveViewID(const std::shared_ptr<ZADActiveViewObserver>& observer,
                                         uint64_t activeViewID);
    void removeActiveViewObserverForActiveViewID(uint64_t activeViewID);
    // Forgets every unit; their observers hear that monitoring stopped, on this thread.
    void clearAllActiveViewInstances();
    bool isActiveViewRunning() const;

    const std::shared_ptr<ZADAdView>& adView() const { return adView_; }
    const std::shared_ptr<ZADSDKCoreZMSGHandler>& SDKCoreZMSGHandler() const {
        return SDKCoreZMSGHandler_;
    }
    const std::shared_ptr<ZADActiveViewZMSGHandler>& activeViewZMSGHandler() const {
        return activeViewZMSGHandler_;
    }

    // The hidden ad view's callbacks.
    bool
    adViewShouldStartLoadWithRequestNavigationType(ZADAdView& adView,
                                                   const std::shared_ptr<NSURLRequest>& request,
                                                   UIWebViewNavigationType navigationType) override;
    void adViewDidFinishLoad(ZADAdView& adView) override;
    void adViewDidFailLoadWithError(ZADAdView& adView,
                                    const std::shared_ptr<NSError>& error) override;

    // The active-view handler's callbacks.
    void activeViewZMSGHandlerDidReceiveVisibilityNotificationForActiveViewID(
        ZADActiveViewZMSGHandler& handler, bool visible, int64_t activeViewID) override;
    void activeViewZMSGHandlerDidReceiveUntrackNotificationForActiveViewID(
        ZADActiveViewZMSGHandler& handler, int64_t activeViewID) override;

private:
    ZADSDKCoreWebView();

    // On the lock queue: the observers hear of the load's end, unless it is under way.
    void notifyObserversOnLockQueue();
    void dispatchPendingJavaScriptCommandsOnLockQueue();
    // The observer of an id, null when it has none or its observer is gone. Lock queue.
    std::shared_ptr<ZADActiveViewObserver>
    activeViewObserverOnLockQueue(uint64_t activeViewID) const;

    std::shared_ptr<DispatchQueue> lockQueue_;
    std::shared_ptr<ZADAdView> adView_;
    std::shared_ptr<ZADAdViewDelegate> adViewDelegate_;
    std::shared_ptr<ZADSDKCoreZMSGHandler> SDKCoreZMSGHandler_;
    std::shared_ptr<ZADActiveViewZMSGHandler> activeViewZMSGHandler_;

    // On the lock queue only.
    State state_ = NotLoaded;
    bool hasSDKCoreLoadedAtLeastOnce_ = false;
    std::deque<std::string> pendingJSCommands_;
    std::vector<std::shared_ptr<ZADSDKCoreWebViewNotification>> SDKCoreObservers_;
    std::map<uint64_t, std::weak_ptr<ZADActiveViewObserver>> activeViewObservers_;
    std::set<uint64_t> runningActiveViewObserverIdentifiers_;
};
