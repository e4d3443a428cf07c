// What an ad network's extras are: a marker for the objects a request keeps one of per
// class (the engine's own ZADExtras, and those of mediation adapters).
#pragma once

#include "platform/base/NSObject.h"

class ZADAdNetworkExtras : public NSObject {
public:
    // An extras object of another class with the same contents.
    virtual std::shared_ptr<ZADAdNetworkExtras> copy() const = 0;
};
