#include "platform/foundation/NSHTTPURLResponse.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<NSHTTPURLResponse> responseWithFields(NSHTTPHeaderFields fields) {
    return NSHTTPURLResponse::initWithURLStatusCodeHTTPVersionHeaderFields(
        NSURL::URLWithString("http://example.com/"), 200, "HTTP/1.1", std::move(fields));
}

TEST(NSHTTPURLResponseTest, TypeAndEncodingComeFromContentType) {
    struct Case {
        std::optional<std::string> contentType;
        std::string mimeType, encoding;
    };
    const Case cases[] = {
        {"text/HTML; charset=\"UTF-8\"", "text/html", "UTF-8"},
        {"text/plain;format=flowed; Charset=iso-8859-1", "text/plain", "iso-8859-1"},
        {" application/json ", "application/json", ""},
        {std::nullopt, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.contentType.value_or("(none)"));
        NSHTTPHeaderFields fields;
        if (c.contentType) {
            fields["content-type"] = *c.contentType;
        }
        auto response = responseWithFields(fields);
        EXPECT_EQ(response->MIMEType(), c.mimeType);
        EXPECT_EQ(response->textEncodingName(), c.encoding);
    }
}

TEST(NSHTTPURLResponseTest, LengthComesFromContentLength) {
    const std::pair<std::optional<std::string>, long long> cases[] = {
        {"42", 42},
        {" 7 ", 7},
        {"", -1},
        {"12abc", -1},
        {"-3", -1},
        {"99999999999999999999", -1},
        {std::nullopt, NSURLResponseUnknownLength},
    };
    for (const auto& [value, length] : cases) {
        NSHTTPHeaderFields fields;
        if (value) {
            fields["Content-Length"] = *value;
        }
        EXPECT_EQ(responseWithFields(fields)->expectedContentLength(), length)
            << value.value_or("(none)");
    }
}

TEST(NSHTTPURLResponseTest, HeaderFieldsAreFoundWhateverTheCase) {
    auto response = NSHTTPURLResponse::initWithURLStatusCodeHTTPVersionHeaderFields(
        NSURL::URLWithString("http://example.com/"), 404, "HTTP/1.1", {{"X-Request-Id", "7"}});
    EXPECT_EQ(response->statusCode(), 404);
    EXPECT_EQ(response->valueForHTTPHeaderField("x-request-id"), "7");
    EXPECT_EQ(response->allHeaderFields().at("X-REQUEST-ID"), "7");
    EXPECT_EQ(response->valueForHTTPHeaderField("X-Other"), std::nullopt);
}

TEST(NSHTTPURLResponseTest, StatusCodesHaveShortPhrases) {
    const std::pair<long, const char*> cases[] = {
        {200, "no error"},     {404, "not found"},     {500, "internal server error"},
        {304, "not modified"}, {199, "informational"}, {299, "success"},
        {399, "redirected"},   {418, "client error"},  {599, "server error"},
    };
    for (const auto& [code, phrase] : cases) {
        EXPECT_EQ(NSHTTPURLResponse::localizedStringForStatusCode(code), phrase) << code;
    }
}

} // namespace
