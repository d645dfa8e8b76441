# The everyday commands. Each installs what it needs first (scripts/setup-deps).
BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: all build demo run test test-linux test-windows bench clean

all: build

$(BUILD)/build.ninja:
	scripts/setup-deps build test
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# Builds, makes a sandbox with a generated game folder (once) and starts the program in it.
demo: build
	scripts/demo $(BUILD)

# Starts the program with the user's own settings.
run: build
	$(BUILD)/varnikit

# Every test: the Linux build, then the Windows build of the core under Wine.
test: test-linux test-windows

test-linux: build
	scripts/run-tests $(BUILD)

test-windows:
	scripts/test-windows

bench: build
	scripts/run-benchmarks $(BUILD)

clean:
	rm -rf $(BUILD) build-win
