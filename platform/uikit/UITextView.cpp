#include "platform/uikit/UITextView.h"

#include "platform/text/TextFontMap.h"
#include "platform/text/TextLayout.h"
#include "platform/uikit/TextEditing.h"
#include "platform/uikit/UIGraphics.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kDefaultFontSize = 12;
} // namespace

UITextView::UITextView()
    : font_(UIFont::systemFontOfSize(kDefaultFontSize)), textColor_(UIColor::blackColor()) {}

std::shared_ptr<UITextView> UITextView::initWithFrame(const CGRect& frame) {
    auto view = makeWithFrame<UITextView>(frame);
    view->updateContentSize();
    return view;
}

void UITextView::setText(std::string text) {
    text_ = std::move(text);
    selectedRange_ = NSMakeRange(text_.size(), 0);
    updateContentSize();
    setNeedsDisplay();
}

void UITextView::setFont(std::shared_ptr<UIFont> font) {
    font_ = font ? std::move(font) : UIFont::systemFontOfSize(kDefaultFontSize);
    updateContentSize();
    setNeedsDisplay();
}

void UITextView::setTextColor(std::shared_ptr<UIColor> color) {
    textColor_ = color ? std::move(color) : UIColor::blackColor();
    setNeedsDisplay();
}

void UITextView::setTextAlignment(NSTextAlignment alignment) {
    textAlignment_ = alignment;
    setNeedsDisplay();
}

void UITextView::setEditable(bool editable) {
    editable_ = editable;
    if (!editable_) {
        resignFirstResponder();
    }
}

void UITextView::setTextContainerInset(const UIEdgeInsets& insets) {
    textContainerInset_ = insets;
    updateContentSize();
    setNeedsDisplay();
}

void UITextView::setSelectedRange(NSRange range) {
    const size_t start = std::min(range.location, text_.size());
    size_t end = std::min(std::max(NSMaxRange(range), start), text_.size());
    // Whole characters: a boundary inside one moves back to its lead byte.
    const auto toBoundary = [this](size_t at) {
        while (at > 0 && at < text_.size() &&
               (static_cast<unsigned char>(text_[at]) & 0xC0) == 0x80) {
            --at;
        }
        return at;
    };
    end = toBoundary(end);
    const size_t location = toBoundary(start);
    selectedRange_ = NSMakeRange(location, end - location);
    setNeedsDisplay();
}

void UITextView::setDelegate(std::weak_ptr<UITextViewDelegate> delegate) {
    UIScrollView::setDelegate(delegate);
    textDelegate_ = std::move(delegate);
}

// Layout

NSTextAttributes UITextView::textAttributes() const {
    auto style = std::make_shared<NSParagraphStyle>();
    style->setAlignment(textAlignment_);
    style->setLineBreakMode(NSLineBreakMode::ByWordWrapping);
    NSTextAttributes attributes;
    attributes.font = font_;
    attributes.foregroundColor = textColor_;
    attributes.paragraphStyle = std::move(style);
    return attributes;
}

double UITextView::textWidth(double width) const {
    return std::max(1.0, width - textContainerInset_.left - textContainerInset_.right -
                             2 * kLineFragmentPadding);
}

CGSize UITextView::sizeThatFits(const CGSize& size) const {
    const double width = size.width > 0 ? size.width : bounds().size.width;
    const auto lock = TextFontMap::shared().lock();
    const TextLayout layout(text_, textAttributes().textStyle(), {textWidth(width), 0, 0},
                            TextLayout::Truncation::LastLine);
    // Empty text, and a line feed at the end, still take a line for the caret.
    const CGRect caret = layout.caretRectAtIndex(text_.size());
    const double height = std::max(layout.size().height, CGRectGetMaxY(caret));
    return CGSizeMake(width,
                      std::ceil(height + textContainerInset_.top + textContainerInset_.bottom));
}

void UITextView::updateContentSize() {
    setContentSize(sizeThatFits(CGSizeZero));
}

void UITextView::layoutSubviews() {
    UIScrollView::layoutSubviews();
    updateContentSize();
}

