#include "platform/foundation/NSURLSession.h"

#include "platform/foundation/NSHTTPURLResponse.h"
#include "platform/foundation/NSMutableURLRequest.h"
#include "platform/foundation/NSURLError.h"
#include "tests/platform/foundation/LoopbackServer.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

struct Outcome {
    std::optional<Bytes> data;
    std::shared_ptr<NSHTTPURLResponse> response;
    std::shared_ptr<NSError> error;
    bool onDelegateQueue = false;
};

// Catches the completions of one task; shared with its handler, which may outlive a
// failed test.
class Completions {
public:
    NSURLSessionDataTask::CompletionHandler handler() {
        return [state = state_](std::optional<Bytes> data, std::shared_ptr<NSURLResponse> response,
                                std::shared_ptr<NSError> error) {
            bool onDelegateQueue =
                DispatchQueue::current() == NSURLSession::sharedSession()->delegateQueue();
            std::lock_guard lock(state->mutex);
            state->outcome = {std::move(data),
                              std::dynamic_pointer_cast<NSHTTPURLResponse>(response),
                              std::move(error), onDelegateQueue};
            ++state->calls;
        };
    }
    // The first completion, once the loads and the delegate queue went idle.
    Outcome wait(TaskEnvironment& environment) {
        environment.runUntilIdle();
        std::lock_guard lock(state_->mutex);
        EXPECT_GT(state_->calls, 0) << "the load went idle without completing";
        return state_->outcome;
    }
    int calls() const {
        std::lock_guard lock(state_->mutex);
        return state_->calls;
    }

private:
    struct State {
        std::mutex mutex;
        Outcome outcome;
        int calls = 0;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

// How many requests a route has seen; a test can wait for the next one to arrive.
class RequestCount {
public:
    void arrived() {
        std::lock_guard lock(mutex_);
        ++count_;
        changed_.notify_all();
    }
    void waitFor(int count) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return count_ >= count; });
    }
    int count() {
        std::lock_guard lock(mutex_);
        return count_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int count_ = 0;
};

Outcome load(TaskEnvironment& environment, const std::shared_ptr<NSURLRequest>& request) {
    Completions completions;
    NSURLSession::sharedSession()
        ->dataTaskWithRequestCompletionHandler(request, completions.handler())
        ->resume();
    return completions.wait(environment);
}

Outcome load(TaskEnvironment& environment, const std::string& url) {
    return load(environment, NSURLRequest::requestWithURL(NSURL::URLWithString(url)));
}

std::string failingURL(const NSError& error) {
    auto found = error.userInfo().find(NSErrorFailingURLStringKey);
    return found == error.userInfo().end() ? "" : found->second.stringValue();
}

void expectURLError(const Outcome& outcome, long code, const std::string& url) {
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->domain(), NSURLErrorDomain);
    EXPECT_EQ(outcome.error->code(), code) << outcome.error->description();
    EXPECT_EQ(failingURL(*outcome.error), url);
    EXPECT_FALSE(outcome.data.has_value());
    EXPECT_FALSE(outcome.response);
}

// The body limit while these tests run, small enough to go over it quickly.
constexpr size_t kTestMaximumBodySize = size_t{64} << 10;
constexpr size_t tooLarge = kTestMaximumBodySize + 1;

