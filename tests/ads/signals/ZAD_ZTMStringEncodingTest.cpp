#include "ads/signals/ZAD_ZTMStringEncoding.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using Encoding = std::shared_ptr<ZAD_ZTMStringEncoding>;
using Bytes = std::vector<uint8_t>;

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

struct Shared {
    const char* name;
    std::function<Encoding()> make;
};

const Shared kShared[] = {
    {"binary", ZAD_ZTMStringEncoding::binaryStringEncoding},
    {"hex", ZAD_ZTMStringEncoding::hexStringEncoding},
    {"base32", ZAD_ZTMStringEncoding::rfc4648Base32StringEncoding},
    {"base32hex", ZAD_ZTMStringEncoding::rfc4648Base32HexStringEncoding},
    {"crockford", ZAD_ZTMStringEncoding::crockfordBase32StringEncoding},
    {"base64", ZAD_ZTMStringEncoding::rfc4648Base64StringEncoding},
    {"base64url", ZAD_ZTMStringEncoding::rfc4648Base64WebsafeStringEncoding},
};

TEST(ZAD_ZTMStringEncodingTest, SharedEncodingsWriteRFC4648TestVectors) {
    struct Case {
        std::function<Encoding()> make;
        const char* input;
        const char* text;
    };
    using E = ZAD_ZTMStringEncoding;
    const Case cases[] = {
        {E::rfc4648Base64StringEncoding, "", ""},
        {E::rfc4648Base64StringEncoding, "f", "Zg=="},
        {E::rfc4648Base64StringEncoding, "fo", "Zm8="},
        {E::rfc4648Base64StringEncoding, "foo", "Zm9v"},
        {E::rfc4648Base64StringEncoding, "foob", "Zm9vYg=="},
        {E::rfc4648Base64StringEncoding, "fooba", "Zm9vYmE="},
        {E::rfc4648Base64StringEncoding, "foobar", "Zm9vYmFy"},
        {E::rfc4648Base32StringEncoding, "f", "MY======"},
        {E::rfc4648Base32StringEncoding, "fo", "MZXQ===="},
        {E::rfc4648Base32StringEncoding, "foo", "MZXW6==="},
        {E::rfc4648Base32StringEncoding, "foob", "MZXW6YQ="},
        {E::rfc4648Base32StringEncoding, "fooba", "MZXW6YTB"},
        {E::rfc4648Base32StringEncoding, "foobar", "MZXW6YTBOI======"},
        {E::rfc4648Base32HexStringEncoding, "f", "CO======"},
        {E::rfc4648Base32HexStringEncoding, "foobar", "CPNMUOJ1E8======"},
        {E::hexStringEncoding, "foobar", "666F6F626172"},
        {E::hexStringEncoding, "\xAB\xCD", "ABCD"},
        {E::binaryStringEncoding, "\x05\xA0", "0000010110100000"},
        {E::crockfordBase32StringEncoding, "foobar", "CSQPYRK1E8"},
        // The URL-safe alphabet differs in its last two characters only, and still pads.
        {E::rfc4648Base64StringEncoding, "\xFB\xFF", "+/8="},
        {E::rfc4648Base64WebsafeStringEncoding, "\xFB\xFF", "-_8="},
    };
    for (const auto& c : cases) {
        auto encoding = c.make();
        EXPECT_EQ(encoding->encodeString(c.input), c.text) << c.input;
        EXPECT_EQ(encoding->decode(c.text), bytesOf(c.input)) << c.text;
    }
}

TEST(ZAD_ZTMStringEncodingTest, DecodingIsStrictUnlessTold) {
    auto base64 = ZAD_ZTMStringEncoding::rfc4648Base64StringEncoding();
    auto hex = ZAD_ZTMStringEncoding::hexStringEncoding();
    auto crockford = ZAD_ZTMStringEncoding::crockfordBase32StringEncoding();
    struct Case {
        Encoding encoding;
        const char* text;
        std::optional<std::string> bytes; // nothing: no result
    };
    const Case cases[] = {
        {base64, "Zm8", "fo"},   // padding left off
        {base64, "Zm8==", "fo"}, // more padding than needed
        {base64, "Zg=", "f"},
        {base64, "Zh==", std::nullopt},  // "h" leaves bits that are not zero
        {base64, "Zm 8=", std::nullopt}, // a blank is not skipped unless asked
        {base64, "Zm=8", std::nullopt},  // data after padding
        {base64, "Zm9v!", std::nullopt},
        {base64, "Zm\xC3\xA9", std::nullopt}, // not ASCII
        {base64, "-_8=", std::nullopt},       // the URL-safe characters are not base64's
        {base64, "", ""},
        {hex, "abcd", "\xAB\xCD"}, // lower case reads as upper case
        {hex, "aBcD", "\xAB\xCD"},
        {hex, "ABC", std::nullopt}, // half a byte left over, not zero
        {hex, "ABC0", "\xAB\xC0"},
        {hex, "GG", std::nullopt},
        {crockford, "CSQPYRK1E8", "foobar"},
        {crockford, "csqpyrkie8", "foobar"},     // i reads as 1, lower case as upper
        {crockford, "CSQPYRKLE8", "foobar"},     // L reads as 1
        {crockford, "0o", std::string(1, '\0')}, // 0 and o both read as zero
        {crockford, "OO", std::string(1, '\0')},
        {crockford, "U", std::nullopt}, // no synonym for U
    };
    for (const auto& c : cases) {
        auto decoded = c.encoding->decode(c.text);
        if (!c.bytes) {
            EXPECT_EQ(decoded, std::nullopt) << c.text;
        } else {
            EXPECT_EQ(decoded, bytesOf(*c.bytes)) << c.text;
        }
    }
}

