// Digests of text, as the engine keys caches and hashes device identifiers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ZADStringNumberAdditions {

// The MD5 digest (16 bytes) of the text's UTF-8 bytes; nothing when the text is not UTF-8.
std::optional<std::vector<uint8_t>> zad_MD5Data(const std::string& text);
// That digest as 32 lower-case hexadecimal digits; nothing when there is no digest.
std::optional<std::string> zad_MD5String(const std::string& text);

} // namespace ZADStringNumberAdditions
