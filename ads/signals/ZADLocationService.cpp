#include "ads/signals/ZADLocationService.h"

std::shared_ptr<ZADLocationService> ZADLocationService::sharedInstance() {
    static const std::shared_ptr<ZADLocationService> service = make<ZADLocationService>();
    return service;
}
