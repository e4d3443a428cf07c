// Colours from hexadecimal text: six digits, alone or after "#", "0X" or "0X#", in either
// case and with surrounding white space. Anything else is the clear colour.
#pragma once

#include <memory>
#include <string>

class UIColor;

namespace Hex {
std::shared_ptr<UIColor> colorWithHexStringAlpha(const std::string& text, double alpha);
std::shared_ptr<UIColor> colorWithHexString(const std::string& text);
} // namespace Hex
