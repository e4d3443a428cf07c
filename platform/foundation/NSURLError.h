// The errors of URL loading: the domain, its codes, and the error values with the
// platform's descriptions and the failing URL.
#pragma once

#include "platform/foundation/NSError.h"

#include <memory>
#include <string>

inline constexpr const char* NSURLErrorDomain = "NSURLErrorDomain";
inline constexpr const char* NSErrorFailingURLStringKey = "NSErrorFailingURLStringKey";

enum : long {
    NSURLErrorUnknown = -1,
    NSURLErrorCancelled = -999,
    NSURLErrorBadURL = -1000,
    NSURLErrorTimedOut = -1001,
    NSURLErrorUnsupportedURL = -1002,
    NSURLErrorCannotFindHost = -1003,
    NSURLErrorCannotConnectToHost = -1004,
    NSURLErrorNetworkConnectionLost = -1005,
    NSURLErrorHTTPTooManyRedirects = -1007,
    NSURLErrorNotConnectedToInternet = -1009,
    NSURLErrorBadServerResponse = -1011,
    NSURLErrorDataLengthExceedsMaximum = -1103,
    NSURLErrorSecureConnectionFailed = -1200,
    NSURLErrorServerCertificateUntrusted = -1202,
};

// An NSURLErrorDomain error with the code's description; the failing URL goes into the
// user info when there is one. The certificate description names `host`.
std::shared_ptr<NSError> NSURLErrorWithCode(long code, const std::string& failingURLString,
                                            const std::string& host = {});
