// The one entry point every fuzz harness defines. Under libFuzzer the engine
// calls it; in the ordinary build ReplayMain.cpp feeds it the committed corpus
// and regression files, so both builds run the very same code.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);