class NSURLSessionTest : public testing::Test {
protected:
    void SetUp() override {
        httplib::Server& routes = server_.server();
        routes.Get("/hello", [](const httplib::Request& request, httplib::Response& response) {
            response.set_header("X-Reply", request.get_header_value("X-Ask"));
            response.set_header("X-Injected", request.has_header("X-Injected") ? "yes" : "no");
            response.set_content("hello", "text/plain; charset=utf-8");
        });
        auto echo = [](const httplib::Request& request, httplib::Response& response) {
            response.set_header("X-Method", request.method);
            response.set_header("X-Content-Type", request.get_header_value("Content-Type"));
            response.set_content(request.body, "application/octet-stream");
        };
        routes.Post("/echo", echo);
        routes.Put("/echo", echo);
        routes.Get(
            R"(/status/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
                response.status = std::stoi(request.matches[1]);
                response.set_content("status " + std::string(request.matches[1]), "text/plain");
            });
        routes.Get(R"(/redirect/(\d+))", [](const httplib::Request& request,
                                            httplib::Response& response) {
            int left = std::stoi(request.matches[1]);
            response.set_redirect(left == 0 ? "/hello" : "/redirect/" + std::to_string(left - 1));
        });
        // Half the promised body, then the connection ends.
        routes.Get("/broken", [](const httplib::Request&, httplib::Response& response) {
            response.set_content_provider(10, "text/plain",
                                          [](size_t, size_t, httplib::DataSink& sink) {
                                              sink.write("half!", 5);
                                              return false;
                                          });
        });
        routes.Get("/loop", [](const httplib::Request&, httplib::Response& response) {
            response.set_redirect("/loop");
        });
        routes.Get("/slow", [this](const httplib::Request&, httplib::Response& response) {
            slowRequests_.arrived();
            server_.hold();
            response.set_content("late", "text/plain");
        });
        // One byte over the limit, with the length announced or sent in chunks.
        routes.Get("/large/announced", [](const httplib::Request&, httplib::Response& response) {
            response.set_content_provider(
                tooLarge, "application/octet-stream",
                [](size_t offset, size_t length, httplib::DataSink& sink) {
                    static const std::string block(1 << 12, 'x');
                    return sink.write(block.data(),
                                      std::min({length, block.size(), tooLarge - offset}));
                });
        });
        routes.Get("/large/chunked", [](const httplib::Request&, httplib::Response& response) {
            response.set_chunked_content_provider(
                "application/octet-stream", [](size_t offset, httplib::DataSink& sink) {
                    static const std::string block(1 << 12, 'x');
                    if (offset >= tooLarge) {
                        sink.done();
                        return true;
                    }
                    return sink.write(block.data(), std::min(block.size(), tooLarge - offset));
                });
        });
        ASSERT_TRUE(server_.start());
        NSURLSession::setMaximumBodySize(kTestMaximumBodySize);
    }

    Outcome load(const std::shared_ptr<NSURLRequest>& request) {
        return ::load(environment_, request);
    }
    Outcome load(const std::string& url) { return ::load(environment_, url); }

    TaskEnvironment environment_;
    LoopbackServer server_;
    RequestCount slowRequests_;
};

TEST_F(NSURLSessionTest, GetSendsHeaderFieldsAndReportsTheResponseOnTheDelegateQueue) {
    auto request = NSMutableURLRequest::requestWithURL(NSURL::URLWithString(server_.url("/hello")));
    request->setValueForHTTPHeaderField("question", "X-Ask");
    // Left out rather than sent as two fields.
    request->setValueForHTTPHeaderField("1\r\nX-Injected: 1", "X-Count");
    Completions completions;
    auto task = NSURLSession::sharedSession()->dataTaskWithRequestCompletionHandler(
        request, completions.handler());
    EXPECT_EQ(task->state(), NSURLSessionTaskState::Suspended);
    task->resume();
    Outcome outcome = completions.wait(environment_);

    EXPECT_FALSE(outcome.error);
    EXPECT_EQ(outcome.data, bytes("hello"));
    ASSERT_TRUE(outcome.response);
    EXPECT_EQ(outcome.response->statusCode(), 200);
    EXPECT_EQ(outcome.response->URL()->absoluteString(), server_.url("/hello"));
    EXPECT_EQ(outcome.response->valueForHTTPHeaderField("x-reply"), "question");
    EXPECT_EQ(outcome.response->valueForHTTPHeaderField("X-Injected"), "no");
    EXPECT_EQ(outcome.response->MIMEType(), "text/plain");
    EXPECT_EQ(outcome.response->textEncodingName(), "utf-8");
    EXPECT_TRUE(outcome.onDelegateQueue);
    EXPECT_EQ(task->state(), NSURLSessionTaskState::Completed);
    EXPECT_EQ(completions.calls(), 1);
}

TEST_F(NSURLSessionTest, SendsTheBodyWithTheMethod) {
    const Bytes body = {0, 1, 2, 0xff, 'a', 0};
    for (const char* method : {"POST", "PUT"}) {
        SCOPED_TRACE(method);
        auto request =
            NSMutableURLRequest::requestWithURL(NSURL::URLWithString(server_.url("/echo")));
        request->setHTTPMethod(method);
        request->setHTTPBody(body);
        request->setValueForHTTPHeaderField("application/x-test", "Content-Type");
        Outcome outcome = load(request);
        EXPECT_FALSE(outcome.error);
        EXPECT_EQ(outcome.data, body);
        ASSERT_TRUE(outcome.response);
        EXPECT_EQ(outcome.response->valueForHTTPHeaderField("X-Method"), method);
        EXPECT_EQ(outcome.response->valueForHTTPHeaderField("X-Content-Type"),
                  "application/x-test");
        EXPECT_EQ(outcome.response->expectedContentLength(), static_cast<long long>(body.size()));
    }
}

