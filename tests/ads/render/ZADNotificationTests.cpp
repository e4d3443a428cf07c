// zmsg messages: which URLs are messages, the name taken from the path, and the query's
// pieces by the parsing rules pages rely on; and dispatch by exact name through a
// handler's action table.
#include "ads/render/ZADNotification.h"
#include "ads/render/ZADZMSGHandler.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLRequest.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;

namespace {

using Parameters = ZADNotification::Parameters;

struct ParsingCase {
    const char* url;
    const char* name; // null: no message
    Parameters parameters;
};

class NotificationParsingTest : public ::testing::TestWithParam<ParsingCase> {};

TEST_P(NotificationParsingTest, ParsesTheURL) {
    const ParsingCase& c = GetParam();
    auto url = NSURL::URLWithString(c.url);
    ASSERT_TRUE(url) << c.url;
    auto notification = ZADNotification::initWithNotificationURL(url);
    if (!c.name) {
        EXPECT_FALSE(notification) << notification->description();
        return;
    }
    ASSERT_TRUE(notification);
    EXPECT_EQ(notification->name(), c.name);
    EXPECT_EQ(notification->parameters(), c.parameters);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NotificationParsingTest,
    ::testing::Values(
        // Any host; values decoded.
        ParsingCase{"zmsg://any.host/loadAdURL?request_id=7&url=a%20b",
                    "loadAdURL",
                    {{"request_id", "7"}, {"url", "a b"}}},
        ParsingCase{"ZMSG://x/open?a=1", "open", {{"a", "1"}}},
        ParsingCase{"zMsG://x/open", "open", {}}, ParsingCase{"zmsg://x", nullptr, {}},
        ParsingCase{"zmsg://x/", nullptr, {}}, ParsingCase{"zmsg://x?a=1", nullptr, {}},
        ParsingCase{"http://x/loadAdURL?a=1", nullptr, {}},
        // The path is decoded; a trailing slash is not part of the name.
        ParsingCase{"zmsg://x/load%41d", "loadAd", {}},
        ParsingCase{"zmsg://x/loadAd/", "loadAd", {}},
        // Pieces split at & and ;, only those with exactly one "=" count.
        ParsingCase{"zmsg://x/m?a=1;b=2&c", "m", {{"a", "1"}, {"b", "2"}}},
        ParsingCase{"zmsg://x/m?a=b=c", "m", {}},
        ParsingCase{"zmsg://x/m?a=b=c&d=e", "m", {{"d", "e"}}},
        ParsingCase{"zmsg://x/m?&&;", "m", {}},
        ParsingCase{"zmsg://x/m?a=&=b", "m", {{"a", ""}, {"", "b"}}},
        // Names keep their case.
        ParsingCase{"zmsg://x/m?Request_ID=3", "m", {{"Request_ID", "3"}}},
        ParsingCase{"zmsg://x/m?a=1&A=2", "m", {{"a", "1"}, {"A", "2"}}},
        // "+" is not a blank; escapes of & ; = stay inside their piece.
        ParsingCase{"zmsg://x/m?q=a+b", "m", {{"q", "a+b"}}},
        ParsingCase{"zmsg://x/m?q=a%2Bb%26c%3Bd%3De", "m", {{"q", "a+b&c;d=e"}}},
        // UTF-8 decodes; bytes that are not UTF-8 drop their piece only.
        ParsingCase{"zmsg://x/m?t=%C3%A9t%C3%A9", "m", {{"t", "\xC3\xA9t\xC3\xA9"}}},
        ParsingCase{"zmsg://x/m?bad=%FF&ok=1", "m", {{"ok", "1"}}},
        ParsingCase{"zmsg://x/m?%C3=1&ok=2", "m", {{"ok", "2"}}},
        // A later piece replaces an earlier one.
        ParsingCase{"zmsg://x/m?a=1&a=2;a=3", "m", {{"a", "3"}}},
        // The fragment is not part of the query.
        ParsingCase{"zmsg://x/m?a=1#b=2", "m", {{"a", "1"}}}));

TEST(NotificationTest, ANameIsRequiredAndTheDescriptionShowsNameAndParameters) {
    EXPECT_FALSE(ZADNotification::initWithNameParameters("", {{"a", "1"}}));
    auto notification = ZADNotification::initWithNameParameters("open", {{"u", "x y"}});
    ASSERT_TRUE(notification);
    std::string description = notification->description();
    EXPECT_THAT(description, ::testing::StartsWith("<ZADNotification: 0x"));
    EXPECT_THAT(description, ::testing::HasSubstr("> name:open parameters:{"));
    EXPECT_THAT(description, ::testing::HasSubstr("\"x y\""));
}

TEST(NotificationTest, OnlyTheZmsgSchemeMakesMessages) {
    EXPECT_TRUE(ZADNotification::isNotificationURL(NSURL::URLWithString("zmsg://a/b")));
    EXPECT_TRUE(ZADNotification::isNotificationURL(NSURL::URLWithString("Zmsg://a/b")));
    EXPECT_FALSE(ZADNotification::isNotificationURL(NSURL::URLWithString("zmsgs://a/b")));
    EXPECT_FALSE(ZADNotification::isNotificationURL(NSURL::URLWithString("https://a/b")));
    EXPECT_FALSE(ZADNotification::isNotificationURL(nullptr));
}

// A handler whose table logs each action with the parameters it got.
class LoggingHandler : public ZADZMSGHandler {
    NS_OBJECT(LoggingHandler)
public:
    static std::shared_ptr<LoggingHandler> init() { return make<LoggingHandler>(); }
    const ActionTable& actionBlockDictionary() const override {
        static const ActionTable table = {{"open", action(&LoggingHandler::open)}};
        return table;
    }
    std::vector<Parameters> opened;

private:
    LoggingHandler() = default;
    void open(const std::shared_ptr<ZADAdView>&, const Parameters& parameters) {
        opened.push_back(parameters);
    }
};

TEST(ZMSGHandlerTest, RunsTheActionOfTheExactNameAndAnswersWhetherItHadOne) {
    auto handler = LoggingHandler::init();
    auto request = [](const char* url) {
        return NSURLRequest::requestWithURL(NSURL::URLWithString(url));
    };
    EXPECT_TRUE(handler->handleRequestAdView(request("zmsg://x/open?u=1"), nullptr));
    EXPECT_FALSE(handler->handleRequestAdView(request("zmsg://x/Open?u=2"), nullptr));
    EXPECT_FALSE(handler->handleRequestAdView(request("zmsg://x/close?u=3"), nullptr));
    EXPECT_FALSE(handler->handleRequestAdView(request("https://x/open?u=4"), nullptr));
    EXPECT_FALSE(handler->handleRequestAdView(request("zmsg://x/"), nullptr));
    EXPECT_FALSE(handler->handleRequestAdView(nullptr, nullptr));
    EXPECT_THAT(handler->opened, ElementsAre(ElementsAre(Pair("u", "1"))));
}

} // namespace
