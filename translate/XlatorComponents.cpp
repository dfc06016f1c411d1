// Ports, components and configurations: one message port type per PCO type
// and "CP_Type" for the coordination messages, the common component type
// "BASE" with the PCOs, CPs, test case variables and timers as members, one
// component type per test component extending it, and one configuration
// function per configuration that maps every PCO and connects every CP once.
#include "translate/XlatorVisitor.h"

#include "access/AccessSuite.h"
#include "front/Fatal.h"
#include "front/XlatorOptions.h"
#include "front/XlatorOutput.h"
#include "translate/XlatorDefinitionCollector.h"
#include "translate/XlatorWithVisitor.h"

#include <cctype>
#include <set>

std::string XlatorVisitor::messageTypeName(const std::string& typeId) {
    std::string name = typeId;
    if (!name.empty() && gDefinitionCollector.existsTypeReference(typeId))
        name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    return name;
}

// The group of the PCO types, then the port type of the CMs, which belongs to
// no PCO type; the table's with-block follows both.
void XlatorVisitor::VisitPCO_TypeDcls(const PCO_TypeDcls& node) {
    XlatorAttributeList attributes = CollectAttributes(node);
    writeAttributeComments(attributes);
    XlatorOutput& out = output();
    out.beginGroup("PCOTypeDeclarations");
    VisitPCO_TypeDclList(node.pco_TypeDclList());
    out.closeBlock(true);
    out.startLine();
    std::set<std::string> cms = gDefinitionCollector.getAllCMs();
    if (!cms.empty()) {
        out.writeComment("Special port type for CMs");
        out.writeLine("type port CP_Type message");
        out.openBlock();
        for (const std::string& cm : cms) out.writeLine("inout " + messageTypeName(cm));
        out.closeBlock(true);
        out.startLine();
    }
    writeWithBlock(attributes, tabularFormat);
}

// The role of the PCO type is not translated. A PCO type that no ASP or PDU
// names gets an empty port body.
void XlatorVisitor::VisitPCO_TypeDcl(const PCO_TypeDcl& node) {
    XLATOR_ASSERT(node.is_present_pco_TypeId(), "PCO type id not specified");
    XlatorAttributeList attributes = CollectAttributes(node);
    writeAttributeComments(attributes);
    XlatorOutput& out = output();
    out.write("type port ");
    VisitPCO_TypeId(node.pco_TypeId());
    out.write(" message");
    out.startLine();
    out.openBlock();
    std::string typeId(node.pco_TypeId().identifier().text());
    for (const std::string& message : gDefinitionCollector.getASPsForPCOType(typeId))
        out.writeLine("inout " + messageTypeName(message));
    out.closeBlock(true);
    out.startLine();
    writeWithBlock(attributes, tabularFormat);
}

void XlatorVisitor::VisitPCO_Dcls(const PCO_Dcls& node) {
    output().writeComment("PCODeclarations");
    VisitPCO_DclList(node.pco_DclList());
}

// A member of BASE: no with-block of its own, and the role is not translated.
void XlatorVisitor::VisitPCO_Dcl(const PCO_Dcl& node) {
    XLATOR_ASSERT(node.is_present_pco_Id(), "PCO id not present");
    XLATOR_ASSERT(node.is_present_pco_TypeId(), "PCO type id not present");
    writeAttributeComments(CollectAttributes(node));
    output().write("port ");
    VisitPCO_TypeId(node.pco_TypeId());
    output().space();
    VisitPCO_Id(node.pco_Id());
    output().startLine();
}

void XlatorVisitor::VisitCP_Dcls(const CP_Dcls& node) {
    output().writeComment("CoordinationPointDeclarations");
    VisitCP_DclList(node.cp_DclList());
}

void XlatorVisitor::VisitCP_Dcl(const CP_Dcl& node) {
    XLATOR_ASSERT(node.is_present_cp_Id(), "CP id not present");
    writeAttributeComments(CollectAttributes(node));
    output().write("port CP_Type ");
    VisitCP_Id(node.cp_Id());
    output().startLine();
}

void XlatorVisitor::VisitTimerDcls(const TimerDcls& node) {
    output().writeComment("TimerDeclarations");
    VisitTimerDclList(node.timerDclList());
}

// TTCN-3 timers count seconds as floats: the duration is converted and scaled
// by its unit. A timer without duration gets its value when it is started, so
// its unit is not written.
void XlatorVisitor::VisitTimerDcl(const TimerDcl& node) {
    XLATOR_ASSERT(node.is_present_timerId(), "Timer id not present");
    XLATOR_ASSERT(node.is_present_unit(), "Timer unit not present");
    writeAttributeComments(CollectAttributes(node));
    output().write("timer ");
    VisitTimerId(node.timerId());
    if (node.is_present_duration()) {
        output().write(" := int2float(");
        VisitDuration(node.duration());
        output().write(")");
        VisitUnit(node.unit());
    }
    output().startLine();
}

// The role and the numbers of PCOs and CPs are not translated.
void XlatorVisitor::VisitTCompDcl(const TCompDcl& node) {
    XLATOR_ASSERT(node.is_present_tcompId(), "Component id not specified");
    XlatorAttributeList attributes = CollectAttributes(node);
    writeAttributeComments(attributes);
    output().write("type component ");
    VisitTCompId(node.tcompId());
    output().write("_CT");
    output().writeLine(" extends BASE {}");
    writeWithBlock(attributes, tabularFormat);
}

