# The two set-up commands of the README, and a few more for developers.
BUILD      ?= build
SAN_BUILD  ?= build-sanitize
JOBS       ?= 2
CMAKE_ARGS ?=

.PHONY: run test test-sanitize build deps test-deps fuzz-deps fuzz-seeds bench fuzz format clean

run: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS) >/dev/null
	cmake --build $(BUILD) -j $(JOBS) --target varnel
	./$(BUILD)/app/varnel

test: test-deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS) >/dev/null
	cmake --build $(BUILD) -j $(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The same tests, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: test-deps
	cmake -S . -B $(SAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVARNEL_SANITIZE=ON -DVARNEL_BUILD_BENCH=OFF $(CMAKE_ARGS) >/dev/null
	cmake --build $(SAN_BUILD) -j $(JOBS)
	ctest --test-dir $(SAN_BUILD) --output-on-failure -j $(JOBS)

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS) >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

bench: test-deps
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build build-bench -j $(JOBS)
	@for b in build-bench/bench/bench_*; do echo "== $$b"; $$b; done

# Every fuzz target (or those named in FUZZ_TARGETS) for SECONDS_EACH seconds, built with clang;
# prints each target's runs, edges and findings, and fails when there is a finding.
SECONDS_EACH ?= 60
FUZZ_TARGETS ?=
fuzz: fuzz-deps
	JOBS=$(JOBS) CMAKE_ARGS="$(CMAKE_ARGS)" fuzz/run-fuzzers.sh $(SECONDS_EACH) $(FUZZ_TARGETS)

deps:
	@scripts/install-deps.sh

test-deps:
	@scripts/install-deps.sh test

# Writes the seed files of the fuzz targets again, with the project's own writers.
fuzz-seeds: test-deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS) >/dev/null
	cmake --build $(BUILD) -j $(JOBS) --target varnel-fuzz-seeds
	./$(BUILD)/fuzz/varnel-fuzz-seeds fuzz

fuzz-deps:
	@scripts/install-deps.sh fuzz

format:
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(SAN_BUILD) build-bench build-fuzz
