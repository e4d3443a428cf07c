// The subscriber's cellular provider: its country and network codes. This machine has
// none, so none is ever made (CTTelephonyNetworkInfo answers null).
#pragma once

#include "platform/base/NSObject.h"

#include <string>

class CTCarrier : public NSObject {
    NS_OBJECT(CTCarrier)
public:
    const std::string& mobileCountryCode() const { return mobileCountryCode_; }
    const std::string& mobileNetworkCode() const { return mobileNetworkCode_; }

private:
    CTCarrier() = default;
    std::string mobileCountryCode_;
    std::string mobileNetworkCode_;
};
