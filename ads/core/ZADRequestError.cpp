#include "ads/core/ZADRequestError.h"

#include "ads/core/ZADRequest.h"
#include "ads/signals/ZADDevice.h"
#include "platform/foundation/NSHTTPURLResponse.h"
#include "platform/foundation/NSString.h"

#include <array>

namespace {

constexpr std::array<const char*, 14> kStandardMessages = {
    "Request Error: Invalid ad request parameter(s). Check the Xcode console for details.",
    "Request Error: No ad to show.",
    "Request Error: A network error occurred.",
    "Request Error: Server error processing the request.",
    nullptr, // made from the device's system version
    "Request Error: The Zivido Ad request was unable to be fulfilled before a timeout "
    "occurred.",
    "Request Error: Will not send request because interstitial object has been used.",
    "Request Error: The mediation response was invalid.",
    "Request Error: Cannot find an ad network adapter for mediation.",
    "Request Error: No ad to show from all configured ad networks.",
    "Request Error: Incompatible ad type requested.",
    "Request Error: Internal error.",
    "Request Error: Invalid argument.",
    "Request Error: Received invalid response.",
};

// The lowest system version the engine runs on.
constexpr long kMinimumMajorVersion = 6;
constexpr long kMinimumMinorVersion = 0;

const std::string& OSVersionTooLowMessage() {
    static const std::string message = NSString::stringWithFormat(
        "Request Error: This device's OS is %@. It is below the minimum of %ld.%ld.",
        ZADDevice::sharedInstance()->systemVersion(), kMinimumMajorVersion, kMinimumMinorVersion);
    return message;
}

} // namespace

std::string ZADRequestError::standardMessageForCode(long code) {
    if (code == OSVersionTooLow) {
        return OSVersionTooLowMessage();
    }
    if (code < 0 || code >= static_cast<long>(kStandardMessages.size())) {
        code = InvalidRequest;
    }
    return kStandardMessages[static_cast<size_t>(code)];
}

std::shared_ptr<ZADRequestError>
ZADRequestError::errorWithCodeRequestHTTPStatusCodeCustomMessageUnderlyingError(
    long code, const std::shared_ptr<const ZADRequest>& request, long HTTPStatusCode,
    std::optional<std::string> customMessage, std::shared_ptr<NSError> underlyingError) {
    std::string message = customMessage ? std::move(*customMessage) : standardMessageForCode(code);
    PlistValue::Dictionary userInfo;
    userInfo[NSLocalizedDescriptionKey] = message;
    userInfo[NSLocalizedFailureReasonErrorKey] = message;
    if (code == InvalidRequest && request) {
        for (auto& [key, value] : request->parameters()) {
            userInfo[key] = std::move(value);
        }
    }
    if (HTTPStatusCode >= 1) {
        userInfo[kHTTPStatusKey] = NSString::stringWithFormat(
            "HTTP status %ld: %@", HTTPStatusCode,
            NSHTTPURLResponse::localizedStringForStatusCode(HTTPStatusCode));
    }
    return make<ZADRequestError>(code, std::move(userInfo), std::move(underlyingError));
}

std::shared_ptr<ZADRequestError> ZADRequestError::errorWithCodeRequestHTTPStatusCodeCustomMessage(
    long code, const std::shared_ptr<const ZADRequest>& request, long HTTPStatusCode,
    std::optional<std::string> customMessage) {
    return errorWithCodeRequestHTTPStatusCodeCustomMessageUnderlyingError(
        code, request, HTTPStatusCode, std::move(customMessage), nullptr);
}

std::shared_ptr<ZADRequestError> ZADRequestError::errorWithCodeRequestHTTPStatusCode(
    long code, const std::shared_ptr<const ZADRequest>& request, long HTTPStatusCode) {
    return errorWithCodeRequestHTTPStatusCodeCustomMessage(code, request, HTTPStatusCode,
                                                           std::nullopt);
}

std::shared_ptr<ZADRequestError>
ZADRequestError::errorWithCodeRequest(long code, const std::shared_ptr<const ZADRequest>& request) {
    return errorWithCodeRequestHTTPStatusCode(code, request, 0);
}

std::shared_ptr<ZADRequestError> ZADRequestError::errorWithCode(long code) {
    return errorWithCodeRequest(code, nullptr);
}

std::shared_ptr<ZADRequestError> ZADRequestError::errorWithCodeCustomMessage(long code,
                                                                             std::string message) {
    return errorWithCodeRequestHTTPStatusCodeCustomMessage(code, nullptr, 0, std::move(message));
}

std::shared_ptr<ZADRequestError>
ZADRequestError::errorWithCodeUnderlyingError(long code,
                                              const std::shared_ptr<NSError>& underlyingError) {
    std::optional<std::string> message;
    if (underlyingError) {
        message = underlyingError->localizedDescription();
    }
    return errorWithCodeRequestHTTPStatusCodeCustomMessageUnderlyingError(
        code, nullptr, 0, std::move(message), underlyingError);
}

std::shared_ptr<ZADRequestError>
ZADRequestError::initWithDomainCodeUserInfo(std::string domain, long code,
                                            PlistValue::Dictionary userInfo) {
    auto plain = NSError::errorWithDomainCodeUserInfo(std::move(domain), code, std::move(userInfo));
    return errorWithCodeRequestHTTPStatusCodeCustomMessageUnderlyingError(InternalError, nullptr, 0,
                                                                          std::nullopt, plain);
}

std::shared_ptr<NSError> ZADRequestError::error() const {
    return NSError::errorWithDomainCodeUserInfoUnderlyingError(domain(), code(), userInfo(),
                                                               underlyingError());
}
