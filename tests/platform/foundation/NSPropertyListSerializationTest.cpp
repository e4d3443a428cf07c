#include "platform/foundation/NSPropertyListSerialization.h"

#include "platform/foundation/PlistStructureCheck.h"
#include "tests/platform/foundation/BinaryPlistBuilder.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

PlistValue sample() {
    return PlistValue::Dictionary{
        {"bool", true},
        {"negative", -5},
        {"largest", INT64_MAX},
        {"smallest", INT64_MIN},
        {"real", 0.1},
        {"text", "caf\xC3\xA9 <&> \"quoted\""},
        {"empty", ""},
        {"data", PlistValue::Data{0, 1, 254, 255}},
        {"date", NSDate{-86400.0}},
        {"list", PlistValue::Array{1, "two", PlistValue::Array{}, PlistValue::Dictionary{}}},
        {"nested", PlistValue::Dictionary{{"deeper", PlistValue::Dictionary{{"x", 2.5}}}}},
        // Integers at each width's edges; counts past what a marker holds.
        {"widths", PlistValue::Array{255, 256, 65535, 65536, 4294967295LL, 4294967296LL, -1}},
        {"long", PlistValue::Array(20, PlistValue("\xF0\x9F\x98\x80 beyond the basic plane"))},
    };
}

TEST(NSPropertyListSerializationTest, RoundTripsEveryKindInBothFormats) {
    for (auto format : {NSPropertyListFormat::XML, NSPropertyListFormat::Binary}) {
        std::shared_ptr<NSError> error;
        auto data = NSPropertyListSerialization::dataWithPropertyList(sample(), format, &error);
        ASSERT_TRUE(data.has_value()) << error->description();
        auto back = NSPropertyListSerialization::propertyListWithData(*data, &error);
        ASSERT_TRUE(back.has_value()) << error->description();
        EXPECT_EQ(*back, sample()) << back->description();
    }
    // Binary keeps fractions of a second.
    PlistValue date(NSDate{12.25});
    auto data = NSPropertyListSerialization::dataWithPropertyList(
        date, NSPropertyListFormat::Binary, nullptr);
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(NSPropertyListSerialization::propertyListWithData(*data, nullptr), date);
}

TEST(NSPropertyListSerializationTest, ReadsXMLWrittenElsewhere) {
    auto value = NSPropertyListSerialization::propertyListWithData(
        bytesOf("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                "<plist version=\"1.0\"><dict>\n"
                "  <key>when</key><date>2001-01-02T00:00:00Z</date>\n"
                "  <key>count</key><integer>-12</integer>\n"
                "  <key>on</key><false/>\n"
                "  <key>blob</key><data>AAEC</data>\n"
                "  <key>ratio</key><real>1.5</real>\n"
                "</dict></plist>\n"),
        nullptr);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(*value, PlistValue(PlistValue::Dictionary{{"when", NSDate{86400}},
                                                        {"count", -12},
                                                        {"on", false},
                                                        {"blob", PlistValue::Data{0, 1, 2}},
                                                        {"ratio", 1.5}}));
}

TEST(NSPropertyListSerializationTest, DamagedDataIsAnErrorValue) {
    const std::string inputs[] = {
        "",
        "hello",
        "bplist00",
        "bplist00\x01\x02\x03",
        "<plist><array><string>unclosed</array></plist>",
        "<plist><integer>1</integer",
        "{ a = 1; }",
    };
    for (const auto& input : inputs) {
        std::shared_ptr<NSError> error;
        EXPECT_FALSE(NSPropertyListSerialization::propertyListWithData(bytesOf(input), &error))
            << input;
        ASSERT_TRUE(error) << input;
        EXPECT_EQ(error->domain(), NSCocoaErrorDomain);
        EXPECT_EQ(error->code(), NSPropertyListReadCorruptError);
        EXPECT_FALSE(error->localizedDescription().empty());
    }
    // A cycle in a binary list: an array holding itself.
    Bytes cycle = bytesOf("bplist00");
    cycle.insert(cycle.end(), {0xA1, 0x00, 0x08});
    Bytes trailer(32, 0);
    trailer[6] = 1, trailer[7] = 1, trailer[15] = 1, trailer[31] = 10;
    cycle.insert(cycle.end(), trailer.begin(), trailer.end());
    EXPECT_FALSE(NSPropertyListSerialization::propertyListWithData(cycle, nullptr));
}

