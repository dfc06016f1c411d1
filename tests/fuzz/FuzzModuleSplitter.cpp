// Harness: the ASN.1 module splitter behind modconv.exe, with the keyword
// file that ships beside the binaries, then the exchange block it writes.
#include "tests/fuzz/FuzzHarness.h"

#include "modconv/ExchangeWriter.h"
#include "modconv/Keywords.h"
#include "modconv/ModuleSplitter.h"

#include <cstdlib>
#include <set>
#include <string>

namespace {
const std::set<std::string>& keywords() {
    static const std::set<std::string> words = [] {
        auto read = readKeywordFile(XLATOR_KEYWORD_FILE);
        if (!read) std::abort();  // a broken build, not a finding
        return *read;
    }();
    return words;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string source(reinterpret_cast<const char*>(data), size);
    SplitResult result = splitModules(std::move(source), keywords());
    if (result.ok() && !result.modules.empty()) exchangeBlock(result.modules);
    return 0;
}
