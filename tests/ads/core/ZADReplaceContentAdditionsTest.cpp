#include "ads/core/NSMutableString+ZADReplaceContentAdditions.h"
#include "ads/core/NSString+ZADReplaceContentAdditions.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace ZADReplaceContentAdditions;

TEST(ZADReplaceContentAdditionsTest, EscapingDoublesEveryAtAndUnescapingUndoesIt) {
    EXPECT_EQ(zad_escapeAts("a@b@@c"), "a@@b@@@@c");
    EXPECT_EQ(zad_unescapeAts("a@@b@@@@c"), "a@b@@c");
    EXPECT_EQ(zad_unescapeAts("@@@"), "@@");
    for (const char* text : {"", "@", "x@y", "@@@@", "no ats"}) {
        EXPECT_EQ(zad_unescapeAts(zad_escapeAts(text)), text);
    }
}

TEST(ZADReplaceContentAdditionsTest, ExpandsAtQuotedMacrosLeavingDoubledAtsLiteral) {
    struct Case {
        const char* template_;
        PlistValue::Dictionary expansions;
        const char* expanded;
    };
    const Case cases[] = {
        {"x@@y@n@z", {{"n", "v@w"}}, "x@yv@wz"},
        {"@@n@@", {{"n", "v"}}, "@n@"}, // a literal "@n@", not the macro n
        {"a@missing@b", {{"n", "v"}}, "ab"},
        {"@n@-@m@", {{"n", "1"}, {"m", "2"}}, "1-2"},
        {"@m@@@n@", {{"n", "1"}}, "@1"}, // m is no name given: removed
        {"@@@n@", {{"n", "v"}}, "@v"},   // "@@" then the macro
        {"@n@@@", {{"n", "v"}}, "v@"},   // the macro then "@@"
        {"@@@@n@@@@", {{"n", "v"}}, "@@n@@"},
        {"@n@ and @n@", {{"n", "v"}}, "v and v"},
        {"https://h/p?ts=@ts@&lat=@lat@&id=@id@",
         {{"ts", 1700000000}, {"lat", "0"}, {"id", "wfocus"}},
         "https://h/p?ts=1700000000&lat=0&id=wfocus"},
        {"@a.c@ @abc@", {{"a.c", "1"}}, "1 1"}, // names are patterns, not escaped
        {"@n@", {{"n", "$1\\0"}}, "$1\\0"},     // values are inserted as they are
        {"@n@", {{"(", "v"}}, ""},              // a name that is no pattern replaces nothing
        {"mail@host", {}, "mail@host"},         // one "@" alone is no macro
        {"", {{"n", "v"}}, ""},
    };
    for (const auto& c : cases) {
        std::string text = c.template_;
        zad_substituteAtQuotedKeywordsWithExpansionDictionary(text, c.expansions);
        EXPECT_EQ(text, c.expanded) << c.template_;
    }
}

TEST(ZADReplaceContentAdditionsTest, ReplacingOneNameAndRemovingTheRest) {
    std::string text = "@a@-@@b@@-@b@-@ab@";
    zad_replaceAtQuotedKeywordPatternWithString(text, "b", "X");
    EXPECT_EQ(text, "@a@-@@b@@-X-@ab@");
    // Groups of the name's own pattern take nothing from the "@" runs around the macro.
    zad_replaceAtQuotedKeywordPatternWithString(text, "a(b)?", "<$1>");
    EXPECT_EQ(text, "<$1>-@@b@@-X-<$1>");
    // An alternation in a name never reaches past the "@" around the macro.
    std::string alternatives = "@a@ @b@ @c@ a@ @b";
    zad_replaceAtQuotedKeywordPatternWithString(alternatives, "a|b", "X");
    EXPECT_EQ(alternatives, "X X @c@ a@ @b");
    std::string nul = "@n@ @n";
    zad_replaceAtQuotedKeywordPatternWithString(nul, std::string("n\0", 2), "X");
    EXPECT_EQ(nul, "@n@ @n");
    std::string grouped = "@@@ab@@@";
    zad_replaceAtQuotedKeywordPatternWithString(grouped, "(a)(b)", "v");
    EXPECT_EQ(grouped, "@@v@@");
    zad_removeAtQuotedKeywords(text);
    EXPECT_EQ(text, "<$1>-@@b@@-X-<$1>");

    std::string template_ = "a@x@b@@c@y z@d";
    zad_removeAtQuotedKeywords(template_);
    EXPECT_EQ(template_, "ab@@cd");
    // Bytes that are not text are matched as they are.
    std::string raw = "\xFF@n@\xFE";
    zad_replaceAtQuotedKeywordPatternWithString(raw, "n", "v");
    EXPECT_EQ(raw, "\xFFv\xFE");
}

} // namespace
