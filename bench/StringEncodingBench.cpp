// The engine's base64 (the alphabet-driven encoder) on 4 MB of bytes, encoding and
// decoding, each beside GLib's base64 doing the same work on the same bytes (counter
// "vsGLib": our time over its time).
#include "ads/signals/ZAD_ZTMStringEncoding.h"
#include "bench/SideBySide.h"

#include <benchmark/benchmark.h>
#include <glib.h>

#include <random>
#include <string>
#include <vector>

namespace {

constexpr size_t kBytes = 4 * 1024 * 1024;

const std::vector<uint8_t>& randomBytes() {
    static const std::vector<uint8_t> bytes = [] {
        std::vector<uint8_t> made(kBytes);
        std::mt19937 random(3161);
        for (auto& byte : made) {
            byte = static_cast<uint8_t>(random());
        }
        return made;
    }();
    return bytes;
}

template <class Ours, class Anchor>
void sideBySide(benchmark::State& state, Ours ours, Anchor anchor) {
    state.counters["vsGLib"] = timeSideBySide(state, ours, anchor);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}

void BM_Base64Encode(benchmark::State& state) {
    auto base64 = ZAD_ZTMStringEncoding::rfc4648Base64StringEncoding();
    const auto& bytes = randomBytes();
    sideBySide(
        state, [&] { benchmark::DoNotOptimize(base64->encode(bytes)); },
        [&] {
            gchar* text = g_base64_encode(bytes.data(), bytes.size());
            benchmark::DoNotOptimize(text);
            g_free(text);
        });
}
BENCHMARK(BM_Base64Encode)->Unit(benchmark::kMillisecond);

void BM_Base64Decode(benchmark::State& state) {
    auto base64 = ZAD_ZTMStringEncoding::rfc4648Base64StringEncoding();
    const std::string text = base64->encode(randomBytes());
    sideBySide(
        state, [&] { benchmark::DoNotOptimize(base64->decode(text)); },
        [&] {
            gsize length = 0;
            guchar* bytes = g_base64_decode(text.c_str(), &length);
            benchmark::DoNotOptimize(bytes);
            g_free(bytes);
        });
}
BENCHMARK(BM_Base64Decode)->Unit(benchmark::kMillisecond);

} // namespace
