#include "ads/core/NSString+ZADJSONAdditions.h"

#include "platform/foundation/NSJSONSerialization.h"

#include <glib.h>
#include <nlohmann/json.hpp>

#include <cstdint>

namespace ZADJSONAdditions {

namespace {

// One UTF-16 code unit as a backslash, "u" and four lower-case hexadecimal digits, as JSON writers
// write the characters they escape.
void appendEscape(std::string& out, uint16_t unit) {
    constexpr const char* kDigits = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) {
        out += kDigits[(unit >> shift) & 0xF];
    }
}

} // namespace

ErrorOr<PlistValue> zad_decodedJSONObject(const std::string& text) {
    std::shared_ptr<NSError> error;
    auto value = NSJSONSerialization::JSONObjectWithDataOptionsError(
        std::vector<uint8_t>(text.begin(), text.end()), NSJSONReadingFragmentsAllowed, &error);
    if (!value) {
        return error;
    }
    return std::move(*value);
}

std::string zad_JSONStringLiteral(const std::string& text) {
    return zad_scriptSafeJSON(
        nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

std::string zad_scriptSafeJSON(const std::string& json) {
    std::string out;
    out.reserve(json.size());
    for (size_t at = 0; at < json.size();) {
        const auto byte = static_cast<unsigned char>(json[at]);
        if (byte < 0x80) {
            if (byte == '<') {
                appendEscape(out, byte);
            } else {
                out += static_cast<char>(byte);
            }
            ++at;
            continue;
        }
        gunichar character =
            g_utf8_get_char_validated(json.data() + at, static_cast<gssize>(json.size() - at));
        if (character == static_cast<gunichar>(-1) || character == static_cast<gunichar>(-2)) {
            appendEscape(out, 0xFFFD);
            ++at;
            continue;
        }
        at += static_cast<size_t>(g_unichar_to_utf8(character, nullptr));
        // Past the basic plane a character is written as its two UTF-16 halves.
        if (character > 0xFFFF) {
            character -= 0x10000;
            appendEscape(out, static_cast<uint16_t>(0xD800 + (character >> 10)));
            appendEscape(out, static_cast<uint16_t>(0xDC00 + (character & 0x3FF)));
        } else {
            appendEscape(out, static_cast<uint16_t>(character));
        }
    }
    return out;
}

} // namespace ZADJSONAdditions
