// What a web view asks and tells its delegate as pages load. Every method is optional:
// the default bodies are what an absent method means.
#pragma once

#include <memory>

class NSError;
class NSURLRequest;
class UIWebView;

// Why a navigation starts, numbered as the platform numbers them.
enum class UIWebViewNavigationType {
    LinkClicked = 0,
    FormSubmitted = 1,
    BackForward = 2,
    Reload = 3,
    FormResubmitted = 4,
    Other = 5,
};

class UIWebViewDelegate {
public:
    virtual ~UIWebViewDelegate() = default;
    // Asked before every navigation of the page and of its frames, the web view's own
    // loads included; NO means the navigation never happens.
    virtual bool
    webViewShouldStartLoadWithRequestNavigationType(UIWebView& webView,
                                                    const std::shared_ptr<NSURLRequest>& request,
                                                    UIWebViewNavigationType navigationType) {
        return true;
    }
    virtual void webViewDidStartLoad(UIWebView& webView) {}
    virtual void webViewDidFinishLoad(UIWebView& webView) {}
    // A load that did not finish: NSURLErrorDomain errors, NSURLErrorCancelled (-999) when
    // it was stopped or replaced by another load.
    virtual void webViewDidFailLoadWithError(UIWebView& webView,
                                             const std::shared_ptr<NSError>& error) {}
};
