# Thin wrapper over CMake; see README.md.
BUILD ?= build
TYPE ?= Release
CMAKE_FLAGS ?=

.PHONY: build test clean

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(TYPE) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$$(nproc)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$$(nproc)

clean:
	rm -rf $(BUILD)
