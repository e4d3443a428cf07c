#include "platform/foundation/NSURLConnection.h"

#include "platform/base/NSRunLoop.h"
#include "platform/base/NSThread.h"
#include "platform/foundation/NSHTTPURLResponse.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSMutableURLRequest.h"
#include "platform/foundation/NSURLError.h"
#include "tests/platform/foundation/LoopbackServer.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <functional>
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
        // /hop/N redirects to /hop/N-1 (relatively), /hop/0 to /hello.
        server_.server().Get(R"(/hop/(\d+))",
                             [](const httplib::Request& request, httplib::Response& response) {
                                 const int n = std::stoi(request.matches[1]);
                                 response.set_redirect(n == 0 ? "/hello" : std::to_string(n - 1));
                             });
        // Tells which credentials reached it.
        server_.server().Get("/credentials", [](const httplib::Request& request,
                                                httplib::Response& response) {
            response.set_content(request.get_header_value("Authorization") + "|" +
                                     request.get_header_value("Cookie"),
                                 "text/plain");
        });
        server_.server().Get("/to-credentials",
                             [](const httplib::Request&, httplib::Response& response) {
                                 response.set_redirect("/credentials");
                             });
        // The headers at once, the body only once the test lets it go.
        server_.server().Get("/held-body", [this](const httplib::Request&,
                                                  httplib::Response& response) {
            response.set_content_provider(4, "text/plain",
                                          [this](size_t, size_t, httplib::DataSink& sink) {
                                              server_.hold();
                                              return sink.write("late", 4);
                                          });
        });
        server_.server().Post("/form", [](const httplib::Request&, httplib::Response& response) {
            response.set_redirect("/hello", 303);
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

// Keeps what a delegate-driven connection told, in order.
class RecordingDataDelegate : public NSURLConnectionDataDelegate {
public:
    std::shared_ptr<NSURLRequest> connectionWillSendRequestRedirectResponse(
        NSURLConnection& connection, std::shared_ptr<NSURLRequest> request,
        const std::shared_ptr<NSURLResponse>& redirect) override {
        events.push_back((redirect ? "redirect " : "send ") + request->HTTPMethod() + " " +
                         request->URL()->path());
        if (redirect && cancelOnRedirect) {
            connection.cancel();
        }
        return redirect && refuseRedirects ? nullptr : request;
    }
    void connectionDidReceiveResponse(NSURLConnection& connection,
                                      const std::shared_ptr<NSURLResponse>& response) override {
        auto http = std::dynamic_pointer_cast<NSHTTPURLResponse>(response);
        events.push_back("response " + std::to_string(http ? http->statusCode() : 0));
        if (onResponse) {
            onResponse(connection);
        }
    }
    void connectionDidReceiveData(NSURLConnection&, const Bytes& data) override {
        events.push_back("data " + std::string(data.begin(), data.end()));
    }
    void connectionDidFinishLoading(NSURLConnection&) override {
        events.push_back("finish");
        if (onEnd) {
            onEnd();
        }
    }
    void connectionDidFailWithError(NSURLConnection&,
                                    const std::shared_ptr<NSError>& error) override {
        events.push_back("fail " + std::to_string(error->code()));
        if (onEnd) {
            onEnd();
        }
    }

    bool refuseRedirects = false;
    bool cancelOnRedirect = false;
    std::function<void(NSURLConnection&)> onResponse;
    std::function<void()> onEnd;
    std::vector<std::string> events;
};

TEST_F(NSURLConnectionTest, ADelegateIsOfferedEachRedirectThenHearsTheAnswer) {
    TaskEnvironment environment;
    const auto run = [&](std::shared_ptr<NSURLRequest> request,
                         std::shared_ptr<RecordingDataDelegate> delegate) {
        auto connection =
            NSURLConnection::initWithRequestDelegateStartImmediately(request, delegate, true);
        environment.runUntilIdle();
        return delegate->events;
    };
    const auto get = [&](const std::string& path) {
        return NSURLRequest::requestWithURL(NSURL::URLWithString(server_.url(path)));
    };
    using Events = std::vector<std::string>;
    EXPECT_EQ(run(get("/hop/1"), std::make_shared<RecordingDataDelegate>()),
              (Events{"send GET /hop/1", "redirect GET /hop/0", "redirect GET /hello",
                      "response 200", "data hello", "finish"}));
    // Not followed, the redirect's own answer ends the load.
    auto refusing = std::make_shared<RecordingDataDelegate>();
    refusing->refuseRedirects = true;
    EXPECT_EQ(run(get("/hop/0"), refusing),
              (Events{"send GET /hop/0", "redirect GET /hello", "response 302", "finish"}));
    // A 303 continues a POST as a GET.
    auto post = NSMutableURLRequest::requestWithURL(NSURL::URLWithString(server_.url("/form")));
    post->setHTTPMethod("POST");
    post->setHTTPBody(bytes("a=1"));
    EXPECT_EQ(
        run(post, std::make_shared<RecordingDataDelegate>()),
        (Events{"send POST /form", "redirect GET /hello", "response 200", "data hello", "finish"}));
    // Too long a chain fails; a cancelled load is silent; errors of the network are told.
    EXPECT_EQ(run(get("/hop/20"), std::make_shared<RecordingDataDelegate>()).back(),
              "fail " + std::to_string(NSURLErrorHTTPTooManyRedirects));
    auto cancelling = std::make_shared<RecordingDataDelegate>();
    cancelling->cancelOnRedirect = true;
    EXPECT_EQ(run(get("/hop/3"), cancelling), (Events{"send GET /hop/3", "redirect GET /hop/2"}));
    EXPECT_EQ(run(NSURLRequest::requestWithURL(NSURL::URLWithString(
                      "http://127.0.0.1:" + std::to_string(LoopbackServer::closedPort()) + "/")),
                  std::make_shared<RecordingDataDelegate>())
                  .back(),
              "fail " + std::to_string(NSURLErrorCannotConnectToHost));
    EXPECT_FALSE(NSURLConnection::initWithRequestDelegateStartImmediately(
        NSURLRequest::requestWithURL(nullptr), std::make_shared<RecordingDataDelegate>(), true));
}

TEST_F(NSURLConnectionTest, TheResponseIsToldBeforeItsBodyArrives) {
    TaskEnvironment environment;
    NSRunLoop& loop = NSRunLoop::mainRunLoop();
    // The main loop runs until the delegate stops it: waiting for the load to go idle would
    // wait for the body the test holds back.
    const auto run = [&](std::function<void(NSURLConnection&)> onResponse) {
        auto request =
            NSMutableURLRequest::requestWithURL(NSURL::URLWithString(server_.url("/held-body")));
        request->setTimeoutInterval(5); // a body never let go fails rather than hangs
        auto delegate = std::make_shared<RecordingDataDelegate>();
        delegate->onResponse = std::move(onResponse);
        delegate->onEnd = [&loop] { loop.stop(); };
        auto connection =
            NSURLConnection::initWithRequestDelegateStartImmediately(request, delegate, true);
        loop.run();
        environment.runUntilIdle();
        return delegate->events;
    };
    using Events = std::vector<std::string>;
    // Cancelled on its response, the load ends without the body ever being sent.
    EXPECT_EQ(run([&loop](NSURLConnection& connection) {
                  connection.cancel();
                  loop.stop();
              }),
              (Events{"send GET /held-body", "response 200"}));
    EXPECT_EQ(run([this](NSURLConnection&) { server_.release(); }),
              (Events{"send GET /held-body", "response 200", "data late", "finish"}));
}

TEST_F(NSURLConnectionTest, CredentialsFollowARedirectOnlyWhereTheyWereMeantToGo) {
    LoopbackServer other;
    other.server().Get("/away", [this](const httplib::Request&, httplib::Response& response) {
        response.set_redirect(server_.url("/credentials"));
    });
    ASSERT_TRUE(other.start());
    TaskEnvironment environment;
    const auto bodyFor = [&](const std::string& url) {
        auto request = NSMutableURLRequest::requestWithURL(NSURL::URLWithString(url));
        request->setValueForHTTPHeaderField("Bearer secret", "Authorization");
        request->setValueForHTTPHeaderField("session=1", "Cookie");
        auto delegate = std::make_shared<RecordingDataDelegate>();
        auto connection =
            NSURLConnection::initWithRequestDelegateStartImmediately(request, delegate, true);
        environment.runUntilIdle();
        return delegate->events.at(delegate->events.size() - 2);
    };
    EXPECT_EQ(bodyFor(server_.url("/to-credentials")), "data Bearer secret|session=1");
    // Same host, another port: another origin.
    EXPECT_EQ(bodyFor(other.url("/away")), "data |");
}

} // namespace
