// Escaping text for a URL's query.
#pragma once

#include <string>

namespace ZADURLEncoding {

// The text's UTF-8 bytes with every byte but ASCII letters, digits and "-", "_", ".", "~"
// written as "%" and two upper-case hexadecimal digits; a "%" already there is escaped
// again.
std::string zad_stringByEscapingAsURLParameter(const std::string& text);

} // namespace ZADURLEncoding
