#include "adserver/HitLog.h"

#include <nlohmann/json.hpp>

#include <chrono>

namespace {
// Names to values; a name given more than once holds the list of its values.
nlohmann::json pairsObject(const std::multimap<std::string, std::string>& pairs) {
    nlohmann::json object = nlohmann::json::object();
    for (const auto& [name, value] : pairs) {
        if (!object.contains(name)) {
            object[name] = value;
        } else {
            if (!object[name].is_array()) {
                object[name] = nlohmann::json::array({object[name]});
            }
            object[name].push_back(value);
        }
    }
    return object;
}
} // namespace

ErrorOr<std::unique_ptr<HitLog>> HitLog::open(const std::filesystem::path& path) {
    std::unique_ptr<HitLog> log(new HitLog);
    if (!path.empty()) {
        log->file_.open(path, std::ios::app | std::ios::binary);
        if (!log->file_) {
            return makeError("AdServerErrorDomain", 2,
                             "cannot write the hits file " + path.string());
        }
    }
    return log;
}

void HitLog::record(const Hit& hit) {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const nlohmann::json line = {
        {"time", std::chrono::duration_cast<std::chrono::milliseconds>(now).count() / 1000.0},
        {"method", hit.method},
        {"path", hit.path},
        {"query", pairsObject(hit.query)},
        {"headers", pairsObject(hit.headers)},
        {"body_size", hit.bodySize},
        {"status", hit.status},
    };
    // Requests may carry any bytes; the line replaces what is not UTF-8 rather than fail.
    const auto text = line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    std::lock_guard lock(mutex_);
    if (file_.is_open()) {
        file_ << text << '\n';
        file_.flush();
    }
}
