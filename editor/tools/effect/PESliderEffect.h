// What the slider effects share (hue, highlight/shadow, bloom, gloom, posterize,
// pixellate): a transparent container over the picture's area, sliders in rounded dark
// strips inside it, and a slider action that tells the delegate. Each effect places its
// sliders and reads them into its render.
#pragma once

#include "editor/tools/effect/PEEffectBase.h"

#include <memory>

class UISlider;
class UIView;

class PESliderEffect : public PEEffectBase {
    NS_OBJECT(PESliderEffect)
public:
    // The family's base is no effect of its own: never listed.
    class ClassMethods : public PEEffectBase::ClassMethods {
    public:
        bool isAvailable(const Class&) const override { return false; }
    };

    // The container over the whole of `superView`, then the effect's sliders.
    void initWithSuperViewImageViewFrameToolInfo(
        const std::shared_ptr<UIView>& superView, const CGRect& imageViewFrame,
        const std::shared_ptr<PEImageToolInfo>& toolInfo) override;
    // Removes the container, and the sliders with it.
    void cleanup() override;

    std::shared_ptr<UIView> containerView() const { return containerView_; }

    // A 260 x 30 slider at (10, 0) in a 280-point strip of its height at the container's
    // origin (black at 0.3, corners rounded by half its height), reporting value changes
    // while dragged when the effect's sliders are continuous, else when released.
    std::shared_ptr<UISlider> sliderWithValueMinimumValueMaximumValue(float value, float minimum,
                                                                      float maximum);
    // The slider action: tells the delegate.
    void sliderDidChange(UISlider& slider);

protected:
    PESliderEffect() = default;

    // Creates and places the effect's sliders.
    virtual void setUserInterface() = 0;
    // Whether its sliders report every movement.
    virtual bool continuousSliders() const = 0;

    // A render of the engine's filter `filterName` with `value` for its number `key`, the
    // other inputs at their defaults.
    static Render filterRender(const char* filterName, const char* key, double value);
    // The slider's strip centred across the container, 30 points above its bottom.
    void placeAtBottom(UISlider& slider) const;
    // The slider's strip upright at the container's right edge (its minimum at the bottom),
    // centred 20 points in and 150 points above the top of `below`'s strip.
    void placeUprightAbove(UISlider& slider, const UISlider& below) const;

private:
    std::shared_ptr<UIView> containerView_;
};
