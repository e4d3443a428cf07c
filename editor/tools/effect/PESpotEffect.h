// Darkens the picture around a round spot: a tap or a drag places the spot, a pinch sizes
// it, and a white ring marks it while it changes. The ring is 1.2 times the spot's
// diameter as the vignette sees it. A drag asks for a preview once, when it ends.
//
// The spot is x and y as fractions of the picture's width and height (from the top left,
// each clamped to 0 ... 1) and a size R in 0 ... 1, all 0.5 at start.
#pragma once

#include "editor/tools/effect/PEEffectBase.h"
#include "platform/uikit/UIGestureRecognizerDelegate.h"

#include <memory>

class PESpotCircle;
class UIGestureRecognizer;
class UIView;

class PESpotEffect : public PEEffectBase, public UIGestureRecognizerDelegate {
    NS_OBJECT(PESpotEffect)
public:
    class ClassMethods : public PEEffectBase::ClassMethods {
    public:
        // "PESpotEffect_DefaultTitle", "Spot" by default.
        std::string defaultTitle(const Class& self) const override;
        // From system version 7.
        bool isAvailable(const Class& self) const override;
    };

    static std::shared_ptr<PESpotEffect> alloc() { return make<PESpotEffect>(); }

    // The container exactly over the picture (`imageViewFrame`), with the gestures and the
    // ring.
    void initWithSuperViewImageViewFrameToolInfo(
        const std::shared_ptr<UIView>& superView, const CGRect& imageViewFrame,
        const std::shared_ptr<PEImageToolInfo>& toolInfo) override;
    // Removes the container with the ring and the gestures.
    void cleanup() override;
    // "CIVignetteEffect" centred on the spot (in pixels, y up) with a radius of
    // min(w, h) x scale x 0.5 x (R + 0.1); not cropped.
    Render render() const override;

    // The ring: min(width, height) x (R + 0.1) x 1.2 across, centred on the spot.
    void drawCircleView();
    // The gestures' actions: a tap or drag moves the spot, a pinch scales its size from
    // where the pinch began; each tells the delegate when it ends.
    void tapContainerView(UIGestureRecognizer& sender);
    void panContainerView(UIGestureRecognizer& sender);
    void pinchContainerView(UIGestureRecognizer& sender);

    std::shared_ptr<UIView> containerView() const { return containerView_; }
    std::shared_ptr<PESpotCircle> circleView() const { return circleView_; }
    double X() const { return X_; }
    double Y() const { return Y_; }
    double R() const { return R_; }

protected:
    PESpotEffect() = default;

private:
    void setUserInterface();
    // The spot moved to the recogniser's touch; the delegate told when it has ended.
    void moveSpot(UIGestureRecognizer& sender);

    std::shared_ptr<UIView> containerView_;
    std::shared_ptr<PESpotCircle> circleView_;
    double X_ = 0.5;
    double Y_ = 0.5;
    double R_ = 0.5;
};
