# Thin wrapper around CMake: `make run` shows the screen saver, `make test` builds and runs every test.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test sanitize clean

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

# Debug build with AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer in build-sanitize/, and
# every test outside the integration labels under it.
sanitize: deps
	@cmake --preset sanitize >/dev/null
	@cmake --build --preset sanitize -j $(JOBS)
	@ctest --preset sanitize

# The options window on the current display, with the stored settings.
.PHONY: options
options: configure
	@cmake --build $(BUILD) --target QuorvaneOptions -j $(JOBS)
	@"$(BUILD)/Quorvane Options.app/Contents/Linux/Quorvane Options"

clean:
	rm -rf $(BUILD) build-sanitize
