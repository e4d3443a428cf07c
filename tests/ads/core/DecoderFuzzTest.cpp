// What comes from ad pages and the ad server (URLs, queries, JSON, templates) is read by
// these decoders; damaged or hostile text must give nothing or an error, never a crash.
#include "ads/core/NSDictionary+ZADJSONAdditions.h"
#include "ads/core/NSMutableString+ZADReplaceContentAdditions.h"
#include "ads/core/NSString+ZADJSONAdditions.h"
#include "ads/core/NSURL+ZADNSURLUtilities.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURL.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

namespace {

using namespace ZADNSURLUtilities;

struct Decoder {
    const char* name;
    // Characters that reach the decoder's interesting paths.
    std::string alphabet;
    std::function<void(const std::string&)> decode;
};

TEST(DecoderFuzzTest, ArbitraryInputNeverCrashes) {
    const Decoder decoders[] = {
        {"query", "a=&;%2Fzz+#?@\xC3\xFF",
         [](const std::string& text) {
             if (auto url = NSURL::URLWithString("zmsg://h/p?" + text)) {
                 (void)zad_dictionaryFromQueryParametersAndConvertKeysToLowercase(*url, true);
                 (void)zad_parameterValuesForKey(*url, "a");
                 (void)zad_impressionTicket(*url);
                 (void)zad_URLByAppendingQueryParameters(*url, {{"k", text}});
             }
         }},
        {"json", "{}[]\",:0123456789.eE-+truefalsnul\\u\xC3\xA9\xFF ",
         [](const std::string& text) {
             auto decoded = ZADJSONAdditions::zad_decodedJSONObject(text);
             if (!decoded.hasError() && decoded.value().dictionary()) {
                 auto safe =
                     ZADJSONAdditions::zad_JSONSafeDictionary(*decoded.value().dictionary());
                 EXPECT_FALSE(ZADJSONAdditions::zad_JSONStringPretty(safe, true).hasError());
             }
         }},
        {"script literal", "a<\"\\/\n\xE2\x80\xA8\xF0\x9F\x98\x80\xC3\xFF",
         [](const std::string& text) {
             // Whatever the text, its literal is printable ASCII (or DEL) without a "<" and reads
             // as a string; valid text reads back as itself.
             const std::string literal = ZADJSONAdditions::zad_JSONStringLiteral(text);
             for (char c : literal) {
                 ASSERT_TRUE(c >= 0x20 && c <= 0x7F && c != '<') << literal;
             }
             auto decoded = ZADJSONAdditions::zad_decodedJSONObject(literal);
             ASSERT_FALSE(decoded.hasError()) << literal;
             ASSERT_NE(decoded.value().string(), nullptr);
             if (NSString::isValidUTF8(text)) {
                 EXPECT_EQ(*decoded.value().string(), text);
             }
         }},
        {"macros", "@@@abn()[]\\$1*+?{}\xFF",
         [](const std::string& text) {
             std::string expanded = text;
             ZADReplaceContentAdditions::zad_substituteAtQuotedKeywordsWithExpansionDictionary(
                 expanded, {{"n", "@v@"}, {text, "w"}});
         }},
    };
    std::mt19937 random(4156);
    for (const auto& decoder : decoders) {
        SCOPED_TRACE(decoder.name);
        for (int round = 0; round < 3000; ++round) {
            std::string text(random() % 32, ' ');
            for (auto& c : text) {
                c = random() % 8 == 0 ? static_cast<char>(random() % 256)
                                      : decoder.alphabet[random() % decoder.alphabet.size()];
            }
            decoder.decode(text);
        }
    }
}

} // namespace
