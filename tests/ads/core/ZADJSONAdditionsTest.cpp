#include "ads/core/NSDictionary+ZADJSONAdditions.h"
#include "ads/core/NSDictionary+ZADObjectValidation.h"
#include "ads/core/NSString+ZADJSONAdditions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using namespace ZADJSONAdditions;

TEST(ZADJSONAdditionsTest, DecodesAnyJSONValueAtTheTop) {
    struct Case {
        const char* text;
        PlistValue value;
    };
    const Case cases[] = {
        {R"({"a":1,"b":[true,null,"x"],"c":{"d":2.5}})",
         PlistValue::Dictionary{{"a", 1},
                                {"b", PlistValue::Array{true, PlistValue(), "x"}},
                                {"c", PlistValue::Dictionary{{"d", 2.5}}}}},
        {"42", 42},
        {"-0.5", -0.5},
        {R"("text")", "text"},
        {"true", true},
        {"null", PlistValue()},
        {" [] ", PlistValue::Array{}},
        {R"("caf\u00e9")", "caf\xC3\xA9"},
    };
    for (const auto& c : cases) {
        auto decoded = zad_decodedJSONObject(c.text);
        ASSERT_FALSE(decoded.hasError()) << c.text;
        EXPECT_EQ(decoded.value(), c.value) << c.text;
    }
    for (const char* broken : {"", "{", "[1,]", "{'a':1}", "nul", "1 2", "\"\xFF\""}) {
        auto decoded = zad_decodedJSONObject(broken);
        ASSERT_TRUE(decoded.hasError()) << broken;
        EXPECT_EQ(decoded.error()->domain(), "NSCocoaErrorDomain") << "the parser's own error";
    }
}

TEST(ZADJSONAdditionsTest, WritesCompactOrIndentedAndRefusesWhatJSONCannotSay) {
    const PlistValue::Dictionary params{{"slot", "banner"}, {"n", 2}, {"on", true}};
    auto compact = zad_JSONStringPretty(params, false);
    ASSERT_FALSE(compact.hasError());
    EXPECT_EQ(compact.value(), R"({"n":2,"on":true,"slot":"banner"})");
    auto pretty = zad_JSONStringPretty(params, true);
    ASSERT_FALSE(pretty.hasError());
    EXPECT_EQ(pretty.value(), "{\n  \"n\": 2,\n  \"on\": true,\n  \"slot\": \"banner\"\n}");
    EXPECT_EQ(zad_decodedJSONObject(pretty.value()).value(), PlistValue(params));

    // Text that would close a string or a script is escaped, never pasted raw.
    auto hostile = zad_JSONStringPretty({{"name", "\");alert(1);//\n"}}, false);
    EXPECT_EQ(hostile.value(), R"({"name":"\");alert(1);//\n"})");
    // Keys and values are script-safe as string literals are (see below).
    auto script = zad_JSONStringPretty({{"</script>", "caf\xC3\xA9\xE2\x80\xA8"}}, false);
    EXPECT_EQ(script.value(), R"({"\u003c/script>":"caf\u00e9\u2028"})");

    for (const PlistValue::Dictionary& invalid :
         {PlistValue::Dictionary{{"when", NSDate{0}}},
          PlistValue::Dictionary{{"x", PlistValue::Array{std::nan("")}}},
          PlistValue::Dictionary{{"bytes", PlistValue::Data{1}}},
          PlistValue::Dictionary{{"\xFF", 1}}}) {
        auto written = zad_JSONStringPretty(invalid, false);
        ASSERT_TRUE(written.hasError());
        EXPECT_EQ(written.error()->domain(), "com.zivido.ads.private");
        EXPECT_EQ(written.error()->code(), 2);
        EXPECT_EQ(written.error()->localizedDescription(), "Invalid JSON object.");
    }
}

