#include "platform/coreimage/CIFilterDefinition.h"

#include "platform/coreimage/CIFilter.h"
#include "platform/coreimage/CIVector.h"
#include "platform/foundation/NSNumber.h"
#include "platform/graphics/NSValue.h"

CIFilterInputDefinition imageInput() {
    return {kCIInputImageKey, CIFilterInputKind::Image, nullptr};
}

CIFilterInputDefinition numberInput(const std::string& key, double defaultValue) {
    return {key, CIFilterInputKind::Number, NSNumber::numberWithDouble(defaultValue)};
}

CIFilterInputDefinition vectorInput(const std::string& key, double x, double y) {
    return {key, CIFilterInputKind::Vector, CIVector::vectorWithXY(x, y)};
}

CIFilterInputDefinition transformInput(const std::string& key) {
    return {key, CIFilterInputKind::Transform,
            NSValue::valueWithCGAffineTransform(CGAffineTransformIdentity)};
}
