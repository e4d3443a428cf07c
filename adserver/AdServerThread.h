// Our ad server serving on a thread of its own, on a free loopback port, for programs that
// go on with other work meanwhile (tests, benchmarks); stopped, and its thread joined, when
// it goes.
#pragma once

#include "adserver/AdServer.h"

#include <memory>
#include <string>
#include <thread>

class AdServerThread {
public:
    // The server made on `configuration` and serving; what keeps it from serving else.
    static ErrorOr<std::unique_ptr<AdServerThread>>
    start(const AdServer::Configuration& configuration);
    ~AdServerThread();
    AdServerThread(const AdServerThread&) = delete;
    AdServerThread& operator=(const AdServerThread&) = delete;

    // scheme://host:port of the server.
    std::string baseURL() const { return server_->baseURL(); }

private:
    explicit AdServerThread(std::unique_ptr<AdServer> server);

    std::unique_ptr<AdServer> server_;
    std::thread thread_;
};