TEST_F(NSURLSessionTest, ErrorStatusesAreResponsesNotErrors) {
    for (int status : {404, 500}) {
        Outcome outcome = load(server_.url("/status/" + std::to_string(status)));
        EXPECT_FALSE(outcome.error) << status;
        ASSERT_TRUE(outcome.response);
        EXPECT_EQ(outcome.response->statusCode(), status);
        EXPECT_EQ(outcome.data, bytes("status " + std::to_string(status)));
    }
}

TEST_F(NSURLSessionTest, FollowsRedirectsUpToALimit) {
    Outcome outcome = load(server_.url("/redirect/3"));
    EXPECT_FALSE(outcome.error);
    ASSERT_TRUE(outcome.response);
    EXPECT_EQ(outcome.response->statusCode(), 200);
    EXPECT_EQ(outcome.response->URL()->absoluteString(), server_.url("/hello"));
    EXPECT_EQ(outcome.data, bytes("hello"));

    ASSERT_NO_FATAL_FAILURE(expectURLError(load(server_.url("/loop")),
                                           NSURLErrorHTTPTooManyRedirects, server_.url("/loop")));
}

// The status had arrived: the client can tell a lost body from a server that never
// answered.
TEST_F(NSURLSessionTest, ABodyBrokenOffFailsWithItsResponse) {
    Outcome outcome = load(server_.url("/broken"));
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->code(), NSURLErrorNetworkConnectionLost);
    EXPECT_FALSE(outcome.data.has_value());
    ASSERT_TRUE(outcome.response);
    EXPECT_EQ(outcome.response->statusCode(), 200);
}

TEST_F(NSURLSessionTest, ASilentServerTimesTheRequestOut) {
    auto request = NSURLRequest::requestWithURLCachePolicyTimeoutInterval(
        NSURL::URLWithString(server_.url("/slow")),
        NSURLRequestCachePolicy::ReloadIgnoringLocalCacheData, 0.3);
    Outcome outcome = load(request);
    ASSERT_NO_FATAL_FAILURE(expectURLError(outcome, NSURLErrorTimedOut, server_.url("/slow")));
    EXPECT_EQ(outcome.error->localizedDescription(), "The request timed out.");
    EXPECT_EQ(slowRequests_.count(), 1) << "the server was reached, and then said nothing";
}

TEST_F(NSURLSessionTest, AClosedPortCannotBeConnectedTo) {
    std::string url = "http://127.0.0.1:" + std::to_string(LoopbackServer::closedPort()) + "/";
    Outcome outcome = load(url);
    ASSERT_NO_FATAL_FAILURE(expectURLError(outcome, NSURLErrorCannotConnectToHost, url));
    EXPECT_EQ(outcome.error->localizedDescription(), "Could not connect to the server.");
}

