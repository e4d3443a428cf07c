// The engine's URL connection against our ad server: what it tells its delegate for each
// kind of answer, redirects offered one by one, and mediation answers served from memory
// for as long as their caching headers say.
#include "ads/core/ZADAd.h"
#include "ads/core/ZADAdFetcher.h"
#include "ads/core/ZADCachedURLResponse.h"
#include "ads/core/ZADRequestError.h"
#include "ads/core/ZADURLConnection.h"
#include "ads/core/ZADURLConnectionDelegate.h"
#include "adserver/AdServer.h"
#include "platform/base/NSRunLoop.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSError.h"
#include "platform/foundation/NSHTTPURLResponse.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLRequest.h"
#include "tests/adserver/RunningAdServer.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/ads/core/RecordingFetcherDelegate.h"

#include <gmock/gmock.h>

#include <functional>

namespace {

// Keeps what the connection told; answers its questions as set.
class RecordingConnectionDelegate : public ZADURLConnectionDelegate {
public:
    std::shared_ptr<NSError> connectionShouldRedirectToURL(ZADURLConnection&,
                                                           const std::shared_ptr<NSURL>&) override {
        return redirectRefusal;
    }
    void connectionLoadDidReceiveRedirectResponse(ZADURLConnection&,
                                                  const std::shared_ptr<NSURLResponse>&) override {
        ++redirects;
    }
    bool connectionLoadShouldUseCachedResponse(ZADURLConnection&,
                                               const std::shared_ptr<NSURLResponse>&) override {
        return cacheable;
    }
    void connectionLoadDidReceiveCachedResponse(ZADURLConnection&,
                                                const std::shared_ptr<NSURLResponse>&) override {
        ++cachedResponses;
    }
    void connectionLoadDidFinishBaseURL(ZADURLConnection&, const std::optional<std::string>& text,
                                        const std::shared_ptr<NSURL>& url) override {
        ++ends;
        finished = true;
        body = text;
        baseURL = url;
        if (onEnd) {
            onEnd();
        }
    }
    void connectionLoadDidFailHTTPStatusCode(ZADURLConnection&,
                                             const std::shared_ptr<NSError>& failure,
                                             long statusCode) override {
        ++ends;
        error = failure;
        status = statusCode;
        if (onEnd) {
            onEnd();
        }
    }

    std::shared_ptr<NSError> redirectRefusal;
    std::function<void()> onEnd;
    bool cacheable = false;
    int redirects = 0;
    int cachedResponses = 0;
    int ends = 0;
    bool finished = false;
    std::optional<std::string> body;
    std::shared_ptr<NSURL> baseURL;
    std::shared_ptr<NSError> error;
    long status = 0;
};

class URLConnectionOnAdServer : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(server.error(), ""); }

    std::string unitURL(const std::string& unit, const std::string& more = "") const {
        return server.baseURL() + AdServer::kAdPath + "?slotname=" + unit + more;
    }
    // One load of the URL on a fresh connection, to its end.
    std::shared_ptr<RecordingConnectionDelegate> load(const std::string& url,
                                                      bool cacheable = false) {
        auto delegate = std::make_shared<RecordingConnectionDelegate>();
        delegate->cacheable = cacheable;
        auto connection = ZADURLConnection::init();
        EXPECT_TRUE(connection->startWithRequestURLDelegateError(
            NSURLRequest::requestWithURL(NSURL::URLWithString(url)), delegate, nullptr));
        environment.runUntilIdle();
        EXPECT_EQ(delegate->ends, 1) << url;
        EXPECT_FALSE(connection->isInProgress());
        return delegate;
    }
    size_t hitsOf(const std::string& unit) const {
        size_t count = 0;
        for (const auto& hit : server.hits()) {
            count += hit["path"] == AdServer::kAdPath && hit["query"].value("slotname", "") == unit;
        }
        return count;
    }

    TaskEnvironment environment;
    RunningAdServer server;
};

