#include "ads/signals/ZADLogger.h"

#include "ads/signals/ZADLogPrint.h"

std::shared_ptr<ZADLogger> ZADLogger::sharedInstance() {
    static const std::shared_ptr<ZADLogger> logger = make<ZADLogger>();
    return logger;
}

void ZADLogger::logPublicMessage(const std::string& message) {
    ZADLogPrint("<Zivido> %@", message);
}
