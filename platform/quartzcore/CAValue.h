// A value an animation moves between: a number, a point, a rectangle, a transform or a
// colour.
#pragma once

#include "platform/graphics/CGAffineTransform.h"
#include "platform/graphics/CGColor.h"
#include "platform/graphics/CGGeometry.h"

#include <variant>

using CAValue = std::variant<double, CGPoint, CGSize, CGRect, CGAffineTransform, CGColor>;
