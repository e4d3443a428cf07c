// Told how each of a slot's loads ended: an ad to show, or the request error why not.
// Main thread.
#pragma once

#include <memory>

class NSError;
class ZADSlot;

class ZADSlotAdLoadDelegate {
public:
    virtual ~ZADSlotAdLoadDelegate() = default;
    virtual void slotFinishedLoadingAdContent(ZADSlot& slot) = 0;
    virtual void slotDidFailToLoadAdContentWithError(ZADSlot& slot,
                                                     const std::shared_ptr<NSError>& error) = 0;
};
