#include "platform/uikit/UIViewController.h"

#include "platform/base/NSRunLoop.h"
#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSLog.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIWindow.h"

std::shared_ptr<UIViewController> UIViewController::init() {
    return make<UIViewController>();
}

std::shared_ptr<UIView> UIViewController::view() {
    if (!view_) {
        loadView();
        if (!view_) {
            setView(UIView::initWithFrame(UIScreen::mainScreen()->bounds()));
        }
        viewDidLoad();
    }
    return view_;
}

void UIViewController::setView(std::shared_ptr<UIView> view) {
    if (view_) {
        view_->setViewController({});
    }
    view_ = std::move(view);
    if (view_) {
        view_->setViewController(weakSelf<UIResponder>());
    }
}

void UIViewController::setTitle(std::string title) {
    title_ = std::move(title);
    if (navigationItem_) {
        navigationItem_->setTitle(title_);
    }
}

std::shared_ptr<UINavigationItem> UIViewController::navigationItem() const {
    if (!navigationItem_) {
        navigationItem_ = std::make_shared<UINavigationItem>();
        navigationItem_->setTitle(title_);
    }
    return navigationItem_;
}

void UIViewController::loadView() {
    auto view = UIView::initWithFrame(UIScreen::mainScreen()->bounds());
    view->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    setView(view);
}

void UIViewController::addChildViewController(const std::shared_ptr<UIViewController>& child) {
    if (!child || child.get() == this) {
        return;
    }
    child->removeFromParentViewController();
    child->willMoveToParentViewController(self<UIViewController>());
    child->parentViewController_ = weakSelf<UIViewController>();
    childViewControllers_.push_back(child);
}

void UIViewController::removeFromParentViewController() {
    auto parent = parentViewController();
    if (!parent) {
        return;
    }
    auto& siblings = parent->childViewControllers_;
    // The child lives through the call even when the parent held the last reference.
    auto keepAlive = self<UIViewController>();
    std::erase_if(siblings, [this](const auto& c) { return c.get() == this; });
    parentViewController_.reset();
    didMoveToParentViewController(nullptr);
}

std::vector<std::shared_ptr<UIViewController>>
UIViewController::visibleChildViewControllers() const {
    std::vector<std::shared_ptr<UIViewController>> visible;
    for (const auto& child : childViewControllers_) {
        if (view_ && child->isViewLoaded() && child->view_->isDescendantOfView(view_.get())) {
            visible.push_back(child);
        }
    }
    return visible;
}

void UIViewController::rootViewDidMoveToWindow(bool inWindow) {
    // Containers (and windows, presentations) make their own appearance calls; only a
    // plain screen's children follow their views.
    auto parent = parentViewController();
    if (!parent || parent->isContainer()) {
        return;
    }
    if (inWindow && parent->isAppeared()) {
        beginAppearanceTransition(true, false);
        endAppearanceTransition();
    } else if (!inWindow && isAppeared()) {
        beginAppearanceTransition(false, false);
        endAppearanceTransition();
    }
}

std::shared_ptr<UINavigationController> UIViewController::navigationController() const {
    for (auto parent = parentViewController(); parent; parent = parent->parentViewController()) {
        if (auto navigation = std::dynamic_pointer_cast<UINavigationController>(parent)) {
            return navigation;
        }
    }
    return nullptr;
}

std::shared_ptr<UIResponder> UIViewController::nextResponder() const {
    if (view_ && view_->superview()) {
        return view_->superview();
    }
    return parentViewController();
}

void UIViewController::beginAppearanceTransition(bool isAppearing, bool animated) {
    if (isAppearing) {
        if (appearance_ == Appearance::Appeared || appearance_ == Appearance::Appearing) {
            return;
        }
        appearance_ = Appearance::Appearing;
        appearanceAnimated_ = animated;
        view();
        viewWillAppear(animated);
    } else {
        if (appearance_ == Appearance::Disappeared || appearance_ == Appearance::Disappearing) {
            return;
        }
        appearance_ = Appearance::Disappearing;
        appearanceAnimated_ = animated;
        viewWillDisappear(animated);
    }
    for (const auto& child : visibleChildViewControllers()) {
        child->beginAppearanceTransition(isAppearing, animated);
    }
}

void UIViewController::notifyWillRotate(UIInterfaceOrientation orientation, double duration) {
    // A screen covered by a full-screen presentation is out of the window: it takes the
    // window's size when it shows again, and only what is on show hears of the turn.
    if (isViewLoaded() && view_->window()) {
        willRotateToInterfaceOrientationDuration(orientation, duration);
        for (const auto& child : visibleChildViewControllers()) {
            child->notifyWillRotate(orientation, duration);
        }
    }
    if (presentedViewController_) {
        presentedViewController_->notifyWillRotate(orientation, duration);
    }
}

