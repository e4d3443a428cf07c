// The editor's rotate tool: turns the picture by any angle from -180 to +180 degrees and
// mirrors it left to right and top to bottom. A slider sets the angle (a fraction of pi,
// -1 to 1); the tool's strip offers a quarter-turn step and the two mirrors. The preview
// is a copy of the picture whose layer transform follows the controls, fitted into the
// picture area with a 5 % margin and outlined; no pixels are computed until OK, which turns
// the whole picture inside its new bounding box, the corners outside it transparent.
//
// Kept sound where a plain reading would not be:
// - OK turns the editor's current picture by the angle and mirrors as they stand when OK
//   is pressed, read on the main thread; the background work reads no control.
// - A picture that cannot be turned (too large once turned) is reported as an error and
//   the tool stays open, instead of answering with no picture.
// - A result that arrives after the tool has ended is dropped.
#pragma once

#include "editor/PEImageToolBase.h"
#include "platform/graphics/CGAffineTransform.h"
#include "platform/quartzcore/CATransform3D.h"

#include <memory>

class PERotatePanel;
class UIGestureRecognizer;
class UIImageView;
class UIScrollView;
class UISlider;
class UIView;

class PERotateTool : public PEImageToolBase {
    NS_OBJECT(PERotateTool)
public:
    class ClassMethods : public PEImageToolBase::ClassMethods {
    public:
        // "PERotateTool_DefaultTitle", "Rotate" by default.
        std::string defaultTitle(const Class& self) const override;
        // From system version 5.
        bool isAvailable(const Class& self) const override;
        // "rotateIconAssetsName", "flipHorizontalIconAssetsName" and
        // "flipVerticalIconAssetsName", each the empty string (the bundle's icons).
        std::optional<PlistValue::Dictionary> optionalInfo(const Class& self) const override;
    };

    // What the controls say: the angle as a fraction of pi and the two mirrors.
    struct State {
        double angle = 0;
        bool flipLeftRight = false;
        bool flipTopBottom = false;
    };

    PERotateTool() = default;

    // Freezes the zoom, lays the outline over the picture area, adds the angle slider above
    // the strip and slides the strip in (0.3 s); once it is in, the preview stands in for
    // the editor's image view.
    void setup() override;
    // Removes slider and outline, hands the picture area back to the editor's image view
    // (the preview turns back to it in 0.3 s while the strip slides out).
    void cleanup() override;
    // The whole picture turned and mirrored, on the main thread; the work in the background.
    void executeWithCompletionBlock(Completion completion) override;

    // Fills the strip: quarter turn (tag 0), mirror left to right (1), top to bottom (2).
    void setMenu();
    // A strip item's tap: steps the angle to the next quarter turn, or toggles a mirror;
    // the preview follows in a 0.3-second animation.
    void tappedMenu(UIGestureRecognizer& sender);
    // The angle slider (continuous, in a rounded 280 x 30 container added to the editor's
    // view).
    std::shared_ptr<UISlider> sliderWithValueMinimumValueMaximumValue(float value, float minimum,
                                                                      float maximum);
    void sliderDidChange(UISlider& sender);
    // `transform` with the current state applied: mirrored top to bottom, then left to
    // right, then turned by the angle (clockwise on screen, or the other way when not, as
    // the filter engine's upward y axis needs).
    CATransform3D rotateTransformClockwise(const CATransform3D& transform, bool clockwise) const;
    // Fits, turns and mirrors the preview; the outline follows it.
    void rotateStateDidChange();

    State state() const;
    // The same for a given state, on any thread.
    static CATransform3D rotateTransformWithState(const CATransform3D& transform,
                                                  const State& state, bool clockwise);
    // The picture through the filter engine's affine transform; any thread.
    static std::shared_ptr<UIImage> turnedImage(const std::shared_ptr<UIImage>& image,
                                                const CGAffineTransform& transform);

    std::shared_ptr<UISlider> rotateSlider() const { return rotateSlider_; }
    std::shared_ptr<UIScrollView> menuScroll() const { return menuScroll_; }
    std::shared_ptr<PERotatePanel> gridView() const { return gridView_; }
    std::shared_ptr<UIImageView> rotateImageView() const { return rotateImageView_; }

private:
    void showPreview();

    std::shared_ptr<UISlider> rotateSlider_;
    std::shared_ptr<UIScrollView> menuScroll_;
    CGRect initialRect_{};
    bool executed_ = false;
    bool ended_ = false;
    std::shared_ptr<PERotatePanel> gridView_;
    std::shared_ptr<UIImageView> rotateImageView_;
    int flipState1_ = 0;
    int flipState2_ = 0;
};
