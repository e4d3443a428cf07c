// Click-protection settings an ad brings: whether protection is on and where blocked
// navigations are reported. Only the settings are kept here; the protection itself (which
// navigations of an untouched ad are stopped) comes with the debug and protection tools.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/PlistValue.h"

#include <memory>
#include <string>
#include <vector>

class ZADAutoClickProtection : public NSObject {
    NS_OBJECT(ZADAutoClickProtection)
public:
    // {"enable_protection": bool, "reporting_urls": [texts]}; other values are ignored.
    static std::shared_ptr<ZADAutoClickProtection>
    initWithDictionary(const PlistValue::Dictionary& dictionary) {
        auto protection = make<ZADAutoClickProtection>();
        if (const auto found = dictionary.find("enable_protection"); found != dictionary.end()) {
            protection->enabled_ = found->second.boolValue();
        }
        if (const auto found = dictionary.find("reporting_urls");
            found != dictionary.end() && found->second.array()) {
            for (const auto& url : *found->second.array()) {
                if (url.string()) {
                    protection->reportingURLs_.push_back(*url.string());
                }
            }
        }
        return protection;
    }
    static std::shared_ptr<ZADAutoClickProtection> initWithAutoClickProtectionEnabled(bool enabled) {
        auto protection = make<ZADAutoClickProtection>();
        protection->enabled_ = enabled;
        return protection;
    }

    bool enabled() const { return enabled_; }
    // Templates holding "{NAVIGATION_URL}".
    const std::vector<std::string>& reportingURLs() const { return reportingURLs_; }

private:
    ZADAutoClickProtection() = default;

    bool enabled_ = false;
    std::vector<std::string> reportingURLs_;
};
