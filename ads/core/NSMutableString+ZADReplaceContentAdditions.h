// Expanding the "@"-quoted macros of a URL template in place. An "@" opens or closes a
// macro only when an even number of "@" (none included) stand right before it, so "@@"
// stays a literal "@" and "@@n@@" is the text "@n@", not the macro n.
#pragma once

#include "platform/foundation/PlistValue.h"

#include <string>

namespace ZADReplaceContentAdditions {

// Each macro named in `expansions` becomes its value's description (its own "@" kept
// literal); every other macro is removed; then "@@" becomes "@".
void zad_substituteAtQuotedKeywordsWithExpansionDictionary(
    std::string& text, const PlistValue::Dictionary& expansions);
// Replaces every macro whose whole name matches `namePattern`, a regular expression (not
// escaped: pattern characters in it act as such, "a|b" names a and b); `replacement` is
// inserted as it is. An invalid pattern, or one holding a NUL, replaces nothing.
void zad_replaceAtQuotedKeywordPatternWithString(std::string& text, const std::string& namePattern,
                                                 const std::string& replacement);
// Removes every macro, whatever its name.
void zad_removeAtQuotedKeywords(std::string& text);

} // namespace ZADReplaceContentAdditions
