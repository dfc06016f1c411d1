# Thin wrapper over CMake; see README.md.
BUILD ?= build
TYPE ?= Release
CMAKE_FLAGS ?=
JOBS ?= 2

.PHONY: build test demo clean

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(TYPE) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# Converts the example suite in a scratch copy, so the repository stays clean.
# The root module's file sorts first among examples/*.mp.
demo: build
	@test -n "$$(ls examples/*.mp 2>/dev/null)" || { echo "no example suite in examples/"; exit 1; }
	rm -rf $(BUILD)/demo
	mkdir -p $(BUILD)/demo
	cp -R examples/. $(BUILD)/demo/
	cd $(BUILD)/demo && ../bin/xlator.exe $$(ls *.mp) $$(ls *.asn 2>/dev/null)
	@echo "Output files are in $(BUILD)/demo/"

clean:
	rm -rf $(BUILD)
