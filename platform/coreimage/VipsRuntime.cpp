#include "platform/coreimage/VipsRuntime.h"

#include "platform/foundation/NSLog.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vips/vips.h>

bool VipsRuntime::start() {
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        if (vips_init("mixphotos") != 0) {
            NSLog("image processing library failed to start: %s", vips_error_buffer());
            vips_error_clear();
            return;
        }
        vips_cache_set_max(0);
        // The library's worker count defaults to one per core, which is what a render
        // wants; the program's own pool shares the same cores.
        started = true;
    });
    return started;
}

namespace {
std::atomic<uint64_t>& handOffs() {
    static std::atomic<uint64_t> count{0};
    return count;
}
} // namespace

void VipsRuntime::handOver() {
    handOffs().fetch_add(1, std::memory_order_release);
}

void VipsRuntime::takeOver() {
    handOffs().load(std::memory_order_acquire);
}
