# WordHatch: `make run` and `make test` are all a new machine needs (both install what is missing).
#   make exe    builds build/win32/WordHatch.exe
#   make test   builds everything and runs every test (host and end-to-end) through CTest
#   make run    builds and starts WordHatch under Wine (on a virtual display when there is none)
#   make bench  builds and measures WordHatch beside a minimal ideal expander (not a test)
#   make soak   1,000 expansions in a row under Wine, with the program's memory use (not a test)
#   make fuzz   builds the fuzz targets with clang and runs each for FUZZ_SECONDS (not a test)
SHELL := /bin/bash
BUILD := $(CURDIR)/build
HOST := $(BUILD)/host
WIN := $(BUILD)/win32
FUZZ := $(BUILD)/fuzz
FUZZ_SECONDS ?= 60
JOBS ?= 2

.PHONY: all setup host exe test run bench soak fuzz clean
all: exe

setup:
	@tools/setup.sh

host: setup
	@cmake -S . -B $(HOST) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(HOST) -j $(JOBS)

exe: host
	@cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake \
	  -DWH_HOST_TOOLS=$(HOST)/tools -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN) -j $(JOBS)

test: exe
	@cd $(HOST) && ctest --output-on-failure -j 1

run: exe
	@tools/run.sh $(WIN)/WordHatch.exe

# Always on a virtual display of its own; the session and report.txt stay in $(BUILD)/bench.
bench: exe
	@cmake --build $(HOST) --target host_bench -j $(JOBS) >/dev/null
	@mkdir -p $(BUILD)/bench && $(HOST)/host_bench $(BUILD)/bench | tee $(BUILD)/bench/host.txt
	@WH_E2E_DIR=$(BUILD)/bench WH_WIN32_DIR=$(WIN) WH_SOURCE_DIR=$(CURDIR) PYTHONDONTWRITEBYTECODE=1 \
	  /usr/bin/python3 tests/bench/bench.py

# 1,000 expansions under Wine on a virtual display of its own (SOAK_COUNT to change); not a test.
soak: exe
	@WH_E2E_DIR=$(BUILD)/soak WH_WIN32_DIR=$(WIN) WH_SOURCE_DIR=$(CURDIR) PYTHONDONTWRITEBYTECODE=1 \
	  PYTHONPATH=$(CURDIR)/tests/e2e /usr/bin/python3 tests/soak/soak.py

# Each target on one core in turn; any crash, hang or leak fails and becomes a regression case.
fuzz: setup
	@cmake -S . -B $(FUZZ) -DWH_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS)
	@tests/fuzz/run_fuzz.sh $(FUZZ) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD)
