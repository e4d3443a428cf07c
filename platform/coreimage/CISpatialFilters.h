// The filters that look beyond each pixel: the vignette (by position), bloom and gloom
// (by neighbourhood), pixellate and the affine transform. Output extents:
//   vignette            the input's;
//   bloom, gloom        the input's grown by the radius (rounded up) on every side, since
//                       the blur spreads that far;
//   pixellate           the input's grown to whole blocks of the grid aligned to the centre;
//   affine transform    the smallest whole-pixel rectangle holding the transformed extent.
// A filter whose output extent would be too large for a picture gives no output (logged).
#pragma once

#include "platform/coreimage/CIFilterDefinition.h"

#include <vector>

std::vector<CIFilterDefinition> spatialFilterDefinitions();
