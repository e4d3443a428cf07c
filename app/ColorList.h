// The bundle's list of background colours, as hexadecimal texts.
#pragma once

#include <string>
#include <vector>

// The texts of the "color" property list; anything else in it is left out. A missing or
// damaged file gives an empty list, with a log line naming `reader`.
std::vector<std::string> loadBundleColorList(const std::string& reader);
