#include "ads/core/NSURLRequest+ZADNSURLRequestUtilities.h"

#include "ads/signals/ZADDevice.h"
#include "platform/foundation/NSMutableURLRequest.h"
#include "platform/foundation/NSURL.h"

namespace ZADNSURLRequestUtilities {

std::shared_ptr<NSURLRequest> zad_requestForURLDataHeadersType(
    const std::shared_ptr<NSURL>& url, const std::optional<std::vector<uint8_t>>& body,
    const NSHTTPHeaderFields& headers, const std::optional<std::string>& contentType) {
    if (!url) {
        return nullptr;
    }
    auto request = NSMutableURLRequest::requestWithURL(url);
    request->setAllHTTPHeaderFields(headers);
    std::string userAgent = ZADDevice::sharedInstance()->userAgent();
    if (!userAgent.empty()) {
        request->setValueForHTTPHeaderField(userAgent, "User-Agent");
    }
    if (body && contentType) {
        request->setHTTPMethod("POST");
        request->setHTTPBody(*body);
        request->setValueForHTTPHeaderField(std::to_string(body->size()), "Content-Length");
        request->setValueForHTTPHeaderField(*contentType, "Content-Type");
    }
    return request;
}

} // namespace ZADNSURLRequestUtilities
