# Thin wrapper around CMake: `make run` shows the screen saver, `make test` builds and runs every test.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test clean

all: build

deps:
	@tools/install-deps

configure: deps
	@cmake --preset default -B $(BUILD) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@tools/run

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j 2 --timeout 600

clean:
	rm -rf $(BUILD)
