# Vesk: the two commands that matter are `make run` and `make test`.
BUILD      ?= build
SAN_BUILD  ?= build-san
RELEASE    ?= build-release
COVERAGE_BUILD ?= build-coverage
WIN_BUILD  ?= build-win
JOBS       ?= 2
MAKEFLAGS  += --no-print-directory
CMAKE_TYPE ?= RelWithDebInfo
# Seconds per fuzz target: `make fuzz` runs long, `make test` briefly.
FUZZ_SECONDS ?= 60
FUZZ_SMOKE_SECONDS ?= 30
# Wine keeps its own prefix inside the Windows build tree, quiet.
WINE_ENV   = WINEPREFIX=$(abspath $(WIN_BUILD))/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
# The developers' and CI's trees treat warnings as errors; a user's plain
# cmake build only shows them.
STRICT     = -DVESK_WARNINGS_AS_ERRORS=ON

.PHONY: all configure build run test deps layers unit-tests leak-check san-build san-tests \
	fuzz fuzz-smoke fuzz-merge coverage bench profile release windows windows-tests package \
	package-tests clean

all: build

configure:
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(CMAKE_TYPE) >/dev/null

# Only the program (and the GTK module it shows its window with, where GTK
# is installed), then the examples converted.
run: configure
	@cmake --build $(BUILD) -j$(JOBS) --target vesk
	@scripts/run-examples.sh $(BUILD)

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

# `make test`, in order: the packages it needs, the layer check, the unit,
# shell and window tests, the leak check of the whole program, the tests
# again under the sanitizers with brief fuzz runs, the Windows build's
# tests under Wine, and the packages tried as a user would.
test: deps layers unit-tests leak-check san-tests fuzz-smoke windows-tests package-tests

deps:
	@scripts/install-deps.sh

layers:
	@python3 scripts/check-layers.py

unit-tests: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(CMAKE_TYPE) $(STRICT) >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

leak-check: unit-tests
	@scripts/leak-check.sh $(BUILD)

# Every test once more with AddressSanitizer and UndefinedBehaviorSanitizer
# (clang), any report failing the run. The same tree builds the fuzz
# targets, whose coverage comes from the core's own code. It is optimised
# (-O2, with line tables for the reports), which runs the fuzz targets
# and the code under test many times faster than -O0; the tests' own
# sources stay at -O0 (tests/CMakeLists.txt).
SAN_TYPE = -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -gline-tables-only"
san-build: deps
	@CXX=clang++ cmake -S . -B $(SAN_BUILD) $(SAN_TYPE) -DVESK_SANITIZE=ON -DVESK_FUZZ=ON \
		$(STRICT) >/dev/null
	@cmake --build $(SAN_BUILD) -j$(JOBS)

