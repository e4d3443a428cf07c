// The device's network type as requests send it: 0 unknown, 1 not reachable, 2 "wi",
// 3 "ed". For now the type is never known, so requests carry neither "net" nor
// "net_last"; watching reachability comes with the network type tracker.
#pragma once

#include "platform/base/NSObject.h"

#include <memory>
#include <optional>
#include <string>

class ZADNetwork : public NSObject {
    NS_OBJECT(ZADNetwork)
public:
    static std::shared_ptr<ZADNetwork> sharedInstance();

    // The current type's text; nothing for types that have none.
    std::optional<std::string> networkTypeString() const { return std::nullopt; }
    // The text of the last type that had one.
    std::optional<std::string> lastKnownNetworkTypeString() const { return std::nullopt; }

private:
    ZADNetwork() = default;
};
