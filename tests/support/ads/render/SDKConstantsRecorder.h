// Keeps every set of constants the core page's handler hears, in order.
#pragma once

#include "ads/render/ZADSDKCoreZMSGHandlerDelegate.h"

#include <vector>

class SDKConstantsRecorder : public ZADSDKCoreZMSGHandlerDelegate {
public:
    void sdkCoreZMSGHandlerDidLoadSDKConstants(ZADSDKCoreZMSGHandler&,
                                               const Parameters& constants) override {
        received.push_back(constants);
    }
    std::vector<Parameters> received;
};
