# The two entry points of the project: `make run` and `make test`.
JOBS ?= $(shell nproc)
CMAKE_COMMON = -G Ninja -DCMAKE_EXPORT_COMPILE_COMMANDS=ON

# The suites whose code runs on several threads also run under ThreadSanitizer.
THREADED_TESTS = 'Dispatch|GlobalThreadPool|NSRunLoop|NSTimer|NSNotificationCenter|NSUserDefaults|NSLog|MockClock|NSObjectx|NSURL|NSStringDrawing|OVProgressHUD|PHPhotoLibrary|PHImageManager|RatePromptStoreLookup|RZCommonConfig|UIPasteboard|UIImageWriteToSavedPhotosAlbum'

.PHONY: run test deps deps-demo build-release build-test build-asan build-tsan bench format

deps:
	@scripts/install-deps

deps-demo:
	@scripts/install-deps --demo

build-release: deps
	cmake -S . -B build/release $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build/release -j $(JOBS) --target mixphotos
	@ln -sf build/release/compile_commands.json compile_commands.json

run: deps-demo build-release
	build/release/mixphotos

build-test: deps
	cmake -S . -B build/test $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug -DMP_WERROR=ON
	cmake --build build/test -j $(JOBS)

build-asan: deps
	cmake -S . -B build/asan $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug -DMP_WERROR=ON -DMP_SANITIZE=ON
	cmake --build build/asan -j $(JOBS)

build-tsan: deps
	cmake -S . -B build/tsan $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug -DMP_WERROR=ON -DMP_TSAN=ON
	cmake --build build/tsan -j $(JOBS) --target platform_tests app_tests services_tests

test: build-test build-asan build-tsan
	cd build/test && ctest --output-on-failure -j $(JOBS)
	cd build/asan && ctest --output-on-failure -j $(JOBS)
	cd build/tsan && ctest --output-on-failure -j $(JOBS) -R $(THREADED_TESTS)

bench: deps
	cmake -S . -B build/bench $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Release
	cmake --build build/bench -j $(JOBS) --target mixphotos_bench
	build/bench/bench/mixphotos_bench

format: deps
	find platform app services cli tests bench tools \( -name '*.h' -o -name '*.cpp' \) -print0 | xargs -0 clang-format -i
