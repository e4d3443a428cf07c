#include "platform/webkit/UIWebView.h"

#include "platform/base/NSRunLoop.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLRequest.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/webkit/WebKitEngine.h"

#include <glib.h>

#include <algorithm>
#include <cmath>

namespace {

// Turns GLib's default main context, where engines answer, until `done` or until
// `seconds` of real time have passed; whether `done` came. Real time, not the run loop's
// clock: the engine's work runs in its own process, which a mocked clock does not move.
bool runMainContextUntil(const bool& done, double seconds) {
    if (done) {
        return true;
    }
    bool expired = false;
    auto milliseconds = static_cast<guint>(std::clamp(std::ceil(seconds * 1000), 0.0, 1e9));
    GSource* timeout = g_timeout_source_new(milliseconds);
    g_source_set_callback(
        timeout,
        [](gpointer flag) -> gboolean {
            *static_cast<bool*>(flag) = true;
            return G_SOURCE_REMOVE;
        },
        &expired, nullptr);
    g_source_attach(timeout, g_main_context_default());
    while (!done && !expired) {
        g_main_context_iteration(g_main_context_default(), TRUE);
    }
    g_source_destroy(timeout);
    g_source_unref(timeout);
    return done;
}

} // namespace

UIWebView::UIWebView() = default;

UIWebView::~UIWebView() = default;

std::shared_ptr<UIWebView> UIWebView::initWithFrame(const CGRect& frame) {
    auto view = make<UIWebView>();
    view->scrollView_ =
        UIScrollView::initWithFrame(CGRectMake(0, 0, frame.size.width, frame.size.height));
    view->scrollView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                           UIViewAutoresizingFlexibleHeight);
    view->addSubview(view->scrollView_);
    auto engine = engineFactory()(*view);
    if (engine.hasError()) {
        NSLog("UIWebView: no web engine: %@", engine.error()->localizedDescription());
        view->engineError_ = engine.error();
    } else {
        view->engine_ = std::move(engine).value();
    }
    view->setFrame(frame);
    return view;
}

WebViewEngine::Factory& UIWebView::engineFactory() {
    static WebViewEngine::Factory factory = &WebKitEngine::make;
    return factory;
}

void UIWebView::setEngineFactory(WebViewEngine::Factory factory) {
    engineFactory() = factory ? std::move(factory) : WebViewEngine::Factory(&WebKitEngine::make);
}

void UIWebView::resetForTesting() {
    setEngineFactory(nullptr);
    scriptTimeLimit_ = kDefaultScriptTimeLimit;
}

bool UIWebView::hasEngine() {
    if (engine_) {
        return true;
    }
    // As a load that failed: the delegate hears of it after the call returns.
    NSRunLoop::mainRunLoop().postTask([weak = weakSelf<UIWebView>()] {
        if (auto view = weak.lock()) {
            view->engineDidFailLoad(view->engineError_);
        }
    });
    return false;
}

void UIWebView::loadHTMLStringBaseURL(const std::string& html,
                                      const std::shared_ptr<NSURL>& baseURL) {
    requireMainThread("loadHTMLStringBaseURL");
    if (hasEngine()) {
        engine_->loadHTMLStringBaseURL(html, baseURL ? baseURL->absoluteString() : "");
    }
}

void UIWebView::loadRequest(const std::shared_ptr<NSURLRequest>& request) {
    requireMainThread("loadRequest");
    if (!request || !request->URL()) {
        return;
    }
    if (hasEngine()) {
        engine_->loadRequest(*request);
    }
}

void UIWebView::stopLoading() {
    if (engine_) {
        engine_->stopLoading();
    }
}

void UIWebView::reload() {
    if (hasEngine()) {
        engine_->reload();
    }
}

void UIWebView::goBack() {
    if (engine_) {
        engine_->goBack();
    }
}

void UIWebView::goForward() {
    if (engine_) {
        engine_->goForward();
    }
}

bool UIWebView::canGoBack() const {
    return engine_ && engine_->canGoBack();
}

bool UIWebView::canGoForward() const {
    return engine_ && engine_->canGoForward();
}

bool UIWebView::isLoading() const {
    return engine_ && engine_->isLoading();
}

