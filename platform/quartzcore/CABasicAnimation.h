// An animation of one key path from a value to a value.
#pragma once

#include "platform/quartzcore/CAAnimation.h"
#include "platform/quartzcore/CAValue.h"

#include <optional>

class CABasicAnimation : public CAAnimation {
    NS_OBJECT(CABasicAnimation)
public:
    static std::shared_ptr<CABasicAnimation> animationWithKeyPath(std::string keyPath);

    const std::string& keyPath() const { return keyPath_; }
    const std::optional<CAValue>& fromValue() const { return fromValue_; }
    void setFromValue(CAValue value) { fromValue_ = value; }
    const std::optional<CAValue>& toValue() const { return toValue_; }
    void setToValue(CAValue value) { toValue_ = value; }
    const std::optional<CAValue>& byValue() const { return byValue_; }
    void setByValue(CAValue value) { byValue_ = value; }

private:
    std::string keyPath_;
    std::optional<CAValue> fromValue_;
    std::optional<CAValue> toValue_;
    std::optional<CAValue> byValue_;
};