TEST(NSPropertyListSerializationTest, KeysWithNulCharactersAreRefused) {
    // The library aborts on such keys; they must be refused before it sees them.
    struct Case {
        std::string key;
        Bytes pattern;
        size_t zeroAt;
    };
    const Case cases[] = {
        {"ab", {0x52, 'a', 'b'}, 2},
        {"\xC3\xA9", {0x61, 0x00, 0xE9}, 2},
    };
    for (const auto& c : cases) {
        auto data = NSPropertyListSerialization::dataWithPropertyList(
            PlistValue::Dictionary{{c.key, 1}}, NSPropertyListFormat::Binary, nullptr);
        ASSERT_TRUE(data.has_value());
        auto found = std::search(data->begin(), data->end(), c.pattern.begin(), c.pattern.end());
        ASSERT_NE(found, data->end());
        found[static_cast<long>(c.zeroAt)] = 0;
        std::shared_ptr<NSError> error;
        EXPECT_FALSE(NSPropertyListSerialization::propertyListWithData(*data, &error));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), NSPropertyListReadCorruptError);
    }
}

TEST(NSPropertyListSerializationTest, TruncatedAndScrambledFilesNeverCrash) {
    std::mt19937 random(7);
    for (auto format : {NSPropertyListFormat::XML, NSPropertyListFormat::Binary}) {
        auto data = NSPropertyListSerialization::dataWithPropertyList(sample(), format, nullptr);
        ASSERT_TRUE(data.has_value());
        for (size_t length = 0; length < data->size(); ++length) {
            Bytes cut(data->begin(), data->begin() + static_cast<long>(length));
            std::shared_ptr<NSError> error;
            auto value = NSPropertyListSerialization::propertyListWithData(cut, &error);
            // A cut file either fails cleanly or (only past the root's end) reads whole.
            if (value) {
                EXPECT_EQ(*value, sample()) << "length " << length;
            } else {
                EXPECT_EQ(error->code(), NSPropertyListReadCorruptError);
            }
        }
        for (int round = 0; round < 2000; ++round) {
            Bytes scrambled = *data;
            for (int i = 0; i < 3; ++i) {
                scrambled[random() % scrambled.size()] = static_cast<uint8_t>(random());
            }
            NSPropertyListSerialization::propertyListWithData(scrambled, nullptr);
        }
    }
}

TEST(NSPropertyListSerializationTest, UnwritableValuesAreErrors) {
    const PlistValue values[] = {
        PlistValue(),
        PlistValue(PlistValue::Array{1, PlistValue()}),
        PlistValue(PlistValue::Dictionary{{"a", PlistValue::Dictionary{{"b", PlistValue()}}}}),
        PlistValue(NSDate{1e12}),
    };
    for (const auto& value : values) {
        std::shared_ptr<NSError> error;
        EXPECT_FALSE(NSPropertyListSerialization::dataWithPropertyList(
            value, NSPropertyListFormat::Binary, &error));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), NSPropertyListWriteInvalidError);
    }
    // Nesting deeper than any real file is refused, not recursed into without bound.
    PlistValue deep = 1;
    for (int i = 0; i < 600; ++i) {
        PlistValue::Array wrapper;
        wrapper.push_back(std::move(deep));
        deep = PlistValue(std::move(wrapper));
    }
    EXPECT_FALSE(NSPropertyListSerialization::dataWithPropertyList(deep, NSPropertyListFormat::XML,
                                                                   nullptr));
}

std::string nestedXML(size_t levels) {
    std::string text = "<plist>";
    for (size_t i = 0; i < levels; ++i) {
        text += "<array>";
    }
    for (size_t i = 0; i < levels; ++i) {
        text += "</array>";
    }
    return text + "</plist>";
}

// A chain of `levels` arrays, each holding the next, added to `builder`; the innermost
// holds `last` (or nothing). Returns the outermost.
uint32_t addChain(BinaryPlistBuilder& builder, uint32_t levels, std::optional<uint32_t> last) {
    uint32_t inner = builder.add(BinaryPlistBuilder::collection(last ? std::vector<uint32_t>{*last}
                                                                     : std::vector<uint32_t>{}));
    for (uint32_t i = 1; i < levels; ++i) {
        inner = builder.add(BinaryPlistBuilder::collection({inner}));
    }
    return inner;
}

// Each level an array holding the level below twice: 2^levels values from a few bytes.
Bytes doubling(uint32_t levels) {
    BinaryPlistBuilder builder;
    uint32_t inner = builder.add({0x10, 0x01}); // the integer 1
    for (uint32_t i = 0; i < levels; ++i) {
        inner = builder.add(BinaryPlistBuilder::collection({inner, inner}));
    }
    return builder.build(inner);
}

// The same collection reached first near the top, then again from deep down.
Bytes sharedReachedDeep(uint32_t sharedLevels, uint32_t pathLevels) {
    BinaryPlistBuilder builder;
    uint32_t shared = addChain(builder, sharedLevels, std::nullopt);
    uint32_t path = addChain(builder, pathLevels, shared);
    return builder.build(builder.add(BinaryPlistBuilder::collection({shared, path})));
}

