// The location service's server switch. Finding the device's position (through the
// platform's location manager, when the program has one) comes with the location
// signals; until then the service only keeps whether the server allows it. Any thread.
#pragma once

#include "platform/base/NSObject.h"

#include <atomic>
#include <memory>

class ZADLocationService : public NSObject {
    NS_OBJECT(ZADLocationService)
public:
    static std::shared_ptr<ZADLocationService> sharedInstance();

    bool featureEnabled() const { return featureEnabled_; }
    void setFeatureEnabled(bool enabled) { featureEnabled_ = enabled; }

private:
    ZADLocationService() = default;

    std::atomic<bool> featureEnabled_ = false;
};
