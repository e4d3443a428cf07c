#include "editor/tools/draw/PESplashTool.h"

#include "editor/PEImageEditorTheme.h"
#include "editor/categories/UIImage+Utility.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UISlider.h"

std::string PESplashTool::ClassMethods::defaultTitle(const Class&) const {
    return PEImageEditorTheme::localizedStringWithDefault("PESplashTool_DefaultTitle", "Splash");
}

void PESplashTool::prepareDrawingView(const std::shared_ptr<UIImage>& picture) {
    auto layer = drawingView();
    layer->setContentMode(UIViewContentMode::ScaleAspectFit);
    const CGSize size = layer->frame().size;
    grayImage_ = Utility::grayScaleImage(
        Utility::aspectFit(picture, CGSizeMake(2 * size.width, 2 * size.height)));
    layer->setImage(grayImage_);
}

void PESplashTool::setMenu() {
    auto menu = menuView();
    // Centred in the panel's height.
    addWidthSlider(menu->frame().size.height * 0.5 - kSliderHeight / 2);
    addStrokePreview();
    // The swatch shows the width only: in the theme's text colour in both modes.
    auto text = themeTextColor();
    strokePreview()->setBackgroundColor(text);
    strokePreviewBackground()->setBackgroundColor(text);
    addEraserIcon();
    widthSliderDidChange(*widthSlider());
}

void PESplashTool::drawLineTo(CGPoint from, CGPoint to) {
    maskImage_ =
        imageWithSegment(maskImage_, UIColor::blackColor(), from, to,
                         isEraserMode() ? UIColor::blackColor() : UIColor::whiteColor(), false);
}

void PESplashTool::didPaintSegment() {
    drawingView()->setImage(Utility::maskedImage(grayImage_, maskImage_));
}

std::function<std::shared_ptr<UIImage>()>
PESplashTool::resultBuilder(const std::shared_ptr<UIImage>& picture) const {
    return [picture, mask = maskImage_, size = originalImageSize()] {
        return buildImage(picture, mask, size);
    };
}

std::shared_ptr<UIImage> PESplashTool::buildImage(const std::shared_ptr<UIImage>& picture,
                                                  const std::shared_ptr<UIImage>& mask,
                                                  CGSize size) {
    auto gray = Utility::grayScaleImage(picture);
    if (!picture || !gray) {
        return nullptr;
    }
    // Nothing painted: all grey, as the screen shows it.
    auto over = mask ? Utility::maskedImage(gray, mask) : gray;
    if (!over) {
        return nullptr;
    }
    return Utility::overlaid(picture, over, size);
}
