#include "app/categories/UIView+UIViewx.h"

#include "platform/foundation/NSString.h"
#include "platform/uikit/UILongPressGestureRecognizer.h"
#include "platform/uikit/UITapGestureRecognizer.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIViewAnimation.h"

namespace UIViewx {

namespace {
CGRect frameOf(const UIView& view) {
    return view.frame();
}

bool inRange(const UIView& view, int index) {
    return index >= 0 && static_cast<size_t>(index) < view.subviews().size();
}
} // namespace

void offset(UIView& view, const CGPoint& delta) {
    CGRect frame = frameOf(view);
    frame.origin.x += delta.x;
    frame.origin.y += delta.y;
    view.setFrame(frame);
}

void setPosition(UIView& view, const CGPoint& origin) {
    CGRect frame = frameOf(view);
    frame.origin = origin;
    view.setFrame(frame);
}

void setSize(UIView& view, const CGSize& size) {
    CGRect frame = frameOf(view);
    frame.size = size;
    view.setFrame(frame);
}

CGPoint postion(const UIView& view) {
    return frameOf(view).origin;
}

CGSize size(const UIView& view) {
    return frameOf(view).size;
}

CGPoint boundsCenter(const UIView& view) {
    CGRect bounds = view.bounds();
    return CGPointMake(bounds.size.width * 0.5, bounds.size.height * 0.5);
}

float left(const UIView& view) {
    return static_cast<float>(frameOf(view).origin.x);
}
float top(const UIView& view) {
    return static_cast<float>(frameOf(view).origin.y);
}
float width(const UIView& view) {
    return static_cast<float>(frameOf(view).size.width);
}
float height(const UIView& view) {
    return static_cast<float>(frameOf(view).size.height);
}
float right(const UIView& view) {
    return left(view) + width(view);
}
float bottom(const UIView& view) {
    return top(view) + height(view);
}

void setLeft(UIView& view, float value) {
    CGRect frame = frameOf(view);
    frame.origin.x = value;
    view.setFrame(frame);
}

void setTop(UIView& view, float value) {
    CGRect frame = frameOf(view);
    frame.origin.y = value;
    view.setFrame(frame);
}

void setRight(UIView& view, float value) {
    setLeft(view, value - width(view));
}

void setBottom(UIView& view, float value) {
    setTop(view, value - height(view));
}

void setWidth(UIView& view, float value) {
    CGRect frame = frameOf(view);
    frame.size.width = value;
    view.setFrame(frame);
}

void setHeight(UIView& view, float value) {
    CGRect frame = frameOf(view);
    frame.size.height = value;
    view.setFrame(frame);
}

void clearSubviews(UIView& view) {
    auto subviews = view.subviews();
    for (const auto& subview : subviews) {
        subview->removeFromSuperview();
    }
}

std::shared_ptr<UIView> viewAtIndex(const UIView& view, int index) {
    return inRange(view, index) ? view.subviews()[static_cast<size_t>(index)] : nullptr;
}

void removeViewAtIndex(UIView& view, int index) {
    if (auto subview = viewAtIndex(view, index)) {
        subview->removeFromSuperview();
    }
}

void replaceViewAtIndex(UIView& view, const std::shared_ptr<UIView>& replacement, int index) {
    auto old = viewAtIndex(view, index);
    if (!old || !replacement) {
        return;
    }
    replacement->setFrame(old->frame());
    old->removeFromSuperview();
    view.insertSubviewAtIndex(replacement, index);
}

int indexOfView(const UIView& view, const UIView* subview) {
    const auto& subviews = view.subviews();
    for (size_t i = 0; i < subviews.size(); ++i) {
        if (subviews[i].get() == subview) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool pointInsideFrame(const UIView& view, const CGPoint& point) {
    return view.pointInsideWithEvent(CGPointMake(point.x - left(view), point.y - top(view)),
                                     nullptr);
}

namespace {
template <class Recognizer>
std::shared_ptr<Recognizer> addRecognizer(UIView& view, std::weak_ptr<NSObject> target,
                                          std::function<void(UIGestureRecognizer&)> action) {
    auto recognizer = Recognizer::initWithTargetAction(std::move(target), std::move(action));
    view.addGestureRecognizer(recognizer);
    return recognizer;
}
} // namespace

std::shared_ptr<UITapGestureRecognizer>
addTapGestureRecognizerForAction(UIView& view, std::weak_ptr<NSObject> target,
                                 std::function<void(UIGestureRecognizer&)> action) {
    return addRecognizer<UITapGestureRecognizer>(view, std::move(target), std::move(action));
}

std::shared_ptr<UILongPressGestureRecognizer>
addLongPressGestureRecognizerForAction(UIView& view, std::weak_ptr<NSObject> target,
                                       std::function<void(UIGestureRecognizer&)> action) {
    return addRecognizer<UILongPressGestureRecognizer>(view, std::move(target), std::move(action));
}

void transitionToAddSubviewDuration(UIView& view, const std::shared_ptr<UIView>& subview,
                                    double duration) {
    if (!subview) {
        return;
    }
    view.addSubview(subview);
    subview->setAlpha(0.0);
    UIViewAnimation::animateWithDurationDelayOptionsAnimationsCompletion(
        duration, 0, 0, [&] { subview->setAlpha(1.0); }, nullptr);
}

void transitionToRemoveFromSuperview(const std::shared_ptr<UIView>& view, double duration) {
    if (!view) {
        return;
    }
    UIViewAnimation::animateWithDurationDelayOptionsAnimationsCompletion(
        duration, 0, 0, [&] { view->setAlpha(0.0); },
        [view](bool) {
            view->setAlpha(1.0);
            view->removeFromSuperview();
        });
}

std::string recursiveDescription(const UIView& view) {
    return recursiveDescription(view, "");
}

std::string recursiveDescription(const UIView& view, const std::string& prefix) {
    std::string text = NSString::stringWithFormat("%@%@\n", prefix, view.description());
    for (const auto& subview : view.subviews()) {
        text += recursiveDescription(*subview, prefix + "  |");
    }
    return text;
}

void layoutSubviewsInCenter(UIView& view) {
    float total = 0;
    for (const auto& subview : view.subviews()) {
        if (!subview->isHidden()) {
            total += width(*subview);
        }
    }
    float x = (width(view) - total) * 0.5f;
    float centerY = height(view) * 0.5f;
    for (const auto& subview : view.subviews()) {
        if (subview->isHidden()) {
            continue;
        }
        float w = width(*subview);
        subview->setCenter(CGPointMake(x + w * 0.5f, centerY));
        x += w;
    }
}

} // namespace UIViewx
