// The colour spaces a bitmap context can be made in: device RGB and device grey.
#pragma once

#include <memory>

struct CGColorSpace {
    enum class Model { RGB, Gray };
    Model model;
};

using CGColorSpaceRef = std::shared_ptr<const CGColorSpace>;

CGColorSpaceRef CGColorSpaceCreateDeviceRGB();
CGColorSpaceRef CGColorSpaceCreateDeviceGray();
