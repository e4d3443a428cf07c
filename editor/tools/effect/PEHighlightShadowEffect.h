// Lifts (or deepens) the shadows by the slider's amount (-1 ... 1, 0 at start), reported
// while dragged.
#pragma once

#include "editor/tools/effect/PESliderEffect.h"

class UISlider;

class PEHighlightShadowEffect : public PESliderEffect {
    NS_OBJECT(PEHighlightShadowEffect)
public:
    class ClassMethods : public PEEffectBase::ClassMethods {
    public:
        // "PEHighlightSadowEffect_DefaultTitle", "Highlight" by default.
        std::string defaultTitle(const Class& self) const override;
        // From system version 5.
        bool isAvailable(const Class& self) const override;
    };

    static std::shared_ptr<PEHighlightShadowEffect> alloc() {
        return make<PEHighlightShadowEffect>();
    }

    // "CIHighlightShadowAdjust" with the slider as its shadow amount.
    Render render() const override;

    std::shared_ptr<UISlider> shadowSlider() const { return shadowSlider_; }

protected:
    PEHighlightShadowEffect() = default;
    void setUserInterface() override;
    bool continuousSliders() const override { return true; }

private:
    std::shared_ptr<UISlider> shadowSlider_;
};
