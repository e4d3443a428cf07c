#include "editor/tools/clipping/PEClippingPanel.h"

#include "editor/tools/clipping/PEClippingCircle.h"
#include "editor/tools/clipping/PEGridLayar.h"
#include "editor/tools/clipping/PERatio.h"
#include "platform/quartzcore/CABasicAnimation.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/UIViewAnimation.h"
#include "platform/uikit/WeakAction.h"

#include <algorithm>

namespace {
constexpr double kCircleSide = 75;
constexpr double kAnimationDuration = 0.2;
// A corner stops this share of the panel before the opposite edge.
constexpr double kMargin = 0.1;

// What a drag of the whole rectangle measures from: whether it began inside the rectangle,
// and the rectangle then. Drags run on the main thread, one at a time.
bool gridDragBeganInside = false;
CGRect gridDragStartRect = CGRectZero;

// Limited to the upper end, then to the lower one: the lower end wins when they cross.
double limited(double value, double lower, double upper) {
    return std::max(std::min(value, upper), lower);
}
} // namespace

std::shared_ptr<PEClippingPanel>
PEClippingPanel::initWithSuperviewFrame(const std::shared_ptr<UIView>& superview,
                                        const CGRect& frame) {
    auto panel = make<PEClippingPanel>();
    panel->setFrame(frame);
    if (superview) {
        superview->addSubview(panel);
    }
    panel->gridLayer_ = PEGridLayar::layer();
    panel->gridLayer_->setFrame(panel->bounds());
    panel->gridLayer_->setBgColor(UIColor::colorWithWhiteAlpha(1, 0.6));
    panel->gridLayer_->setGridColor(UIColor::colorWithWhiteAlpha(0, 0.6));
    panel->layer()->addSublayer(panel->gridLayer_);
    for (long tag = 0; tag < 4; ++tag) {
        panel->circles_[static_cast<size_t>(tag)] = panel->clippingCircleWithTag(tag);
    }
    panel->addGestureRecognizer(UIPanGestureRecognizer::initWithTargetAction(
        panel->weakSelf<PEClippingPanel>(),
        weakAction(panel->self<PEClippingPanel>(), &PEClippingPanel::panGridView)));
    panel->setClippingRect(panel->bounds());
    return panel;
}

std::shared_ptr<PEClippingPanel> PEClippingPanel::alloc() {
    return initWithSuperviewFrame(nullptr, CGRectZero);
}

std::shared_ptr<PEClippingCircle> PEClippingPanel::clippingCircleWithTag(long tag) {
    auto circle = PEClippingCircle::initWithFrame(CGRectMake(0, 0, kCircleSide, kCircleSide));
    circle->setBackgroundColor(UIColor::clearColor());
    circle->setBgColor(UIColor::blackColor());
    circle->setTag(tag);
    circle->addGestureRecognizer(UIPanGestureRecognizer::initWithTargetAction(
        weakSelf<PEClippingPanel>(),
        weakAction(self<PEClippingPanel>(), &PEClippingPanel::panCircleView)));
    if (auto parent = superview()) {
        parent->addSubview(circle);
    }
    return circle;
}

void PEClippingPanel::didMoveToSuperview() {
    if (superview()) {
        return;
    }
    for (const auto& circle : circles_) {
        if (circle) {
            circle->removeFromSuperview();
        }
    }
}

void PEClippingPanel::placeCircles(const CGRect& rect) {
    auto parent = superview();
    const CGPoint corners[4] = {
        CGPointMake(CGRectGetMinX(rect), CGRectGetMinY(rect)),
        CGPointMake(CGRectGetMinX(rect), CGRectGetMaxY(rect)),
        CGPointMake(CGRectGetMaxX(rect), CGRectGetMinY(rect)),
        CGPointMake(CGRectGetMaxX(rect), CGRectGetMaxY(rect)),
    };
    for (size_t i = 0; i < circles_.size(); ++i) {
        if (circles_[i]) {
            circles_[i]->setCenter(parent ? convertPointToView(corners[i], parent.get())
                                          : corners[i]);
        }
    }
}

void PEClippingPanel::setClippingRect(const CGRect& rect) {
    clippingRect_ = rect;
    placeCircles(rect);
    gridLayer_->setClippingRect(rect);
    setNeedsDisplay();
}

void PEClippingPanel::setClippingRectAnimated(const CGRect& rect, bool animated) {
    if (!animated) {
        setClippingRect(rect);
        return;
    }
    UIViewAnimation::animateWithDurationDelayOptionsAnimationsCompletion(
        kAnimationDuration, 0, 0, [this, rect] { placeCircles(rect); }, nullptr);
    auto animation = CABasicAnimation::animationWithKeyPath("clippingRect");
    animation->setDuration(kAnimationDuration);
    animation->setFromValue(clippingRect_);
    animation->setToValue(rect);
    gridLayer_->addAnimationForKey(animation, "clippingRect");
    gridLayer_->setClippingRect(rect);
    clippingRect_ = rect;
    setNeedsDisplay();
}

void PEClippingPanel::setClippingRatio(std::shared_ptr<PERatio> ratio) {
    if (ratio == clippingRatio_) {
        return;
    }
    clippingRatio_ = std::move(ratio);
    clippingRatioDidChange();
}

CGRect PEClippingPanel::rectFittingRatio(double ratio, CGSize size) {
    const double W = size.width, H = size.height;
    if (ratio <= 0) {
        return CGRectMake(0, 0, W, H);
    }
    const double h = W * ratio;
    const CGSize fitted = h > H ? CGSizeMake(W * H / h, H) : CGSizeMake(W, h);
    return CGRectMake((W - fitted.width) / 2, (H - fitted.height) / 2, fitted.width, fitted.height);
}

