#include "ads/signals/ZADDevice.h"

#include "platform/uikit/UIDevice.h"

std::shared_ptr<ZADDevice> ZADDevice::sharedInstance() {
    static const std::shared_ptr<ZADDevice> device = make<ZADDevice>();
    return device;
}

std::string ZADDevice::systemVersion() const {
    return UIDevice::currentDevice()->systemVersion();
}
