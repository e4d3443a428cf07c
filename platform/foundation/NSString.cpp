#include "platform/foundation/NSString.h"

#include <charconv>
#include <climits>
#include <cstdio>
#include <limits>
#include <optional>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

char foldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Beyond this a width or precision is taken for a typo, not a request for megabytes.
constexpr int kLargestField = 9999;

struct Directive {
    std::string flags;
    std::string width;
    std::string precision; // with its leading '.', empty when absent
    std::string length;
    char conversion = 0;
    size_t end = 0; // index just past the directive
};

// The directive starting at the '%' at `start`, or nothing when what follows is not one
// we know (it is then copied as written).
std::optional<Directive> parseDirective(std::string_view format, size_t start) {
    Directive directive;
    size_t i = start + 1;
    auto digits = [&](std::string& into) {
        while (i < format.size() && isDigit(format[i])) {
            into += format[i++];
        }
        return into.size() <= 4 && (into.empty() || std::stoi(into) <= kLargestField);
    };
    while (i < format.size() &&
           std::string_view("-+ #0").find(format[i]) != std::string_view::npos) {
        directive.flags += format[i++];
    }
    if (!digits(directive.width)) {
        return std::nullopt;
    }
    if (i < format.size() && format[i] == '.') {
        ++i;
        std::string precision;
        if (!digits(precision)) {
            return std::nullopt;
        }
        directive.precision = "." + (precision.empty() ? std::string("0") : precision);
    }
    for (std::string_view modifier : {"hh", "h", "ll", "l", "q", "L", "z", "t", "j"}) {
        if (format.substr(i, modifier.size()) == modifier) {
            directive.length = modifier;
            i += modifier.size();
            break;
        }
    }
    if (i >= format.size() ||
        std::string_view("@sdiuxXocfFeEgG").find(format[i]) == std::string_view::npos) {
        return std::nullopt;
    }
    directive.conversion = format[i];
    directive.end = i + 1;
    return directive;
}

template <class T> std::string printOne(const std::string& spec, T value) {
    char small[128];
    int length = std::snprintf(small, sizeof small, spec.c_str(), value);
    if (length < 0) {
        return "";
    }
    if (static_cast<size_t>(length) < sizeof small) {
        return std::string(small, static_cast<size_t>(length));
    }
    std::string large(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(large.data(), large.size(), spec.c_str(), value);
    large.resize(static_cast<size_t>(length));
    return large;
}

// %s and %@ pad and cut by hand, so text may hold any byte; a cut never splits a UTF-8
// sequence.
std::string formatText(const Directive& directive, std::string text) {
    if (!directive.precision.empty()) {
        size_t limit = static_cast<size_t>(std::stoi(directive.precision.substr(1)));
        if (text.size() > limit) {
            while (limit > 0 && (static_cast<unsigned char>(text[limit]) & 0xC0) == 0x80) {
                --limit;
            }
            text.resize(limit);
        }
    }
    size_t width = directive.width.empty() ? 0 : static_cast<size_t>(std::stoi(directive.width));
    if (text.size() < width) {
        std::string padding(width - text.size(), ' ');
        bool left = directive.flags.find('-') != std::string::npos;
        text = left ? text + padding : padding + text;
    }
    return text;
}

std::string formatDirective(const Directive& directive, const NSFormatArgument* argument) {
    const std::string spec = "%" + directive.flags + directive.width + directive.precision;
    const bool wide =
        !directive.length.empty() && directive.length != "h" && directive.length != "hh";
    switch (directive.conversion) {
    case '@':
    case 's':
        return formatText(directive, argument ? argument->textValue() : std::string());
    case 'c':
        return printOne(spec + "c", static_cast<int>(argument ? argument->integerValue() : 0));
    case 'd':
    case 'i': {
        int64_t value = argument ? argument->integerValue() : 0;
        if (wide) {
            return printOne(spec + "lld", static_cast<long long>(value));
        }
        return printOne(spec + directive.length + "d", static_cast<int>(value));
    }
    case 'u':
    case 'x':
    case 'X':
    case 'o': {
        uint64_t value = argument ? argument->unsignedValue() : 0;
        if (wide) {
            return printOne(spec + "ll" + directive.conversion,
                            static_cast<unsigned long long>(value));
        }
        return printOne(spec + directive.length + directive.conversion,
                        static_cast<unsigned>(value));
    }
    default:
        return printOne(spec + directive.conversion, argument ? argument->doubleValue() : 0.0);
    }
}

// The leading decimal number (sign, digits, fraction, exponent) after white space.
double leadingReal(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && isSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i++] == '-';
    }
    size_t start = i;
    size_t mantissaDigits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i, ++mantissaDigits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i, ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) {
                ++j;
            }
            i = j;
        }
    }
    double value = 0;
    auto result = std::from_chars(text.data() + start, text.data() + i, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Beyond a double's range: saturate to infinity or zero as the platform does.
        std::string_view number(text.data() + start, i - start);
        size_t exponentMark = number.find_first_of("eE");
        bool negativeExponent =
            exponentMark != std::string_view::npos && number[exponentMark + 1] == '-';
        std::string_view whole = number.substr(0, number.find_first_of(".eE"));
        bool tiny = negativeExponent || (exponentMark == std::string_view::npos &&
                                         whole.find_first_not_of('0') == std::string_view::npos);
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

} // namespace

