#include "ads/signals/ZADMobileAds.h"

#include "ads/signals/ZADApplication.h"
#include "platform/foundation/NSNotificationCenter.h"

#include <algorithm>

std::shared_ptr<ZADMobileAds> ZADMobileAds::sharedInstance() {
    static const std::shared_ptr<ZADMobileAds> shared = make<ZADMobileAds>();
    return shared;
}

void ZADMobileAds::resetForTesting() {
    auto shared = sharedInstance();
    shared->applicationMuted_ = false;
    shared->applicationVolume_ = 1.0f;
}

void ZADMobileAds::setApplicationVolume(float volume) {
    if (applicationVolume_.exchange(volume) != volume) {
        postChange();
    }
}

void ZADMobileAds::setApplicationMuted(bool muted) {
    if (applicationMuted_.exchange(muted) != muted) {
        postChange();
    }
}

float ZADMobileAds::clampedApplicationVolume() const {
    return std::clamp(applicationVolume_.load(), 0.0f, 1.0f);
}

void ZADMobileAds::enableBackgroundAdLoading() {
    ZADApplication::sharedInstance()->enableBackgroundAdLoading();
}

void ZADMobileAds::postChange() {
    NSNotificationCenter::defaultCenter()->postNotificationNameObject(
        ZADMobileAdsApplicationVolumeDidChangeNotification, self<ZADMobileAds>());
}
