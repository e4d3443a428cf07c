// Every failure that reaches an application through an ad delegate: an error of the
// domain "com.zivido.ads" with a code from 0 to 13 and a fixed English message per code
// (any other code gets the message of code 0). The message is both the localized
// description and the failure reason; an invalid-request error (code 0) made for a request
// also carries every parameter of that request; an HTTP status of 1 or more adds
// "HttpStatus". Immutable once made; may cross threads.
#pragma once

#include "platform/foundation/NSError.h"

#include <memory>
#include <optional>
#include <string>

class ZADRequest;

class ZADRequestError : public NSError {
    NS_OBJECT(ZADRequestError)
public:
    static constexpr const char* kDomain = "com.zivido.ads";
    static constexpr const char* kHTTPStatusKey = "HttpStatus";
    enum Code : long {
        InvalidRequest = 0,
        NoFill = 1,
        NetworkError = 2,
        ServerError = 3,
        OSVersionTooLow = 4,
        Timeout = 5,
        InterstitialAlreadyUsed = 6,
        MediationDataError = 7,
        MediationAdapterError = 8,
        MediationNoFill = 9,
        MediationInvalidAdSize = 10,
        InternalError = 11,
        InvalidArgument = 12,
        ReceivedInvalidResponse = 13,
    };

    // The request's parameters are read here for code 0, so a code-0 error with a request
    // is made where the request may be read.
    static std::shared_ptr<ZADRequestError>
    errorWithCodeRequestHTTPStatusCodeCustomMessageUnderlyingError(
        long code, const std::shared_ptr<const ZADRequest>& request, long HTTPStatusCode,
        std::optional<std::string> customMessage, std::shared_ptr<NSError> underlyingError);
    static std::shared_ptr<ZADRequestError> errorWithCodeRequestHTTPStatusCodeCustomMessage(
        long code, const std::shared_ptr<const ZADRequest>& request, long HTTPStatusCode,
        std::optional<std::string> customMessage);
    static std::shared_ptr<ZADRequestError>
    errorWithCodeRequestHTTPStatusCode(long code, const std::shared_ptr<const ZADRequest>& request,
                                       long HTTPStatusCode);
    static std::shared_ptr<ZADRequestError>
    errorWithCodeRequest(long code, const std::shared_ptr<const ZADRequest>& request);
    static std::shared_ptr<ZADRequestError> errorWithCode(long code);
    static std::shared_ptr<ZADRequestError> errorWithCodeCustomMessage(long code,
                                                                       std::string customMessage);
    // The underlying error's description becomes the message.
    static std::shared_ptr<ZADRequestError>
    errorWithCodeUnderlyingError(long code, const std::shared_ptr<NSError>& underlyingError);
    // What the platform error's own initialiser makes here: an internal error (code 11,
    // standard message) standing on a plain error of the given domain, code and user info.
    static std::shared_ptr<ZADRequestError>
    initWithDomainCodeUserInfo(std::string domain, long code, PlistValue::Dictionary userInfo);

    // The code's standard message (code 4 names this device's system version).
    static std::string standardMessageForCode(long code);

    // A plain error with the same domain, code, user info and underlying error, where
    // a plain error must be handed on.
    std::shared_ptr<NSError> error() const;

private:
    ZADRequestError(long code, PlistValue::Dictionary userInfo,
                    std::shared_ptr<NSError> underlyingError)
        : NSError(kDomain, code, std::move(userInfo), std::move(underlyingError)) {}
};