TEST_F(URLConnectionOnAdServer, WholeAnswersOfAnyStatusFinishOnlyBrokenOrMissingOnesFail) {
    const struct {
        const char* unit;
        bool finished;
        long status; // when failed
    } cases[] = {
        {"default", true, 0},        {"empty", true, 0},     {"not-found", true, 0},
        {"internal-error", true, 0}, {"broken", false, 200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.unit);
        auto heard = load(unitURL(c.unit));
        EXPECT_EQ(heard->finished, c.finished);
        if (!c.finished) {
            EXPECT_EQ(heard->status, c.status);
            EXPECT_TRUE(heard->error);
        }
    }
    auto refused = load("http://127.0.0.1:1/ads?slotname=refused");
    EXPECT_FALSE(refused->finished);
    EXPECT_EQ(refused->status, -1);
    EXPECT_FALSE(load(unitURL("default"))->body->empty());
}

TEST_F(URLConnectionOnAdServer, EachRedirectIsOfferedAndARefusalEndsTheLoad) {
    auto followed = load(unitURL("redirects"));
    EXPECT_EQ(followed->redirects, 3);
    ASSERT_TRUE(followed->finished && followed->baseURL);
    EXPECT_THAT(followed->baseURL->absoluteString(), ::testing::HasSubstr("hop=3"));

    auto delegate = std::make_shared<RecordingConnectionDelegate>();
    delegate->redirectRefusal = makeError("Test", 7, "not there");
    auto connection = ZADURLConnection::init();
    connection->startWithRequestURLDelegateError(
        NSURLRequest::requestWithURL(NSURL::URLWithString(unitURL("redirects"))), delegate,
        nullptr);
    environment.runUntilIdle();
    EXPECT_EQ(delegate->ends, 1);
    EXPECT_EQ(delegate->redirects, 0);
    ASSERT_TRUE(delegate->error);
    EXPECT_EQ(delegate->error->code(), 7);
    EXPECT_EQ(delegate->status, -1);
    EXPECT_EQ(hitsOf("redirects"), 5u); // the first chain's four, the refused one's first only
}

TEST_F(URLConnectionOnAdServer, AStartWhileLoadingIsRefusedAndLeavesTheLoadAlone) {
    auto delegate = std::make_shared<RecordingConnectionDelegate>();
    auto connection = ZADURLConnection::init();
    ASSERT_TRUE(connection->startWithRequestURLDelegateError(
        NSURLRequest::requestWithURL(NSURL::URLWithString(unitURL("slow"))), delegate, nullptr));
    std::shared_ptr<NSError> error;
    EXPECT_FALSE(connection->startWithRequestURLDelegateError(
        NSURLRequest::requestWithURL(NSURL::URLWithString(unitURL("default"))), delegate, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), ZADRequestError::NetworkError);
    EXPECT_EQ(error->localizedDescription(), "Ignoring -- Currently loading " + unitURL("slow"));
    EXPECT_TRUE(connection->isInProgress());
    EXPECT_EQ(connection->sourceURL()->absoluteString(), unitURL("slow"));
    // Cancelled, the slow answer reaches no one.
    connection->cancel();
    environment.runUntilIdle();
    EXPECT_EQ(delegate->ends, 0);
    EXPECT_FALSE(connection->isInProgress());
}

TEST_F(URLConnectionOnAdServer, ACacheableAnswerIsServedFromMemoryWhileItsHeadersAllow) {
    // The first load stores; a later one of the same slot gets the kept answer instead of
    // the network's body (the request still goes out: only its answer says it is cacheable).
    auto first = load(unitURL("mediation"), true);
    EXPECT_EQ(first->cachedResponses, 0);
    auto second = load(unitURL("mediation", "&correlator=2"), true);
    EXPECT_EQ(second->cachedResponses, 1);
    EXPECT_EQ(second->body, first->body);
    EXPECT_EQ(second->baseURL->absoluteString(), first->baseURL->absoluteString());
    environment.fastForwardBy(60);
    EXPECT_EQ(load(unitURL("mediation"), true)->cachedResponses, 0); // expired, stored again
    EXPECT_EQ(load(unitURL("mediation"), true)->cachedResponses, 1);

    // Headers that forbid keeping, or a delegate that does not allow it: never served.
    load(unitURL("mediation-no-store"), true);
    EXPECT_EQ(load(unitURL("mediation-no-store"), true)->cachedResponses, 0);
    load(unitURL("html-cacheable"), false);
    EXPECT_EQ(load(unitURL("html-cacheable"), true)->cachedResponses, 0);
}

