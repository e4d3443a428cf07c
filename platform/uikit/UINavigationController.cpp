#include "platform/uikit/UINavigationController.h"

#include "platform/foundation/NSLog.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIView.h"

#include <algorithm>

std::shared_ptr<UINavigationController>
UINavigationController::initWithRootViewController(const std::shared_ptr<UIViewController>& root) {
    auto navigation = make<UINavigationController>();
    if (root) {
        navigation->addChildViewController(root);
    }
    return navigation;
}

std::shared_ptr<UIViewController> UINavigationController::topViewController() const {
    const auto& stack = viewControllers();
    return stack.empty() ? nullptr : stack.back();
}

std::shared_ptr<UIViewController> UINavigationController::visibleViewController() const {
    auto top = topViewController();
    if (auto presented = presentedViewController()) {
        return presented;
    }
    return top;
}

void UINavigationController::loadView() {
    UIViewController::loadView();
    installTopView();
}

std::shared_ptr<UINavigationBar> UINavigationController::navigationBar() const {
    if (!navigationBar_) {
        CGRect screen = UIScreen::mainScreen()->bounds();
        navigationBar_ = UINavigationBar::initWithFrame(CGRectMake(
            0, UINavigationBar::kStatusBarHeight, screen.size.width, UINavigationBar::kHeight));
        std::weak_ptr<UINavigationController> weak =
            std::const_pointer_cast<UINavigationController>(self<UINavigationController>());
        navigationBar_->setBackAction([weak] {
            if (auto navigation = weak.lock()) {
                navigation->popViewControllerAnimated(true);
            }
        });
        navigationBar_->setDelegate(weak);
    }
    return navigationBar_;
}

void UINavigationController::setNavigationBarHiddenAnimated(bool hidden, bool) {
    navigationBarHidden_ = hidden;
    updateBar();
}

void UINavigationController::updateBar() {
    if (!isViewLoaded()) {
        return;
    }
    auto bar = navigationBar();
    std::vector<std::shared_ptr<UINavigationItem>> items;
    for (const auto& controller : viewControllers()) {
        items.push_back(controller->navigationItem());
    }
    bar->setItemsAnimated(std::move(items), false);
    bar->setHidden(navigationBarHidden_);
    if (bar->superview() != view()) {
        view()->addSubview(bar);
    } else {
        view()->bringSubviewToFront(bar);
    }
}

void UINavigationController::installTopView() {
    auto top = topViewController();
    if (!top || !isViewLoaded()) {
        return;
    }
    auto container = view();
    auto topView = top->view();
    topView->setFrame(container->bounds());
    topView->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                 UIViewAutoresizingFlexibleHeight);
    container->addSubview(topView);
    updateBar();
}

std::vector<std::shared_ptr<UIViewController>>
UINavigationController::visibleChildViewControllers() const {
    auto top = topViewController();
    return top ? std::vector{top} : std::vector<std::shared_ptr<UIViewController>>{};
}

void UINavigationController::pushViewControllerAnimated(
    const std::shared_ptr<UIViewController>& controller, bool animated) {
    if (!controller) {
        return;
    }
    const auto& stack = viewControllers();
    if (std::find(stack.begin(), stack.end(), controller) != stack.end()) {
        NSLog("Pushing the same view controller instance more than once is not supported (%@)",
              controller->className());
        return;
    }
    auto from = topViewController();
    addChildViewController(controller);
    transition(from, controller, animated, {});
}

std::shared_ptr<UIViewController> UINavigationController::popViewControllerAnimated(bool animated) {
    const auto& stack = viewControllers();
    if (stack.size() < 2) {
        return nullptr;
    }
    auto popped = stack.back();
    auto to = stack[stack.size() - 2];
    transition(popped, to, animated, {popped});
    return popped;
}

std::vector<std::shared_ptr<UIViewController>>
UINavigationController::popToRootViewControllerAnimated(bool animated) {
    auto stack = viewControllers();
    if (stack.size() < 2) {
        return {};
    }
    std::vector<std::shared_ptr<UIViewController>> removed(stack.begin() + 1, stack.end());
    transition(stack.back(), stack.front(), animated, removed);
    return removed;
}

void UINavigationController::transition(const std::shared_ptr<UIViewController>& from,
                                        const std::shared_ptr<UIViewController>& to, bool animated,
                                        std::vector<std::shared_ptr<UIViewController>> removed) {
    for (const auto& controller : removed) {
        controller->removeFromParentViewController();
    }
    if (!isViewLoaded()) {
        return;
    }
    bool onScreen = isAppeared();
    if (onScreen) {
        to->beginAppearanceTransition(true, animated);
        if (from) {
            from->beginAppearanceTransition(false, animated);
        }
    }
    if (from && from != to) {
        from->view()->removeFromSuperview();
    }
    installTopView();
    if (onScreen) {
        afterTransition(animated, [from, to] {
            if (from) {
                from->endAppearanceTransition();
            }
            to->endAppearanceTransition();
        });
    }
}
