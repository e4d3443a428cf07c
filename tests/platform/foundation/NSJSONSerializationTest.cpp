#include "platform/foundation/NSJSONSerialization.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <string>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

std::string nested(size_t levels, char open = '[', char close = ']') {
    return std::string(levels, open) + std::string(levels, close);
}

TEST(NSJSONSerializationTest, ReadsValues) {
    struct Case {
        std::string text;
        nlohmann::json value;
    };
    const Case cases[] = {
        {R"({"results":[{"trackId":42,"name":"x"}]})",
         {{"results", {{{"trackId", 42}, {"name", "x"}}}}}},
        {"[1, 2.5, true, null]", {1, 2.5, true, nullptr}},
        {R"("text")", "text"},
        // Brackets inside strings, escaped quotes among them, are no nesting.
        {"[\"" + std::string(2000, '[') + "\\\"" + std::string(2000, '{') + "\"]",
         {std::string(2000, '[') + "\"" + std::string(2000, '{')}},
        {nested(NSJSONSerialization::kMaxDepth), nullptr},
    };
    for (const auto& c : cases) {
        std::shared_ptr<NSError> error;
        auto value = NSJSONSerialization::JSONObjectWithData(bytesOf(c.text), &error);
        ASSERT_TRUE(value.has_value()) << c.text.substr(0, 40) << ": " << error->description();
        if (!c.value.is_null()) {
            EXPECT_EQ(*value, c.value);
        }
        EXPECT_FALSE(error);
    }
}

TEST(NSJSONSerializationTest, RefusesWhatItCannotSafelyRead) {
    const std::string notJSON =
        "The data couldn\u2019t be read because it isn\u2019t in the correct format.";
    const std::string tooDeep = " Its arrays and objects nest deeper than 512 levels.";
    struct Case {
        const char* name;
        std::string text;
        std::string description;
    };
    const Case cases[] = {
        {"empty", "", notJSON},
        {"truncated", R"({"results":[{"bundleId":)", notJSON},
        {"trailing text", "[1] x", notJSON},
        {"invalid UTF-8", "[\"\xFF\"]", notJSON},
        {"one level too deep", nested(NSJSONSerialization::kMaxDepth + 1), notJSON + tooDeep},
        {"objects too deep", "[" + nested(600, '{', '}') + "]", notJSON + tooDeep},
        {"100,000 levels", nested(100000), notJSON + tooDeep},
        {"100,000 unclosed", std::string(100000, '['), notJSON + tooDeep},
        {"too large", "[\"" + std::string(NSJSONSerialization::kMaxLength, 'a') + "\"]",
         notJSON + " It is larger than 16 MB."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::shared_ptr<NSError> error;
        EXPECT_FALSE(NSJSONSerialization::JSONObjectWithData(bytesOf(c.text), &error));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->domain(), NSCocoaErrorDomain);
        EXPECT_EQ(error->code(), NSPropertyListReadCorruptError);
        EXPECT_EQ(error->localizedDescription(), c.description);
        // The error is optional.
        EXPECT_FALSE(NSJSONSerialization::JSONObjectWithData(bytesOf(c.text), nullptr));
    }
}

TEST(NSJSONSerializationTest, ReadsIntoCollectionValues) {
    std::shared_ptr<NSError> error;
    auto value = NSJSONSerialization::JSONObjectWithDataOptionsError(
        bytesOf(R"({"a":[1,-2,2.5,true,null,"x"],"b":{"c":18446744073709551615}})"), 0, &error);
    ASSERT_TRUE(value);
    const PlistValue expected = PlistValue::Dictionary{
        {"a", PlistValue::Array{1, -2, 2.5, true, PlistValue(), "x"}},
        // Beyond 64 signed bits an integer can only be kept as a real.
        {"b", PlistValue::Dictionary{{"c", 18446744073709551615.0}}},
    };
    EXPECT_EQ(*value, expected);

    // A bare value at the top needs fragments allowed; with them, null reads as a value.
    for (const char* fragment : {"7", "\"text\"", "null", "false"}) {
        SCOPED_TRACE(fragment);
        EXPECT_FALSE(
            NSJSONSerialization::JSONObjectWithDataOptionsError(bytesOf(fragment), 0, &error));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), NSPropertyListReadCorruptError);
        EXPECT_TRUE(NSJSONSerialization::JSONObjectWithDataOptionsError(
            bytesOf(fragment), NSJSONReadingFragmentsAllowed, nullptr));
    }
    EXPECT_FALSE(NSJSONSerialization::JSONObjectWithDataOptionsError(
        bytesOf("[1,"), NSJSONReadingFragmentsAllowed, nullptr));
}

TEST(NSJSONSerializationTest, WritesOnlyWhatJSONCanSay) {
    const PlistValue::Dictionary value{{"b", PlistValue::Array{1, 2.5, false, PlistValue()}},
                                       {"a", "x/\"y\""}};
    auto compact = NSJSONSerialization::dataWithJSONObjectOptionsError(value, 0, nullptr);
    ASSERT_TRUE(compact);
    EXPECT_EQ(std::string(compact->begin(), compact->end()),
              R"({"a":"x/\"y\"","b":[1,2.5,false,null]})");
    auto pretty = NSJSONSerialization::dataWithJSONObjectOptionsError(
        PlistValue::Dictionary{{"k", PlistValue::Array{1}}}, NSJSONWritingPrettyPrinted, nullptr);
    ASSERT_TRUE(pretty);
    EXPECT_EQ(std::string(pretty->begin(), pretty->end()), "{\n  \"k\": [\n    1\n  ]\n}");

    PlistValue deep = PlistValue::Array{};
    for (size_t i = 0; i < NSJSONSerialization::kMaxDepth; ++i) {
        deep = PlistValue::Array{deep};
    }
    struct Case {
        const char* name;
        PlistValue value;
    };
    const Case refused[] = {
        {"a string at the top", "text"},
        {"null at the top", PlistValue()},
        {"a date", PlistValue::Array{NSDate{0}}},
        {"data", PlistValue::Dictionary{{"d", PlistValue::Data{1, 2}}}},
        {"not a number", PlistValue::Array{std::nan("")}},
        {"infinity", PlistValue::Array{HUGE_VAL}},
        {"text that is not UTF-8", PlistValue::Array{"\xFF"}},
        {"a key that is not UTF-8", PlistValue::Dictionary{{"\xC3", 1}}},
        {"too deep", deep},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(NSJSONSerialization::isValidJSONObject(c.value));
        std::shared_ptr<NSError> error;
        EXPECT_FALSE(NSJSONSerialization::dataWithJSONObjectOptionsError(c.value, 0, &error));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->domain(), NSCocoaErrorDomain);
        EXPECT_EQ(error->code(), NSPropertyListWriteInvalidError);
    }
}

} // namespace