void PEClippingPanel::clippingRatioDidChange() {
    const double ratio = clippingRatio_ ? clippingRatio_->ratio() : 0;
    setClippingRectAnimated(rectFittingRatio(ratio, bounds().size), true);
}

void PEClippingPanel::setNeedsDisplay() {
    UIView::setNeedsDisplay();
    if (gridLayer_) {
        gridLayer_->setNeedsDisplay();
    }
}

void PEClippingPanel::setBgColor(const std::shared_ptr<UIColor>& color) {
    gridLayer_->setBgColor(color);
}

void PEClippingPanel::setGridColor(const std::shared_ptr<UIColor>& color) {
    gridLayer_->setGridColor(color);
    for (const auto& circle : circles_) {
        circle->setBgColor(color ? color->colorWithAlphaComponent(1) : nullptr);
    }
}

CGRect PEClippingPanel::rectByDraggingCorner(long tag, CGPoint location, CGPoint translation,
                                             const CGRect& rect, CGSize size, double ratio) {
    if (tag < 0 || tag > 3) {
        return rect;
    }
    const double X = rect.origin.x, Y = rect.origin.y, W = rect.size.width, H = rect.size.height;
    const double FW = size.width, FH = size.height;
    const double mx = kMargin * FW, my = kMargin * FH;
    const bool left = tag == 0 || tag == 1;
    const bool top = tag == 0 || tag == 2;

    // Each coordinate of the moving corner stays inside the panel and a margin away from
    // the fixed corner.
    double xlo = left ? 0 : std::max(X + mx, mx);
    double xhi = left ? X + W - mx : FW;
    double ylo = top ? 0 : std::max(Y + my, my);
    double yhi = top ? Y + H - my : FH;

    double x = 0, y = 0;
    if (ratio <= 0) {
        x = limited(location.x, xlo, xhi);
        y = limited(location.y, ylo, yhi);
    } else {
        // The corner slides along the diagonal through it: y = k x + b.
        const double k = (tag == 0 || tag == 3) ? ratio : -ratio;
        const double cx = left ? X : X + W;
        const double cy = top ? Y : Y + H;
        const double b = cy - k * cx;
        switch (tag) {
        case 0:
            xlo = std::max(xlo, std::max(-b / k, 0.0));
            ylo = std::max(ylo, std::max(b, 0.0));
            break;
        case 1:
            xlo = std::max(xlo, std::max((FH - b) / k, 0.0));
            yhi = std::min(yhi, std::min(b, FH));
            break;
        case 2:
            xhi = std::min(xhi, std::min(-b / k, FW));
            ylo = std::max(ylo, std::max(k * FW + b, 0.0));
            break;
        default:
            xhi = std::min(xhi, std::min((FH - b) / k, FW));
            yhi = std::min(yhi, std::min(k * FW + b, FH));
            break;
        }
        const double px = limited(location.x, xlo, xhi);
        const double py = limited(location.y, ylo, yhi);
        // The finger's travel across the diagonal decides which coordinate leads.
        const double s = translation.y - k * translation.x;
        const bool yLeads = top ? s > 0 : s < 0;
        x = yLeads ? (py - b) / k : px;
        // Where the diagonal lies inside both ranges; the derived coordinate must stay
        // there too, or the rectangle could leave the panel or fold over.
        const double fromY0 = (ylo - b) / k, fromY1 = (yhi - b) / k;
        const double lo = std::max(xlo, std::min(fromY0, fromY1));
        const double hi = std::min(xhi, std::max(fromY0, fromY1));
        if (!(lo <= hi)) {
            return rect;
        }
        x = std::clamp(x, lo, hi);
        y = k * x + b;
    }
    const CGRect moved =
        CGRectMake(left ? x : X, top ? y : Y, left ? X + W - x : x - X, top ? Y + H - y : y - Y);
    if (!(moved.size.width > 0) || !(moved.size.height > 0)) {
        return rect;
    }
    return moved;
}

void PEClippingPanel::panCircleView(UIGestureRecognizer& sender) {
    auto* pan = dynamic_cast<UIPanGestureRecognizer*>(&sender);
    auto circle = sender.view();
    if (!pan || !circle) {
        return;
    }
    const double ratio = clippingRatio_ ? clippingRatio_->ratio() : 0;
    setClippingRect(rectByDraggingCorner(circle->tag(), pan->locationInView(this),
                                         pan->translationInView(this), clippingRect_, frame().size,
                                         ratio));
}

void PEClippingPanel::panGridView(UIGestureRecognizer& sender) {
    auto* pan = dynamic_cast<UIPanGestureRecognizer*>(&sender);
    if (!pan) {
        return;
    }
    if (sender.state() == UIGestureRecognizerState::Began) {
        gridDragBeganInside = CGRectContainsPoint(clippingRect_, sender.locationInView(this));
        gridDragStartRect = clippingRect_;
        return;
    }
    if (!gridDragBeganInside) {
        return;
    }
    const CGPoint t = pan->translationInView(this);
    const CGSize size = frame().size;
    const double x = std::min(std::max(gridDragStartRect.origin.x + t.x, 0.0),
                              size.width - gridDragStartRect.size.width);
    const double y = std::min(std::max(gridDragStartRect.origin.y + t.y, 0.0),
                              size.height - gridDragStartRect.size.height);
    setClippingRect(CGRectMake(x, y, clippingRect_.size.width, clippingRect_.size.height));
}
