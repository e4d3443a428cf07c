#include "ads/signals/ZADDevice.h"

#include "platform/uikit/UIDevice.h"

#include <charconv>

std::shared_ptr<ZADDevice> ZADDevice::sharedInstance() {
    static const std::shared_ptr<ZADDevice> device = make<ZADDevice>();
    return device;
}

std::string ZADDevice::systemVersion() const {
    return UIDevice::currentDevice()->systemVersion();
}

bool ZADDevice::OSIsSupported() const {
    // The version's leading number is its major version ("10.3.3" is 10).
    const std::string version = systemVersion();
    int major = 0;
    std::from_chars(version.data(), version.data() + version.size(), major);
    return major >= kMinimumMajorSystemVersion;
}
