// The device facts an ad request carries. For now only what requests and their errors
// read: the system version is the platform device's, the device is never a simulator, it
// has no advertising identifier or user agent yet and adds no parameters of its own to
// a request.
// The full set of facts (hardware, screen, audio, identifiers) replaces this.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/PlistValue.h"
#include "platform/graphics/CGGeometry.h"

#include <memory>
#include <string>

class ZADDevice : public NSObject {
    NS_OBJECT(ZADDevice)
public:
    // The oldest system the engine loads ads on is of this major version.
    static constexpr int kMinimumMajorSystemVersion = 6;

    static std::shared_ptr<ZADDevice> sharedInstance();

    std::string systemVersion() const;
    bool isSimulator() const { return false; }
    // Empty while no identifier is known: no test-device entry matches it.
    std::string deviceIdentifier() const { return {}; }
    // The User-Agent the engine's own requests send; empty while unknown (none is set).
    std::string userAgent() const { return {}; }
    // The device's part of every ad request's parameters.
    PlistValue::Dictionary parameters() const { return {}; }
    // Whether the system's major version is at least the minimum: below it no ad loads.
    bool OSIsSupported() const;
    // Whether the system version is at least major.minor.patch (missing parts count as 0).
    bool isOSAtLeastMajorMinorPatch(int major, int minor, int patch) const;
    // The main screen's bounds in points as held upright: the shorter side is the width.
    CGRect standardizedPortraitScreenBounds() const;

private:
    ZADDevice() = default;
};
