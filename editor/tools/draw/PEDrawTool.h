// The editor's draw tool: one finger paints strokes over the picture in a colour and a
// width chosen on two sliders; the eraser, switched by tapping the swatch, clears paint
// again (never the picture beneath). OK merges the paint into the picture at the picture's
// own size and scale: the paint, painted at the screen's resolution over the picture's view,
// is stretched over it.
#pragma once

#include "editor/tools/draw/PEStrokeTool.h"

class PEDrawTool : public PEStrokeTool {
    NS_OBJECT(PEDrawTool)
public:
    class ClassMethods : public PEStrokeTool::ClassMethods {
    public:
        // "PEDrawTool_DefaultTitle", "Draw" by default.
        std::string defaultTitle(const Class& self) const override;
        bool isAvailable(const Class&) const override { return true; }
        double defaultDockedNumber(const Class&) const override { return 4.5; }
    };

    // Made by the class registry when the editor opens the tool.
    PEDrawTool() = default;

    // The colour track: black, white at 0.3, then red, yellow, green, cyan and blue, in a
    // thin rounded bar across the colour slider.
    std::shared_ptr<UIImage> colorSliderBackground() const;
    // Below a third a grey reaching white at 0.3; from a third the hues from red towards
    // blue, stopping a little short of pure blue at 1.
    static std::shared_ptr<UIColor> colorForValue(double value);

    // In paint mode, swatch and thumb take the slider's colour.
    void colorSliderDidChange(UISlider& slider);
    // Back in paint mode the swatch takes the slider's colour again; the eraser shows it in
    // the theme's text colour.
    void strokePreviewDidTap(UIGestureRecognizer& recognizer) override;
    // A segment in the swatch's colour, or cleared in eraser mode.
    void drawLineTo(CGPoint from, CGPoint to) override;

    std::shared_ptr<UISlider> colorSlider() const { return colorSlider_; }

protected:
    void setMenu() override;
    // The picture with the paint stretched over it, at the picture's size and scale; the
    // picture alone when nothing was painted.
    std::function<std::shared_ptr<UIImage>()>
    resultBuilder(const std::shared_ptr<UIImage>& picture) const override;

private:
    std::shared_ptr<UISlider> colorSlider_;
};
