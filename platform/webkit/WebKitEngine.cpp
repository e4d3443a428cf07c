#include "platform/webkit/WebKitEngine.h"

#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSMutableURLRequest.h"
#include "platform/foundation/NSURLError.h"
#include "platform/foundation/NSURLRequest.h"
#include "platform/webkit/WebViewEngineClient.h"
#include "platform/webkit/XvfbServer.h"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr const char* kScriptWorld = "mixphotos";
constexpr const char* kPageChangedHandler = "pageChanged";
constexpr const char* kScriptErrorDomain = "WebKitJavascriptError";

// Reports the document's size after the page first lays out and after each change of its
// content or viewport, at most once a frame's time, to the page-changed handler.
constexpr const char* kPageWatcher = R"JS((() => {
    let scheduled = false;
    const report = () => {
        scheduled = false;
        const root = document.documentElement;
        window.webkit.messageHandlers.pageChanged.postMessage(
            [root ? root.scrollWidth : 0, root ? root.scrollHeight : 0]);
    };
    const schedule = () => {
        if (!scheduled) {
            scheduled = true;
            setTimeout(report, 16);
        }
    };
    new MutationObserver(schedule).observe(document,
        {subtree: true, childList: true, attributes: true, characterData: true});
    addEventListener('load', schedule);
    addEventListener('resize', schedule);
    schedule();
})();)JS";

// A document larger than this is reported at this size: pages choose what they report.
constexpr double kMaximumContentExtent = 1e6;

// Starts GTK on a display once per process; the outcome stands for the process's life.
ErrorOr<void> startToolkit() {
    static ErrorOr<void> started = []() -> ErrorOr<void> {
        auto display = XvfbServer::ensureDisplay();
        if (display.hasError()) {
            return display.error();
        }
        // No assistive technology listens to an off-screen window: GTK need not look for
        // its bus (unless the user's environment says otherwise).
        setenv("NO_AT_BRIDGE", "1", 0);
        if (!gtk_init_check(nullptr, nullptr)) {
            return makeError("WebKitEngine", 1, "GTK cannot open the display " + display.value());
        }
        return {};
    }();
    return started;
}

std::string textOf(JSCValue* value) {
    if (!jsc_value_is_string(value) && !jsc_value_is_number(value) &&
        !jsc_value_is_boolean(value)) {
        return "";
    }
    char* text = jsc_value_to_string(value);
    std::string result = text ? text : "";
    g_free(text);
    return result;
}

// The picture as a CGImage of cairo's ARGB32 pixels, whatever kind of surface it is.
CGImageRef imageOfSurface(cairo_surface_t* surface) {
    int width = 0;
    int height = 0;
    if (cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_IMAGE) {
        width = cairo_image_surface_get_width(surface);
        height = cairo_image_surface_get_height(surface);
    } else {
        double x1, y1, x2, y2;
        cairo_t* probe = cairo_create(surface);
        cairo_clip_extents(probe, &x1, &y1, &x2, &y2);
        cairo_destroy(probe);
        width = static_cast<int>(x2 - x1);
        height = static_cast<int>(y2 - y1);
    }
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(copy);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(copy);
    auto stride = static_cast<size_t>(cairo_image_surface_get_stride(copy));
    const uint8_t* data = cairo_image_surface_get_data(copy);
    std::vector<uint8_t> pixels(data, data + stride * static_cast<size_t>(height));
    cairo_surface_destroy(copy);
    return CGImage::create(static_cast<size_t>(width), static_cast<size_t>(height),
                           CGImagePixelFormat::ARGB32Premultiplied, stride, std::move(pixels));
}

// A completion on its way through a GAsyncReadyCallback.
template <class Completion> struct Pending { Completion completion; };

} // namespace

ErrorOr<std::unique_ptr<WebViewEngine>> WebKitEngine::make(WebViewEngineClient& client) {
    auto started = startToolkit();
    if (started.hasError()) {
        return started.error();
    }
    return std::unique_ptr<WebViewEngine>(new WebKitEngine(client));
}

