#include "harness/TouchInjector.h"

#include "platform/base/Clock.h"
#include "platform/base/NSRunLoop.h"
#include "platform/foundation/NSLog.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIControl.h"
#include "platform/uikit/UIEvent.h"
#include "platform/uikit/UIWindow.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace {

struct WaitSetting {
    std::mutex mutex;
    TouchInjector::Wait wait;
};

WaitSetting& waitSetting() {
    static WaitSetting setting;
    return setting;
}

void waitFor(double seconds) {
    TouchInjector::Wait wait;
    {
        std::lock_guard lock(waitSetting().mutex);
        wait = waitSetting().wait;
    }
    if (wait) {
        wait(seconds);
    } else {
        NSRunLoop::mainRunLoop().runForSeconds(seconds);
    }
}

} // namespace

// One gesture being played: the fingers down so far and the frame to come. Each frame's
// timer owns the playback until the next is armed.
class TouchInjector::Playback : public std::enable_shared_from_this<Playback> {
public:
    Playback(TouchGesture gesture, std::shared_ptr<UIWindow> window, Completion completion)
        : gesture_(std::move(gesture)), window_(std::move(window)),
          completion_(std::move(completion)) {}

    void playNextFrame() {
        const auto& frames = gesture_.frames();
        if (next_ >= frames.size()) {
            if (completion_) {
                completion_();
            }
            return;
        }
        const TouchGesture::Frame& frame = frames[next_++];
        send(frame);
        const double delay = next_ < frames.size() ? frames[next_].time - frame.time : 0;
        NSRunLoop::mainRunLoop().addTimer(delay,
                                          [self = shared_from_this()] { self->playNextFrame(); });
    }

private:
    void send(const TouchGesture::Frame& frame) {
        const double now = Clock::current().monotonicNow();
        for (const auto& [id, touch] : touches_) {
            touch->setPhaseLocationTimestamp(UITouchPhase::Stationary, CGPointZero, now);
        }
        for (const auto& finger : frame.fingers) {
            const auto found = touches_.find(finger.id);
            if (finger.phase == UITouchPhase::Began) {
                touches_[finger.id] =
                    UITouch::initWithWindowLocationTimestamp(window_, finger.location, now);
            } else if (found != touches_.end()) {
                found->second->setPhaseLocationTimestamp(finger.phase, finger.location, now);
            }
        }
        UITouchSet all;
        for (const auto& [id, touch] : touches_) {
            all.insert(touch);
        }
        UIApplication::sharedApplication()->sendEvent(UIEvent::initWithTouchesTimestamp(all, now));
        std::erase_if(touches_, [](const auto& entry) {
            const UITouchPhase phase = entry.second->phase();
            return phase == UITouchPhase::Ended || phase == UITouchPhase::Cancelled;
        });
    }

    TouchGesture gesture_;
    std::shared_ptr<UIWindow> window_;
    Completion completion_;
    size_t next_ = 0;
    std::map<int, std::shared_ptr<UITouch>> touches_;
};

bool TouchInjector::performAsync(const TouchGesture& gesture, Completion completion) {
    auto window = UIApplication::sharedApplication()->keyWindow();
    if (!window) {
        NSLog("TouchInjector: there is no key window to touch");
        return false;
    }
    std::make_shared<Playback>(gesture, std::move(window), std::move(completion))->playNextFrame();
    return true;
}

bool TouchInjector::perform(const TouchGesture& gesture) {
    bool done = false;
    if (!performAsync(gesture, [&done] { done = true; })) {
        return false;
    }
    // Until the last frame, then in short steps for what is left.
    waitFor(gesture.duration());
    while (!done) {
        waitFor(TouchGesture::kFrameInterval);
    }
    return true;
}

void TouchInjector::setWait(Wait wait) {
    std::lock_guard lock(waitSetting().mutex);
    waitSetting().wait = std::move(wait);
}

void TouchInjector::resetForTesting() {
    setWait(nullptr);
}

bool TouchInjector::tapAt(const CGPoint& windowPoint) {
    return perform(TouchGesture::tap(windowPoint));
}

bool TouchInjector::doubleTapAt(const CGPoint& windowPoint) {
    return perform(TouchGesture::doubleTap(windowPoint));
}

bool TouchInjector::longPressAt(const CGPoint& windowPoint, double seconds) {
    return perform(TouchGesture::longPress(windowPoint, seconds));
}

bool TouchInjector::drag(const CGPoint& from, const CGPoint& to, double seconds) {
    return perform(TouchGesture::drag(from, to, seconds));
}

bool TouchInjector::pinch(const CGPoint& centre, double startDistance, double endDistance,
                          double seconds) {
    return perform(TouchGesture::pinch(centre, startDistance, endDistance, seconds));
}

bool TouchInjector::rotate(const CGPoint& centre, double radius, double radians, double seconds) {
    return perform(TouchGesture::rotate(centre, radius, radians, seconds));
}

// Finding views

namespace {
// Whether the view is shown and takes touches itself (hit testing would pass it by
// otherwise, and everything in it).
bool takesTouches(const UIView& view) {
    if (view.isHidden() || view.alpha() < 0.01 || !view.isUserInteractionEnabled()) {
        return false;
    }
    const auto* control = dynamic_cast<const UIControl*>(&view);
    return !control || control->isEnabled();
}

// The part of the view inside its window's bounds and the clipping ancestors', in window
// coordinates; null when nothing of it is.
CGRect visibleFrame(const UIView& view) {
    const auto window = view.window();
    CGRect visible = view.convertRectToView(view.bounds(), window.get());
    if (window) {
        visible = CGRectIntersection(visible, window->bounds());
    }
    for (auto ancestor = view.superview(); ancestor; ancestor = ancestor->superview()) {
        if (ancestor->clipsToBounds()) {
            visible = CGRectIntersection(
                visible, ancestor->convertRectToView(ancestor->bounds(), window.get()));
        }
    }
    return visible;
}

void collectViewsWithLabel(const std::shared_ptr<UIView>& view, const std::string& label,
                           std::vector<std::shared_ptr<UIView>>& found) {
    if (!takesTouches(*view)) {
        return;
    }
    if (view->accessibilityLabel() == label && !CGRectIsEmpty(visibleFrame(*view))) {
        found.push_back(view);
    }
    for (const auto& subview : view->subviews()) {
        collectViewsWithLabel(subview, label, found);
    }
}
} // namespace

std::vector<std::shared_ptr<UIView>>
TouchInjector::viewsWithLabel(const std::shared_ptr<UIWindow>& window, const std::string& label) {
    std::vector<std::shared_ptr<UIView>> found;
    if (!window) {
        return found;
    }
    // What a user sees has been laid out: pending layout runs before looking.
    window->layoutIfNeeded();
    collectViewsWithLabel(window, label, found);
    // A view covered by another (an alert over a screen) cannot be touched: a finger at
    // its tap point would land on what lies on top.
    std::erase_if(found, [&](const std::shared_ptr<UIView>& view) {
        auto hit = window->hitTestWithEvent(tapPointOfView(*view), nullptr);
        return !hit || !(hit == view || hit->isDescendantOfView(view.get()));
    });
    return found;
}

CGPoint TouchInjector::tapPointOfView(const UIView& view) {
    CGRect visible = visibleFrame(view);
    if (CGRectIsNull(visible)) {
        visible = view.convertRectToView(view.bounds(), view.window().get());
    }
    return CGPointMake(CGRectGetMidX(visible), CGRectGetMidY(visible));
}