TEST(ZAD_ZTMStringEncodingTest, SkippedCharactersAndOwnPadding) {
    auto base64 = ZAD_ZTMStringEncoding::rfc4648Base64StringEncoding();
    base64->ignoreCharacters(" \n");
    EXPECT_EQ(base64->decode("Zm9v\nYmFy "), bytesOf("foobar"));

    auto unpadded =
        ZAD_ZTMStringEncoding::stringEncodingWithString("0123456789ABCDEFGHIJKLMNOPQRSTUV");
    ASSERT_TRUE(unpadded);
    EXPECT_FALSE(unpadded->doPad());
    EXPECT_EQ(unpadded->encodeString("f"), "CO");
    unpadded->setPaddingChar('*');
    unpadded->setDoPad(true);
    EXPECT_EQ(unpadded->encodeString("f"), "CO******");
    EXPECT_EQ(unpadded->decode("CO**"), bytesOf("f"));
}

TEST(ZAD_ZTMStringEncodingTest, AlphabetsMustBeASCIIPowersOfTwoWithoutRepeats) {
    struct Case {
        std::string alphabet;
        bool valid;
    };
    std::string ascii128;
    for (int c = 0; c < 128; ++c) {
        ascii128 += static_cast<char>(c);
    }
    const Case cases[] = {
        {"01", true},
        {"0123", true},
        {ascii128, true},
        {"", false},
        {"0", false},
        {"012", false},
        {"0120", false},
        {ascii128 + "!", false},
        {"0\xC3\xA9"
         "1",
         false}, // four bytes, but not ASCII
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ZAD_ZTMStringEncoding::initWithString(c.alphabet) != nullptr, c.valid)
            << c.alphabet.size() << " characters";
    }
    EXPECT_EQ(ZAD_ZTMStringEncoding::hexStringEncoding()->description(),
              "<Base16 StringEncoder: 0123456789ABCDEF>");
    EXPECT_EQ(ZAD_ZTMStringEncoding::initWithString(ascii128)->description(),
              "<Base128 StringEncoder: " + ascii128 + ">");
}

TEST(ZAD_ZTMStringEncodingTest, EveryWidthRoundTripsAndPadsToWholeGroups) {
    // Alphabets of every size the encoding takes, and the group a padded text fills.
    const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string alphabet128;
    for (int c = 0; c < 128; ++c) {
        alphabet128 += static_cast<char>(c);
    }
    struct Width {
        std::string alphabet;
        size_t group;
    };
    const Width widths[] = {
        {"01", 8},
        {"0123", 4},
        {"01234567", 8},
        {std::string(letters, 16), 2},
        {std::string(letters, 32), 8},
        {letters, 4},
        {alphabet128, 8},
    };
    std::mt19937 random(11);
    for (const auto& width : widths) {
        auto encoding = ZAD_ZTMStringEncoding::initWithString(width.alphabet);
        ASSERT_TRUE(encoding) << width.alphabet.size();
        // The full ASCII alphabet leaves no character to pad with.
        if (width.alphabet.size() < 128) {
            encoding->setPaddingChar('=');
        }
        for (size_t length = 0; length < 20; ++length) {
            Bytes bytes(length);
            for (auto& byte : bytes) {
                byte = static_cast<uint8_t>(random());
            }
            encoding->setDoPad(false);
            std::string text = encoding->encode(bytes);
            EXPECT_EQ(encoding->decode(text), bytes) << width.alphabet.size() << "/" << length;
            if (width.alphabet.size() < 128) {
                encoding->setDoPad(true);
                std::string padded = encoding->encode(bytes);
                EXPECT_EQ(padded.size() % width.group, 0u) << width.alphabet.size();
                EXPECT_EQ(padded.substr(0, text.size()), text);
                EXPECT_EQ(encoding->decode(padded), bytes);
            }
        }
    }
}

TEST(ZAD_ZTMStringEncodingTest, TextResultsMustBeUTF8) {
    auto base64 = ZAD_ZTMStringEncoding::rfc4648Base64StringEncoding();
    EXPECT_EQ(base64->stringByDecoding(base64->encodeString("caf\xC3\xA9")), "caf\xC3\xA9");
    EXPECT_EQ(base64->stringByDecoding(base64->encode({0xC3})), std::nullopt);
    EXPECT_EQ(base64->stringByDecoding("*"), std::nullopt);
}

// Damaged or hostile text never crashes a decoder; whatever one accepts is a faithful
// reading: encoding it again and decoding gives the same bytes.
TEST(ZAD_ZTMStringEncodingTest, DecodersSurviveArbitraryText) {
    std::mt19937 random(2026);
    const std::string pool = "AZaz09+/-_=\n #\x7F\x80\xFF\xC3\xA9oOiIlL";
    for (const auto& shared : kShared) {
        auto encoding = shared.make();
        int accepted = 0;
        for (int round = 0; round < 2000; ++round) {
            std::string text(random() % 24, ' ');
            for (auto& c : text) {
                c = random() % 4 == 0 ? static_cast<char>(random() % 256)
                                      : pool[random() % pool.size()];
            }
            auto bytes = encoding->decode(text);
            if (bytes) {
                ++accepted;
                EXPECT_EQ(encoding->decode(encoding->encode(*bytes)), bytes) << shared.name;
            }
            (void)encoding->stringByDecoding(text);
        }
        EXPECT_GT(accepted, 0) << shared.name << ": the fuzzing reached no valid text";
    }
}

} // namespace
