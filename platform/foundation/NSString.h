// The platform's string operations on our string type (UTF-8 std::string): formatting,
// comparison, the numeric readings and the small transformations the system uses.
#pragma once

#include "platform/foundation/NSFormatArgument.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum NSStringCompareOptions : unsigned {
    NSCaseInsensitiveSearch = 1,
    NSLiteralSearch = 2,
    NSNumericSearch = 64,
};

enum NSComparisonResult { NSOrderedAscending = -1, NSOrderedSame = 0, NSOrderedDescending = 1 };

struct NSString {
    // printf-style formatting with %@ for objects. A directive without an argument prints
    // nothing (text) or 0 (numbers); extra arguments are ignored; an unknown directive is
    // copied as written.
    template <class... A>
    static std::string stringWithFormat(std::string_view format, const A&... args) {
        const std::array<NSFormatArgument, sizeof...(A)> arguments{NSFormatArgument(args)...};
        return stringWithFormatArguments(format, arguments);
    }
    static std::string stringWithFormatArguments(std::string_view format,
                                                 std::span<const NSFormatArgument> arguments);

    // Byte order (case-folded for NSCaseInsensitiveSearch); with NSNumericSearch runs of
    // digits compare by value, so "1.9" < "1.10".
    static NSComparisonResult compareOptions(const std::string& a, const std::string& b,
                                             unsigned options);

    // The leading number of the text after white space, 0 when there is none; integers
    // clamp to their range.
    static int64_t integerValue(const std::string& text);
    static int intValue(const std::string& text);
    static float floatValue(const std::string& text);
    static double doubleValue(const std::string& text);
    // True for a leading Y, y, T, t or non-zero digit (after white space, sign and zeros).
    static bool boolValue(const std::string& text);

    static std::string stringByTrimmingWhitespaceAndNewlines(const std::string& text);
    static std::string uppercaseString(const std::string& text);
    static std::string stringByReplacingOccurrencesOfStringWithString(
        const std::string& text, const std::string& target, const std::string& replacement);
    static std::vector<std::string> componentsSeparatedByString(const std::string& text,
                                                                const std::string& separator);

    // Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or code points
    // past U+10FFFF): whether the platform could hold them as text at all.
    static bool isValidUTF8(std::string_view bytes);
    // Every "%" and two hexadecimal digits turned into that byte; nothing when a "%" is not
    // followed by two hexadecimal digits or the bytes are not UTF-8. "+" stays a plus sign.
    static std::optional<std::string> stringByRemovingPercentEncoding(const std::string& text);
};
