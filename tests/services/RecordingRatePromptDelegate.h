// A rating-prompt delegate that records what it is told, in order.
#pragma once

#include "platform/foundation/NSError.h"
#include "services/rateprompt/RatePromptDelegate.h"

#include <memory>
#include <string>
#include <vector>

struct RecordingRatePromptDelegate : RatePromptDelegate {
    std::vector<std::string> calls;
    std::shared_ptr<NSError> error;
    bool shouldPrompt = true;

    void RatePromptCouldNotConnectToAppStore(const std::shared_ptr<NSError>& failure) override {
        calls.push_back("could not connect");
        error = failure;
    }
    bool RatePromptShouldPromptForRating() override {
        calls.push_back("should prompt");
        return shouldPrompt;
    }
    void RatePromptDidPromptForRating() override { calls.push_back("did prompt"); }
    void RatePromptUserDidAttemptToRateApp() override { calls.push_back("rate"); }
    void RatePromptUserDidDeclineToRateApp() override { calls.push_back("decline"); }
    void RatePromptUserDidRequestReminderToRateApp() override { calls.push_back("remind"); }
    void RatePromptDidOpenAppStore() override { calls.push_back("did open"); }
};
