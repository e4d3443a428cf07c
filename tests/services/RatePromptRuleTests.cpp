#include "services/rateprompt/RatePromptRule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

using Decision = RatePromptRule::Decision;
constexpr double kDay = RatePromptRule::kSecondsPerDay;
const NSDate kNow{8e8};

NSDate daysAgo(double days) {
    return kNow.dateByAddingTimeInterval(-days * kDay);
}

// Ten uses and ten events over exactly the ten days the default settings wait: the last
// moment nothing holds the prompt back.
RatePromptRule ready() {
    RatePromptRule rule;
    rule.counters.uses = 10;
    rule.counters.events = 10;
    rule.counters.firstUsed = daysAgo(10);
    rule.now = kNow;
    return rule;
}

TEST(RatePromptRule, Decisions) {
    struct Case {
        const char* name;
        std::function<void(RatePromptRule&)> change;
        Decision expected;
    };
    const Case cases[] = {
        {"ready", [](auto&) {}, Decision::Prompt},
        // Uses or events.
        {"enough uses alone", [](auto& r) { r.counters.events = 0; }, Decision::Prompt},
        {"enough events alone", [](auto& r) { r.counters.uses = 0; }, Decision::Prompt},
        {"one short of both",
         [](auto& r) {
             r.counters.uses = 9;
             r.counters.events = 9;
         },
         Decision::TooFewUsesAndEvents},
        {"thresholds of zero",
         [](auto& r) {
             r.counters.uses = r.counters.events = 0;
             r.settings.usesUntilPrompt = 0;
             r.settings.eventsUntilPrompt = 0;
         },
         Decision::Prompt},
        // Days since the first use.
        {"a second too soon",
         [](auto& r) { r.counters.firstUsed = daysAgo(10).dateByAddingTimeInterval(1); },
         Decision::TooSoonAfterFirstUse},
        {"no first use counts as now", [](auto& r) { r.counters.firstUsed.reset(); },
         Decision::TooSoonAfterFirstUse},
        {"a first use still to come, without days to wait",
         [](auto& r) {
             r.settings.daysUntilPrompt = 0;
             r.counters.firstUsed = daysAgo(-1);
         },
         Decision::TooSoonAfterFirstUse},
        // Uses a week: ten in ten days are seven.
        {"too few uses a week", [](auto& r) { r.settings.usesPerWeekForPrompt = 7.01f; },
         Decision::TooFewUsesPerWeek},
        {"just enough uses a week",
         [](auto& r) {
             r.counters.uses = 14;
             r.counters.firstUsed = daysAgo(14);
             r.settings.usesPerWeekForPrompt = 7;
         },
         Decision::Prompt},
        {"uses in no time are an unbounded rate",
         [](auto& r) {
             r.settings.daysUntilPrompt = 0;
             r.settings.usesPerWeekForPrompt = 1e9f;
             r.counters.firstUsed = kNow;
         },
         Decision::Prompt},
        {"no uses in no time: a rate no threshold refuses",
         [](auto& r) {
             r.settings.daysUntilPrompt = 0;
             r.settings.usesPerWeekForPrompt = 5;
             r.counters.uses = 0;
             r.counters.firstUsed.reset();
         },
         Decision::Prompt},
        // Reminders.
        {"reminded half a day ago", [](auto& r) { r.counters.lastReminded = daysAgo(0.5); },
         Decision::RemindedRecently},
        {"reminded a whole period ago", [](auto& r) { r.counters.lastReminded = daysAgo(1); },
         Decision::Prompt},
        {"reminded within a longer period",
         [](auto& r) {
             r.settings.remindPeriod = 3;
             r.counters.lastReminded = daysAgo(2);
         },
         Decision::RemindedRecently},
        // Answers.
        {"rated this version",
         [](auto& r) {
             r.counters.ratedThisVersion = r.counters.ratedAnyVersion = true;
             r.settings.promptForNewVersionIfUserRated = true;
         },
         Decision::RatedThisVersion},
        {"rated an earlier version", [](auto& r) { r.counters.ratedAnyVersion = true; },
         Decision::RatedAnEarlierVersion},
        {"rated an earlier version, new versions asked",
         [](auto& r) {
             r.counters.ratedAnyVersion = true;
             r.settings.promptForNewVersionIfUserRated = true;
         },
         Decision::Prompt},
        {"declined", [](auto& r) { r.counters.declinedAnyVersion = true; }, Decision::Declined},
        // Several reasons: the first check that holds names the decision.
        {"rated and declined",
         [](auto& r) { r.counters.ratedThisVersion = r.counters.declinedAnyVersion = true; },
         Decision::RatedThisVersion},
        {"declined and too soon",
         [](auto& r) {
             r.counters.declinedAnyVersion = true;
             r.counters.firstUsed = kNow;
         },
         Decision::Declined},
        {"too soon and too few",
         [](auto& r) {
             r.counters.uses = r.counters.events = 0;
             r.counters.firstUsed = kNow;
         },
         Decision::TooSoonAfterFirstUse},
        {"too few and reminded",
         [](auto& r) {
             r.counters.uses = r.counters.events = 0;
             r.counters.lastReminded = kNow;
         },
         Decision::TooFewUsesAndEvents},
        {"too few a week and reminded",
         [](auto& r) {
             r.settings.usesPerWeekForPrompt = 8;
             r.counters.lastReminded = kNow;
         },
         Decision::TooFewUsesPerWeek},
        {"preview mode over everything",
         [](auto& r) {
             r.counters = {0, 0, kNow, kNow, true, true, true};
             r.settings.previewMode = true;
         },
         Decision::PromptInPreviewMode},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RatePromptRule rule = ready();
        c.change(rule);
        EXPECT_EQ(rule.decision(), c.expected);
    }
}

TEST(RatePromptRule, UsesPerWeek) {
    auto rate = [](uint64_t uses, std::optional<NSDate> firstUsed) {
        RatePromptRule rule;
        rule.counters.uses = uses;
        rule.counters.firstUsed = firstUsed;
        rule.now = kNow;
        return rule.usesPerWeek();
    };
    EXPECT_FLOAT_EQ(rate(1, daysAgo(14)), 0.5f);
    EXPECT_FLOAT_EQ(rate(2, daysAgo(-7)), -2.0f) << "a first use a week ahead";
    EXPECT_EQ(rate(3, std::nullopt), INFINITY) << "no first use counts as now";
    EXPECT_EQ(rate(3, kNow), INFINITY);
    EXPECT_TRUE(std::isnan(rate(0, kNow)));
}

} // namespace
