// Counts the core page web view's finished loads, for tests that wait for one.
#pragma once

#include "ads/render/ZADSDKCoreWebViewNotification.h"

class SDKCoreLoadCounter : public ZADSDKCoreWebViewNotification {
public:
    void didFinishLoadingSDKCoreInSDKCoreWebView(ZADSDKCoreWebView&) override { ++told; }
    int told = 0;
};
