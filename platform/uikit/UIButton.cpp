#include "platform/uikit/UIButton.h"

#include "platform/text/UIFont.h"
#include "platform/uikit/NSStringDrawing.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"

#include <algorithm>

#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"

std::shared_ptr<UIButton> UIButton::buttonWithType(UIButtonType type) {
    auto button = make<UIButton>();
    button->buttonType_ = type;
    return button;
}

std::shared_ptr<UIButton> UIButton::initWithFrame(const CGRect& frame) {
    auto button = make<UIButton>();
    button->setFrame(frame);
    return button;
}

void UIButton::setTitleForState(std::string title, unsigned state) {
    titles_.set(std::move(title), state);
    setNeedsDisplay();
}

std::string UIButton::titleForState(unsigned state) const {
    return titles_.get(state);
}

void UIButton::setTitleColorForState(std::shared_ptr<UIColor> color, unsigned state) {
    titleColors_.set(std::move(color), state);
    setNeedsDisplay();
}

std::shared_ptr<UIColor> UIButton::titleColorForState(unsigned state) const {
    return titleColors_.get(state);
}

void UIButton::setImageForState(std::shared_ptr<UIImage> image, unsigned state) {
    images_.set(std::move(image), state);
    setNeedsDisplay();
}

std::shared_ptr<UIImage> UIButton::imageForState(unsigned state) const {
    return images_.get(state);
}

void UIButton::setBackgroundImageForState(std::shared_ptr<UIImage> image, unsigned state) {
    backgroundImages_.set(std::move(image), state);
    setNeedsDisplay();
}

std::shared_ptr<UIImage> UIButton::backgroundImageForState(unsigned state) const {
    return backgroundImages_.get(state);
}

std::string UIButton::accessibilityLabel() const {
    std::string label = UIControl::accessibilityLabel();
    return label.empty() ? currentTitle() : label;
}

std::shared_ptr<UILabel> UIButton::titleLabel() const {
    if (!titleLabel_) {
        titleLabel_ = UILabel::initWithFrame(bounds());
        titleLabel_->setFont(UIFont::systemFontOfSize(15));
        titleLabel_->setTextAlignment(NSTextAlignment::Center);
    }
    return titleLabel_;
}

void UIButton::drawRect(const CGRect& rect) {
    double pictureAlpha = isHighlighted() && adjustsImageWhenHighlighted_ ? 0.6 : 1.0;
    if (auto background = currentBackgroundImage()) {
        background->drawInRectBlendModeAlpha(rect, kCGBlendModeNormal, pictureAlpha);
    }
    auto image = currentImage();
    std::string title = currentTitle();
    CGSize imageSize = image ? image->size() : CGSizeZero;
    if (imageSize.width > rect.size.width || imageSize.height > rect.size.height) {
        CGRect fitted = UIImageView::imageRectForContentMode(UIViewContentMode::ScaleAspectFit,
                                                             imageSize, rect.size);
        imageSize = fitted.size;
    }
    auto label = titleLabel();
    NSTextAttributes attributes;
    attributes.font = label->font();
    auto color = currentTitleColor();
    if (!color) {
        color = buttonType_ == UIButtonType::System
                    ? UIColor::colorWithRedGreenBlueAlpha(0, 0.478, 1, isEnabled() ? 1 : 0.35)
                    : UIColor::whiteColor();
    }
    attributes.foregroundColor = color;
    CGSize titleSize =
        title.empty() ? CGSizeZero : NSStringDrawing::sizeWithAttributes(title, attributes);
    titleSize.width = std::min(titleSize.width, rect.size.width - imageSize.width);
    double x = (rect.size.width - imageSize.width - titleSize.width) / 2;
    if (image) {
        image->drawInRectBlendModeAlpha(
            CGRectMake(rect.origin.x + x, rect.origin.y + (rect.size.height - imageSize.height) / 2,
                       imageSize.width, imageSize.height),
            kCGBlendModeNormal, pictureAlpha);
    }
    if (!title.empty()) {
        NSStringDrawing::drawInRectWithAttributes(
            title,
            CGRectMake(rect.origin.x + x + imageSize.width,
                       rect.origin.y + (rect.size.height - titleSize.height) / 2, titleSize.width,
                       titleSize.height),
            attributes);
    }
}
