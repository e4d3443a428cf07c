#include "editor/tools/blur/PEBlurOutline.h"

#include "platform/uikit/UIView.h"
#include "platform/uikit/UIViewAnimation.h"

namespace PEBlurOutline {

void showAndFade(UIView& outline) {
    outline.setNeedsDisplay();
    outline.setAlpha(1);
    UIViewAnimation::animateWithDurationDelayOptionsAnimationsCompletion(
        0.2, 1.0, UIViewAnimationOptionAllowUserInteraction,
        [view = outline.self<UIView>()] { view->setAlpha(0); }, [](bool) {});
}

} // namespace PEBlurOutline
