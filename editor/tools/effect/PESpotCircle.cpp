#include "editor/tools/effect/PESpotCircle.h"

#include "platform/graphics/CGContext.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"

namespace {
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
    fade_.showThenFade(*this);
}

void PESpotCircle::drawRect(const CGRect&) {
    auto context = UIGraphicsGetCurrentContext();
    if (!context || !color_) {
        return;
    }
    CGContextSetStrokeColorWithColor(context, color_->cgColor());
    CGContextStrokeEllipseInRect(context, CGRectInset(bounds(), kRingInset, kRingInset));
}
