// Harness: the field parser. The first two bytes choose the cell kind among
// the kinds the parser knows, the rest is the cell's text.
#include "tests/fuzz/FuzzHarness.h"

#include "suite/fields/FieldParser.h"

#include <string_view>
#include <vector>

namespace {
const std::vector<int32_t>& knownKinds() {
    static const std::vector<int32_t> kinds = [] {
        std::vector<int32_t> found;
        for (int32_t kind = 1; kind <= 748; ++kind)
            if (isFieldKind(kind)) found.push_back(kind);
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
    parseField(kinds[choice], text, 1, arena);
    return 0;
}
