#include "ads/render/ZADSDKCoreWebView.h"

#include "ads/signals/ZADRunOnMainThread.h"

#include "ads/render/ZADActiveViewObserver.h"
#include "ads/render/ZADActiveViewZMSGHandler.h"
#include "ads/render/ZADAdServer.h"
#include "ads/render/ZADAdView.h"
#include "ads/render/ZADCSI.h"
#include "ads/render/ZADCSITimeRecorder.h"
#include "ads/render/ZADNotification.h"
#include "ads/render/ZADSDKCoreWebViewNotification.h"
#include "ads/render/ZADSDKCoreZMSGHandler.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSError.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSURLError.h"
#include "platform/foundation/NSURLRequest.h"

#include <algorithm>

namespace {

constexpr const char* kLockQueueLabel = "com.zivido.vazer.sdk-core-web-view";
constexpr const char* kLoadTimingAction = "load_ad_ios";
// From asking for the core page to its load's end.
constexpr const char* kLoadTimingVariable = "jsf_ios";

std::shared_ptr<ZADCSITimeRecorder> loadTimeRecorder() {
    return ZADCSI::sharedInstance()->timeRecorderForAction(kLoadTimingAction);
}

} // namespace

ZADSDKCoreWebView::ZADSDKCoreWebView()
    : lockQueue_(dispatch_queue_create(kLockQueueLabel, DISPATCH_QUEUE_SERIAL)),
      adView_(ZADAdView::initWithFrame(CGRectZero)), adViewDelegate_(ZADAdViewDelegate::init()),
      SDKCoreZMSGHandler_(ZADSDKCoreZMSGHandler::init()),
      activeViewZMSGHandler_(ZADActiveViewZMSGHandler::init()) {}

std::shared_ptr<ZADSDKCoreWebView> ZADSDKCoreWebView::init() {
    auto webView = make<ZADSDKCoreWebView>();
    webView->adView_->setHidden(true);
    webView->adView_->setDelegate(webView->weakSelf<ZADSDKCoreWebView>());
    webView->SDKCoreZMSGHandler_->setSDKCoreWebView(webView->weakSelf<ZADSDKCoreWebView>());
    webView->activeViewZMSGHandler_->setDelegate(
        std::static_pointer_cast<ZADActiveViewZMSGHandlerDelegate>(webView));
    return webView;
}

ZADSDKCoreWebView::~ZADSDKCoreWebView() {
    // The last owner may let go on any thread; the view is the main thread's.
    ZADRunOnMainThread([adView = adView_] {
        adView->setDelegate({});
        adView->removeFromSuperview();
    });
}

std::string ZADSDKCoreWebView::SDKCoreURLString() {
    return ZADAdServer::URLForPath(kSDKCorePagePath);
}

void ZADSDKCoreWebView::refreshSDKCoreAndNotifyObserver(
    const std::shared_ptr<ZADSDKCoreWebViewNotification>& observer) {
    ZADRunOnMainThread([weak = weakSelf<ZADSDKCoreWebView>(), observer] {
        auto self = weak.lock();
        if (!self) {
            return;
        }
        State current = self->state();
        if (current != LoadRequested && current != LoadStarted) {
            auto url = NSURL::URLWithString(SDKCoreURLString());
            if (!url) {
                // An ad server setting that makes no URL: the load has failed already.
                NSLog("ZADSDKCoreWebView: the core page's URL cannot be made from %@",
                      SDKCoreURLString());
                self->setState(LoadFailed);
            } else {
                if (auto recorder = loadTimeRecorder()) {
                    recorder->startTimingVariableWithName(kLoadTimingVariable);
                }
                self->setState(LoadRequested);
                self->adView_->loadRequest(NSURLRequest::requestWithURL(url));
            }
        }
        self->addObserverForOneTimeNotification(observer);
    });
}

void ZADSDKCoreWebView::addObserverForOneTimeNotification(
    const std::shared_ptr<ZADSDKCoreWebViewNotification>& observer) {
    if (!observer) {
        return;
    }
    auto self = this->self<ZADSDKCoreWebView>();
    dispatch_async(lockQueue_, [self, observer] {
        auto& observers = self->SDKCoreObservers_;
        if (std::find(observers.begin(), observers.end(), observer) == observers.end()) {
            observers.push_back(observer);
        }
        if (self->state_ == Loaded || self->state_ == LoadFailed) {
            self->notifyObserversOnLockQueue();
        }
    });
}

void ZADSDKCoreWebView::removeObserver(
    const std::shared_ptr<ZADSDKCoreWebViewNotification>& observer) {
    dispatch_sync(lockQueue_, [&] { std::erase(SDKCoreObservers_, observer); });
}

