// Turns every colour's hue by the slider's angle (-pi ... pi radians, 0 at start), reported
// while dragged.
#pragma once

#include "editor/tools/effect/PESliderEffect.h"

class UISlider;

class PEHueEffect : public PESliderEffect {
    NS_OBJECT(PEHueEffect)
public:
    class ClassMethods : public PEEffectBase::ClassMethods {
    public:
        // "PEHueEffect_DefaultTitle", "Hue" by default.
        std::string defaultTitle(const Class& self) const override;
        // From system version 5.
        bool isAvailable(const Class& self) const override;
    };

    static std::shared_ptr<PEHueEffect> alloc() { return make<PEHueEffect>(); }

    // The container also clips to the picture's area.
    void initWithSuperViewImageViewFrameToolInfo(
        const std::shared_ptr<UIView>& superView, const CGRect& imageViewFrame,
        const std::shared_ptr<PEImageToolInfo>& toolInfo) override;
    // "CIHueAdjust" with the slider's angle.
    Render render() const override;

    std::shared_ptr<UISlider> hueSlider() const { return hueSlider_; }

protected:
    PEHueEffect() = default;
    void setUserInterface() override;
    bool continuousSliders() const override { return true; }

private:
    std::shared_ptr<UISlider> hueSlider_;
};
