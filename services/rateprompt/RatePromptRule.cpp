#include "services/rateprompt/RatePromptRule.h"

#include <limits>

namespace {
constexpr double kSecondsPerWeek = 7 * RatePromptRule::kSecondsPerDay;
} // namespace

RatePromptRule::Decision RatePromptRule::decision() const {
    if (settings.previewMode) {
        return Decision::PromptInPreviewMode;
    }
    if (counters.ratedThisVersion) {
        return Decision::RatedThisVersion;
    }
    if (counters.ratedAnyVersion && !settings.promptForNewVersionIfUserRated) {
        return Decision::RatedAnEarlierVersion;
    }
    if (counters.declinedAnyVersion) {
        return Decision::Declined;
    }
    const double sinceFirstUse =
        counters.firstUsed ? now.timeIntervalSinceDate(*counters.firstUsed) : 0.0;
    if (sinceFirstUse < static_cast<double>(settings.daysUntilPrompt) * kSecondsPerDay) {
        return Decision::TooSoonAfterFirstUse;
    }
    // Enough uses or enough events will do.
    if (counters.uses < settings.usesUntilPrompt && counters.events < settings.eventsUntilPrompt) {
        return Decision::TooFewUsesAndEvents;
    }
    if (usesPerWeek() < settings.usesPerWeekForPrompt) {
        return Decision::TooFewUsesPerWeek;
    }
    if (counters.lastReminded && now.timeIntervalSinceDate(*counters.lastReminded) <
                                     static_cast<double>(settings.remindPeriod) * kSecondsPerDay) {
        return Decision::RemindedRecently;
    }
    return Decision::Prompt;
}

float RatePromptRule::usesPerWeek() const {
    const double weeks =
        counters.firstUsed ? now.timeIntervalSinceDate(*counters.firstUsed) / kSecondsPerWeek : 0.0;
    const double uses = static_cast<double>(counters.uses);
    if (weeks == 0.0) {
        return uses > 0.0 ? std::numeric_limits<float>::infinity()
                          : std::numeric_limits<float>::quiet_NaN();
    }
    return static_cast<float>(uses / weeks);
}
