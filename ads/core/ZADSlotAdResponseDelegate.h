// May veto or take over a fetched response before the slot renders it: NO without an
// error means the delegate has taken the ad; an error fails the load with it. Main thread.
#pragma once

#include <memory>

class NSError;
class ZADAd;
class ZADSlot;

class ZADSlotAdResponseDelegate {
public:
    virtual ~ZADSlotAdResponseDelegate() = default;
    virtual bool slotShouldProcessAdResponseError(ZADSlot& slot, const std::shared_ptr<ZADAd>& ad,
                                                  std::shared_ptr<NSError>& error) = 0;
};
