// Supplies what the slot's owner knows of its place in the view hierarchy; asked to take
// it down at the start of every load. Main thread.
#pragma once

#include "platform/foundation/PlistValue.h"

#include <optional>

class ZADSlot;

class ZADSlotAdKeyDelegate {
public:
    virtual ~ZADSlotAdKeyDelegate() = default;
    virtual void cacheViewHierarchyInformationForSlot(ZADSlot& slot) = 0;
    // What was taken down, sent with the request; nothing sends nothing.
    virtual std::optional<PlistValue::Dictionary>
    viewHierarchyInformationForSlot(ZADSlot& slot) = 0;
};
