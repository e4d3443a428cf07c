#include "services/advertise/CVAdvertiseController.h"

#include "platform/runtime/ClassRegistry.h"

NS_REGISTER_CLASS(CVAdvertiseController, NSObject);

std::shared_ptr<CVAdvertiseController> CVAdvertiseController::shareInstance() {
    static auto controller = std::make_shared<CVAdvertiseController>();
    return controller;
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
}

void CVAdvertiseController::achieveNativeExpressView(ViewHandler handler) {
    nativeExpressHandler_ = std::move(handler);
    if (!holdsNativeExpressAd()) {
        loadNativeExpressAdView();
    }
}
