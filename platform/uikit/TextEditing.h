// What the two editable text views share: the character a delete key removes and the
// caret they draw while they have the keyboard.
#pragma once

#include "platform/foundation/NSRange.h"
#include "platform/graphics/CGGeometry.h"

#include <string>

namespace TextEditing {

// The last whole UTF-8 character of the text; an empty range at the end for empty text.
NSRange lastCharacterRange(const std::string& text);
// The caret's bar, in the current graphics context: `rect` filled in the platform's blue.
void drawCaret(const CGRect& rect);
// How wide the caret is.
inline constexpr double kCaretWidth = 2;

} // namespace TextEditing
