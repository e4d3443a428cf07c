// The engine's console writer: formats on the caller's thread, writes on a serial queue of
// its own ("com.zivido.vazer.logging"), so a caller never waits on the console and the
// lines of one thread keep their order.
#pragma once

#include "platform/foundation/NSString.h"

#include <string>
#include <string_view>

// Queues `text` to be written as one console line (NSLog with "%@").
void ZADLogPrintText(std::string text);

// printf-like with %@ for objects, as NSString formats.
template <class... A> void ZADLogPrint(std::string_view format, const A&... args) {
    ZADLogPrintText(NSString::stringWithFormat(format, args...));
}
