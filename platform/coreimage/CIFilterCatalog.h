// Every filter the engine knows, by name: the colour filters, the photo looks and the
// filters that move or spread pixels.
#pragma once

#include "platform/coreimage/CIFilterDefinition.h"

#include <string>
#include <vector>

class CIFilterCatalog {
public:
    static const CIFilterDefinition* definitionNamed(const std::string& name);
    static std::vector<std::string> filterNames();
};
