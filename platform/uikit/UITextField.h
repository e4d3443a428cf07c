// A one-line editable text: tapped, it becomes first responder and the keyboard comes up;
// keys then insert at the end of the text (there is no moving the caret here) and delete
// its last character, each change asked of the delegate first and announced by
// EditingChanged. The return key asks the delegate and sends EditingDidEndOnExit; it
// does not end the editing by itself. Drawn as its text, or its placeholder in grey,
// vertically centred, with a caret while editing.
#pragma once

#include "platform/uikit/NSTextAttributes.h"
#include "platform/uikit/UIControl.h"
#include "platform/uikit/UIKeyInput.h"
#include "platform/uikit/UITextFieldDelegate.h"

#include <memory>
#include <string>

class UITextField : public UIControl, public UIKeyInput {
    NS_OBJECT(UITextField)
public:
    // Empty, the system font at 17 points, black, left aligned, the default keyboard.
    static std::shared_ptr<UITextField> initWithFrame(const CGRect& frame);
    static std::shared_ptr<UITextField> alloc() { return initWithFrame(CGRectZero); }

    const std::string& text() const { return text_; }
    // Sets the text as it is, with no delegate question and no control event.
    void setText(std::string text);
    const std::string& placeholder() const { return placeholder_; }
    void setPlaceholder(std::string placeholder);
    std::shared_ptr<UIFont> font() const { return font_; }
    // Null restores the default font.
    void setFont(std::shared_ptr<UIFont> font);
    std::shared_ptr<UIColor> textColor() const { return textColor_; }
    // Null restores the default colour.
    void setTextColor(std::shared_ptr<UIColor> color);
    NSTextAlignment textAlignment() const { return textAlignment_; }
    void setTextAlignment(NSTextAlignment alignment);
    UIKeyboardType keyboardType() const override { return keyboardType_; }
    void setKeyboardType(UIKeyboardType type) { keyboardType_ = type; }
    std::shared_ptr<UITextFieldDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<UITextFieldDelegate> delegate) {
        delegate_ = std::move(delegate);
    }
    // Between becoming first responder and resigning.
    bool isEditing() const { return editing_; }

    // Enabled fields take the keyboard, once the delegate agrees.
    bool canBecomeFirstResponder() const override { return isEnabled(); }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;

    bool hasText() const override { return !text_.empty(); }
    void insertText(const std::string& text) override;
    void deleteBackward() override;

    void drawRect(const CGRect& rect) override;
    CGSize sizeThatFits(const CGSize& size) const override;
    // The text, else the placeholder, unless a label was set.
    std::string accessibilityLabel() const override;
    std::string description() const override;

protected:
    UITextField();

    // A tap that lifts inside the field starts editing.
    void endTrackingWithTouchWithEvent(const UITouch* touch, const UIEvent* event) override;
    void didResignFirstResponder() override;

private:
    NSTextAttributes textAttributes(const std::shared_ptr<UIColor>& color) const;
    // Replaces `range` of the text when the delegate agrees, then announces the change.
    void replaceCharactersInRange(NSRange range, const std::string& replacement);

    std::string text_;
    std::string placeholder_;
    std::shared_ptr<UIFont> font_;
    std::shared_ptr<UIColor> textColor_;
    NSTextAlignment textAlignment_ = NSTextAlignment::Left;
    UIKeyboardType keyboardType_ = UIKeyboardType::Default;
    std::weak_ptr<UITextFieldDelegate> delegate_;
    bool editing_ = false;
};
