# Quenta: one Makefile drives both CMake configurations.
#   make run    - install what is missing, build, start the toolbox under Wine
#   make test   - install what is missing, build both configurations, run every test
# Build folders can be moved, e.g. make native NATIVE_DIR=/tmp/mybuild

NATIVE_DIR ?= build/native
WIN_DIR    ?= build/windows
ASAN_DIR   ?= build/asan
FUZZ_DIR   ?= build/fuzz
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 10
FUZZ_PARALLEL ?= 2
CMAKE_GEN  := -G "Unix Makefiles"
# Let the compiler cache serve clones in other folders too.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1

# A build folder is configured again when the packages installed on this machine change (for
# example a reference library arrived after the first configure) or the dependency list does:
# CMake then finds what is there now, and no test stays left out.
DEPS_CHANGED := tools/install-deps.sh $(wildcard /var/lib/dpkg/status)

.PHONY: all deps native windows run test test-native test-windows check-asan fuzz clean

all: native windows

deps:
	@tools/install-deps.sh

$(NATIVE_DIR)/.configured: $(DEPS_CHANGED)
	cmake -S . -B $(NATIVE_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	@touch $@

native: $(NATIVE_DIR)/.configured
	cmake --build $(NATIVE_DIR) -j $(JOBS)

$(WIN_DIR)/.configured: $(DEPS_CHANGED)
	cmake -S . -B $(WIN_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
	@touch $@

windows: $(WIN_DIR)/.configured
	cmake --build $(WIN_DIR) -j $(JOBS)

run: deps windows
	@tools/run-quenta.sh $(WIN_DIR)

test-native: native
	cd $(NATIVE_DIR) && ctest --output-on-failure -j $(JOBS)

# Window tests hold a lock (CTest RESOURCE_LOCK) and run one at a time; the others in parallel.
# A test that fails is run once more: Wine now and then fails to start a program at all (no
# output, a hundredth of a second); a test that fails twice fails the stage.
test-windows: windows
	tools/wine-session.sh $(WIN_DIR) sh -c 'cd $(WIN_DIR) && ctest --output-on-failure -j $(JOBS) --repeat until-pass:2'

# Every stage runs even when an earlier one fails; one timing line per stage and the total.
test: deps
	@tools/run-test-stages.sh "$(MAKE) --no-print-directory" native=test-native windows=test-windows \
	      asan=check-asan fuzz=fuzz

# The sanitizer build also replays every fuzz target's seeds and kept crashers (label fuzz).
$(ASAN_DIR)/.configured: $(DEPS_CHANGED)
	cmake -S . -B $(ASAN_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DQUENTA_BENCH=OFF -DQUENTA_FUZZ_REPLAY=ON \
	      -DCMAKE_CXX_FLAGS="-O1 -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
	      -DCMAKE_C_FLAGS="-O1 -fsanitize=address,undefined -fno-omit-frame-pointer"
	@touch $@

check-asan: $(ASAN_DIR)/.configured
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ctest --output-on-failure -j $(JOBS) -LE slow

$(FUZZ_DIR)/.configured: $(DEPS_CHANGED)
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DQUENTA_FUZZ=ON -DQUENTA_BENCH=OFF \
	      -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" \
	      -DCMAKE_C_FLAGS="-fsanitize=fuzzer-no-link,address,undefined"
	@touch $@

# Builds every fuzz target and runs each for FUZZ_SECONDS from its seeds and kept crashers,
# FUZZ_PARALLEL at a time; a new crash is copied into fuzz/crashers/NAME/ and fails the run.
fuzz: $(FUZZ_DIR)/.configured
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	tools/run-fuzzers.sh $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_PARALLEL)

clean:
	rm -rf build