san-tests: san-build
	@cd $(SAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j$(JOBS)

# The fuzz runs start from the kept corpus (fuzz/corpus/) and what earlier
# runs in the tree found; `make fuzz-merge` folds those finds, minimised,
# into the kept corpus. README "Robustness" tells what to do with a finding.
fuzz: san-build
	@scripts/fuzz.sh run $(SAN_BUILD) $(FUZZ_SECONDS) $(JOBS)

fuzz-smoke: san-build
	@scripts/fuzz.sh run $(SAN_BUILD) $(FUZZ_SMOKE_SECONDS) $(JOBS)

fuzz-merge: san-build
	@scripts/fuzz.sh merge $(SAN_BUILD)

# The core's line and branch coverage by folder, from every test and the
# kept fuzz corpus (clang's source-based coverage); every line in
# build-coverage/coverage/html/. No compiler cache: one that makes the
# sources' paths relative would leave the report unable to find them.
coverage: deps
	@CXX=clang++ cmake -S . -B $(COVERAGE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVESK_COVERAGE=ON \
		-DCMAKE_CXX_COMPILER_LAUNCHER= $(STRICT) >/dev/null
	@cmake --build $(COVERAGE_BUILD) -j$(JOBS)
	@scripts/coverage.sh $(COVERAGE_BUILD) $(JOBS)

# vesk.exe and the core's tests for 64-bit Windows, cross-built with MinGW-w64.
windows: deps
	@cmake -S . -B $(WIN_BUILD) -DCMAKE_BUILD_TYPE=Release $(STRICT) \
		-DCMAKE_TOOLCHAIN_FILE=$(abspath cmake/toolchains/mingw-w64-x86_64.cmake) >/dev/null
	@$(WINE_ENV) cmake --build $(WIN_BUILD) -j$(JOBS)

# The Windows build's tests, run under Wine.
windows-tests: windows
	@cd $(WIN_BUILD) && $(WINE_ENV) ctest --output-on-failure -j$(JOBS)

# The run profile the Release tree is optimised for, recorded by an
# instrumented build of the program alone (GCC; other compilers build
# without).
#
# Both trees are optimised across the libraries of the layers at link time
# (LTO), which inlines the calls from one layer into the next on the
# reading path: 4% fewer instructions over the 10 MB bench file (callgrind,
# 174.5M to 167.2M), the same profile recorded and used.
PROFILE_BUILD ?= build-profile
PROFILE_DIR    = $(abspath $(PROFILE_BUILD))/profile
LTO            = -DCMAKE_INTERPROCEDURAL_OPTIMIZATION=ON
# Both trees are hardened (cmake/hardening.cmake). To measure what that
# costs: make bench HARDENING=OFF PROFILE_BUILD=build-profile-plain
# RELEASE=build-release-plain, beside the usual make bench.
HARDENING     ?= ON
profile: deps
	@cmake -S . -B $(PROFILE_BUILD) -DCMAKE_BUILD_TYPE=Release -DVESK_BUILD_TESTS=OFF \
		$(LTO) -DVESK_HARDENING=$(HARDENING) -DVESK_PROFILE_GENERATE=$(PROFILE_DIR) >/dev/null
	@cmake --build $(PROFILE_BUILD) -j$(JOBS) --target vesk
	@scripts/train-profile.sh $(PROFILE_BUILD) $(PROFILE_DIR)

# The Release tree that the packages and the benchmark share. Its objects
# do not know the profile they were compiled against: after a new
# recording, all of them are compiled again, or the tree would mix
# profiles and the benchmark would depend on the order of earlier builds.
release: profile
	@cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DVESK_BUILD_TESTS=OFF \
		$(LTO) -DVESK_HARDENING=$(HARDENING) -DVESK_PROFILE_USE=$(PROFILE_DIR) >/dev/null
	@if [ $(PROFILE_DIR)/.trained -nt $(RELEASE)/.profile-used ]; then \
		cmake --build $(RELEASE) --target clean; fi
	@cmake --build $(RELEASE) -j$(JOBS)
	@touch $(RELEASE)/.profile-used

# The .deb (Linux) and the zip (Windows) with CPack.
package: release windows
	@cd $(RELEASE) && cpack -G DEB >/dev/null && ls $(CURDIR)/$(RELEASE)/*.deb
	@cd $(WIN_BUILD) && cpack -G ZIP >/dev/null && ls $(CURDIR)/$(WIN_BUILD)/*.zip

package-tests: package
	@scripts/package-test.sh $(RELEASE) $(WIN_BUILD)

# Micro-benchmarks, then the whole conversion over generated sets of 1 MB
# to 200 MB (made on first use into BENCH_DATA, outside the sources).
BENCH_DATA ?= $(RELEASE)/bench-data
bench: release
	@$(RELEASE)/vesk_reader_bench
	@$(RELEASE)/vesk_parts_list_bench
	@python3 bench/run_bench.py $(RELEASE)/vesk $(BENCH_DATA)

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(RELEASE) $(WIN_BUILD) $(PROFILE_BUILD) $(COVERAGE_BUILD)
