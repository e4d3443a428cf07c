// The answer of an HTTP load: status code and header fields; type, encoding and length
// are read from Content-Type and Content-Length. An error status (404, 500) is an
// answer like any other.
#pragma once

#include "platform/foundation/NSHTTPHeaderFields.h"
#include "platform/foundation/NSURLResponse.h"

#include <optional>

class NSHTTPURLResponse : public NSURLResponse {
    NS_OBJECT(NSHTTPURLResponse)
public:
    // The HTTP version is taken for the platform's signature; nothing reads it.
    static std::shared_ptr<NSHTTPURLResponse>
    initWithURLStatusCodeHTTPVersionHeaderFields(std::shared_ptr<NSURL> url, long statusCode,
                                                 const std::string& HTTPVersion,
                                                 NSHTTPHeaderFields headerFields);

    long statusCode() const { return statusCode_; }
    const NSHTTPHeaderFields& allHeaderFields() const { return headerFields_; }
    // The field's value, its name matched without regard to case; nothing when absent.
    std::optional<std::string> valueForHTTPHeaderField(const std::string& field) const;

    // The platform's short phrase for a status code ("not found"); codes it does not name
    // get their class ("client error").
    static std::string localizedStringForStatusCode(long statusCode);

private:
    NSHTTPURLResponse(std::shared_ptr<NSURL> url, long statusCode, std::string mimeType,
                      long long expectedContentLength, std::string textEncodingName,
                      NSHTTPHeaderFields headerFields)
        : NSURLResponse(std::move(url), std::move(mimeType), expectedContentLength,
                        std::move(textEncodingName)),
          statusCode_(statusCode), headerFields_(std::move(headerFields)) {}

    long statusCode_;
    NSHTTPHeaderFields headerFields_;
};
