// A picture laid over the edited picture by the emoticon and sticker tools: the picture in
// a 16-point margin, a delete button centred on its top-left corner and a round handle on
// its bottom-right corner. One finger moves it; dragging the handle turns it about its
// centre and scales it by the handle's distance (never below 0.2); a tap makes it active.
// Of each overlay class one overlay at a time is active and shows its controls and its
// border. Touches on the empty margin pass through to what lies beneath.
#pragma once

#include "platform/uikit/UIView.h"

#include <memory>

class PECircleView;
class PEImageToolBase;
class UIButton;
class UIGestureRecognizer;
class UIImage;
class UIImageView;

class PEOverlayImageView : public UIView {
    NS_OBJECT(PEOverlayImageView)
public:
    // What all overlays of one class share: the active one, and where the handle drag
    // under way started (its distance from the overlay's centre and its angle).
    struct ClassState {
        std::shared_ptr<PEOverlayImageView> active;
        double referenceDistance = 1;
        double referenceAngle = 0;
    };

    // The margin around the picture on each side, and the smallest scale a handle drag
    // leaves.
    static constexpr double kMargin = 16;
    static constexpr double kMinimumScale = 0.2;

    std::shared_ptr<UIImageView> imageView() const { return imageView_; }
    std::shared_ptr<UIButton> deleteButton() const { return deleteButton_; }
    std::shared_ptr<PECircleView> circleView() const { return circleView_; }
    double scale() const { return scale_; }
    double arg() const { return arg_; }

    // The picture scaled by `scale` about the overlay's centre, the frame fitted to it and
    // the margin, the rotation kept; border and rounding stay 1 and 3 points on screen.
    void setScale(double scale);
    // Shows or hides the controls and the border (the selector is spelled so).
    void setAvtive(bool active);
    // Makes this overlay its class's active one.
    void activate();

    // Passes activity to the nearest overlay of the class in front (else behind), then
    // leaves its superview.
    void pushedDeleteBtn();
    void viewDidTap(UIGestureRecognizer& recognizer);
    void viewDidPan(UIGestureRecognizer& recognizer);
    void circleViewDidPan(UIGestureRecognizer& recognizer);

    // The platform's hit test, but never the overlay itself: its margin is see-through.
    std::shared_ptr<UIView> hitTestWithEvent(const CGPoint& point, const UIEvent* event) override;

protected:
    PEOverlayImageView() = default;

    // The overlay of `image`: frame (0, 0, picture + 2 margins), the picture centred, the
    // delete button (the tool's "btn_delete.png", or its "deleteIconAssetsName" asset) and
    // the handle on its corners, scale 1, no rotation, gestures attached.
    void buildWithImageTool(const std::shared_ptr<UIImage>& image, const PEImageToolBase& tool);
    // The state of the overlay's own class.
    virtual ClassState& classState() const = 0;
    // Makes `view` (or none) the active one of the class whose state is `state`.
    static void setActiveView(ClassState& state, const std::shared_ptr<PEOverlayImageView>& view);

private:
    void initGestures();

    std::shared_ptr<UIImageView> imageView_;
    std::shared_ptr<UIButton> deleteButton_;
    std::shared_ptr<PECircleView> circleView_;
    double scale_ = 1;
    double arg_ = 0;
    CGPoint initialPoint_ = CGPointZero;
    double initialArg_ = 0;
    double initialScale_ = 1;
};
