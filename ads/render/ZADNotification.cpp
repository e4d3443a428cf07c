#include "ads/render/ZADNotification.h"

#include "platform/foundation/NSURL.h"
#include "platform/foundation/PlistValue.h"

#include <glib.h>

#include <cstdio>
#include <optional>
#include <string_view>

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Percent escapes decoded, "+" left alone; nothing when an escape is malformed or the
// bytes are not UTF-8.
std::optional<std::string> percentDecoded(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            bytes += text[i];
            continue;
        }
        if (i + 2 >= text.size()) {
            return std::nullopt;
        }
        int high = hexDigit(text[i + 1]);
        int low = hexDigit(text[i + 2]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    if (!g_utf8_validate(bytes.data(), static_cast<gssize>(bytes.size()), nullptr)) {
        return std::nullopt;
    }
    return bytes;
}

// The query's pieces as names and values, by the rules of the header. Names keep their
// case: the pages spell them as their readers do.
ZADNotification::Parameters parametersOfQuery(std::string_view query) {
    ZADNotification::Parameters parameters;
    size_t begin = 0;
    while (begin <= query.size()) {
        size_t end = query.find_first_of("&;", begin);
        if (end == std::string_view::npos) {
            end = query.size();
        }
        std::string_view piece = query.substr(begin, end - begin);
        size_t equals = piece.find('=');
        if (equals != std::string_view::npos &&
            piece.find('=', equals + 1) == std::string_view::npos) {
            auto name = percentDecoded(piece.substr(0, equals));
            auto value = percentDecoded(piece.substr(equals + 1));
            if (name && value) {
                parameters[*name] = std::move(*value);
            }
        }
        begin = end + 1;
    }
    return parameters;
}

} // namespace

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
    return initWithNameParameters(std::move(name), parametersOfQuery(url->query()));
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
