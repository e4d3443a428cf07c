// The editor's blur tool: blurs the whole picture (normal), all but a circular spot
// (circle) or all but a straight band (band). The mode comes from the tool's own strip,
// the strength from one slider, and the spot or band is placed by tap, pan, pinch and
// rotation over the picture. Previews combine a blurred copy of the picture the size of the
// editor's image view with a fresh mask in the background; OK repeats the steps on the full
// picture.
//
// Kept sound where a plain reading would not be:
// - Views and the slider are read on the main thread only: a preview or OK takes the
//   strength and the outlines' geometry (Parameters) when it is asked for and hands them
//   to the background work; the blurred copy comes back to the main thread before the
//   preview that uses it is asked for.
// - Previews never overlap in the whole process: a busy flag, tested and set on the main
//   thread and cleared in the background once the picture is on its way, drops requests
//   that arrive meanwhile (nothing is queued). A slider release whose blur is overtaken by
//   a later one is dropped too.
// - A preview that arrives after the tool ended is dropped; a picture that cannot be made
//   answers OK with an error.
#pragma once

#include "editor/PEImageToolBase.h"
#include "platform/graphics/CGGeometry.h"
#include "platform/uikit/UIGestureRecognizerDelegate.h"

#include <atomic>
#include <cstdint>
#include <memory>

class PEBlurBand;
class PEBlurCircle;
class UIGestureRecognizer;
class UIScrollView;
class UISlider;
class UIView;

class PEBlurTool : public PEImageToolBase, public UIGestureRecognizerDelegate {
    NS_OBJECT(PEBlurTool)
public:
    class ClassMethods : public PEImageToolBase::ClassMethods {
    public:
        // "PEBlurEffect_DefaultTitle", "Blur & Focus" by default.
        std::string defaultTitle(const Class& self) const override;
        // From system version 5.
        bool isAvailable(const Class& self) const override;
        // The three mode icons' asset names, empty (the theme's pictures).
        std::optional<PlistValue::Dictionary> optionalInfo(const Class& self) const override;
    };

    enum BlurType : uint64_t { Normal = 0, Circle = 1, Band = 2 };

    // Everything a combination reads, taken on the main thread.
    struct Parameters {
        uint64_t blurType = Normal;
        // The circle's frame in the handler view.
        CGRect circleFrame = CGRectZero;
        double bandRotation = 0, bandScale = 1, bandOffset = 0;
        // The band's untransformed frame in the full picture's points.
        CGRect bandImageRect = CGRectZero;
        double handlerWidth = 0, imageViewWidth = 0, originalWidth = 0;
        // The masks' shapes: dark where the picture stays sharp.
        std::shared_ptr<UIImage> circleMask, bandMask;
    };

    // Made by the class registry when the editor opens the tool.
    PEBlurTool() = default;

    // Normal mode at strength 0.2: the copy for previews, the frozen zoom, the slider, the
    // gesture view over the picture, the mode strip sliding in, the outlines and the first
    // (blurred) preview.
    void setup() override;
    // Gives the zoom back, removes the slider and the gesture view, slides the strip out;
    // later previews are dropped.
    void cleanup() override;
    // The full picture blurred at the slider's strength and combined as the outlines stand
    // now, in the background behind a spinner; the answer on the main thread.
    void executeWithCompletionBlock(Completion completion) override;

    // The strip's three mode items, "Normal" highlighted first.
    void setBlurMenu();
    // Moves the highlight; the same item again does nothing.
    void setSelectedMenu(const std::shared_ptr<UIView>& item);
    std::shared_ptr<UIView> selectedMenu() const { return selectedMenu_; }
    // The four recognisers on the gesture view.
    void setHandlerView();
    // The circle (1.5 times the shorter side, centred) and the band (the diagonal wide,
    // centred), and the band's frame in the picture.
    void setDefaultParams();
    // The strength slider (260 wide, reporting on release) in a rounded, dimmed container
    // 280 wide, added to the editor's view.
    std::shared_ptr<UISlider> sliderWithValueMinimumValueMaximumValue(float value, float minimum,
                                                                      float maximum);
    // Blurs the preview copy at the slider's strength in the background, then asks for a
    // preview with it.
    void sliderDidChange();
    // A preview of the current mode and outlines, unless one is being built.
    void buildThumbnailImage();

