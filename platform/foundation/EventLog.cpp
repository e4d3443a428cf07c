#include "platform/foundation/EventLog.h"

#include <cstdio>
#include <mutex>

namespace {
struct State {
    std::mutex mutex;
    std::vector<std::string> entries;
    bool prints = false;
};
State& state() {
    static State s;
    return s;
}
} // namespace

void EventLog::record(const std::string& kind, const std::string& text) {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    std::string line = kind + ": " + text;
    if (s.prints) {
        std::fprintf(stdout, "%s\n", line.c_str());
        std::fflush(stdout);
    }
    s.entries.push_back(std::move(line));
}

std::vector<std::string> EventLog::entries() {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    return s.entries;
}

void EventLog::resetForTesting() {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.entries.clear();
    s.prints = false;
}

void EventLog::clear() {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.entries.clear();
}

void EventLog::setPrintsToStandardOutput(bool prints) {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.prints = prints;
}
