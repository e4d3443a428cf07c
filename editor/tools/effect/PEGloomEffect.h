// The bloom effect's darker twin: the same sliders and crop, with a gloom that dulls the
// highlights by their darker surroundings.
#pragma once

#include "editor/tools/effect/PEBloomEffect.h"

class PEGloomEffect : public PEBloomEffect {
    NS_OBJECT(PEGloomEffect)
public:
    // Bloom's, from system version 6, but for the title.
    class ClassMethods : public PEBloomEffect::ClassMethods {
    public:
        // "PEGloomEffect_DefaultTitle", "Gloom" by default.
        std::string defaultTitle(const Class& self) const override;
    };

    static std::shared_ptr<PEGloomEffect> alloc() { return make<PEGloomEffect>(); }

protected:
    PEGloomEffect() = default;
    // "CIGloom".
    const char* filterName() const override;
};
