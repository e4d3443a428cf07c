// The slider tools lay over the editor screen: a slider inset 10 points in a container of
// its height, black at 30 % with fully rounded ends, added to a view of the screen. The
// tool then places the container (the slider's superview) and adds its action.
#pragma once

#include "platform/graphics/CGGeometry.h"

#include <memory>

class UISlider;
class UIView;

namespace PEToolSlider {
// A slider of `sliderSize` at (10, 0) in a container `containerWidth` wide added to
// `parent`, reporting while dragged when `continuous`, else once the finger lifts; its
// bounds and value set in that order (maximum, minimum, value). Main thread.
std::shared_ptr<UISlider> sliderInContainer(UIView& parent, CGSize sliderSize,
                                            double containerWidth, bool continuous, float value,
                                            float minimum, float maximum);

// Turns the slider's container upright (a quarter back, the minimum at the bottom) and
// centres it at `x`, 150 points above the top of `below`'s container.
void placeUprightAbove(UISlider& slider, double x, const UISlider& below);
} // namespace PEToolSlider
