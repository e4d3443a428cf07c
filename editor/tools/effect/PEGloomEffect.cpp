#include "editor/tools/effect/PEGloomEffect.h"

#include "editor/PEImageEditorTheme.h"

std::string PEGloomEffect::ClassMethods::defaultTitle(const Class&) const {
    return PEImageEditorTheme::localizedStringWithDefault("PEGloomEffect_DefaultTitle", "Gloom");
}

const char* PEGloomEffect::filterName() const {
    return "CIGloom";
}
