// The text tool's panel, three pages side by side of which one shows: the text (a text
// view), the colours (the colour picker, a fill and an outline swatch choosing which of the
// two it edits, and the outline's width) and the face (the font picker without its sizes).
// It keeps the current choices, reports each change, and rises just above the keyboard
// while the text is typed.
#pragma once

#include "editor/tools/text/PETextSettingViewDelegate.h"
#include "editor/widgets/PEColorPickerView.h"
#include "editor/widgets/PEFontPickerViewDelegate.h"
#include "platform/uikit/UITextViewDelegate.h"
#include "platform/uikit/UIView.h"

#include <memory>
#include <string>

class NSNotification;
class PECircleView;
class PEFontPickerView;
class UIGestureRecognizer;
class UIScrollView;
class UISlider;
class UITextView;

class PETextSettingView : public UIView,
                          public PEColorPickerViewDelegate,
                          public PEFontPickerViewDelegate,
                          public UITextViewDelegate {
    NS_OBJECT(PETextSettingView)
public:
    // Pages: the text, the colours, the face.
    enum Page : long { TextPage = 0, ColorPage = 1, FontPage = 2 };
    // The text field's height while the keyboard is up.
    static constexpr double kTypingHeight = 80;

    static std::shared_ptr<PETextSettingView> initWithFrame(const CGRect& frame);
    static std::shared_ptr<PETextSettingView> alloc() { return initWithFrame(CGRectZero); }

    std::shared_ptr<PETextSettingViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<PETextSettingViewDelegate> delegate) {
        delegate_ = std::move(delegate);
    }

    // The choices; setting them reports nothing, except a colour of the swatch the picker
    // edits, which goes through the picker and comes back as the picker reads it.
    std::string selectedText() const;
    void setSelectedText(const std::string& text);
    std::shared_ptr<UIColor> selectedFillColor() const;
    void setSelectedFillColor(const std::shared_ptr<UIColor>& color);
    std::shared_ptr<UIColor> selectedBorderColor() const;
    void setSelectedBorderColor(const std::shared_ptr<UIColor>& color);
    double selectedBorderWidth() const;
    void setSelectedBorderWidth(double width);
    std::shared_ptr<UIFont> selectedFont() const;
    void setSelectedFont(const std::shared_ptr<UIFont>& font);
    // The swatch whose colour the picker edits.
    std::shared_ptr<UIView> selectedMode() const { return selectedMode_; }
    void setSelectedMode(const std::shared_ptr<UIView>& mode);

    // Of the font picker's rows and the text.
    void setTextColor(const std::shared_ptr<UIColor>& color);
    void setFontPickerForegroundColor(const std::shared_ptr<UIColor>& color);

    // The text field's (the panel itself never is first responder).
    bool isFirstResponder() const;
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;

    void showSettingMenuWithIndexAnimated(long index, bool animated);

    std::shared_ptr<UITextView> textView() const { return textView_; }
    std::shared_ptr<PEColorPickerView> colorPickerView() const { return colorPickerView_; }
    std::shared_ptr<PECircleView> fillCircle() const { return fillCircle_; }
    std::shared_ptr<PECircleView> pathCircle() const { return pathCircle_; }
    std::shared_ptr<UISlider> pathSlider() const { return pathSlider_; }
    std::shared_ptr<PEFontPickerView> fontPickerView() const { return fontPickerView_; }
    std::shared_ptr<UIScrollView> pagesView() const { return scrollView_; }

    void colorPickerViewColorDidChange(PEColorPickerView& picker,
                                       const std::shared_ptr<UIColor>& color) override;
    void fontPickerViewDidSelectFont(PEFontPickerView& picker,
                                     const std::shared_ptr<UIFont>& font) override;
    void textViewDidChange(UITextView& textView) override;

protected:
    PETextSettingView() = default;

private:
    void customInit();
    void setColorPanel();
    void pathSliderDidChange(UISlider& slider);
    void modeViewTapped(UIGestureRecognizer& recognizer);
    void keyBoardWillShow(const NSNotification& notification);
    void keyBoardWillHide(const NSNotification& notification);
    void keyBoardWillChangeWithTextViewHeight(const NSNotification& notification, double height);

    std::shared_ptr<UIScrollView> scrollView_;
    std::shared_ptr<UITextView> textView_;
    std::shared_ptr<UIView> colorPanel_;
    std::shared_ptr<PEColorPickerView> colorPickerView_;
    std::shared_ptr<PECircleView> fillCircle_;
    std::shared_ptr<PECircleView> pathCircle_;
    std::shared_ptr<UISlider> pathSlider_;
    std::shared_ptr<PEFontPickerView> fontPickerView_;
    std::shared_ptr<UIView> selectedMode_;
    std::weak_ptr<PETextSettingViewDelegate> delegate_;
};
