// Where the engine finds its ad server: one base URL ("scheme://host[:port]"), from which
// every endpoint is made by its path. The program sets it from its options; until then it
// is our own example host, which does not resolve, so an engine left unset loads no ads.
// Main thread only.
#pragma once

#include <string>

class ZADAdServer {
public:
    static constexpr const char* kDefaultBaseURL = "https://ads.mixphotos.example";

    static const std::string& baseURL();
    // A trailing "/" is dropped, so that paths join with exactly one.
    static void setBaseURL(std::string baseURL);
    // The server's URL text for an absolute path ("/a/b").
    static std::string URLForPath(const std::string& path);

    // Back to the example host (between tests).
    static void resetForTesting();
};
