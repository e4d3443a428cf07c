#include "platform/uikit/UIScreen.h"

std::shared_ptr<UIScreen> UIScreen::mainScreen() {
    static const auto screen = make<UIScreen>();
    return screen;
}

void UIScreen::resetForTesting() {
    const UIScreen defaults;
    configureMainScreen(defaults.bounds_.size, defaults.scale_);
}

void UIScreen::configureMainScreen(CGSize size, double scale) {
    const auto screen = mainScreen();
    screen->bounds_ = CGRectMake(0, 0, size.width, size.height);
    screen->scale_ = scale;
}
