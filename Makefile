# Vesk: the two commands that matter are `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= 2
MAKEFLAGS  += --no-print-directory
CMAKE_TYPE ?= RelWithDebInfo
# Seconds per fuzz target: `make fuzz` runs long, `make test` briefly.
FUZZ_SECONDS ?= 60
FUZZ_SMOKE_SECONDS ?= 30
WIN_BUILD  ?= build-win
# Wine keeps its own prefix inside the Windows build tree, quiet.
WINE_ENV   = WINEPREFIX=$(abspath $(WIN_BUILD))/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=

# `make test` builds and runs, in order: the unit and shell tests, the leak
# check of the whole program, the tests again under the sanitizers, the
# Windows build's tests under Wine, and brief fuzz runs.
.PHONY: all build run test deps asan-tests fuzz fuzz-smoke bench profile windows windows-tests package package-tests clean

all: build

build:
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(CMAKE_TYPE) >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@scripts/run-examples.sh $(BUILD)

deps:
	@scripts/install-deps.sh

test: deps build
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS)
	@scripts/leak-check.sh $(BUILD)
	@$(MAKE) --no-print-directory asan-tests
	@$(MAKE) --no-print-directory windows-tests
	@$(MAKE) --no-print-directory package-tests
	@$(MAKE) --no-print-directory fuzz-smoke

# Every test once more with AddressSanitizer and UndefinedBehaviorSanitizer;
# any report fails the run.
asan-tests:
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVESK_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j$(JOBS)
	@cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j$(JOBS)

# vesk.exe and the unit tests for 64-bit Windows, cross-built with MinGW-w64.
windows:
	@cmake -S . -B $(WIN_BUILD) -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_TOOLCHAIN_FILE=$(abspath cmake/toolchains/mingw-w64-x86_64.cmake) >/dev/null
	@$(WINE_ENV) cmake --build $(WIN_BUILD) -j$(JOBS)

# The Windows build's tests, run under Wine.
windows-tests: windows
	@cd $(WIN_BUILD) && $(WINE_ENV) ctest --output-on-failure -j$(JOBS)

# The .deb (Linux) and the zip (Windows) with CPack.
package: windows profile
	@cmake -S . -B build-pkg -DCMAKE_BUILD_TYPE=Release -DVESK_BUILD_TESTS=OFF \
		-DVESK_PROFILE_USE=$(PROFILE_DIR) >/dev/null
	@cmake --build build-pkg -j$(JOBS)
	@cd build-pkg && cpack -G DEB >/dev/null && ls $(CURDIR)/build-pkg/*.deb
	@cd $(WIN_BUILD) && cpack -G ZIP >/dev/null && ls $(CURDIR)/$(WIN_BUILD)/*.zip

package-tests: package
	@scripts/package-test.sh build-pkg $(WIN_BUILD)

fuzz:
	@scripts/fuzz.sh $(FUZZ_SECONDS)

fuzz-smoke:
	@scripts/fuzz.sh $(FUZZ_SMOKE_SECONDS)

# Micro-benchmarks, then the whole conversion over generated sets of 1 MB
# to 200 MB (made on first use into BENCH_DATA, outside the sources).
BENCH_DATA ?= build-release/bench-data
bench: deps profile
	@cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DVESK_BUILD_TESTS=OFF \
		-DVESK_PROFILE_USE=$(PROFILE_DIR) >/dev/null
	@cmake --build build-release -j$(JOBS)
	@build-release/vesk_reader_bench
	@build-release/vesk_parts_list_bench
	@python3 bench/run_bench.py build-release/vesk $(BENCH_DATA)

# The run profile the Release builds (bench, package) are optimised for,
# recorded by an instrumented build (GCC; other compilers build without).
PROFILE_BUILD ?= build-profile
PROFILE_DIR    = $(abspath $(PROFILE_BUILD))/profile
profile:
	@cmake -S . -B $(PROFILE_BUILD) -DCMAKE_BUILD_TYPE=Release -DVESK_BUILD_TESTS=OFF \
		-DVESK_PROFILE_GENERATE=$(PROFILE_DIR) >/dev/null
	@cmake --build $(PROFILE_BUILD) -j$(JOBS) --target vesk
	@scripts/train-profile.sh $(PROFILE_BUILD) $(PROFILE_DIR)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(WIN_BUILD) build-release build-fuzz build-pkg $(PROFILE_BUILD)
