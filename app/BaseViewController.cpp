#include "app/BaseViewController.h"

#include "app/RZCommonConfig.h"
#include "app/categories/UIView+UIViewx.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/quartzcore/CATransition.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/WeakAction.h"
#include "services/advertise/CVAdvertiseController.h"
#include "services/rateprompt/RatePrompt.h"

void BaseViewController::viewDidLoad() {
    UIViewController::viewDidLoad();
    const auto screen = self<BaseViewController>();
    NSNotificationCenter::defaultCenter()->addObserverSelectorNameObject(
        screen, weakAction(screen, &BaseViewController::advertiseInterstitialNotification),
        kAdvertiseZividoInterstitialNotification, nullptr);
}

void BaseViewController::viewWillAppear(bool animated) {
    UIViewController::viewWillAppear(animated);
    if (needLoadBannerAdView()) {
        achieveBannerView();
    }
    if (needLoadNativeAdView()) {
        achieveNativeAdView();
    }
    increaseViewAppearCountForShowFullscreenAd();
}

void BaseViewController::viewDidAppear(bool animated) {
    UIViewController::viewDidAppear(animated);
    RatePrompt::sharedInstance()->logEvent(false);
    if (shouldShowFullScreenAd()) {
        RZCommonConfig::shareInstance()->showInterstitialAdInViewController(
            self<UIViewController>());
        clearViewAppearCountForShowFullscreenAd();
    }
}

void BaseViewController::achieveBannerView() {
    CVAdvertiseController::shareInstance()->achieveBannerView(
        weakAction(self<BaseViewController>(), &BaseViewController::receiveBanner));
}

void BaseViewController::achieveNativeAdView() {
    CVAdvertiseController::shareInstance()->achieveNativeExpressView(
        weakAction(self<BaseViewController>(), &BaseViewController::receiveNativeAd));
}

void BaseViewController::receiveBanner(const std::shared_ptr<UIView>& container) {
    if (!container) {
        return;
    }
    if (bannerView_) {
        UIViewx::clearSubviews(*bannerView_);
        bannerView_->addSubview(container);
        if (RZCommonConfig::shareInstance()->enableBannerViewAnimation()) {
            transitionWithTypeForView(kCATransitionMoveIn, bannerView_);
        }
    } else {
        auto holder = UIView::initWithFrame(container->bounds());
        holder->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin |
                                    UIViewAutoresizingFlexibleRightMargin |
                                    UIViewAutoresizingFlexibleTopMargin);
        holder->addSubview(container);
        bannerView_ = holder;
        view()->addSubview(holder);
    }
    adjustAdview();
}

void BaseViewController::receiveNativeAd(const std::shared_ptr<UIView>& view) {
    if (!view) {
        return;
    }
    if (nativeAdView_) {
        nativeAdView_->removeFromSuperview();
        nativeAdView_.reset();
    }
    view->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin |
                              UIViewAutoresizingFlexibleRightMargin);
    nativeAdView_ = view;
    showNativeAdView(view);
}

void BaseViewController::showNativeAdView(const std::shared_ptr<UIView>& view) {
    UIViewx::setPosition(*view, CGPointMake(0, 0));
}

void BaseViewController::adjustAdview() {
    if (bannerView_ && bannerView_->superview() && bannerView_->bounds().size.height != 0) {
        double height = bannerView_->bounds().size.height;
        setAdEdgeInsets(UIEdgeInsetsMake(0, 0, height, 0));
        CGRect screen = view()->frame();
        bannerView_->setCenter(CGPointMake(
            screen.size.width * 0.5, screen.size.height - bannerView_->frame().size.height * 0.5 -
                                         adViewBottomOffsetFromSuperViewBottom()));
    } else {
        setAdEdgeInsets(UIEdgeInsetsZero);
    }
}

void BaseViewController::transitionWithTypeForView(const std::string& type,
                                                   const std::shared_ptr<UIView>& view) {
    if (!view) {
        return;
    }
    auto transition = CATransition::animation();
    transition->setType(type);
    transition->setSubtype(kCATransitionFromLeft);
    transition->setDuration(0.25);
    transition->setRepeatCount(1);
    view->layer()->addAnimationForKey(transition, "fadeMoveIn");
}

void BaseViewController::setAdViewHiden(bool hidden) {
    if (bannerView_) {
        bannerView_->setHidden(hidden);
    }
}

CGSize BaseViewController::sizeOfAdsView() const {
    return bannerView_ ? bannerView_->frame().size : CGSizeZero;
}

std::shared_ptr<UIViewController> BaseViewController::topMostController() const {
    auto application = UIApplication::sharedApplication();
    auto window = application->delegate() ? application->delegate()->window() : nullptr;
    auto top = window ? window->rootViewController() : nullptr;
    while (top && top->presentedViewController()) {
        top = top->presentedViewController();
    }
    return top;
}

void BaseViewController::increaseViewAppearCountForShowFullscreenAd() {
    auto defaults = NSUserDefaults::standardUserDefaults();
    defaults->setIntegerForKey(defaults->integerForKey(kViewAppearBeforeFullscreenAdKey) + 1,
                               kViewAppearBeforeFullscreenAdKey);
}

bool BaseViewController::shouldShowFullScreenAd() const {
    return NSUserDefaults::standardUserDefaults()->integerForKey(kViewAppearBeforeFullscreenAdKey) >
           RZCommonConfig::shareInstance()->viewAppearUntilShowInterstitialAd();
}

void BaseViewController::clearViewAppearCountForShowFullscreenAd() {
    auto defaults = NSUserDefaults::standardUserDefaults();
    defaults->setIntegerForKey(0, kViewAppearBeforeFullscreenAdKey);
    defaults->synchronize();
}
