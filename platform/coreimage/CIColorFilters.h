// The filters that change each pixel's colour on its own: tone curves, inversion, sepia,
// hue, highlights and shadows, posterize, the five-point tone curve, colour controls,
// exposure and gamma. Their output extent is their input's.
#pragma once

#include "platform/coreimage/CIFilterDefinition.h"

#include <vector>

std::vector<CIFilterDefinition> colorFilterDefinitions();
