// What an animation tells its delegate. Both methods are optional.
#pragma once

#include <memory>

class CAAnimation;

class CAAnimationDelegate {
public:
    virtual ~CAAnimationDelegate() = default;
    virtual void animationDidStart(const std::shared_ptr<CAAnimation>& animation) {}
    virtual void animationDidStop(const std::shared_ptr<CAAnimation>& animation, bool finished) {}
};
