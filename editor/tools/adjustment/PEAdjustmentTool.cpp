#include "editor/tools/adjustment/PEAdjustmentTool.h"

#include "app/categories/UIDevice+SystemVersion.h"
#include "app/categories/UIView+UIViewx.h"
#include "editor/PECoreImageRender.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolHost.h"
#include "editor/PEPreviewGate.h"
#include "editor/PEToolPanel.h"
#include "editor/PEToolSlider.h"
#include "editor/categories/UIImage+Utility.h"
#include "platform/coreimage/CIFilter.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSNumber.h"
#include "platform/uikit/CIImage+UIKitAdditions.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/WeakAction.h"

namespace {
// The filter's output fed on as the next one's input, with one number set after the
// filter's defaults.
std::shared_ptr<CIFilter> chained(const char* name, const std::shared_ptr<CIImage>& input,
                                  const char* key, float value) {
    auto filter = PECoreImageRender::filterForImage(name, input);
    if (filter) {
        filter->setValueForKey(NSNumber::numberWithDouble(value), key);
    }
    return filter;
}
} // namespace

std::string PEAdjustmentTool::ClassMethods::defaultTitle(const Class&) const {
    return PEImageEditorTheme::localizedStringWithDefault("PEAdjustmentTool_DefaultTitle",
                                                          "Adjustment");
}

bool PEAdjustmentTool::ClassMethods::isAvailable(const Class&) const {
    return SystemVersion::iosVersion() >= 5.0;
}

std::optional<PlistValue::Dictionary> PEAdjustmentTool::ClassMethods::optionalInfo(const Class&) const {
    return PlistValue::Dictionary{{"saturationIconAssetsName", ""},
                                  {"brightnessIconAssetsName", ""},
                                  {"contrastIconAssetsName", ""}};
}

void PEAdjustmentTool::setup() {
    auto editor = this->editor();
    if (!editor) {
        return;
    }
    originalImage_ = editor->originalImage();
    thumbnailImage_ = Utility::resize(originalImage_, editor->imageView()->frame().size);
    editor->fixZoomScaleWithAnimated(true);
    // The sliders stand above the editor's menu: without it there is no place for them.
    if (!editor->menuView()) {
        return;
    }
    setupSlider();
}

void PEAdjustmentTool::cleanup() {
    ended_ = true;
    if (indicatorView_) {
        indicatorView_->removeFromSuperview();
    }
    for (const auto& slider : {saturationSlider_, brightnessSlider_, contrastSlider_}) {
        if (slider && slider->superview()) {
            slider->superview()->removeFromSuperview();
        }
    }
    if (auto editor = this->editor()) {
        editor->resetZoomScaleWithAnimated(true);
    }
}

std::shared_ptr<UISlider> PEAdjustmentTool::sliderWithValueMinimumValueMaximumValue(float value,
                                                                                  float minimum,
                                                                                  float maximum) {
    auto slider = PEToolSlider::sliderInContainer(*editor()->view(), CGSizeMake(240, 35), 260,
                                                  true, value, minimum, maximum);
    slider->addTargetActionForControlEvents(self<PEAdjustmentTool>(),
                                            &PEAdjustmentTool::sliderDidChange,
                                            UIControlEventValueChanged);
    return slider;
}

void PEAdjustmentTool::setIconForSliderWithKeyDefaultIconName(UISlider& slider, const std::string& key,
                                                              const std::string& defaultIconName) {
    auto icon = imageForKeyDefaultImageName(key, defaultIconName);
    slider.setThumbImageForState(icon, UIControlStateNormal);
    slider.setThumbImageForState(icon, UIControlStateHighlighted);
}

void PEAdjustmentTool::setupSlider() {
    auto editor = this->editor();
    auto view = editor->view();
    const float viewWidth = UIViewx::width(*view);

    saturationSlider_ = sliderWithValueMinimumValueMaximumValue(1, 0, 2);
    auto saturation = saturationSlider_->superview();
    saturation->setCenter(CGPointMake(viewWidth / 2, UIViewx::top(*editor->menuView()) - 30));
    setIconForSliderWithKeyDefaultIconName(*saturationSlider_, "saturationIconAssetsName",
                                           "saturation.png");

    // Upright at the edges: the container turned a quarter back, minimum at the bottom.
    brightnessSlider_ = sliderWithValueMinimumValueMaximumValue(0, -1, 1);
    PEToolSlider::placeUprightAbove(*brightnessSlider_, 20, *saturationSlider_);
    setIconForSliderWithKeyDefaultIconName(*brightnessSlider_, "brightnessIconAssetsName",
                                           "brightness.png");

    contrastSlider_ = sliderWithValueMinimumValueMaximumValue(1, 0.5, 1.5);
    PEToolSlider::placeUprightAbove(*contrastSlider_, viewWidth - 20, *saturationSlider_);
    setIconForSliderWithKeyDefaultIconName(*contrastSlider_, "contrastIconAssetsName",
                                           "contrast.png");
}

PEAdjustmentTool::Settings PEAdjustmentTool::currentSettings() const {
    return {saturationSlider_ ? saturationSlider_->value() : 1.0f,
            brightnessSlider_ ? brightnessSlider_->value() : 0.0f,
            contrastSlider_ ? contrastSlider_->value() : 1.0f};
}

void PEAdjustmentTool::sliderDidChange(UISlider&) {
    if (ended_) {
        return;
    }
    PEPreviewGate::of<PEAdjustmentTool>().preview(
        [thumbnail = thumbnailImage_, settings = currentSettings()] {
            return filteredImage(thumbnail, settings);
        },
        weakCall(weakSelf<PEAdjustmentTool>(), [](PEAdjustmentTool& tool, const auto& preview) {
            auto editor = tool.editor();
            if (!tool.ended_ && editor) {
                editor->imageView()->setImage(preview);
            }
        }));
}

void PEAdjustmentTool::executeWithCompletionBlock(Completion completion) {
    auto editor = this->editor();
    if (!editor) {
        completion(nullptr, PECoreImageRender::failure(staticClassName(), "The tool is not set up."),
                   nullptr);
        return;
    }
    auto view = editor->view();
    indicatorView_ = PEToolPanel::startIndicator(view, view->center());
    PECoreImageRender::renderThenAnswer(
        [image = originalImage_, settings = currentSettings()] {
            return filteredImage(image, settings);
        },
        std::move(completion), staticClassName(), "The picture could not be adjusted.");
}

std::shared_ptr<UIImage> PEAdjustmentTool::filteredImage(const std::shared_ptr<UIImage>& image,
                                                         const Settings& settings) {
    auto colour = chained("CIColorControls", UIKitAdditions::initWithImage(image),
                          "inputSaturation", settings.saturation);
    auto exposure = chained("CIExposureAdjust", colour ? colour->outputImage() : nullptr, "inputEV",
                            2 * settings.brightness);
    auto gamma = chained("CIGammaAdjust", exposure ? exposure->outputImage() : nullptr,
                         "inputPower", settings.contrast * settings.contrast);
    return gamma ? PECoreImageRender::renderedImage(*gamma) : nullptr;
}
