// The app's ad placement controller: loads and holds one banner, one interstitial and one
// native express ad and hands their views to the screens that ask. This base class has no
// ad network behind it: it never holds an ad, so nothing is ever handed over and no
// interstitial is ever ready; the loading operations are overridables for a concrete
// controller.
#pragma once

#include "platform/base/NSObject.h"

#include <functional>
#include <memory>

class UIView;
class UIViewController;

inline constexpr const char* kAdvertiseZividoInterstitialNotification =
    "kAdvertiseZividoInterstitialNotification";

class CVAdvertiseController : public NSObject {
    NS_OBJECT(CVAdvertiseController)
public:
    using ViewHandler = std::function<void(const std::shared_ptr<UIView>&)>;

    // Main thread only.
    static std::shared_ptr<CVAdvertiseController> shareInstance();
    // Puts a concrete controller (an ad network's) in place of the one shareInstance
    // hands out; it must be done before any screen asks for ads.
    static void installShareInstance(std::shared_ptr<CVAdvertiseController> controller);
    // Forgets the shared controller (between tests).
    static void resetForTesting();

    // Requests a banner and a native express ad when none is held, and a new interstitial.
    void initAdvertise();
    // Keeps the handler (replacing the last) and calls it with a banner container now
    // and at every later banner arrival.
    void achieveBannerView(ViewHandler handler);
    // The same for the native express ad.
    void achieveNativeExpressView(ViewHandler handler);
    // YES when the held interstitial is loaded and ready to present.
    virtual bool showInterstitialLoadingState() { return false; }
    // Presents a ready interstitial from the controller (or the top-most one when null).
    virtual void showInterstitial(const std::shared_ptr<UIViewController>& controller) {}

protected:
    CVAdvertiseController() = default;

    // A concrete controller reports arrivals: the kept handler gets a container as wide
    // as the screen with the banner centred in it, or the native ad's view.
    void bannerDidArrive(const std::shared_ptr<UIView>& banner);
    void nativeExpressDidArrive(const std::shared_ptr<UIView>& nativeAd);

    virtual void loadBannerView() {}
    virtual void loadInterstitial() {}
    virtual void loadNativeExpressAdView() {}
    // The loaded ads, if any.
    virtual std::shared_ptr<UIView> heldBanner() const { return nullptr; }
    virtual std::shared_ptr<UIView> heldNativeExpressAd() const { return nullptr; }
    // Whether an ad object exists at all (loaded or still loading).
    virtual bool holdsBanner() const { return heldBanner() != nullptr; }
    virtual bool holdsNativeExpressAd() const { return heldNativeExpressAd() != nullptr; }

    ViewHandler bannerHandler_;
    ViewHandler nativeExpressHandler_;
};
