#include "editor/tools/text/PETextLabel.h"

#include "platform/graphics/CGContext.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"

std::shared_ptr<PETextLabel> PETextLabel::initWithFrame(const CGRect& frame) {
    auto label = make<PETextLabel>();
    label->setFrame(frame);
    return label;
}

void PETextLabel::setOutlineColor(std::shared_ptr<UIColor> color) {
    if (color != outlineColor_) {
        outlineColor_ = std::move(color);
        setNeedsDisplay();
    }
}

void PETextLabel::setOutlineWidth(double width) {
    if (width != outlineWidth_) {
        outlineWidth_ = width;
        setNeedsDisplay();
    }
}

void PETextLabel::drawTextInRect(const CGRect& rect) {
    const CGContextRef context = UIGraphicsGetCurrentContext();
    const double lineWidth = outlineWidth_ * font()->pointSize() * 0.3;
    const double inset = lineWidth * 0.25;
    const CGRect inner = CGRectInset(rect, inset, inset);
    const auto fillColor = textColor();

    CGContextSetLineWidth(context, lineWidth);
    CGContextSetLineJoin(context, kCGLineJoinRound);
    CGContextSetTextDrawingMode(context, kCGTextStroke);
    setTextColor(outlineColor_);
    UILabel::drawTextInRect(inner);

    CGContextSetTextDrawingMode(context, kCGTextFill);
    setTextColor(fillColor);
    UILabel::drawTextInRect(inner);
}
