# Front-end: every target installs the Debian packages it needs, then configures, builds and runs.
JOBS ?= $(shell nproc)
# fp-utils brings chmcmd, which compiles the help file; libchm-bin's reader checks it in the tests.
BUILD_PACKAGES := build-essential cmake libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libcli11-dev \
                  clang-14 libclang-rt-14-dev fp-utils libchm-bin

WINDOWS_PACKAGES := g++-mingw-w64-i686 g++-mingw-w64-x86-64 googletest wine wine64 xvfb
# The replay page's browser test: Debian's Chromium, and node with npm. A node installed from elsewhere
# brings its own npm (and conflicts with Debian's npm package), so those two come only when npm is missing.
BROWSER_PACKAGES := chromium
NODE_PACKAGES := nodejs npm
BROWSER_MODULES := tests/browser/node_modules/.package-lock.json
# The package: the 32-bit DLL (MinGW-w64), the help file (chmcmd) and the zip.
DIST_PACKAGES := g++-mingw-w64-i686 fp-utils zip
# The studio's module: Debian's emscripten, whose optimizer needs acorn.
STUDIO_PACKAGES := emscripten node-acorn

.PHONY: deps browser-deps studio-deps studio demo help test test-win32 test-win64 dist bench bench-check bench-replay bench-studio soak fuzz format clean

FUZZ_SECONDS ?= 600

deps:
	@scripts/install-deps.sh $(BUILD_PACKAGES)

browser-deps: deps
	@scripts/install-deps.sh $(BROWSER_PACKAGES)
	@command -v npm >/dev/null || scripts/install-deps.sh $(NODE_PACKAGES)
	@$(MAKE) --no-print-directory $(BROWSER_MODULES)

# playwright-core as the lock file pins it; it drives the system's Chromium and downloads no browser.
$(BROWSER_MODULES): tests/browser/package.json tests/browser/package-lock.json
	cd tests/browser && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --prefer-offline --no-audit --no-fund

# The release build writes the designer's guide into build/release/help/ (Quillet.chm among it); the web
# guide's pages, stylesheet and pictures are copied to build/help/.
define copy_web_guide
	rm -rf build/help && mkdir -p build/help
	find build/release/help -maxdepth 1 -type f \( -name '*.html' -o -name '*.css' -o -name '*.svg' \) \
	  -exec cp {} build/help/ \;
	@echo "designer's guide: build/help/index.html, help file: build/release/help/Quillet.chm"
endef

studio-deps: deps
	@scripts/install-deps.sh $(STUDIO_PACKAGES)

# The extension and vohost's simulated host compiled to WebAssembly, one script a page loads from disk:
# build/wasm/studio/nimbo_studio.js, and the studio page holding it, build/wasm/studio/studio.html.
studio: studio-deps
	cmake --preset wasm >/dev/null
	cmake --build --preset wasm -j $(JOBS)

demo: deps studio
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)
	build/release/vohost/vohost run examples/showcase.json --trace build/release/showcase.trace.jsonl \
	  --html build/release/showcase.html
	@cp build/wasm/studio/studio.html build/release/studio.html
	@echo "studio page in build/release/studio.html ($$(wc -c < build/release/studio.html) bytes)"
	$(copy_web_guide)

help: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS) --target nimbo_help
	$(copy_web_guide)

test: browser-deps studio-deps
	cmake --preset dev >/dev/null
	cmake --build --preset dev -j $(JOBS)
	ctest --preset dev -j $(JOBS)
	scripts/test-dist.sh
	scripts/fuzz.sh 15

# The 32-bit DLL, its image checked and the suite run on it under emulated 32-bit Wine (the emulator is
# registered as root by scripts/setup-wine32.sh).
test-win32: deps
	@scripts/install-deps.sh $(WINDOWS_PACKAGES)
	scripts/test-win32.sh

# The same suite on a 64-bit Windows build under 64-bit Wine: no emulator, no root.
test-win64: deps
	@scripts/install-deps.sh $(WINDOWS_PACKAGES)
	scripts/test-windows.sh win64

# The package a designer installs, $(DIST_DIR)/nimbo-VERSION-win32.zip (scripts/dist.sh), with the help
# file HELP_CHM (the release build's guide unless another is given).
DIST_DIR ?= dist
HELP_CHM ?= build/release/help/Quillet.chm
dist: deps
	@scripts/install-deps.sh $(DIST_PACKAGES)
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS) --target nimbo_help
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j $(JOBS) --target nimbo
	scripts/dist.sh build/win32/frame/nimbo.dll "$(HELP_CHM)" "$(DIST_DIR)"

# Every ratio against its baseline, printed; the exit status is 0 whatever they are. make bench-check (or
# make bench STRICT=1) fails when a ratio misses its target.
bench: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)
	build/release/bench/nimbo_bench --benchmark_repetitions=9 --benchmark_enable_random_interleaving=true \
	  --benchmark_report_aggregates_only=true $(if $(STRICT),--strict)

bench-check:
	@$(MAKE) --no-print-directory bench STRICT=1

# A million frame steps of the showcase and of a scene that sets up, moves, rejects and deletes motions,
# lists folders and runs regexes every step, optimised: the memory at 10 k, 100 k and 1 M steps, held to
# the warm-up's. Then the life-cycle churn at full count under the sanitizers.
SOAK_STEPS ?= 1000000
soak: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS) --target vohost
	mkdir -p build/release/soak
	cd build/release/soak && ../vohost/vohost soak ../../../examples/showcase.json \
	  ../../../tests/soak/motions_and_listings.json --steps $(SOAK_STEPS)
	cmake --preset dev >/dev/null
	cmake --build --preset dev -j $(JOBS) --target vohost_tests
	NIMBO_CHURN_FULL=1 build/dev/tests/vohost_tests --gtest_filter='Churn.*'

# Longer fuzzing runs: make fuzz FUZZ_SECONDS=3600 [FUZZ_RUNS=10000000] [FUZZ_TARGETS="regex scene"]
# [FUZZ_MAX_LEN=512] [FUZZ_JOBS=2]
fuzz: deps
	FUZZ_RUNS=$(FUZZ_RUNS) FUZZ_TARGETS="$(FUZZ_TARGETS)" FUZZ_MAX_LEN=$(FUZZ_MAX_LEN) FUZZ_JOBS=$(FUZZ_JOBS) \
	  scripts/fuzz.sh $(FUZZ_SECONDS)

# The replay page with 5 000 moving objects over 600 steps: its size, and its playback in Chromium.
bench-replay: browser-deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS) --target vohost replay_sample
	bench/replay_playback.sh build/release

# The studio page live in Chromium: from an edit to the new picture, 100 objects laid out and 1 000 orbiting
# over 300 steps, beside vohost's own run of the same scenes.
bench-studio: browser-deps studio
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS) --target vohost
	node tests/browser/studio_live.mjs build/wasm/studio/studio.html build/release/vohost/vohost build/release/studio-bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build dist
