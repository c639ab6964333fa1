# Entry points for a fresh machine:
#   make run       install what is missing, build, run the main job
#   make test      install what is missing, check the formatting (make lint),
#                  build, run every test, then run them again under the
#                  sanitizers (make sanitize, make tsan)
# and for developers:
#   make test-fast build and run every test, without the sanitized run
#   make lint      check that every source follows .clang-format
#   make tidy      run clang-tidy (.clang-tidy) over src/ and tools/
#   make bench     build and run the benchmarks
#   make sanitize  build with AddressSanitizer + UBSan and run every test
#   make tsan      build the session tests with ThreadSanitizer and run the
#                  ones that check models from several threads
#   make fuzz      build the libFuzzer targets with clang and run each for
#                  FUZZ_SECONDS (60) seconds

BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
TSAN_DIR ?= build-tsan
FUZZ_DIR ?= build-fuzz
JOBS ?= 2
MAKEFLAGS += --no-print-directory

.PHONY: all setup build run test test-fast lint tidy bench sanitize tsan fuzz clean

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
	@$(MAKE) tsan

lint: setup
	@scripts/lint.sh

tidy: setup
	@ORVELA_SETUP_EXTRA=clang-tidy scripts/setup.sh
	@JOBS=$(JOBS) scripts/tidy.sh $(BUILD_DIR)

test-fast: build
	@ctest --test-dir $(BUILD_DIR) --output-on-failure -j$(JOBS)

bench: build
	@scripts/run-benchmarks.sh $(BUILD_DIR)

sanitize: setup
	@cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DORVELA_SANITIZE=ON -DORVELA_BENCH=OFF >/dev/null
	@cmake --build $(SANITIZE_DIR) -j$(JOBS)
	@ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j$(JOBS)

tsan: setup
	@cmake -S . -B $(TSAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DORVELA_TSAN=ON -DORVELA_BENCH=OFF >/dev/null
	@cmake --build $(TSAN_DIR) -j$(JOBS) --target session_tests
	@TSAN_OPTIONS=halt_on_error=1 $(TSAN_DIR)/tests/session_tests --gtest_filter='TwoModels.*'

fuzz:
	@JOBS=$(JOBS) scripts/fuzz.sh $(FUZZ_DIR)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(TSAN_DIR) $(FUZZ_DIR)
