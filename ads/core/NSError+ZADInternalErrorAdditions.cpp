#include "ads/core/NSError+ZADInternalErrorAdditions.h"

namespace ZADInternalErrorAdditions {

std::shared_ptr<NSError>
zad_errorWithDomainCodeDescription(std::string domain, long code,
                                   std::optional<std::string> description) {
    PlistValue::Dictionary userInfo;
    if (description) {
        userInfo[NSLocalizedDescriptionKey] = *description;
        userInfo[NSLocalizedFailureReasonErrorKey] = std::move(*description);
    }
    return NSError::errorWithDomainCodeUserInfo(std::move(domain), code, std::move(userInfo));
}

std::shared_ptr<NSError> zad_errorWithCodeDescription(long code,
                                                      std::optional<std::string> description) {
    return zad_errorWithDomainCodeDescription(kZADPrivateErrorDomain, code, std::move(description));
}

std::optional<std::string> zad_localizedDescriptionForErrorCode(long code) {
    switch (code) {
    case kZADInternalErrorFileUnreadable:
        return "File could not be read.";
    case kZADInternalErrorInternal:
        return "Internal error.";
    case kZADInternalErrorInvalidArgument:
        return "Invalid argument.";
    default:
        return std::nullopt;
    }
}

} // namespace ZADInternalErrorAdditions
