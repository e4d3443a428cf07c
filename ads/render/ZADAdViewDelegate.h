// What an ad web-view container asks and tells as its page loads, and the plain delegate
// of ad views: the engine's ad-view delegates derive from it and call its methods as
// their base behaviour.
//
// This plain delegate keeps what the core page's web view relies on: a zmsg message is
// never a page to load, so it is refused; any other navigation may load. Routing messages
// to the ad page handlers and opening clicks come with the full ad-view delegate.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/webkit/UIWebViewDelegate.h"

#include <memory>

class NSError;
class NSURLRequest;
class ZADAdView;

class ZADAdViewDelegate : public NSObject {
    NS_OBJECT(ZADAdViewDelegate)
public:
    static std::shared_ptr<ZADAdViewDelegate> init() { return make<ZADAdViewDelegate>(); }

    virtual bool
    adViewShouldStartLoadWithRequestNavigationType(ZADAdView& adView,
                                                   const std::shared_ptr<NSURLRequest>& request,
                                                   UIWebViewNavigationType navigationType);
    virtual void adViewDidStartLoad(ZADAdView& adView) {}
    virtual void adViewDidFinishLoad(ZADAdView& adView) {}
    virtual void adViewDidFailLoadWithError(ZADAdView& adView,
                                            const std::shared_ptr<NSError>& error) {}

protected:
    ZADAdViewDelegate() = default;
};
