#include "ads/core/ZADAdType.h"

#include <cmath>

std::string ZADAdType::description() const {
    if (isInterstitial()) {
        return "interstitial";
    }
    const auto side = [](CGFloat value) {
        return std::to_string(static_cast<long long>(std::llround(value)));
    };
    return "banner " + side(size_.width) + "x" + side(size_.height);
}
