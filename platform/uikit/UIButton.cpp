#include "platform/uikit/UIButton.h"

#include "platform/runtime/ClassRegistry.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"

NS_REGISTER_CLASS(UIButton, UIControl);

std::shared_ptr<UIButton> UIButton::buttonWithType(UIButtonType type) {
    auto button = std::make_shared<UIButton>();
    button->buttonType_ = type;
    return button;
}

std::shared_ptr<UIButton> UIButton::initWithFrame(const CGRect& frame) {
    auto button = std::make_shared<UIButton>();
    button->setFrame(frame);
    return button;
}

template <class T>
void UIButton::setValueForState(std::map<unsigned, T>& values, T value, unsigned state) {
    if (value == T{}) {
        values.erase(state);
    } else {
        values[state] = std::move(value);
    }
    setNeedsDisplay();
}

template <class T> T UIButton::valueForState(const std::map<unsigned, T>& values, unsigned state) {
    auto found = values.find(state);
    if (found == values.end()) {
        found = values.find(UIControlStateNormal);
    }
    return found == values.end() ? T{} : found->second;
}

void UIButton::setTitleForState(std::string title, unsigned state) {
    setValueForState(titles_, std::move(title), state);
}

std::string UIButton::titleForState(unsigned state) const {
    return valueForState(titles_, state);
}

void UIButton::setTitleColorForState(std::shared_ptr<UIColor> color, unsigned state) {
    setValueForState(titleColors_, std::move(color), state);
}

std::shared_ptr<UIColor> UIButton::titleColorForState(unsigned state) const {
    return valueForState(titleColors_, state);
}

void UIButton::setImageForState(std::shared_ptr<UIImage> image, unsigned state) {
    setValueForState(images_, std::move(image), state);
}

std::shared_ptr<UIImage> UIButton::imageForState(unsigned state) const {
    return valueForState(images_, state);
}

void UIButton::setBackgroundImageForState(std::shared_ptr<UIImage> image, unsigned state) {
    setValueForState(backgroundImages_, std::move(image), state);
}

std::shared_ptr<UIImage> UIButton::backgroundImageForState(unsigned state) const {
    return valueForState(backgroundImages_, state);
}

std::string UIButton::accessibilityLabel() const {
    std::string label = UIControl::accessibilityLabel();
    return label.empty() ? currentTitle() : label;
}
