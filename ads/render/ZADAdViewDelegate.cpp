#include "ads/render/ZADAdViewDelegate.h"

#include "ads/render/ZADNotification.h"
#include "platform/foundation/NSURLRequest.h"

bool ZADAdViewDelegate::adViewShouldStartLoadWithRequestNavigationType(
    ZADAdView&, const std::shared_ptr<NSURLRequest>& request, UIWebViewNavigationType) {
    return request && request->URL() && !ZADNotification::isNotificationURL(request->URL());
}
