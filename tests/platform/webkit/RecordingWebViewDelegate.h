// Logs what a web view tells its delegate, one line a call ("ask zmsg://a 5", "start",
// "finish", "fail -999"), and refuses the navigations the test names.
#pragma once

#include "platform/foundation/NSError.h"
#include "platform/foundation/NSURLRequest.h"
#include "platform/webkit/UIWebView.h"

#include <functional>
#include <string>
#include <vector>

class RecordingWebViewDelegate : public UIWebViewDelegate {
public:
    bool
    webViewShouldStartLoadWithRequestNavigationType(UIWebView& webView,
                                                    const std::shared_ptr<NSURLRequest>& request,
                                                    UIWebViewNavigationType type) override {
        std::string url = request->URL() ? request->URL()->absoluteString() : "(none)";
        log.push_back("ask " + url + " " + std::to_string(static_cast<int>(type)));
        if (onAsk) {
            onAsk(webView);
        }
        return !refuse(url);
    }
    void webViewDidStartLoad(UIWebView&) override { log.push_back("start"); }
    void webViewDidFinishLoad(UIWebView& webView) override {
        log.push_back("finish");
        if (onFinish) {
            onFinish(webView);
        }
    }
    void webViewDidFailLoadWithError(UIWebView&, const std::shared_ptr<NSError>& error) override {
        log.push_back("fail " + std::to_string(error->code()));
        lastError = error;
    }

    // Whether to refuse a navigation to that URL; none is refused at first.
    std::function<bool(const std::string&)> refuse = [](const std::string&) { return false; };
    std::function<void(UIWebView&)> onAsk;
    std::function<void(UIWebView&)> onFinish;
    std::vector<std::string> log;
    std::shared_ptr<NSError> lastError;
};
