// How the lines of a paragraph are placed: alignment, where lines break or how text that
// does not fit is cut, and the extra space between lines.
#pragma once

#include "platform/base/NSObject.h"

enum class NSTextAlignment { Left = 0, Center = 1, Right = 2, Justified = 3, Natural = 4 };

enum class NSLineBreakMode {
    ByWordWrapping = 0,
    ByCharWrapping,
    ByClipping,
    ByTruncatingHead,
    ByTruncatingTail,
    ByTruncatingMiddle,
};

class NSParagraphStyle : public NSObject {
    NS_OBJECT(NSParagraphStyle)
public:
    // Left aligned, wrapping at words, no extra line spacing.
    NSParagraphStyle() = default;

    NSTextAlignment alignment() const { return alignment_; }
    void setAlignment(NSTextAlignment alignment) { alignment_ = alignment; }
    NSLineBreakMode lineBreakMode() const { return lineBreakMode_; }
    void setLineBreakMode(NSLineBreakMode mode) { lineBreakMode_ = mode; }
    // Points added between one line's bottom and the next line's top; negative counts as 0.
    double lineSpacing() const { return lineSpacing_; }
    void setLineSpacing(double spacing);

private:
    NSTextAlignment alignment_ = NSTextAlignment::Left;
    NSLineBreakMode lineBreakMode_ = NSLineBreakMode::ByWordWrapping;
    double lineSpacing_ = 0;
};
