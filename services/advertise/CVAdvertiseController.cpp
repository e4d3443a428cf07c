#include "services/advertise/CVAdvertiseController.h"

#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIView.h"

namespace {
std::shared_ptr<CVAdvertiseController>& installed() {
    static std::shared_ptr<CVAdvertiseController> controller;
    return controller;
}
} // namespace

std::shared_ptr<CVAdvertiseController> CVAdvertiseController::shareInstance() {
    auto& controller = installed();
    if (!controller) {
        controller = make<CVAdvertiseController>();
    }
    return controller;
}

void CVAdvertiseController::resetForTesting() {
    installed().reset();
}

void CVAdvertiseController::installShareInstance(
    std::shared_ptr<CVAdvertiseController> controller) {
    installed() = std::move(controller);
}

void CVAdvertiseController::bannerDidArrive(const std::shared_ptr<UIView>& banner) {
    if (!banner || !bannerHandler_) {
        return;
    }
    CGRect screen = UIScreen::mainScreen()->bounds();
    CGSize size = banner->bounds().size;
    auto container = UIView::initWithFrame(CGRectMake(0, 0, screen.size.width, size.height));
    banner->setCenter(CGPointMake(screen.size.width / 2, size.height / 2));
    container->addSubview(banner);
    bannerHandler_(container);
}

void CVAdvertiseController::nativeExpressDidArrive(const std::shared_ptr<UIView>& nativeAd) {
    if (!nativeAd || !nativeExpressHandler_) {
        return;
    }
    CGSize size = nativeAd->bounds().size;
    auto container = UIView::initWithFrame(CGRectMake(0, 0, size.width, size.height));
    container->setBackgroundColor(UIColor::clearColor());
    nativeAd->setCenter(CGPointMake(size.width / 2, size.height / 2));
    container->addSubview(nativeAd);
    nativeExpressHandler_(container);
}

void CVAdvertiseController::initAdvertise() {
    if (!holdsBanner()) {
        loadBannerView();
    }
    if (!holdsNativeExpressAd()) {
        loadNativeExpressAdView();
    }
    loadInterstitial();
}

void CVAdvertiseController::achieveBannerView(ViewHandler handler) {
    bannerHandler_ = std::move(handler);
    if (!holdsBanner()) {
        loadBannerView();
    }
    if (auto banner = heldBanner()) {
        bannerDidArrive(banner);
    }
}

void CVAdvertiseController::achieveNativeExpressView(ViewHandler handler) {
    nativeExpressHandler_ = std::move(handler);
    if (!holdsNativeExpressAd()) {
        loadNativeExpressAdView();
    }
    if (auto nativeAd = heldNativeExpressAd()) {
        nativeExpressDidArrive(nativeAd);
    }
}
