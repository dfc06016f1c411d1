// The identifier rule: every identifier the translation writes, whether it is
// an Identifier node or a name handed over as text, goes through
// identifierText, so that aliases, the case of ASN.1 names, the message
// variables, the "-"/"_" exchange and the predefined functions are decided in
// one place.
#include "translate/XlatorVisitor.h"

#include "front/XlatorOutput.h"
#include "translate/XlatorDefinitionCollector.h"

#include <algorithm>
#include <cctype>

namespace {

struct PredefinedOperation {
    std::string_view ttcn2;
    const char* ttcn3;
};

constexpr PredefinedOperation kPredefinedOperations[] = {
    {"INT_TO_BIT", "int2bit"},   {"BIT_TO_INT", "bit2int"},     {"INT_TO_HEX", "int2hex"},
    {"HEX_TO_INT", "hex2int"},   {"IS_CHOSEN", "ischosen"},     {"IS_PRESENT", "ispresent"},
    {"LENGTH_OF", "lengthof"},   {"NUMBER_OF_ELEMENTS", "sizeof"},
};

}  // namespace

const char* XlatorVisitor::predefinedFunction(std::string_view name) {
    for (const PredefinedOperation& op : kPredefinedOperations)
        if (op.ttcn2 == name) return op.ttcn3;
    return nullptr;
}

std::string XlatorVisitor::identifierText(std::string_view name) const {
    std::string text(name);

    // 1. An alias stands for its expansion.
    if (auto alias = aliases_.find(text); alias != aliases_.end()) text = alias->second;

    // 2. ASN.1 type names begin with a capital, named numbers, named types and
    //    selection identifiers with a small letter; only the first letter changes.
    if (!text.empty()) {
        unsigned char first = static_cast<unsigned char>(text[0]);
        if (gDefinitionCollector.existsTypeReference(text))
            text[0] = static_cast<char>(std::toupper(first));
        else if (gDefinitionCollector.existsNamedIdentifier(text))
            text[0] = static_cast<char>(std::tolower(first));
    }

    // 3. Inside qualifiers and assignments a message type name means the
    //    message variable that the behaviour translation receives into.
    if (inExpression_) {
        if (!pcoMessageTypes_) pcoMessageTypes_ = gDefinitionCollector.getAllPCOMessageTypes();
        if (pcoMessageTypes_->count(text)) text = "v_" + text;
    }

    // 4. ASN.1 names take hyphens, TTCN-3 names underscores; the TTCN-2
    //    predefined operations are TTCN-3 functions of other names.
    if (output().asnCurrent()) {
        std::replace(text.begin(), text.end(), '_', '-');
        return text;
    }
    std::replace(text.begin(), text.end(), '-', '_');
    if (const char* function = predefinedFunction(text)) return function;
    return text;
}

void XlatorVisitor::VisitIdentifier(const Identifier& node) { output().write(identifierText(node.text())); }
