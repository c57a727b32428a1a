# The two commands of the README. Everything else is CMake and CTest.
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps build build-asan run test test-plain test-asan clean

all: build

deps:
	@scripts/install-deps.sh

$(BUILD_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)

$(ASAN_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DTINTORA_SANITIZE=ON

build: deps $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j $(JOBS)

build-asan: deps $(ASAN_DIR)/CMakeCache.txt
	cmake --build $(ASAN_DIR) -j $(JOBS)

run: build
	@scripts/run.sh $(BUILD_DIR)/app/tintora

test-plain: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

test-asan: build-asan
	ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS)

test: test-plain test-asan

# Tintora measured beside a bare Qt program (bench/RESULTS.md); not part of `make test`.
.PHONY: bench
bench: deps $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j $(JOBS) --target tintora bench_reference bench_firstmap bench_slider
	bench/run.sh $(BUILD_DIR)

# libFuzzer needs clang: a third build, every library instrumented. Each fuzz target runs FUZZ_SECONDS, then
# the monkey's long stream runs in the sanitizer build (fuzz/RESULTS.md); not part of `make test`.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
.PHONY: fuzz
$(FUZZ_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DTINTORA_SANITIZE=ON -DTINTORA_FUZZ=ON

fuzz: build-asan $(FUZZ_DIR)/CMakeCache.txt
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_numericedit fuzz_hexedit fuzz_memo
	FUZZ_SECONDS=$(FUZZ_SECONDS) fuzz/run.sh $(FUZZ_DIR) $(ASAN_DIR)

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR)
