#include "services/advertise/ScenarioAdLoads.h"

#include "ads/core/ZADAdType.h"
#include "ads/core/ZADRequest.h"
#include "ads/core/ZADSlot.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace {
std::shared_ptr<ScenarioAdLoads>& installed() {
    static std::shared_ptr<ScenarioAdLoads> loads;
    return loads;
}

constexpr int kLongestSide = 10000;

std::shared_ptr<NSError> refused(const std::string& why) {
    return makeError(ScenarioAdLoadsErrorDomain, 1, why);
}

// "WxH" with whole sides of 1 to kLongestSide points.
std::optional<CGSize> bannerSize(const std::string& text) {
    const auto x = text.find('x');
    if (x == std::string::npos) {
        return std::nullopt;
    }
    const auto side = [](std::string_view digits) -> std::optional<int> {
        int value = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (ec != std::errc() || end != digits.data() + digits.size() || value < 1 ||
            value > kLongestSide) {
            return std::nullopt;
        }
        return value;
    };
    const std::string_view all(text);
    const auto width = side(all.substr(0, x));
    const auto height = side(all.substr(x + 1));
    if (!width || !height) {
        return std::nullopt;
    }
    return CGSizeMake(*width, *height);
}

// The ad type the words ask for and the ad unit after them.
ErrorOr<std::pair<std::shared_ptr<ZADAdType>, std::string>>
parse(const std::vector<std::string>& arguments) {
    if (arguments.size() == 2 && arguments[0] == "interstitial") {
        return std::pair{ZADAdType::interstitialAdType(), arguments[1]};
    }
    if (arguments.size() == 3 && arguments[0] == "banner") {
        if (const auto size = bannerSize(arguments[1])) {
            return std::pair{ZADAdType::bannerAdTypeForSize(ZADAdSizeMakeFromSize(*size)),
                             arguments[2]};
        }
        return refused("'" + arguments[1] + "' is not a banner size WxH (sides of 1 to " +
                       std::to_string(kLongestSide) + " points)");
    }
    return refused("the format is \"banner WxH\" or \"interstitial\", then the ad unit");
}
} // namespace

std::shared_ptr<ScenarioAdLoads> ScenarioAdLoads::sharedInstance() {
    auto& loads = installed();
    if (!loads) {
        loads = make<ScenarioAdLoads>();
    }
    return loads;
}

void ScenarioAdLoads::resetForTesting() {
    installed().reset();
}

ErrorOr<void> ScenarioAdLoads::checkArguments(const std::vector<std::string>& arguments) {
    if (auto parsed = parse(arguments); parsed.hasError()) {
        return parsed.error();
    }
    return {};
}

ErrorOr<void> ScenarioAdLoads::startLoad(const std::vector<std::string>& arguments) {
    auto parsed = parse(arguments);
    if (parsed.hasError()) {
        return parsed.error();
    }
    const auto& [adType, adUnit] = parsed.value();
    auto slot = ZADSlot::init();
    slot->setAdUnitID(adUnit);
    slot->setAdTypeAndReloadRequest(adType, false);
    slot->setAdLoadDelegate(self<ScenarioAdLoads>());
    slots_.push_back(slot);
    running_.push_back(slot.get());
    slot->loadRequest(ZADRequest::request());
    return {};
}

ErrorOr<void> ScenarioAdLoads::checkEveryLoadEnded() const {
    if (running_.empty()) {
        return {};
    }
    std::string loads;
    for (const ZADSlot* slot : running_) {
        loads +=
            (loads.empty() ? "" : ", ") + slot->adUnitID() + " (" + slot->adTypeLogName() + ")";
    }
    return refused("ad loads that have not ended: " + loads);
}

void ScenarioAdLoads::slotFinishedLoadingAdContent(ZADSlot& slot) {
    loadEnded(slot);
}

void ScenarioAdLoads::slotDidFailToLoadAdContentWithError(ZADSlot& slot,
                                                          const std::shared_ptr<NSError>&) {
    loadEnded(slot);
}

void ScenarioAdLoads::loadEnded(ZADSlot& slot) {
    std::erase(running_, &slot);
}
