// The slider tools lay over the editor screen: a slider inset 10 points in a container of
// its height, black at 30 % with fully rounded ends, added to the editor's view. The
// tool then places the container (the slider's superview) and adds its action.
#pragma once

#include "platform/graphics/CGGeometry.h"

#include <memory>

class PEImageToolHost;
class UISlider;

namespace PEToolSlider {
// A slider of `sliderSize` at (10, 0) in a container `containerWidth` wide, reporting
// while dragged when `continuous`, else once the finger lifts; its bounds and value set
// in that order (maximum, minimum, value). Main thread.
std::shared_ptr<UISlider> sliderInContainer(PEImageToolHost& editor, CGSize sliderSize,
                                            double containerWidth, bool continuous, float value,
                                            float minimum, float maximum);
} // namespace PEToolSlider