std::string NSString::stringWithFormatArguments(std::string_view format,
                                                std::span<const NSFormatArgument> arguments) {
    std::string out;
    size_t nextArgument = 0;
    size_t i = 0;
    while (i < format.size()) {
        if (format[i] != '%') {
            out += format[i++];
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        auto directive = parseDirective(format, i);
        if (!directive) {
            out += format[i++];
            continue;
        }
        const NSFormatArgument* argument =
            nextArgument < arguments.size() ? &arguments[nextArgument] : nullptr;
        ++nextArgument;
        out += formatDirective(*directive, argument);
        i = directive->end;
    }
    return out;
}

NSComparisonResult NSString::compareOptions(const std::string& a, const std::string& b,
                                            unsigned options) {
    const bool caseless = options & NSCaseInsensitiveSearch;
    const bool numeric = options & NSNumericSearch;
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (numeric && isDigit(a[i]) && isDigit(b[j])) {
            // Compare the runs as numbers of any length: without leading zeros, the longer
            // run is the larger number; of equal length, the first differing digit decides.
            while (i < a.size() && a[i] == '0') {
                ++i;
            }
            while (j < b.size() && b[j] == '0') {
                ++j;
            }
            size_t runA = i;
            size_t runB = j;
            while (runA < a.size() && isDigit(a[runA])) {
                ++runA;
            }
            while (runB < b.size() && isDigit(b[runB])) {
                ++runB;
            }
            if (runA - i != runB - j) {
                return runA - i < runB - j ? NSOrderedAscending : NSOrderedDescending;
            }
            int order = a.compare(i, runA - i, b, j, runB - j);
            if (order != 0) {
                return order < 0 ? NSOrderedAscending : NSOrderedDescending;
            }
            i = runA;
            j = runB;
            continue;
        }
        unsigned char x = static_cast<unsigned char>(caseless ? foldCase(a[i]) : a[i]);
        unsigned char y = static_cast<unsigned char>(caseless ? foldCase(b[j]) : b[j]);
        if (x != y) {
            return x < y ? NSOrderedAscending : NSOrderedDescending;
        }
        ++i;
        ++j;
    }
    bool aLeft = i < a.size();
    bool bLeft = j < b.size();
    if (aLeft == bLeft) {
        return NSOrderedSame;
    }
    return aLeft ? NSOrderedDescending : NSOrderedAscending;
}

