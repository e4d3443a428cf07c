// The engine's own failures that are not (yet) an application's business: plain errors of
// the private domain, with a few built-in descriptions. Where such a failure reaches an
// application it is turned into a ZADRequestError.
#pragma once

#include "platform/foundation/NSError.h"

#include <memory>
#include <optional>
#include <string>

namespace ZADInternalErrorAdditions {

inline constexpr const char* kZADPrivateErrorDomain = "com.zivido.ads.private";

// Codes with a built-in description; 11 and 12 carry the meanings of the public codes of
// the same numbers, with descriptions their callers give.
enum : long {
    kZADInternalErrorFileUnreadable = 1,
    kZADInternalErrorInternal = 2,
    kZADInternalErrorInvalidArgument = 3,
};

// An error of that domain and code; when a description is given, the user info holds it
// as both the localized description and the failure reason, else the user info is empty.
std::shared_ptr<NSError> zad_errorWithDomainCodeDescription(std::string domain, long code,
                                                            std::optional<std::string> description);
// The same in the private domain.
std::shared_ptr<NSError> zad_errorWithCodeDescription(long code,
                                                      std::optional<std::string> description);
// The built-in description of codes 1 to 3; nothing for other codes.
std::optional<std::string> zad_localizedDescriptionForErrorCode(long code);

} // namespace ZADInternalErrorAdditions
