#include "platform/foundation/NSString.h"

#include "platform/base/NSObject.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

namespace {

class Thing : public NSObject {
    NS_OBJECT(Thing)
public:
    std::string description() const override { return "<Thing 7>"; }
};

TEST(NSStringFormatTest, DirectivesFormatAsPrintfDoes) {
    auto thing = std::make_shared<Thing>();
    std::shared_ptr<Thing> none;
    struct Case {
        std::string got;
        std::string expected;
    };
    const Case cases[] = {
        {NSString::stringWithFormat("%d|%i|%5d|%-4d|%04d", 42, -7, 3, 9, 12),
         "42|-7|    3|9   |0012"},
        {NSString::stringWithFormat("%ld %lld %lu %llu", 1L, -2LL, 3UL, 18446744073709551615ULL),
         "1 -2 3 18446744073709551615"},
        {NSString::stringWithFormat("%u %x %X %#x %o", 7u, 255, 255, 255, 8), "7 ff FF 0xff 10"},
        {NSString::stringWithFormat("%x %lx", -1, -1L), "ffffffff ffffffffffffffff"},
        {NSString::stringWithFormat("%f %.2f %8.3f %e %g", 1.5, 2.345, 3.14159, 1000.0, 0.0001),
         "1.500000 2.35    3.142 1.000000e+03 0.0001"},
        {NSString::stringWithFormat("%+.1f", 2.0f), "+2.0"},
        {NSString::stringWithFormat("%s and %@", "text", std::string("more")), "text and more"},
        {NSString::stringWithFormat("%@ %@ %@", *thing, thing, none), "<Thing 7> <Thing 7> (null)"},
        {NSString::stringWithFormat("%c%c", 'o', 'k'), "ok"},
        {NSString::stringWithFormat("%d%%", 50), "50%"},
        {NSString::stringWithFormat("[%6s][%-6@][%.2s]", "ab", "cd", "xyz"),
         "[    ab][cd    ][xy]"},
        {NSString::stringWithFormat("%d %d", true, false), "1 0"},
        {NSString::stringWithFormat("%@", PlistValue(PlistValue::Array{1, "a b"})),
         "(\n    1,\n    \"a b\"\n)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.got, c.expected);
    }
}

TEST(NSStringFormatTest, NumbersAsObjectsUseTheShortestExactForm) {
    EXPECT_EQ(NSString::stringWithFormat("%@ %@ %@ %@", 0.5, 1.0, 0.1, -2.25), "0.5 1 0.1 -2.25");
    EXPECT_EQ(NSString::stringWithFormat("%@ %@ %@", 1e16, 1e20, 123456789012345680.0),
              "10000000000000000 1e+20 1.2345678901234568e+17");
    EXPECT_EQ(NSString::stringWithFormat("%@ %@", 1e-5, 1.0 / 3), "1e-05 0.3333333333333333");
    EXPECT_EQ(NSString::stringWithFormat("%@ %@ %@", 42, -42L, uint64_t{7}), "42 -42 7");
}

TEST(NSStringFormatTest, MismatchedArgumentsNeverReadPastTheList) {
    // Missing arguments: nothing for text, zero for numbers.
    EXPECT_EQ(NSString::stringWithFormat("a%@b%sc%dd%.1fe%x"), "abc0d0.0e0");
    EXPECT_EQ(NSString::stringWithFormat("%@ %@", "one"), "one ");
    // Extra arguments are ignored.
    EXPECT_EQ(NSString::stringWithFormat("%d", 1, 2, "three"), "1");
    // A number directive given text reads the text's leading number.
    EXPECT_EQ(NSString::stringWithFormat("%d|%.1f|%d", "12abc", " 2.5x", "abc"), "12|2.5|0");
    // Unknown or incomplete directives are copied as written.
    EXPECT_EQ(NSString::stringWithFormat("%y %k 100%", 1), "%y %k 100%");
    EXPECT_EQ(NSString::stringWithFormat("%5", 1), "%5");
    EXPECT_EQ(NSString::stringWithFormat("%*d|%99999d", 1, 2), "%*d|%99999d");
}

TEST(NSStringFormatTest, LongResultsAreNotCut) {
    std::string text(1000, 'x');
    EXPECT_EQ(NSString::stringWithFormat("%@", text), text);
    EXPECT_EQ(NSString::stringWithFormat("%300d", 1).size(), 300u);
    EXPECT_EQ(NSString::stringWithFormat("%.0f", 1e300).size(), 301u);
}

TEST(NSStringCompareTest, NumericAndCaseOptions) {
    struct Case {
        const char* a;
        const char* b;
        unsigned options;
        NSComparisonResult expected;
    };
    const Case cases[] = {
        {"1.10", "1.9", NSNumericSearch, NSOrderedDescending},
        {"1.9", "1.10", NSNumericSearch, NSOrderedAscending},
        {"2", "10", NSNumericSearch, NSOrderedAscending},
        {"1.0", "1.0", NSNumericSearch, NSOrderedSame},
        {"", "1", NSNumericSearch, NSOrderedAscending},
        {"1", "", NSNumericSearch, NSOrderedDescending},
        {"007", "7", NSNumericSearch, NSOrderedSame},
        {"v99999999999999999999999", "v100000000000000000000000", NSNumericSearch,
         NSOrderedAscending},
        {"1.2", "1.2.1", NSNumericSearch, NSOrderedAscending},
        {"2", "10", 0, NSOrderedDescending},
        {"a", "B", 0, NSOrderedDescending},
        {"a", "B", NSCaseInsensitiveSearch, NSOrderedAscending},
        {"ABC", "abc", NSCaseInsensitiveSearch | NSNumericSearch, NSOrderedSame},
        {"abc", "abd", NSLiteralSearch, NSOrderedAscending},
        {"\xC3\xA9", "z", 0, NSOrderedDescending},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NSString::compareOptions(c.a, c.b, c.options), c.expected)
            << c.a << " vs " << c.b << " options " << c.options;
    }
}

TEST(NSStringValueTest, LeadingNumbers) {
    struct Case {
        const char* text;
        int64_t integer;
        double real;
        bool boolean;
    };
    const Case cases[] = {
        {"42", 42, 42, true},
        {"  -17abc", -17, -17, true},
        {"+3.75", 3, 3.75, true},
        {"9.3.5", 9, 9.3, true},
        {"10.0", 10, 10, true},
        {"abc", 0, 0, false},
        {"", 0, 0, false},
        {".5", 0, 0.5, false},
        {"1e3", 1, 1000, true},
        {"2e", 2, 2, true},
        {"0", 0, 0, false},
        {"  000042", 42, 42, true},
        {"YES", 0, 0, true},
        {"no", 0, 0, false},
        {"true", 0, 0, true},
        {"-0y", 0, 0, true},
        {"99999999999999999999", INT64_MAX, 1e20, true},
        {"-99999999999999999999", INT64_MIN, -1e20, true},
        {"-9223372036854775808", INT64_MIN, -9223372036854775808.0, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NSString::integerValue(c.text), c.integer) << c.text;
        EXPECT_DOUBLE_EQ(NSString::doubleValue(c.text), c.real) << c.text;
        EXPECT_EQ(NSString::boolValue(c.text), c.boolean) << c.text;
    }
    EXPECT_EQ(NSString::floatValue("9.3.5"), 9.3f);
    EXPECT_EQ(NSString::intValue("99999999999"), INT_MAX);
    EXPECT_EQ(NSString::intValue("-99999999999"), INT_MIN);
    EXPECT_TRUE(std::isinf(NSString::doubleValue("1e999")));
    EXPECT_EQ(NSString::doubleValue("1e-999"), 0.0);
}

TEST(NSStringTransformTest, TrimReplaceSplitUppercase) {
    EXPECT_EQ(NSString::stringByTrimmingWhitespaceAndNewlines(" \t\n a b \r\n"), "a b");
    EXPECT_EQ(NSString::stringByTrimmingWhitespaceAndNewlines(" \n "), "");
    EXPECT_EQ(NSString::uppercaseString("abc-\xC3\xA9z"), "ABC-\xC3\xA9Z");
    EXPECT_EQ(NSString::stringByReplacingOccurrencesOfStringWithString("aXbXXc", "X", "--"),
              "a--b----c");
    EXPECT_EQ(NSString::stringByReplacingOccurrencesOfStringWithString("aaa", "aa", "b"), "ba");
    EXPECT_EQ(NSString::stringByReplacingOccurrencesOfStringWithString("abc", "", "x"), "abc");
    using Parts = std::vector<std::string>;
    EXPECT_EQ(NSString::componentsSeparatedByString("a,b,,c", ","), (Parts{"a", "b", "", "c"}));
    EXPECT_EQ(NSString::componentsSeparatedByString(",a,", ","), (Parts{"", "a", ""}));
    EXPECT_EQ(NSString::componentsSeparatedByString("", ","), (Parts{""}));
    EXPECT_EQ(NSString::componentsSeparatedByString("a::b", "::"), (Parts{"a", "b"}));
}

TEST(NSStringEncodingTest, UTF8CheckRefusesWhatNoTextCanHold) {
    struct Case {
        std::string bytes;
        bool valid;
    };
    const Case cases[] = {
        {"", true},
        {"plain", true},
        {std::string("nul\0inside", 10), true},
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", true}, // 2, 3 and 4 bytes
        {"\xF4\x8F\xBF\xBF", true},                          // U+10FFFF
        {"\xFF", false},
        {"\x80", false}, // a continuation without a lead
        {"\xC3", false}, // cut short
        {"\xE2\x82", false},
        {"\xC3\x28", false}, // lead without a continuation
        {"\xC0\xAF", false}, // overlong "/"
        {"\xE0\x80\xAF", false},
        {"\xED\xA0\x80", false},         // a surrogate
        {"\xF4\x90\x80\x80", false},     // past U+10FFFF
        {"\xF8\x88\x80\x80\x80", false}, // five-byte form
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NSString::isValidUTF8(c.bytes), c.valid) << ::testing::PrintToString(c.bytes);
    }
}

TEST(NSStringEncodingTest, PercentDecodingRefusesMalformedEscapesAndNonText) {
    struct Case {
        const char* text;
        std::optional<std::string> decoded;
    };
    const Case cases[] = {
        {"a%20b", "a b"},
        {"a+b", "a+b"},
        {"%e2%82%AC", "\xE2\x82\xAC"},
        {"100%25", "100%"},
        {"%00", std::string(1, '\0')},
        {"", ""},
        {"%", std::nullopt},
        {"%2", std::nullopt},
        {"%zz", std::nullopt},
        {"%2g", std::nullopt},
        {"%FF", std::nullopt}, // a byte that is no text
        {"%C3", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NSString::stringByRemovingPercentEncoding(c.text), c.decoded) << c.text;
    }
}

} // namespace
