// How laid-out text looks: its font, colours, stroke, spacing and paragraph style, in the
// terms the layout engine draws with. A null font or paragraph style means the system font
// at 12 points or the default paragraph style; no stroke colour means the foreground.
#pragma once

#include "platform/graphics/CGColor.h"
#include "platform/text/NSParagraphStyle.h"
#include "platform/text/UIFont.h"

#include <memory>
#include <optional>

struct TextStyle {
    std::shared_ptr<UIFont> font;
    CGColor foreground = CGColorMake(0, 0, 0, 1);
    std::optional<CGColor> stroke;
    // In percent of the font size: positive strokes the outlines only, negative strokes
    // and fills them, zero fills only.
    double strokeWidth = 0;
    // Points added after each character.
    double kern = 0;
    std::shared_ptr<NSParagraphStyle> paragraphStyle;
};
