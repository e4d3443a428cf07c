// A transition of a layer's whole content (fade, push, move in, reveal), from a side.
#pragma once

#include "platform/quartzcore/CAAnimation.h"

inline constexpr const char* kCATransitionFade = "fade";
inline constexpr const char* kCATransitionMoveIn = "moveIn";
inline constexpr const char* kCATransitionPush = "push";
inline constexpr const char* kCATransitionReveal = "reveal";
inline constexpr const char* kCATransitionFromRight = "fromRight";
inline constexpr const char* kCATransitionFromLeft = "fromLeft";
inline constexpr const char* kCATransitionFromTop = "fromTop";
inline constexpr const char* kCATransitionFromBottom = "fromBottom";

class CATransition : public CAAnimation {
    NS_OBJECT(CATransition)
public:
    static std::shared_ptr<CATransition> animation() { return std::make_shared<CATransition>(); }
    const std::string& type() const { return type_; }
    void setType(std::string type) { type_ = std::move(type); }
    const std::string& subtype() const { return subtype_; }
    void setSubtype(std::string subtype) { subtype_ = std::move(subtype); }

private:
    std::string type_ = kCATransitionFade;
    std::string subtype_;
};
