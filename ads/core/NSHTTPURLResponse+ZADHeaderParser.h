// How long an HTTP answer may be served again from memory, by its caching headers.
#pragma once

#include "platform/foundation/NSDate.h"

#include <optional>
#include <string>

class NSHTTPURLResponse;

namespace ZADHeaderParser {

// When the answer stops being fresh; nothing when it may not be kept at all ("Pragma:
// no-cache", "Cache-Control: no-store", a max-age of 0 or less, no lifetime given, or an
// "Expires" not after the answer's "Date"). A max-age counts from the "Date" header, an
// "Expires" lifetime from now; a "Date" that is missing or does not read is now.
std::optional<NSDate> zad_expirationDate(const NSHTTPURLResponse& response);
// An HTTP date in any of its three historic forms (RFC 1123, asctime, RFC 850).
std::optional<NSDate> zad_dateFromHttpDateString(const std::string& text);

} // namespace ZADHeaderParser
