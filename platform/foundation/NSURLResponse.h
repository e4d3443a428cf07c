// What a URL load answered, apart from the bytes: where they came from, their type, the
// length announced and their text encoding. NSHTTPURLResponse adds the HTTP status and
// header fields.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/NSURL.h"

#include <memory>
#include <string>

inline constexpr long long NSURLResponseUnknownLength = -1;

class NSURLResponse : public NSObject {
    NS_OBJECT(NSURLResponse)
public:
    static std::shared_ptr<NSURLResponse> initWithURLMIMETypeExpectedContentLengthTextEncodingName(
        std::shared_ptr<NSURL> url, std::string MIMEType, long long expectedContentLength,
        std::string textEncodingName);

    const std::shared_ptr<NSURL>& URL() const { return url_; }
    // Lower case, without parameters ("text/html"); empty when unknown.
    const std::string& MIMEType() const { return mimeType_; }
    // NSURLResponseUnknownLength when not announced.
    long long expectedContentLength() const { return expectedContentLength_; }
    // The charset named with the type ("utf-8"); empty when none.
    const std::string& textEncodingName() const { return textEncodingName_; }

protected:
    NSURLResponse(std::shared_ptr<NSURL> url, std::string mimeType, long long expectedContentLength,
                  std::string textEncodingName)
        : url_(std::move(url)), mimeType_(std::move(mimeType)),
          expectedContentLength_(expectedContentLength),
          textEncodingName_(std::move(textEncodingName)) {}

private:
    std::shared_ptr<NSURL> url_;
    std::string mimeType_;
    long long expectedContentLength_;
    std::string textEncodingName_;
};
