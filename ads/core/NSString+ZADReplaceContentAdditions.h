// The "@" escaping of URL templates: a macro is a name between two "@", a literal "@" is
// written "@@". NSMutableString+ZADReplaceContentAdditions.h expands the macros.
#pragma once

#include <string>

namespace ZADReplaceContentAdditions {

// Every "@" doubled, so the text can stand in a template as itself.
std::string zad_escapeAts(const std::string& text);
// Every "@@" back to "@".
std::string zad_unescapeAts(const std::string& text);

} // namespace ZADReplaceContentAdditions