std::string UIWebView::stringByEvaluatingJavaScriptFromString(const std::string& script) {
    requireMainThread("stringByEvaluatingJavaScriptFromString");
    if (!engine_) {
        return "";
    }
    if (navigationDecisions_ > 0) {
        NSLog("UIWebView: a script cannot run while a navigation of its page is being "
              "decided; it yields nothing");
        return "";
    }
    // The answer lives on the heap: one that comes after the wait gave up writes here,
    // not into a returned frame.
    struct Answer {
        bool arrived = false;
        std::string text;
    };
    auto answer = std::make_shared<Answer>();
    // The wait runs other work, which may let go of this view.
    auto keepAlive = self<UIWebView>();
    engine_->evaluateJavaScript(script, [answer](ErrorOr<std::string> result) {
        answer->arrived = true;
        if (!result.hasError()) {
            answer->text = std::move(result).value();
        }
    });
    if (!runMainContextUntil(answer->arrived, scriptTimeLimit_)) {
        NSLog("UIWebView: the page did not answer a script within %g s", scriptTimeLimit_);
        return "";
    }
    return answer->text;
}

void UIWebView::evaluateJavaScriptCompletionHandler(const std::string& script,
                                                    JavaScriptCompletionHandler completionHandler) {
    requireMainThread("evaluateJavaScriptCompletionHandler");
    // Nothing of this view goes with the handler: the answer may come after it has gone.
    if (!engine_) {
        NSRunLoop::mainRunLoop().postTask(
            [handler = std::move(completionHandler), error = engineError_] {
                if (handler) {
                    handler("", error);
                }
            });
        return;
    }
    engine_->evaluateJavaScript(
        script, [handler = std::move(completionHandler)](ErrorOr<std::string> result) {
            if (!handler) {
                return;
            }
            if (result.hasError()) {
                handler("", result.error());
            } else {
                handler(result.value(), nullptr);
            }
        });
}

void UIWebView::setBounds(const CGRect& bounds) {
    UIView::setBounds(bounds);
    if (engine_) {
        engine_->setSize(bounds.size);
    }
}

void UIWebView::drawRect(const CGRect& rect) {
    if (snapshot_) {
        snapshot_->drawInRect(CGRectMake(0, 0, snapshot_->size().width, snapshot_->size().height));
    }
}

void UIWebView::didMoveToWindow() {
    refreshSnapshot();
}

bool UIWebView::engineShouldStartNavigation(const std::shared_ptr<NSURLRequest>& request,
                                            UIWebViewNavigationType type) {
    auto delegate = delegate_.lock();
    if (!delegate) {
        return true;
    }
    auto keepAlive = self<UIWebView>();
    ++navigationDecisions_;
    bool allowed = delegate->webViewShouldStartLoadWithRequestNavigationType(*this, request, type);
    --navigationDecisions_;
    return allowed;
}

void UIWebView::setRequestURL(const std::string& url) {
    if (request_ && request_->URL() && request_->URL()->absoluteString() == url) {
        return;
    }
    if (auto parsed = NSURL::URLWithString(url)) {
        request_ = NSURLRequest::requestWithURL(parsed);
    }
}

void UIWebView::engineDidStartLoad(const std::string& url) {
    setRequestURL(url);
    if (auto delegate = delegate_.lock()) {
        auto keepAlive = self<UIWebView>();
        delegate->webViewDidStartLoad(*this);
    }
}

void UIWebView::engineDidFinishLoad(const std::string& url) {
    setRequestURL(url);
    refreshSnapshot();
    if (auto delegate = delegate_.lock()) {
        auto keepAlive = self<UIWebView>();
        delegate->webViewDidFinishLoad(*this);
    }
}

void UIWebView::engineDidFailLoad(const std::shared_ptr<NSError>& error) {
    if (auto delegate = delegate_.lock()) {
        auto keepAlive = self<UIWebView>();
        delegate->webViewDidFailLoadWithError(*this, error);
    }
}

void UIWebView::engineContentDidChange(const CGSize& contentSize) {
    scrollView_->setContentSize(contentSize);
    refreshSnapshot();
}

void UIWebView::refreshSnapshot() {
    // Painting the page costs the engine more than loading it: a view outside any window
    // (a hidden page's) is not painted until it joins one.
    if (!engine_ || !window()) {
        return;
    }
    if (snapshotRequested_) {
        snapshotStale_ = true;
        return;
    }
    snapshotRequested_ = true;
    engine_->takeSnapshot(isOpaque(), [weak = weakSelf<UIWebView>()](CGImageRef image) {
        auto view = weak.lock();
        if (!view) {
            return;
        }
        view->snapshotRequested_ = false;
        if (image) {
            view->snapshot_ = UIImage::imageWithCGImage(std::move(image));
            view->setNeedsDisplay();
        }
        if (view->snapshotStale_) {
            view->snapshotStale_ = false;
            view->refreshSnapshot();
        }
    });
}
