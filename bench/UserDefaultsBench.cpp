// User defaults of 200,000 and 2 million settings: the launch's load and its save of one
// change, and the property-list reading and writing under them, each beside the parsing
// library doing the same work on the same list (counter "vsLibplist": our time over its
// time). "nsPerKey" staying level from 200k to 2M keys is what shows the work linear. The
// library's writer is quadratic in keys (its hash table has a fixed size): at 2M keys it
// would run for many minutes, so the write and the launch there have no anchor.
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSPropertyListSerialization.h"
#include "platform/foundation/NSUserDefaults.h"

#include <benchmark/benchmark.h>
#include <plist/plist.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <time.h>

namespace {

namespace fs = std::filesystem;

// This thread's CPU time in nanoseconds (page faults included): on a busy machine wall
// time mostly measures the other processes.
double threadNanoseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e9 + double(now.tv_nsec);
}
// Up to this many keys the library's writer runs beside ours.
constexpr int64_t kMostKeysForTheLibraryWriter = 200000;

// The settings and their binary file, made once per size.
struct Settings {
    PlistValue value;
    std::vector<uint8_t> file;
};

const Settings& manySettings(int64_t keys) {
    static std::map<int64_t, Settings> made;
    auto found = made.find(keys);
    if (found == made.end()) {
        PlistValue::Dictionary values;
        for (int64_t i = 0; i < keys; ++i) {
            values.emplace_hint(values.end(), "key" + std::to_string(i), i);
        }
        Settings settings{PlistValue(std::move(values)), {}};
        settings.file = NSPropertyListSerialization::dataWithPropertyList(
                            settings.value, NSPropertyListFormat::Binary, nullptr)
                            .value();
        found = made.emplace(keys, std::move(settings)).first;
    }
    return found->second;
}

// The library reading the list into its nodes, and freeing them.
void libplistRead(const std::vector<uint8_t>& bytes) {
    plist_t root = nullptr;
    plist_from_bin(reinterpret_cast<const char*>(bytes.data()), static_cast<uint32_t>(bytes.size()),
                   &root);
    benchmark::DoNotOptimize(root);
    plist_free(root);
}

// The library building the list's nodes and writing them.
void libplistWrite(const PlistValue& value) {
    plist_t root = plist_new_dict();
    for (const auto& [key, member] : *value.dictionary()) {
        plist_dict_set_item(root, key.c_str(),
                            plist_new_uint(static_cast<uint64_t>(member.integerValue())));
    }
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &bytes, &length);
    benchmark::DoNotOptimize(bytes);
    plist_to_bin_free(bytes);
    plist_free(root);
}

// Runs `ours` as the timed work and `anchor` (when there is one) beside it, paused,
// reporting the thread CPU time per key of both and the ratio.
template <class Ours, class Anchor>
void sideBySide(benchmark::State& state, Ours ours, Anchor anchor, bool withAnchor = true) {
    double oursTime = 0, anchorTime = 0;
    for (auto _ : state) {
        double start = threadNanoseconds();
        ours();
        oursTime += threadNanoseconds() - start;
        if (withAnchor) {
            state.PauseTiming();
            start = threadNanoseconds();
            anchor();
            anchorTime += threadNanoseconds() - start;
            state.ResumeTiming();
        }
    }
    const double keys = double(state.range(0));
    const double runs = double(state.iterations());
    state.counters["keys"] = keys;
    state.counters["nsPerKey"] = oursTime / runs / keys;
    if (withAnchor) {
        state.counters["libplistNsPerKey"] = anchorTime / runs / keys;
        state.counters["vsLibplist"] = oursTime / anchorTime;
    }
}

void ReadSettings(benchmark::State& state) {
    const auto& bytes = manySettings(state.range(0)).file;
    sideBySide(
        state,
        [&] {
            benchmark::DoNotOptimize(
                NSPropertyListSerialization::propertyListWithData(bytes, nullptr));
        },
        [&] { libplistRead(bytes); });
}
BENCHMARK(ReadSettings)->Arg(200000)->Arg(2000000)->Unit(benchmark::kMillisecond)->Iterations(3);

void WriteSettings(benchmark::State& state) {
    const auto& settings = manySettings(state.range(0));
    sideBySide(
        state,
        [&] {
            benchmark::DoNotOptimize(NSPropertyListSerialization::dataWithPropertyList(
                settings.value, NSPropertyListFormat::Binary, nullptr));
        },
        [&] { libplistWrite(settings.value); }, state.range(0) <= kMostKeysForTheLibraryWriter);
}
BENCHMARK(WriteSettings)->Arg(200000)->Arg(2000000)->Unit(benchmark::kMillisecond)->Iterations(3);

// A launch: the defaults load from the home's file, one setting changes, and they are
// saved. Beside it the library reads the same file and writes it back.
void LaunchWithSettings(benchmark::State& state) {
    std::string pattern = (fs::temp_directory_path() / "mp-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        state.SkipWithError("cannot make a temporary home");
        return;
    }
    const std::string home = pattern;
    const std::string preferences = home + "/Library/Preferences";
    fs::create_directories(preferences);
    NSSetHomeDirectory(home);
    const auto& settings = manySettings(state.range(0));
    const auto& bytes = settings.file;
    auto writeFile = [&] {
        for (const auto& entry : fs::directory_iterator(preferences)) {
            std::ofstream(entry.path(), std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
        }
    };
    // The first launch names the file (after the bundle); later ones find it.
    NSUserDefaults::standardUserDefaults()->setIntegerForKey(0, "launches");
    NSUserDefaults::standardUserDefaults()->synchronize();
    writeFile();
    int launches = 0;
    sideBySide(
        state,
        [&] {
            NSUserDefaults::resetForTesting();
            auto defaults = NSUserDefaults::standardUserDefaults();
            defaults->setIntegerForKey(++launches, "launches");
            defaults->synchronize();
        },
        [&] {
            writeFile();
            libplistRead(bytes);
            libplistWrite(settings.value);
        },
        state.range(0) <= kMostKeysForTheLibraryWriter);
    NSUserDefaults::resetForTesting();
    fs::remove_all(home);
}
BENCHMARK(LaunchWithSettings)
    ->Arg(200000)
    ->Arg(2000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace
