// The hits file: one JSON line per request the server answered (time, method, path, query,
// headers, body size, status), written before the answer leaves, so whoever got an answer
// finds its hit in the file. Shared by the server's worker threads.
#pragma once

#include "platform/foundation/ErrorOr.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <string>

class HitLog {
public:
    struct Hit {
        std::string method;
        std::string path;
        std::multimap<std::string, std::string> query;
        std::multimap<std::string, std::string> headers;
        size_t bodySize = 0;
        int status = 0;
    };

    // Appends to the file, made when missing; an empty path keeps no file.
    static ErrorOr<std::unique_ptr<HitLog>> open(const std::filesystem::path& path);

    void record(const Hit& hit);

private:
    HitLog() = default;

    std::mutex mutex_;
    std::ofstream file_;
};