TEST_F(URLConnectionOnAdServer, AKeptAnswerIsServedOnTheHeadersWithoutWaitingForTheBody) {
    // The slow unit sends its headers at once and its body seconds later: the kept answer
    // is served, and the load is over, as soon as the headers are in.
    const auto url = NSURL::URLWithString(unitURL("slow"));
    const std::string kept = R"({"served_from":"memory"})";
    auto response = NSHTTPURLResponse::initWithURLStatusCodeHTTPVersionHeaderFields(
        url, 200, "HTTP/1.1", {{"Content-Type", "application/json"}});
    ZADURLConnection::memoryCache().setObjectForKey(
        ZADCachedURLResponse::initWithResponseDataExpirationDateDestinationURL(
            response, std::vector<uint8_t>(kept.begin(), kept.end()),
            NSDate::date().dateByAddingTimeInterval(60), url),
        ZADURLConnection::cacheKeyForURL(*url));
    // The main loop runs until the load ends: waiting for the load to go idle would wait
    // for the body.
    NSRunLoop& loop = NSRunLoop::mainRunLoop();
    auto heard = std::make_shared<RecordingConnectionDelegate>();
    heard->cacheable = true;
    heard->onEnd = [&loop] { loop.stop(); };
    auto connection = ZADURLConnection::init();
    ASSERT_TRUE(connection->startWithRequestURLDelegateError(NSURLRequest::requestWithURL(url),
                                                             heard, nullptr));
    loop.run();
    EXPECT_EQ(heard->cachedResponses, 1);
    EXPECT_EQ(heard->body, kept);
    EXPECT_FALSE(connection->isInProgress());
    EXPECT_EQ(hitsOf("slow"), 1u); // the request went out, its body was not waited for
}

TEST_F(URLConnectionOnAdServer, TheFetcherKeepsMediationAnswersOnly) {
    const auto fetch = [this](const std::string& unit) {
        auto delegate = std::make_shared<RecordingFetcherDelegate>();
        auto ad = ZADAd::init();
        ad->setAdURL(NSURL::URLWithString(unitURL(unit)));
        auto fetcher = ZADAdFetcher::init();
        fetcher->fetchRemainingContentForAdHeadersDelegateError(ad, std::nullopt, delegate,
                                                                nullptr);
        environment.runUntilIdle();
        return delegate;
    };
    auto connection = ZADURLConnection::init();
    for (const char* unit : {"mediation", "html-cacheable"}) {
        SCOPED_TRACE(unit);
        auto heard = fetch(unit);
        ASSERT_TRUE(heard->ad);
        EXPECT_FALSE(heard->error);
        const auto url = NSURL::URLWithString(unitURL(unit));
        const auto kept = connection->cachedResponseForURL(url);
        const bool mediation = heard->ad->responseType() == ZADAd::Mediation;
        EXPECT_EQ(kept != nullptr, mediation);
        std::string expected = heard->ad->adHTML();
        if (kept) {
            // The kept body marked, so only an answer from memory can carry it.
            expected = R"({"served_from":"memory"})";
            ZADURLConnection::memoryCache().setObjectForKey(
                ZADCachedURLResponse::initWithResponseDataExpirationDateDestinationURL(
                    kept->response(), std::vector<uint8_t>(expected.begin(), expected.end()),
                    kept->expirationDate(), kept->destinationURL()),
                ZADURLConnection::cacheKeyForURL(*url));
        }
        auto again = fetch(unit);
        ASSERT_TRUE(again->ad);
        EXPECT_EQ(again->ad->responseType(), heard->ad->responseType());
        EXPECT_EQ(again->ad->adHTML(), expected);
    }
}

} // namespace
