// Our ad server on the bundled site and inventory, serving in this process on a free
// loopback port, for the benchmarks of the core page and of ad fetching.
#pragma once

#include "adserver/AdServerThread.h"

#include <benchmark/benchmark.h>

#include <memory>

// The running server; null, with the benchmark skipped saying why, when it cannot run.
std::unique_ptr<AdServerThread> startBundledAdServer(benchmark::State& state);
