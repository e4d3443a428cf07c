#include "platform/graphics/NSValue.h"

#include <cstdio>

std::shared_ptr<NSValue> NSValue::valueWithCGAffineTransform(const CGAffineTransform& transform) {
    return make<NSValue>(transform);
}

std::string NSValue::description() const {
    char text[160];
    std::snprintf(text, sizeof text, "CGAffineTransform: {{%g, %g, %g, %g}, {%g, %g}}",
                  transform_.a, transform_.b, transform_.c, transform_.d, transform_.tx,
                  transform_.ty);
    return text;
}

bool NSValue::isEqual(const NSObject& other) const {
    const auto* value = dynamic_cast<const NSValue*>(&other);
    return value && value->transform_ == transform_;
}
