#include "platform/quartzcore/CAKeyframeAnimation.h"

std::shared_ptr<CAKeyframeAnimation>
CAKeyframeAnimation::animationWithKeyPath(std::string keyPath) {
    auto animation = std::make_shared<CAKeyframeAnimation>();
    animation->keyPath_ = std::move(keyPath);
    return animation;
}
