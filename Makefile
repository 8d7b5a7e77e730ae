# Tessimo: `make run` builds and starts the program, `make test` builds and runs every test.
# Both install the Debian packages they need first (scripts/install-deps.sh).

BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=

.PHONY: all deps configure build run install test bench format format-check sanitize tsan fuzz clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then \
	  cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS); \
	fi

build: configure
	cmake --build $(BUILD_DIR)

run: build
	./$(BUILD_DIR)/src/shell/tessimo

# The program, its manuals, icon and desktop entry; PREFIX defaults to CMake's (/usr/local).
install: build
	cmake --install $(BUILD_DIR) $(if $(PREFIX),--prefix $(PREFIX))

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j2 --timeout 600

bench: build
	@for b in $(BUILD_DIR)/bench/bench_*; do [ -x "$$b" ] && { echo "== $$b"; "$$b"; }; done

# Address and undefined-behaviour sanitizers over the tests.
sanitize: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSIMO_SANITIZE=address
	cmake --build build-asan
	ctest --test-dir build-asan --output-on-failure -j2 --timeout 900

# Thread sanitizer over the tests of the threaded parts (label "threads"); having none yet is
# not a failure.
tsan: deps
	cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSIMO_SANITIZE=thread
	cmake --build build-tsan
	ctest --test-dir build-tsan --output-on-failure -L threads --no-tests=ignore --timeout 900

# Short libFuzzer runs of the file loaders (clang). Crash inputs are kept in build-fuzz/.
fuzz: deps
	cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DTESSIMO_FUZZ=ON
	cmake --build build-fuzz --target fuzz_targets
	@for f in build-fuzz/fuzz/fuzz_*; do [ -x "$$f" ] || continue; \
	  name=$$(basename $$f); echo "== $$name"; \
	  mkdir -p build-fuzz/corpus/$$name; \
	  $$f -max_total_time=60 -artifact_prefix=build-fuzz/$$name- \
	    build-fuzz/corpus/$$name fuzz/corpus/$$name || exit 1; done

format:
	find src tests bench tools fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

format-check:
	find src tests bench tools fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD_DIR) build-asan build-tsan build-fuzz
