# The two entry points of the project: `make run` and `make test`.
JOBS ?= $(shell nproc)
# ccache, where the machine has it, makes a rebuild of unchanged sources nearly free.
# Looked up when a recipe runs (not when this file is read), so after deps installed it.
LAUNCHER = $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
CMAKE_COMMON = -G Ninja -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DMP_WERROR=ON $(LAUNCHER)
CTEST = ctest --output-on-failure --no-tests=error -j $(JOBS)

.PHONY: run test deps deps-demo configure-release build-release build-asan build-tsan \
        test-release test-asan test-tsan bench format

deps:
	@scripts/install-deps

deps-demo:
	@scripts/install-deps --demo

# The build `make run` ships is the build the tests run first.
configure-release: deps
	cmake -S . -B build/release $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	@ln -sf build/release/compile_commands.json compile_commands.json

build-release: configure-release
	cmake --build build/release -j $(JOBS) --target mixphotos ad-server

# The demo talks to the bundled ad server, started on a free loopback port and stopped
# when the app ends: the template collage's road (the default scenario), then on the same
# home and server the free collage's, then the image editor's tools.
run: deps-demo build-release
	scripts/run-with-ad-server build/release -- --script build/release/demo/free.scenario \
	    -- --script build/release/demo/tools.scenario \
	    -- --script build/release/demo/editing.scenario

test-release: configure-release
	cmake --build build/release -j $(JOBS)
	cd build/release && $(CTEST)

test-asan: deps
	cmake -S . -B build/asan $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug -DMP_SANITIZE=ON
	cmake --build build/asan -j $(JOBS)
	cd build/asan && $(CTEST)

# Only the test programs labelled "threaded" are built and run under ThreadSanitizer.
test-tsan: deps
	cmake -S . -B build/tsan $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug -DMP_TSAN=ON
	cmake --build build/tsan -j $(JOBS) --target bundle \
	    $$(cd build/tsan && ctest -N -L threaded | sed -n 's/^ *Test *#[0-9]*: \([a-z_]*\).*/\1/p' | sort -u)
	cd build/tsan && $(CTEST) -L threaded

# The three builds run side by side: each one's slow tests overlap the others' compiling.
test: deps
	$(MAKE) --no-print-directory -j 3 --output-sync=target test-release test-asan test-tsan

bench: deps
	cmake -S . -B build/bench $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Release
	cmake --build build/bench -j $(JOBS) --target mixphotos_bench
	build/bench/bench/mixphotos_bench

format: deps
	find platform ads adserver harness app services cli tests bench tools \( -name '*.h' -o -name '*.cpp' \) -print0 | xargs -0 clang-format -i
