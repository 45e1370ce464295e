# Quenta: one Makefile drives both CMake configurations.
#   make run    - install what is missing, build, start the toolbox under Wine
#   make test   - install what is missing, build both configurations, run every test
# Build folders can be moved, e.g. make native NATIVE_DIR=/tmp/mybuild

NATIVE_DIR ?= build/native
WIN_DIR    ?= build/windows
ASAN_DIR   ?= build/asan
FUZZ_DIR   ?= build/fuzz
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 20
CMAKE_GEN  := -G "Unix Makefiles"
# Let the compiler cache serve clones in other folders too.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1

.PHONY: all deps native windows run test test-native test-windows check-asan fuzz clean

all: native windows

deps:
	@tools/install-deps.sh

$(NATIVE_DIR)/Makefile:
	cmake -S . -B $(NATIVE_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

native: $(NATIVE_DIR)/Makefile
	cmake --build $(NATIVE_DIR) -j $(JOBS)

$(WIN_DIR)/Makefile:
	cmake -S . -B $(WIN_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake

windows: $(WIN_DIR)/Makefile
	cmake --build $(WIN_DIR) -j $(JOBS)

run: deps windows
	@tools/run-quenta.sh $(WIN_DIR)

test-native: native
	cd $(NATIVE_DIR) && ctest --output-on-failure -j $(JOBS)

test-windows: windows
	tools/wine-session.sh $(WIN_DIR) sh -c 'cd $(WIN_DIR) && ctest --output-on-failure'

test: deps
	$(MAKE) test-native
	$(MAKE) test-windows
	$(MAKE) check-asan
	$(MAKE) fuzz

$(ASAN_DIR)/Makefile:
	cmake -S . -B $(ASAN_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DQUENTA_BENCH=OFF \
	      -DCMAKE_CXX_FLAGS="-O1 -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
	      -DCMAKE_C_FLAGS="-O1 -fsanitize=address,undefined -fno-omit-frame-pointer"

check-asan: $(ASAN_DIR)/Makefile
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ctest --output-on-failure -j $(JOBS) -LE slow

$(FUZZ_DIR)/Makefile:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DQUENTA_FUZZ=ON -DQUENTA_BENCH=OFF \
	      -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" \
	      -DCMAKE_C_FLAGS="-fsanitize=fuzzer-no-link,address,undefined"

# Builds every fuzz target and runs each for FUZZ_SECONDS from its seed corpus.
fuzz: $(FUZZ_DIR)/Makefile
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	tools/run-fuzzers.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

clean:
	rm -rf build
