#include "platform/foundation/ErrorOr.h"

#include <cstdio>
#include <cstdlib>

std::shared_ptr<NSError> makeError(std::string domain, long code, std::string description) {
    return NSError::errorWithDomainCodeUserInfo(
        std::move(domain), code, {{NSLocalizedDescriptionKey, std::move(description)}});
}

void ErrorOrValueOfError(const std::shared_ptr<NSError>& error) {
    std::fprintf(stderr, "ErrorOr: the value of an error was asked for: %s\n",
                 NSDescription(error.get()).c_str());
    std::abort();
}
