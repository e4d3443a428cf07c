// A boxed geometry value, as filters and animations take transforms among their other
// parameters. Only the affine transform is boxed: it is the one value the system boxes.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/graphics/CGAffineTransform.h"

#include <memory>

class NSValue : public NSObject {
    NS_OBJECT(NSValue)
public:
    static std::shared_ptr<NSValue> valueWithCGAffineTransform(const CGAffineTransform& transform);

    CGAffineTransform CGAffineTransformValue() const { return transform_; }

    std::string description() const override;
    bool isEqual(const NSObject& other) const override;

private:
    explicit NSValue(const CGAffineTransform& transform) : transform_(transform) {}
    CGAffineTransform transform_;
};
