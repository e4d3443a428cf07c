#include "platform/quartzcore/CALayer.h"

#include "platform/base/NSRunLoop.h"
#include "platform/graphics/CGContext.h"
#include "platform/quartzcore/CAAnimation.h"

void CALayer::setTransform(const CATransform3D& transform) {
    transform_ = transform;
    if (transformObserver_) {
        transformObserver_(transform);
    }
}

void CALayer::addSublayer(const std::shared_ptr<CALayer>& layer) {
    if (!layer || layer.get() == this) {
        return;
    }
    layer->removeFromSuperlayer();
    layer->superlayer_ = self<CALayer>();
    sublayers_.push_back(layer);
}

void CALayer::removeFromSuperlayer() {
    if (auto parent = superlayer()) {
        std::erase_if(parent->sublayers_, [this](const auto& l) { return l.get() == this; });
    }
    superlayer_.reset();
}

void CALayer::addAnimationForKey(const std::shared_ptr<CAAnimation>& animation,
                                 const std::string& key) {
    if (!animation) {
        return;
    }
    // An animation under the same key replaces the running one, which stops unfinished.
    if (auto running = animationForKey(key)) {
        finishAnimation(key, running, false);
    }
    animations_[key] = animation;
    if (auto delegate = animation->delegate()) {
        delegate->animationDidStart(animation);
    }
    std::weak_ptr<CALayer> weak = self<CALayer>();
    double ends = animation->beginTimeOffset() + animation->activeDuration();
    animationTimers_[key] = NSRunLoop::mainRunLoop().addTimer(ends, [weak, key, animation] {
        if (auto layer = weak.lock()) {
            layer->animationTimers_.erase(key);
            layer->finishAnimation(key, animation, true);
        }
    });
}

std::shared_ptr<CAAnimation> CALayer::animationForKey(const std::string& key) const {
    auto found = animations_.find(key);
    return found == animations_.end() ? nullptr : found->second;
}

std::vector<std::string> CALayer::animationKeys() const {
    std::vector<std::string> keys;
    for (const auto& [key, animation] : animations_) {
        keys.push_back(key);
    }
    return keys;
}

void CALayer::removeAnimationForKey(const std::string& key) {
    if (auto animation = animationForKey(key)) {
        finishAnimation(key, animation, false);
    }
}

void CALayer::removeAllAnimations() {
    for (const auto& key : animationKeys()) {
        removeAnimationForKey(key);
    }
}

void CALayer::finishAnimation(const std::string& key, const std::shared_ptr<CAAnimation>& animation,
                              bool finished) {
    auto timer = animationTimers_.find(key);
    if (timer != animationTimers_.end()) {
        NSRunLoop::mainRunLoop().cancelTimer(timer->second);
        animationTimers_.erase(timer);
    }
    auto found = animations_.find(key);
    bool current = found != animations_.end() && found->second == animation;
    if (current && (!finished || animation->isRemovedOnCompletion())) {
        animations_.erase(found);
    }
    if (auto delegate = animation->delegate()) {
        delegate->animationDidStop(animation, finished);
    }
}

void CALayer::drawInContext(const CGContextRef& context) const {
    if (context && backgroundColor_) {
        CGContextSetFillColorWithColor(context, *backgroundColor_);
        CGContextFillRect(context, bounds());
    }
}
