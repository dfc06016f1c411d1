# Thin wrapper over CMake; see README.md.
BUILD ?= build
TYPE ?= Release
CMAKE_FLAGS ?=
JOBS ?= 2
PREFIX ?= /usr/local

.PHONY: configure build programs test demo install clean

configure:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(TYPE) $(CMAKE_FLAGS)

# Everything: the programs, the test programs and the benchmarks.
build: configure
	cmake --build $(BUILD) -j$(JOBS)

# Only what a conversion needs: xlator.exe, modconv.exe and the keyword file
# (copied beside them when CMake configures the build).
programs: configure
	cmake --build $(BUILD) -j$(JOBS) --target xlator modconv

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# Converts the example suite in a scratch copy, so the repository stays clean.
# The root module's file sorts first among examples/*.mp.
demo: programs
	@test -n "$$(ls examples/*.mp 2>/dev/null)" || { echo "no example suite in examples/"; exit 1; }
	rm -rf $(BUILD)/demo
	mkdir -p $(BUILD)/demo
	cp -R examples/. $(BUILD)/demo/
	cd $(BUILD)/demo && VELD="$(abspath $(BUILD))/bin" ../bin/xlator.exe $$(ls *.mp) $$(ls *.asn 2>/dev/null)
	@echo "Output files are in $(BUILD)/demo/"

# The two programs and the keyword file into $(PREFIX)/bin.
install: programs
	cmake --install $(BUILD) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD)
