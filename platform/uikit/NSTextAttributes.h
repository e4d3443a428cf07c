// The attributes text is drawn with. A null member means its default: the system font at
// 12 points, black, the default paragraph style (left aligned, wrapping at words), and for
// the stroke the foreground colour.
#pragma once

#include "platform/text/NSParagraphStyle.h"
#include "platform/text/TextStyle.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/UIColor.h"

#include <memory>

struct NSTextAttributes {
    std::shared_ptr<UIFont> font;
    std::shared_ptr<UIColor> foregroundColor;
    std::shared_ptr<NSParagraphStyle> paragraphStyle;
    // Points added after each character.
    double kern = 0;
    std::shared_ptr<UIColor> strokeColor;
    // In percent of the font size: positive strokes the outlines only, negative strokes
    // and fills them, zero fills only.
    double strokeWidth = 0;

    // The same, as the text layout draws with it.
    TextStyle textStyle() const;
};
