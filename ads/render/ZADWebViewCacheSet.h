// The pool of blank web views ad views reuse. A web view handed in is blanked first (its
// loading stopped, "about:blank" loaded) and enters the pool only when its page is then
// really empty; at most 3 are being blanked at a time, others are dropped, and a pool of
// capacity 0 keeps nothing. Web views are handled on the main thread only.
#pragma once

#include "ads/signals/ZADCacheSet.h"
#include "platform/webkit/UIWebViewDelegate.h"

#include <cstddef>
#include <memory>
#include <set>

class UIWebView;

class ZADWebViewCacheSet : public ZADCacheSet, private UIWebViewDelegate {
    NS_OBJECT(ZADWebViewCacheSet)
public:
    static constexpr size_t kMaxClearingWebViews = 3;

    static std::shared_ptr<ZADWebViewCacheSet> initWithMaxCapacity(size_t maxCapacity);
    ~ZADWebViewCacheSet() override;

    // Given a web view: blanked on the main queue later, then pooled.
    void addObject(std::shared_ptr<NSObject> object) override;

private:
    explicit ZADWebViewCacheSet(size_t maxCapacity) : ZADCacheSet(maxCapacity) {}

    void clearWebView(const std::shared_ptr<UIWebView>& webView);
    // Takes the web view out of those being blanked; null when it is not one of them.
    std::shared_ptr<UIWebView> stopClearing(UIWebView& webView);

    bool webViewShouldStartLoadWithRequestNavigationType(
        UIWebView& webView, const std::shared_ptr<NSURLRequest>& request,
        UIWebViewNavigationType navigationType) override;
    void webViewDidFinishLoad(UIWebView& webView) override;
    void webViewDidFailLoadWithError(UIWebView& webView,
                                     const std::shared_ptr<NSError>& error) override;

    // Main thread only.
    std::set<std::shared_ptr<UIWebView>> clearingWebViews_;
};
