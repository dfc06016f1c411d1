// The formal parameter list writer: one parameter per identifier of each
// parameter group, so a group "a, b: T" repeats its type for b.
#include "translate/XlatorVisitor.h"

#include "front/XlatorOutput.h"

void XlatorVisitor::writeParameters(const FormalParList& list, bool withTypes, bool templateMarks,
                                    const std::set<std::string>& fromRoot) {
    XlatorOutput& out = output();
    bool first = true;
    for (int32_t i = 0; i < list.size(); ++i) {
        FormalParAndType group = list.formalParAndType(i);
        FormalParType type = group.formalParType();
        FormalParIdList names = group.formalParIdList();
        for (int32_t j = 0; j < names.size(); ++j) {
            if (!first) out.write(", ");
            first = false;
            if (withTypes) {
                // Data and PDU parameters may be given matching templates;
                // timers and coordination points may not.
                int32_t kind = type.choice();
                if (templateMarks && (kind == Choices::TTCN_Type || kind == Choices::PDU)) out.write("template ");
                VisitFormalParType(type);
                out.write(" ");
            }
            Identifier name = names.identifier(j);
            VisitIdentifier(name);
            if (fromRoot.count(std::string(name.text()))) out.write("_FROM_ROOT");
        }
    }
}

void XlatorVisitor::VisitFormalParList(const FormalParList& node) { writeParameters(node, true, false); }
