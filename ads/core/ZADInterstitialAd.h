// The ad record of an interstitial: an ad record of its own kind, adding nothing.
#pragma once

#include "ads/core/ZADAd.h"

class ZADInterstitialAd : public ZADAd {
    NS_OBJECT(ZADInterstitialAd)
public:
    static std::shared_ptr<ZADInterstitialAd> init() { return make<ZADInterstitialAd>(); }
    static std::shared_ptr<ZADInterstitialAd>
    initWithDictionary(const PlistValue::Dictionary& dictionary) {
        return filledFrom<ZADInterstitialAd>(dictionary);
    }

protected:
    ZADInterstitialAd() = default;
};
