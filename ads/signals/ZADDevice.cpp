#include "ads/signals/ZADDevice.h"

#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIScreen.h"

#include <algorithm>
#include <array>

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

bool ZADDevice::isOSAtLeastMajorMinorPatch(int major, int minor, int patch) const {
    const std::string version = systemVersion();
    std::array<int, 3> parts{0, 0, 0};
    const char* cursor = version.data();
    const char* const end = version.data() + version.size();
    for (int& part : parts) {
        const auto [next, error] = std::from_chars(cursor, end, part);
        if (error != std::errc() || next == end || *next != '.') {
            break;
        }
        cursor = next + 1;
    }
    return parts >= std::array<int, 3>{major, minor, patch};
}

CGRect ZADDevice::standardizedPortraitScreenBounds() const {
    const CGSize size = UIScreen::mainScreen()->bounds().size;
    return CGRectMake(0, 0, std::min(size.width, size.height), std::max(size.width, size.height));
}
