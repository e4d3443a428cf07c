#include "platform/uikit/UIDevice.h"

std::shared_ptr<UIDevice> UIDevice::currentDevice() {
    static const auto device = make<UIDevice>();
    return device;
}
