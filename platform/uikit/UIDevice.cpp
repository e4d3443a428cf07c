#include "platform/uikit/UIDevice.h"

std::shared_ptr<UIDevice> UIDevice::currentDevice() {
    static const auto device = make<UIDevice>();
    return device;
}

void UIDevice::resetForTesting() {
    const UIDevice defaults;
    const auto device = currentDevice();
    device->setSystemVersion(defaults.systemVersion());
    device->setUserInterfaceIdiom(defaults.userInterfaceIdiom());
}
