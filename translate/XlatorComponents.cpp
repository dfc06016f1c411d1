// The common component type BASE, which every test component type extends.
#include "translate/XlatorVisitor.h"

#include "access/AccessSuite.h"
#include "front/XlatorOptions.h"
#include "front/XlatorOutput.h"
#include "translate/XlatorDefinitionCollector.h"
#include "translate/XlatorWithVisitor.h"

#include <cctype>

std::string XlatorVisitor::messageTypeName(const std::string& typeId) {
    std::string name = typeId;
    if (!name.empty() && gDefinitionCollector.existsTypeReference(typeId))
        name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    return name;
}

void XlatorVisitor::writeBaseComponentType() {
    Declarations declarations = suite_.root().as<ASuite>().declarationsPart().declarations();
    // The four member tables each bring their detailed comment and their rows'
    // comments (with the row as target).
    XlatorAttributeList attributes;
    for (const AccessNode& table : {AccessNode(declarations.tc_VarDcls()), AccessNode(declarations.pco_Dcls()),
                                    AccessNode(declarations.cp_Dcls()), AccessNode(declarations.timerDcls())})
        for (auto& attribute : CollectAttributes(table)) attributes.push_back(std::move(attribute));
    writeAttributeComments(attributes);

    XlatorOutput& out = output();
    out.writeLine("type component BASE");
    out.openBlock();
    if (PCO_Dcls pcos = declarations.pco_Dcls(); !pcos.isEmpty()) VisitPCO_Dcls(pcos);
    if (CP_Dcls cps = declarations.cp_Dcls(); !cps.isEmpty()) VisitCP_Dcls(cps);
    if (TC_VarDcls variables = declarations.tc_VarDcls(); !variables.isEmpty()) VisitTC_VarDcls(variables);
    if (TimerDcls timers = declarations.timerDcls(); !timers.isEmpty()) VisitTimerDcls(timers);
    out.writeComment("Set of variables that hold values at receive statements");
    for (const std::string& typeId : gDefinitionCollector.getAllPCOMessageTypes()) {
        std::string type = messageTypeName(typeId);
        out.writeLine("var " + type + " v_" + type);
    }
    out.closeBlock(true);
    writeWithBlock(attributes, tabularFormat);
}
