// An animation of one key path through a list of values (or along a path), with optional
// key times.
#pragma once

#include "platform/graphics/CGPath.h"
#include "platform/quartzcore/CAAnimation.h"
#include "platform/quartzcore/CAValue.h"

#include <string>
#include <vector>

class CAKeyframeAnimation : public CAAnimation {
    NS_OBJECT(CAKeyframeAnimation)
public:
    static std::shared_ptr<CAKeyframeAnimation> animationWithKeyPath(std::string keyPath);

    const std::string& keyPath() const { return keyPath_; }
    const std::vector<CAValue>& values() const { return values_; }
    void setValues(std::vector<CAValue> values) { values_ = std::move(values); }
    const std::vector<double>& keyTimes() const { return keyTimes_; }
    void setKeyTimes(std::vector<double> times) { keyTimes_ = std::move(times); }
    // The pacing between successive values, by timing function name
    // (kCAMediaTimingFunctionEaseInEaseOut ...).
    const std::vector<std::string>& timingFunctions() const { return timingFunctions_; }
    void setTimingFunctions(std::vector<std::string> names) { timingFunctions_ = std::move(names); }
    CGPathRef path() const { return path_; }
    void setPath(CGPathRef path) { path_ = std::move(path); }

private:
    std::string keyPath_;
    std::vector<CAValue> values_;
    std::vector<double> keyTimes_;
    std::vector<std::string> timingFunctions_;
    CGPathRef path_;
};
