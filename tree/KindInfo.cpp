#include "tree/KindInfo.h"

#include "tree/Choices.h"
#include "tree/SymbolCode.h"

#include <algorithm>

std::span<const FieldInfo> KindInfo::fields() const {
    if (role != KindRole::Sequence) return {};
    return {items, static_cast<std::size_t>(itemCount)};
}

std::span<const FieldInfo> KindInfo::alternatives() const {
    if (role != KindRole::Choice) return {};
    return {items, static_cast<std::size_t>(itemCount)};
}

bool KindInfo::hasAlternative(int32_t alternative) const {
    auto alts = alternatives();
    return std::any_of(alts.begin(), alts.end(), [&](const FieldInfo& f) { return f.kind == alternative; });
}

int32_t KindInfo::elementKind() const {
    if (role != KindRole::List || itemCount != 1) return Choices::invalid_choice;
    return items[0].kind;
}

// The schema's code table already names every code's kind; the name of an
// object kind is the kind's own name.
const char* symbolCodeName(SymbolCode code) {
    const int32_t kind = kindOfIdTypeCode(static_cast<int32_t>(code));
    return kind == Choices::invalid_choice ? "" : Choices::to_char(kind);
}
