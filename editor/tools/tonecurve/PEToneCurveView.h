// The tone curve's grid: a 4 x 4 grid with the curve through five control points drawn
// over it (the editor's parametric spline through the points, level beyond the first and
// the last). The points are views of their own, laid in the grid's superview above it,
// each dragged by one finger; they keep their left-to-right order, at least 0.05 apart
// in x, inside the unit square.
#pragma once

#include "editor/tools/tonecurve/PEToneCurveGridDelegate.h"
#include "platform/coreimage/CIVector.h"
#include "platform/uikit/UIView.h"

#include <array>
#include <memory>

class PEControlPoint;
class UIColor;

class PEToneCurveView : public UIView {
    NS_OBJECT(PEToneCurveView)
public:
    static constexpr size_t kPointCount = 5;

    // Adds itself to `superview` at `frame`, then its five points (above it, in the
    // superview) on the diagonal.
    static std::shared_ptr<PEToneCurveView>
    initWithSuperviewFrame(const std::shared_ptr<UIView>& superview, const CGRect& frame);
    static std::shared_ptr<PEToneCurveView> alloc();

    // A new 30-point control point with its pan recogniser, laid over this view's frame in
    // its superview.
    std::shared_ptr<PEControlPoint> controlPoint();
    // The points back on the diagonal: (0, 0), (0.25, 0.25) ... (1, 1); the delegate hears.
    void resetPoints();
    // Moves one point to `point` (unit coordinates, y down, as a finger reads the grid),
    // kept 0.05 in x from its neighbours and inside the square; other indices are ignored.
    void setControlPointAtIndex(const CGPoint& point, long index);
    // Unit coordinates (y up, clamped to the square) to this view's own.
    CGPoint convertControlPointToViewPoint(const CIVectorPtr& point) const;
    // A point's drag: the point follows the finger from where it stood; the delegate hears
    // on every step when continuous, else when the finger lifts.
    void panControlPoint(UIGestureRecognizer& recognizer);

    // The points take touches with the grid, or not.
    void setUserInteractionEnabled(bool enabled) override;

    const std::array<std::shared_ptr<PEControlPoint>, kPointCount>& controlPoints() const {
        return controlPoints_;
    }
    // The vector of point i, i from 0 to 4.
    CIVectorPtr pointAt(size_t index) const;

    // Sets every point's colour.
    void setPointColor(const std::shared_ptr<UIColor>& color);
    // The colour setters do not redraw by themselves.
    std::shared_ptr<UIColor> gridColor() const { return gridColor_; }
    void setGridColor(std::shared_ptr<UIColor> color) { gridColor_ = std::move(color); }
    std::shared_ptr<UIColor> lineColor() const { return lineColor_; }
    void setLineColor(std::shared_ptr<UIColor> color) { lineColor_ = std::move(color); }
    bool continuous() const { return continuous_; }
    void setContinuous(bool continuous) { continuous_ = continuous; }
    std::shared_ptr<PEToneCurveGridDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<PEToneCurveGridDelegate> delegate) {
        delegate_ = std::move(delegate);
    }

    void drawRect(const CGRect& rect) override;

protected:
    PEToneCurveView() = default;

private:
    void notifyDelegate();

    std::array<std::shared_ptr<PEControlPoint>, kPointCount> controlPoints_;
    bool continuous_ = false;
    std::weak_ptr<PEToneCurveGridDelegate> delegate_;
    std::shared_ptr<UIColor> gridColor_;
    std::shared_ptr<UIColor> lineColor_;
    // Where the dragged point stood when its drag began, in this view's coordinates.
    CGPoint dragStart_{};
};
