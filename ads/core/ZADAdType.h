// What a slot loads: a banner of an ad size, an interstitial or a reward-based video ad.
// Made only through its factories.
#pragma once

#include "ads/core/ZADAdSize.h"
#include "platform/base/NSObject.h"

#include <cstddef>
#include <memory>
#include <string>

class ZADAdType : public NSObject {
    NS_OBJECT(ZADAdType)
public:
    static std::shared_ptr<ZADAdType> initWithAdSize(ZADAdSize adSize);
    static std::shared_ptr<ZADAdType> initForInterstitial();
    static std::shared_ptr<ZADAdType> initForRewardBasedVideoAd();
    static std::shared_ptr<ZADAdType> bannerAdTypeForSize(ZADAdSize adSize) {
        return initWithAdSize(adSize);
    }
    static std::shared_ptr<ZADAdType> interstitialAdType() { return initForInterstitial(); }

    ZADAdSize adSize() const { return adSize_; }
    void setAdSize(ZADAdSize adSize) { adSize_ = adSize; }
    bool isInterstitial() const { return isInterstitial_; }
    bool isRewardBasedVideoAd() const { return isRewardBasedVideoAd_; }

    // Two interstitials are equal whatever their sizes; otherwise the sizes decide (the
    // reward flag is not compared).
    bool isEqual(const NSObject& other) const override;
    std::size_t hash() const;
    // An interstitial always; a banner when its size validates.
    bool isValid() const;
    std::string description() const override;

private:
    ZADAdType(ZADAdSize adSize, bool interstitial, bool rewardBasedVideoAd)
        : adSize_(adSize), isInterstitial_(interstitial),
          isRewardBasedVideoAd_(rewardBasedVideoAd) {}

    ZADAdSize adSize_;
    bool isInterstitial_;
    bool isRewardBasedVideoAd_;
};
