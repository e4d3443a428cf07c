#include "platform/base/NSThread.h"

#include <atomic>
#include <thread>

namespace {
std::atomic<std::thread::id>& mainThreadId() {
    static std::atomic<std::thread::id> id{};
    return id;
}
} // namespace

bool NSThread::isMainThread() {
    return mainThreadId().load() == std::this_thread::get_id();
}

void NSThread::markCurrentThreadAsMain() {
    mainThreadId().store(std::this_thread::get_id());
}
