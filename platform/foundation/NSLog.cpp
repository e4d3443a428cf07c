#include "platform/foundation/NSLog.h"

#include <cstdio>
#include <mutex>

namespace {
std::mutex& logMutex() {
    static std::mutex mutex;
    return mutex;
}
std::function<void(const std::string&)>& logSink() {
    static std::function<void(const std::string&)> sink;
    return sink;
}
} // namespace

void NSLogLine(const std::string& line) {
    std::lock_guard lock(logMutex());
    if (logSink()) {
        logSink()(line);
        return;
    }
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

void NSLogSetSink(std::function<void(const std::string&)> sink) {
    std::lock_guard lock(logMutex());
    logSink() = std::move(sink);
}
