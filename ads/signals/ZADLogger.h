// The engine's one public log: every message goes out, prefixed "<Zivido> ", with no
// levels and no switch to silence it.
#pragma once

#include "platform/base/NSObject.h"

#include <memory>
#include <string>

class ZADLogger : public NSObject {
    NS_OBJECT(ZADLogger)
public:
    // The one logger, made on first use from any thread.
    static std::shared_ptr<ZADLogger> sharedInstance();

    // Queues the line "<Zivido> " + message (ZADLogPrint); returns before it is written.
    void logPublicMessage(const std::string& message);

private:
    ZADLogger() = default;
};
