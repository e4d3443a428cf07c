#include "platform/foundation/NSURLResponse.h"

std::shared_ptr<NSURLResponse>
NSURLResponse::initWithURLMIMETypeExpectedContentLengthTextEncodingName(
    std::shared_ptr<NSURL> url, std::string MIMEType, long long expectedContentLength,
    std::string textEncodingName) {
    return make<NSURLResponse>(std::move(url), std::move(MIMEType), expectedContentLength,
                               std::move(textEncodingName));
}
