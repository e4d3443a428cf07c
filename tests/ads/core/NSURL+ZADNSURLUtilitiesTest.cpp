#include "ads/core/NSURL+ZADNSURLUtilities.h"

#include "platform/foundation/NSURL.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace ZADNSURLUtilities;

std::shared_ptr<NSURL> url(const std::string& text) {
    auto made = NSURL::URLWithString(text);
    EXPECT_TRUE(made) << text;
    return made;
}

TEST(ZADNSURLUtilitiesTest, AppendsParametersBeforeTheLandingURL) {
    struct Case {
        const char* url;
        PlistValue::Dictionary parameters;
        const char* expected;
    };
    const Case cases[] = {
        {"http://ads.example/x", {{"a", "b c"}}, "http://ads.example/x?a=b%20c"},
        {"http://ads.example/x?k=1", {{"a", "b c"}}, "http://ads.example/x?k=1&a=b%20c"},
        // "?" with nothing after it is an empty query: a second "?" opens the new one.
        {"http://ads.example/x?", {{"a", "1"}}, "http://ads.example/x??a=1"},
        // In the dictionary's order; names unescaped; a value escaping to nothing leaves
        // the bare name; numbers by their description.
        {"http://ads.example/x",
         {{"z", "&=?"}, {"a", ""}, {"n", 7}, {"r", 0.5}},
         "http://ads.example/x?a&n=7&r=0.5&z=%26%3D%3F"},
        {"http://ads.example/x",
         {{"u", "caf\xC3\xA9/100%"}},
         "http://ads.example/x?u=caf%C3%A9%2F100%25"},
        // The landing URL stays last, whatever it holds.
        {"http://ads.example/aclk?sa=L&adurl=http://shop.example/?q=1",
         {{"nb", "1"}, {"nx", "20"}},
         "http://ads.example/aclk?sa=L&nb=1&nx=20&adurl=http://shop.example/?q=1"},
        {"http://ads.example/x", {}, "http://ads.example/x"},
        // Appended to the whole text, as the server's own links expect.
        {"http://ads.example/x#frag", {{"a", "1"}}, "http://ads.example/x#frag?a=1"},
    };
    for (const auto& c : cases) {
        auto appended = zad_URLByAppendingQueryParameters(*url(c.url), c.parameters);
        ASSERT_TRUE(appended) << c.url;
        EXPECT_EQ(appended->absoluteString(), c.expected);
    }
    // A name that cannot stand in a URL makes no URL, rather than a damaged one.
    EXPECT_EQ(zad_URLByAppendingQueryParameters(*url("http://ads.example/"), {{"a b", "1"}}),
              nullptr);
}

