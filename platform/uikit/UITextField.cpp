#include "platform/uikit/UITextField.h"

#include "platform/uikit/NSStringDrawing.h"
#include "platform/uikit/TextEditing.h"
#include "platform/uikit/UIGraphics.h"

namespace {
constexpr double kDefaultFontSize = 17;
} // namespace

UITextField::UITextField()
    : font_(UIFont::systemFontOfSize(kDefaultFontSize)), textColor_(UIColor::blackColor()) {
    setOpaque(false);
}

std::shared_ptr<UITextField> UITextField::initWithFrame(const CGRect& frame) {
    auto field = make<UITextField>();
    field->setFrame(frame);
    return field;
}

void UITextField::setText(std::string text) {
    text_ = std::move(text);
    setNeedsDisplay();
}

void UITextField::setPlaceholder(std::string placeholder) {
    placeholder_ = std::move(placeholder);
    setNeedsDisplay();
}

void UITextField::setFont(std::shared_ptr<UIFont> font) {
    font_ = font ? std::move(font) : UIFont::systemFontOfSize(kDefaultFontSize);
    setNeedsDisplay();
}

void UITextField::setTextColor(std::shared_ptr<UIColor> color) {
    textColor_ = color ? std::move(color) : UIColor::blackColor();
    setNeedsDisplay();
}

void UITextField::setTextAlignment(NSTextAlignment alignment) {
    textAlignment_ = alignment;
    setNeedsDisplay();
}

// Editing

bool UITextField::becomeFirstResponder() {
    if (isFirstResponder()) {
        return true;
    }
    if (!canBecomeFirstResponder()) {
        return false;
    }
    const auto keepAlive = self<UITextField>();
    if (const auto delegate = delegate_.lock();
        delegate && !delegate->textFieldShouldBeginEditing(*this)) {
        return false;
    }
    if (!UIControl::becomeFirstResponder()) {
        return false;
    }
    editing_ = true;
    setNeedsDisplay();
    if (const auto delegate = delegate_.lock()) {
        delegate->textFieldDidBeginEditing(*this);
    }
    sendActionsForControlEvents(UIControlEventEditingDidBegin);
    return true;
}

bool UITextField::resignFirstResponder() {
    if (!isFirstResponder()) {
        return true;
    }
    if (const auto delegate = delegate_.lock();
        delegate && !delegate->textFieldShouldEndEditing(*this)) {
        return false;
    }
    return UIControl::resignFirstResponder();
}

void UITextField::didResignFirstResponder() {
    if (!editing_) {
        return;
    }
    const auto keepAlive = self<UITextField>();
    editing_ = false;
    setNeedsDisplay();
    if (const auto delegate = delegate_.lock()) {
        delegate->textFieldDidEndEditing(*this);
    }
    sendActionsForControlEvents(UIControlEventEditingDidEnd);
}

void UITextField::endTrackingWithTouchWithEvent(const UITouch* touch, const UIEvent* event) {
    if (touch && isTouchInside()) {
        becomeFirstResponder();
    }
}

void UITextField::insertText(const std::string& text) {
    if (text == "\n") {
        const auto keepAlive = self<UITextField>();
        const auto delegate = delegate_.lock();
        if (!delegate || delegate->textFieldShouldReturn(*this)) {
            sendActionsForControlEvents(UIControlEventEditingDidEndOnExit);
        }
        return;
    }
    replaceCharactersInRange(NSMakeRange(text_.size(), 0), text);
}

void UITextField::deleteBackward() {
    if (!text_.empty()) {
        replaceCharactersInRange(TextEditing::lastCharacterRange(text_), "");
    }
}

void UITextField::replaceCharactersInRange(NSRange range, const std::string& replacement) {
    const auto keepAlive = self<UITextField>();
    if (const auto delegate = delegate_.lock();
        delegate && !delegate->textFieldShouldChangeCharactersInRangeReplacementString(
                        *this, range, replacement)) {
        return;
    }
    text_.replace(range.location, range.length, replacement);
    setNeedsDisplay();
    sendActionsForControlEvents(UIControlEventEditingChanged);
}

// Drawing

NSTextAttributes UITextField::textAttributes(const std::shared_ptr<UIColor>& color) const {
    auto style = std::make_shared<NSParagraphStyle>();
    style->setAlignment(textAlignment_);
    style->setLineBreakMode(NSLineBreakMode::ByClipping);
    NSTextAttributes attributes;
    attributes.font = font_;
    attributes.foregroundColor = color;
    attributes.paragraphStyle = std::move(style);
    return attributes;
}

void UITextField::drawRect(const CGRect& rect) {
    const CGRect area = bounds();
    const double lineHeight = font_->lineHeight();
    const double top = (area.size.height - lineHeight) / 2;
    const bool showsPlaceholder = text_.empty();
    const std::string& shown = showsPlaceholder ? placeholder_ : text_;
    const auto attributes =
        textAttributes(showsPlaceholder ? UIColor::colorWithWhiteAlpha(0.7, 1) : textColor_);
    NSStringDrawing::drawInRectWithAttributes(
        shown, CGRectMake(0, top, area.size.width, lineHeight), attributes);
    if (!editing_) {
        return;
    }
    // The caret follows the typed text: after it, wherever the alignment puts it.
    const double width =
        showsPlaceholder ? 0 : NSStringDrawing::sizeWithAttributes(text_, attributes).width;
    double x = width;
    if (textAlignment_ == NSTextAlignment::Center) {
        x = (area.size.width + width) / 2;
    } else if (textAlignment_ == NSTextAlignment::Right) {
        x = area.size.width - TextEditing::kCaretWidth;
    }
    TextEditing::drawCaret(CGRectMake(x, top, TextEditing::kCaretWidth, lineHeight));
}

CGSize UITextField::sizeThatFits(const CGSize&) const {
    const auto attributes = textAttributes(textColor_);
    const double width =
        std::max(NSStringDrawing::sizeWithAttributes(text_, attributes).width,
                 NSStringDrawing::sizeWithAttributes(placeholder_, attributes).width);
    return CGSizeMake(width + TextEditing::kCaretWidth, font_->lineHeight());
}

std::string UITextField::accessibilityLabel() const {
    const std::string label = UIControl::accessibilityLabel();
    if (!label.empty()) {
        return label;
    }
    return text_.empty() ? placeholder_ : text_;
}

std::string UITextField::description() const {
    std::string text = UIControl::description();
    text.insert(text.size() - 1, "; text = '" + text_ + "'");
    return text;
}
