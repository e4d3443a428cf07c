// Our ad server on a free loopback port for one test, on the bundled pages and inventory
// (or another inventory folder), recording its hits in a file of its own.
#pragma once

#include "adserver/AdServerThread.h"
#include "tests/support/TempFolder.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <sstream>
#include <vector>

class RunningAdServer {
public:
    static std::filesystem::path bundled(const char* folder) {
        return std::filesystem::path(MP_ADSERVER_DIR) / folder;
    }

    explicit RunningAdServer(std::filesystem::path inventory = bundled("inventory")) {
        auto started =
            AdServerThread::start({bundled("site"), inventory, folder_.file("hits.jsonl")});
        if (started.hasError()) {
            error_ = started.error()->localizedDescription();
            return;
        }
        server_ = std::move(started).value();
    }
    RunningAdServer(const RunningAdServer&) = delete;
    RunningAdServer& operator=(const RunningAdServer&) = delete;

    // Empty when the server runs; else why it does not.
    const std::string& error() const { return error_; }
    std::string baseURL() const { return server_->baseURL(); }
    // A client that follows no redirect, so tests see each hop.
    httplib::Client client() const {
        httplib::Client client(baseURL());
        client.set_keep_alive(false);
        return client;
    }

    // The hits file's lines, each decoded.
    std::vector<nlohmann::json> hits() const {
        std::vector<nlohmann::json> lines;
        std::istringstream file(TempFolder::read(folder_.file("hits.jsonl")));
        for (std::string line; std::getline(file, line);) {
            lines.push_back(nlohmann::json::parse(line, nullptr, false));
        }
        return lines;
    }

private:
    TempFolder folder_;
    std::string error_;
    std::unique_ptr<AdServerThread> server_;
};
