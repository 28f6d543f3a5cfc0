# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build test run check-display bench clean

all: build

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@env -u MAKELEVEL -u MAKEFLAGS cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# A machine without a desktop hears so before the build, not after it.
run: check-display build
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

clean:
	rm -rf $(BUILD)
