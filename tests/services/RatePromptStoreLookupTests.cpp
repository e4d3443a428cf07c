#include "platform/dispatch/GlobalThreadPool.h"
#include "platform/foundation/NSJSONSerialization.h"
#include "platform/foundation/NSURLError.h"
#include "platform/foundation/NSUserDefaults.h"
#include "services/rateprompt/RatePromptStoreLookup.h"
#include "tests/services/RatePromptTestFixture.h"
#include "tests/support/CapturedLog.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {
using RatePromptStoreLookupTest = RatePromptTestFixture;

const char* kBundleID = "com.mixphotos.collage";
const uint64_t kStoreID = 1187402256;

TEST_F(RatePromptStoreLookupTest, AnswersOfTheStore) {
    struct Case {
        const char* name;
        uint64_t configuredID;
        bool previewMode;
        LoopbackStore::Answer answer;
        const char* request;
        // The failure reported, or none.
        const char* domain;
        long code;
        const char* description;
        // Whether the waiting prompt went on (the delegate was asked).
        bool succeeded;
        uint64_t appStoreID;
        int64_t storedID;
        std::optional<std::string> latestVersion;
        std::optional<std::string> trackName;
    };
    const std::string byID = "/US/lookup?id=1187402256";
    const std::string byBundle = "/US/lookup?bundleId=com.mixphotos.collage";
    const std::string found = LoopbackStore::appAnswer(kBundleID, "1.9");
    const Case cases[] = {
        {"found by id",
         kStoreID,
         false,
         {200, found},
         byID.c_str(),
         nullptr,
         0,
         nullptr,
         true,
         kStoreID,
         0,
         "1.9",
         "MixPhotos Collage"},
        {"found by bundle id",
         0,
         false,
         {200, LoopbackStore::appAnswer(kBundleID, "1.9", 555)},
         byBundle.c_str(),
         nullptr,
         0,
         nullptr,
         true,
         555,
         555,
         "1.9",
         "MixPhotos Collage"},
        {"an older store version",
         kStoreID,
         false,
         {200, LoopbackStore::appAnswer(kBundleID, "1.8")},
         byID.c_str(),
         nullptr,
         0,
         nullptr,
         true,
         kStoreID,
         0,
         "1.8",
         "MixPhotos Collage"},
        {"bundle id mismatch",
         kStoreID,
         false,
         {200, LoopbackStore::appAnswer("com.other.app", "1.9")},
         byID.c_str(),
         RatePromptErrorDomain,
         1,
         "Application bundle ID does not match expected value of "
         "com.other.app",
         false,
         kStoreID,
         0,
         std::nullopt,
         std::nullopt},
        {"not found",
         kStoreID,
         false,
         {200, R"({"resultCount":0})"},
         byID.c_str(),
         RatePromptErrorDomain,
         2,
         "The application could not be found on the App Store.",
         false,
         kStoreID,
         0,
         std::nullopt,
         std::nullopt},
        {"not found, preview",
         kStoreID,
         true,
         {200, R"({"resultCount":0})"},
         byID.c_str(),
         nullptr,
         0,
         nullptr,
         true,
         kStoreID,
         0,
         std::nullopt,
         std::nullopt},
        {"empty results",
         kStoreID,
         false,
         {200, R"({"resultCount":0,"results":[]})"},
         byID.c_str(),
         RatePromptErrorDomain,
         2,
         "The application could not be found on the App Store.",
         false,
         kStoreID,
         0,
         std::nullopt,
         std::nullopt},
        {"an answer that is no object",
         kStoreID,
         false,
         {200, "[1,2]"},
         byID.c_str(),
         RatePromptErrorDomain,
         2,
         "The application could not be found on the App Store.",
         false,
         kStoreID,
         0,
         std::nullopt,
         std::nullopt},
        // Not on the store and no id: nothing to rate, nothing reported.
        {"not found, no id",
         0,
         false,
         {200, R"({"results":[]})"},
         byBundle.c_str(),
         nullptr,
         0,
         nullptr,
         false,
         0,
         0,
         std::nullopt,
         std::nullopt},
        {"a newer store version",
         kStoreID,
         false,
         {200, LoopbackStore::appAnswer(kBundleID, "1.10")},
         byID.c_str(),
         RatePromptErrorDomain,
         3,
         "Installed app is not the latest version available",
         false,
         kStoreID,
         0,
         "1.10",
         "MixPhotos Collage"},
        {"a newer store version, preview",
         kStoreID,
         true,
         {200, LoopbackStore::appAnswer(kBundleID, "1.10")},
         byID.c_str(),
         nullptr,
         0,
         nullptr,
         true,
         kStoreID,
         0,
         "1.10",
         "MixPhotos Collage"},
        {"HTTP 404",
         kStoreID,
         false,
         {404, "gone"},
         byID.c_str(),
         HTTPResponseErrorDomain,
         404,
         "The server returned a 404 error",
         false,
         kStoreID,
         0,
         std::nullopt,
         std::nullopt},
        {"HTTP 500",
         0,
         false,
         {500, found},
         byBundle.c_str(),
         HTTPResponseErrorDomain,
         500,
         "The server returned a 500 error",
         false,
         0,
         0,
         std::nullopt,
         std::nullopt},
        {"malformed JSON",
         kStoreID,
         false,
         {200, R"({"results":[{"bundleId":)"},
         byID.c_str(),
         NSCocoaErrorDomain,
         3840,
         "The data couldn’t be read because it isn’t in the correct format.",
         false,
         kStoreID,
         0,
         std::nullopt,
         std::nullopt},
    };
    auto defaults = NSUserDefaults::standardUserDefaults();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        defaults->removeObjectForKey("RatePromptAppStoreID");
        recorder->calls.clear();
        recorder->error = nullptr;
        recorder->shouldPrompt = false;
        store.setAnswer(c.answer);
        size_t asked = store.requests().size();
        auto fresh = makePrompt();
        fresh->setAppStoreID(c.configuredID);
        fresh->setPreviewMode(c.previewMode);
        fresh->promptIfNetworkAvailable();
        EXPECT_TRUE(fresh->storeLookup()->isInProgress());
        finishLookups();

        ASSERT_EQ(store.requests().size(), asked + 1);
        EXPECT_EQ(store.requests().back(), c.request);
        EXPECT_FALSE(fresh->storeLookup()->isInProgress());
        EXPECT_FALSE(fresh->checkingForPrompt());
        if (c.domain) {
            EXPECT_EQ(recorder->calls, std::vector<std::string>{"could not connect"});
            ASSERT_TRUE(recorder->error);
            EXPECT_EQ(recorder->error->domain(), c.domain);
            EXPECT_EQ(recorder->error->code(), c.code);
            EXPECT_EQ(recorder->error->localizedDescription(), c.description);
        } else {
            EXPECT_EQ(recorder->calls, c.succeeded ? std::vector<std::string>{"should prompt"}
                                                   : std::vector<std::string>{});
        }
        EXPECT_EQ(fresh->appStoreID(), c.appStoreID);
        EXPECT_EQ(defaults->integerForKey("RatePromptAppStoreID"), c.storedID);
        EXPECT_EQ(fresh->latestVersion(), c.latestVersion);
        EXPECT_EQ(fresh->appStoreTrackName(), c.trackName);
        EXPECT_EQ(fresh->appStoreGenreID(), c.trackName ? 6008u : 0u);
    }
}

