# The two commands a newcomer needs: `make run` and `make test`. Both install what is missing.
SHELL := /bin/bash
JOBS ?= $(shell nproc)

.PHONY: setup run test native windows test-native test-windows bench clean

setup:
	@scripts/setup

native: setup
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j $(JOBS)

windows: setup
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows -j $(JOBS)

test-native: native
	ctest --preset native

test-windows: windows
	xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset windows

test: test-native test-windows

run: native
	@scripts/run-demo

# Benchmarks, not tests: builds its own Release copies and writes docs/PERFORMANCE.md.
bench: setup
	@scripts/bench

clean:
	rm -rf build out
