// One draggable point of the tone curve: a 30-point view, drawn as a dot a third of its
// size, whose centre stands for a point of the unit square (x right, y up) laid over the
// grid's frame.
#pragma once

#include "platform/coreimage/CIVector.h"
#include "platform/uikit/UIView.h"

#include <memory>

class UIColor;

class PEControlPoint : public UIView {
    NS_OBJECT(PEControlPoint)
public:
    static std::shared_ptr<PEControlPoint> initWithFrame(const CGRect& frame);
    static std::shared_ptr<PEControlPoint> alloc() { return initWithFrame(CGRectZero); }

    CIVectorPtr controlPoint() const { return controlPoint_; }
    // A different vector than the one held moves the centre to it in the layout frame; the
    // same vector again does nothing.
    void setControlPoint(CIVectorPtr point);
    std::shared_ptr<UIColor> bgColor() const { return bgColor_; }
    // Redraws.
    void setBgColor(std::shared_ptr<UIColor> color);
    // The grid's frame in the common superview's coordinates.
    CGRect layoutFrame() const { return layoutFrame_; }
    void setLayoutFrame(const CGRect& frame) { layoutFrame_ = frame; }

    void drawRect(const CGRect& rect) override;

protected:
    PEControlPoint() = default;

private:
    CIVectorPtr controlPoint_;
    std::shared_ptr<UIColor> bgColor_;
    CGRect layoutFrame_{};
};
