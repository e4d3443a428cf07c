#include "platform/foundation/NSURLConnection.h"

#include "platform/base/NSThread.h"
#include "platform/foundation/NSHTTPURLResponse.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSURLError.h"
#include "tests/platform/foundation/LoopbackServer.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

struct SynchronousOutcome {
    std::optional<Bytes> data;
    std::shared_ptr<NSURLResponse> response;
    std::shared_ptr<NSError> error;
};

SynchronousOutcome loadSynchronously(const std::string& url) {
    SynchronousOutcome outcome;
    outcome.data = NSURLConnection::sendSynchronousRequestReturningResponseError(
        NSURLRequest::requestWithURL(NSURL::URLWithString(url)), &outcome.response, &outcome.error);
    return outcome;
}

// Catches the log lines written while it lives.
class LogLines {
public:
    LogLines() {
        NSLogSetSink([this](const std::string& line) {
            std::lock_guard lock(mutex_);
            lines_.push_back(line);
        });
    }
    ~LogLines() { NSLogSetSink(nullptr); }
    std::vector<std::string> lines() {
        std::lock_guard lock(mutex_);
        return lines_;
    }

private:
    std::mutex mutex_;
    std::vector<std::string> lines_;
};

class NSURLConnectionTest : public testing::Test {
protected:
    void SetUp() override {
        server_.server().Get("/hello", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("hello", "text/plain");
        });
        server_.server().Get("/missing", [](const httplib::Request&, httplib::Response& response) {
            response.status = 404;
            response.set_content("no such page", "text/plain");
        });
        ASSERT_TRUE(server_.start());
    }

    LoopbackServer server_;
};

TEST_F(NSURLConnectionTest, SynchronousLoadsBlockTheCallerUntilTheyEnd) {
    LogLines log;
    // Off the main thread, as production code must call it.
    SynchronousOutcome outcome = std::async(std::launch::async, [&] {
                                     return loadSynchronously(server_.url("/missing"));
                                 }).get();
    EXPECT_FALSE(outcome.error);
    EXPECT_EQ(outcome.data, bytes("no such page"));
    auto response = std::dynamic_pointer_cast<NSHTTPURLResponse>(outcome.response);
    ASSERT_TRUE(response);
    EXPECT_EQ(response->statusCode(), 404);

    std::string refused = "http://127.0.0.1:" + std::to_string(LoopbackServer::closedPort()) + "/";
    outcome = std::async(std::launch::async, [&] { return loadSynchronously(refused); }).get();
    EXPECT_FALSE(outcome.data.has_value());
    EXPECT_FALSE(outcome.response);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->code(), NSURLErrorCannotConnectToHost);
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(NSURLConnectionTest, ASynchronousLoadOnTheMainThreadIsLoggedButStillLoads) {
    TaskEnvironment environment;
    LogLines log;
    SynchronousOutcome outcome = loadSynchronously(server_.url("/hello"));
    EXPECT_EQ(outcome.data, bytes("hello"));
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_NE(log.lines()[0].find("main thread"), std::string::npos);
    EXPECT_NE(log.lines()[0].find(server_.url("/hello")), std::string::npos);
}

TEST_F(NSURLConnectionTest, AsynchronousLoadsCallTheHandlerOnTheGivenQueue) {
    TaskEnvironment environment;
    int calls = 0;
    bool onMainThread = false;
    std::optional<Bytes> data;
    NSURLConnection::sendAsynchronousRequestQueueCompletionHandler(
        NSURLRequest::requestWithURL(NSURL::URLWithString(server_.url("/hello"))),
        dispatch_get_main_queue(),
        [&](std::shared_ptr<NSURLResponse>, std::optional<Bytes> loaded, std::shared_ptr<NSError>) {
            ++calls;
            onMainThread = NSThread::isMainThread();
            data = std::move(loaded);
        });
    environment.runUntilIdle();
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(onMainThread);
    EXPECT_EQ(data, bytes("hello"));
}

} // namespace
