#include "platform/foundation/NSURLError.h"

namespace {

std::string descriptionForCode(long code, const std::string& host) {
    switch (code) {
    case NSURLErrorCancelled:
        return "cancelled";
    case NSURLErrorBadURL:
        return "bad URL";
    case NSURLErrorTimedOut:
        return "The request timed out.";
    case NSURLErrorUnsupportedURL:
        return "unsupported URL";
    case NSURLErrorCannotFindHost:
        return "A server with the specified hostname could not be found.";
    case NSURLErrorCannotConnectToHost:
        return "Could not connect to the server.";
    case NSURLErrorNetworkConnectionLost:
        return "The network connection was lost.";
    case NSURLErrorHTTPTooManyRedirects:
        return "too many HTTP redirects";
    case NSURLErrorNotConnectedToInternet:
        return "The Internet connection appears to be offline.";
    case NSURLErrorBadServerResponse:
        return "bad server response";
    case NSURLErrorDataLengthExceedsMaximum:
        return "resource exceeds maximum size";
    case NSURLErrorSecureConnectionFailed:
        return "An SSL error has occurred and a secure connection to the server cannot be made.";
    case NSURLErrorServerCertificateUntrusted:
        return "The certificate for this server is invalid. You might be connecting to a server "
               "that is pretending to be \u201c" +
               host + "\u201d which could put your confidential information at risk.";
    default:
        return "unknown error";
    }
}

} // namespace

std::shared_ptr<NSError> NSURLErrorWithCode(long code, const std::string& failingURLString,
                                            const std::string& host) {
    PlistValue::Dictionary userInfo{{NSLocalizedDescriptionKey, descriptionForCode(code, host)}};
    if (!failingURLString.empty()) {
        userInfo[NSErrorFailingURLStringKey] = failingURLString;
    }
    return NSError::errorWithDomainCodeUserInfo(NSURLErrorDomain, code, std::move(userInfo));
}
