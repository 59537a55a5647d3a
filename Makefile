# The two everyday commands: `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps build test run clean test-asan fuzz package

all: build

deps:
	@scripts/install-deps

$(BUILD_DIR)/build.ninja: CMakeLists.txt | deps
	cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS)

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

run: build
	@scripts/run-demo $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)

# The whole test suite built with the address and undefined-behaviour
# sanitizers; any report fails the test that caused it. Out-of-range
# conversions from floating point are checked too: with GCC they are not
# part of "undefined", and drawing code converts coordinates all the time.
ASAN_DIR ?= build-asan
SANITIZE = -fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=undefined,float-cast-overflow \
  -fno-omit-frame-pointer

test-asan: deps
	cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g" \
	  "-DCMAKE_CXX_FLAGS=$(SANITIZE)" "-DCMAKE_EXE_LINKER_FLAGS=$(SANITIZE)"
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && \
	  ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/fuzz/lsan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# libFuzzer targets (clang), each run FUZZ_SECONDS (default 60); see fuzz/run.
fuzz:
	FUZZ_SECONDS=$(or $(FUZZ_SECONDS),60) fuzz/run build-fuzz

# The Debian package of everything `cmake --install` lays out.
package: build
	cd $(BUILD_DIR) && cpack -G DEB
