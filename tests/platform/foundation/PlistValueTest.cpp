#include "platform/foundation/PlistValue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {

TEST(PlistValueTest, LooseReadsConvertBetweenKinds) {
    struct Case {
        PlistValue value;
        bool boolean;
        int64_t integer;
        double real;
        std::string text;
    };
    const Case cases[] = {
        {PlistValue(), false, 0, 0, ""},
        {PlistValue(true), true, 1, 1, "1"},
        {PlistValue(-12), true, -12, -12, "-12"},
        {PlistValue(2.75), true, 2, 2.75, "2.75"},
        {PlistValue(1e300), true, INT64_MAX, 1e300, "1e+300"},
        {PlistValue("  7.5 apples"), true, 7, 7.5, "  7.5 apples"},
        {PlistValue("YES"), true, 0, 0, "YES"},
        {PlistValue(NSDate{5}), false, 0, 0, ""},
        {PlistValue(PlistValue::Array{1}), false, 0, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.description());
        EXPECT_EQ(c.value.boolValue(), c.boolean);
        EXPECT_EQ(c.value.integerValue(), c.integer);
        EXPECT_DOUBLE_EQ(c.value.doubleValue(), c.real);
        EXPECT_EQ(c.value.stringValue(), c.text);
    }
}

TEST(PlistValueTest, TypedAccessAndMembers) {
    PlistValue value(PlistValue::Dictionary{{"name", "x"}, {"when", NSDate{10}}});
    EXPECT_EQ(value.type(), PlistValue::Type::Dictionary);
    EXPECT_EQ(*value["name"].string(), "x");
    EXPECT_EQ(value["when"].date(), NSDate{10});
    EXPECT_TRUE(value["missing"].isNull());
    EXPECT_TRUE(value["name"]["deeper"].isNull());
    EXPECT_EQ(value["name"].array(), nullptr);
    EXPECT_FALSE(value["name"].date().has_value());
}

TEST(PlistValueTest, DescriptionIsTheOldStyleText) {
    PlistValue value(PlistValue::Dictionary{
        {"b", PlistValue::Array{1, 2.5, true, "two words", PlistValue::Array{}}},
        {"a", PlistValue::Dictionary{{"inner", "x"}}},
        {"key with space", PlistValue::Data{1, 2, 3, 4, 255}},
        {"when", NSDate{0}},
        {"quote", "say \"hi\"\n"},
        {"empty", ""},
    });
    EXPECT_EQ(value.description(), "{\n"
                                   "    a = {\n"
                                   "        inner = x;\n"
                                   "    };\n"
                                   "    b = (\n"
                                   "        1,\n"
                                   "        2.5,\n"
                                   "        1,\n"
                                   "        \"two words\",\n"
                                   "        (\n"
                                   "        )\n"
                                   "    );\n"
                                   "    empty = \"\";\n"
                                   "    \"key with space\" = <01020304 ff>;\n"
                                   "    quote = \"say \\\"hi\\\"\\n\";\n"
                                   "    when = \"2001-01-01 00:00:00 +0000\";\n"
                                   "}");
    // At the top level text describes itself, unquoted.
    EXPECT_EQ(PlistValue("two words").description(), "two words");
    EXPECT_EQ(PlistValue().description(), "(null)");
}

TEST(NSDateTest, DescriptionAndConversions) {
    EXPECT_EQ(NSDate::dateWithTimeIntervalSince1970(0).description(), "1970-01-01 00:00:00 +0000");
    EXPECT_EQ(NSDate{810047016.9}.description(), "2026-09-02 13:03:36 +0000");
    EXPECT_EQ(NSDate{-0.5}.description(), "2000-12-31 23:59:59 +0000");
    EXPECT_DOUBLE_EQ(NSDate::dateWithTimeIntervalSince1970(86400).timeIntervalSince1970(), 86400);
    // Out of a calendar's range (a damaged file may hold anything): clamped, never a crash.
    EXPECT_EQ(NSDate{1e300}.description(), "9999-12-31 23:59:59 +0000");
    EXPECT_EQ(NSDate{std::nan("")}.description(), "0001-01-01 00:00:00 +0000");
}

TEST(NSDateTest, NowComesFromTheClock) {
    NSDate now = NSDate::date();
    EXPECT_NEAR(NSDate::dateWithTimeIntervalSinceNow(60).timeIntervalSinceDate(now), 60, 5);
    EXPECT_NEAR(now.timeIntervalSinceNow(), 0, 5);
}

} // namespace
