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
	@if [ -x $(BUILD_DIR)/app/tintora ]; then scripts/run.sh $(BUILD_DIR)/app/tintora; \
	else echo "Tintora's program is not built yet: only its tests exist so far (make test)."; fi

test-plain: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

test-asan: build-asan
	ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS)

test: test-plain test-asan

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR)
