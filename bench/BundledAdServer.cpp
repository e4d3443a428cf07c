#include "BundledAdServer.h"

#include <filesystem>

std::unique_ptr<AdServerThread> startBundledAdServer(benchmark::State& state) {
    const std::filesystem::path folder = MP_BENCH_ADSERVER_DIR;
    auto started = AdServerThread::start({folder / "site", folder / "inventory", {}});
    if (started.hasError()) {
        state.SkipWithError(
            ("our ad server does not run: " + started.error()->localizedDescription()).c_str());
        return nullptr;
    }
    return std::move(started).value();
}
