#include "editor/tools/tonecurve/PEToneCurveView.h"

#include "editor/spline/PESplineInterpolator.h"
#include "editor/tools/tonecurve/PEControlPoint.h"
#include "platform/graphics/CGContext.h"
#include "platform/uikit/UIBezierPath.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/WeakAction.h"

#include <algorithm>
#include <vector>

namespace {
constexpr double kPointSide = 30;
// The least distance in x between neighbouring points.
constexpr double kMinimumGap = 0.05;
// Samples of the curve between the first and the last point.
constexpr int kCurveSamples = 100;
} // namespace

std::shared_ptr<PEToneCurveView>
PEToneCurveView::initWithSuperviewFrame(const std::shared_ptr<UIView>& superview,
                                        const CGRect& frame) {
    auto view = make<PEToneCurveView>();
    view->setFrame(frame);
    if (superview) {
        superview->addSubview(view);
    }
    for (auto& point : view->controlPoints_) {
        point = view->controlPoint();
    }
    view->resetPoints();
    return view;
}

std::shared_ptr<PEToneCurveView> PEToneCurveView::alloc() {
    return initWithSuperviewFrame(nullptr, CGRectZero);
}

std::shared_ptr<PEControlPoint> PEToneCurveView::controlPoint() {
    auto point = PEControlPoint::initWithFrame(CGRectMake(0, 0, kPointSide, kPointSide));
    point->setBackgroundColor(UIColor::clearColor());
    point->setLayoutFrame(frame());
    auto pan = UIPanGestureRecognizer::initWithTargetAction(
        weakSelf<PEToneCurveView>(),
        weakAction(self<PEToneCurveView>(), &PEToneCurveView::panControlPoint));
    // A point follows one finger; a second one touching it is not a drag.
    pan->setMaximumNumberOfTouches(1);
    point->addGestureRecognizer(pan);
    if (auto superview = this->superview()) {
        superview->addSubview(point);
    }
    return point;
}

void PEToneCurveView::resetPoints() {
    for (size_t i = 0; i < kPointCount; ++i) {
        const double value = static_cast<double>(i) / (kPointCount - 1);
        controlPoints_[i]->setControlPoint(CIVector::vectorWithXY(value, value));
    }
    setNeedsDisplay();
    notifyDelegate();
}

void PEToneCurveView::setControlPointAtIndex(const CGPoint& point, long index) {
    if (index < 0 || index >= static_cast<long>(kPointCount)) {
        return;
    }
    const size_t i = static_cast<size_t>(index);
    const double lo = i == 0 ? 0 : controlPoints_[i - 1]->controlPoint()->X() + kMinimumGap;
    const double hi =
        i + 1 == kPointCount ? 1 : controlPoints_[i + 1]->controlPoint()->X() - kMinimumGap;
    const double x = std::max(lo, std::min(point.x, hi));
    const double y = std::max(0.0, std::min(1 - point.y, 1.0));
    controlPoints_[i]->setControlPoint(CIVector::vectorWithXY(x, y));
}

CGPoint PEToneCurveView::convertControlPointToViewPoint(const CIVectorPtr& point) const {
    const CGSize size = frame().size;
    return CGPointMake(std::clamp(point->X(), 0.0, 1.0) * size.width,
                       (1 - std::clamp(point->Y(), 0.0, 1.0)) * size.height);
}

void PEToneCurveView::panControlPoint(UIGestureRecognizer& recognizer) {
    const auto found = std::find(controlPoints_.begin(), controlPoints_.end(), recognizer.view());
    if (found == controlPoints_.end()) {
        return;
    }
    const auto& point = *found;
    if (recognizer.state() == UIGestureRecognizerState::Began) {
        // The point's own place, not the finger's: a pan begins only after some travel,
        // and the point moves by the finger's whole travel from there, so it stays under
        // the finger wherever the finger took it.
        dragStart_ = convertControlPointToViewPoint(point->controlPoint());
    }
    const CGPoint t = static_cast<UIPanGestureRecognizer&>(recognizer).translationInView(this);
    const CGSize size = frame().size;
    if (size.width <= 0 || size.height <= 0) {
        return;
    }
    setControlPointAtIndex(CGPointMake((dragStart_.x + t.x) / size.width,
                                       (dragStart_.y + t.y) / size.height),
                           found - controlPoints_.begin());
    setNeedsDisplay();
    if (continuous_ || recognizer.state() == UIGestureRecognizerState::Ended) {
        notifyDelegate();
    }
}

void PEToneCurveView::setUserInteractionEnabled(bool enabled) {
    UIView::setUserInteractionEnabled(enabled);
    for (const auto& point : controlPoints_) {
        point->setUserInteractionEnabled(enabled);
    }
}

CIVectorPtr PEToneCurveView::pointAt(size_t index) const {
    return index < kPointCount ? controlPoints_[index]->controlPoint() : nullptr;
}

void PEToneCurveView::setPointColor(const std::shared_ptr<UIColor>& color) {
    for (const auto& point : controlPoints_) {
        point->setBgColor(color);
    }
}

void PEToneCurveView::notifyDelegate() {
    if (auto delegate = this->delegate()) {
        delegate->toneCurveDidChange(*this);
    }
}

void PEToneCurveView::drawRect(const CGRect&) {
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) {
        return;
    }
    const CGRect b = bounds();
    if (gridColor_) {
        const double x0 = b.origin.x + 1, y0 = b.origin.y + 1;
        const double w = b.size.width - 2, h = b.size.height - 2;
        CGContextBeginPath(context);
        for (int k = 0; k <= 4; ++k) {
            CGContextMoveToPoint(context, x0 + k * w / 4, y0);
            CGContextAddLineToPoint(context, x0 + k * w / 4, y0 + h);
        }
        for (int k = 0; k <= 4; ++k) {
            CGContextMoveToPoint(context, x0, y0 + k * h / 4);
            CGContextAddLineToPoint(context, x0 + w, y0 + k * h / 4);
        }
        CGContextSetStrokeColorWithColor(context, gridColor_->cgColor());
        CGContextSetLineWidth(context, 1);
        CGContextStrokePath(context);
    }
    if (!lineColor_) {
        return;
    }
    std::vector<CIVectorPtr> points;
    for (const auto& point : controlPoints_) {
        points.push_back(point->controlPoint());
    }
    const auto spline = PESplineInterpolator::initWithPoints(points);
    auto path = UIBezierPath::bezierPath();
    path->setLineWidth(1);
    path->moveToPoint(convertControlPointToViewPoint(CIVector::vectorWithXY(0, points.front()->Y())));
    for (int i = 0; i < kCurveSamples; ++i) {
        path->addLineToPoint(
            convertControlPointToViewPoint(spline->interpolatedPoint(i / double(kCurveSamples - 1))));
    }
    path->addLineToPoint(convertControlPointToViewPoint(CIVector::vectorWithXY(1, points.back()->Y())));
    CGContextSaveGState(context);
    CGContextSetStrokeColorWithColor(context, lineColor_->cgColor());
    path->stroke();
    CGContextRestoreGState(context);
}