WebKitEngine::WebKitEngine(WebViewEngineClient& client) : client_(client) {
    cancellable_ = g_cancellable_new();
    contentManager_ = webkit_user_content_manager_new();
    g_signal_connect(contentManager_, "script-message-received::pageChanged",
                     G_CALLBACK(&WebKitEngine::pageChanged), this);
    webkit_user_content_manager_register_script_message_handler_in_world(
        contentManager_, kPageChangedHandler, kScriptWorld);
    WebKitUserScript* watcher = webkit_user_script_new_for_world(
        kPageWatcher, WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
        WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_END, kScriptWorld, nullptr, nullptr);
    webkit_user_content_manager_add_script(contentManager_, watcher);
    webkit_user_script_unref(watcher);

    view_ = WEBKIT_WEB_VIEW(webkit_web_view_new_with_user_content_manager(contentManager_));
    // Pages may open windows from script: each such navigation goes to the client, which
    // decides, and an allowed one loads in this view.
    webkit_settings_set_javascript_can_open_windows_automatically(
        webkit_web_view_get_settings(view_), TRUE);
    g_signal_connect(view_, "decide-policy", G_CALLBACK(&WebKitEngine::decidePolicy), this);
    g_signal_connect(view_, "create", G_CALLBACK(&WebKitEngine::createWebView), this);
    g_signal_connect(view_, "load-changed", G_CALLBACK(&WebKitEngine::loadChanged), this);
    g_signal_connect(view_, "load-failed", G_CALLBACK(&WebKitEngine::loadFailed), this);
    g_signal_connect(view_, "web-process-terminated",
                     G_CALLBACK(&WebKitEngine::webProcessTerminated), this);
    window_ = gtk_offscreen_window_new();
    gtk_container_add(GTK_CONTAINER(window_), GTK_WIDGET(view_));
    gtk_widget_show_all(window_);
}

WebKitEngine::~WebKitEngine() {
    *alive_ = false;
    g_cancellable_cancel(cancellable_);
    g_signal_handlers_disconnect_by_data(view_, this);
    g_signal_handlers_disconnect_by_data(contentManager_, this);
    // The window owns the web view.
    gtk_widget_destroy(window_);
    g_object_unref(contentManager_);
    g_object_unref(cancellable_);
}

void WebKitEngine::loadHTMLStringBaseURL(const std::string& html, const std::string& baseURL) {
    allowedNewWindowURL_.clear();
    webkit_web_view_load_html(view_, html.c_str(), baseURL.empty() ? nullptr : baseURL.c_str());
}

void WebKitEngine::loadRequest(const NSURLRequest& request) {
    allowedNewWindowURL_.clear();
    WebKitURIRequest* uriRequest = webkit_uri_request_new(request.URL()->absoluteString().c_str());
    if (SoupMessageHeaders* headers = webkit_uri_request_get_http_headers(uriRequest)) {
        for (const auto& [name, value] : request.allHTTPHeaderFields()) {
            soup_message_headers_replace(headers, name.c_str(), value.c_str());
        }
    }
    webkit_web_view_load_request(view_, uriRequest);
    g_object_unref(uriRequest);
}

void WebKitEngine::stopLoading() {
    allowedNewWindowURL_.clear();
    webkit_web_view_stop_loading(view_);
}

void WebKitEngine::reload() {
    allowedNewWindowURL_.clear();
    webkit_web_view_reload(view_);
}

void WebKitEngine::goBack() {
    allowedNewWindowURL_.clear();
    webkit_web_view_go_back(view_);
}

void WebKitEngine::goForward() {
    allowedNewWindowURL_.clear();
    webkit_web_view_go_forward(view_);
}

bool WebKitEngine::canGoBack() const {
    return webkit_web_view_can_go_back(view_);
}

bool WebKitEngine::canGoForward() const {
    return webkit_web_view_can_go_forward(view_);
}

bool WebKitEngine::isLoading() const {
    return webkit_web_view_is_loading(view_);
}

void WebKitEngine::evaluateJavaScript(const std::string& script, ScriptCompletion completion) {
    auto* pending = new Pending<ScriptCompletion>{std::move(completion)};
    webkit_web_view_evaluate_javascript(
        view_, script.data(), static_cast<gssize>(script.size()), nullptr, nullptr, cancellable_,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            std::unique_ptr<Pending<ScriptCompletion>> pending(
                static_cast<Pending<ScriptCompletion>*>(data));
            GError* error = nullptr;
            JSCValue* value =
                webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
            if (!value) {
                auto failure = makeError(kScriptErrorDomain, error ? error->code : 0,
                                         error ? error->message : "the script did not run");
                g_clear_error(&error);
                pending->completion(failure);
                return;
            }
            std::string text = textOf(value);
            g_object_unref(value);
            pending->completion(std::move(text));
        },
        pending);
}

