// Building the engine's own HTTP requests.
#pragma once

#include "platform/foundation/NSHTTPHeaderFields.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class NSURL;
class NSURLRequest;

namespace ZADNSURLRequestUtilities {

// A request for the URL (null without one) with the given header fields; the device's
// User-Agent, when known, replaces a given one. Only a body with a content type makes a
// POST (with "Content-Length" and "Content-Type"); otherwise it is a GET without body.
std::shared_ptr<NSURLRequest> zad_requestForURLDataHeadersType(
    const std::shared_ptr<NSURL>& url, const std::optional<std::vector<uint8_t>>& body,
    const NSHTTPHeaderFields& headers, const std::optional<std::string>& contentType);

} // namespace ZADNSURLRequestUtilities
