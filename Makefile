# Entry points for a fresh machine:
#   make run       install what is missing, build, run the main job
#   make test      install what is missing, check the formatting (make lint),
#                  build, run every test, then run them again under the
#                  sanitizers (make sanitize)
# and for developers:
#   make test-fast build and run every test, without the sanitized run
#   make lint      check that every source follows .clang-format
#   make bench     build and run the benchmarks
#   make sanitize  build with AddressSanitizer + UBSan and run every test
#   make fuzz      build the libFuzzer targets with clang and run each for
#                  FUZZ_SECONDS (60) seconds

BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
JOBS ?= 2
MAKEFLAGS += --no-print-directory

.PHONY: all setup build run test test-fast lint bench sanitize fuzz clean

all: build

setup:
	@scripts/setup.sh

build: setup
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	@scripts/main-job.sh $(BUILD_DIR)

test: lint test-fast
	@$(MAKE) sanitize

lint: setup
	@scripts/lint.sh

test-fast: build
	@ctest --test-dir $(BUILD_DIR) --output-on-failure -j$(JOBS)

bench: build
	@scripts/run-benchmarks.sh $(BUILD_DIR)

sanitize: setup
	@cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DORVELA_SANITIZE=ON -DORVELA_BENCH=OFF >/dev/null
	@cmake --build $(SANITIZE_DIR) -j$(JOBS)
	@ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j$(JOBS)

fuzz:
	@JOBS=$(JOBS) scripts/fuzz.sh $(FUZZ_DIR)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR)
