// The engine's own requests: a GET unless a body comes with its type, the body's length
// counted in bytes, and the device's User-Agent over a given one.
#include "ads/core/NSURLRequest+ZADNSURLRequestUtilities.h"
#include "ads/signals/ZADDevice.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLRequest.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

namespace {

using ZADNSURLRequestUtilities::zad_requestForURLDataHeadersType;

TEST(URLRequestUtilitiesTest, OnlyABodyWithItsTypeMakesAPost) {
    TaskEnvironment environment;
    ZADDevice::sharedInstance()->setUserAgentString("DeviceAgent/1");
    const auto url = NSURL::URLWithString("https://ads.test/ad");
    const NSHTTPHeaderFields given{{"user-agent", "Given/0"}, {"X-Extra", "kept"}};
    const std::vector<uint8_t> body{'h', 0xc3, 0xa9, '!'}; // four bytes, three characters

    auto get = zad_requestForURLDataHeadersType(url, body, given, std::nullopt);
    ASSERT_TRUE(get);
    EXPECT_EQ(get->HTTPMethod(), "GET");
    EXPECT_TRUE(get->HTTPBody().empty());
    EXPECT_EQ(get->valueForHTTPHeaderField("Content-Length"), std::nullopt);
    EXPECT_EQ(get->valueForHTTPHeaderField("User-Agent"), "DeviceAgent/1");
    EXPECT_EQ(get->valueForHTTPHeaderField("X-Extra"), "kept");
    EXPECT_EQ(get->allHTTPHeaderFields().size(), 2u); // the given agent replaced, not added

    auto post = zad_requestForURLDataHeadersType(url, body, given, "text/plain; charset=utf-8");
    ASSERT_TRUE(post);
    EXPECT_EQ(post->HTTPMethod(), "POST");
    EXPECT_EQ(post->HTTPBody(), body);
    EXPECT_EQ(post->valueForHTTPHeaderField("Content-Length"), "4");
    EXPECT_EQ(post->valueForHTTPHeaderField("Content-Type"), "text/plain; charset=utf-8");

    EXPECT_FALSE(zad_requestForURLDataHeadersType(nullptr, body, given, "text/plain"));
}

} // namespace
