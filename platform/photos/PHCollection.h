// A named group of the library's content, as lists of albums show it.
#pragma once

#include "platform/photos/PHObject.h"

#include <string>

class PHCollection : public PHObject {
    NS_OBJECT(PHCollection)
public:
    const std::string& localizedTitle() const { return localizedTitle_; }

protected:
    PHCollection(std::string localIdentifier, std::string localizedTitle)
        : PHObject(std::move(localIdentifier)), localizedTitle_(std::move(localizedTitle)) {}

private:
    std::string localizedTitle_;
};
