#include "tree/KindInfo.h"

#include "tree/Choices.h"

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
