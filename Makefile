# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build build-programs test run check-display bench fuzz sanitize tsan windows windows-package windows-check clean

all: build

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@env -u MAKELEVEL -u MAKEFLAGS cmake --build $(BUILD) -j $(JOBS)

# Only what make run starts: the console and the virtual printer, not the
# tests, benchmarks and fuzz helpers that make test builds.
build-programs: configure
	@env -u MAKELEVEL -u MAKEFLAGS cmake --build $(BUILD) -j $(JOBS) --target varmo varmo-sim

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# A machine without a desktop hears so before the build, not after it.
run: check-display build-programs
	@./scripts/run-demo.sh $(BUILD)

check-display:
	@./scripts/run-demo.sh --check-display

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ "$$b" = $(BUILD)/bench/bench_console ] || [ ! -x "$$b" ] || "$$b"; done
	@$(BUILD)/bench/bench_console

# The Debian package, varmo_<version>_amd64.deb, in the build folder.
.PHONY: package
package: build
	@command -v dpkg-shlibdeps >/dev/null || { echo "make package needs dpkg-shlibdeps: apt-get install dpkg-dev" >&2; exit 1; }
	@cd $(BUILD) && cpack -G DEB >/dev/null && ls -1 "$$PWD"/varmo_*.deb

# libFuzzer targets built with clang in their own folder, each run for
# FUZZ_SECONDS from its seed corpus; fails when one of them finds a fault.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 30
CLANGXX ?= $(shell command -v clang++-14 || command -v clang++)
fuzz:
	@./scripts/install-deps.sh fuzz
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=$(or $(CLANGXX),clang++-14) -DVARMO_FUZZ=ON >/dev/null
	@env -u MAKELEVEL -u MAKEFLAGS cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_all
	@./scripts/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The whole program and every test built with AddressSanitizer and
# UndefinedBehaviorSanitizer in their own folder, and the whole suite run there.
SANITIZE_BUILD ?= build-sanitize
SANITIZE_FLAGS = -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer
sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)" >/dev/null
	@env -u MAKELEVEL -u MAKEFLAGS cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	@cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# The visit book's tests built with ThreadSanitizer in their own folder and
# run: the window and the sync read and write one book from two threads, and
# the console's look-over runs beside the window. (Qt itself is not built
# with it; TSAN_OPTIONS keeps to what our code does.)
TSAN_BUILD ?= build-tsan
TSAN_FLAGS = -fsanitize=thread -fno-omit-frame-pointer
tsan: deps
	@cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS="$(TSAN_FLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(TSAN_FLAGS)" >/dev/null
	@env -u MAKELEVEL -u MAKEFLAGS cmake --build $(TSAN_BUILD) -j $(JOBS) --target test_book book_writer
	@cd $(TSAN_BUILD) && QT_QPA_PLATFORM=offscreen TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
	  tests/book/test_book --gtest_filter='BookTrustTest.*Thread*:BookTrustTest.*LookOver*'

# Windows: varmo.exe and varmo-cli.exe cross-compiled with MinGW-w64 against Qt
# for Windows (unpacked from ../shared/windows, else built from Debian's
# qt6-base source by scripts/build-qt-for-windows.sh), with Qt's DLLs and
# plugins beside them in $(WINDOWS_BUILD)/bin. See docs/windows.md.
WINDOWS_BUILD ?= build-windows
MULTIARCH := $(shell gcc -print-multiarch 2>/dev/null || echo x86_64-linux-gnu)
WINDOWS_CONFIGURE = cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake \
	  -DCMAKE_PREFIX_PATH=$(abspath $(WINDOWS_BUILD))/qt6-win64 \
	  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/$(MULTIARCH)/cmake
windows:
	@./scripts/install-deps.sh windows
	@./scripts/windows-qt.sh $(WINDOWS_BUILD)
	@$(WINDOWS_CONFIGURE) >/dev/null
	@env -u MAKELEVEL -u MAKEFLAGS cmake --build $(WINDOWS_BUILD) -j $(JOBS) \
	  --target varmo varmo-cli windows_runtime
	@ls -1 $(abspath $(WINDOWS_BUILD))/bin/varmo.exe $(abspath $(WINDOWS_BUILD))/bin/varmo-cli.exe

# varmo-<version>-win64.zip and the installer varmo-<version>-setup.exe.
windows-package: windows
	@./scripts/windows-package.sh $(WINDOWS_BUILD)

# Everything Windows under Wine 8, in a Wine prefix made for the run: the
# tests of the Windows build (the Qt-free layers, the Win32 serial port and
# the registry, the console's tests that need no pseudo-terminal, the first
# exchange), varmo-cli.exe against a Linux varmo-sim on COM5, the installer,
# and pictures of the console under Xvfb. varmo-sim and the Linux varmo-cli
# it is compared with, and the Linux half of the idle port's measure
# (port-idle), come from $(BUILD). Then varmo-cli.exe sends a check from its
# SQLite book to a PostgreSQL 15 on 127.0.0.1 (wine-shared-book.sh).
windows-check: windows-package
	@./scripts/install-deps.sh
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@env -u MAKELEVEL -u MAKEFLAGS cmake --build $(BUILD) -j $(JOBS) --target varmo-sim varmo-cli port-idle
	@$(WINDOWS_CONFIGURE) -DVARMO_WINDOWS_CHECK=ON >/dev/null
	@env -u MAKELEVEL -u MAKEFLAGS cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	@./scripts/run-under-wine.sh $(WINDOWS_BUILD) $(BUILD)
	@./scripts/wine-shared-book.sh $(WINDOWS_BUILD) $(BUILD)

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(SANITIZE_BUILD) $(TSAN_BUILD) $(WINDOWS_BUILD)
