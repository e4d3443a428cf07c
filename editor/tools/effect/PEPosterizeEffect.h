// Cuts every channel to a few levels: the slider runs from -10 (10 levels, left) to -2
// (2 levels, right), -4 at start, so that sliding right coarsens; reported on release.
#pragma once

#include "editor/tools/effect/PESliderEffect.h"

class UISlider;

class PEPosterizeEffect : public PESliderEffect {
    NS_OBJECT(PEPosterizeEffect)
public:
    class ClassMethods : public PEEffectBase::ClassMethods {
    public:
        // "PEPosterizeEffect_DefaultTitle", "Posterize" by default.
        std::string defaultTitle(const Class& self) const override;
        // From system version 6.
        bool isAvailable(const Class& self) const override;
    };

    static std::shared_ptr<PEPosterizeEffect> alloc() { return make<PEPosterizeEffect>(); }

    // "CIColorPosterize" with the slider's value negated as its levels.
    Render render() const override;

    std::shared_ptr<UISlider> levelSlider() const { return levelSlider_; }

protected:
    PEPosterizeEffect() = default;
    void setUserInterface() override;
    bool continuousSliders() const override { return false; }

private:
    std::shared_ptr<UISlider> levelSlider_;
};
