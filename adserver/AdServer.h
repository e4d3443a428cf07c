// Our ad server: the core page the ad engine loads, ad answers from the inventory, the
// tracking and report endpoints, landing pages and the small pages and scripts ads use.
// Serves on one host (the loopback by default) and records every hit; tests run it
// in-process on a free port, the program `ad-server` is a thin main around it.
#pragma once

#include "adserver/HitLog.h"
#include "adserver/Inventory.h"
#include "platform/foundation/ErrorOr.h"

#include <condition_variable>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

class AdServer {
public:
    struct Configuration {
        // The folder of the pages and scripts (the core page, the native-ads page, the
        // MRAID script, the script creatives share, the landing page, the picture).
        std::filesystem::path site;
        std::filesystem::path inventory;
        // Empty: hits are not written anywhere.
        std::filesystem::path hits;
        std::string host = "127.0.0.1";
    };

    static constexpr const char* kCorePagePath = "/zmads/static/sdk/native/sdk-core-v40.html";
    static constexpr const char* kNativeAdsPagePath =
        "/zmads/static/mad/sdk/native/native_ads.html";
    static constexpr const char* kMRAIDFolder = "/zmads/static/mad/sdk/native/mraid/v2/";
    // Where the page's ad URLs point: the request's parameters travel in its query.
    static constexpr const char* kAdPath = "/ads";
    // How often a ping id may be asked to fail before it succeeds.
    static constexpr int kMaxPingFailures = 100;
    // How many ping ids the server keeps count of; a client inventing more is refused.
    static constexpr size_t kMaxPingIds = 10000;

    // Reads the site and the inventory and opens the hits file; the error says what is
    // missing or malformed.
    static ErrorOr<std::unique_ptr<AdServer>> create(const Configuration& configuration);
    ~AdServer();
    AdServer(const AdServer&) = delete;
    AdServer& operator=(const AdServer&) = delete;

    // Binds the port (0: a free one) and starts accepting connections; the answer is the
    // port. Connections wait until listen().
    ErrorOr<int> bind(int port);
    // Serves until stop() (at once when stop() came first); false when it could not serve.
    bool listen();
    // Stops serving from any thread; delayed answers are cut short.
    void stop();
    // scheme://host:port of the bound server.
    std::string baseURL() const;

private:
    AdServer() = default;

    void addRoutes();
    void answerAd(const httplib::Request& request, httplib::Response& response);
    void answerPing(const httplib::Request& request, httplib::Response& response);
    void answerToken(const httplib::Request& request, httplib::Response& response);
    void answerLanding(const httplib::Request& request, httplib::Response& response);
    // Waits up to that long, less when the server stops.
    void delay(int milliseconds);

    Configuration configuration_;
    std::unique_ptr<httplib::Server> server_;
    std::unique_ptr<Inventory> inventory_;
    std::unique_ptr<HitLog> hits_;
    std::map<std::string, std::string> site_;
    int port_ = 0;
    // The date of the site's files (HTTP dates count whole seconds).
    std::time_t startedAt_ = 0;

    std::mutex mutex_;
    // Told when stopping_, serving_ or listening_ changes.
    std::condition_variable changed_;
    bool stopping_ = false;
    // Between the start and the end of listen().
    bool listening_ = false;
    // From the moment the library's loop runs (and a stop reaches it).
    bool serving_ = false;
    // Whether the library's loop was told to stop, which it may be only once.
    bool stopCalled_ = false;
    // Failures still owed, by ping id.
    std::map<std::string, int> pingFailures_;
};
