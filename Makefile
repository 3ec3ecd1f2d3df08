# The front door: `make run` and `make test` set up a fresh machine themselves.
MAKEFLAGS += --no-print-directory
SHELL := /bin/bash
JOBS ?= 2
CTEST_ARGS ?=

.PHONY: all deps build x86 x64 host test run dist bench soak fuzz screenshots clean

all: build

deps:
	@bash tools/install-deps.sh

x86: deps
	@cmake -S . -B build/x86 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build/x86 -j$(JOBS)

x64: deps x86
	@cmake -S . -B build/x64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x64.cmake -DCMAKE_BUILD_TYPE=Release \
	  -DAPP_EXE_X86=$(CURDIR)/build/x86/yanchuan.exe >/dev/null
	@cmake --build build/x64 -j$(JOBS)

build: x86 x64

# Native builds of the code that needs no Windows, under the sanitizers and libFuzzer.
host: deps
	@cmake -S tests/host -B build/host -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
	@cmake --build build/host -j$(JOBS)

test: build host
	@cd build/host && ctest --output-on-failure $(CTEST_ARGS)
	@cd build/x64 && ctest --output-on-failure $(CTEST_ARGS)

fuzz: host
	@cmake --build build/host --target fuzz_long

run: build
	@bash tools/run.sh build/x64/yanchuan.exe

dist: build
	@rm -rf dist && mkdir -p dist/x86 dist/x64
	@cp build/x86/yanchuan.exe dist/x86/ && cp build/x64/yanchuan.exe dist/x64/
	@ls -l dist/x86/yanchuan.exe dist/x64/yanchuan.exe

clean:
	rm -rf build dist

screenshots: build
	@bash tools/screenshots.sh

bench: build
	@bash tools/bench/run_bench.sh

soak: build
	@bash tests/soak/run_soak.sh
