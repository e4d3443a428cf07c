#include "platform/foundation/NSError.h"

std::shared_ptr<NSError> NSError::errorWithDomainCodeUserInfo(std::string domain, long code,
                                                              PlistValue::Dictionary userInfo) {
    return make<NSError>(std::move(domain), code, std::move(userInfo));
}

std::shared_ptr<NSError>
NSError::errorWithDomainCodeUserInfoUnderlyingError(std::string domain, long code,
                                                    PlistValue::Dictionary userInfo,
                                                    std::shared_ptr<NSError> underlyingError) {
    return make<NSError>(std::move(domain), code, std::move(userInfo), std::move(underlyingError));
}

std::string NSError::wrongFormatDescription(const std::string& what) {
    return "The data couldn\u2019t be read because it isn\u2019t in the correct format" +
           (what.empty() ? std::string(".") : " (" + what + ").");
}

std::string NSError::localizedDescription() const {
    auto found = userInfo_.find(NSLocalizedDescriptionKey);
    if (found != userInfo_.end() && found->second.string()) {
        return *found->second.string();
    }
    return "The operation couldn\u2019t be completed. (" + domain_ + " error " +
           std::to_string(code_) + ".)";
}

std::string NSError::description() const {
    return "Error Domain=" + domain_ + " Code=" + std::to_string(code_) + " \"" +
           localizedDescription() + "\"";
}
