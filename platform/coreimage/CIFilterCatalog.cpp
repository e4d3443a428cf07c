#include "platform/coreimage/CIFilterCatalog.h"

#include "platform/coreimage/CIColorFilters.h"
#include "platform/coreimage/CIPhotoEffects.h"
#include "platform/coreimage/CISpatialFilters.h"

#include <map>

namespace {
const std::map<std::string, CIFilterDefinition>& catalog() {
    static const std::map<std::string, CIFilterDefinition> definitions = [] {
        std::map<std::string, CIFilterDefinition> byName;
        for (auto group :
             {colorFilterDefinitions(), photoEffectDefinitions(), spatialFilterDefinitions()}) {
            for (auto& definition : group) {
                byName.emplace(definition.name, std::move(definition));
            }
        }
        return byName;
    }();
    return definitions;
}
} // namespace

const CIFilterDefinition* CIFilterCatalog::definitionNamed(const std::string& name) {
    auto found = catalog().find(name);
    return found == catalog().end() ? nullptr : &found->second;
}

std::vector<std::string> CIFilterCatalog::filterNames() {
    std::vector<std::string> names;
    for (const auto& [name, definition] : catalog()) {
        names.push_back(name);
    }
    return names;
}
