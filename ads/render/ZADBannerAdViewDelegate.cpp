#include "ads/render/ZADBannerAdViewDelegate.h"

#include "ads/core/ZADRequestError.h"
#include "ads/core/ZADSlot.h"
#include "ads/render/ZADAdView.h"
#include "platform/foundation/NSError.h"
#include "platform/foundation/NSURLError.h"
#include "platform/foundation/NSUserDefaults.h"

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
    // Only a failure of the page the current load renders ends it: a page replaced or
    // stopped before it finished (cancelled) is not one, unless the server says so; after
    // the load has ended (valid, failed, invalidated) nothing is reported again.
    const bool cancelled = error && error->domain() == NSURLErrorDomain &&
                           error->code() == NSURLErrorCancelled;
    if (slot && slot->state() == ZADSlot::Rendering &&
        (!cancelled || NSUserDefaults::standardUserDefaults()->boolForKey(
                           "/zivido/ads/use_cancelled_url_error"))) {
        slot->didFailToReceiveAdWithErrorShouldCancelPendingActions(
            ZADRequestError::errorWithCode(ZADRequestError::NetworkError), false);
    }
    ZADAdViewDelegate::adViewDidFailLoadWithError(adView, error);
}
