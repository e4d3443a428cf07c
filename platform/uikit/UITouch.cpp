#include "platform/uikit/UITouch.h"

#include "platform/uikit/UIGestureRecognizer.h"
#include "platform/uikit/UIWindow.h"

std::shared_ptr<UITouch>
UITouch::initWithWindowLocationTimestamp(const std::shared_ptr<UIWindow>& window,
                                         const CGPoint& location, double timestamp) {
    auto touch = std::make_shared<UITouch>();
    touch->window_ = window;
    touch->location_ = touch->previousLocation_ = touch->startLocation_ = location;
    touch->timestamp_ = timestamp;
    return touch;
}

void UITouch::setPhaseLocationTimestamp(UITouchPhase phase, const CGPoint& location,
                                        double timestamp) {
    previousLocation_ = location_;
    if (phase != UITouchPhase::Stationary) {
        location_ = location;
    }
    phase_ = phase;
    timestamp_ = timestamp;
}

CGPoint UITouch::convertFromWindow(const CGPoint& point, const UIView* view) const {
    if (!view) {
        return point;
    }
    const auto window = window_.lock();
    return view->convertPointFromView(point, window.get());
}

CGPoint UITouch::locationInView(const UIView* view) const {
    return convertFromWindow(location_, view);
}

CGPoint UITouch::previousLocationInView(const UIView* view) const {
    return convertFromWindow(previousLocation_, view);
}

std::vector<std::shared_ptr<UIGestureRecognizer>> UITouch::gestureRecognizers() const {
    std::vector<std::shared_ptr<UIGestureRecognizer>> recognizers;
    for (const auto& weak : gestureRecognizers_) {
        if (auto recognizer = weak.lock()) {
            recognizers.push_back(std::move(recognizer));
        }
    }
    return recognizers;
}
