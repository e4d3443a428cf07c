// A view showing read-only text: one line or several, in a font and colour, aligned,
// truncated or shrunk to fit its bounds.
#pragma once

#include "platform/uikit/NSTextAttributes.h"
#include "platform/uikit/UIView.h"

#include <memory>
#include <string>

class UILabel : public UIView {
    NS_OBJECT(UILabel)
public:
    // No text, the system font at 17 points, black, left aligned, one line truncated at
    // the tail; not interactive, so touches go to the views behind.
    static std::shared_ptr<UILabel> initWithFrame(const CGRect& frame);
    static std::shared_ptr<UILabel> alloc() { return initWithFrame(CGRectZero); }

    const std::string& text() const { return text_; }
    void setText(std::string text);
    std::shared_ptr<UIFont> font() const { return font_; }
    // Null restores the default font.
    void setFont(std::shared_ptr<UIFont> font);
    std::shared_ptr<UIColor> textColor() const { return textColor_; }
    // Null restores the default colour.
    void setTextColor(std::shared_ptr<UIColor> color);
    NSTextAlignment textAlignment() const { return textAlignment_; }
    void setTextAlignment(NSTextAlignment alignment);
    // 0 means as many lines as the text needs; negative counts as 0.
    long numberOfLines() const { return numberOfLines_; }
    void setNumberOfLines(long lines);
    // Word and character wrapping cut after the last line that fits; the others apply to
    // that last line, the lines above it wrapping at words.
    NSLineBreakMode lineBreakMode() const { return lineBreakMode_; }
    void setLineBreakMode(NSLineBreakMode mode);

    // A label whose text does not fit shrinks its font, down to the larger of
    // minimumScaleFactor times its size and minimumFontSize, before truncating: a one-line
    // label until the line fits the width, a label of several lines until the wrapped text
    // fits the height. With both limits at 0 (the default) it does not shrink.
    bool adjustsFontSizeToFitWidth() const { return adjustsFontSizeToFitWidth_; }
    void setAdjustsFontSizeToFitWidth(bool adjusts);
    double minimumScaleFactor() const { return minimumScaleFactor_; }
    // Clamped to 0...1.
    void setMinimumScaleFactor(double factor);
    double minimumFontSize() const { return minimumFontSize_; }
    void setMinimumFontSize(double size);

    // The size of the text within size.width (no limit when not positive) in at most
    // numberOfLines lines, rounded up to whole screen pixels; zero without text.
    CGSize sizeThatFits(const CGSize& size) const override;
    // Draws the text into the current graphics context, vertically centred in `rect`, at
    // most numberOfLines lines and as many whole lines as `rect` holds (always one), the
    // last one cut as lineBreakMode says when text remains. Subclasses override it to
    // inset the text.
    virtual void drawTextInRect(const CGRect& rect);
    // Draws the text in `rect`, the view's whole area as the view renderer passes it.
    void drawRect(const CGRect& rect) override;
    // The view's description with "; text = 'Hello'" when there is text.
    std::string description() const override;
    // The text, unless a label was set.
    std::string accessibilityLabel() const override;

protected:
    UILabel();

private:
    NSTextAttributes textAttributes(std::shared_ptr<UIFont> font) const;
    // The font to draw in `area` with: the label's, or a smaller one that fits when the
    // label adjusts its font size.
    std::shared_ptr<UIFont> fontFitting(const CGSize& area) const;

    std::string text_;
    std::shared_ptr<UIFont> font_;
    std::shared_ptr<UIColor> textColor_;
    NSTextAlignment textAlignment_ = NSTextAlignment::Left;
    long numberOfLines_ = 1;
    NSLineBreakMode lineBreakMode_ = NSLineBreakMode::ByTruncatingTail;
    bool adjustsFontSizeToFitWidth_ = false;
    double minimumScaleFactor_ = 0;
    double minimumFontSize_ = 0;
};
