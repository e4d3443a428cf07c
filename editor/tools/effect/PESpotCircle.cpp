#include "editor/tools/effect/PESpotCircle.h"

#include "platform/dispatch/dispatch.h"
#include "platform/graphics/CGContext.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIViewAnimation.h"
#include "platform/uikit/WeakAction.h"

namespace {
constexpr double kFadeDelay = 1.0;
constexpr double kFadeDuration = 0.2;
constexpr double kRingInset = 1;
} // namespace

std::shared_ptr<PESpotCircle> PESpotCircle::initWithFrame(const CGRect& frame) {
    auto view = make<PESpotCircle>();
    view->setFrame(frame);
    return view;
}

void PESpotCircle::setColor(std::shared_ptr<UIColor> color) {
    color_ = std::move(color);
    setNeedsDisplay();
}

void PESpotCircle::redisplay() {
    setNeedsDisplay();
    setAlpha(1);
    // The fade waits on the clock rather than in a delayed animation, whose final alpha
    // would take effect at once: the ring is seen for the second before it fades.
    const uint64_t shown = ++shown_;
    dispatch_after(kFadeDelay, dispatch_get_main_queue(),
                   weakCall(weakSelf<PESpotCircle>(), [shown](PESpotCircle& circle) {
                       if (circle.shown_ != shown) {
                           return;
                       }
                       UIViewAnimation::animateWithDurationDelayOptionsAnimationsCompletion(
                           kFadeDuration, 0, UIViewAnimationOptionAllowUserInteraction,
                           [view = circle.self<PESpotCircle>()] { view->setAlpha(0); }, {});
                   }));
}

void PESpotCircle::drawRect(const CGRect&) {
    auto context = UIGraphicsGetCurrentContext();
    if (!context || !color_) {
        return;
    }
    CGContextSetStrokeColorWithColor(context, color_->cgColor());
    CGContextStrokeEllipseInRect(context, CGRectInset(bounds(), kRingInset, kRingInset));
}
