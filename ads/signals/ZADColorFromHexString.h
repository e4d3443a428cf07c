// Colours the ad server and ad pages give as hexadecimal RGB values ("#FF8000").
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class UIColor;

// Red from bits 16-23, green 8-15, blue 0-7, opaque; higher bits are ignored.
std::shared_ptr<UIColor> ZADColorFromRGBValue(uint32_t value);
// The first hexadecimal number of the text (an optional "0x" before it), blanks, line
// breaks and "#" skipped before it; its low 32 bits as an RGB value. Null when there is no
// hexadecimal digit.
std::shared_ptr<UIColor> ZADColorFromHexString(const std::string& text);