CGRect UITextView::caretRectAtIndex(size_t index) const {
    const auto lock = TextFontMap::shared().lock();
    const TextLayout layout(text_, textAttributes().textStyle(),
                            {textWidth(bounds().size.width), 0, 0},
                            TextLayout::Truncation::LastLine);
    return caretInContent(layout.caretRectAtIndex(index));
}

CGRect UITextView::caretInContent(const CGRect& caret) const {
    return CGRectMake(caret.origin.x + textContainerInset_.left + kLineFragmentPadding,
                      caret.origin.y + textContainerInset_.top, TextEditing::kCaretWidth,
                      caret.size.height);
}

void UITextView::scrollRangeToVisible(NSRange range) {
    scrollRectToVisibleAnimated(caretRectAtIndex(std::min(NSMaxRange(range), text_.size())), false);
}

void UITextView::drawRect(const CGRect& rect) {
    const CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) {
        return;
    }
    const auto lock = TextFontMap::shared().lock();
    const TextLayout layout(text_, textAttributes().textStyle(),
                            {textWidth(bounds().size.width), 0, 0},
                            TextLayout::Truncation::LastLine, context);
    layout.drawAtPoint(
        CGPointMake(textContainerInset_.left + kLineFragmentPadding, textContainerInset_.top));
    if (editing_) {
        TextEditing::drawCaret(caretInContent(layout.caretRectAtIndex(NSMaxRange(selectedRange_))));
    }
}

// Editing

bool UITextView::becomeFirstResponder() {
    if (isFirstResponder()) {
        return true;
    }
    if (!canBecomeFirstResponder()) {
        return false;
    }
    const auto keepAlive = self<UITextView>();
    if (const auto delegate = textDelegate_.lock();
        delegate && !delegate->textViewShouldBeginEditing(*this)) {
        return false;
    }
    if (!UIScrollView::becomeFirstResponder()) {
        return false;
    }
    editing_ = true;
    setNeedsDisplay();
    if (const auto delegate = textDelegate_.lock()) {
        delegate->textViewDidBeginEditing(*this);
    }
    return true;
}

bool UITextView::resignFirstResponder() {
    if (!isFirstResponder()) {
        return true;
    }
    if (const auto delegate = textDelegate_.lock();
        delegate && !delegate->textViewShouldEndEditing(*this)) {
        return false;
    }
    return UIScrollView::resignFirstResponder();
}

void UITextView::didResignFirstResponder() {
    if (!editing_) {
        return;
    }
    const auto keepAlive = self<UITextView>();
    editing_ = false;
    setNeedsDisplay();
    if (const auto delegate = textDelegate_.lock()) {
        delegate->textViewDidEndEditing(*this);
    }
}

void UITextView::touchesEndedWithEvent(const UITouchSet&, const UIEvent*) {
    becomeFirstResponder();
}

void UITextView::insertText(const std::string& text) {
    replaceCharactersInRange(selectedRange_, text);
}

void UITextView::deleteBackward() {
    if (selectedRange_.length > 0) {
        replaceCharactersInRange(selectedRange_, "");
    } else if (selectedRange_.location > 0) {
        replaceCharactersInRange(
            TextEditing::lastCharacterRange(text_.substr(0, selectedRange_.location)), "");
    }
}

void UITextView::replaceCharactersInRange(NSRange range, const std::string& replacement) {
    const auto keepAlive = self<UITextView>();
    if (const auto delegate = textDelegate_.lock();
        delegate &&
        !delegate->textViewShouldChangeTextInRangeReplacementText(*this, range, replacement)) {
        return;
    }
    text_.replace(range.location, range.length, replacement);
    selectedRange_ = NSMakeRange(range.location + replacement.size(), 0);
    updateContentSize();
    setNeedsDisplay();
    scrollRangeToVisible(selectedRange_);
    if (const auto delegate = textDelegate_.lock()) {
        delegate->textViewDidChange(*this);
    }
}

std::string UITextView::accessibilityLabel() const {
    const std::string label = UIScrollView::accessibilityLabel();
    return label.empty() ? text_ : label;
}

std::string UITextView::description() const {
    std::string text = UIScrollView::description();
    text.insert(text.size() - 1, "; text = '" + text_ + "'");
    return text;
}
