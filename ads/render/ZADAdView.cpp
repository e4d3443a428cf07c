#include "ads/render/ZADAdView.h"

#include "ads/core/NSDictionary+ZADJSONAdditions.h"
#include "ads/core/NSString+ZADJSONAdditions.h"
#include "ads/core/ZADAdURLStash.h"
#include "ads/render/ZADAdViewDelegate.h"
#include "ads/signals/ZADDevice.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSURLRequest.h"
#include "platform/uikit/WeakAction.h"
#include "platform/webkit/UIWebView.h"

std::shared_ptr<ZADAdView> ZADAdView::initWithFrame(const CGRect& frame) {
    auto view = make<ZADAdView>();
    view->setFrame(frame);
    view->webView_ =
        UIWebView::initWithFrame(CGRectMake(0, 0, frame.size.width, frame.size.height));
    view->webView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                        UIViewAutoresizingFlexibleHeight);
    // The web view's delegate is this view's private side, sharing its ownership.
    view->webView_->setDelegate(
        std::shared_ptr<UIWebViewDelegate>(view, static_cast<UIWebViewDelegate*>(view.get())));
    view->addSubview(view->webView_);
    return view;
}

void ZADAdView::loadRequest(const std::shared_ptr<NSURLRequest>& request) {
    webView_->loadRequest(request);
}

void ZADAdView::loadHTMLStringBaseURL(const std::string& html,
                                      const std::shared_ptr<NSURL>& baseURL) {
    setURLForView(baseURL, self<ZADAdView>());
    webView_->loadHTMLStringBaseURL(html, baseURL);
}

void ZADAdView::setURLForView(const std::shared_ptr<NSURL>& URL,
                              const std::shared_ptr<UIView>& view) {
    if (URL_) {
        ZADAdURLStash::remove(URL_);
    }
    URL_ = URL;
    ZADAdURLStash::addForView(URL, view);
}

std::shared_ptr<NSURLRequest> ZADAdView::request() const {
    return webView_->request();
}

bool ZADAdView::isLoading() const {
    return webView_->isLoading();
}

void ZADAdView::stopLoading() {
    webView_->stopLoading();
}

std::string ZADAdView::stringByEvaluatingJavaScriptFromString(const std::string& script) {
    return webView_->stringByEvaluatingJavaScriptFromString(script);
}

void ZADAdView::executeJavaScriptAsynchronouslyFromString(const std::string& script) {
    webView_->evaluateJavaScriptCompletionHandler(JSCommandForAsynchronousScript(script), nullptr);
}

std::string ZADAdView::JSCommandForAsynchronousScript(const std::string& script) {
    // The page's timer returns at once; the script itself runs after the call that hands it
    // over. The line break keeps a command that ends in a line comment from swallowing the
    // wrapper's end.
    return "setTimeout(function(){" + script + "\n}, 1);";
}

ErrorOr<std::string> ZADAdView::JSCommandForNotificationNameUserInfo(
    const std::string& name, const std::optional<PlistValue::Dictionary>& userInfo) {
    std::string call = "ROZU_ReceiveMessage(" + ZADJSONAdditions::zad_JSONStringLiteral(name);
    if (userInfo) {
        auto json = ZADJSONAdditions::zad_JSONStringPretty(*userInfo, false);
        if (json.hasError()) {
            return json.error();
        }
        call += ", " + json.value();
    }
    return call + ");";
}

void ZADAdView::postJSNotificationUserInfo(const std::string& name,
                                           const std::optional<PlistValue::Dictionary>& userInfo) {
    auto script = JSCommandForNotificationNameUserInfo(name, userInfo);
    if (script.hasError()) {
        NSLog("ZADAdView: the page's message %@ was not sent: its user info is not JSON (%@)", name,
              script.error()->localizedDescription());
        return;
    }
    dispatch_async(
        dispatch_get_main_queue(),
        weakCall(weakSelf<ZADAdView>(), [script = std::move(script).value()](ZADAdView& self) {
            self.webView_->evaluateJavaScriptCompletionHandler(script, nullptr);
        }));
}

bool ZADAdView::webViewShouldStartLoadWithRequestNavigationType(
    UIWebView&, const std::shared_ptr<NSURLRequest>& request,
    UIWebViewNavigationType navigationType) {
    // The first request that carries a User-Agent gives the engine's own requests theirs.
    if (auto device = ZADDevice::sharedInstance(); request && device->userAgent().empty()) {
        if (auto header = request->valueForHTTPHeaderField("User-Agent")) {
            device->setUserAgentString(*header);
        }
    }
    auto delegate = delegate_.lock();
    if (!delegate) {
        return true;
    }
    auto keepAlive = self<ZADAdView>();
    return delegate->adViewShouldStartLoadWithRequestNavigationType(*this, request, navigationType);
}

void ZADAdView::webViewDidStartLoad(UIWebView&) {
    if (auto delegate = delegate_.lock()) {
        auto keepAlive = self<ZADAdView>();
        delegate->adViewDidStartLoad(*this);
    }
}

void ZADAdView::webViewDidFinishLoad(UIWebView&) {
    if (auto delegate = delegate_.lock()) {
        auto keepAlive = self<ZADAdView>();
        delegate->adViewDidFinishLoad(*this);
    }
}

void ZADAdView::webViewDidFailLoadWithError(UIWebView&, const std::shared_ptr<NSError>& error) {
    if (auto delegate = delegate_.lock()) {
        auto keepAlive = self<ZADAdView>();
        delegate->adViewDidFailLoadWithError(*this, error);
    }
}
