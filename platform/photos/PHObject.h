// The root of the photo library's objects: each has an identifier that stays the same
// across fetches and relaunches.
#pragma once

#include "platform/base/NSObject.h"

#include <string>

class PHObject : public NSObject {
    NS_OBJECT(PHObject)
public:
    const std::string& localIdentifier() const { return localIdentifier_; }
    std::string description() const override;

protected:
    explicit PHObject(std::string localIdentifier) : localIdentifier_(std::move(localIdentifier)) {}

private:
    std::string localIdentifier_;
};
