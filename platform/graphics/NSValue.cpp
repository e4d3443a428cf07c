#include "platform/graphics/NSValue.h"

#include <cstdio>

namespace {
constexpr const char* kTransformType = "CGAffineTransform";
} // namespace

std::shared_ptr<NSValue> NSValue::valueWithCGAffineTransform(const CGAffineTransform& transform) {
    return valueWithBytesObjCType(transform, kTransformType);
}

CGAffineTransform NSValue::CGAffineTransformValue() const {
    CGAffineTransform transform = CGAffineTransformIdentity;
    getValueOfType(&transform, kTransformType);
    return transform;
}

std::string NSValue::description() const {
    CGAffineTransform t;
    if (!getValueOfType(&t, kTransformType)) {
        return "<NSValue " + objCType_ + ", " + std::to_string(bytes_.size()) + " bytes>";
    }
    char text[160];
    std::snprintf(text, sizeof text, "CGAffineTransform: {{%g, %g, %g, %g}, {%g, %g}}", t.a, t.b,
                  t.c, t.d, t.tx, t.ty);
    return text;
}

bool NSValue::isEqual(const NSObject& other) const {
    const auto* value = dynamic_cast<const NSValue*>(&other);
    return value && value->objCType_ == objCType_ && value->bytes_ == bytes_;
}
