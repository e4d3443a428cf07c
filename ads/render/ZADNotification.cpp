#include "ads/render/ZADNotification.h"

#include "ads/core/NSURL+ZADNSURLUtilities.h"

#include "platform/foundation/NSURL.h"
#include "platform/foundation/PlistValue.h"

#include <glib.h>

#include <cstdio>

bool ZADNotification::isNotificationURL(const std::shared_ptr<NSURL>& url) {
    return url && g_ascii_strcasecmp(url->scheme().c_str(), "zmsg") == 0;
}

std::shared_ptr<ZADNotification>
ZADNotification::initWithNotificationURL(const std::shared_ptr<NSURL>& url) {
    if (!isNotificationURL(url)) {
        return nullptr;
    }
    std::string name = url->path();
    if (!name.empty() && name.front() == '/') {
        name.erase(0, 1);
    }
    // Names keep their case: the pages spell them as their readers do.
    return initWithNameParameters(
        std::move(name),
        ZADNSURLUtilities::zad_dictionaryFromQueryParametersAndConvertKeysToLowercase(
            *url, /*lowercase=*/false));
}

std::shared_ptr<ZADNotification> ZADNotification::initWithNameParameters(std::string name,
                                                                         Parameters parameters) {
    if (name.empty()) {
        return nullptr;
    }
    return make<ZADNotification>(std::move(name), std::move(parameters));
}

std::string ZADNotification::description() const {
    PlistValue::Dictionary dictionary;
    for (const auto& [key, value] : parameters_) {
        dictionary.emplace(key, value);
    }
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
    return "<" + className() + ": " + address + "> name:" + name_ +
           " parameters:" + PlistValue(std::move(dictionary)).description();
}
