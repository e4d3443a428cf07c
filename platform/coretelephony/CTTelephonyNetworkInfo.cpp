#include "platform/coretelephony/CTTelephonyNetworkInfo.h"

std::shared_ptr<CTTelephonyNetworkInfo> CTTelephonyNetworkInfo::init() {
    return make<CTTelephonyNetworkInfo>();
}
