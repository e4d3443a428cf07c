// A one-time observer of the core page's load: told once, on the main thread, when a
// load of the page has ended (loaded or failed; the web view's state says which).
#pragma once

class ZADSDKCoreWebView;

class ZADSDKCoreWebViewNotification {
public:
    virtual ~ZADSDKCoreWebViewNotification() = default;
    virtual void didFinishLoadingSDKCoreInSDKCoreWebView(ZADSDKCoreWebView& webView) = 0;
};
