#include "services/advertise/AdServerHost.h"
#include "ads/render/ZADAdServer.h"
#include "ads/render/ZADSDKCoreWebView.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
TEST(AdServerHost, AHostThatDoesNotResolveTurnsAdsOffAndSaysSoOnce) {
    const struct {
        const char* baseURL;
        bool resolves;
        bool adsEnabled;
    } cases[] = {
        {ZADAdServer::kDefaultBaseURL, false, false},
        {"http://127.0.0.1:8080", true, true},
        {"https://ads.example:8443", false, false},
    };
    for (const auto& c : cases) {
        TaskEnvironment environment;
        AdServerHost::resetForTesting();
        auto host = AdServerHost::sharedInstance();
        host->setBaseURL(c.baseURL);
        std::vector<std::string> asked;
        host->setResolver([&asked, resolves = c.resolves](const std::string& name) {
            asked.push_back(name);
            return resolves;
        });
        std::vector<std::string> reports;
        const auto report = [&reports](const std::string& message) { reports.push_back(message); };
        host->checkOnce(report);
        // Until the answer is in, ads stay on.
        EXPECT_TRUE(host->adsEnabled());
        environment.runUntilIdle();
        host->checkOnce(report);
        environment.runUntilIdle();

        EXPECT_EQ(asked.size(), 1u) << c.baseURL;
        EXPECT_EQ(host->adsEnabled(), c.adsEnabled) << c.baseURL;
        ASSERT_EQ(reports.size(), c.adsEnabled ? 0u : 1u) << c.baseURL;
        if (!reports.empty()) {
            EXPECT_NE(reports[0].find(asked[0] + " does not resolve"), std::string::npos)
                << reports[0];
        }
    }
}

TEST(AdServerHost, TheProgramsServerIsWhereTheEngineLoadsItsCorePage) {
    const std::string path = ZADSDKCoreWebView::kSDKCorePagePath;
    EXPECT_EQ(AdServerHost::baseURL(), ZADAdServer::kDefaultBaseURL);
    EXPECT_EQ(ZADSDKCoreWebView::SDKCoreURLString(), ZADAdServer::kDefaultBaseURL + path);

    AdServerHost::sharedInstance()->setBaseURL("http://127.0.0.1:8080/");
    EXPECT_EQ(ZADSDKCoreWebView::SDKCoreURLString(), "http://127.0.0.1:8080" + path);
    EXPECT_EQ(AdServerHost::baseURL(), "http://127.0.0.1:8080");

    // A fresh program starts from the default again.
    AdServerHost::resetForTesting();
    EXPECT_EQ(ZADSDKCoreWebView::SDKCoreURLString(), ZADAdServer::kDefaultBaseURL + path);
}

TEST(AdServerHost, AnAnswerArrivingAfterTheHostWasDroppedChangesNothing) {
    TaskEnvironment environment{TaskEnvironment::GlobalQueues::Manual};
    int reports = 0;
    AdServerHost::sharedInstance()->setResolver([](const std::string&) { return false; });
    AdServerHost::sharedInstance()->checkOnce([&reports](const std::string&) { ++reports; });
    AdServerHost::resetForTesting();
    environment.runUntilIdle();
    EXPECT_EQ(reports, 0);
    EXPECT_TRUE(AdServerHost::sharedInstance()->adsEnabled());
}
} // namespace