TEST(ZADJSONAdditionsTest, StringLiteralsAreSafeAnywhereInAScript) {
    struct Case {
        const char* name;
        std::string text;
        const char* literal;
    };
    const Case cases[] = {
        {"plain", "ROZU_getAd", R"("ROZU_getAd")"},
        {"quotes and backslashes", "a\"b\\c'd", R"("a\"b\\c'd")"},
        {"control bytes", std::string("\n\t\x01\x1F\0x", 6), R"("\n\t\u0001\u001f\u0000x")"},
        {"outside ASCII", "caf\xC3\xA9 \xE2\x82\xAC", R"("caf\u00e9 \u20ac")"},
        {"line and paragraph separators",
         "a\xE2\x80\xA8"
         "b\xE2\x80\xA9",
         R"("a\u2028b\u2029")"},
        {"past the basic plane", "\xF0\x9F\x98\x80", R"("\ud83d\ude00")"},
        {"an HTML script's end and comment", "</script><!--", R"("\u003c/script>\u003c!--")"},
        {"bytes that are not UTF-8", "a\xFF\xC3(\xED\xA0\x80",
         R"("a\ufffd\ufffd(\ufffd\ufffd\ufffd")"},
        {"a character cut short", "\xE2\x82", R"("\ufffd")"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string literal = zad_JSONStringLiteral(c.text);
        EXPECT_EQ(literal, c.literal);
        // What a page reads back is the text itself (or its replaced bytes).
        auto decoded = zad_decodedJSONObject(literal);
        ASSERT_FALSE(decoded.hasError());
        ASSERT_NE(decoded.value().string(), nullptr);
    }
    EXPECT_EQ(*zad_decodedJSONObject(zad_JSONStringLiteral("\xF0\x9F\x98\x80</a>\xE2\x80\xA8"))
                   .value()
                   .string(),
              "\xF0\x9F\x98\x80</a>\xE2\x80\xA8");
}

TEST(ZADJSONAdditionsTest, SafeDictionaryReplacesOnlyWhatJSONCannotSay) {
    const NSDate date{0};
    const PlistValue::Dictionary plain{{"s", "x"}, {"n", 1}, {"list", PlistValue::Array{1, "a"}}};
    EXPECT_EQ(zad_JSONSafeDictionary(plain), plain);
    EXPECT_EQ(zad_JSONSafeDictionary({}), PlistValue::Dictionary{});

    const PlistValue::Array mixed{1, date};
    const PlistValue::Dictionary unsafe{
        {"when", date},
        {"list", mixed},
        {"nested", PlistValue::Dictionary{{"bytes", PlistValue::Data{0xAB}}, {"ok", 1}}},
        {"nan", std::nan("")},
        {"s", "x"},
    };
    const PlistValue::Dictionary expected{
        {"when", date.description()},
        // One value JSON cannot say makes the whole array its description.
        {"list", PlistValue(mixed).description()},
        {"nested", PlistValue::Dictionary{{"bytes", "<ab>"}, {"ok", 1}}},
        {"nan", PlistValue(std::nan("")).description()},
        {"s", "x"},
    };
    auto safe = zad_JSONSafeDictionary(unsafe);
    EXPECT_EQ(safe, expected);
    EXPECT_EQ(safe.at("when"), PlistValue("2001-01-01 00:00:00 +0000"));
    EXPECT_FALSE(zad_JSONStringPretty(safe, false).hasError());
}

TEST(ZADObjectValidationTest, ValuesOfAnotherKindReadAsAbsent) {
    using ZADObjectValidation::Class;
    using ZADObjectValidation::zad_objectForKeyIfIsKindOfClass;
    const PlistValue::Dictionary headers{
        {"text", "x"},
        {"int", 1},
        {"real", 1.5},
        {"flag", true},
        {"list", PlistValue::Array{}},
        {"map", PlistValue::Dictionary{}},
        {"null", PlistValue()},
        {"date", NSDate{0}},
    };
    struct Case {
        const char* key;
        Class kind;
        bool found;
    };
    const Case cases[] = {
        {"text", Class::String, true},    {"text", Class::Number, false},
        {"int", Class::Number, true},     {"real", Class::Number, true},
        {"flag", Class::Number, true},    {"int", Class::String, false},
        {"list", Class::Array, true},     {"list", Class::Dictionary, false},
        {"map", Class::Dictionary, true}, {"null", Class::Null, true},
        {"null", Class::String, false},   {"date", Class::Date, true},
        {"absent", Class::String, false}, {"absent", Class::Null, false},
    };
    for (const auto& c : cases) {
        const PlistValue* value = zad_objectForKeyIfIsKindOfClass(headers, c.key, c.kind);
        EXPECT_EQ(value != nullptr, c.found) << c.key;
        if (value) {
            EXPECT_EQ(value, &headers.at(c.key)) << "the value itself, not a copy";
        }
    }
}

} // namespace
