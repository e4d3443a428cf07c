#include "ads/core/ZADBannerAd.h"

void ZADBannerAd::readDictionary(const PlistValue::Dictionary& dictionary) {
    ZADAd::readDictionary(dictionary);
    const auto rate = dictionary.find("refresh_rate");
    if (rate != dictionary.end() &&
        (rate->second.type() == PlistValue::Type::Integer || rate->second.type() == PlistValue::Type::Real)) {
        setReloadInterval(rate->second.doubleValue());
    }
}
