// The web-view engine on WebKitGTK: one WebKit web view in an off-screen GTK window on
// the X display (our own Xvfb when the process has none). WebKit dispatches on GLib's
// default main context, which the main run loop turns.
//
// Every navigation WebKit decides (the page's, its frames', script's location changes,
// link clicks, form submits, reloads, history moves) goes to the client first, with
// WebKit's navigation type, which numbers as the platform's. Navigations meant for a new
// window (target="_blank", window.open) are asked as such and, allowed, load here: the
// load WebKit then decides is not asked again, though a frame's navigation to the same URL
// is. (WebKit does not say which frame navigates: one that script starts without a user
// gesture just before that load's decision would be taken for it.) Page changes are
// watched by a script of ours in a script world of its own, which the page cannot see or
// disturb.
#pragma once

#include "platform/webkit/WebViewEngine.h"

#include <memory>
#include <string>

class NSError;

typedef struct _GCancellable GCancellable;
typedef struct _GError GError;
typedef struct _GtkWidget GtkWidget;
typedef struct _WebKitNavigationAction WebKitNavigationAction;
typedef struct _WebKitPolicyDecision WebKitPolicyDecision;
typedef struct _WebKitUserContentManager WebKitUserContentManager;
typedef struct _WebKitWebView WebKitWebView;

class WebKitEngine : public WebViewEngine {
public:
    // Fails when GTK cannot start: no display and no Xvfb to make one.
    static ErrorOr<std::unique_ptr<WebViewEngine>> make(WebViewEngineClient& client);
    ~WebKitEngine() override;

    void loadHTMLStringBaseURL(const std::string& html, const std::string& baseURL) override;
    void loadRequest(const NSURLRequest& request) override;
    void stopLoading() override;
    void reload() override;
    void goBack() override;
    void goForward() override;
    bool canGoBack() const override;
    bool canGoForward() const override;
    bool isLoading() const override;
    void evaluateJavaScript(const std::string& script, ScriptCompletion completion) override;
    void setSize(const CGSize& size) override;
    void takeSnapshot(bool opaque, SnapshotCompletion completion) override;

    // What a failed load of `url` tells the delegate: NSURLErrorDomain codes for WebKit's,
    // GIO's and the resolver's errors (a cancelled load is NSURLErrorCancelled); null for
    // a load that stopped because its navigation was refused, which is no failure.
    static std::shared_ptr<NSError> errorForLoadFailure(const GError& error,
                                                        const std::string& url);

private:
    explicit WebKitEngine(WebViewEngineClient& client);

    // Signal handlers.
    static int decidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision, int type,
                            WebKitEngine* engine);
    static GtkWidget* createWebView(WebKitWebView* view, WebKitNavigationAction* action,
                                    WebKitEngine* engine);
    static void loadChanged(WebKitWebView* view, int event, WebKitEngine* engine);
    static int loadFailed(WebKitWebView* view, int event, const char* uri, GError* error,
                          WebKitEngine* engine);
    static void pageChanged(WebKitUserContentManager* manager, void* result, WebKitEngine* engine);
    static void webProcessTerminated(WebKitWebView* view, int reason, WebKitEngine* engine);

    // Asks the client about a navigation; false when it refuses (or its URL is unreadable).
    bool shouldStart(WebKitNavigationAction* action);
    // A navigation meant for a new window: asked as such, then loaded here.
    void openHere(WebKitNavigationAction* action);
    // Whether the navigation is the load openHere started for a new-window URL the client
    // allowed (which is then not asked again); true once at most for each such load.
    bool takeAllowedNewWindowLoad(WebKitNavigationAction* action);

    WebViewEngineClient& client_;
    GtkWidget* window_ = nullptr;
    WebKitWebView* view_ = nullptr;
    WebKitUserContentManager* contentManager_ = nullptr;
    // Cancelled when the engine goes, so that answers still on their way come back empty.
    GCancellable* cancellable_ = nullptr;
    // The URL of a new-window navigation the client allowed, which WebKit then decides
    // again as this view's own load: that load is not asked twice. A load of our own
    // (loadRequest, reload, stopLoading ...) or the end of the page's process takes its
    // place, and the answer goes.
    std::string allowedNewWindowURL_;
    // Whether the load under way failed (WebKit reports it finished all the same).
    bool loadFailed_ = false;
    bool transparent_ = false;
    // False once the engine is gone: a handler whose client let go of the engine (by
    // letting go of its web view) checks it before touching anything more.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
