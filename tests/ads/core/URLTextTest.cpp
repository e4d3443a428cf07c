#include "ads/core/NSString+ZADPathValidation.h"
#include "ads/core/NSString+ZADURLEncoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ZADURLEncodingTest, OnlyUnreservedCharactersStayAsTheyAre) {
    using ZADURLEncoding::zad_stringByEscapingAsURLParameter;
    struct Case {
        std::string text;
        const char* escaped;
    };
    const Case cases[] = {
        {"AZaz09-_.~", "AZaz09-_.~"},
        {"a b", "a%20b"},
        {"!*'();:@&=+$,/?%#[]", "%21%2A%27%28%29%3B%3A%40%26%3D%2B%24%2C%2F%3F%25%23%5B%5D"},
        {"%20", "%2520"}, // escaped again, never taken for an escape
        {"caf\xC3\xA9", "caf%C3%A9"},
        {std::string("\0\n\x7F", 3), "%00%0A%7F"},
        {"\xFF", "%FF"}, // bytes that are not text still escape, byte by byte
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(zad_stringByEscapingAsURLParameter(c.text), c.escaped);
    }
}

TEST(ZADPathValidationTest, OneTrailingSlashMakesNoDifference) {
    using namespace ZADPathValidation;
    EXPECT_EQ(zad_stripTrailingSlash("http://h/p/"), "http://h/p");
    EXPECT_EQ(zad_stripTrailingSlash("http://h/p//"), "http://h/p/");
    EXPECT_EQ(zad_stripTrailingSlash("/"), "");
    EXPECT_EQ(zad_stripTrailingSlash(""), "");
    struct Case {
        const char* a;
        const char* b;
        bool equivalent;
    };
    const Case cases[] = {
        {"http://h/p", "http://h/p/", true},  {"http://h/p/", "http://h/p", true},
        {"http://h/p/", "http://h/p/", true}, {"http://h/p", "http://h/p//", false},
        {"http://h/p", "http://h/q", false},  {"http://h/P", "http://h/p", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(zad_isEquivalentToURLString(c.a, c.b), c.equivalent) << c.a << " " << c.b;
    }
}

} // namespace
