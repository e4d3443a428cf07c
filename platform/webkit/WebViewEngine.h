// The browser engine under a web view: it loads pages, asks its client before every
// navigation, reports how loads go, runs scripts and paints the page into a picture.
// UIWebView stands on it; WebKitEngine is the real one, tests script their own.
#pragma once

#include "platform/foundation/ErrorOr.h"
#include "platform/graphics/CGGeometry.h"
#include "platform/graphics/CGImage.h"

#include <functional>
#include <memory>
#include <string>

class NSURLRequest;
class WebViewEngineClient;

class WebViewEngine {
public:
    // The script's result as text: strings as they are, numbers and booleans as the page
    // prints them, anything else empty; an error when the script threw or the page went.
    using ScriptCompletion = std::function<void(ErrorOr<std::string>)>;
    // The page's visible pixels at one pixel a point; null when there is no picture.
    using SnapshotCompletion = std::function<void(CGImageRef)>;
    // Makes the engine of a web view; it calls `client`, which outlives it.
    using Factory = std::function<ErrorOr<std::unique_ptr<WebViewEngine>>(WebViewEngineClient&)>;

    virtual ~WebViewEngine() = default;

    // `baseURL` resolves the page's relative links; empty means "about:blank".
    virtual void loadHTMLStringBaseURL(const std::string& html, const std::string& baseURL) = 0;
    virtual void loadRequest(const NSURLRequest& request) = 0;
    virtual void stopLoading() = 0;
    virtual void reload() = 0;
    virtual void goBack() = 0;
    virtual void goForward() = 0;
    virtual bool canGoBack() const = 0;
    virtual bool canGoForward() const = 0;
    virtual bool isLoading() const = 0;

    // Runs `script` in the page's main frame. The completion runs later on the main
    // thread (as a GLib event or a run-loop task), exactly once, even when the engine
    // goes away first.
    virtual void evaluateJavaScript(const std::string& script, ScriptCompletion completion) = 0;

    // The page's viewport, in points.
    virtual void setSize(const CGSize& size) = 0;
    // Paints the visible page; a page that is not opaque leaves what it does not paint
    // transparent. The completion runs later, exactly once.
    virtual void takeSnapshot(bool opaque, SnapshotCompletion completion) = 0;
};
