// The ad loads a scenario starts ("ad-load banner 320x50 UNIT", "ad-load interstitial
// UNIT"): each one goes through a slot of its own, as an ad object of the app's screens
// loads, and is followed until the slot says how it ended. A scenario checks at its end
// that none is still under way. Main thread only.
#pragma once

#include "ads/core/ZADSlotAdLoadDelegate.h"
#include "platform/base/NSObject.h"
#include "platform/foundation/ErrorOr.h"

#include <memory>
#include <string>
#include <vector>

class ZADSlot;

inline constexpr const char* ScenarioAdLoadsErrorDomain = "ScenarioAdLoadsErrorDomain";

class ScenarioAdLoads : public NSObject, public ZADSlotAdLoadDelegate {
    NS_OBJECT(ScenarioAdLoads)
public:
    static constexpr const char* kUsage = "ad-load banner WxH|interstitial AD_UNIT";

    static std::shared_ptr<ScenarioAdLoads> sharedInstance();
    static void resetForTesting();

    // Whether the words are a format ("banner WxH", sides of 1 to 10000 points, or
    // "interstitial") followed by an ad unit; the error says what is wrong.
    static ErrorOr<void> checkArguments(const std::vector<std::string>& arguments);
    // Starts one load with a new slot; an error for words checkArguments refuses.
    ErrorOr<void> startLoad(const std::vector<std::string>& arguments);
    // An error naming every load that has not ended.
    ErrorOr<void> checkEveryLoadEnded() const;

    void slotFinishedLoadingAdContent(ZADSlot& slot) override;
    void slotDidFailToLoadAdContentWithError(ZADSlot& slot,
                                             const std::shared_ptr<NSError>& error) override;

private:
    ScenarioAdLoads() = default;

    void loadEnded(ZADSlot& slot);

    // Every slot started, kept for the run as a screen keeps its ad; and those whose load
    // has not ended.
    std::vector<std::shared_ptr<ZADSlot>> slots_;
    std::vector<ZADSlot*> running_;
};
