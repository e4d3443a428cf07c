#include "platform/uikit/UIDevice.h"

std::shared_ptr<UIDevice> UIDevice::currentDevice() {
    static const std::shared_ptr<UIDevice> device(new UIDevice());
    return device;
}

void UIDevice::resetForTesting() {
    const UIDevice defaults;
    const auto device = currentDevice();
    device->setSystemVersion(defaults.systemVersion());
    device->setUserInterfaceIdiom(defaults.userInterfaceIdiom());
}