TEST(ZADNSURLUtilitiesTest, ReadsQueryValuesByExactName) {
    auto link = url("http://ads.example/p?a=1&b=x%20y&a=2&A=3&c&d=1=2&a=%FF&e=&a=3;f=4&g=a+b");
    // Split at "&" only: "a=3;f=4" is one piece with two "=", so neither a nor f; and a
    // value that does not decode as text is left out.
    EXPECT_EQ(zad_parameterValuesForKey(*link, "a"), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(zad_parameterValueForKey(*link, "a"), "1");
    EXPECT_EQ(zad_parameterValueForKey(*link, "b"), "x y");
    EXPECT_EQ(zad_parameterValueForKey(*link, "A"), "3");
    EXPECT_EQ(zad_parameterValueForKey(*link, "e"), "");
    EXPECT_EQ(zad_parameterValueForKey(*link, "g"), "a+b") << "a plus sign is no blank";
    for (const char* absent : {"c", "d", "f", "zz", ""}) {
        EXPECT_EQ(zad_parameterValuesForKey(*link, absent), std::nullopt) << absent;
        EXPECT_EQ(zad_parameterValueForKey(*link, absent), std::nullopt) << absent;
    }
    // Names are compared as written, escapes and all.
    EXPECT_EQ(zad_parameterValueForKey(*url("http://h/?a%20b=1"), "a%20b"), "1");
    EXPECT_EQ(zad_parameterValueForKey(*url("http://h/?a%20b=1"), "a b"), std::nullopt);
}

TEST(ZADNSURLUtilitiesTest, QueryDictionary) {
    using Dictionary = std::map<std::string, std::string>;
    struct Case {
        const char* url;
        bool lowercase;
        Dictionary expected;
    };
    const Case cases[] = {
        {"zmsg://host/loadAdURL?request_id=7&url=a%20b",
         false,
         {{"request_id", "7"}, {"url", "a b"}}},
        {"http://h/?a=1;b=2&c", false, {{"a", "1"}, {"b", "2"}}},
        {"http://h/?a=b=c", false, {}},
        {"http://h/?Request_ID=1", false, {{"Request_ID", "1"}}},
        {"http://h/?A=1&a=2", true, {{"a", "2"}}},
        {"http://h/?A=1&a=2", false, {{"A", "1"}, {"a", "2"}}},
        {"http://h/?q=a+b&n%C3%A9=%C3%A9", false, {{"q", "a+b"}, {"n\xC3\xA9", "\xC3\xA9"}}},
        {"http://h/?bad=%C3&worse%FF=1&good=1", false, {{"good", "1"}}},
        {"http://h/?x=1&x=2", false, {{"x", "2"}}},
        {"http://h/?=1&e=", false, {{"", "1"}, {"e", ""}}},
        {"mailto:someone@mail.example?subject=Hi%20there&body=x",
         false,
         {{"subject", "Hi there"}, {"body", "x"}}},
        {"sms:12345", false, {}},
        {"http://h/path", false, {}},
        {"http://h/?#a=1", false, {}},
        {"http://h/#x?a=1", false, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(
            zad_dictionaryFromQueryParametersAndConvertKeysToLowercase(*url(c.url), c.lowercase),
            c.expected)
            << c.url;
    }
}

TEST(ZADNSURLUtilitiesTest, PathTicketFragmentAndComparisons) {
    struct Ticket {
        const char* url;
        std::optional<std::string> ticket;
    };
    const Ticket tickets[] = {
        {"http://h/a/b/c/d", "b/c"},  {"http://h/aclk/CAE/x%20y?sa=1", "CAE/x y"},
        {"http://h/a/b/c", "b/c"},    {"http://h/a/b/", std::nullopt},
        {"http://h/a", std::nullopt}, {"http://h", std::nullopt},
    };
    for (const auto& t : tickets) {
        EXPECT_EQ(zad_impressionTicket(*url(t.url)), t.ticket) << t.url;
    }

    EXPECT_EQ(zad_absoluteStringWithoutFragmentComponent(*url("http://h/p?q=1#top")),
              "http://h/p?q=1");
    EXPECT_EQ(zad_absoluteStringWithoutFragmentComponent(*url("http://h/p?q=1")), "http://h/p?q=1");
    EXPECT_EQ(zad_absoluteStringWithoutFragmentComponent(*url("http://h/p#")), "http://h/p");

    auto link = url("HTTPS://Ads.Example/p");
    EXPECT_TRUE(zad_isHostEqualToStringCaseSensitive(*link, "ads.example", false));
    EXPECT_FALSE(zad_isHostEqualToStringCaseSensitive(*link, "ads.example", true));
    EXPECT_TRUE(zad_isHostEqualToStringCaseSensitive(*link, "Ads.Example", true));
    EXPECT_TRUE(zad_isSchemeEqualToStringCaseSensitive(*link, "https", false));
    EXPECT_FALSE(zad_isSchemeEqualToStringCaseSensitive(*link, "https", true));
    EXPECT_FALSE(zad_isSchemeEqualToStringCaseSensitive(*link, "http", false));
    // No host equals nothing, not even the empty text.
    EXPECT_FALSE(zad_isHostEqualToStringCaseSensitive(*url("mailto:a@b.example"), "", false));
}

} // namespace
