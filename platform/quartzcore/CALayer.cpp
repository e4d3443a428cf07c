#include "platform/quartzcore/CALayer.h"

#include "platform/base/ClassRegistry.h"
#include "platform/base/NSRunLoop.h"
#include "platform/graphics/CGContext.h"
#include "platform/quartzcore/CAAnimation.h"
#include "platform/quartzcore/CABasicAnimation.h"
#include "platform/quartzcore/CAKeyframeAnimation.h"

#include <algorithm>

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
    if (repaintsFor(*animation)) {
        setNeedsDisplay();
    }
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
        // The last frame is the model's again.
        if (repaintsFor(*animation)) {
            setNeedsDisplay();
        }
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

bool CALayer::needsDisplayForKey(const std::string&) const {
    return false;
}

void CALayer::initWithLayer(const CALayer& layer) {
    frame_ = layer.frame_;
    transform_ = layer.transform_;
    cornerRadius_ = layer.cornerRadius_;
    masksToBounds_ = layer.masksToBounds_;
    borderWidth_ = layer.borderWidth_;
    borderColor_ = layer.borderColor_;
    backgroundColor_ = layer.backgroundColor_;
    opacity_ = layer.opacity_;
    hidden_ = layer.hidden_;
    shadowColor_ = layer.shadowColor_;
    shadowOpacity_ = layer.shadowOpacity_;
    shadowOffset_ = layer.shadowOffset_;
    shadowRadius_ = layer.shadowRadius_;
    shadowPath_ = layer.shadowPath_;
}

bool CALayer::repaintsFor(const CAAnimation& animation) const {
    if (const auto* basic = dynamic_cast<const CABasicAnimation*>(&animation)) {
        return needsDisplayForKey(basic->keyPath());
    }
    if (const auto* keyframe = dynamic_cast<const CAKeyframeAnimation*>(&animation)) {
        return needsDisplayForKey(keyframe->keyPath());
    }
    return false;
}

std::shared_ptr<const CALayer> CALayer::presentationLayer() const {
    auto self = this->self<CALayer>();
    const bool animating =
        std::any_of(animations_.begin(), animations_.end(),
                    [this](const auto& entry) { return repaintsFor(*entry.second); });
    if (!animating) {
        return self;
    }
    // A class the registry does not know shows itself, as it could not be copied.
    const Class* cls = ClassRegistry::shared().classNamed(className());
    auto copy = std::dynamic_pointer_cast<CALayer>(cls ? cls->alloc() : nullptr);
    if (!copy) {
        return self;
    }
    copy->initWithLayer(*this);
    return copy;
}
