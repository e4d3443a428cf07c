// When the rating prompt may ask: a rule over what has been counted and answered so far,
// the prompt's settings and the current time, and nothing else. RatePrompt reads the
// counters from the user defaults and asks the rule.
#pragma once

#include "platform/foundation/NSDate.h"

#include <cstdint>
#include <optional>

struct RatePromptRule {
    static constexpr double kSecondsPerDay = 86400.0;

    // What has been counted and answered since the counting period began.
    struct Counters {
        uint64_t uses = 0;
        // Significant events, as the application logs them.
        uint64_t events = 0;
        // The start of the counting period; none counts as now.
        std::optional<NSDate> firstUsed;
        // When the user last asked to be reminded, if ever.
        std::optional<NSDate> lastReminded;
        bool ratedThisVersion = false;
        bool ratedAnyVersion = false;
        bool declinedAnyVersion = false;
    };

    // The thresholds and switches the application sets.
    struct Settings {
        uint64_t usesUntilPrompt = 10;
        uint64_t eventsUntilPrompt = 10;
        float daysUntilPrompt = 10.0f;
        float usesPerWeekForPrompt = 0.0f;
        // Days a reminder holds the prompt back.
        float remindPeriod = 1.0f;
        bool promptForNewVersionIfUserRated = false;
        // Prompts whatever the counters say.
        bool previewMode = false;
    };

    // Either way the prompt goes, or the first check that holds it back, in the order
    // they are made.
    enum class Decision {
        Prompt,
        PromptInPreviewMode,
        RatedThisVersion,
        RatedAnEarlierVersion,
        Declined,
        TooSoonAfterFirstUse,
        TooFewUsesAndEvents,
        TooFewUsesPerWeek,
        RemindedRecently,
    };

    Counters counters;
    Settings settings;
    NSDate now;

    Decision decision() const;
    // Uses a week since the first use. In no time at all any use is an unbounded rate and
    // none no rate (a NaN, which no threshold refuses); a first use still to come (after
    // an update) gives a negative rate.
    float usesPerWeek() const;
};
