#include "ads/signals/NSString+ZADStringNumberAdditions.h"
#include "ads/signals/ZADColorFromHexString.h"
#include "ads/signals/ZADNumberFromBool.h"
#include "ads/signals/ZADStringFromDouble.h"
#include "platform/foundation/NSNumber.h"
#include "platform/uikit/UIColor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

namespace {

TEST(ZADStringFromDoubleTest, DropsTrailingZerosAndAPointLeftAlone) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {320.0, "320"},   {2.0, "2"},        {2.5, "2.5"},   {1.5, "1.5"}, {0.0, "0"},
        {0.125, "0.125"}, {-3.25, "-3.25"},  {100.0, "100"}, {1e-7, "0"},  {0.1234567, "0.123457"},
        {-0.0, "-0"},     {INFINITY, "inf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ZADStringFromDouble(c.value), c.text) << c.value;
    }
}

TEST(ZADColorFromHexStringTest, ReadsTheFirstHexadecimalNumberAsRGB) {
    struct Case {
        const char* text;
        std::optional<uint32_t> rgb; // nothing: no colour
    };
    const Case cases[] = {
        {"#FF8000", 0xFF8000},
        {"  \t#ff8000\n", 0xFF8000},
        {"0x00ff00", 0x00FF00},
        {"##12", 0x000012},
        {"AB12CDzz", 0xAB12CD},            // the number ends where the digits do
        {"80FF8000", 0xFF8000},            // only the low 24 bits make the colour
        {"123456789ABCDEF0123", 0xFFFFFF}, // past 64 bits: the largest number
        {"0x", 0x000000},                  // a lone "0" is a number; the "x" ends it
        {"", std::nullopt},
        {"#  #", std::nullopt},
        {"orange", std::nullopt},
        {"-FF", std::nullopt},
    };
    for (const auto& c : cases) {
        auto color = ZADColorFromHexString(c.text);
        if (!c.rgb) {
            EXPECT_EQ(color, nullptr) << c.text;
            continue;
        }
        ASSERT_TRUE(color) << c.text;
        EXPECT_TRUE(color->isEqual(*ZADColorFromRGBValue(*c.rgb))) << c.text;
    }
    auto orange = ZADColorFromRGBValue(0xFF8000);
    EXPECT_TRUE(orange->isEqual(*UIColor::colorWithRedGreenBlueAlpha(1.0, 128 / 255.0, 0.0, 1.0)));
    // The bits above the colour's 24 play no part.
    EXPECT_TRUE(ZADColorFromRGBValue(0xAB0000FF)->isEqual(*UIColor::blueColor()));
}

TEST(ZADNumberFromBoolTest, FlagsAreTheIntegersOneAndZero) {
    EXPECT_EQ(ZADNumberFromBool(true)->description(), "1");
    EXPECT_EQ(ZADNumberFromBool(false)->description(), "0");
    EXPECT_EQ(ZADNumberFromBool(true)->integerValue(), 1);
}

TEST(ZADStringNumberAdditionsTest, MD5OfTheUTF8Bytes) {
    using ZADStringNumberAdditions::zad_MD5Data;
    using ZADStringNumberAdditions::zad_MD5String;
    struct Case {
        std::string text;
        const char* digest;
    };
    // RFC 1321's test suite, and text beyond ASCII.
    const Case cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"\xC3\xA9", "66ddcd97cfdeabb2f6fb8a999b4bc76f"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(zad_MD5String(c.text), c.digest) << c.text;
        EXPECT_EQ(zad_MD5Data(c.text)->size(), 16u);
    }
    // Bytes that are not text have no digest.
    EXPECT_EQ(zad_MD5Data("\xFF"), std::nullopt);
    EXPECT_EQ(zad_MD5String("a\xC3"), std::nullopt);
}

} // namespace
