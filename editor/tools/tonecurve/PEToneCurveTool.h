// The editor's tone curve tool: remaps the picture's tones through a curve the user shapes
// by dragging five points on a grid, in a panel that slides up over the lower part of the
// screen, with a button that folds the panel away and one that puts the curve back on the
// diagonal. Previews filter a copy of the picture the size of the picture's view, in the
// background; OK filters the whole picture.
//
// Kept sound where a plain reading would not be:
// - The background work never reads the points: each preview and OK take the five
//   vectors on the main thread, when asked for; OK uses the curve as it stands then.
// - The busy flag (one for the process) is atomic: set on the main thread, cleared in the
//   background once a preview is on its way; changes that come meanwhile are dropped.
// - A preview or result that arrives after the tool has ended is dropped; a picture that
//   cannot be filtered is reported as an error and the tool stays open.
//
// What is applied and what is drawn: the filter engine maps each channel through a monotone
// cubic through the five points, level beyond the ends; the grid draws the editor's
// parametric spline through the same points. Both pass through every point and are level
// outside; between points they may differ a little where the drawn curve swings (the
// monotone one never overshoots, so a curve drawn to turn back is applied without the turn).
#pragma once

#include "editor/PEImageToolBase.h"
#include "editor/tools/tonecurve/PEToneCurveGridDelegate.h"
#include "platform/coreimage/CIVector.h"

#include <array>
#include <atomic>
#include <memory>

class PEToneCurveView;
class UIButton;
class UIView;

class PEToneCurveTool : public PEImageToolBase, public PEToneCurveGridDelegate {
    NS_OBJECT(PEToneCurveTool)
public:
    class ClassMethods : public PEImageToolBase::ClassMethods {
    public:
        // "PEToneCurveTool_DefaultTitle", "ToneCurve" by default.
        std::string defaultTitle(const Class& self) const override;
        // From system version 5.
        bool isAvailable(const Class& self) const override;
        // "arrowIconAssetsName" and "resetIconAssetsName", each the empty string (the
        // bundle's icons).
        std::optional<PlistValue::Dictionary> optionalInfo(const Class& self) const override;
    };

    // The curve's five points, left to right, in unit coordinates (y up).
    using Curve = std::array<CIVectorPtr, 5>;

    PEToneCurveTool() = default;

    // Shows the reduced copy in the picture's view, builds the panel (grid, hide and reset
    // buttons) and slides it up (0.3 s). No preview yet: the diagonal changes nothing.
    void setup() override;
    // Slides the panel out of sight from where it stands (0.3 s), then removes it.
    void cleanup() override;
    // The whole picture through the current curve, on the main thread.
    void executeWithCompletionBlock(Completion completion) override;

    // A preview of the reduced copy, unless one is being made.
    void toneCurveDidChange(PEToneCurveView& sender) override;
    // Folds the panel down to a strip as tall as the editor's menu (the points stop taking
    // touches, the arrow turns), or brings it back.
    void pushedHideBtn(UIButton& sender);
    // Puts the curve back on the diagonal (a preview follows) and spins the button.
    void pushedResetBtn(UIButton& sender);

    // The curve the grid shows now.
    Curve curve() const;
    // `image` through the tone curve filter with `curve`; null when it cannot be. Any thread.
    static std::shared_ptr<UIImage> filteredImage(const std::shared_ptr<UIImage>& image,
                                                  const Curve& curve);

    std::shared_ptr<UIView> menuContainer() const { return menuContainer_; }
    std::shared_ptr<PEToneCurveView> tonecurveView() const { return tonecurveView_; }
    std::shared_ptr<UIButton> hideButton() const { return hideButton_; }
    std::shared_ptr<UIButton> resetButton() const { return resetButton_; }

private:
    std::shared_ptr<UIImage> originalImage_;
    std::shared_ptr<UIImage> thumbnailImage_;
    std::shared_ptr<UIView> menuContainer_;
    std::shared_ptr<PEToneCurveView> tonecurveView_;
    std::shared_ptr<UIButton> hideButton_;
    std::shared_ptr<UIButton> resetButton_;
    std::shared_ptr<UIView> indicatorView_;
    bool ended_ = false;
};
