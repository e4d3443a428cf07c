// The memory cache's rules without a network: how long the caching headers let an answer
// live, the HTTP date forms, which URLs share an entry, and what leaves the cache.
#include "ads/core/NSHTTPURLResponse+ZADHeaderParser.h"
#include "ads/core/ZADCachedURLResponse.h"
#include "ads/core/ZADURLConnection.h"
#include "platform/foundation/NSHTTPURLResponse.h"
#include "platform/foundation/NSURL.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

namespace {

// The mock clock's now, 2026-01-01 00:00:00 GMT, in the HTTP date form.
constexpr const char* kNow = "Thu, 01 Jan 2026 00:00:00 GMT";
constexpr const char* kHourAgo = "Wed, 31 Dec 2025 23:00:00 GMT";

std::shared_ptr<NSHTTPURLResponse> responseWith(NSHTTPHeaderFields headers) {
    return NSHTTPURLResponse::initWithURLStatusCodeHTTPVersionHeaderFields(
        NSURL::URLWithString("http://127.0.0.1/ads"), 200, "HTTP/1.1", std::move(headers));
}

class URLConnectionCacheTest : public ::testing::Test {
protected:
    TaskEnvironment environment;
};

TEST_F(URLConnectionCacheTest, TheCachingHeadersGiveTheLifetime) {
    const struct {
        NSHTTPHeaderFields headers;
        std::optional<double> lifetime; // seconds from now; none: not kept
    } cases[] = {
        {{}, std::nullopt},
        {{{"Cache-Control", "max-age=60"}}, 60},
        {{{"Date", kNow}, {"Cache-Control", "public, max-age=60"}}, 60},
        {{{"Cache-Control", "max-age= 60"}}, 60},
        // A max-age counts from the answer's own date.
        {{{"Date", kHourAgo}, {"Cache-Control", "max-age=7200"}}, 3600},
        {{{"Cache-Control", "max-age=0"}}, std::nullopt},
        {{{"Cache-Control", "max-age=-5"}}, std::nullopt},
        {{{"Cache-Control", "no-store, max-age=60"}}, std::nullopt},
        {{{"Pragma", "no-cache"}, {"Cache-Control", "max-age=60"}}, std::nullopt},
        // Not exactly "no-cache": the pragma is no refusal.
        {{{"Pragma", "no-cache, x"}, {"Cache-Control", "max-age=60"}}, 60},
        // A max-age without a number falls back on Expires.
        {{{"Date", kNow},
          {"Cache-Control", "max-age=soon"},
          {"Expires", "Thu, 01 Jan 2026 00:02:00 GMT"}},
         120},
        // An Expires lifetime counts from now, whatever the answer's date.
        {{{"Date", kHourAgo}, {"Expires", "Thu, 01 Jan 2026 00:00:00 GMT"}}, 3600},
        {{{"Date", kNow}, {"Expires", kNow}}, std::nullopt},
        {{{"Date", kNow}, {"Expires", kHourAgo}}, std::nullopt},
        {{{"Expires", "tomorrow"}}, std::nullopt},
        // A date that does not read is now.
        {{{"Date", "yesterday"}, {"Cache-Control", "max-age=30"}}, 30},
    };
    for (const auto& c : cases) {
        std::string trace;
        for (const auto& [name, value] : c.headers) {
            trace += name + ": " + value + "; ";
        }
        SCOPED_TRACE(trace);
        const auto expiration = ZADHeaderParser::zad_expirationDate(*responseWith(c.headers));
        ASSERT_EQ(expiration.has_value(), c.lifetime.has_value());
        if (c.lifetime) {
            EXPECT_DOUBLE_EQ(expiration->timeIntervalSinceNow(), *c.lifetime);
        }
    }
}

TEST_F(URLConnectionCacheTest, HTTPDatesReadInTheirThreeForms) {
    const double expected =
        NSDate::dateWithTimeIntervalSince1970(784111777).timeIntervalSinceReferenceDate;
    for (const char* text : {"Sun, 06 Nov 1994 08:49:37 GMT", "Sun Nov  6 08:49:37 1994",
                             "Sunday, 06-Nov-94 08:49:37 GMT"}) {
        SCOPED_TRACE(text);
        const auto date = ZADHeaderParser::zad_dateFromHttpDateString(text);
        ASSERT_TRUE(date);
        EXPECT_EQ(date->timeIntervalSinceReferenceDate, expected);
    }
    for (const char* text : {"", "Sun, 06 Nov 1994 08:49:37", "Sun, 31 Feb 1994 08:49:37 GMT",
                             "Sun, 06 Nov 1994 25:49:37 GMT", "Sun, 06 Nov 1994 08:49:37 GMT tail",
                             "Sun, 06 Foo 1994 08:49:37 GMT"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ZADHeaderParser::zad_dateFromHttpDateString(text));
    }
}

TEST_F(URLConnectionCacheTest, AdURLsOfOneSlotShareAnEntryOtherURLsOnlyWhenEqual) {
    const auto key = [](const char* text) {
        return ZADURLConnection::cacheKeyForURL(*NSURL::URLWithString(text));
    };
    EXPECT_EQ(key("http://a.test/ads?slotname=u1&correlator=1"),
              key("http://a.test/ads?correlator=2&slotname=u1&x=y"));
    EXPECT_NE(key("http://a.test/ads?slotname=u1"), key("http://a.test/ads?slotname=u2"));
    EXPECT_NE(key("http://a.test/ads?slotname=u1"), key("http://b.test/ads?slotname=u1"));
    EXPECT_NE(key("http://a.test/ads?slotname=u1"), key("http://a.test/other?slotname=u1"));
    EXPECT_EQ(key("http://a.test/ads?n=1"), key("http://a.test/ads?n=1"));
    EXPECT_NE(key("http://a.test/ads?n=1"), key("http://a.test/ads?n=2"));
    EXPECT_EQ(key("http://a.test/ads").size(), 16u);
}

TEST_F(URLConnectionCacheTest, EntriesLeaveWhenTheyExpireOrBeyondTheCountLimit) {
    auto connection = ZADURLConnection::init();
    const auto store = [](int n, double lifetime) {
        auto url = NSURL::URLWithString("http://a.test/ads?slotname=u" + std::to_string(n));
        ZADURLConnection::memoryCache().setObjectForKey(
            ZADCachedURLResponse::initWithResponseDataExpirationDateDestinationURL(
                responseWith({}), std::vector<uint8_t>{'a'},
                NSDate::dateWithTimeIntervalSinceNow(lifetime), url),
            ZADURLConnection::cacheKeyForURL(*url));
        return url;
    };
    auto first = store(0, 10);
    ASSERT_TRUE(connection->cachedResponseForURL(first));
    environment.fastForwardBy(10);
    EXPECT_FALSE(connection->cachedResponseForURL(first)); // expired at its date
    EXPECT_FALSE(
        ZADURLConnection::memoryCache().objectForKey(ZADURLConnection::cacheKeyForURL(*first)));

    std::vector<std::shared_ptr<NSURL>> urls;
    for (int n = 1; n <= 26; ++n) {
        urls.push_back(store(n, 60));
    }
    int kept = 0;
    for (const auto& url : urls) {
        kept += connection->cachedResponseForURL(url) ? 1 : 0;
    }
    EXPECT_EQ(kept, 25);
    EXPECT_TRUE(connection->cachedResponseForURL(urls.back()));

    // Missing parts make no entry.
    EXPECT_FALSE(ZADCachedURLResponse::initWithResponseDataExpirationDateDestinationURL(
        responseWith({}), std::nullopt, NSDate::date(), nullptr));
    EXPECT_FALSE(ZADCachedURLResponse::initWithResponseDataExpirationDateDestinationURL(
        nullptr, std::vector<uint8_t>{}, NSDate::date(), nullptr));
    EXPECT_FALSE(ZADCachedURLResponse::initWithResponseDataExpirationDateDestinationURL(
        responseWith({}), std::vector<uint8_t>{}, std::nullopt, nullptr));
}

} // namespace
