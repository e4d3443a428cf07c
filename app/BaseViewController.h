// The base of the app's full screens (main menu, photo picker, background chooser,
// settings): a bottom banner ad, an optional native ad, one rating event per appearance,
// and an interstitial after a number of appearances counted across all such screens.
#pragma once

#include "platform/uikit/UIEdgeInsets.h"
#include "platform/uikit/UIViewController.h"

#include <string>

class NSNotification;
class UIView;

inline constexpr const char* kViewAppearBeforeFullscreenAdKey =
    "Key_User_ViewAppear_Before_FullscreenAd";

class BaseViewController : public UIViewController {
    NS_OBJECT(BaseViewController)
public:
    static std::shared_ptr<BaseViewController> init() { return make<BaseViewController>(); }
    static std::shared_ptr<BaseViewController> alloc() { return init(); }

    std::shared_ptr<UIView> bannerView() const { return bannerView_; }
    std::shared_ptr<UIView> nativeAdView() const { return nativeAdView_; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;

    // What subclasses tune.
    virtual bool needLoadBannerAdView() const { return true; }
    virtual bool needLoadNativeAdView() const { return false; }
    virtual float adViewBottomOffsetFromSuperViewBottom() const { return 0.0f; }
    virtual void setAdEdgeInsets(const UIEdgeInsets& insets) {}
    // Moves the view's origin to (0, 0); placing it in the screen is the subclass's part.
    virtual void showNativeAdView(const std::shared_ptr<UIView>& view);
    virtual void advertiseInterstitialNotification(const NSNotification& notification) {}
    virtual std::string screemName() const { return ""; }

    // Ad placement.
    void achieveBannerView();
    void achieveNativeAdView();
    void adjustAdview();
    void transitionWithTypeForView(const std::string& type, const std::shared_ptr<UIView>& view);
    void setAdViewHiden(bool hidden);
    CGSize sizeOfAdsView() const;
    std::shared_ptr<UIViewController> topMostController() const;

    // The appearance count shared by every such screen, kept across launches.
    void increaseViewAppearCountForShowFullscreenAd();
    bool shouldShowFullScreenAd() const;
    void clearViewAppearCountForShowFullscreenAd();

protected:
    BaseViewController() = default;

private:
    void receiveBanner(const std::shared_ptr<UIView>& container);
    void receiveNativeAd(const std::shared_ptr<UIView>& view);

    std::shared_ptr<UIView> bannerView_;
    std::shared_ptr<UIView> nativeAdView_;
};
