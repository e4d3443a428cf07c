// User defaults of 200,000 settings: the launch's load and its save of one change, and
// the property-list reading and writing under them, each beside the parsing library
// doing the same work on the same list (counter "vsLibplist": our time over its time).
#include "bench/SideBySide.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSPropertyListSerialization.h"
#include "platform/foundation/NSUserDefaults.h"

#include <benchmark/benchmark.h>
#include <plist/plist.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
constexpr int kKeys = 200000;

const PlistValue& manySettings() {
    static const PlistValue settings = [] {
        PlistValue::Dictionary values;
        for (int i = 0; i < kKeys; ++i) {
            values.emplace_hint(values.end(), "key" + std::to_string(i), i);
        }
        return PlistValue(std::move(values));
    }();
    return settings;
}

const std::vector<uint8_t>& manySettingsFile() {
    static const auto bytes = NSPropertyListSerialization::dataWithPropertyList(
                                  manySettings(), NSPropertyListFormat::Binary, nullptr)
                                  .value();
    return bytes;
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

template <class Ours, class Anchor>
void sideBySide(benchmark::State& state, Ours ours, Anchor anchor) {
    state.counters["vsLibplist"] = timeSideBySide(state, ours, anchor);
    state.counters["keys"] = kKeys;
}

void ReadSettings200k(benchmark::State& state) {
    const auto& bytes = manySettingsFile();
    sideBySide(
        state,
        [&] {
            benchmark::DoNotOptimize(
                NSPropertyListSerialization::propertyListWithData(bytes, nullptr));
        },
        [&] { libplistRead(bytes); });
}
BENCHMARK(ReadSettings200k)->Unit(benchmark::kMillisecond)->Iterations(3);

void WriteSettings200k(benchmark::State& state) {
    sideBySide(
        state,
        [] {
            benchmark::DoNotOptimize(NSPropertyListSerialization::dataWithPropertyList(
                manySettings(), NSPropertyListFormat::Binary, nullptr));
        },
        [] { libplistWrite(manySettings()); });
}
BENCHMARK(WriteSettings200k)->Unit(benchmark::kMillisecond)->Iterations(3);

// A launch: the defaults load from the home's file, one setting changes, and they are
// saved. Beside it the library reads the same file and writes it back.
void LaunchWith200kSettings(benchmark::State& state) {
    std::string pattern = (fs::temp_directory_path() / "mp-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        state.SkipWithError("cannot make a temporary home");
        return;
    }
    const std::string home = pattern;
    const std::string preferences = home + "/Library/Preferences";
    fs::create_directories(preferences);
    NSSetHomeDirectory(home);
    const auto& bytes = manySettingsFile();
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
            libplistWrite(manySettings());
        });
    NSUserDefaults::resetForTesting();
    fs::remove_all(home);
}
BENCHMARK(LaunchWith200kSettings)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
