// Spreads a glow from the bright parts of the picture: a horizontal slider for the glow's
// radius (0 ... 1 of a twentieth of the picture's shorter side, 0.5 at start) and an
// upright one at the right edge for its intensity (0 ... 1, 1 at start), both reported on
// release. The glow grows the render beyond the picture; the picture's own size is cut
// back out of its middle.
#pragma once

#include "editor/tools/effect/PESliderEffect.h"

class UISlider;

class PEBloomEffect : public PESliderEffect {
    NS_OBJECT(PEBloomEffect)
public:
    class ClassMethods : public PEEffectBase::ClassMethods {
    public:
        // "PEBloomEffect_DefaultTitle", "Bloom" by default.
        std::string defaultTitle(const Class& self) const override;
        // From system version 6.
        bool isAvailable(const Class& self) const override;
    };

    static std::shared_ptr<PEBloomEffect> alloc() { return make<PEBloomEffect>(); }

    // The effect's filter with the radius slider times min(w, h) x 0.05 as its radius (w, h:
    // the picture's size in points) and the intensity slider, cropped in the middle to the
    // picture's pixel size.
    Render render() const override;

    std::shared_ptr<UISlider> radiusSlider() const { return radiusSlider_; }
    std::shared_ptr<UISlider> intensitySlider() const { return intensitySlider_; }

protected:
    PEBloomEffect() = default;
    void setUserInterface() override;
    bool continuousSliders() const override { return false; }
    // "CIBloom".
    virtual const char* filterName() const;

private:
    std::shared_ptr<UISlider> radiusSlider_;
    std::shared_ptr<UISlider> intensitySlider_;
};
