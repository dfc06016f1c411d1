// Harness: the exchange-format reader. It reads from a file, so each input is
// written over one scratch file of this process; the module it loads is
// released again so that the process-wide table never fills up.
#include "tests/fuzz/FuzzHarness.h"

#include "platform/TempFile.h"
#include "suite/asn1/Asn1ExchangeReader.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
const std::string& scratchFile() {
    static const std::string path = [] {
        std::string made = createTempFile("", "xlator-fuzz-exchange-");
        if (made.empty()) std::abort();  // no scratch space: not a finding
        return made;
    }();
    return path;
}

void removeScratchFile() { std::remove(scratchFile().c_str()); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static bool cleanupRegistered = (std::atexit(removeScratchFile), true);
    (void)cleanupRegistered;
    std::FILE* out = std::fopen(scratchFile().c_str(), "wb");
    if (!out) std::abort();
    if (size && std::fwrite(data, 1, size, out) != size) std::abort();
    std::fclose(out);
    LibraryError error;
    Asn1ModuleHandle handle = loadExchangeFile(scratchFile(), error);
    if (handle != kNoAsn1Module) Asn1ModuleTable::instance().release(handle);
    return 0;
}
