#include "platform/uikit/NSStringDrawing.h"

#include "platform/text/TextFontMap.h"
#include "platform/text/TextLayout.h"
#include "platform/uikit/UIGraphics.h"

CGSize NSStringDrawing::sizeWithAttributes(const std::string& text,
                                           const NSTextAttributes& attributes) {
    const auto lock = TextFontMap::shared().lock();
    return TextLayout(text, attributes.textStyle(), {}, TextLayout::Truncation::EachParagraph)
        .size();
}

CGRect NSStringDrawing::boundingRectWithSizeOptionsAttributes(const std::string& text,
                                                              const CGSize& size, unsigned options,
                                                              const NSTextAttributes& attributes) {
    const auto lock = TextFontMap::shared().lock();
    if (options & NSStringDrawingUsesLineFragmentOrigin) {
        const TextLayout layout(text, attributes.textStyle(), {size.width, size.height, 0},
                                TextLayout::Truncation::EachParagraph);
        return CGRect{CGPointZero, layout.size()};
    }
    const TextLayout layout(text, attributes.textStyle(), {},
                            TextLayout::Truncation::EachParagraph);
    return CGRect{CGPointMake(0, -layout.firstBaseline()), layout.size()};
}

void NSStringDrawing::drawInRectWithAttributes(const std::string& text, const CGRect& rect,
                                               const NSTextAttributes& attributes) {
    const CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) {
        return;
    }
    const CGRect area = CGRectStandardize(rect);
    const auto lock = TextFontMap::shared().lock();
    const TextLayout layout(text, attributes.textStyle(), {area.size.width, area.size.height, 0},
                            TextLayout::Truncation::EachParagraph, context);
    layout.drawAtPoint(area.origin);
}

void NSStringDrawing::drawAtPointWithAttributes(const std::string& text, const CGPoint& point,
                                                const NSTextAttributes& attributes) {
    const CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) {
        return;
    }
    const auto lock = TextFontMap::shared().lock();
    const TextLayout layout(text, attributes.textStyle(), {}, TextLayout::Truncation::EachParagraph,
                            context);
    layout.drawAtPoint(point);
}