void ZADSDKCoreWebView::notifyObserversOnLockQueue() {
    if (state_ == LoadRequested || state_ == LoadStarted) {
        return;
    }
    auto self = this->self<ZADSDKCoreWebView>();
    for (auto& observer : SDKCoreObservers_) {
        dispatch_async(dispatch_get_main_queue(), [self, observer] {
            observer->didFinishLoadingSDKCoreInSDKCoreWebView(*self);
        });
    }
    SDKCoreObservers_.clear();
}

void ZADSDKCoreWebView::enqueueJavaScriptCommand(std::string command) {
    auto self = this->self<ZADSDKCoreWebView>();
    dispatch_async(lockQueue_, [self, command = std::move(command)]() mutable {
        if (self->state_ == LoadFailed) {
            return;
        }
        // The oldest commands give way: what the engine asks last matters most.
        while (self->pendingJSCommands_.size() >= kMaximumPendingJSCommands) {
            self->pendingJSCommands_.pop_front();
        }
        self->pendingJSCommands_.push_back(std::move(command));
        self->dispatchPendingJavaScriptCommandsOnLockQueue();
    });
}

void ZADSDKCoreWebView::dispatchPendingJavaScriptCommands() {
    auto self = this->self<ZADSDKCoreWebView>();
    dispatch_async(lockQueue_, [self] { self->dispatchPendingJavaScriptCommandsOnLockQueue(); });
}

void ZADSDKCoreWebView::dispatchPendingJavaScriptCommandsOnLockQueue() {
    if (state_ != Loaded) {
        return;
    }
    for (auto& command : pendingJSCommands_) {
        dispatch_async(dispatch_get_main_queue(), [adView = adView_, command = std::move(command)] {
            adView->executeJavaScriptAsynchronouslyFromString(command);
        });
    }
    pendingJSCommands_.clear();
}

void ZADSDKCoreWebView::postJSNotificationUserInfo(
    const std::string& name, const std::optional<PlistValue::Dictionary>& userInfo) {
    adView_->postJSNotificationUserInfo(name, userInfo);
}

ZADSDKCoreWebView::State ZADSDKCoreWebView::state() const {
    State current = NotLoaded;
    dispatch_sync(lockQueue_, [&] { current = state_; });
    return current;
}

void ZADSDKCoreWebView::setState(State state) {
    auto self = this->self<ZADSDKCoreWebView>();
    dispatch_async(lockQueue_, [self, state] { self->state_ = state; });
}

bool ZADSDKCoreWebView::hasSDKCoreLoadedAtLeastOnce() const {
    bool loaded = false;
    dispatch_sync(lockQueue_, [&] { loaded = hasSDKCoreLoadedAtLeastOnce_; });
    return loaded;
}

void ZADSDKCoreWebView::setHasSDKCoreLoadedAtLeastOnce(bool loaded) {
    auto self = this->self<ZADSDKCoreWebView>();
    dispatch_async(lockQueue_, [self, loaded] { self->hasSDKCoreLoadedAtLeastOnce_ = loaded; });
}

bool ZADSDKCoreWebView::adViewShouldStartLoadWithRequestNavigationType(
    ZADAdView& adView, const std::shared_ptr<NSURLRequest>& request,
    UIWebViewNavigationType navigationType) {
    State current = state();
    if (current == LoadStarted || !request || !request->URL()) {
        return false;
    }
    if (request->URL()->absoluteString() == SDKCoreURLString()) {
        setState(LoadStarted);
        return true;
    }
    if (current != Loaded || !ZADNotification::isNotificationURL(request->URL())) {
        return false;
    }
    auto adViewHandle = adView.self<ZADAdView>();
    if (SDKCoreZMSGHandler_->handleRequestAdView(request, adViewHandle) ||
        activeViewZMSGHandler_->handleRequestAdView(request, adViewHandle)) {
        return false;
    }
    return adViewDelegate_->adViewShouldStartLoadWithRequestNavigationType(adView, request,
                                                                           navigationType);
}

void ZADSDKCoreWebView::adViewDidFinishLoad(ZADAdView& adView) {
    if (state() == LoadStarted) {
        if (auto recorder = loadTimeRecorder()) {
            recorder->endTimingVariableWithName(kLoadTimingVariable);
        }
        setState(Loaded);
        setHasSDKCoreLoadedAtLeastOnce(true);
    }
    adViewDelegate_->adViewDidFinishLoad(adView);
    auto self = this->self<ZADSDKCoreWebView>();
    dispatch_async(lockQueue_, [self] {
        self->dispatchPendingJavaScriptCommandsOnLockQueue();
        self->notifyObserversOnLockQueue();
    });
}