void UIViewController::notifyDidRotate(UIInterfaceOrientation fromOrientation) {
    if (isViewLoaded() && view_->window()) {
        didRotateFromInterfaceOrientation(fromOrientation);
        for (const auto& child : visibleChildViewControllers()) {
            child->notifyDidRotate(fromOrientation);
        }
    }
    if (presentedViewController_) {
        presentedViewController_->notifyDidRotate(fromOrientation);
    }
}

void UIViewController::endAppearanceTransition() {
    if (appearance_ == Appearance::Appearing) {
        appearance_ = Appearance::Appeared;
        if (logsAsScreen()) {
            EventLog::record("screen", className());
        }
        viewDidAppear(appearanceAnimated_);
    } else if (appearance_ == Appearance::Disappearing) {
        appearance_ = Appearance::Disappeared;
        viewDidDisappear(appearanceAnimated_);
    } else {
        return;
    }
    for (const auto& child : visibleChildViewControllers()) {
        child->endAppearanceTransition();
    }
}

void UIViewController::afterTransition(bool animated, std::function<void()> step) {
    if (animated) {
        NSRunLoop::mainRunLoop().addTimer(kTransitionDuration, std::move(step));
    } else {
        step();
    }
}

void UIViewController::presentViewControllerAnimatedCompletion(
    std::shared_ptr<UIViewController> controller, bool animated, std::function<void()> completion) {
    if (!controller) {
        return;
    }
    // A child presents through its outermost container, whose view is the window's.
    if (auto parent = parentViewController()) {
        parent->presentViewControllerAnimatedCompletion(std::move(controller), animated,
                                                        std::move(completion));
        return;
    }
    auto window = view_ ? view_->window() : nullptr;
    if (presentedViewController_ || !window || controller->presentingViewController()) {
        NSLog("Warning: Attempt to present %@ on %@ whose view is not in the window hierarchy "
              "or which is already presenting",
              controller->className(), className());
        return;
    }
    presentedViewController_ = controller;
    controller->presentingViewController_ = weakSelf<UIViewController>();

    auto presented = controller->view();
    presented->setFrame(window->bounds());
    window->addSubview(presented);
    bool coversPresenter =
        controller->modalPresentationStyle() == UIModalPresentationStyle::FullScreen;
    controller->beginAppearanceTransition(true, animated);
    if (coversPresenter) {
        beginAppearanceTransition(false, animated);
    }
    auto self = this->self<UIViewController>();
    afterTransition(animated, [self, controller, coversPresenter, completion] {
        if (coversPresenter && self->presentedViewController_ == controller) {
            self->view_->removeFromSuperview();
            self->endAppearanceTransition();
        }
        controller->endAppearanceTransition();
        if (completion) {
            completion();
        }
    });
}

void UIViewController::dismissViewControllerAnimatedCompletion(bool animated,
                                                               std::function<void()> completion) {
    if (presentedViewController_) {
        finishDismissal(animated, std::move(completion));
    } else if (auto presenting = presentingViewController()) {
        presenting->finishDismissal(animated, std::move(completion));
    } else if (auto parent = parentViewController()) {
        parent->dismissViewControllerAnimatedCompletion(animated, std::move(completion));
    } else if (completion) {
        completion();
    }
}

void UIViewController::finishDismissal(bool animated, std::function<void()> completion) {
    auto controller = presentedViewController_;
    // Whatever the dismissed controller itself presents goes with it.
    if (controller->presentedViewController_) {
        controller->finishDismissal(false, nullptr);
    }
    auto window = controller->view()->window();
    bool coversPresenter =
        controller->modalPresentationStyle() == UIModalPresentationStyle::FullScreen;
    if (coversPresenter && window) {
        // The presenter returns under the controller that covered it.
        window->insertSubviewBelowSubview(view(), controller->view());
        view_->setFrame(window->bounds());
        beginAppearanceTransition(true, animated);
    }
    controller->beginAppearanceTransition(false, animated);
    presentedViewController_.reset();
    controller->presentingViewController_.reset();
    auto self = this->self<UIViewController>();
    afterTransition(animated, [self, controller, coversPresenter, completion] {
        controller->view()->removeFromSuperview();
        controller->endAppearanceTransition();
        if (coversPresenter) {
            self->endAppearanceTransition();
        }
        if (completion) {
            completion();
        }
    });
}
