# Kestrune: `make run` and `make test` do the whole set-up on a fresh Debian 12 machine.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
ARGS ?=
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench fuzz package clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then \
		cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE); \
	fi

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# With a display Kestrune starts on it; without one it starts on a virtual X server, a screenshot
# is saved under build/ after a few seconds, and the command ends.
run: build
	@scripts/run-kestrune $(BUILD_DIR) $(ARGS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 600

bench: build
	@scripts/run-benchmarks $(BUILD_DIR)

# The playlist reader's fuzz target, longer than the short run that `make test` includes.
FUZZ_SECONDS ?= 300
fuzz: build
	$(BUILD_DIR)/fuzz/clang/fuzz_ksxreader -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
		-rss_limit_mb=1024 -artifact_prefix=$(BUILD_DIR)/fuzz/ $(BUILD_DIR)/fuzz/corpus fuzz/corpus

# A Debian package of the installed files: build/kestrune_<version>_<arch>.deb
package: build
	cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR)
