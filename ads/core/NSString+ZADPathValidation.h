// Comparing URL texts that may differ by one final slash.
#pragma once

#include <string>

namespace ZADPathValidation {

// The text without one final "/", when it has one.
std::string zad_stripTrailingSlash(const std::string& text);
// Whether the texts are equal once each has lost one final "/" ("a/" and "a", not "a//").
bool zad_isEquivalentToURLString(const std::string& text, const std::string& other);

} // namespace ZADPathValidation
