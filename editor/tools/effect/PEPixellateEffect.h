// Turns the picture into square blocks: the slider (0 ... 1, 0.5 at start, reported on
// release) sets the block side to that share of a tenth of the picture's shorter side,
// at least one pixel; the grid has a block corner at the picture's centre. The blocks'
// overhang beyond the picture's edge is left out and the render is cut to its visible
// pixels, so that the result covers exactly the picture's visible part.
#pragma once

#include "editor/tools/effect/PESliderEffect.h"
#include "platform/graphics/CGImage.h"

class UISlider;

class PEPixellateEffect : public PESliderEffect {
    NS_OBJECT(PEPixellateEffect)
public:
    class ClassMethods : public PEEffectBase::ClassMethods {
    public:
        // "PEPixellateEffect_DefaultTitle", "Pixelate" by default.
        std::string defaultTitle(const Class& self) const override;
        // From system version 6.
        bool isAvailable(const Class& self) const override;
    };

    static std::shared_ptr<PEPixellateEffect> alloc() { return make<PEPixellateEffect>(); }

    // "CIPixellate", cut to the visible pixels; the picture itself when none is visible.
    Render render() const override;

    // The smallest rectangle (pixels, from the top left) holding every pixel of `image`
    // whose alpha is not 0, its last column and row included; images without alpha are
    // visible throughout. Empty (zero) when no pixel is visible or there is no image.
    static CGRect clippingRectForTransparentSpace(const CGImageRef& image);

    std::shared_ptr<UISlider> radiusSlider() const { return radiusSlider_; }

protected:
    PEPixellateEffect() = default;
    void setUserInterface() override;
    bool continuousSliders() const override { return false; }

private:
    std::shared_ptr<UISlider> radiusSlider_;
};