int64_t NSString::integerValue(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && isSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i++] == '-';
    }
    // Accumulated as a negative number, whose range holds INT64_MIN.
    int64_t value = 0;
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    for (; i < text.size() && isDigit(text[i]); ++i) {
        int digit = text[i] - '0';
        if (value < (kMin + digit) / 10) {
            return negative ? kMin : std::numeric_limits<int64_t>::max();
        }
        value = value * 10 - digit;
    }
    if (negative) {
        return value;
    }
    return value == kMin ? std::numeric_limits<int64_t>::max() : -value;
}

int NSString::intValue(const std::string& text) {
    int64_t value = integerValue(text);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

float NSString::floatValue(const std::string& text) {
    return static_cast<float>(leadingReal(text));
}

double NSString::doubleValue(const std::string& text) {
    return leadingReal(text);
}

bool NSString::boolValue(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && isSpace(text[i])) {
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    while (i < text.size() && text[i] == '0') {
        ++i;
    }
    return i < text.size() &&
           std::string_view("YyTt123456789").find(text[i]) != std::string_view::npos;
}

std::string NSString::stringByTrimmingWhitespaceAndNewlines(const std::string& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && isSpace(text[first])) {
        ++first;
    }
    while (last > first && isSpace(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

std::string NSString::uppercaseString(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

std::string NSString::stringByReplacingOccurrencesOfStringWithString(
    const std::string& text, const std::string& target, const std::string& replacement) {
    if (target.empty()) {
        return text;
    }
    std::string out;
    size_t from = 0;
    for (size_t found; (found = text.find(target, from)) != std::string::npos;
         from = found + target.size()) {
        out.append(text, from, found - from);
        out += replacement;
    }
    out.append(text, from, std::string::npos);
    return out;
}

std::vector<std::string> NSString::componentsSeparatedByString(const std::string& text,
                                                               const std::string& separator) {
    if (separator.empty()) {
        return {text};
    }
    std::vector<std::string> parts;
    size_t from = 0;
    for (size_t found; (found = text.find(separator, from)) != std::string::npos;
         from = found + separator.size()) {
        parts.push_back(text.substr(from, found - from));
    }
    parts.push_back(text.substr(from));
    return parts;
}

bool NSString::isValidUTF8(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        // The length the lead byte announces, the bits it holds and the least code point
        // that needs that length, so overlong forms are refused.
        struct Form {
            unsigned char leadMask, leadBits, valueMask;
            size_t length;
            uint32_t least;
        };
        static constexpr Form kForms[] = {
            {0xE0, 0xC0, 0x1F, 2, 0x80},
            {0xF0, 0xE0, 0x0F, 3, 0x800},
            {0xF8, 0xF0, 0x07, 4, 0x10000},
        };
        const Form* form = nullptr;
        for (const Form& candidate : kForms) {
            if ((lead & candidate.leadMask) == candidate.leadBits) {
                form = &candidate;
            }
        }
        if (!form) {
            return false;
        }
        size_t length = form->length;
        uint32_t codePoint = lead & form->valueMask;
        uint32_t least = form->least;
        if (bytes.size() - i < length) {
            return false;
        }
        for (size_t k = 1; k < length; ++k) {
            auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        if (codePoint < least || codePoint > 0x10FFFF ||
            (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

std::optional<std::string> NSString::stringByRemovingPercentEncoding(const std::string& text) {
    auto hexValue = [](char c) -> int {
        if (isDigit(c)) {
            return c - '0';
        }
        char lower = foldCase(c);
        return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
    };
    std::string decoded;
    decoded.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded += text[i];
            continue;
        }
        int high = i + 2 < text.size() ? hexValue(text[i + 1]) : -1;
        int low = high >= 0 ? hexValue(text[i + 2]) : -1;
        if (low < 0) {
            return std::nullopt;
        }
        decoded += static_cast<char>(high * 16 + low);
        i += 2;
    }
    if (!isValidUTF8(decoded)) {
        return std::nullopt;
    }
    return decoded;
}
