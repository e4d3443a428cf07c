#include "ads/core/ZADExtras.h"

std::shared_ptr<ZADAdNetworkExtras> ZADExtras::copy() const {
    auto copy = init();
    copy->additionalParameters_ = additionalParameters_;
    return copy;
}