// A hostile or broken service nests its answer 100,000 deep (200 KB): the lookup fails
// like any unreadable answer, on every launch, instead of overflowing a pool thread's stack.
TEST_F(RatePromptStoreLookupTest, DeeplyNestedAnswersFailTheLookup) {
    const size_t levels = 100000;
    const std::string nested = std::string(levels, '[') + std::string(levels, ']');
    const std::string answers[] = {nested, R"({"resultCount":1,"results":)" + nested + "}"};
    for (const auto& answer : answers) {
        recorder->calls.clear();
        recorder->error = nullptr;
        store.setAnswer({200, answer});
        auto fresh = makePrompt();
        fresh->setAppStoreID(kStoreID);
        fresh->promptIfNetworkAvailable();
        finishLookups();

        EXPECT_FALSE(fresh->storeLookup()->isInProgress());
        EXPECT_EQ(recorder->calls, std::vector<std::string>{"could not connect"});
        ASSERT_TRUE(recorder->error);
        EXPECT_EQ(recorder->error->domain(), NSCocoaErrorDomain);
        EXPECT_EQ(recorder->error->code(), NSPropertyListReadCorruptError);
        EXPECT_FALSE(fresh->latestVersion().has_value());
    }
}

// An answer longer than the parser takes is not downloaded whole to be refused: the load
// stops at the parser's limit and fails as too long.
TEST_F(RatePromptStoreLookupTest, AnAnswerLongerThanTheParserTakesIsNotReadToItsEnd) {
    std::string answer = R"({"resultCount":0,"results":[],"padding":")";
    answer.append(NSJSONSerialization::kMaxLength, ' ');
    answer += "\"}";
    store.setAnswer({200, answer});
    prompt->setAppStoreID(kStoreID);
    prompt->promptIfNetworkAvailable();
    finishLookups();
    ASSERT_TRUE(recorder->error);
    EXPECT_EQ(recorder->error->domain(), NSURLErrorDomain);
    EXPECT_EQ(recorder->error->code(), NSURLErrorDataLengthExceedsMaximum);
    EXPECT_FALSE(prompt->latestVersion().has_value());
    EXPECT_FALSE(prompt->checkingForPrompt());
}

