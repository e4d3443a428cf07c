#include "ads/signals/ZAD_ZTMStringEncoding.h"

#include "platform/foundation/NSString.h"

#include <numeric>

namespace {

bool isASCII(const std::string& text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

size_t indexOf(char c) {
    return static_cast<unsigned char>(c);
}

} // namespace

std::shared_ptr<ZAD_ZTMStringEncoding>
ZAD_ZTMStringEncoding::stringEncodingWithString(const std::string& alphabet) {
    return initWithString(alphabet);
}

std::shared_ptr<ZAD_ZTMStringEncoding>
ZAD_ZTMStringEncoding::initWithString(const std::string& alphabet) {
    auto encoding = make<ZAD_ZTMStringEncoding>();
    return encoding->setUpAlphabet(alphabet) ? encoding : nullptr;
}

bool ZAD_ZTMStringEncoding::setUpAlphabet(const std::string& alphabet) {
    size_t length = alphabet.size();
    if (!isASCII(alphabet) || length < 2 || length > 128 || (length & (length - 1)) != 0) {
        return false;
    }
    for (size_t i = 0; i < length; ++i) {
        int& entry = reverseCharMap_[indexOf(alphabet[i])];
        if (entry != kUnknown) {
            return false;
        }
        entry = static_cast<int>(i);
    }
    charMap_ = alphabet;
    while ((size_t{1} << shift_) < length) {
        ++shift_;
    }
    mask_ = static_cast<int>(length) - 1;
    padLen_ = std::lcm(8, shift_) / shift_;
    return true;
}

std::shared_ptr<ZAD_ZTMStringEncoding>
ZAD_ZTMStringEncoding::padded(std::shared_ptr<ZAD_ZTMStringEncoding> encoding) {
    encoding->setPaddingChar('=');
    encoding->setDoPad(true);
    return encoding;
}

std::shared_ptr<ZAD_ZTMStringEncoding> ZAD_ZTMStringEncoding::binaryStringEncoding() {
    return initWithString("01");
}

std::shared_ptr<ZAD_ZTMStringEncoding> ZAD_ZTMStringEncoding::hexStringEncoding() {
    auto encoding = initWithString("0123456789ABCDEF");
    encoding->addDecodeSynonyms("AaBbCcDdEeFf");
    return encoding;
}

std::shared_ptr<ZAD_ZTMStringEncoding> ZAD_ZTMStringEncoding::rfc4648Base32StringEncoding() {
    return padded(initWithString("ABCDEFGHIJKLMNOPQRSTUVWXYZ234567"));
}

std::shared_ptr<ZAD_ZTMStringEncoding> ZAD_ZTMStringEncoding::rfc4648Base32HexStringEncoding() {
    return padded(initWithString("0123456789ABCDEFGHIJKLMNOPQRSTUV"));
}

std::shared_ptr<ZAD_ZTMStringEncoding> ZAD_ZTMStringEncoding::crockfordBase32StringEncoding() {
    auto encoding = initWithString("0123456789ABCDEFGHJKMNPQRSTVWXYZ");
    encoding->addDecodeSynonyms("0oO1iIlLAaBbCcDdEeFfGgHhJjKkMmNnPpQqRrSsTtVvWwXxYyZz");
    return encoding;
}

std::shared_ptr<ZAD_ZTMStringEncoding> ZAD_ZTMStringEncoding::rfc4648Base64StringEncoding() {
    return padded(
        initWithString("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"));
}

std::shared_ptr<ZAD_ZTMStringEncoding> ZAD_ZTMStringEncoding::rfc4648Base64WebsafeStringEncoding() {
    return padded(
        initWithString("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"));
}

std::string ZAD_ZTMStringEncoding::description() const {
    return NSString::stringWithFormat("<Base%d StringEncoder: %@>", 1 << shift_, charMap_);
}

void ZAD_ZTMStringEncoding::addDecodeSynonyms(const std::string& synonyms) {
    int current = kUnknown;
    for (char c : synonyms) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            continue;
        }
        int& entry = reverseCharMap_[indexOf(c)];
        if (entry != kUnknown) {
            current = entry;
        } else {
            entry = current;
        }
    }
}

void ZAD_ZTMStringEncoding::ignoreCharacters(const std::string& characters) {
    for (char c : characters) {
        if (static_cast<unsigned char>(c) < 0x80) {
            reverseCharMap_[indexOf(c)] = kIgnored;
        }
    }
}

void ZAD_ZTMStringEncoding::setPaddingChar(char c) {
    paddingChar_ = c;
    if (static_cast<unsigned char>(c) < 0x80) {
        reverseCharMap_[indexOf(c)] = kPadding;
    }
}

std::string ZAD_ZTMStringEncoding::encode(const std::vector<uint8_t>& bytes) const {
    if (bytes.empty()) {
        return "";
    }
    size_t length = (bytes.size() * 8 + shift_ - 1) / shift_;
    if (doPad_) {
        length = (length + padLen_ - 1) / padLen_ * padLen_;
    }
    // Filled with padding first, which the characters then overwrite.
    std::string text(length, paddingChar_);
    char* out = text.data();
    const char* map = charMap_.data();
    // Characters are read from the low `bits` bits of the accumulator (never more than
    // shift + 7); older bits shift out of the top or are masked off.
    uint64_t buffer = 0;
    int bits = 0;
    for (uint8_t byte : bytes) {
        buffer = (buffer << 8) | byte;
        bits += 8;
        while (bits >= shift_) {
            bits -= shift_;
            *out++ = map[(buffer >> bits) & mask_];
        }
    }
    if (bits > 0) {
        *out = map[(buffer << (shift_ - bits)) & mask_];
    }
    return text;
}

std::string ZAD_ZTMStringEncoding::encodeString(const std::string& text) const {
    return encode(std::vector<uint8_t>(text.begin(), text.end()));
}

std::optional<std::vector<uint8_t>> ZAD_ZTMStringEncoding::decode(const std::string& text) const {
    std::vector<uint8_t> bytes(text.size() * shift_ / 8);
    uint8_t* out = bytes.data();
    uint64_t buffer = 0;
    int bits = 0;
    bool padding = false;
    for (char c : text) {
        auto code = static_cast<unsigned char>(c);
        if (code >= 0x80) {
            return std::nullopt; // not ASCII
        }
        int value = reverseCharMap_[code];
        if (value == kIgnored) {
            continue;
        }
        if (value == kPadding) {
            padding = true;
            continue;
        }
        if (value == kUnknown || padding) {
            return std::nullopt;
        }
        buffer = (buffer << shift_) | static_cast<unsigned>(value);
        bits += shift_;
        if (bits >= 8) {
            bits -= 8;
            *out++ = static_cast<uint8_t>(buffer >> bits);
        }
    }
    // Bits left over must be zero: they are what encoding added to fill the last character.
    if ((buffer & ((uint64_t{1} << bits) - 1)) != 0) {
        return std::nullopt;
    }
    bytes.resize(static_cast<size_t>(out - bytes.data()));
    return bytes;
}

std::optional<std::string> ZAD_ZTMStringEncoding::stringByDecoding(const std::string& text) const {
    auto bytes = decode(text);
    if (!bytes) {
        return std::nullopt;
    }
    std::string decoded(bytes->begin(), bytes->end());
    if (!NSString::isValidUTF8(decoded)) {
        return std::nullopt;
    }
    return decoded;
}
