#include "app/categories/UIColor+Hex.h"
#include "platform/uikit/UIColor.h"

#include <gtest/gtest.h>

namespace {
struct HexCase {
    const char* text;
    bool valid;
};

constexpr float kHalf = 128.0f / 255.0f;

TEST(UIColorHex, AcceptedFormsGiveTheSameColour) {
    const HexCase cases[] = {
        {"  #ff8000\n", true},
        {"ff8000", true},
        {"0xff8000", true},
        {"0X#FF8000", true},
        {"FF8000", true},
        {"\t0x#ff8000 ", true},
        // Wrong lengths and forms give the clear colour.
        {"#fff", false},
        {"#ff8000ff", false},
        {"ff800", false},
        {"", false},
        {"#0xff8000", false},
        {"ff 8000", false},
        // Pairs that are not hexadecimal make the whole text invalid.
        {"GG8000", false},
        {"ff80zz", false},
        {"#-f8000", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto color = Hex::colorWithHexStringAlpha(c.text, 0.25);
        if (c.valid) {
            EXPECT_DOUBLE_EQ(color->red(), 1.0);
            EXPECT_DOUBLE_EQ(color->green(), kHalf);
            EXPECT_DOUBLE_EQ(color->blue(), 0.0);
            EXPECT_DOUBLE_EQ(color->alpha(), 0.25);
        } else {
            EXPECT_TRUE(color->isEqual(*UIColor::clearColor()));
        }
    }
}

TEST(UIColorHex, PlainFormIsOpaque) {
    auto color = Hex::colorWithHexString("336699");
    EXPECT_DOUBLE_EQ(color->alpha(), 1.0);
    EXPECT_DOUBLE_EQ(color->red(), 0x33 / 255.0f);
    EXPECT_DOUBLE_EQ(color->blue(), 0x99 / 255.0f);
}
} // namespace