    // The gesture actions.
    void tappedBlurMenu(UIGestureRecognizer& recognizer);
    void tapHandlerView(UIGestureRecognizer& recognizer);
    void panHandlerView(UIGestureRecognizer& recognizer);
    void pinchHandlerView(UIGestureRecognizer& recognizer);
    void rotateHandlerView(UIGestureRecognizer& recognizer);
    bool gestureRecognizerShouldRecognizeSimultaneouslyWithGestureRecognizer(
        UIGestureRecognizer& recognizer, UIGestureRecognizer& other) override;

    // The parameters as the views stand now (main thread).
    Parameters currentParameters() const;

    // The sharp and the blurred picture combined for the mode: the blurred one alone in
    // normal mode. Null when a picture is missing or cannot be made. Any thread.
    static std::shared_ptr<UIImage> buildResultImageWithBlurImage(const std::shared_ptr<UIImage>& sharp,
                                                                  const std::shared_ptr<UIImage>& blurred,
                                                                  const Parameters& parameters);
    static std::shared_ptr<UIImage> circleBlurImageWithBlurImage(const std::shared_ptr<UIImage>& sharp,
                                                                 const std::shared_ptr<UIImage>& blurred,
                                                                 const Parameters& parameters);
    static std::shared_ptr<UIImage> bandBlurImageWithBlurImage(const std::shared_ptr<UIImage>& sharp,
                                                               const std::shared_ptr<UIImage>& blurred,
                                                               const Parameters& parameters);
    // The blurred picture with the sharp one over it, seen through the mask: sharp where
    // the mask is dark, blurred where it is white.
    static std::shared_ptr<UIImage> blurImageWithBlurImageAndMask(const std::shared_ptr<UIImage>& sharp,
                                                                  const std::shared_ptr<UIImage>& blurred,
                                                                  const std::shared_ptr<UIImage>& mask);

    uint64_t blurType() const { return blurType_; }
    std::shared_ptr<UISlider> blurSlider() const { return blurSlider_; }
    std::shared_ptr<UIScrollView> menuScroll() const { return menuScroll_; }
    std::shared_ptr<UIView> handlerView() const { return handlerView_; }
    std::shared_ptr<PEBlurCircle> circleView() const { return circleView_; }
    std::shared_ptr<PEBlurBand> bandView() const { return bandView_; }
    CGRect bandImageRect() const { return bandImageRect_; }
    std::shared_ptr<UIImage> thumbnailImage() const { return thumbnailImage_; }
    std::shared_ptr<UIImage> blurImage() const { return blurImage_; }

private:
    // Tap and pan: the circle's centre, or the band's offset, under the finger.
    void moveToTouch(UIGestureRecognizer& recognizer);

    uint64_t blurType_ = Normal;
    std::shared_ptr<UIImage> originalImage_;
    std::shared_ptr<UIImage> thumbnailImage_;
    std::shared_ptr<UIImage> blurImage_;
    std::shared_ptr<UISlider> blurSlider_;
    std::shared_ptr<UIScrollView> menuScroll_;
    std::shared_ptr<UIView> selectedMenu_;
    std::shared_ptr<UIView> handlerView_;
    std::shared_ptr<PEBlurCircle> circleView_;
    std::shared_ptr<PEBlurBand> bandView_;
    CGRect bandImageRect_ = CGRectZero;
    std::shared_ptr<UIImage> circleMask_, bandMask_;
    // Slider releases so far; a blur whose release is not the last is stale.
    uint64_t sliderGeneration_ = 0;
    bool ended_ = false;
};