TEST_F(RatePromptStoreLookupTest, ASlowStoreTimesOut) {
    store.setAnswer({200, LoopbackStore::appAnswer(kBundleID, "1.9"), true});
    prompt->setAppStoreID(kStoreID);
    EXPECT_EQ(prompt->storeLookup()->timeoutInterval(), 60.0);
    prompt->storeLookup()->setTimeoutInterval(0.2);
    prompt->promptIfNetworkAvailable();
    // The store holds its answer far longer than the lookup waits.
    finishLookups();
    ASSERT_TRUE(recorder->error);
    EXPECT_EQ(recorder->error->domain(), NSURLErrorDomain);
    EXPECT_EQ(recorder->error->code(), NSURLErrorTimedOut);
    EXPECT_FALSE(prompt->latestVersion().has_value());
    EXPECT_FALSE(prompt->checkingForPrompt());
}

TEST_F(RatePromptStoreLookupTest, PlainHttpOnlyForLoopbackHosts) {
    EXPECT_EQ(RatePromptStoreLookup::init()->baseURL(), "https://lookup.apps.store.example");
    const std::string port = std::to_string(LoopbackServer::closedPort());
    struct Case {
        std::string base;
        bool refused;
    };
    const Case cases[] = {
        {"http://127.0.0.1:" + port, false},
        {"http://127.1.2.3:" + port, false},
        {"http://localhost:" + port, false},
        {"http://LOCALHOST:" + port, false},
        {"http://[::1]:" + port, false},
        {"http://10.0.0.1:" + port, true},
        {"http://128.0.0.1:" + port, true},
        {"http://store.example:" + port, true},
        {"http://localhost.example", true},
        {"ftp://127.0.0.1:" + port, true},
        {"not a url", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.base);
        recorder->error = nullptr;
        auto fresh = makePrompt();
        fresh->setAppStoreID(kStoreID);
        fresh->storeLookup()->setBaseURL(c.base);
        CapturedLog log;
        fresh->promptIfNetworkAvailable();
        finishLookups();
        ASSERT_TRUE(recorder->error);
        EXPECT_EQ(recorder->error->domain(), NSURLErrorDomain);
        EXPECT_EQ(recorder->error->code() == NSURLErrorUnsupportedURL, c.refused)
            << recorder->error->description();
        if (c.refused) {
            // Said plainly, even when nobody waits for the lookup.
            EXPECT_NE(log.lines().front().find("RatePrompt"), std::string::npos);
            EXPECT_NE(log.lines().front().find(c.base), std::string::npos);
        }
        EXPECT_FALSE(fresh->checkingForPrompt());
    }
    EXPECT_TRUE(store.requests().empty());
}

TEST_F(RatePromptStoreLookupTest, OneLookupAtATime) {
    store.setAnswer({200, LoopbackStore::appAnswer(kBundleID, "1.9")});
    prompt->setAppStoreID(kStoreID);
    prompt->checkForConnectivityInBackground();
    prompt->checkForConnectivityInBackground();
    prompt->promptIfNetworkAvailable();
    EXPECT_EQ(GlobalThreadPool::shared().pendingTaskCount(), 1u);
    finishLookups();
    EXPECT_EQ(store.requests().size(), 1u);
    EXPECT_EQ(recorder->calls, (std::vector<std::string>{"should prompt", "did prompt"}));
    ASSERT_TRUE(shownAlert());
    EXPECT_TRUE(shownAlert()->tapButtonWithTitle("No, Thanks"));
    // Done: the next lookup runs.
    prompt->checkForConnectivityInBackground();
    finishLookups();
    EXPECT_EQ(store.requests().size(), 2u);
}

