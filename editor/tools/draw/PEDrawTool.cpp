#include "editor/tools/draw/PEDrawTool.h"

#include "app/categories/UIView+UIViewx.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/categories/UIImage+Utility.h"
#include "platform/graphics/CGGradient.h"
#include "platform/uikit/UIBezierPath.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UISlider.h"

#include <algorithm>

std::string PEDrawTool::ClassMethods::defaultTitle(const Class&) const {
    return PEImageEditorTheme::localizedStringWithDefault("PEDrawTool_DefaultTitle", "Draw");
}

void PEDrawTool::setMenu() {
    auto menu = menuView();
    colorSlider_ = defaultSliderWithWidth(sliderWidth());
    UIViewx::setLeft(*colorSlider_, 10);
    UIViewx::setTop(*colorSlider_, 5);
    colorSlider_->setValue(0);
    colorSlider_->addTargetActionForControlEvents(
        self<PEDrawTool>(), &PEDrawTool::colorSliderDidChange, UIControlEventValueChanged);
    addSliderOverTrackPicture(colorSlider_, colorSliderBackground());
    addWidthSlider(UIViewx::bottom(*colorSlider_) + 5);
    addStrokePreview();
    addEraserIcon();
    colorSliderDidChange(*colorSlider_);
    widthSliderDidChange(*widthSlider());
}

std::shared_ptr<UIImage> PEDrawTool::colorSliderBackground() const {
    const CGSize size = colorSlider_->frame().size;
    const double w = size.width, h = size.height;
    UIGraphicsBeginImageContextWithOptions(size, false, 0);
    auto context = UIGraphicsGetCurrentContext();
    if (!context) {
        UIGraphicsEndImageContext();
        return nullptr;
    }
    UIBezierPath::bezierPathWithRoundedRectCornerRadius(CGRectMake(5, (h - 10) * 0.5, w - 10, 5), 5)
        ->addClip();
    const double components[] = {0, 0, 0, 1, 1, 1, 1, 1, 1, 0, 0, 1, 1, 1,
                                 0, 1, 0, 1, 0, 1, 0, 1, 1, 1, 0, 0, 1, 1};
    const double locations[] = {0, 0.3, 1.0 / 3, 0.5, 2.0 / 3, 5.0 / 6, 1};
    CGContextDrawLinearGradient(
        context, CGGradientCreateWithColorComponents(components, locations, 7), CGPointMake(5, 0),
        CGPointMake(w - 5, 0), kCGGradientDrawsAfterEndLocation);
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

std::shared_ptr<UIColor> PEDrawTool::colorForValue(double value) {
    if (value < 1.0 / 3) {
        // Past 0.3 the level is above 1, which counts as white.
        return UIColor::colorWithWhiteAlpha(value / 0.3, 1);
    }
    // Divided by 0.7, not by the two thirds left: the hue stops short of blue at 1.
    return UIColor::colorWithHueSaturationBrightnessAlpha((value - 1.0 / 3) / 0.7 * 2 / 3, 1, 1, 1);
}

void PEDrawTool::colorSliderDidChange(UISlider& slider) {
    if (isEraserMode()) {
        return;
    }
    auto colour = colorForValue(slider.value());
    strokePreview()->setBackgroundColor(colour);
    strokePreviewBackground()->setBackgroundColor(colour);
    slider.setThumbTintColor(colour);
}

void PEDrawTool::strokePreviewDidTap(UIGestureRecognizer& recognizer) {
    PEStrokeTool::strokePreviewDidTap(recognizer);
    if (!isEraserMode()) {
        colorSliderDidChange(*colorSlider_);
        return;
    }
    auto text = themeTextColor();
    strokePreview()->setBackgroundColor(text);
    strokePreviewBackground()->setBackgroundColor(text);
}

void PEDrawTool::drawLineTo(CGPoint from, CGPoint to) {
    drawingView()->setImage(imageWithSegment(drawingView()->image(), nullptr, from, to,
                                             strokePreview()->backgroundColor(), isEraserMode()));
}

std::function<std::shared_ptr<UIImage>()>
PEDrawTool::resultBuilder(const std::shared_ptr<UIImage>& picture) const {
    return [picture, paint = drawingView()->image(), size = originalImageSize()] {
        return Utility::overlaid(picture, paint, size);
    };
}
