#include "editor/tools/effect/PEGloomEffect.h"

#include "app/categories/UIDevice+SystemVersion.h"
#include "editor/PEImageEditorTheme.h"

std::string PEGloomEffect::ClassMethods::defaultTitle(const Class&) const {
    return PEImageEditorTheme::localizedStringWithDefault("PEGloomEffect_DefaultTitle", "Gloom");
}

bool PEGloomEffect::ClassMethods::isAvailable(const Class&) const {
    return SystemVersion::iosVersion() >= 6.0;
}

const char* PEGloomEffect::filterName() const {
    return "CIGloom";
}
