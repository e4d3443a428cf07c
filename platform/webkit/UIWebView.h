// A view showing a web page, on a browser engine (WebKitEngine unless a test gives
// another): loads HTML or requests, asks its delegate before every navigation of the page
// and its frames, reports how loads go, runs scripts, and draws the page's pixels like any
// view's content.
//
// What it keeps of the platform's behaviour, and what it leaves out:
// - A navigation the delegate refuses never loads; its own loads (loadRequest, reload,
//   going back) ask the delegate too. Links that open a new window load in this view.
// - A stopped or replaced load fails with NSURLErrorCancelled (-999).
// - stringByEvaluatingJavaScriptFromString waits for the page's answer, letting GLib's
//   main context (where the engine answers, and where the run loop's tasks and timers
//   run) turn meanwhile, for at most scriptTimeLimit() seconds of real time: a page that
//   never answers costs that long and yields "". Asked from inside the delegate's
//   navigation decision, where the page cannot answer until the decision is made, it
//   yields "" at once. evaluateJavaScriptCompletionHandler never waits: it returns at
//   once and its handler hears the answer later (from inside a decision too).
// - The page is drawn from a picture the engine paints after each load and each change
//   of the page's content while the view is in a window (and when it joins one), which
//   arrives a moment later; until the first arrives, only the background shows. The scroll view's
//   content size is the page's document size; moving the scroll view does not scroll the page.
// - Page scaling, data detectors and the media flags are kept but change nothing.
#pragma once

#include "platform/uikit/UIView.h"
#include "platform/webkit/UIWebViewDelegate.h"
#include "platform/webkit/WebViewEngine.h"
#include "platform/webkit/WebViewEngineClient.h"

#include <functional>
#include <memory>
#include <string>

class NSError;
class NSURL;
class NSURLRequest;
class UIImage;
class UIScrollView;

enum UIDataDetectorTypes : unsigned {
    UIDataDetectorTypeNone = 0,
    UIDataDetectorTypePhoneNumber = 1 << 0,
    UIDataDetectorTypeLink = 1 << 1,
    UIDataDetectorTypeAddress = 1 << 2,
    UIDataDetectorTypeCalendarEvent = 1 << 3,
    UIDataDetectorTypeAll = ~0u,
};

class UIWebView : public UIView, private WebViewEngineClient {
    NS_OBJECT(UIWebView)
public:
    // How long a synchronous script may take before it yields "", in seconds.
    static constexpr double kDefaultScriptTimeLimit = 10;

    ~UIWebView() override;
    // When the engine cannot start (no display can be had), the view still exists: every
    // load then fails with the reason and scripts yield "".
    static std::shared_ptr<UIWebView> initWithFrame(const CGRect& frame);
    static std::shared_ptr<UIWebView> alloc() { return initWithFrame(CGRectZero); }

    std::shared_ptr<UIWebViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<UIWebViewDelegate> delegate) { delegate_ = std::move(delegate); }

    // A null base URL loads the page as "about:blank".
    void loadHTMLStringBaseURL(const std::string& html, const std::shared_ptr<NSURL>& baseURL);
    // A null request, or one without a URL, is ignored. The URL and header fields are sent.
    void loadRequest(const std::shared_ptr<NSURLRequest>& request);
    // The page's request: the one last loaded, then where its navigations led.
    std::shared_ptr<NSURLRequest> request() const { return request_; }
    void stopLoading();
    void reload();
    void goBack();
    void goForward();
    bool canGoBack() const;
    bool canGoForward() const;
    bool isLoading() const;

    // The script's result as text (see the header's note on waiting).
    std::string stringByEvaluatingJavaScriptFromString(const std::string& script);
    // The script's result as text, or the error that kept it from one (a script that
    // threw, a view with no engine, a view let go of before the answer).
    using JavaScriptCompletionHandler =
        std::function<void(const std::string& result, const std::shared_ptr<NSError>& error)>;
    // Runs the script and returns at once; the handler (which may be null) runs later on
    // the main thread, exactly once, even when the view has gone by then.
    void evaluateJavaScriptCompletionHandler(const std::string& script,
                                             JavaScriptCompletionHandler completionHandler);
    // Process-wide; tests shorten it.
    static double scriptTimeLimit() { return scriptTimeLimit_; }
    static void setScriptTimeLimit(double seconds) { scriptTimeLimit_ = seconds; }

    std::shared_ptr<UIScrollView> scrollView() const { return scrollView_; }

    bool scalesPageToFit() const { return scalesPageToFit_; }
    void setScalesPageToFit(bool scales) { scalesPageToFit_ = scales; }
    unsigned dataDetectorTypes() const { return dataDetectorTypes_; }
    void setDataDetectorTypes(unsigned types) { dataDetectorTypes_ = types; }
    bool allowsInlineMediaPlayback() const { return allowsInlineMediaPlayback_; }
    void setAllowsInlineMediaPlayback(bool allows) { allowsInlineMediaPlayback_ = allows; }
    bool mediaPlaybackRequiresUserAction() const { return mediaPlaybackRequiresUserAction_; }
    void setMediaPlaybackRequiresUserAction(bool required) {
        mediaPlaybackRequiresUserAction_ = required;
    }
    bool mediaPlaybackAllowsAirPlay() const { return mediaPlaybackAllowsAirPlay_; }
    void setMediaPlaybackAllowsAirPlay(bool allows) { mediaPlaybackAllowsAirPlay_ = allows; }

    // The last picture of the page, or null before the first.
    std::shared_ptr<UIImage> pageSnapshot() const { return snapshot_; }

    void setBounds(const CGRect& bounds) override;
    void drawRect(const CGRect& rect) override;

    // What makes the engine of each new web view; nullptr restores the real engine's.
    static void setEngineFactory(WebViewEngine::Factory factory);
    // The real engine's factory and the default script time limit again (between tests).
    static void resetForTesting();

protected:
    UIWebView();

    void didMoveToWindow() override;

private:
    bool engineShouldStartNavigation(const std::shared_ptr<NSURLRequest>& request,
                                     UIWebViewNavigationType type) override;
    void engineDidStartLoad(const std::string& url) override;
    void engineDidFinishLoad(const std::string& url) override;
    void engineDidFailLoad(const std::shared_ptr<NSError>& error) override;
    void engineContentDidChange(const CGSize& contentSize) override;

    // The engine's, or false (and the failure reported) when there is none.
    bool hasEngine();
    void setRequestURL(const std::string& url);
    // Asks the engine for a new picture of the page, one at a time: a change while one is
    // being painted asks again when it arrives.
    void refreshSnapshot();

    static WebViewEngine::Factory& engineFactory();
    static inline double scriptTimeLimit_ = kDefaultScriptTimeLimit;

    std::unique_ptr<WebViewEngine> engine_;
    // Why there is no engine.
    std::shared_ptr<NSError> engineError_;
    std::weak_ptr<UIWebViewDelegate> delegate_;
    std::shared_ptr<NSURLRequest> request_;
    std::shared_ptr<UIScrollView> scrollView_;
    // How many of the delegate's navigation decisions are under way.
    int navigationDecisions_ = 0;
    std::shared_ptr<UIImage> snapshot_;
    bool snapshotRequested_ = false;
    bool snapshotStale_ = false;
    bool scalesPageToFit_ = false;
    unsigned dataDetectorTypes_ = UIDataDetectorTypeNone;
    bool allowsInlineMediaPlayback_ = false;
    bool mediaPlaybackRequiresUserAction_ = true;
    bool mediaPlaybackAllowsAirPlay_ = true;
};
