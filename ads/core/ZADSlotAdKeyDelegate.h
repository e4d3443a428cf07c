// Supplies what the slot's owner knows of its place in the view hierarchy; asked to take
// it down at the start of every load. Main thread.
#pragma once

class ZADSlot;

class ZADSlotAdKeyDelegate {
public:
    virtual ~ZADSlotAdKeyDelegate() = default;
    virtual void cacheViewHierarchyInformationForSlot(ZADSlot& slot) = 0;
};
