# Front-end: every target installs the Debian packages it needs, then configures, builds and runs.
JOBS ?= $(shell nproc)
BUILD_PACKAGES := build-essential cmake libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libcli11-dev \
                  clang-14 libclang-rt-14-dev

WINDOWS_PACKAGES := g++-mingw-w64-i686 g++-mingw-w64-x86-64 googletest wine wine64 xvfb

.PHONY: deps demo test test-win32 bench fuzz format clean

FUZZ_SECONDS ?= 600

deps:
	@scripts/install-deps.sh $(BUILD_PACKAGES)

demo: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)
	build/release/vohost/vohost run examples/hello.json --trace build/release/hello.trace.jsonl

test: deps
	cmake --preset dev >/dev/null
	cmake --build --preset dev -j $(JOBS)
	ctest --preset dev -j $(JOBS)
	scripts/fuzz.sh 15

# The 32-bit DLL is built and its image checked; the tests run on the 64-bit Windows build under Wine.
test-win32: deps
	@scripts/install-deps.sh $(WINDOWS_PACKAGES)
	scripts/test-win32.sh

bench: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)
	build/release/bench/nimbo_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

# Longer fuzzing runs: make fuzz FUZZ_SECONDS=3600
fuzz: deps
	scripts/fuzz.sh $(FUZZ_SECONDS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
