// The code requests give an orientation mask: "any" for landscape and portrait (or
// upside-down) bits together, "l" for landscape bits only, "p" for the portrait bit
// without landscape bits; nothing for 0 or the upside-down bit alone.
#pragma once

#include <optional>
#include <string>

std::optional<std::string> ZADOrientationCodeFromMask(unsigned long mask);
