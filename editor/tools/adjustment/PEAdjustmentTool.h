// The editor's adjustment tool: saturation, brightness and contrast of the whole picture,
// set on three sliders laid over the editor screen. Every slider move previews the chain on
// a copy of the picture the size of the editor's image view, in the background; OK runs it
// over the full picture.
//
// Kept sound where a plain reading would not be:
// - The sliders are read on the main thread only: a preview or OK takes their values when
//   it is asked for and hands them to the background work.
// - Previews never overlap in the whole process: a busy flag, set on the main thread when
//   a preview is queued and cleared in the background once its picture is on its way,
//   drops the slider moves that arrive meanwhile (nothing is queued).
// - A preview that arrives after the tool ended is dropped: the image view then belongs to
//   the editor again.
// - A chain that cannot be rendered answers OK with an error, never with no picture.
#pragma once

#include "editor/PEImageToolBase.h"

#include <atomic>
#include <memory>

class UISlider;
class UIView;

class PEAdjustmentTool : public PEImageToolBase {
    NS_OBJECT(PEAdjustmentTool)
public:
    class ClassMethods : public PEImageToolBase::ClassMethods {
    public:
        // "PEAdjustmentTool_DefaultTitle", "Adjustment" by default.
        std::string defaultTitle(const Class& self) const override;
        // From system version 5.
        bool isAvailable(const Class& self) const override;
        // The three slider icons' asset names, empty (the theme's pictures).
        std::optional<PlistValue::Dictionary> optionalInfo(const Class& self) const override;
    };

    // The three values the chain is run with. The neutral ones give the picture back.
    struct Settings {
        float saturation = 1; // 0 to 2
        float brightness = 0; // -1 to 1: exposure of 2 x brightness stops
        float contrast = 1;   // 0.5 to 1.5: gamma power of contrast squared
    };

    // Made by the class registry when the editor opens the tool.
    PEAdjustmentTool() = default;

    // Takes the editor's current picture and a copy of it the image view's size, freezes
    // the zoom and lays the sliders over the screen.
    void setup() override;
    // Removes the spinner and the sliders and gives the zoom back; later previews are
    // dropped.
    void cleanup() override;
    // The chain over the full picture with the sliders' values at this moment, in the
    // background behind a spinner; the answer on the main thread.
    void executeWithCompletionBlock(Completion completion) override;

    // One continuous slider (240 x 35) in a rounded, dimmed container 260 wide, added to
    // the editor's view; returns the slider.
    std::shared_ptr<UISlider> sliderWithValueMinimumValueMaximumValue(float value, float minimum,
                                                                      float maximum);
    // The slider's thumb for both the normal and the highlighted state: the entry's asset
    // named under `key`, else the tool's own picture `defaultIconName`.
    void setIconForSliderWithKeyDefaultIconName(UISlider& slider, const std::string& key,
                                                const std::string& defaultIconName);
    // Saturation along the bottom above the menu, brightness and contrast upright at the
    // left and right edges.
    void setupSlider();
    // The sliders' action: a preview of the current values, unless one is being built.
    void sliderDidChange(UISlider& slider);

    // The sliders' values (main thread).
    Settings currentSettings() const;
    // Colour controls (saturation), exposure adjust (2 x brightness) and gamma adjust
    // (contrast squared) over the picture; null when it cannot be rendered. Any thread.
    static std::shared_ptr<UIImage> filteredImage(const std::shared_ptr<UIImage>& image,
                                                  const Settings& settings);

    std::shared_ptr<UISlider> saturationSlider() const { return saturationSlider_; }
    std::shared_ptr<UISlider> brightnessSlider() const { return brightnessSlider_; }
    std::shared_ptr<UISlider> contrastSlider() const { return contrastSlider_; }
    std::shared_ptr<UIImage> thumbnailImage() const { return thumbnailImage_; }

private:
    std::shared_ptr<UIImage> originalImage_;
    std::shared_ptr<UIImage> thumbnailImage_;
    std::shared_ptr<UISlider> saturationSlider_;
    std::shared_ptr<UISlider> brightnessSlider_;
    std::shared_ptr<UISlider> contrastSlider_;
    std::shared_ptr<UIView> indicatorView_;
    bool ended_ = false;
};
