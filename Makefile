# The two commands of the README: `make run` and `make test`. Both install what is
# missing first (tools/bootstrap.sh), then build with CMake.
# The same sources build for 32-bit Windows (build/win32, the product) and for x86-64
# (build/win64). Where the machine runs no 32-bit code, the programs are run from the
# x86-64 build: WIN is the build this machine runs.
BUILD  := build
NATIVE := $(BUILD)/native
CROSS  := $(BUILD)/win32
CROSS64 := $(BUILD)/win64
JOBS   := $(shell nproc 2>/dev/null || echo 2)
WIN    := $(shell tools/runs-32bit.sh && echo win32 || echo win64)
RUNS   := PINVEL_ARCH=$(WIN) PINVEL_WIN_DIR=$(CURDIR)/$(BUILD)/$(WIN)

.PHONY: all bootstrap exe exe64 win32 win64 native test run stop fuzz bench soak dist screenshots clean

all: exe

bootstrap:
	@tools/bootstrap.sh

$(CROSS)/CMakeCache.txt: | bootstrap
	cmake -S . -B $(CROSS) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release

$(CROSS64)/CMakeCache.txt: | bootstrap
	cmake -S . -B $(CROSS64) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release

$(NATIVE)/CMakeCache.txt: | bootstrap
	cmake -S . -B $(NATIVE) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DPINVEL_CROSS_ROOT=$(CURDIR)/$(BUILD)

# Only the program and its help file.
exe: bootstrap $(CROSS)/CMakeCache.txt
	cmake --build $(CROSS) --target Pinvel pinvel_help -j $(JOBS)

exe64: bootstrap $(CROSS64)/CMakeCache.txt
	cmake --build $(CROSS64) --target Pinvel pinvel_help -j $(JOBS)

win32: bootstrap $(CROSS)/CMakeCache.txt
	cmake --build $(CROSS) -j $(JOBS)

win64: bootstrap $(CROSS64)/CMakeCache.txt
	cmake --build $(CROSS64) -j $(JOBS)

native: bootstrap $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j $(JOBS)

# Every test of the builds this machine can run. Where it runs no 32-bit code, the tests
# that would run the i686 build are left out (and counted nowhere), and the line says so.
test: win32 win64 native
	@if [ $(WIN) = win32 ]; then \
	  echo "make test: testing the i686 and the x86-64 builds"; \
	else \
	  echo "make test: testing the x86-64 build; the i686 build is only built and its file checked (this machine runs no 32-bit code)"; \
	fi
	cd $(NATIVE) && ctest --output-on-failure -j $(JOBS) $(if $(filter win64,$(WIN)),-LE runs-i686)

run: exe $(if $(filter win64,$(WIN)),exe64)
	$(RUNS) tools/run-pinvel.sh

# Asks the Pinvel started by `make run` to save and quit.
stop:
	$(RUNS) tools/wine-run.sh --join $(BUILD)/run/Pinvel.exe -exit

# Each file reader's fuzz target for FUZZ_SECONDS (ten minutes by default).
FUZZ_SECONDS ?= 600
fuzz: native
	tests/fuzz/run-fuzz.sh $(NATIVE)/tests/fuzz/fuzz_NoteFile tests/fuzz/corpus/NoteFile $(FUZZ_SECONDS)
	tests/fuzz/run-fuzz.sh $(NATIVE)/tests/fuzz/fuzz_SettingsFile tests/fuzz/corpus/SettingsFile $(FUZZ_SECONDS)
	tests/fuzz/run-fuzz.sh $(NATIVE)/tests/fuzz/fuzz_RtfText tests/fuzz/corpus/RtfText $(FUZZ_SECONDS)
	tests/fuzz/run-fuzz.sh $(NATIVE)/tests/fuzz/fuzz_SideFile tests/fuzz/corpus/SideFile $(FUZZ_SECONDS)

