// An editable text of several lines that scrolls: tapped, it becomes first responder and
// the keyboard comes up; keys replace the selection (a caret at the end of the text after
// setText) and move the caret after what they typed, the return key types a line feed.
// Each change is asked of the delegate first and told after; typing scrolls the caret
// into view. The content is the text wrapped within the width less the container's
// insets and a line fragment padding on each side; its height is the content size's.
#pragma once

#include "platform/uikit/NSTextAttributes.h"
#include "platform/uikit/UIKeyInput.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UITextViewDelegate.h"

#include <memory>
#include <string>

class UITextView : public UIScrollView, public UIKeyInput {
    NS_OBJECT(UITextView)
public:
    // Space between a line's text and the container's sides.
    static constexpr double kLineFragmentPadding = 5;

    // Empty, the system font at 12 points, black, left aligned, editable, insets of 8
    // points above and below.
    static std::shared_ptr<UITextView> initWithFrame(const CGRect& frame);
    static std::shared_ptr<UITextView> alloc() { return initWithFrame(CGRectZero); }

    const std::string& text() const { return text_; }
    // Sets the text with no delegate message; the caret goes to its end.
    void setText(std::string text);
    std::shared_ptr<UIFont> font() const { return font_; }
    // Null restores the default font.
    void setFont(std::shared_ptr<UIFont> font);
    std::shared_ptr<UIColor> textColor() const { return textColor_; }
    // Null restores the default colour.
    void setTextColor(std::shared_ptr<UIColor> color);
    NSTextAlignment textAlignment() const { return textAlignment_; }
    void setTextAlignment(NSTextAlignment alignment);
    bool isEditable() const { return editable_; }
    void setEditable(bool editable);
    UIEdgeInsets textContainerInset() const { return textContainerInset_; }
    void setTextContainerInset(const UIEdgeInsets& insets);
    // Within the text and on whole characters; a range beyond it is moved to its end.
    NSRange selectedRange() const { return selectedRange_; }
    void setSelectedRange(NSRange range);
    std::shared_ptr<UITextViewDelegate> delegate() const { return textDelegate_.lock(); }
    // Also the scroll view's delegate.
    void setDelegate(std::weak_ptr<UITextViewDelegate> delegate);

    // Scrolls as little as brings the end of `range` (where a caret there stands) into view.
    void scrollRangeToVisible(NSRange range);

    bool canBecomeFirstResponder() const override { return editable_; }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;

    bool hasText() const override { return !text_.empty(); }
    void insertText(const std::string& text) override;
    void deleteBackward() override;

    void layoutSubviews() override;
    void drawRect(const CGRect& rect) override;
    // The width asked (the view's own when not positive) and the height the text needs.
    CGSize sizeThatFits(const CGSize& size) const override;
    std::string accessibilityLabel() const override;
    std::string description() const override;

    // A tap gives the view the keyboard.
    void touchesEndedWithEvent(const UITouchSet& touches, const UIEvent* event) override;

protected:
    UITextView();

    void didResignFirstResponder() override;

private:
    NSTextAttributes textAttributes() const;
    // The text's width for a view `width` wide.
    double textWidth(double width) const;
    // Where a caret before byte `index` stands, in content coordinates.
    CGRect caretRectAtIndex(size_t index) const;
    // A caret of the text's layout placed in the content, as wide as it is drawn.
    CGRect caretInContent(const CGRect& caret) const;
    void updateContentSize();
    void replaceCharactersInRange(NSRange range, const std::string& replacement);

    std::string text_;
    std::shared_ptr<UIFont> font_;
    std::shared_ptr<UIColor> textColor_;
    NSTextAlignment textAlignment_ = NSTextAlignment::Left;
    bool editable_ = true;
    UIEdgeInsets textContainerInset_{8, 0, 8, 0};
    NSRange selectedRange_;
    std::weak_ptr<UITextViewDelegate> textDelegate_;
    bool editing_ = false;
};
