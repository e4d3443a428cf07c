// The request of the publisher-side ad formats: a request with the publisher's own
// identifier for the user ("ppid") and the ad categories to leave out
// ("category_exclusions").
#pragma once

#include "ads/core/ZADRequest.h"

class ZEZRequest : public ZADRequest {
    NS_OBJECT(ZEZRequest)
public:
    static std::shared_ptr<ZEZRequest> request() { return init(); }
    static std::shared_ptr<ZEZRequest> init() { return make<ZEZRequest>(); }
    static std::shared_ptr<ZEZRequest> alloc() { return init(); }
    // Nothing to update: correlation comes with the correlator.
    static void updateCorrelator() {}

    const std::optional<std::string>& publisherProvidedID() const { return publisherProvidedID_; }
    void setPublisherProvidedID(std::optional<std::string> identifier) {
        publisherProvidedID_ = std::move(identifier);
    }
    const std::optional<std::vector<std::string>>& categoryExclusions() const {
        return categoryExclusions_;
    }
    void setCategoryExclusions(std::optional<std::vector<std::string>> exclusions) {
        categoryExclusions_ = std::move(exclusions);
    }

    // The base parameters, "ppid" (trimmed, when not empty) and "category_exclusions"
    // (when not empty).
    PlistValue::Dictionary threadSafeParameters() const override;

protected:
    ZEZRequest() = default;

    void readParameters(const PlistValue::Dictionary& parameters) override;
    void copyFieldsTo(ZADRequest& copy) const override;
    std::shared_ptr<ZADRequest> emptyOfSameClass() const override { return init(); }

private:
    std::optional<std::string> publisherProvidedID_;
    std::optional<std::vector<std::string>> categoryExclusions_;
};
