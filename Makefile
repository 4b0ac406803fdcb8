# Two commands do all set-up on a fresh Debian 12 machine:
#   make run    install what is missing, build, start the tool
#   make test   install what is missing, build, run every test
#   make bench  build, then run the benchmarks (docs/performance.md)
#   make test-asan  the tests again, built with AddressSanitizer and UBSan
#   make package  build the Debian package tarvo-config_<version>_<arch>.deb
#   make fuzz   run every fuzz target in a clang build of its own (build-fuzz/)
#   make fuzz-ci  the same for FUZZ_CI_SECONDS each, which CI runs
#   make format-check  list the C and C++ files out of .clang-format's layout
#   make try-device  build, start the reader simulator and the tool against it
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc)
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_CI_SECONDS ?= 20
# ON makes every warning of the build and of test-asan's an error (CI).
WERROR ?= OFF

.PHONY: all deps configure build run try-device test test-asan package bench fuzz fuzz-ci format-check screenshot clean

all: build

deps:
	@tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DTARVO_WERROR=$(WERROR)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The tool reads ./update_config.lua from its working directory, and the
# build tree holds a copy beside the executable.
run: build
	@tools/run-tool.sh $(BUILD)

# The tool against the reader simulator, which runs while the tool does.
try-device: build
	@tools/try-device.sh $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# A separate build tree with AddressSanitizer and UndefinedBehaviorSanitizer;
# the tests carry the sanitizers' settings themselves (see CMakeLists.txt).
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DTARVO_SANITIZE=ON -DTARVO_WERROR=$(WERROR)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The .deb lands in the build tree.
package: build
	cmake --build $(BUILD) --target package

# The benchmarks of bench/ (docs/performance.md); not part of the tests.
bench: build
	cmake --build $(BUILD) -j 1 --target bench

# Fuzzing, in a clang build of its own with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer: each target of fuzz/ runs FUZZ_SECONDS seconds
# from its seed corpus in fuzz/corpus/. Crashing inputs land in
# $(FUZZ_BUILD)/artifacts/.
fuzz:
	@tools/install-deps.sh fuzz
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
	  -DTARVO_FUZZ=ON -DTARVO_BUILD_TESTS=OFF -DTARVO_FUZZ_SECONDS=$(FUZZ_SECONDS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	cmake --build $(FUZZ_BUILD) -j 1 --target fuzz-run

# A fuzz target that no longer builds or dies on its own seeds goes unseen
# until someone fuzzes again; CI builds and runs each briefly.
fuzz-ci:
	$(MAKE) fuzz FUZZ_SECONDS=$(FUZZ_CI_SECONDS)

format-check:
	@tools/install-deps.sh format
	@tools/check-format.sh

# Refreshes the README's pictures of the window, in Chinese and in English,
# from the program itself.
screenshot: build
	xvfb-run -a -s "-screen 0 1024x768x24" $(BUILD)/tools/screenshot/tarvo-screenshot docs/window.png zh
	xvfb-run -a -s "-screen 0 1024x768x24" $(BUILD)/tools/screenshot/tarvo-screenshot docs/window-en.png en

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
