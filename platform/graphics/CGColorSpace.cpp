#include "platform/graphics/CGColorSpace.h"

CGColorSpaceRef CGColorSpaceCreateDeviceRGB() {
    static const auto space =
        std::make_shared<const CGColorSpace>(CGColorSpace{CGColorSpace::Model::RGB});
    return space;
}

CGColorSpaceRef CGColorSpaceCreateDeviceGray() {
    static const auto space =
        std::make_shared<const CGColorSpace>(CGColorSpace{CGColorSpace::Model::Gray});
    return space;
}
