#include "platform/uikit/TextEditing.h"

#include "platform/graphics/CGContext.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"

namespace TextEditing {

NSRange lastCharacterRange(const std::string& text) {
    size_t start = text.size();
    // Back over continuation bytes (10xxxxxx) to the character's lead byte.
    while (start > 0) {
        --start;
        if ((static_cast<unsigned char>(text[start]) & 0xC0) != 0x80) {
            break;
        }
    }
    return NSMakeRange(start, text.size() - start);
}

void drawCaret(const CGRect& rect) {
    const CGContextRef context = UIGraphicsGetCurrentContext();
    CGContextSetFillColorWithColor(context,
                                   UIColor::colorWithRedGreenBlueAlpha(0, 0.48, 1, 1)->cgColor());
    CGContextFillRect(context, rect);
}

} // namespace TextEditing
