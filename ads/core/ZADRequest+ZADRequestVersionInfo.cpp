#include "ads/core/ZADRequest+ZADRequestVersionInfo.h"

#include "ads/core/ZADRequest.h"

namespace ZADRequestVersionInfo {

namespace {

constexpr const char* kVersionIdentifiers = "rc.1";
constexpr const char* kVersionMetadata = "d138a36ede34a5eada191d6e1e3950a40557af21";

std::string prefixedUnlessEmpty(const char* prefix, const std::string& text) {
    return text.empty() ? std::string() : prefix + text;
}

} // namespace

std::string sdkVersionIdentifiers() {
    return prefixedUnlessEmpty("-", kVersionIdentifiers);
}

std::string sdkVersionMetadata() {
    return prefixedUnlessEmpty("+", kVersionMetadata);
}

const std::string& extendedSDKVersionNumber() {
    static const std::string version =
        ZADRequest::sdkVersion() + sdkVersionIdentifiers() + sdkVersionMetadata();
    return version;
}

} // namespace ZADRequestVersionInfo
