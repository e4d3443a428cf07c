#include "app/categories/UIColor+Hex.h"

#include "platform/foundation/NSString.h"
#include "platform/uikit/UIColor.h"

#include <optional>

namespace Hex {

namespace {
std::optional<int> hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return std::nullopt;
}

// One colour component from two digits. A pair that is not hexadecimal makes the whole
// text invalid: the caller then gives the clear colour rather than a made-up value.
std::optional<int> component(const std::string& text, size_t at) {
    auto high = hexDigit(text[at]);
    auto low = hexDigit(text[at + 1]);
    if (!high || !low) {
        return std::nullopt;
    }
    return *high * 16 + *low;
}
} // namespace

std::shared_ptr<UIColor> colorWithHexStringAlpha(const std::string& text, double alpha) {
    std::string digits =
        NSString::uppercaseString(NSString::stringByTrimmingWhitespaceAndNewlines(text));
    if (digits.size() < 6) {
        return UIColor::clearColor();
    }
    if (digits.starts_with("0X")) {
        digits.erase(0, 2);
    }
    if (digits.starts_with("#")) {
        digits.erase(0, 1);
    }
    if (digits.size() != 6) {
        return UIColor::clearColor();
    }
    auto red = component(digits, 0);
    auto green = component(digits, 2);
    auto blue = component(digits, 4);
    if (!red || !green || !blue) {
        return UIColor::clearColor();
    }
    // Components are single-precision values, as the colour was always computed.
    return UIColor::colorWithRedGreenBlueAlpha(static_cast<float>(*red) / 255.0f,
                                               static_cast<float>(*green) / 255.0f,
                                               static_cast<float>(*blue) / 255.0f, alpha);
}

std::shared_ptr<UIColor> colorWithHexString(const std::string& text) {
    return colorWithHexStringAlpha(text, 1.0);
}

} // namespace Hex
