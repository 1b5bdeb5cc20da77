# Loomwise: every set-up step is a target here. `make run` and `make test` are all a new user needs.
JOBS ?= $(shell nproc)
BUILD := build
SANITIZER_BUILD := build-sanitizer
# GUI tests need a display; without one they run under a virtual X server.
XVFB := $(if $(DISPLAY),,xvfb-run -a -s "-screen 0 1280x1024x24")
DEMO_DIR := out
# CI holds the code to a clean build: any warning fails it.
CMAKE_FLAGS := $(if $(CI),-DLOOMWISE_WERROR=ON)

.PHONY: all deps configure build test test-core-sanitized bench run demo clean fuzz soak

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake --preset release $(CMAKE_FLAGS)

configure: deps
	cmake --preset release $(CMAKE_FLAGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

test: build test-core-sanitized
	$(XVFB) ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-core-sanitized: deps
	cmake --preset sanitizer $(CMAKE_FLAGS)
	cmake --build $(SANITIZER_BUILD) -j $(JOBS)
	ctest --preset sanitizer -j $(JOBS)

# The recorder's options, the mesh loader and the scene file's reader under libFuzzer with AddressSanitizer, FUZZ_SECONDS each.
FUZZ_SECONDS ?= 60
fuzz:
	@scripts/install-deps fuzz
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLOOMWISE_GUI=OFF \
	  -DLOOMWISE_BENCH=OFF -DLOOMWISE_FUZZ=ON -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined"
	cmake --build build-fuzz -j $(JOBS)
	@mkdir -p build-fuzz/corpus-options build-fuzz/corpus-mesh build-fuzz/corpus-scene
	cp tests/fuzz/seeds-options/* build-fuzz/corpus-options/
	cp tests/fuzz/seeds-mesh/* build-fuzz/corpus-mesh/
	cp tests/fuzz/seeds-scene/* build-fuzz/corpus-scene/
	build-fuzz/tests/fuzz/RecorderOptionsFuzz -max_total_time=$(FUZZ_SECONDS) build-fuzz/corpus-options
	build-fuzz/tests/fuzz/SceneFileFuzz -max_total_time=$(FUZZ_SECONDS) build-fuzz/corpus-scene
	# assimp sizes its arrays from a file's own counts: a 4 kB file may ask for tens of megabytes.
	ASAN_OPTIONS=quarantine_size_mb=16 LSAN_OPTIONS=suppressions=tests/fuzz/lsan.supp build-fuzz/tests/fuzz/MeshLoadFuzz -max_total_time=$(FUZZ_SECONDS) \
	  -rss_limit_mb=4096 build-fuzz/corpus-mesh

# Eight cloths record every format at once for SOAK_SECONDS; every file must keep every frame.
SOAK_SECONDS ?= 300
soak: build
	LOOMWISE_SOAK_SECONDS=$(SOAK_SECONDS) QTEST_FUNCTION_TIMEOUT=$$(( ($(SOAK_SECONDS) + 300) * 1000 )) \
	  $(XVFB) $(BUILD)/tests/app/soak_Recording

# The paint benchmarks need a display, like the GUI tests.
bench: build
	$(XVFB) $(BUILD)/bench/loomwise-bench

# Without a display (or before the window exists) `run` records the demo headlessly.
run: build
	@if [ -n "$(DISPLAY)$(WAYLAND_DISPLAY)" ] && [ -x $(BUILD)/loomwise ]; then \
	  $(BUILD)/loomwise; \
	else \
	  $(MAKE) --no-print-directory demo; \
	fi

demo: build
	@mkdir -p $(DEMO_DIR)
	$(BUILD)/loomwise-record --steps 660 --seed 1 $(DEMO_DIR)/flag
	@echo "The demo recording is in $(DEMO_DIR)/: create_flag.mel and animate_flag.mel (10 frames)."

clean:
	rm -rf $(BUILD) build-debug $(SANITIZER_BUILD) build-fuzz

# Installing: `make install` puts Loomwise under PREFIX (DESTDIR, when given, in front of it);
# `make package` builds the Debian package and has lintian check it; `make package-check` also
# installs the package with apt-get and runs it.
PREFIX ?= /usr/local
.PHONY: install package package-check

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

package: build
	@scripts/install-deps package
	rm -f $(BUILD)/loomwise_*.deb
	cd $(BUILD) && cpack -G DEB
	lintian --fail-on error $(BUILD)/loomwise_*.deb

package-check: package
	scripts/package-check $(BUILD)/loomwise_*.deb
