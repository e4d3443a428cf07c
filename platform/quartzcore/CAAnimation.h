// An animation added to a layer: how long it runs and who hears when it stops. Here the
// animation is recorded, not interpolated: screenshots show the model values.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/quartzcore/CAAnimationDelegate.h"

#include <string>

inline constexpr const char* kCAMediaTimingFunctionLinear = "linear";
inline constexpr const char* kCAMediaTimingFunctionEaseIn = "easeIn";
inline constexpr const char* kCAMediaTimingFunctionEaseOut = "easeOut";
inline constexpr const char* kCAMediaTimingFunctionEaseInEaseOut = "easeInEaseOut";
inline constexpr const char* kCAFillModeRemoved = "removed";
inline constexpr const char* kCAFillModeForwards = "forwards";

class CAAnimation : public NSObject {
    NS_OBJECT(CAAnimation)
public:
    double duration() const { return duration_; }
    // The platform's default of 0 means a quarter of a second.
    double effectiveDuration() const { return duration_ > 0 ? duration_ : 0.25; }
    void setDuration(double seconds) { duration_ = seconds; }
    double beginTimeOffset() const { return beginTimeOffset_; }
    // Seconds after adding that the animation starts.
    void setBeginTimeOffset(double seconds) { beginTimeOffset_ = seconds; }
    float repeatCount() const { return repeatCount_; }
    void setRepeatCount(float count) { repeatCount_ = count; }
    bool autoreverses() const { return autoreverses_; }
    void setAutoreverses(bool value) { autoreverses_ = value; }
    // Each repetition starts where the one before ended.
    bool isCumulative() const { return cumulative_; }
    void setCumulative(bool value) { cumulative_ = value; }
    bool isRemovedOnCompletion() const { return removedOnCompletion_; }
    void setRemovedOnCompletion(bool value) { removedOnCompletion_ = value; }
    const std::string& fillMode() const { return fillMode_; }
    void setFillMode(std::string mode) { fillMode_ = std::move(mode); }
    const std::string& timingFunction() const { return timingFunction_; }
    void setTimingFunction(std::string name) { timingFunction_ = std::move(name); }
    // Held strongly, as the platform does for animation delegates.
    std::shared_ptr<CAAnimationDelegate> delegate() const { return delegate_; }
    void setDelegate(std::shared_ptr<CAAnimationDelegate> delegate) {
        delegate_ = std::move(delegate);
    }
    // Total run time: the duration times the repeats, doubled when it autoreverses.
    double activeDuration() const;

private:
    double duration_ = 0;
    double beginTimeOffset_ = 0;
    float repeatCount_ = 0;
    bool autoreverses_ = false;
    bool removedOnCompletion_ = true;
    bool cumulative_ = false;
    std::string fillMode_ = kCAFillModeRemoved;
    std::string timingFunction_ = kCAMediaTimingFunctionLinear;
    std::shared_ptr<CAAnimationDelegate> delegate_;
};
