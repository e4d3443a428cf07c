// One run of the application as the ad server tells runs apart: a random identifier,
// the decimal text of 8 bytes of the system's cryptographic random source read as one
// unsigned 64-bit number (1 to 20 digits, no sign, no padding).
#pragma once

#include "platform/base/NSObject.h"

#include <memory>
#include <string>

class ZADSession : public NSObject {
    NS_OBJECT(ZADSession)
public:
    static std::shared_ptr<ZADSession> init();

    const std::string& uniqueID() const { return uniqueID_; }

private:
    ZADSession() = default;
    std::string uniqueID_;
};
