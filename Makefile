# WordHatch: `make run` and `make test` are all a new machine needs (both install what is missing).
#   make exe    builds build/win32/WordHatch.exe (32-bit) and build/win64/WordHatch.exe (64-bit)
#   make test   builds everything (the fuzz targets too, where clang is installed) and runs every
#               test (host and end-to-end) through CTest
#   make run    builds and starts WordHatch under Wine (on a virtual display when there is none)
#   make bench  builds and measures WordHatch beside a minimal ideal expander (not a test)
#   make soak   1,000 expansions in a row under Wine, with the program's memory use (not a test)
#   make fuzz   builds the fuzz targets with clang and runs each for FUZZ_SECONDS (not a test)
#   make dist   writes build/dist/WordHatch-win32.zip and WordHatch-win64.zip for Windows users
# Where this machine cannot execute i386 code, or the 32-bit Wine could not be installed
# (tools/can_run_i386.sh --installed says why), the end-to-end tests test the 64-bit build alone,
# and run, bench and soak use it.
SHELL := /bin/bash
BUILD := $(CURDIR)/build
HOST := $(BUILD)/host
WIN32 := $(BUILD)/win32
WIN64 := $(BUILD)/win64
FUZZ := $(BUILD)/fuzz
DIST := $(BUILD)/dist
FUZZ_SECONDS ?= 60
JOBS ?= 2

# The build that runs here: the 32-bit program where i386 code runs, else the 64-bit one.
I386 = $(shell tools/can_run_i386.sh --installed)
RUN_WIN = $(if $(filter yes,$(I386)),$(WIN32),$(WIN64))
RUN_NOTE = $(if $(filter yes,$(I386)),the 32-bit build,the 64-bit build: this machine cannot run 32-bit code ($(strip $(patsubst no:%,%,$(I386)))))

.PHONY: all setup host exe fuzz-build test run bench soak fuzz dist clean
all: exe

setup:
	@tools/setup.sh

host: setup
	@cmake -S . -B $(HOST) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(HOST) -j $(JOBS)

# One source, two programs; each build folder also holds its test-only Windows helpers.
exe: host
	@cmake -S . -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake \
	  -DWH_HOST_TOOLS=$(HOST)/tools -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN32) -j $(JOBS)
	@cmake -S . -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-x86_64.cmake \
	  -DWH_HOST_TOOLS=$(HOST)/tools -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN64) -j $(JOBS)

# The fuzz targets are built by clang, whose warnings are not g++'s: the tests build them too,
# where clang is installed, so that a change cannot break `make fuzz` unseen.
test: exe fuzz-build
	@cd $(HOST) && ctest --output-on-failure -j 1

run: exe
	@echo "run: $(RUN_NOTE)"
	@tools/run.sh $(RUN_WIN)/WordHatch.exe

# Always on a virtual display of its own; the session and report.txt stay in $(BUILD)/bench/<build>.
bench: exe
	@cmake --build $(HOST) --target host_bench -j $(JOBS) >/dev/null
	@mkdir -p $(BUILD)/bench && $(HOST)/host_bench $(BUILD)/bench | tee $(BUILD)/bench/host.txt
	@echo "bench: $(RUN_NOTE)"
	@WH_E2E_DIR=$(BUILD)/bench/$(notdir $(RUN_WIN)) WH_WIN_DIR=$(RUN_WIN) WH_SOURCE_DIR=$(CURDIR) \
	  PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 tests/bench/bench.py

# 1,000 expansions under Wine on a virtual display of its own (SOAK_COUNT to change); not a test.
soak: exe
	@echo "soak: $(RUN_NOTE)"
	@WH_E2E_DIR=$(BUILD)/soak/$(notdir $(RUN_WIN)) WH_WIN_DIR=$(RUN_WIN) WH_SOURCE_DIR=$(CURDIR) \
	  PYTHONDONTWRITEBYTECODE=1 PYTHONPATH=$(CURDIR)/tests/e2e /usr/bin/python3 tests/soak/soak.py

fuzz-build: setup
	@if command -v clang++ >/dev/null; then \
	  cmake -S . -B $(FUZZ) -DWH_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ >/dev/null && cmake --build $(FUZZ) -j $(JOBS); \
	else echo "fuzz-build: clang++ is not installed, so the fuzz targets are not built"; fi

# Each target on one core in turn; any crash, hang or leak fails and becomes a regression case.
fuzz: fuzz-build
	@tests/fuzz/run_fuzz.sh $(FUZZ) $(FUZZ_SECONDS)

# A zip per build: the exe and a short README.txt for the Windows user.
dist: exe
	@/usr/bin/python3 tools/make_dist.py $(DIST) $(WIN32)/WordHatch.exe $(WIN64)/WordHatch.exe

clean:
	rm -rf $(BUILD)
