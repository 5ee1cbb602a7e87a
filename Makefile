# The two commands of the README: `make run` and `make test`. Both install what is
# missing first (tools/bootstrap.sh), then build with CMake.
BUILD  := build
NATIVE := $(BUILD)/native
CROSS  := $(BUILD)/win32
JOBS   := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all bootstrap exe win32 native test run stop fuzz bench soak dist screenshots clean

all: exe

bootstrap:
	@tools/bootstrap.sh

$(CROSS)/CMakeCache.txt: | bootstrap
	cmake -S . -B $(CROSS) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release

$(NATIVE)/CMakeCache.txt: | bootstrap
	cmake -S . -B $(NATIVE) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DPINVEL_WIN32_DIR=$(CURDIR)/$(CROSS)

# Only the program and its help file.
exe: bootstrap $(CROSS)/CMakeCache.txt
	cmake --build $(CROSS) --target Pinvel pinvel_help -j $(JOBS)

win32: bootstrap $(CROSS)/CMakeCache.txt
	cmake --build $(CROSS) -j $(JOBS)

native: bootstrap $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j $(JOBS)

test: win32 native
	cd $(NATIVE) && ctest --output-on-failure -j $(JOBS)

run: exe
	tools/run-pinvel.sh

# Asks the Pinvel started by `make run` to save and quit.
stop:
	PINVEL_PREFIX=$(CURDIR)/$(BUILD)/wineprefix tools/wine-run.sh --join $(BUILD)/run/Pinvel.exe -exit

# Each file reader's fuzz target for FUZZ_SECONDS (ten minutes by default).
FUZZ_SECONDS ?= 600
fuzz: native
	tests/fuzz/run-fuzz.sh $(NATIVE)/tests/fuzz/fuzz_NoteFile tests/fuzz/corpus/NoteFile $(FUZZ_SECONDS)
	tests/fuzz/run-fuzz.sh $(NATIVE)/tests/fuzz/fuzz_SettingsFile tests/fuzz/corpus/SettingsFile $(FUZZ_SECONDS)
	tests/fuzz/run-fuzz.sh $(NATIVE)/tests/fuzz/fuzz_RtfText tests/fuzz/corpus/RtfText $(FUZZ_SECONDS)

# The performance figures of docs/performance.md, all inside one Wine virtual desktop (the
# tray needs its shell, and hiding windows without one costs seconds each): the note
# store in one process per note count, the whole program started with each count and
# ended with -exit, an exit with 1,000 notes of which 20 are open, open notes and idle
# clocks for BENCH_SECONDS, then find any note over BENCH_FIND_NOTES notes.
BENCH_NOTES ?= 50 1000 2000 4000 10000
BENCH_SECONDS ?= 60
BENCH_FIND_NOTES ?= 1000
BENCH_EXE := $(CROSS)/tests/pinvel_bench.exe
bench: win32
	PINVEL_PREFIX=$(CURDIR)/$(BUILD)/wineprefix-bench tools/wine-run.sh --desktop 1280x800 sh -c '\
	  for n in $(BENCH_NOTES); do wine $(BENCH_EXE) $$n || exit 1; done; \
	  wine $(BENCH_EXE) --program="$(BENCH_NOTES)" --exit=1000,20 --cpu=$(BENCH_SECONDS) && \
	  wine $(BENCH_EXE) --find=$(BENCH_FIND_NOTES)'

# What a Windows user gets: the program, its help file and a short read-me.
dist: exe
	rm -rf $(BUILD)/dist $(BUILD)/Pinvel.zip
	mkdir -p $(BUILD)/dist/Pinvel
	cp $(CROSS)/Pinvel.exe $(CROSS)/Pinvel.chm docs/dist/ReadMe.txt $(BUILD)/dist/Pinvel/
	cd $(BUILD)/dist && zip -q -r -X ../Pinvel.zip Pinvel
	@echo "$(BUILD)/Pinvel.zip"

# Ten thousand rounds of paints, menus, show and hide, and alarms in one process: the
# handle counts and the memory must not grow.
soak: win32
	PINVEL_SOAK=10000 PINVEL_PREFIX=$(CURDIR)/$(BUILD)/wineprefix-bench tools/wine-run.sh --desktop 1280x800 \
	  $(CROSS)/tests/pinvel_win_tests.exe --gtest_filter=Soak.*

# The README's pictures, taken from the real program driven by the probe.
screenshots: exe
	cmake --build $(CROSS) --target pvprobe -j $(JOBS)
	PINVEL_PREFIX=$(CURDIR)/$(BUILD)/wineprefix-shots PINVEL_WIN32_DIR=$(CURDIR)/$(CROSS) \
	  tools/wine-run.sh --desktop 1280x800 python3 tools/take-screenshots.py
	PINVEL_DPI=144 PINVEL_PREFIX=$(CURDIR)/$(BUILD)/wineprefix-shots-144 PINVEL_WIN32_DIR=$(CURDIR)/$(CROSS) \
	  tools/wine-run.sh --desktop 1280x800 python3 tools/take-screenshots.py --scaled

clean:
	rm -rf $(BUILD)
