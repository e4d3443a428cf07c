#include "ads/signals/ZADLogger.h"

#include "ads/signals/ZADLogPrint.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ZADLoggerTest, PublicMessagesAreWrittenLaterWithThePrefixAndNothingElse) {
    TaskEnvironment environment(TaskEnvironment::GlobalQueues::Manual);
    CapturedLog log;
    auto logger = ZADLogger::sharedInstance();
    EXPECT_EQ(logger, ZADLogger::sharedInstance());
    // A message is text, not a format: its own directives are written as they are.
    logger->logPublicMessage("100% sure, %@ %d");
    EXPECT_TRUE(log.lines().empty()) << "the write is queued, the caller never waits";
    environment.runUntilIdle();
    EXPECT_EQ(log.lines(), std::vector<std::string>{"<Zivido> 100% sure, %@ %d"});
}

TEST(ZADLoggerTest, LinesOfOneThreadKeepTheirOrder) {
    TaskEnvironment environment;
    CapturedLog log;
    std::vector<std::string> expected;
    for (int i = 0; i < 50; ++i) {
        ZADLogPrint("line %d of %@", i, std::string("fifty"));
        expected.push_back("line " + std::to_string(i) + " of fifty");
    }
    environment.runUntilIdle();
    EXPECT_EQ(log.lines(), expected);
}

} // namespace
