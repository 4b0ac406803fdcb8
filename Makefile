# Two commands do all set-up on a fresh Debian 12 machine:
#   make run    install what is missing, build, start the tool
#   make test   install what is missing, build, run every test
#   make bench  build, then run the benchmarks (docs/performance.md)
#   make test-asan  the tests again, built with AddressSanitizer and UBSan
#   make package  build the Debian package tarvo-config_<version>_<arch>.deb
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test test-asan package bench screenshot clean

all: build

deps:
	@tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The tool reads ./update_config.lua from its working directory, and the
# build tree holds a copy beside the executable.
run: build
	@if [ -z "$${DISPLAY:-}" ] && [ -z "$${WAYLAND_DISPLAY:-}" ]; then \
	  echo "No display found: starting the window under Xvfb."; \
	  cd $(BUILD) && xvfb-run -a -s "-screen 0 1024x768x24" ./tarvo-config; \
	else \
	  cd $(BUILD) && ./tarvo-config; \
	fi

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# A separate build tree with AddressSanitizer and UndefinedBehaviorSanitizer;
# the tests carry the sanitizers' settings themselves (see CMakeLists.txt).
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DTARVO_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The .deb lands in the build tree.
package: build
	cmake --build $(BUILD) --target package

# The benchmarks of bench/ (docs/performance.md); not part of the tests.
bench: build
	cmake --build $(BUILD) -j 1 --target bench

# Refreshes the README's picture of the window from the program itself.
screenshot: build
	xvfb-run -a -s "-screen 0 1024x768x24" $(BUILD)/tools/screenshot/tarvo-screenshot docs/window.png

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
