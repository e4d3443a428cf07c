// The store's lookup service, played on 127.0.0.1 for one test: answers every
// "/<country>/lookup" request with the answer the test set, and records what was asked.
#pragma once

#include "tests/platform/foundation/LoopbackServer.h"

#include <mutex>
#include <string>
#include <vector>

class LoopbackStore {
public:
    struct Answer {
        int status = 200;
        std::string body;
        // Holds the answer back until the store goes away.
        bool slow = false;
    };

    LoopbackStore() {
        server_.server().Get(R"(/[^/]+/lookup)",
                             [this](const httplib::Request& request, httplib::Response& response) {
                                 Answer answer;
                                 {
                                     std::lock_guard lock(mutex_);
                                     std::string query;
                                     for (const auto& [name, value] : request.params) {
                                         query += (query.empty() ? "?" : "&") + name + "=" + value;
                                     }
                                     requests_.push_back(request.path + query);
                                     answer = answer_;
                                 }
                                 if (answer.slow) {
                                     server_.hold();
                                 }
                                 response.status = answer.status;
                                 response.set_content(answer.body, "application/json");
                             });
    }

    bool start() { return server_.start(); }
    // scheme://host:port, what the lookup takes as its base.
    std::string baseURL() const { return server_.url(""); }
    int port() const { return server_.port(); }

    void setAnswer(Answer answer) {
        std::lock_guard lock(mutex_);
        answer_ = std::move(answer);
    }
    // "/us/lookup?id=42", oldest first.
    std::vector<std::string> requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

    // An answer about one app, as the service gives it.
    static std::string appAnswer(const std::string& bundleId, const std::string& version,
                                 unsigned long trackId = 1187402256, int genre = 6008) {
        return R"({"resultCount":1,"results":[{"trackId":)" + std::to_string(trackId) +
               R"(,"bundleId":")" + bundleId + R"(","primaryGenreId":)" + std::to_string(genre) +
               R"(,"version":")" + version + R"(","trackName":"MixPhotos Collage"}]})";
    }

private:
    mutable std::mutex mutex_;
    Answer answer_;
    std::vector<std::string> requests_;
    // Last, so that it stops serving before the state its handler reads goes away.
    LoopbackServer server_;
};
