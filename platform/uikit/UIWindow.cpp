#include "platform/uikit/UIWindow.h"

#include "platform/runtime/ClassRegistry.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIViewController.h"

NS_REGISTER_CLASS(UIWindow, UIView);

std::shared_ptr<UIWindow> UIWindow::initWithFrame(const CGRect& frame) {
    auto window = std::make_shared<UIWindow>();
    window->setFrame(frame);
    return window;
}

std::shared_ptr<UIWindow> UIWindow::window() const {
    return std::const_pointer_cast<UIWindow>(self<UIWindow>());
}

void UIWindow::setRootViewController(std::shared_ptr<UIViewController> controller) {
    auto old = rootViewController_;
    if (old == controller) {
        return;
    }
    if (visible_ && old) {
        old->beginAppearanceTransition(false, false);
    }
    if (old && old->isViewLoaded()) {
        old->view()->removeFromSuperview();
    }
    if (visible_ && old) {
        old->endAppearanceTransition();
    }
    rootViewController_ = std::move(controller);
    if (!rootViewController_) {
        return;
    }
    auto rootView = rootViewController_->view();
    rootView->setFrame(bounds());
    rootView->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                  UIViewAutoresizingFlexibleHeight);
    insertSubviewAtIndex(rootView, 0);
    if (visible_) {
        rootViewController_->beginAppearanceTransition(true, false);
        rootViewController_->endAppearanceTransition();
    }
}

void UIWindow::makeKeyAndVisible() {
    UIApplication::sharedApplication()->setKeyWindow(self<UIWindow>());
    setHidden(false);
    if (visible_) {
        return;
    }
    visible_ = true;
    if (rootViewController_) {
        rootViewController_->beginAppearanceTransition(true, false);
        rootViewController_->endAppearanceTransition();
    }
}

bool UIWindow::isKeyWindow() const {
    return UIApplication::sharedApplication()->keyWindow().get() == this;
}
