// The interface-orientation mask an ad page names: "any" 30, "portrait" 6 (upright and
// upside down), "landscape" 24 (both sides); any other text 0.
#pragma once

#include <cstdint>
#include <string_view>

uint64_t ZADOrientationMaskFromString(std::string_view text);
