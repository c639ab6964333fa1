# Entry points for a fresh machine:
#   make run       install what is missing, build, run the main job
#   make test      install what is missing, check the formatting (make lint),
#                  build, run every test (make test-fast, make test-studio),
#                  then run them again under the sanitizers (make sanitize,
#                  make tsan)
#   make studio    install what is missing, build the verifier and the
#                  Studio, start it and print its address (STUDIO_PORT,
#                  default 8080)
# and for developers:
#   make test-fast build and run every test, without the sanitized run
#   make test-studio  run the Studio's tests: the bridge's, the application's
#                  units, and the browser tests in Debian's Chromium
#   make lint      check that every source follows .clang-format
#   make tidy      run clang-tidy (.clang-tidy) over src/ and tools/
#   make bench     build and run the benchmarks
#   make sanitize  build with AddressSanitizer + UBSan and run every test
#   make tsan      build the session and list tests with ThreadSanitizer and run the
#                  ones that check models from several threads, and the
#                  parallel searches
#   make fuzz      build the libFuzzer targets with clang and run each for
#                  FUZZ_SECONDS (60) seconds

BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
TSAN_DIR ?= build-tsan
FUZZ_DIR ?= build-fuzz
JOBS ?= 2
STUDIO_PORT ?= 8080
MAKEFLAGS += --no-print-directory

.PHONY: all setup build run test test-fast lint tidy bench sanitize tsan fuzz clean \
	setup-studio studio test-studio

all: build

setup:
	@scripts/setup.sh

build: setup
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	@scripts/main-job.sh $(BUILD_DIR)

test: lint test-fast test-studio
	@$(MAKE) sanitize
	@$(MAKE) tsan

# The Studio: a Node.js bridge (studio/bridge) and the browser application
# (studio/app). npm ci runs again only when a lock file changed. The tests
# drive the server and the verifier of $(BUILD_DIR) and, in the browser tests,
# Debian's Chromium; their screenshots go to $(BUILD_DIR)/studio/.
STUDIO_NPM = studio/bridge/node_modules/.package-lock.json studio/app/node_modules/.package-lock.json
STUDIO_ENV = ORVELA_BUILD_DIR=$(abspath $(BUILD_DIR))

setup-studio: setup
	@scripts/setup-studio.sh

studio/%/node_modules/.package-lock.json: studio/%/package-lock.json | setup-studio
	@cd studio/$* && npm ci --no-audit --no-fund

studio: build setup-studio $(STUDIO_NPM)
	@cd studio/app && npm run build
	@node studio/bridge/src/main.js --port $(STUDIO_PORT) \
	  --server $(BUILD_DIR)/src/orvela-server --verifier $(BUILD_DIR)/tools/orvela

test-studio: build setup-studio $(STUDIO_NPM)
	@ORVELA_SETUP_EXTRA="chromium fonts-dejavu-core" scripts/setup.sh
	@cd studio/bridge && $(STUDIO_ENV) npm test
	@cd studio/app && $(STUDIO_ENV) npm test
	@cd studio/app && npm run build
	@cd studio/app && $(STUDIO_ENV) npm run test:e2e

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
	@cmake --build $(TSAN_DIR) -j$(JOBS) --target session_tests pwlist_tests
	@TSAN_OPTIONS=halt_on_error=1 $(TSAN_DIR)/tests/session_tests --gtest_filter='TwoModels.*:DeadlockReference.Reach*'
	@TSAN_OPTIONS=halt_on_error=1 $(TSAN_DIR)/tests/pwlist_tests --gtest_filter='PartitionedPWList*'

fuzz:
	@JOBS=$(JOBS) scripts/fuzz.sh $(FUZZ_DIR)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(TSAN_DIR) $(FUZZ_DIR)
