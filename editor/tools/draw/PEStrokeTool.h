// What the two finger-painting tools share (draw and splash): a layer over the editor's
// picture that one finger paints on while two fingers still pan and zoom the picture, the
// menu panel that slides in over the editor's menu with its width slider, the round swatch
// that shows the stroke's width and switches the eraser when tapped, and the pan handling
// that turns finger movement into round-capped segments.
//
// Each tool paints its segments into a bitmap of the layer's size at the screen's scale and
// merges it with the picture on OK. The merge reads no view: what it needs (the picture,
// the painted bitmap) is taken on the main thread, and only the drawing of the result runs
// in the background.
#pragma once

#include "editor/PEImageToolBase.h"
#include "platform/graphics/CGGeometry.h"

#include <functional>
#include <memory>

class UIColor;
class UIGestureRecognizer;
class UIImage;
class UIImageView;
class UISlider;
class UIView;

class PEStrokeTool : public PEImageToolBase {
    NS_OBJECT(PEStrokeTool)
public:
    // The family's base is no tool of its own: never listed.
    class ClassMethods : public PEImageToolBase::ClassMethods {
    public:
        bool isAvailable(const Class&) const override { return false; }
        // The eraser icon's asset name, empty (the theme's picture).
        std::optional<PlistValue::Dictionary> optionalInfo(const Class& self) const override;
    };

    // The swatch's diameter at full width, and the widest stroke, in points.
    static constexpr double kStrokePreviewSide = 65;
    // The panel's sliders' height.
    static constexpr double kSliderHeight = 34;

    // The layer over the picture, one-finger painting, the panel sliding in.
    void setup() override;
    // Removes the layer, gives the scroll view its one-finger pan back and slides the panel
    // out; what was painted and not executed is dropped.
    void cleanup() override;
    // The merged picture in the background; the answer on the main thread.
    void executeWithCompletionBlock(Completion completion) override;

    // A slider at (0, 0), `width` wide and kSliderHeight high, with empty track pictures
    // (the panel's own track picture shows behind it) and a white thumb.
    static std::shared_ptr<UISlider> defaultSliderWithWidth(double width);
    // A bar filled in the theme's text colour at half alpha, thin at the left and 0.3 of
    // the slider's height thick at the right, drawn at the width slider's size.
    std::shared_ptr<UIImage> widthSliderBackground() const;

    // The slider actions and the swatch's tap.
    void widthSliderDidChange(UISlider& slider);
    virtual void strokePreviewDidTap(UIGestureRecognizer& recognizer);
    // Each event of a pan paints the segment from the last point to the finger, the began
    // one a dot; the movement reported with the end is not painted.
    void drawingViewDidPan(UIGestureRecognizer& recognizer);
    // Paints one segment, in the layer's points.
    virtual void drawLineTo(CGPoint from, CGPoint to) = 0;

    // Whether the eraser icon shows: the one record of the mode.
    bool isEraserMode() const;
    // The stroke's line width: the width slider's value of the swatch's side, at least 1.
    double lineWidth() const;

    std::shared_ptr<UIImageView> drawingView() const { return drawingView_; }
    std::shared_ptr<UIView> menuView() const { return menuView_; }
    std::shared_ptr<UISlider> widthSlider() const { return widthSlider_; }
    std::shared_ptr<UIView> strokePreview() const { return strokePreview_; }
    std::shared_ptr<UIView> strokePreviewBackground() const { return strokePreviewBackground_; }
    std::shared_ptr<UIImageView> eraserIcon() const { return eraserIcon_; }
    CGSize originalImageSize() const { return originalImageSize_; }

protected:
    PEStrokeTool() = default;

    // The theme's text colour, which the app may have set to none: then black (an eraser
    // stroke in no colour would paint nothing sensible).
    static std::shared_ptr<UIColor> themeTextColor();

    // The layer is made (its frame the image view's bounds); the tool shows what it needs in
    // it before it goes over the picture.
    virtual void prepareDrawingView(const std::shared_ptr<UIImage>& picture) {}
    // Fills the panel.
    virtual void setMenu() = 0;
    // After a segment is painted.
    virtual void didPaintSegment() {}
    // Takes, on the main thread, what the result is made of (the picture and the painted
    // bitmap as they stand when OK is pushed) and returns the work that makes it, which
    // runs in the background.
    virtual std::function<std::shared_ptr<UIImage>()>
    resultBuilder(const std::shared_ptr<UIImage>& picture) const = 0;

    // The panel's width less the swatch's column (70) and the sliders' inset (10 a side).
    double sliderWidth() const;
    // The width slider: `defaultSliderWithWidth` of sliderWidth, at (10, top), value 0.1, over its
    // track picture, reporting to widthSliderDidChange; added to the panel.
    void addWidthSlider(double top);
    // Adds the slider to the panel over its track picture: an image view of the slider's
    // frame just below it. (As the slider's background colour the picture would tile from
    // the window's origin, not the slider's, and stand shifted against the slider.)
    void addSliderOverTrackPicture(const std::shared_ptr<UISlider>& slider,
                                   const std::shared_ptr<UIImage>& picture);
    // The swatch (ringed in the theme's text colour, centred in the panel's right column)
    // and the faint circle of the same frame above it that takes the tap; added.
    void addStrokePreview();
    // The eraser icon over the swatch, hidden; added.
    void addEraserIcon();

    // The bitmap of the layer's size at the screen's scale: `below` (or a fill of
    // `emptyFill` where there is none yet) with one round-capped segment stroked over it
    // in `colour`, or cleared along it when `clear`.
    std::shared_ptr<UIImage> imageWithSegment(const std::shared_ptr<UIImage>& below,
                                              const std::shared_ptr<UIColor>& emptyFill,
                                              CGPoint from, CGPoint to,
                                              const std::shared_ptr<UIColor>& colour,
                                              bool clear) const;

private:
    std::shared_ptr<UIImageView> drawingView_;
    CGSize originalImageSize_ = CGSizeZero;
    CGPoint prevDraggingPosition_ = CGPointZero;
    std::shared_ptr<UIView> menuView_;
    std::shared_ptr<UISlider> widthSlider_;
    std::shared_ptr<UIView> strokePreview_;
    std::shared_ptr<UIView> strokePreviewBackground_;
    std::shared_ptr<UIImageView> eraserIcon_;
};
