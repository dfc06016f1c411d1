#include "suite/analysis/SymbolCode.h"

#include "tree/Choices.h"
#include "tree/KindInfo.h"

// The schema's code table already names every code's kind; the name of an
// object kind is the kind's own name.
const char* symbolCodeName(SymbolCode code) {
    const int32_t kind = kindOfIdTypeCode(static_cast<int32_t>(code));
    return kind == Choices::invalid_choice ? "" : Choices::to_char(kind);
}