void WebKitEngine::setSize(const CGSize& size) {
    int width = std::max(1, static_cast<int>(std::lround(size.width)));
    int height = std::max(1, static_cast<int>(std::lround(size.height)));
    gtk_widget_set_size_request(GTK_WIDGET(view_), width, height);
    gtk_window_resize(GTK_WINDOW(window_), width, height);
}

void WebKitEngine::takeSnapshot(bool opaque, SnapshotCompletion completion) {
    if (transparent_ == opaque) {
        transparent_ = !opaque;
        GdkRGBA background = {1, 1, 1, opaque ? 1.0 : 0.0};
        webkit_web_view_set_background_color(view_, &background);
    }
    auto* pending = new Pending<SnapshotCompletion>{std::move(completion)};
    webkit_web_view_get_snapshot(
        view_, WEBKIT_SNAPSHOT_REGION_VISIBLE,
        opaque ? WEBKIT_SNAPSHOT_OPTIONS_NONE : WEBKIT_SNAPSHOT_OPTIONS_TRANSPARENT_BACKGROUND,
        cancellable_,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            std::unique_ptr<Pending<SnapshotCompletion>> pending(
                static_cast<Pending<SnapshotCompletion>*>(data));
            GError* error = nullptr;
            cairo_surface_t* surface =
                webkit_web_view_get_snapshot_finish(WEBKIT_WEB_VIEW(source), result, &error);
            g_clear_error(&error);
            if (!surface) {
                pending->completion(nullptr);
                return;
            }
            CGImageRef image = imageOfSurface(surface);
            cairo_surface_destroy(surface);
            pending->completion(std::move(image));
        },
        pending);
}

bool WebKitEngine::shouldStart(WebKitNavigationAction* action) {
    WebKitURIRequest* uriRequest = webkit_navigation_action_get_request(action);
    const char* uri = webkit_uri_request_get_uri(uriRequest);
    auto url = NSURL::URLWithString(uri ? uri : "");
    if (!url) {
        NSLog("WebKitEngine: refused a navigation to a URL that cannot be read: %@",
              uri ? uri : "");
        return false;
    }
    // WebKit's navigation types carry the platform's numbers.
    auto type = static_cast<UIWebViewNavigationType>(
        std::clamp(static_cast<int>(webkit_navigation_action_get_navigation_type(action)), 0,
                   static_cast<int>(UIWebViewNavigationType::Other)));
    // The request as it will be sent: WebKit adds its User-Agent only when it fetches, so
    // the decision would not see it.
    auto request = NSMutableURLRequest::requestWithURL(url);
    if (const char* userAgent =
            webkit_settings_get_user_agent(webkit_web_view_get_settings(view_))) {
        request->setValueForHTTPHeaderField(std::string(userAgent), "User-Agent");
    }
    return client_.engineShouldStartNavigation(request, type);
}

void WebKitEngine::openHere(WebKitNavigationAction* action) {
    auto alive = alive_;
    if (!shouldStart(action) || !*alive) {
        return;
    }
    WebKitURIRequest* uriRequest = webkit_navigation_action_get_request(action);
    allowedNewWindowURL_ = webkit_uri_request_get_uri(uriRequest);
    webkit_web_view_load_request(view_, uriRequest);
}

bool WebKitEngine::takeAllowedNewWindowLoad(WebKitNavigationAction* action) {
    const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    // WebKit asks about our own load as a plain navigation: no user gesture, no redirect. A
    // frame's navigation to the same URL may be decided before it (a click's handler that
    // also sets an iframe's source): that one is asked like any other, and the client's
    // answer for the new window waits for the load it was given for.
    if (allowedNewWindowURL_.empty() || !uri || allowedNewWindowURL_ != uri ||
        webkit_navigation_action_get_navigation_type(action) != WEBKIT_NAVIGATION_TYPE_OTHER ||
        webkit_navigation_action_is_user_gesture(action) ||
        webkit_navigation_action_is_redirect(action)) {
        return false;
    }
    allowedNewWindowURL_.clear();
    return true;
}

int WebKitEngine::decidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, int type,
                               WebKitEngine* engine) {
    if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
        return FALSE;
    }
    WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
        WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    // Held across the client's answer, which may let go of this engine.
    g_object_ref(decision);
    if (type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
        webkit_policy_decision_ignore(decision);
        engine->openHere(action);
    } else {
        if (engine->takeAllowedNewWindowLoad(action) || engine->shouldStart(action)) {
            webkit_policy_decision_use(decision);
        } else {
            webkit_policy_decision_ignore(decision);
        }
    }
    g_object_unref(decision);
    return TRUE;
}

