#include "platform/uikit/UILabel.h"

#include "platform/text/TextFontMap.h"
#include "platform/text/TextLayout.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIScreen.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kDefaultFontSize = 17;

double ceilToPixels(double points, double scale) {
    return std::ceil(points * scale) / scale;
}

} // namespace

UILabel::UILabel()
    : font_(UIFont::systemFontOfSize(kDefaultFontSize)), textColor_(UIColor::blackColor()) {
    setUserInteractionEnabled(false);
}

std::shared_ptr<UILabel> UILabel::initWithFrame(const CGRect& frame) {
    auto label = make<UILabel>();
    label->setFrame(frame);
    return label;
}

void UILabel::setText(std::string text) {
    text_ = std::move(text);
    setNeedsDisplay();
}

void UILabel::setFont(std::shared_ptr<UIFont> font) {
    font_ = font ? std::move(font) : UIFont::systemFontOfSize(kDefaultFontSize);
    setNeedsDisplay();
}

void UILabel::setTextColor(std::shared_ptr<UIColor> color) {
    textColor_ = color ? std::move(color) : UIColor::blackColor();
    setNeedsDisplay();
}

void UILabel::setTextAlignment(NSTextAlignment alignment) {
    textAlignment_ = alignment;
    setNeedsDisplay();
}

void UILabel::setNumberOfLines(long lines) {
    numberOfLines_ = std::max(lines, 0L);
    setNeedsDisplay();
}

void UILabel::setLineBreakMode(NSLineBreakMode mode) {
    lineBreakMode_ = mode;
    setNeedsDisplay();
}

void UILabel::setAdjustsFontSizeToFitWidth(bool adjusts) {
    adjustsFontSizeToFitWidth_ = adjusts;
    setNeedsDisplay();
}

void UILabel::setMinimumScaleFactor(double factor) {
    minimumScaleFactor_ = std::isfinite(factor) ? std::clamp(factor, 0.0, 1.0) : 0;
    setNeedsDisplay();
}

void UILabel::setMinimumFontSize(double size) {
    minimumFontSize_ = size > 0 ? size : 0;
    setNeedsDisplay();
}

NSTextAttributes UILabel::textAttributes(std::shared_ptr<UIFont> font) const {
    auto style = std::make_shared<NSParagraphStyle>();
    style->setAlignment(textAlignment_);
    style->setLineBreakMode(lineBreakMode_);
    NSTextAttributes attributes;
    attributes.font = std::move(font);
    attributes.foregroundColor = textColor_;
    attributes.paragraphStyle = std::move(style);
    return attributes;
}

CGSize UILabel::sizeThatFits(const CGSize& size) const {
    if (text_.empty()) {
        return CGSizeZero;
    }
    const auto lock = TextFontMap::shared().lock();
    const TextLayout layout(text_, textAttributes(font_).textStyle(),
                            {size.width, 0, numberOfLines_}, TextLayout::Truncation::LastLine);
    const double scale = UIScreen::mainScreen()->scale();
    return CGSizeMake(ceilToPixels(layout.size().width, scale),
                      ceilToPixels(layout.size().height, scale));
}

std::shared_ptr<UIFont> UILabel::fontFitting(const CGSize& area) const {
    const double size = font_->pointSize();
    const double smallest = std::max(minimumScaleFactor_ * size, minimumFontSize_);
    const double width = area.width;
    if (!adjustsFontSizeToFitWidth_ || !(width > 0) || smallest <= 0 || smallest >= size) {
        return font_;
    }
    const auto lock = TextFontMap::shared().lock();
    if (numberOfLines_ != 1) {
        // Several lines: the largest size, found by halving, at which the text wrapped in
        // the width is no taller than the area.
        const auto fits = [&](double candidate) {
            return TextLayout(text_, textAttributes(font_->fontWithSize(candidate)).textStyle(),
                              {width, 0, 0}, TextLayout::Truncation::LastLine)
                       .size()
                       .height <= area.height;
        };
        if (!(area.height > 0) || fits(size)) {
            return font_;
        }
        double low = smallest;
        double high = size;
        for (int step = 0; step < 12; ++step) {
            const double middle = (low + high) / 2;
            (fits(middle) ? low : high) = middle;
        }
        return font_->fontWithSize(low);
    }
    const auto widthAt = [&](const std::shared_ptr<UIFont>& font) {
        return TextLayout(text_, textAttributes(font).textStyle(), {},
                          TextLayout::Truncation::EachParagraph)
            .size()
            .width;
    };
    auto font = font_;
    // Unhinted text widths grow in proportion to the size, so one proportional step lands
    // on the size that fits; the others only make up for pango's rounding.
    for (int step = 0; step < 4; ++step) {
        const double textWidth = widthAt(font);
        if (textWidth <= width || font->pointSize() <= smallest) {
            break;
        }
        font = font_->fontWithSize(std::max(smallest, font->pointSize() * width / textWidth));
    }
    return font;
}

void UILabel::drawTextInRect(const CGRect& rect) {
    const CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context || text_.empty()) {
        return;
    }
    const CGRect area = CGRectStandardize(rect);
    const auto lock = TextFontMap::shared().lock();
    const TextLayout layout(text_, textAttributes(fontFitting(area.size)).textStyle(),
                            {area.size.width, area.size.height, numberOfLines_},
                            TextLayout::Truncation::LastLine, context);
    const double top = area.origin.y + (area.size.height - layout.size().height) / 2;
    layout.drawAtPoint(CGPointMake(area.origin.x, top));
}

void UILabel::drawRect(const CGRect& rect) {
    drawTextInRect(rect);
}

std::string UILabel::description() const {
    std::string text = UIView::description();
    if (!text_.empty()) {
        text.insert(text.size() - 1, "; text = '" + text_ + "'");
    }
    return text;
}

std::string UILabel::accessibilityLabel() const {
    std::string label = UIView::accessibilityLabel();
    return label.empty() ? text_ : label;
}
