// An error value: a domain, a code and user info with a readable description.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/PlistValue.h"

#include <memory>
#include <string>

inline constexpr const char* NSLocalizedDescriptionKey = "NSLocalizedDescription";
inline constexpr const char* NSLocalizedFailureReasonErrorKey = "NSLocalizedFailureReason";
inline constexpr const char* NSPOSIXErrorDomain = "NSPOSIXErrorDomain";
inline constexpr const char* NSCocoaErrorDomain = "NSCocoaErrorDomain";

// Codes of NSCocoaErrorDomain.
enum : long {
    NSFileReadUnknownError = 256,
    NSFileReadNoSuchFileError = 260,
    NSFileWriteUnknownError = 512,
    NSPropertyListReadCorruptError = 3840,
    NSPropertyListWriteInvalidError = 3852,
};

class NSError : public NSObject {
    NS_OBJECT(NSError)
public:
    static std::shared_ptr<NSError> errorWithDomainCodeUserInfo(std::string domain, long code,
                                                                PlistValue::Dictionary userInfo);

    const std::string& domain() const { return domain_; }
    long code() const { return code_; }
    const PlistValue::Dictionary& userInfo() const { return userInfo_; }
    // The error this one stands on (the platform's NSUnderlyingErrorKey entry), kept beside
    // the user info because an error is not a property-list value; null when none.
    const std::shared_ptr<NSError>& underlyingError() const { return underlyingError_; }
    // A plain error that stands on `underlyingError`.
    static std::shared_ptr<NSError>
    errorWithDomainCodeUserInfoUnderlyingError(std::string domain, long code,
                                               PlistValue::Dictionary userInfo,
                                               std::shared_ptr<NSError> underlyingError);

    // The user info's description, else a generic sentence naming domain and code.
    std::string localizedDescription() const;
    // The platform's sentence for data in the wrong format ("The data couldn't be read
    // because it isn't in the correct format."), with what was wrong in brackets when given.
    static std::string wrongFormatDescription(const std::string& what = {});
    // Error Domain=<domain> Code=<code> "<localized description>"
    std::string description() const override;

protected:
    // Subclasses (an engine's own error kinds) build on the plain error.
    NSError(std::string domain, long code, PlistValue::Dictionary userInfo,
            std::shared_ptr<NSError> underlyingError = nullptr)
        : domain_(std::move(domain)), code_(code), userInfo_(std::move(userInfo)),
          underlyingError_(std::move(underlyingError)) {}

private:
    std::string domain_;
    long code_;
    PlistValue::Dictionary userInfo_;
    std::shared_ptr<NSError> underlyingError_;
};
