#include "ads/core/NSMutableString+ZADReplaceContentAdditions.h"

#include "ads/core/NSString+ZADReplaceContentAdditions.h"

#include <glib.h>

#include <memory>

namespace ZADReplaceContentAdditions {

namespace {

struct RegexUnref {
    void operator()(GRegex* regex) const { g_regex_unref(regex); }
};
struct MatchInfoFree {
    void operator()(GMatchInfo* info) const { g_match_info_free(info); }
};

// Bytes of `text` that group `group` of the match covers; empty when it took no part.
std::string_view groupOf(GMatchInfo* info, const std::string& text, int group) {
    int begin = -1;
    int end = -1;
    if (!g_match_info_fetch_pos(info, group, &begin, &end) || begin < 0) {
        return {};
    }
    return std::string_view(text).substr(static_cast<size_t>(begin),
                                         static_cast<size_t>(end - begin));
}

} // namespace

void zad_replaceAtQuotedKeywordPatternWithString(std::string& text, const std::string& namePattern,
                                                 const std::string& replacement) {
    // The pattern is text up to its first NUL; a name holding one would match another.
    if (namePattern.find('\0') != std::string::npos) {
        return;
    }
    // Before the opening "@" and the closing one: an even run of "@" that is not itself
    // preceded by an "@"; both runs stay in the text around the replacement. The name is
    // grouped so that an alternation in it stays between the "@" delimiters.
    const std::string pattern = "(?<!@)((?:@@)*)@(?:" + namePattern + ")(?<!@)((?:@@)*)@";
    // Raw: the text is matched as bytes, so no text can fail as invalid UTF-8.
    std::unique_ptr<GRegex, RegexUnref> regex(
        g_regex_new(pattern.c_str(), G_REGEX_RAW, GRegexMatchFlags(0), nullptr));
    if (!regex || text.size() > G_MAXINT) {
        return;
    }
    // The runs of "@" are the first group and the last: a name pattern may hold groups of
    // its own between them.
    const int trailingRun = g_regex_get_capture_count(regex.get());
    GMatchInfo* rawInfo = nullptr;
    g_regex_match_full(regex.get(), text.data(), static_cast<gssize>(text.size()), 0,
                       GRegexMatchFlags(0), &rawInfo, nullptr);
    std::unique_ptr<GMatchInfo, MatchInfoFree> info(rawInfo);
    std::string result;
    size_t copied = 0;
    bool matched = false;
    while (info && g_match_info_matches(info.get())) {
        matched = true;
        int begin = 0;
        int end = 0;
        g_match_info_fetch_pos(info.get(), 0, &begin, &end);
        result.append(text, copied, static_cast<size_t>(begin) - copied);
        result += groupOf(info.get(), text, 1);
        result += replacement;
        result += groupOf(info.get(), text, trailingRun);
        copied = static_cast<size_t>(end);
        g_match_info_next(info.get(), nullptr);
    }
    if (!matched) {
        return;
    }
    result.append(text, copied);
    text = std::move(result);
}

void zad_removeAtQuotedKeywords(std::string& text) {
    zad_replaceAtQuotedKeywordPatternWithString(text, "[^@]+", "");
}

void zad_substituteAtQuotedKeywordsWithExpansionDictionary(
    std::string& text, const PlistValue::Dictionary& expansions) {
    for (const auto& [name, value] : expansions) {
        zad_replaceAtQuotedKeywordPatternWithString(text, name, zad_escapeAts(value.description()));
    }
    zad_removeAtQuotedKeywords(text);
    text = zad_unescapeAts(text);
}

} // namespace ZADReplaceContentAdditions
