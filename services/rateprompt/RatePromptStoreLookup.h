// Asks the store's public lookup service about this app, off the main thread: whether the
// store can be reached, the app's store identifier, genre and name, and the latest version
// on sale. The answer comes back on the main thread; the background work only reads a
// copy of the settings it was given.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/NSError.h"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

inline constexpr const char* RatePromptErrorDomain = "RatePromptErrorDomain";
inline constexpr const char* HTTPResponseErrorDomain = "HTTPResponseErrorDomain";

// Codes of RatePromptErrorDomain.
enum : long {
    RatePromptErrorBundleIdDoesNotMatchAppStore = 1,
    RatePromptErrorApplicationNotFoundOnAppStore = 2,
    RatePromptErrorApplicationIsNotLatestVersion = 3,
};

class RatePromptStoreLookup : public NSObject {
    NS_OBJECT(RatePromptStoreLookup)
public:
    static constexpr const char* kDefaultBaseURL = "https://lookup.apps.store.example";
    static constexpr double kDefaultTimeoutInterval = 60.0;

    static std::shared_ptr<RatePromptStoreLookup> init() { return make<RatePromptStoreLookup>(); }
    static std::shared_ptr<RatePromptStoreLookup> alloc() { return init(); }

    // What to ask and how to judge the answer: the rating prompt's settings as they were
    // when the lookup started.
    struct Query {
        std::string country;
        // The configured identifier; 0 asks by bundle identifier instead.
        uint64_t appStoreID = 0;
        std::string bundleID;
        std::string applicationVersion;
        bool onlyPromptIfLatestVersion = true;
        bool previewMode = false;
        bool verboseLogging = false;
    };
    // What the answer taught. The other fields are meaningful only when `found` (the
    // store's answer was about this app); `trackID` only when asked by bundle identifier.
    struct Result {
        std::shared_ptr<NSError> error;
        bool found = false;
        std::optional<std::string> trackID;
        std::optional<uint64_t> genreID;
        std::optional<std::string> latestVersion;
        std::optional<std::string> trackName;
    };
    using Completion = std::function<void(const Result&)>;

    // scheme://host[:port]; the lookup's path follows it. Plain http is used only for
    // loopback hosts (127.0.0.0/8, localhost, ::1): a lookup against any other http base
    // fails without loading.
    const std::string& baseURL() const { return baseURL_; }
    void setBaseURL(std::string url) { baseURL_ = std::move(url); }
    double timeoutInterval() const { return timeoutInterval_; }
    void setTimeoutInterval(double seconds) { timeoutInterval_ = seconds; }

    // Main thread. Whether a lookup is running.
    bool isInProgress() const { return inProgress_; }
    // Main thread. Starts the lookup on a global queue and returns true; while one is in
    // progress starts nothing and returns false. The completion runs on the main thread
    // once the lookup is no longer in progress.
    bool startWithQueryCompletion(Query query, Completion completion);

    // The member `key` of a parsed object; null when absent or when `json` is no object.
    static nlohmann::json valueForKeyInJSON(const std::string& key, const nlohmann::json& json);
    // Scans raw JSON text for the first member named `key` and returns its value as text,
    // string escapes decoded (numbers come back as their digits). Nothing when the key is
    // missing or no comma follows its value (the last member of an object).
    static std::optional<std::string> valueForKeyInJSON(const std::string& key,
                                                        const std::string& json);

protected:
    RatePromptStoreLookup() = default;

private:
    std::string baseURL_ = kDefaultBaseURL;
    double timeoutInterval_ = kDefaultTimeoutInterval;
    bool inProgress_ = false;
};
