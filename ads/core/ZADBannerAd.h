// The ad record of a banner: its size and refresh rate (an ad dictionary's "refresh_rate",
// a number) resize and reschedule the slot.
#pragma once

#include "ads/core/ZADAd.h"

class ZADBannerAd : public ZADAd {
    NS_OBJECT(ZADBannerAd)
public:
    static std::shared_ptr<ZADBannerAd> init() { return make<ZADBannerAd>(); }
    static std::shared_ptr<ZADBannerAd> initWithDictionary(const PlistValue::Dictionary& dictionary) {
        return filledFrom<ZADBannerAd>(dictionary);
    }

protected:
    ZADBannerAd() = default;
    void readDictionary(const PlistValue::Dictionary& dictionary) override;
};
