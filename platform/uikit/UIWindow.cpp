#include "platform/uikit/UIWindow.h"

#include "platform/base/Clock.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIEvent.h"
#include "platform/uikit/UIGestureRecognizer.h"
#include "platform/uikit/UITouch.h"
#include "platform/uikit/UIViewController.h"

#include <algorithm>
#include <cmath>

std::shared_ptr<UIWindow> UIWindow::initWithFrame(const CGRect& frame) {
    auto window = make<UIWindow>();
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

std::shared_ptr<UIResponder> UIWindow::nextResponder() const {
    return UIApplication::sharedApplication();
}

// Touch delivery

namespace {
bool isLifting(const UITouch& touch) {
    return touch.phase() == UITouchPhase::Ended || touch.phase() == UITouchPhase::Cancelled;
}

CGFloat distanceBetween(const CGPoint& a, const CGPoint& b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

bool touchHasRecognizer(const UITouch& touch, const UIGestureRecognizer* recognizer) {
    const auto recognizers = touch.gestureRecognizers();
    return std::any_of(recognizers.begin(), recognizers.end(),
                       [recognizer](const auto& mine) { return mine.get() == recognizer; });
}
} // namespace

void UIWindow::sendEvent(const std::shared_ptr<UIEvent>& event) {
    if (!event) {
        return;
    }
    const auto keepAlive = self<UIWindow>();
    std::vector<std::shared_ptr<UITouch>> touches;
    for (const auto& touch : event->allTouches()) {
        if (touch->window().get() == this) {
            touches.push_back(touch);
        }
    }
    for (const auto& touch : touches) {
        if (touch->viewDelivery_ == UITouch::ViewDelivery::New) {
            beginTouch(*touch, *event);
        }
    }

    std::vector<std::shared_ptr<UIGestureRecognizer>> recognizers;
    for (const auto& touch : touches) {
        for (auto& recognizer : touch->gestureRecognizers()) {
            if (std::find(recognizers.begin(), recognizers.end(), recognizer) ==
                recognizers.end()) {
                recognizers.push_back(std::move(recognizer));
            }
        }
    }
    for (const auto& recognizer : recognizers) {
        std::vector<std::shared_ptr<UITouch>> itsTouches;
        for (const auto& touch : touches) {
            if (touch->phase() != UITouchPhase::Stationary &&
                touchHasRecognizer(*touch, recognizer.get())) {
                itsTouches.push_back(touch);
            }
        }
        recognizer->deliverTouchesWithEvent(itsTouches, event.get());
    }

    deliverToViews(touches, event.get());
    for (const auto& touch : touches) {
        if (touch->phase() == UITouchPhase::Ended) {
            rememberTap(*touch);
        }
    }
}

void UIWindow::beginTouch(UITouch& touch, const UIEvent& event) {
    const CGPoint location = touch.locationInView(nullptr);
    const bool repeats =
        lastTapLocation_ && event.timestamp() - lastTapTime_ <= UITouch::kMultipleTapInterval &&
        distanceBetween(location, *lastTapLocation_) <= UITouch::kTapMovementAllowance;
    touch.tapCount_ = repeats ? lastTapCount_ + 1 : 1;
    touch.viewDelivery_ = UITouch::ViewDelivery::Pending;

    const auto view = hitTestWithEvent(location, &event);
    touch.view_ = view;
    for (auto ancestor = view; ancestor; ancestor = ancestor->superview()) {
        for (const auto& recognizer : ancestor->gestureRecognizers()) {
            if (recognizer->isEnabled() && recognizer->acceptsTouch(touch)) {
                touch.gestureRecognizers_.push_back(recognizer);
            }
        }
    }
}

void UIWindow::rememberTap(const UITouch& touch) {
    const CGPoint location = touch.locationInView(nullptr);
    if (distanceBetween(location, touch.startLocation_) > UITouch::kTapMovementAllowance) {
        lastTapLocation_.reset();
        return;
    }
    lastTapLocation_ = location;
    lastTapTime_ = touch.timestamp();
    lastTapCount_ = touch.tapCount();
}

bool UIWindow::isHeldByRecognizer(const UITouch& touch) {
    const auto recognizers = touch.gestureRecognizers();
    return std::any_of(recognizers.begin(), recognizers.end(), [](const auto& recognizer) {
        return recognizer->view() && recognizer->isEnabled() && recognizer->delaysTouchesBegan() &&
               recognizer->state() == UIGestureRecognizerState::Possible;
    });
}

void UIWindow::addViewTouch(ViewTouches& groups, const std::shared_ptr<UITouch>& touch) {
    const auto view = touch->view();
    const auto found = std::find_if(groups.begin(), groups.end(),
                                    [&view](const auto& group) { return group.first == view; });
    if (found != groups.end()) {
        found->second.insert(touch);
    } else {
        groups.push_back({view, {touch}});
    }
}

void UIWindow::deliverToViews(const std::vector<std::shared_ptr<UITouch>>& touches,
                              const UIEvent* event) {
    using Delivery = UITouch::ViewDelivery;
    ViewTouches began, moved, ended, cancelled;
    for (const auto& touch : touches) {
        if (!touch->view()) {
            touch->viewDelivery_ = Delivery::Finished;
        }
        if (touch->viewDelivery_ == Delivery::Finished) {
            continue;
        }
        if (touch->viewDelivery_ != Delivery::Delivering) {
            if (!isLifting(*touch) && isHeldByRecognizer(*touch)) {
                continue;
            }
            addViewTouch(began, touch);
            touch->viewDelivery_ = Delivery::Delivering;
        }
        switch (touch->phase()) {
        case UITouchPhase::Moved:
            addViewTouch(moved, touch);
            break;
        case UITouchPhase::Ended:
            addViewTouch(ended, touch);
            touch->viewDelivery_ = Delivery::Finished;
            break;
        case UITouchPhase::Cancelled:
            addViewTouch(cancelled, touch);
            touch->viewDelivery_ = Delivery::Finished;
            break;
        case UITouchPhase::Began:
        case UITouchPhase::Stationary:
            break;
        }
    }
    for (const auto& [view, set] : began) {
        view->touchesBeganWithEvent(set, event);
    }
    for (const auto& [view, set] : moved) {
        view->touchesMovedWithEvent(set, event);
    }
    for (const auto& [view, set] : ended) {
        view->touchesEndedWithEvent(set, event);
    }
    for (const auto& [view, set] : cancelled) {
        view->touchesCancelledWithEvent(set, event);
    }
}

void UIWindow::cancelTouchesInView(const std::vector<std::shared_ptr<UITouch>>& touches) {
    using Delivery = UITouch::ViewDelivery;
    ViewTouches cancelled;
    for (const auto& touch : touches) {
        // A view that never had touchesBegan is told nothing.
        if (touch->viewDelivery_ == Delivery::Delivering && touch->view()) {
            addViewTouch(cancelled, touch);
        }
        touch->viewDelivery_ = Delivery::Finished;
    }
    for (const auto& [view, set] : cancelled) {
        const auto event = UIEvent::initWithTouchesTimestamp(set, Clock::current().monotonicNow());
        view->touchesCancelledWithEvent(set, event.get());
    }
}