void ZADSDKCoreWebView::adViewDidFailLoadWithError(ZADAdView& adView,
                                                   const std::shared_ptr<NSError>& error) {
    std::string failingURL;
    if (error) {
        auto found = error->userInfo().find(NSErrorFailingURLStringKey);
        if (found != error->userInfo().end() && found->second.string()) {
            failingURL = *found->second.string();
        }
    }
    // Before the page's load has started nothing else can be loading: a failure then (no
    // engine, a port the engine will not reach) is the core page's too, whatever its URL.
    if (failingURL == SDKCoreURLString() || state() == LoadRequested) {
        if (auto recorder = loadTimeRecorder()) {
            recorder->cancelTimingVariableWithName(kLoadTimingVariable);
        }
        setState(LoadFailed);
    }
    adViewDelegate_->adViewDidFailLoadWithError(adView, error);
    auto self = this->self<ZADSDKCoreWebView>();
    dispatch_async(lockQueue_, [self] { self->notifyObserversOnLockQueue(); });
}

void ZADSDKCoreWebView::setActiveViewObserverForActiveViewID(
    const std::shared_ptr<ZADActiveViewObserver>& observer, uint64_t activeViewID) {
    auto self = this->self<ZADSDKCoreWebView>();
    dispatch_async(lockQueue_, [self, weakObserver = std::weak_ptr(observer), activeViewID] {
        auto observer = weakObserver.lock();
        if (!observer || self->activeViewObserverOnLockQueue(activeViewID)) {
            return;
        }
        self->activeViewObservers_[activeViewID] = observer;
        self->runningActiveViewObserverIdentifiers_.insert(activeViewID);
    });
}

void ZADSDKCoreWebView::removeActiveViewObserverForActiveViewID(uint64_t activeViewID) {
    dispatch_sync(lockQueue_, [&] { activeViewObservers_.erase(activeViewID); });
}

void ZADSDKCoreWebView::clearAllActiveViewInstances() {
    std::vector<std::shared_ptr<ZADActiveViewObserver>> formerObservers;
    dispatch_sync(lockQueue_, [&] {
        runningActiveViewObserverIdentifiers_.clear();
        for (const auto& [activeViewID, weakObserver] : activeViewObservers_) {
            if (auto observer = weakObserver.lock()) {
                formerObservers.push_back(std::move(observer));
            }
        }
        activeViewObservers_.clear();
    });
    for (const auto& observer : formerObservers) {
        observer->activeViewMonitoringDidStop();
    }
}

bool ZADSDKCoreWebView::isActiveViewRunning() const {
    bool running = false;
    dispatch_sync(lockQueue_, [&] { running = !runningActiveViewObserverIdentifiers_.empty(); });
    return running;
}

std::shared_ptr<ZADActiveViewObserver>
ZADSDKCoreWebView::activeViewObserverOnLockQueue(uint64_t activeViewID) const {
    auto found = activeViewObservers_.find(activeViewID);
    return found == activeViewObservers_.end() ? nullptr : found->second.lock();
}

void ZADSDKCoreWebView::activeViewZMSGHandlerDidReceiveVisibilityNotificationForActiveViewID(
    ZADActiveViewZMSGHandler&, bool visible, int64_t activeViewID) {
    // Ids are the page's numbers: one below zero names no unit.
    if (activeViewID < 0) {
        return;
    }
    auto self = this->self<ZADSDKCoreWebView>();
    dispatch_async(lockQueue_, [self, visible, id = static_cast<uint64_t>(activeViewID)] {
        if (auto observer = self->activeViewObserverOnLockQueue(id)) {
            dispatch_async(dispatch_get_main_queue(),
                           [observer, visible] { observer->activeViewVisibilityChanged(visible); });
        }
    });
}

void ZADSDKCoreWebView::activeViewZMSGHandlerDidReceiveUntrackNotificationForActiveViewID(
    ZADActiveViewZMSGHandler&, int64_t activeViewID) {
    if (activeViewID < 0) {
        return;
    }
    auto self = this->self<ZADSDKCoreWebView>();
    dispatch_async(lockQueue_, [self, id = static_cast<uint64_t>(activeViewID)] {
        self->runningActiveViewObserverIdentifiers_.erase(id);
        auto observer = self->activeViewObserverOnLockQueue(id);
        self->activeViewObservers_.erase(id);
        if (observer) {
            dispatch_async(dispatch_get_main_queue(),
                           [observer] { observer->activeViewMonitoringDidStop(); });
        }
    });
}