void XlatorVisitor::VisitTCompConfigDcls(const TCompConfigDcls& node) {
    output().beginGroup("TestComponentConfigurationDeclarations");
    AccessVisitor::VisitTCompConfigDcls(node);
    output().closeBlock(true);
    output().startLine();
}

// Every component of the configuration, the MTC included, is a parameter;
// the test case creates the components and calls the function.
void XlatorVisitor::VisitTCompConfigDcl(const TCompConfigDcl& node) {
    XLATOR_ASSERT(node.is_present_tcompConfigId(), "Configuration id not present");
    XlatorAttributeList attributes = CollectAttributes(node);
    writeAttributeComments(attributes);
    XlatorOutput& out = output();
    TCompConfigInfoList rows = node.tcompConfigInfoList();
    out.write("function InitConfiguration_");
    VisitTCompConfigId(node.tcompConfigId());
    out.write("(");
    // Each further parameter stands on a line of its own, one level deeper.
    out.indentMore();
    for (int32_t i = 0; i < rows.size(); ++i) {
        TCompConfigInfo cnf_info = rows.tcompConfigInfo(i);
        XLATOR_ASSERT(cnf_info.is_present_tcompUsed(), "Component not specified in configuration");
        writeAttributeComments(CollectAttributes(cnf_info));
        out.write("inout ");
        VisitTCompUsed(cnf_info.tcompUsed());
        out.write("_CT ");
        VisitTCompUsed(cnf_info.tcompUsed());
        if (i + 1 < rows.size()) out.writeLine(", ");
    }
    out.dedent();
    out.writeLine(")");
    out.openBlock();

    out.writeComment("map all PCOs");
    for (int32_t i = 0; i < rows.size(); ++i) {
        TCompConfigInfo cnf_info = rows.tcompConfigInfo(i);
        XLATOR_ASSERT(cnf_info.is_present_tcompUsed(), "Component not specified in configuration");
        if (!cnf_info.is_present_pcos_Used()) continue;
        PCO_List pcos = cnf_info.pcos_Used().pco_List();
        for (int32_t p = 0; p < pcos.size(); ++p) {
            out.write("map(");
            VisitTCompUsed(cnf_info.tcompUsed());
            out.write(" : ");
            VisitIdentifier(pcos.identifier(p));
            out.write(", system : ");
            VisitIdentifier(pcos.identifier(p));
            out.writeLine(")");
        }
    }

    // A CP joins two components: it is connected once, from the first
    // component (in table order) that uses it.
    out.writeComment("connect all CPs");
    std::string configurationId(node.tcompConfigId().identifier().text());
    std::set<std::string> connected;
    for (int32_t i = 0; i < rows.size(); ++i) {
        TCompConfigInfo cnf_info = rows.tcompConfigInfo(i);
        XLATOR_ASSERT(cnf_info.is_present_tcompUsed(), "Component not specified in configuration");
        if (!cnf_info.is_present_cps_Used()) continue;
        std::string componentId(cnf_info.tcompUsed().identifier().text());
        CP_List cps = cnf_info.cps_Used().cp_List();
        for (int32_t c = 0; c < cps.size(); ++c) {
            std::string cpId(cps.identifier(c).text());
            if (connected.count(cpId)) continue;
            std::string partner = gDefinitionCollector.getCPPartner(configurationId, componentId, cpId);
            out.write("connect(");
            VisitTCompUsed(cnf_info.tcompUsed());
            out.write(" : ");
            VisitIdentifier(cps.identifier(c));
            out.write(", " + identifierText(partner) + " : ");
            VisitIdentifier(cps.identifier(c));
            out.writeLine(")");
            connected.insert(cpId);
        }
    }
    out.closeBlock(true);
    writeWithBlock(attributes, tabularFormat);
}

void XlatorVisitor::writeBaseComponentType() {
    Declarations declarations = suite_.root().as<ASuite>().declarationsPart().declarations();
    // The attributes of the four member tables, each table's detailed comment
    // followed by its rows' comments.
    XlatorAttributeList attributes;
    for (const AccessNode& table : {AccessNode(declarations.tc_VarDcls()), AccessNode(declarations.pco_Dcls()),
                                    AccessNode(declarations.cp_Dcls()), AccessNode(declarations.timerDcls())}) {
        XlatorAttributeList part = CollectAttributes(table);
        for (auto& attribute : part) attributes.push_back(std::move(attribute));
    }
    writeAttributeComments(attributes);
    XlatorOutput& out = output();
    out.writeLine("type component BASE");
    out.openBlock();
    VisitPCO_Dcls(declarations.pco_Dcls());
    VisitCP_Dcls(declarations.cp_Dcls());
    VisitTC_VarDcls(declarations.tc_VarDcls());
    VisitTimerDcls(declarations.timerDcls());
    out.writeComment("Set of variables that hold values at receive statements");
    for (const std::string& typeId : gDefinitionCollector.getAllPCOMessageTypes()) {
        std::string typeName = messageTypeName(typeId);
        out.writeLine("var " + typeName + " v_" + typeName);
    }
    out.closeBlock(true);
    writeWithBlock(attributes, tabularFormat);
}
