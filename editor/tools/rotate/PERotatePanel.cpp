#include "editor/tools/rotate/PERotatePanel.h"

#include "platform/graphics/CGContext.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"

std::shared_ptr<PERotatePanel> PERotatePanel::initWithSuperviewFrame(const std::shared_ptr<UIView>& superview,
                                                                     const CGRect& frame) {
    auto panel = make<PERotatePanel>();
    panel->gridRect_ = frame;
    if (superview) {
        panel->setFrame(superview->bounds());
        superview->addSubview(panel);
    }
    return panel;
}

std::shared_ptr<PERotatePanel> PERotatePanel::alloc() {
    return initWithSuperviewFrame(nullptr, CGRectZero);
}

void PERotatePanel::setGridRect(const CGRect& rect) {
    gridRect_ = rect;
    setNeedsDisplay();
}

void PERotatePanel::drawRect(const CGRect&) {
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context || !gridColor_) {
        return;
    }
    CGContextSetStrokeColorWithColor(context, gridColor_->cgColor());
    CGContextSetLineWidth(context, 1);
    CGContextAddRect(context, gridRect_);
    CGContextStrokePath(context);
}