# The performance figures of docs/performance.md, all inside one Wine virtual desktop (the
# tray needs its shell, and hiding windows without one costs seconds each): the note
# store in one process per note count, the whole program started with each count and
# ended with -exit beside a bare tray program started in the same rounds, an exit with
# 1,000 notes of which 20 are open, each step of the program's start, open notes and idle
# clocks for BENCH_SECONDS, then find any note over BENCH_FIND_NOTES notes; last, the size
# in bytes of each Pinvel.exe built. Both builds where the machine runs 32-bit code, each
# in a prefix of its own; the x86-64 build alone where it does not.
BENCH_NOTES ?= 50 1000 2000 4000 10000
BENCH_SECONDS ?= 60
BENCH_FIND_NOTES ?= 1000
BENCH_BUILDS := $(if $(filter win32,$(WIN)),win32 win64,win64)
bench: $(BENCH_BUILDS)
	@for arch in $(BENCH_BUILDS); do \
	  echo "make bench: the $$arch build"; \
	  BENCH_EXE=$(BUILD)/$$arch/tests/pinvel_bench.exe PINVEL_ARCH=$$arch PINVEL_WIN_DIR=$(CURDIR)/$(BUILD)/$$arch \
	  PINVEL_PREFIX=$(CURDIR)/$(BUILD)/wineprefix-$$arch-bench tools/wine-run.sh --desktop 1280x800 sh -c '\
	    for n in $(BENCH_NOTES); do wine $$BENCH_EXE $$n || exit 1; done; \
	    wine $$BENCH_EXE --program="$(BENCH_NOTES)" --exit=1000,20 --start-steps="$(BENCH_NOTES)" --cpu=$(BENCH_SECONDS) && \
	    wine $$BENCH_EXE --find=$(BENCH_FIND_NOTES) --toggle=100 --typing=1000' || exit 1; \
	done
	@for exe in $(CROSS)/Pinvel.exe $(CROSS64)/Pinvel.exe; do [ ! -f $$exe ] || echo "$$exe: $$(stat -c %s $$exe) bytes"; done

# What a Windows user gets: a setup program, and a zip of the program, its help files and
# a short read-me for portable use, both named by the version (the file VERSION, or
# VERSION=... for one build). SIGN=... names a command that signs a file given as its
# last argument; it is run on the program and on the setup.
VERSION ?=
DIST_VERSION = $(or $(VERSION),$(shell cat VERSION))
SIGN ?=
dist: bootstrap $(CROSS)/CMakeCache.txt
	cmake $(CROSS) -DPINVEL_VERSION=$(VERSION) >/dev/null
	cmake --build $(CROSS) --target Pinvel pinvel_help -j $(JOBS)
	rm -rf $(BUILD)/dist $(BUILD)/Pinvel-*.zip $(BUILD)/Pinvel-*-setup.exe
	mkdir -p $(BUILD)/dist/Pinvel
	cp $(CROSS)/Pinvel.exe $(CROSS)/Pinvel.chm $(CROSS)/Pinvel.en.chm docs/dist/ReadMe.txt $(BUILD)/dist/Pinvel/
	$(if $(SIGN),$(SIGN) $(BUILD)/dist/Pinvel/Pinvel.exe)
	cd $(BUILD)/dist && zip -q -r -X ../Pinvel-$(DIST_VERSION).zip Pinvel
	tools/make-setup.sh $(DIST_VERSION) $(BUILD)/dist/Pinvel $(CROSS)/art/icon128.ico $(BUILD)/Pinvel-$(DIST_VERSION)-setup.exe
	$(if $(SIGN),$(SIGN) $(BUILD)/Pinvel-$(DIST_VERSION)-setup.exe)
	@echo "$(BUILD)/Pinvel-$(DIST_VERSION)-setup.exe"
	@echo "$(BUILD)/Pinvel-$(DIST_VERSION).zip"

# Ten thousand rounds of paints, menus, show and hide, and alarms in one process: the
# handle counts and the memory must not grow.
soak: $(WIN)
	@echo "make soak: the $(WIN) build"
	$(RUNS) PINVEL_SOAK=10000 PINVEL_PREFIX=$(CURDIR)/$(BUILD)/wineprefix-$(WIN)-bench tools/wine-run.sh \
	  --desktop 1280x800 $(BUILD)/$(WIN)/tests/pinvel_win_tests.exe --gtest_filter=Soak.*

# The README's pictures, taken from the real program driven by the probe.
screenshots: $(if $(filter win64,$(WIN)),exe64,exe)
	@echo "make screenshots: the $(WIN) build"
	cmake --build $(BUILD)/$(WIN) --target pvprobe -j $(JOBS)
	$(RUNS) PINVEL_PREFIX=$(CURDIR)/$(BUILD)/wineprefix-$(WIN)-shots \
	  tools/wine-run.sh --desktop 1280x800 python3 tools/take-screenshots.py
	$(RUNS) PINVEL_DPI=144 PINVEL_PREFIX=$(CURDIR)/$(BUILD)/wineprefix-$(WIN)-shots-144 \
	  tools/wine-run.sh --desktop 1280x800 python3 tools/take-screenshots.py --scaled
	$(RUNS) PINVEL_LANG=en_US.UTF-8 PINVEL_PREFIX=$(CURDIR)/$(BUILD)/wineprefix-$(WIN)-shots-en \
	  tools/wine-run.sh --desktop 1280x800 python3 tools/take-screenshots.py --english
	$(RUNS) PINVEL_LANG=en_US.UTF-8 PINVEL_DPI=144 PINVEL_PREFIX=$(CURDIR)/$(BUILD)/wineprefix-$(WIN)-shots-en-144 \
	  tools/wine-run.sh --desktop 1280x800 python3 tools/take-screenshots.py --english --scaled

clean:
	rm -rf $(BUILD)
