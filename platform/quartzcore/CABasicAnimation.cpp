#include "platform/quartzcore/CABasicAnimation.h"

std::shared_ptr<CABasicAnimation> CABasicAnimation::animationWithKeyPath(std::string keyPath) {
    auto animation = std::make_shared<CABasicAnimation>();
    animation->keyPath_ = std::move(keyPath);
    return animation;
}
