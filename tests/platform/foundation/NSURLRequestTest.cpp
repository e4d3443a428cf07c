#include "platform/foundation/NSMutableURLRequest.h"

#include <gtest/gtest.h>

namespace {

TEST(NSURLRequestTest, ARequestStartsAsAPlainGet) {
    auto url = NSURL::URLWithString("http://example.com/");
    auto request = NSURLRequest::requestWithURL(url);
    EXPECT_EQ(request->URL(), url);
    EXPECT_EQ(request->HTTPMethod(), "GET");
    EXPECT_TRUE(request->allHTTPHeaderFields().empty());
    EXPECT_TRUE(request->HTTPBody().empty());
    EXPECT_EQ(request->timeoutInterval(), 60);
    EXPECT_EQ(request->cachePolicy(), NSURLRequestCachePolicy::UseProtocolCachePolicy);

    auto reloading = NSMutableURLRequest::requestWithURLCachePolicyTimeoutInterval(
        url, NSURLRequestCachePolicy::ReloadIgnoringLocalCacheData, 2.5);
    EXPECT_EQ(reloading->timeoutInterval(), 2.5);
    EXPECT_EQ(reloading->cachePolicy(), NSURLRequestCachePolicy::ReloadIgnoringLocalCacheData);
}

TEST(NSURLRequestTest, HeaderFieldNamesIgnoreCase) {
    auto request = NSMutableURLRequest::requestWithURL(NSURL::URLWithString("http://h/"));
    request->setValueForHTTPHeaderField("text/plain", "Content-Type");
    request->setValueForHTTPHeaderField("text/html", "content-TYPE");
    EXPECT_EQ(request->valueForHTTPHeaderField("CONTENT-type"), "text/html");
    ASSERT_EQ(request->allHTTPHeaderFields().size(), 1u);
    EXPECT_EQ(request->allHTTPHeaderFields().begin()->first, "Content-Type");

    request->addValueForHTTPHeaderField("gzip", "Accept-Encoding");
    request->addValueForHTTPHeaderField("br", "accept-encoding");
    EXPECT_EQ(request->valueForHTTPHeaderField("Accept-Encoding"), "gzip,br");

    request->setValueForHTTPHeaderField(std::nullopt, "CONTENT-TYPE");
    EXPECT_EQ(request->valueForHTTPHeaderField("Content-Type"), std::nullopt);
    EXPECT_EQ(request->allHTTPHeaderFields().size(), 1u);
}

} // namespace
