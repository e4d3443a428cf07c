#include "ads/signals/ZADSession.h"

#include <cstdint>
#include <cstring>
#include <random>
#include <sys/random.h>

std::shared_ptr<ZADSession> ZADSession::init() {
    auto session = make<ZADSession>();
    uint8_t bytes[8] = {};
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        // The kernel's source is always there on this system; should it fail, the
        // library's random device (itself backed by it) still gives a usable identifier.
        std::random_device source;
        for (auto& byte : bytes) {
            byte = static_cast<uint8_t>(source());
        }
    }
    uint64_t value = 0;
    std::memcpy(&value, bytes, sizeof value);
    session->uniqueID_ = std::to_string(value);
    return session;
}
