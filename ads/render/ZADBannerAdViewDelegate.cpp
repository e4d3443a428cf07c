#include "ads/render/ZADBannerAdViewDelegate.h"

#include "ads/core/ZADRequestError.h"
#include "ads/core/ZADSlot.h"
#include "ads/render/ZADAdView.h"

std::shared_ptr<ZADBannerAdViewDelegate>
ZADBannerAdViewDelegate::initWithSlot(const std::shared_ptr<ZADSlot>& slot) {
    return make<ZADBannerAdViewDelegate>(slot);
}

void ZADBannerAdViewDelegate::adViewDidFinishLoad(ZADAdView& adView) {
    ZADAdViewDelegate::adViewDidFinishLoad(adView);
    auto slot = slot_.lock();
    if (!slot || slot->state() != ZADSlot::Rendering) {
        return;
    }
    slot->didReceiveValidAd();
    slot->didLoadAdHTMLInWebView();
    adView.setHidden(false);
    slot->adFinishedLoadingContent();
}

void ZADBannerAdViewDelegate::adViewDidFailLoadWithError(ZADAdView& adView,
                                                         const std::shared_ptr<NSError>& error) {
    auto slot = slot_.lock();
    if (slot && slot->state() != ZADSlot::ValidAd) {
        slot->didFailToReceiveAdWithErrorShouldCancelPendingActions(
            ZADRequestError::errorWithCode(ZADRequestError::NetworkError), false);
    }
    ZADAdViewDelegate::adViewDidFailLoadWithError(adView, error);
}
