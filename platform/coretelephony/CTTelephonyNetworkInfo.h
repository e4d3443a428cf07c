// The phone network the device is on. This machine has no cellular radio: there is no
// carrier (no subscriber's provider, so no country or network code) and no radio access
// technology, and the radio never changes.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/coretelephony/CTCarrier.h"

#include <memory>
#include <optional>
#include <string>

// Posted when the radio access technology changes; never on this machine.
inline constexpr const char* CTRadioAccessTechnologyDidChangeNotification =
    "CTRadioAccessTechnologyDidChangeNotification";

class CTTelephonyNetworkInfo : public NSObject {
    NS_OBJECT(CTTelephonyNetworkInfo)
public:
    static std::shared_ptr<CTTelephonyNetworkInfo> init();

    // Null: no carrier.
    std::shared_ptr<CTCarrier> subscriberCellularProvider() const { return nullptr; }
    // Nothing: no radio.
    std::optional<std::string> currentRadioAccessTechnology() const { return std::nullopt; }

private:
    CTTelephonyNetworkInfo() = default;
};
