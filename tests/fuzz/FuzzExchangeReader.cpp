// Harness: the exchange-format reader. Each input is written over one scratch
// file of this process, which the reader reads through the same descriptor;
// the module it loads is released again so that the process-wide table never
// fills up.
#include "tests/fuzz/FuzzHarness.h"

#include "platform/TempFile.h"
#include "suite/asn1/Asn1ExchangeReader.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static TempFile scratch = TempFile::create("", "xlator-fuzz-exchange-");
    std::FILE* file = scratch.stream();
    if (!file) std::abort();  // no scratch space: not a finding
    std::rewind(file);
    if (ftruncate(fileno(file), 0) != 0) std::abort();
    if (size && std::fwrite(data, 1, size, file) != size) std::abort();
    if (std::fflush(file) != 0) std::abort();
    std::rewind(file);
    LibraryError error;
    Asn1ModuleHandle handle = loadExchangeStream(file, scratch.path(), error);
    if (handle != kNoAsn1Module) Asn1ModuleTable::instance().release(handle);
    return 0;
}
