#include "platform/foundation/PlistValue.h"

#include "platform/foundation/NSString.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

// The shortest digits that read back as the same double, laid out as %.17g would lay
// them out (exponent form only for very small or very large magnitudes): 0.5 -> "0.5",
// 1 -> "1", 1e20 -> "1e+20".
std::string describeReal(double value) {
    if (std::isnan(value)) {
        return "nan";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-inf" : "inf";
    }
    char buffer[64];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    std::string scientific(buffer, result.ptr);
    size_t e = scientific.find('e');
    std::string mantissa = scientific.substr(0, e);
    int exponent = std::stoi(scientific.substr(e + 1));
    std::string sign;
    if (!mantissa.empty() && mantissa[0] == '-') {
        sign = "-";
        mantissa.erase(0, 1);
    }
    std::string digits;
    for (char c : mantissa) {
        if (c != '.') {
            digits += c;
        }
    }
    if (exponent < -4 || exponent >= 17) {
        std::string text = sign + digits.substr(0, 1);
        if (digits.size() > 1) {
            text += "." + digits.substr(1);
        }
        char exponentText[16];
        std::snprintf(exponentText, sizeof exponentText, "e%c%02d", exponent < 0 ? '-' : '+',
                      std::abs(exponent));
        return text + exponentText;
    }
    if (exponent < 0) {
        return sign + "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    }
    size_t integerDigits = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) {
        return sign + digits + std::string(integerDigits - digits.size(), '0');
    }
    return sign + digits.substr(0, integerDigits) + "." + digits.substr(integerDigits);
}

bool isPlainWord(const std::string& text) {
    if (text.empty()) {
        return false;
    }
    for (unsigned char c : text) {
        if (!std::isalnum(c)) {
            return false;
        }
    }
    return true;
}

// Inside collections, text that is not a plain word is quoted so the structure stays
// readable.
std::string quoted(const std::string& text) {
    if (isPlainWord(text)) {
        return text;
    }
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out + "\"";
}

void describe(const PlistValue& value, int depth, bool nested, std::string& out) {
    const std::string indent(static_cast<size_t>(depth) * 4, ' ');
    const std::string inner(static_cast<size_t>(depth + 1) * 4, ' ');
    switch (value.type()) {
    case PlistValue::Type::Null:
        out += "(null)";
        return;
    case PlistValue::Type::String:
        out += nested ? quoted(*value.string()) : *value.string();
        return;
    case PlistValue::Type::Date:
        out += nested ? quoted(value.date()->description()) : value.date()->description();
        return;
    case PlistValue::Type::Data: {
        static const char* hex = "0123456789abcdef";
        out += '<';
        const auto& bytes = *value.data();
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (i > 0 && i % 4 == 0) {
                out += ' ';
            }
            out += hex[bytes[i] >> 4];
            out += hex[bytes[i] & 15];
        }
        out += '>';
        return;
    }
    case PlistValue::Type::Array: {
        out += "(\n";
        const auto& items = *value.array();
        for (size_t i = 0; i < items.size(); ++i) {
            out += inner;
            describe(items[i], depth + 1, true, out);
            out += i + 1 < items.size() ? ",\n" : "\n";
        }
        out += indent + ")";
        return;
    }
    case PlistValue::Type::Dictionary:
        out += "{\n";
        for (const auto& [key, member] : *value.dictionary()) {
            out += inner + quoted(key) + " = ";
            describe(member, depth + 1, true, out);
            out += ";\n";
        }
        out += indent + "}";
        return;
    default:
        out += value.stringValue();
    }
}

int64_t clampedInteger(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 9223372036854775807.0) {
        return std::numeric_limits<int64_t>::max();
    }
    if (value <= -9223372036854775808.0) {
        return std::numeric_limits<int64_t>::min();
    }
    return static_cast<int64_t>(value);
}

} // namespace

std::optional<NSDate> PlistValue::date() const {
    if (const auto* date = std::get_if<NSDate>(&value_)) {
        return *date;
    }
    return std::nullopt;
}

bool PlistValue::boolValue() const {
    switch (type()) {
    case Type::Boolean:
        return std::get<bool>(value_);
    case Type::Integer:
        return std::get<int64_t>(value_) != 0;
    case Type::Real:
        return std::get<double>(value_) != 0;
    case Type::String:
        return NSString::boolValue(std::get<std::string>(value_));
    default:
        return false;
    }
}

int64_t PlistValue::integerValue() const {
    switch (type()) {
    case Type::Boolean:
        return std::get<bool>(value_) ? 1 : 0;
    case Type::Integer:
        return std::get<int64_t>(value_);
    case Type::Real:
        return clampedInteger(std::get<double>(value_));
    case Type::String:
        return NSString::integerValue(std::get<std::string>(value_));
    default:
        return 0;
    }
}

double PlistValue::doubleValue() const {
    switch (type()) {
    case Type::Boolean:
        return std::get<bool>(value_) ? 1 : 0;
    case Type::Integer:
        return static_cast<double>(std::get<int64_t>(value_));
    case Type::Real:
        return std::get<double>(value_);
    case Type::String:
        return NSString::doubleValue(std::get<std::string>(value_));
    default:
        return 0;
    }
}

std::string PlistValue::stringValue() const {
    switch (type()) {
    case Type::Boolean:
        return std::get<bool>(value_) ? "1" : "0";
    case Type::Integer:
        return std::to_string(std::get<int64_t>(value_));
    case Type::Real:
        return describeReal(std::get<double>(value_));
    case Type::String:
        return std::get<std::string>(value_);
    default:
        return "";
    }
}

const PlistValue& PlistValue::operator[](const std::string& key) const {
    static const PlistValue null;
    if (const auto* members = dictionary()) {
        auto found = members->find(key);
        if (found != members->end()) {
            return found->second;
        }
    }
    return null;
}

std::string PlistValue::description() const {
    std::string out;
    describe(*this, 0, false, out);
    return out;
}
