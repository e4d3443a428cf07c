// What the rating prompt tells its delegate. Every method is optional: the default bodies
// are what an absent method means (prompt and open the store: yes; everything else:
// nothing).
#pragma once

#include <memory>

class NSError;

class RatePromptDelegate {
public:
    virtual ~RatePromptDelegate() = default;
    virtual void RatePromptCouldNotConnectToAppStore(const std::shared_ptr<NSError>& error) {}
    virtual void RatePromptDidDetectAppUpdate() {}
    virtual bool RatePromptShouldPromptForRating() { return true; }
    virtual void RatePromptDidPromptForRating() {}
    virtual void RatePromptUserDidAttemptToRateApp() {}
    virtual void RatePromptUserDidDeclineToRateApp() {}
    virtual void RatePromptUserDidRequestReminderToRateApp() {}
    virtual bool RatePromptShouldOpenAppStore() { return true; }
    virtual void RatePromptDidOpenAppStore() {}
};
