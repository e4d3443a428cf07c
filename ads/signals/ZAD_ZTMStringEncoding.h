// Bytes to text and back with an alphabet of 2 to 128 characters, each standing for a
// fixed number of bits (1 to 7; the power of two that is the alphabet's length), as
// RFC 4648's base 16, 32 and 64 do. Decoding is strict unless told otherwise: a character
// outside the alphabet, data after padding or non-zero bits left over fail.
#pragma once

#include "platform/base/NSObject.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ZAD_ZTMStringEncoding : public NSObject {
    NS_OBJECT(ZAD_ZTMStringEncoding)
public:
    // Null when the alphabet is not ASCII, its length not a power of two from 2 to 128,
    // or a character occurs twice.
    static std::shared_ptr<ZAD_ZTMStringEncoding>
    stringEncodingWithString(const std::string& alphabet);
    static std::shared_ptr<ZAD_ZTMStringEncoding> initWithString(const std::string& alphabet);

    // The shared encodings, a new object each time.
    static std::shared_ptr<ZAD_ZTMStringEncoding> binaryStringEncoding();
    // Upper-case out, either case in.
    static std::shared_ptr<ZAD_ZTMStringEncoding> hexStringEncoding();
    static std::shared_ptr<ZAD_ZTMStringEncoding> rfc4648Base32StringEncoding();
    static std::shared_ptr<ZAD_ZTMStringEncoding> rfc4648Base32HexStringEncoding();
    // Reads "o" and "O" as 0, "i", "I", "l" and "L" as 1, lower case as upper case.
    static std::shared_ptr<ZAD_ZTMStringEncoding> crockfordBase32StringEncoding();
    static std::shared_ptr<ZAD_ZTMStringEncoding> rfc4648Base64StringEncoding();
    // "-" and "_" for "+" and "/"; still padded with "=".
    static std::shared_ptr<ZAD_ZTMStringEncoding> rfc4648Base64WebsafeStringEncoding();

    // "<Base64 StringEncoder: ABC...>"
    std::string description() const override;

    // Each alphabet character in the text lends its value to the characters after it that
    // are not yet part of the encoding: "AaBb" reads "a" as "A" and "b" as "B".
    void addDecodeSynonyms(const std::string& synonyms);
    // Decoding passes over these characters.
    void ignoreCharacters(const std::string& characters);

    bool doPad() const { return doPad_; }
    void setDoPad(bool doPad) { doPad_ = doPad; }
    // Also marks the character as padding for decoding.
    void setPaddingChar(char c);

    std::string encode(const std::vector<uint8_t>& bytes) const;
    std::string encodeString(const std::string& text) const;
    // Nothing for text that is not in the encoding (see above).
    std::optional<std::vector<uint8_t>> decode(const std::string& text) const;
    // Nothing also when the decoded bytes are not UTF-8.
    std::optional<std::string> stringByDecoding(const std::string& text) const;

private:
    // Marks of the decoding table besides values.
    static constexpr int kUnknown = -1;
    static constexpr int kPadding = -2;
    static constexpr int kIgnored = -3;

    ZAD_ZTMStringEncoding() { reverseCharMap_.fill(kUnknown); }
    bool setUpAlphabet(const std::string& alphabet);
    static std::shared_ptr<ZAD_ZTMStringEncoding>
    padded(std::shared_ptr<ZAD_ZTMStringEncoding> encoding);

    std::string charMap_;
    std::array<int, 128> reverseCharMap_{};
    int shift_ = 0;
    int mask_ = 0;
    bool doPad_ = false;
    char paddingChar_ = 0;
    int padLen_ = 0;
};