// An empty array and an offset table of `count` one-byte entries, all pointing at it.
Bytes manyObjects(uint64_t count) {
    Bytes bytes = bytesOf("bplist00");
    bytes.push_back(0xA0);
    bytes.insert(bytes.end(), count, 8);
    Bytes trailer(32, 0);
    trailer[6] = 1, trailer[7] = 1;
    for (int i = 0; i < 8; ++i) {
        trailer[8 + i] = static_cast<uint8_t>(count >> (56 - 8 * i));
    }
    trailer[31] = 9;
    bytes.insert(bytes.end(), trailer.begin(), trailer.end());
    return bytes;
}

TEST(NSPropertyListSerializationTest, RefusesWhatCannotBeReadSafely) {
    const std::string tooDeep = "nests deeper than 512 levels";
    BinaryPlistBuilder pointsNowhere;
    pointsNowhere.add(BinaryPlistBuilder::collection({5}));
    struct Case {
        const char* name;
        Bytes data;
        // What the refusal says; empty when the list is read.
        std::string refusal;
    };
    const Case cases[] = {
        {"binary, 512 levels", BinaryPlistBuilder::nestedArrays(512), ""},
        {"binary, 513 levels", BinaryPlistBuilder::nestedArrays(513), tooDeep},
        {"binary, 200,000 levels", BinaryPlistBuilder::nestedArrays(200000), tooDeep},
        {"XML, 512 levels", bytesOf(nestedXML(512)), ""},
        {"XML, 600 levels", bytesOf(nestedXML(600)), tooDeep},
        {"XML, 200,000 levels", bytesOf(nestedXML(200000)), tooDeep},
        {"binary, shared 2^10 times", doubling(10), ""},
        {"binary, shared 2^24 times", doubling(24), "holds more than 8388608 values"},
        {"binary, shared within reach", sharedReachedDeep(300, 200), ""},
        {"binary, shared reached too deep", sharedReachedDeep(300, 250), tooDeep},
        {"binary, 1000 objects", manyObjects(1000), ""},
        {"binary, more objects than values allowed",
         manyObjects(PlistStructureCheck::kMaxValues + 1), "holds more than 8388608 values"},
        {"binary, a reference past the objects", pointsNowhere.build(0),
         "refers to one that does not exist"},
        {"XML, a comment", bytesOf("<plist><!-- a note --><array/></plist>"), ""},
        {"XML, markup inside a comment", bytesOf("<plist><!-- <array> --><array/></plist>"),
         "markup it cannot be read safely with"},
        {"XML, a declaration holding markup",
         bytesOf("<!DOCTYPE plist [<!ELEMENT plist ANY>]><plist><array/></plist>"),
         "markup it cannot be read safely with"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::shared_ptr<NSError> error;
        auto value = NSPropertyListSerialization::propertyListWithData(c.data, &error);
        if (c.refusal.empty()) {
            EXPECT_TRUE(value.has_value()) << error->description();
            continue;
        }
        EXPECT_FALSE(value.has_value());
        ASSERT_TRUE(error);
        EXPECT_EQ(error->domain(), NSCocoaErrorDomain);
        EXPECT_EQ(error->code(), NSPropertyListReadCorruptError);
        EXPECT_NE(error->localizedDescription().find(c.refusal), std::string::npos)
            << error->localizedDescription();
    }
    // Size is checked first, whatever the bytes hold.
    for (const char* start : {"bplist00", "<plist>"}) {
        Bytes tooLarge = bytesOf(start);
        tooLarge.resize(PlistStructureCheck::kMaxLength + 1, ' ');
        std::shared_ptr<NSError> error;
        EXPECT_FALSE(NSPropertyListSerialization::propertyListWithData(tooLarge, &error));
        ASSERT_TRUE(error);
        EXPECT_NE(error->localizedDescription().find("larger than 128 MB"), std::string::npos);
    }
}

TEST(NSPropertyListSerializationTest, ReadsFiles) {
    TempFolder folder;
    std::shared_ptr<NSError> error;
    EXPECT_FALSE(
        NSPropertyListSerialization::propertyListWithContentsOfFile(folder.file("none"), &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), NSFileReadNoSuchFileError);
    EXPECT_FALSE(
        NSPropertyListSerialization::propertyListWithContentsOfFile(folder.path(), &error));
    EXPECT_EQ(error->code(), NSFileReadUnknownError);

    std::string path =
        folder.write("list.plist", "<plist><array><integer>3</integer></array></plist>");
    EXPECT_EQ(NSPropertyListSerialization::propertyListWithContentsOfFile(path, nullptr),
              PlistValue(PlistValue::Array{3}));
}

} // namespace
