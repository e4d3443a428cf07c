// Where the core page's handler sends the page's answers (the core controller). Called on
// the main thread. Request ids and parameters are the page's text, as it sent them.
#pragma once

#include "ads/render/ZADNotification.h"
#include "platform/foundation/PlistValue.h"

#include <string>

class ZADSDKCoreZMSGHandler;

class ZADSDKCoreZMSGHandlerDelegate {
public:
    using Parameters = ZADNotification::Parameters;

    virtual ~ZADSDKCoreZMSGHandlerDelegate() = default;
    virtual void sdkCoreZMSGHandlerLoadAdURLWithRequestIDParameters(ZADSDKCoreZMSGHandler& handler,
                                                                    const std::string& requestID,
                                                                    const Parameters& parameters) {}
    // `fetchedAd` is the decoded "fetched_ad" object.
    virtual void
    sdkCoreZMSGHandlerLoadAdWithRequestIDParameters(ZADSDKCoreZMSGHandler& handler,
                                                    const std::string& requestID,
                                                    const PlistValue::Dictionary& fetchedAd) {}
    virtual void
    sdkCoreZMSGHandlerDidReceiveInvalidAdWithRequestIDParameters(ZADSDKCoreZMSGHandler& handler,
                                                                 const std::string& requestID,
                                                                 const Parameters& parameters) {}
    virtual void sdkCoreZMSGHandlerDidLoadSDKConstants(ZADSDKCoreZMSGHandler& handler,
                                                       const Parameters& constants) {}
    virtual void
    sdkCoreZMSGHandlerDidReceiveSDKCoreUpdateNotification(ZADSDKCoreZMSGHandler& handler) {}
};
