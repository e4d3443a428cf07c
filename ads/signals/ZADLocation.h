// A location an ad request carries: a precise position (latitude, longitude, accuracy in
// metres) or a free-text description, with a timestamp in seconds since 1970, and the
// dictionary form requests send ("time" in microseconds, "lat" and "long" in 1e-7 degrees
// truncated, "radius" in millimetres). A position is precise when within range and off
// the zero lines (0 latitude or longitude is taken for a missing fix).
//
// Kept for now: making locations and their forms; equality, hashing and the location
// service come with the location signals.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/PlistValue.h"

#include <memory>
#include <optional>
#include <string>

class ZADLocation : public NSObject {
    NS_OBJECT(ZADLocation)
public:
    // Null unless the position is precise.
    static std::shared_ptr<ZADLocation>
    initWithLatitudeLongitudeAccuracy(double latitude, double longitude, double accuracy);
    // Null for an empty text.
    static std::shared_ptr<ZADLocation> initWithLocationDescription(const std::string& text);
    // From the dictionary form (a missing key reads 0); not tested for precision.
    static std::shared_ptr<ZADLocation> initWithDictionary(const PlistValue::Dictionary& form);

    double latitude() const { return latitude_; }
    double longitude() const { return longitude_; }
    double accuracy() const { return accuracy_; }
    double timestamp() const { return timestamp_; }
    void setTimestamp(double timestamp) { timestamp_ = timestamp; }

    bool isPreciseLocation() const;
    // The text given; else "%f,%f" of a precise position; else "".
    std::string locationDescription() const;
    // The dictionary form; nothing for a location that is not precise.
    std::optional<PlistValue::Dictionary> dictionaryRepresentation() const;
    std::string description() const override;

private:
    ZADLocation() = default;

    double latitude_ = 0;
    double longitude_ = 0;
    double accuracy_ = 0;
    std::optional<std::string> locationDescription_;
    double timestamp_ = 0;
};
