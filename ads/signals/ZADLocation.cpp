#include "ads/signals/ZADLocation.h"

#include "platform/foundation/NSDate.h"

#include <cmath>
#include <cstdio>

namespace {

// The single-precision epsilon: closer to a zero line than this counts as on it.
constexpr double kEpsilon = 1.1920928955078125e-7;

double numberOf(const PlistValue::Dictionary& form, const char* key) {
    auto found = form.find(key);
    return found == form.end() ? 0 : found->second.doubleValue();
}

} // namespace

std::shared_ptr<ZADLocation>
ZADLocation::initWithLatitudeLongitudeAccuracy(double latitude, double longitude, double accuracy) {
    auto location = make<ZADLocation>();
    location->latitude_ = latitude;
    location->longitude_ = longitude;
    location->accuracy_ = accuracy;
    location->timestamp_ = NSDate::date().timeIntervalSince1970();
    return location->isPreciseLocation() ? location : nullptr;
}

std::shared_ptr<ZADLocation> ZADLocation::initWithLocationDescription(const std::string& text) {
    if (text.empty()) {
        return nullptr;
    }
    auto location = make<ZADLocation>();
    location->locationDescription_ = text;
    location->timestamp_ = NSDate::date().timeIntervalSince1970();
    return location;
}

std::shared_ptr<ZADLocation> ZADLocation::initWithDictionary(const PlistValue::Dictionary& form) {
    auto location = make<ZADLocation>();
    location->latitude_ = numberOf(form, "lat") / 10'000'000;
    location->longitude_ = numberOf(form, "long") / 10'000'000;
    location->accuracy_ = numberOf(form, "radius") / 1000;
    location->timestamp_ = numberOf(form, "time") / 1'000'000;
    return location;
}

bool ZADLocation::isPreciseLocation() const {
    return std::fabs(latitude_) <= 90 && std::fabs(longitude_) <= 180 &&
           std::fabs(latitude_) > kEpsilon && std::fabs(longitude_) > kEpsilon;
}

std::string ZADLocation::locationDescription() const {
    if (locationDescription_) {
        return *locationDescription_;
    }
    if (!isPreciseLocation()) {
        return {};
    }
    char text[96];
    std::snprintf(text, sizeof text, "%f,%f", latitude_, longitude_);
    return text;
}

std::optional<PlistValue::Dictionary> ZADLocation::dictionaryRepresentation() const {
    if (!isPreciseLocation()) {
        return std::nullopt;
    }
    return PlistValue::Dictionary{
        {"time", timestamp_ * 1'000'000},
        {"lat", static_cast<int64_t>(latitude_ * 10'000'000)},
        {"long", static_cast<int64_t>(longitude_ * 10'000'000)},
        {"radius", accuracy_ * 1000},
    };
}

std::string ZADLocation::description() const {
    return "<ZADLocation: " + locationDescription() + ">";
}
