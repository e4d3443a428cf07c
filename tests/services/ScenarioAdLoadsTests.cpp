// The words of a scenario's "ad-load": which formats and sizes are taken, and what a
// refusal says.
#include "services/advertise/ScenarioAdLoads.h"

#include <gtest/gtest.h>

namespace {

TEST(ScenarioAdLoadsTest, TheFormatIsABannerOfASizeOrAnInterstitialThenTheUnit) {
    struct Case {
        std::vector<std::string> words;
        std::string problem; // empty: taken
    };
    const std::string badFormat =
        "the format is \"banner WxH\" or \"interstitial\", then the ad unit";
    const auto badSize = [](const std::string& size) {
        return "'" + size + "' is not a banner size WxH (sides of 1 to 10000 points)";
    };
    const Case cases[] = {
        {{"banner", "320x50", "unit"}, ""},
        {{"banner", "1x10000", "unit"}, ""},
        {{"interstitial", "unit"}, ""},
        {{"banner", "0x50", "unit"}, badSize("0x50")},
        {{"banner", "320x10001", "unit"}, badSize("320x10001")},
        {{"banner", "320X50", "unit"}, badSize("320X50")},
        {{"banner", "320x", "unit"}, badSize("320x")},
        {{"banner", "-3x50", "unit"}, badSize("-3x50")},
        {{"banner", "32.5x50", "unit"}, badSize("32.5x50")},
        {{"banner", "99999999999x50", "unit"}, badSize("99999999999x50")},
        {{"banner", "unit"}, badFormat},
        {{"interstitial", "320x50", "unit"}, badFormat},
        {{"native", "unit"}, badFormat},
    };
    for (const auto& c : cases) {
        const auto checked = ScenarioAdLoads::checkArguments(c.words);
        EXPECT_EQ(checked.hasError() ? checked.error()->localizedDescription() : "", c.problem)
            << c.words[0] << " " << c.words[1];
    }
}

} // namespace
