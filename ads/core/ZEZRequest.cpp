#include "ads/core/ZEZRequest.h"

#include "ads/core/NSDictionary+ZADObjectValidation.h"
#include "platform/foundation/NSString.h"

using Kind = ZADObjectValidation::Class;
using ZADObjectValidation::zad_objectForKeyIfIsKindOfClass;

PlistValue::Dictionary ZEZRequest::threadSafeParameters() const {
    auto parameters = ZADRequest::threadSafeParameters();
    if (publisherProvidedID_) {
        std::string trimmed =
            NSString::stringByTrimmingWhitespaceAndNewlines(*publisherProvidedID_);
        if (!trimmed.empty()) {
            parameters["ppid"] = std::move(trimmed);
        }
    }
    if (categoryExclusions_ && !categoryExclusions_->empty()) {
        parameters["category_exclusions"] =
            PlistValue::Array(categoryExclusions_->begin(), categoryExclusions_->end());
    }
    return parameters;
}

void ZEZRequest::readParameters(const PlistValue::Dictionary& parameters) {
    ZADRequest::readParameters(parameters);
    if (const auto* ppid = zad_objectForKeyIfIsKindOfClass(parameters, "ppid", Kind::String)) {
        publisherProvidedID_ = *ppid->string();
    }
    if (auto exclusions =
            ZADObjectValidation::zad_stringsForKey(parameters, "category_exclusions")) {
        categoryExclusions_ = std::move(*exclusions);
    }
}

void ZEZRequest::copyFieldsTo(ZADRequest& copy) const {
    ZADRequest::copyFieldsTo(copy);
    auto& same = static_cast<ZEZRequest&>(copy);
    same.publisherProvidedID_ = publisherProvidedID_;
    same.categoryExclusions_ = categoryExclusions_;
}
