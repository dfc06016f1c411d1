// Harness: the field parser. The first two bytes choose the cell kind among
// the kinds the parser has a grammar for, the rest is the cell's text. The
// top bit of the first byte lets names starting with "C" be callable.
#include "tests/fuzz/FuzzHarness.h"

#include "suite/fields/FieldParser.h"

#include <string_view>
#include <vector>

namespace {
const std::vector<int32_t>& knownKinds() {
    static const std::vector<int32_t> kinds = [] {
        std::vector<int32_t> found;
        TreeArena scratch;
        for (int32_t kind = 1; kind <= 748; ++kind) {
            if (!isFieldKind(kind)) continue;
            FieldParseResult probe = parseField(kind, "x", 1, scratch);
            if (probe.findings.empty() || probe.findings.front().message != 38) found.push_back(kind);
        }
        return found;
    }();
    return kinds;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::vector<int32_t>& kinds = knownKinds();
    if (size < 2 || kinds.empty()) return 0;
    std::size_t choice = (std::size_t(data[0]) << 8 | data[1]) % kinds.size();
    std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);
    TreeArena arena;
    const CallableName callable = [](std::string_view name) { return !name.empty() && name.front() == 'C'; };
    parseField(kinds[choice], text, 1, arena, (data[0] & 0x80) ? callable : CallableName());
    return 0;
}
