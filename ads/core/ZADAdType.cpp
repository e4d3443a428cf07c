#include "ads/core/ZADAdType.h"

#include "platform/foundation/NSString.h"

#include <functional>

std::shared_ptr<ZADAdType> ZADAdType::initWithAdSize(ZADAdSize adSize) {
    return make<ZADAdType>(adSize, false, false);
}

std::shared_ptr<ZADAdType> ZADAdType::initForInterstitial() {
    return make<ZADAdType>(kZADAdSizeInvalid, true, false);
}

std::shared_ptr<ZADAdType> ZADAdType::initForRewardBasedVideoAd() {
    return make<ZADAdType>(kZADAdSizeInvalid, false, true);
}

bool ZADAdType::isEqual(const NSObject& other) const {
    if (this == &other) {
        return true;
    }
    const auto* type = dynamic_cast<const ZADAdType*>(&other);
    if (!type) {
        return false;
    }
    if (isInterstitial_ && type->isInterstitial_) {
        return true;
    }
    return ZADAdSizeIsEqual(adSize_, type->adSize_);
}

std::size_t ZADAdType::hash() const {
    if (isInterstitial_) {
        return 1;
    }
    return std::hash<std::string>{}(NSString::stringWithFormat(
        "%@ %lu", NSStringFromCGSize(adSize_.size), static_cast<unsigned long>(adSize_.flags)));
}

bool ZADAdType::isValid() const {
    return isInterstitial_ || ZADAdSizeValidate(adSize_);
}

std::string ZADAdType::description() const {
    if (isInterstitial_) {
        return NSString::stringWithFormat("%@ interstitial type", className());
    }
    return NSString::stringWithFormat("%@ banner with size: %@", className(),
                                      ZADAdSizeDescription(adSize_));
}
