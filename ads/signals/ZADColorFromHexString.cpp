#include "ads/signals/ZADColorFromHexString.h"

#include "platform/uikit/UIColor.h"

#include <limits>
#include <optional>

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

bool isSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == '#';
}

// What a scanner reading a hexadecimal long long finds: the skipped characters passed
// over, an optional "0x", then the digits; a number past 64 bits reads as the largest.
std::optional<uint64_t> scanHexLongLong(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && isSkipped(text[i])) {
        ++i;
    }
    if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        hexDigit(text[i + 2]) >= 0) {
        i += 2;
    }
    if (i == text.size() || hexDigit(text[i]) < 0) {
        return std::nullopt;
    }
    constexpr uint64_t kLargest = std::numeric_limits<uint64_t>::max();
    uint64_t value = 0;
    for (; i < text.size() && hexDigit(text[i]) >= 0; ++i) {
        value = value > (kLargest >> 4) ? kLargest : (value << 4) | hexDigit(text[i]);
    }
    return value;
}

} // namespace

std::shared_ptr<UIColor> ZADColorFromRGBValue(uint32_t value) {
    return UIColor::colorWithRedGreenBlueAlpha(
        ((value >> 16) & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0, (value & 0xFF) / 255.0, 1.0);
}

std::shared_ptr<UIColor> ZADColorFromHexString(const std::string& text) {
    auto value = scanHexLongLong(text);
    if (!value) {
        return nullptr;
    }
    return ZADColorFromRGBValue(static_cast<uint32_t>(*value));
}
