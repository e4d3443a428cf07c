#include "editor/PEOutlineFade.h"

#include "platform/dispatch/dispatch.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIViewAnimation.h"
#include "platform/uikit/WeakAction.h"

namespace {
constexpr double kFadeDelay = 1.0;
constexpr double kFadeDuration = 0.2;
} // namespace

void PEOutlineFade::showThenFade(UIView& view) {
    view.setNeedsDisplay();
    view.setAlpha(1);
    const uint64_t shown = ++*shown_;
    dispatch_after(kFadeDelay, dispatch_get_main_queue(),
                   weakCall(view.weakSelf<UIView>(), [counter = shown_, shown](UIView& outline) {
                       if (*counter != shown) {
                           return;
                       }
                       UIViewAnimation::animateWithDurationDelayOptionsAnimationsCompletion(
                           kFadeDuration, 0, UIViewAnimationOptionAllowUserInteraction,
                           [faded = outline.self<UIView>()] { faded->setAlpha(0); }, {});
                   }));
}