TEST_F(NSURLSessionTest, RequestsThatCannotStartFailAtOnce) {
    struct Case {
        std::shared_ptr<NSURLRequest> request;
        long code;
        std::string failingURL;
    };
    const Case cases[] = {
        {nullptr, NSURLErrorBadURL, ""},
        {NSURLRequest::requestWithURL(NSURL::URLWithString("http://bad host/")), NSURLErrorBadURL,
         ""},
        {NSURLRequest::requestWithURL(NSURL::URLWithString("ftp://127.0.0.1:1/file")),
         NSURLErrorUnsupportedURL, "ftp://127.0.0.1:1/file"},
        {NSURLRequest::requestWithURL(NSURL::URLWithString("mailto:someone@example.com")),
         NSURLErrorUnsupportedURL, "mailto:someone@example.com"},
        // Tests reach this machine only: any other host is refused before it is resolved
        // or connected to (the address is one reserved for documentation).
        {NSURLRequest::requestWithURLCachePolicyTimeoutInterval(
             NSURL::URLWithString("http://192.0.2.1:9/"),
             NSURLRequestCachePolicy::ReloadIgnoringLocalCacheData, 1),
         NSURLErrorCannotFindHost, "http://192.0.2.1:9/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request ? NSDescription(c.request) : "null request");
        Outcome outcome = load(c.request);
        ASSERT_TRUE(outcome.error);
        EXPECT_EQ(outcome.error->code(), c.code) << outcome.error->description();
        EXPECT_EQ(failingURL(*outcome.error), c.failingURL);
        EXPECT_TRUE(outcome.onDelegateQueue);
    }
}

TEST_F(NSURLSessionTest, ACancelledLoadCompletesOnceAsCancelled) {
    Completions completions;
    auto task = NSURLSession::sharedSession()->dataTaskWithURLCompletionHandler(
        NSURL::URLWithString(server_.url("/slow")), completions.handler());
    task->resume();
    // Cancel only once the server is answering, so the load is really under way.
    slowRequests_.waitFor(1);
    task->cancel();
    task->cancel();
    const Outcome outcome = completions.wait(environment_);
    ASSERT_NO_FATAL_FAILURE(expectURLError(outcome, NSURLErrorCancelled, server_.url("/slow")));
    EXPECT_EQ(outcome.error->localizedDescription(), "cancelled");
    EXPECT_EQ(task->state(), NSURLSessionTaskState::Completed);

    // The server's late answer changes nothing.
    server_.release();
    environment_.runUntilIdle();
    EXPECT_EQ(completions.calls(), 1);
}

TEST_F(NSURLSessionTest, ATaskCancelledBeforeResumingNeverLoads) {
    Completions completions;
    auto task = NSURLSession::sharedSession()->dataTaskWithURLCompletionHandler(
        NSURL::URLWithString(server_.url("/slow")), completions.handler());
    task->cancel();
    ASSERT_NO_FATAL_FAILURE(
        expectURLError(completions.wait(environment_), NSURLErrorCancelled, server_.url("/slow")));
    task->resume();
    EXPECT_EQ(task->state(), NSURLSessionTaskState::Completed);
    environment_.runUntilIdle();
    EXPECT_EQ(completions.calls(), 1);
    EXPECT_EQ(slowRequests_.count(), 0);
}

TEST_F(NSURLSessionTest, BodiesOverTheLimitFail) {
    for (const char* path : {"/large/announced", "/large/chunked"}) {
        SCOPED_TRACE(path);
        Outcome outcome = load(server_.url(path));
        ASSERT_NO_FATAL_FAILURE(
            expectURLError(outcome, NSURLErrorDataLengthExceedsMaximum, server_.url(path)));
        EXPECT_EQ(outcome.error->localizedDescription(), "resource exceeds maximum size");
    }
}

// Clears the trusted test certificate however the test ends.
class TrustedTestCertificate {
public:
    TrustedTestCertificate() {
        NSURLSession::setAdditionalTrustedCertificatesFile(
            LoopbackServer::fixture("loopback-cert.pem"));
    }
    ~TrustedTestCertificate() { NSURLSession::setAdditionalTrustedCertificatesFile(""); }
};

TEST(NSURLSessionHTTPSTest, TheServerCertificateMustBeTrustedAndNameTheHost) {
    TaskEnvironment environment;
    auto load = [&environment](const std::string& url) { return ::load(environment, url); };
    LoopbackServer server(LoopbackServer::Scheme::HTTPS);
    server.server().Get("/hello", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("secret", "text/plain");
    });
    ASSERT_TRUE(server.start());

    Outcome untrusted = load(server.url("/hello"));
    ASSERT_NO_FATAL_FAILURE(
        expectURLError(untrusted, NSURLErrorServerCertificateUntrusted, server.url("/hello")));
    EXPECT_NE(untrusted.error->localizedDescription().find("\u201c127.0.0.1\u201d"),
              std::string::npos);
    {
        TrustedTestCertificate trusted;
        Outcome outcome = load(server.url("/hello"));
        EXPECT_FALSE(outcome.error) << NSDescription(outcome.error);
        EXPECT_EQ(outcome.data, bytes("secret"));
        // The certificate names 127.0.0.1 only.
        EXPECT_NO_FATAL_FAILURE(expectURLError(load(server.url("/hello", "localhost")),
                                               NSURLErrorServerCertificateUntrusted,
                                               server.url("/hello", "localhost")));
    }
    EXPECT_NO_FATAL_FAILURE(expectURLError(
        load(server.url("/hello")), NSURLErrorServerCertificateUntrusted, server.url("/hello")));
}

} // namespace
