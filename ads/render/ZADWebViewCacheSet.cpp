#include "ads/render/ZADWebViewCacheSet.h"

#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLRequest.h"
#include "platform/webkit/UIWebView.h"

namespace {
constexpr const char* kBlankPage = "about:blank";
} // namespace

std::shared_ptr<ZADWebViewCacheSet> ZADWebViewCacheSet::initWithMaxCapacity(size_t maxCapacity) {
    auto cache = make<ZADWebViewCacheSet>(maxCapacity);
    cache->observeMemoryWarnings();
    return cache;
}

ZADWebViewCacheSet::~ZADWebViewCacheSet() {
    for (const auto& webView : clearingWebViews_) {
        webView->setDelegate({});
        webView->stopLoading();
    }
}

void ZADWebViewCacheSet::addObject(std::shared_ptr<NSObject> object) {
    auto webView = std::dynamic_pointer_cast<UIWebView>(object);
    if (!webView || maxCapacity() == 0) {
        return;
    }
    std::weak_ptr<ZADWebViewCacheSet> weak = self<ZADWebViewCacheSet>();
    dispatch_async(dispatch_get_main_queue(), [weak, webView] {
        if (auto self = weak.lock()) {
            self->clearWebView(webView);
        }
    });
}

void ZADWebViewCacheSet::clearWebView(const std::shared_ptr<UIWebView>& webView) {
    if (clearingWebViews_.size() >= kMaxClearingWebViews) {
        return; // dropped
    }
    webView->stopLoading();
    // The delegate is this pool's private side, sharing its ownership.
    auto cache = self<ZADWebViewCacheSet>();
    webView->setDelegate(
        std::shared_ptr<UIWebViewDelegate>(cache, static_cast<UIWebViewDelegate*>(this)));
    clearingWebViews_.insert(webView);
    webView->loadRequest(NSURLRequest::requestWithURL(NSURL::URLWithString(kBlankPage)));
}

std::shared_ptr<UIWebView> ZADWebViewCacheSet::stopClearing(UIWebView& webView) {
    for (auto it = clearingWebViews_.begin(); it != clearingWebViews_.end(); ++it) {
        if (it->get() == &webView) {
            auto found = *it;
            clearingWebViews_.erase(it);
            found->setDelegate({});
            // The web view is still telling its delegate: one that is dropped goes after that.
            dispatch_async(dispatch_get_main_queue(), [found] {});
            return found;
        }
    }
    return nullptr;
}

bool ZADWebViewCacheSet::webViewShouldStartLoadWithRequestNavigationType(
    UIWebView&, const std::shared_ptr<NSURLRequest>& request, UIWebViewNavigationType) {
    return request && request->URL() && request->URL()->absoluteString() == kBlankPage;
}

void ZADWebViewCacheSet::webViewDidFinishLoad(UIWebView& webView) {
    auto blanked = stopClearing(webView);
    // A page that kept content of its own is not reused.
    if (blanked && blanked->stringByEvaluatingJavaScriptFromString("document.body.innerHTML").empty()) {
        ZADCacheSet::addObject(blanked);
    }
}

void ZADWebViewCacheSet::webViewDidFailLoadWithError(UIWebView& webView,
                                                     const std::shared_ptr<NSError>&) {
    stopClearing(webView);
}