GtkWidget* WebKitEngine::createWebView(WebKitWebView*, WebKitNavigationAction* action,
                                       WebKitEngine* engine) {
    engine->openHere(action);
    return nullptr;
}

void WebKitEngine::loadChanged(WebKitWebView* view, int event, WebKitEngine* engine) {
    const char* uri = webkit_web_view_get_uri(view);
    if (event == WEBKIT_LOAD_STARTED) {
        engine->loadFailed_ = false;
        engine->client_.engineDidStartLoad(uri ? uri : "");
    } else if (event == WEBKIT_LOAD_FINISHED && !engine->loadFailed_) {
        engine->client_.engineDidFinishLoad(uri ? uri : "");
    }
}

int WebKitEngine::loadFailed(WebKitWebView*, int, const char* uri, GError* error,
                             WebKitEngine* engine) {
    engine->loadFailed_ = true;
    if (auto failure = errorForLoadFailure(*error, uri ? uri : "")) {
        engine->client_.engineDidFailLoad(failure);
    }
    // Handled: WebKit would otherwise load an error page of its own.
    return TRUE;
}

void WebKitEngine::pageChanged(WebKitUserContentManager*, void* message, WebKitEngine* engine) {
    JSCValue* value =
        webkit_javascript_result_get_js_value(static_cast<WebKitJavascriptResult*>(message));
    if (!jsc_value_is_array(value)) {
        return;
    }
    double extents[2] = {0, 0};
    for (guint i = 0; i < 2; ++i) {
        JSCValue* item = jsc_value_object_get_property_at_index(value, i);
        double extent = jsc_value_is_number(item) ? jsc_value_to_double(item) : 0;
        g_object_unref(item);
        extents[i] = std::isfinite(extent) ? std::clamp(extent, 0.0, kMaximumContentExtent) : 0;
    }
    engine->client_.engineContentDidChange(CGSizeMake(extents[0], extents[1]));
}

void WebKitEngine::webProcessTerminated(WebKitWebView* view, int reason, WebKitEngine* engine) {
    NSLog("WebKitEngine: the page's web process ended (%d)", reason);
    // The load a new window's answer was for went with the process.
    engine->allowedNewWindowURL_.clear();
    if (webkit_web_view_is_loading(view)) {
        engine->loadFailed_ = true;
        const char* uri = webkit_web_view_get_uri(view);
        engine->client_.engineDidFailLoad(NSURLErrorWithCode(NSURLErrorUnknown, uri ? uri : ""));
    }
}

std::shared_ptr<NSError> WebKitEngine::errorForLoadFailure(const GError& error,
                                                           const std::string& url) {
    long code = NSURLErrorUnknown;
    if (error.domain == WEBKIT_POLICY_ERROR) {
        if (error.code == WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE) {
            return nullptr;
        }
        if (error.code == WEBKIT_POLICY_ERROR_CANNOT_SHOW_URI) {
            code = NSURLErrorUnsupportedURL;
        }
    } else if (error.domain == WEBKIT_NETWORK_ERROR) {
        if (error.code == WEBKIT_NETWORK_ERROR_CANCELLED) {
            code = NSURLErrorCancelled;
        } else if (error.code == WEBKIT_NETWORK_ERROR_UNKNOWN_PROTOCOL) {
            code = NSURLErrorUnsupportedURL;
        }
    } else if (error.domain == G_IO_ERROR) {
        switch (error.code) {
        case G_IO_ERROR_CANCELLED:
            code = NSURLErrorCancelled;
            break;
        case G_IO_ERROR_TIMED_OUT:
            code = NSURLErrorTimedOut;
            break;
        case G_IO_ERROR_CONNECTION_REFUSED:
        case G_IO_ERROR_HOST_UNREACHABLE:
        case G_IO_ERROR_NETWORK_UNREACHABLE:
            code = NSURLErrorCannotConnectToHost;
            break;
        case G_IO_ERROR_CONNECTION_CLOSED:
            code = NSURLErrorNetworkConnectionLost;
            break;
        default:
            break;
        }
    } else if (error.domain == G_RESOLVER_ERROR) {
        code = NSURLErrorCannotFindHost;
    } else if (error.domain == G_TLS_ERROR) {
        code = NSURLErrorSecureConnectionFailed;
    }
    std::string host;
    if (auto parsed = NSURL::URLWithString(url)) {
        host = parsed->host();
    }
    return NSURLErrorWithCode(code, url, host);
}
