// The ad web-view container, as far as the core page's web view stands on it: a view
// holding a platform web view, whose navigations and load results it passes to its
// delegate, and through which the engine runs scripts in the page.
//
// Kept from the full container: the User-Agent header of the first request that carries
// one becomes the device's user agent for the whole process (the engine's own requests
// send it); a script run
// "asynchronously" is wrapped in a zero-delay timer of the page, so it runs after the
// current call returns, and nothing waits for the page meanwhile; messages to the page go
// through "ROZU_ReceiveMessage". Left for the full container: the web-view pool, the page
// event queue, orientation, gestures, video and the active-view reporter.
#pragma once

#include "platform/foundation/ErrorOr.h"
#include "platform/foundation/PlistValue.h"
#include "platform/uikit/UIView.h"
#include "platform/webkit/UIWebViewDelegate.h"

#include <memory>
#include <optional>
#include <string>

class NSURL;
class NSURLRequest;
class UIWebView;
class ZADAdViewDelegate;

class ZADAdView : public UIView, private UIWebViewDelegate {
    NS_OBJECT(ZADAdView)
public:
    static std::shared_ptr<ZADAdView> initWithFrame(const CGRect& frame);

    std::shared_ptr<ZADAdViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<ZADAdViewDelegate> delegate) { delegate_ = std::move(delegate); }

    void loadRequest(const std::shared_ptr<NSURLRequest>& request);
    // Registers the base URL for this view (setURLForView), then loads the page.
    void loadHTMLStringBaseURL(const std::string& html, const std::shared_ptr<NSURL>& baseURL);
    // The page address registered for `view` in the process's ad-URL stash, through which
    // the script interceptor finds the ad view of a page's request; the address registered
    // before is taken out first.
    void setURLForView(const std::shared_ptr<NSURL>& URL, const std::shared_ptr<UIView>& view);
    const std::shared_ptr<NSURL>& URL() const { return URL_; }
    std::shared_ptr<NSURLRequest> request() const;
    bool isLoading() const;
    void stopLoading();

    // Runs the script now and answers the page's result as text (the web view's wait and
    // its time limit apply).
    std::string stringByEvaluatingJavaScriptFromString(const std::string& script);
    // Runs the script after a zero-delay timer of the page; returns at once, without
    // waiting for the page, and the result is ignored.
    void executeJavaScriptAsynchronouslyFromString(const std::string& script);
    // The script executeJavaScriptAsynchronouslyFromString hands the page: `script` inside
    // the page's zero-delay timer.
    static std::string JSCommandForAsynchronousScript(const std::string& script);
    // Calls the page's ROZU_ReceiveMessage with the name and, when given, the user info,
    // both as JSON: nothing the page or a server sent is ever pasted into script text.
    // Returns at once; a user info JSON cannot say is logged and nothing is sent.
    void postJSNotificationUserInfo(const std::string& name,
                                    const std::optional<PlistValue::Dictionary>& userInfo);
    // The script postJSNotificationUserInfo runs; the JSON writer's error when the user
    // info holds what JSON cannot say.
    static ErrorOr<std::string>
    JSCommandForNotificationNameUserInfo(const std::string& name,
                                         const std::optional<PlistValue::Dictionary>& userInfo);

    std::shared_ptr<UIWebView> webView() const { return webView_; }

protected:
    ZADAdView() = default;

private:
    bool webViewShouldStartLoadWithRequestNavigationType(
        UIWebView& webView, const std::shared_ptr<NSURLRequest>& request,
        UIWebViewNavigationType navigationType) override;
    void webViewDidStartLoad(UIWebView& webView) override;
    void webViewDidFinishLoad(UIWebView& webView) override;
    void webViewDidFailLoadWithError(UIWebView& webView,
                                     const std::shared_ptr<NSError>& error) override;

    std::shared_ptr<UIWebView> webView_;
    std::weak_ptr<ZADAdViewDelegate> delegate_;
    std::shared_ptr<NSURL> URL_;
};
