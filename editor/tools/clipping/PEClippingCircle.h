// A corner handle of the crop grid: a 75-point square, clear but for a dot a third of its
// size in the middle, that a finger drags to move its corner.
#pragma once

#include "platform/uikit/UIView.h"

#include <memory>

class UIColor;

class PEClippingCircle : public UIView {
    NS_OBJECT(PEClippingCircle)
public:
    static std::shared_ptr<PEClippingCircle> initWithFrame(const CGRect& frame);
    static std::shared_ptr<PEClippingCircle> alloc() { return initWithFrame(CGRectZero); }

    // The dot's colour; redraws.
    std::shared_ptr<UIColor> bgColor() const { return bgColor_; }
    void setBgColor(std::shared_ptr<UIColor> color);

    void drawRect(const CGRect& rect) override;

protected:
    PEClippingCircle() = default;

private:
    std::shared_ptr<UIColor> bgColor_;
};
