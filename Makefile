# The two commands a newcomer needs: `make run` and `make test`. Both install what is missing,
# each target only the packages it needs (`scripts/setup --list PART` names them).
SHELL := /bin/bash
JOBS ?= $(shell nproc)

.PHONY: setup run test native windows test-native test-windows fuzz bench screenshots clean web web-site test-web install uninstall dist

setup:
	@scripts/setup all

native:
	@scripts/setup native
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j $(JOBS)

windows:
	@scripts/setup windows
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows -j $(JOBS)

test-native: native
	ctest --preset native

test-windows: windows
	xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset windows

test: test-native test-windows test-web

# Glimmer in the browser: the engine built to WebAssembly with Emscripten, the page in
# build/web/site. `make web` serves it on 127.0.0.1 and prints its address; its browser tests
# compare every output with the native glimmer-convert's.
EMSCRIPTEN_TOOLCHAIN := /usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
web-site:
	@scripts/setup web
	@cmake -S web -B build/web -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(EMSCRIPTEN_TOOLCHAIN) \
	  -DGLIMMER_CONVERTER=$(CURDIR)/build/native/cli/glimmer-convert >/dev/null
	@cmake --build build/web -j $(JOBS)

web: web-site
	@python3 web/serve.py build/web/site

test-web: native web-site
	@scripts/setup web-test
	ctest --test-dir build/web --output-on-failure

# Each fuzz target for FUZZ_SECONDS (default 10 minutes), on a corpus kept in build/fuzz.
FUZZ_SECONDS ?= 600
fuzz: native
	@ls build/native/tests/robustness/fuzz/*_fuzzer >/dev/null 2>&1 || { echo "fuzz: no fuzz targets (clang with libFuzzer missing)"; exit 1; }
	@for f in build/native/tests/robustness/fuzz/*_fuzzer; do \
	  tests/fuzz/run-fuzzer $$f $(FUZZ_SECONDS) build/native/test-cams build/fuzz/$$(basename $$f) || exit 1; \
	done

# Opens Glimmer's window under Wine (scripts/glimmer); DEVICE=/path/to/camera/files picks the
# device folder, LANG=ja the Japanese texts. Without a display it converts the demo files with
# glimmer-convert alone, which needs nothing but a compiler, CMake and Python 3.
# DEVICE reaches the launcher as given, through the environment: never read as code.
unexport DEVICE
run: export GLIMMER_RUN_DEVICE = $(value DEVICE)
run:
	@scripts/setup $(if $(DISPLAY),run,converter)
	@if [ -z "$$DISPLAY" ]; then \
	  echo "make run: no display (DISPLAY is unset), so converting the demo device with glimmer-convert instead"; \
	  cmake --preset converter >/dev/null && \
	  cmake --build --preset converter -j $(JOBS) --target glimmer-convert && scripts/run-demo; \
	else \
	  cmake --preset windows >/dev/null && \
	  cmake --build --preset windows -j $(JOBS) --target glimmer && \
	  scripts/glimmer $${GLIMMER_RUN_DEVICE:+--device "$$GLIMMER_RUN_DEVICE"} --lang $(if $(filter ja%,$(LANG)),ja,en); \
	fi

# Benchmarks, not tests: builds its own Release copies and writes docs/PERFORMANCE.md.
bench:
	@scripts/setup all
	@scripts/bench

# The README's screenshots, taken anew by the end-to-end run of the current program.
screenshots: windows
	@scripts/screenshots

# Installs glimmer-convert, the glimmer launcher with glimmer.exe, the manual pages, the desktop
# entry and its icons under PREFIX (default /usr/local; DESTDIR is honoured); sudo only when
# PREFIX cannot be written. Uninstall removes exactly what the installation there put in.
# PREFIX and DESTDIR reach the script as they were given, through its environment: neither make
# nor the shell reads them as code.
PREFIX ?= /usr/local
unexport PREFIX DESTDIR
install uninstall: export GLIMMER_PREFIX = $(value PREFIX)
install uninstall: export GLIMMER_DESTDIR = $(value DESTDIR)
install:
	@scripts/setup install
	@PREFIX="$$GLIMMER_PREFIX" DESTDIR="$$GLIMMER_DESTDIR" JOBS="$(JOBS)" scripts/installation install

uninstall:
	@PREFIX="$$GLIMMER_PREFIX" DESTDIR="$$GLIMMER_DESTDIR" scripts/installation uninstall

# The source tarball and the Windows zip of the commit checked out, named with the version and
# the same bytes for the same commit, into DIST_DIR (default build/dist).
DIST_DIR ?= build/dist
dist:
	@scripts/setup dist
	@JOBS="$(JOBS)" scripts/dist "$(DIST_DIR)"

clean:
	rm -rf build out