TEST_F(RatePromptStoreLookupTest, AnswerComesBackOnTheMainThreadFromAPoolThread) {
    // The pool's own threads, as in the program.
    GlobalThreadPool::shared().setManualStepping(false);
    store.setAnswer({200, LoopbackStore::appAnswer(kBundleID, "1.10", 555, 6014)});
    recorder->shouldPrompt = false;
    prompt->setAppStoreID(0);
    prompt->setOnlyPromptIfLatestVersion(false);
    prompt->promptIfNetworkAvailable();
    // Reading what the answer sets while the lookup runs: under ThreadSanitizer a write
    // from the pool's thread would show up here as a race.
    EXPECT_TRUE(prompt->checkingForPrompt());
    EXPECT_FALSE(prompt->latestVersion().has_value());
    EXPECT_FALSE(prompt->appStoreTrackName().has_value());
    EXPECT_EQ(prompt->appStoreGenreID(), 0u);
    environment.runUntilIdle();
    EXPECT_FALSE(prompt->checkingForPrompt());
    EXPECT_EQ(recorder->calls, std::vector<std::string>{"should prompt"});
    EXPECT_EQ(prompt->appStoreID(), 555u);
    EXPECT_EQ(prompt->appStoreGenreID(), 6014u);
    EXPECT_EQ(prompt->latestVersion(), "1.10");
    EXPECT_EQ(prompt->message().rfind("If you enjoy playing", 0), 0u);
    EXPECT_FALSE(prompt->storeLookup()->isInProgress());
}

TEST(RatePromptStoreLookup, KeyScanner) {
    struct Case {
        const char* name;
        const char* key;
        std::string json;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"a string", "version", R"({"version": "1.9", "x": 1})", "1.9"},
        {"a number comes back as text", "trackId", R"({"trackId": 1187402256, "x": 1})",
         "1187402256"},
        {"white space and line ends", "trackId", "{\"trackId\" :\n\t 42 \r\n, \"x\": 1}", "42"},
        {"a missing key", "version", R"({"versions": "1.9", "x": 1})", std::nullopt},
        {"the last member", "version", R"({"x": 1, "version": "1.9"})", std::nullopt},
        {"nested objects: the first occurrence", "bundleId",
         R"({"results":[{"bundleId":"com.mixphotos.collage","trackId":1}],"bundleId":"outer",)",
         "com.mixphotos.collage"},
        {"a value holding commas", "trackName", R"({"trackName": "Photos, Collage, More", "x": 1})",
         "Photos, Collage, More"},
        {"escaped quotes", "trackName", R"({"trackName": "The \"Best\" App", "x": 1})",
         R"(The "Best" App)"},
        {"an escaped quote before a comma", "trackName",
         R"({"trackName": "say \"hi\", then go", "x": 1})", R"(say "hi", then go)"},
        {"an escaped backslash ends the string", "path", R"({"path": "C:\\", "x": 1})", "C:\\"},
        {"unicode escapes", "trackName", R"({"trackName": "Caf\u00e9 \u6f22 \u20AC", "x": 1})",
         "Café 漢 €"},
        {"a surrogate pair", "trackName", R"({"trackName": "\ud83d\ude00!", "x": 1})", "😀!"},
        {"a lone surrogate", "trackName", R"({"trackName": "\ud83d!", "x": 1})", "\xEF\xBF\xBD!"},
        {"digits that are not hexadecimal", "t", R"({"t": "a\u12G4b", "x": 1})",
         std::string("a\0b", 3)},
        {"a short unicode tail stays", "t", R"({"t": "a\u12", "x": 1})", "a\\u12"},
        {"simple escapes", "t", R"({"t": "a\/b\n\r\t\f\b", "x": 1})", "a/b\n\r\t\f\b"},
        // Each escape is decoded once: an escaped backslash never starts another escape.
        {"an escaped backslash before n", "t", R"({"t": "C:\\new", "x": 1})", "C:\\new"},
        {"an escaped backslash before u", "t", R"({"t": "\\u0041", "x": 1})", "\\u0041"},
        {"an escaped backslash before a quote", "t", R"({"t": "\\\"", "x": 1})", "\\\""},
        {"an unterminated string stops at the last comma", "t", R"({"t": "open, "x": 1)", "open"},
        {"no colon", "t", R"({"t")", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RatePromptStoreLookup::valueForKeyInJSON(c.key, c.json), c.value) << c.name;
    }
}

TEST(RatePromptStoreLookup, ParsedDictionary) {
    auto json = nlohmann::json::parse(R"({"results":[{"trackId":42}],"n":null})");
    EXPECT_EQ(RatePromptStoreLookup::valueForKeyInJSON("results", json)[0]["trackId"], 42);
    EXPECT_TRUE(RatePromptStoreLookup::valueForKeyInJSON("missing", json).is_null());
    EXPECT_TRUE(RatePromptStoreLookup::valueForKeyInJSON("n", json).is_null());
    EXPECT_TRUE(RatePromptStoreLookup::valueForKeyInJSON("x", nlohmann::json::array()).is_null());
    EXPECT_TRUE(RatePromptStoreLookup::valueForKeyInJSON("x", nlohmann::json("text")).is_null());
}
} // namespace
