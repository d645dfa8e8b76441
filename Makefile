# The everyday commands. Each installs what it needs first (scripts/setup-deps).
BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: all build demo run package screenshot windows test test-linux test-package test-sanitize test-windows test-windows-display bench fuzz clean

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

# The Debian package: $(BUILD)/varnikit_1.0_amd64.deb.
package: build
	scripts/setup-deps package
	cmake --build $(BUILD) --target package

# The picture of the main window in docs/ (README, AppStream metadata).
screenshot: build
	scripts/setup-deps package
	scripts/screenshot $(BUILD)

# The Windows program: build-win/varnikit.exe, build-win/Varnikit-1.0-win64.zip and the setup
# build-win/Varnikit-1.0-setup.exe (MinGW-w64 and NSIS).
windows:
	scripts/package-windows

# Every test: the Linux build, the package, the core again with sanitizers, then the Windows program under
# Wine: its tests, then the installed program started on a virtual display.
test: test-linux test-package test-sanitize test-windows test-windows-display

test-linux: build
	scripts/run-tests $(BUILD)

test-package: build
	scripts/setup-deps package
	scripts/test-package $(BUILD)

test-sanitize:
	scripts/test-sanitize

test-windows:
	scripts/test-windows

test-windows-display:
	scripts/test-windows-display

# Every reader of a data file fed random bytes for FUZZ_SECONDS each (not part of the tests).
FUZZ_SECONDS ?= 60
fuzz:
	scripts/fuzz $(FUZZ_SECONDS)

bench:
	scripts/run-benchmarks

clean:
	rm -rf $(BUILD) build-win build-asan build-fuzz
