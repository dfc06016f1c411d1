// The module frame: the heads and ends of the TTCN-3 module and of the ASN.1
// module ExtASN, the group of every table kind in the declarations and
// constraints parts, and the import statements.
#include "translate/XlatorVisitor.h"

#include "front/Fatal.h"
#include "front/XlatorOptions.h"
#include "front/XlatorOutput.h"
#include "translate/XlatorWithVisitor.h"

void XlatorVisitor::VisitASuite(const ASuite& node) {
    // Checked before anything is written, so a nameless suite leaves ExtASN empty.
    XLATOR_ASSERT(node.is_present_suiteId(), "Suite name not specified");
    // Only the suite structure table of the overview is translated.
    XlatorAttributeList attributes = CollectAttributes(node);
    XlatorOutput& out = output();

    out.selectAsn();
    out.writeLine("ExtASN DEFINITIONS AUTOMATIC TAGS ::=");
    out.writeLine("BEGIN");

    out.selectTtcn();
    writeAttributeComments(attributes);
    out.write("module ");
    VisitSuiteId(node.suiteId());
    out.startLine();
    out.openBlock();

    // Parts the loaded suite lacks are written as empty parts.
    VisitDeclarationsPart(node.declarationsPart());
    VisitConstraintsPart(node.constraintsPart());
    VisitDynamicPart(node.dynamicPart());
    writeControlPart(node);

    out.closeBlock(true);
    writeWithBlock(attributes, tabularFormat);

    out.selectAsn();
    out.writeLine("END");
    out.selectTtcn();
}

void XlatorVisitor::writeGroupFrame(const AccessNode& node, const std::string& name, bool withAttributes,
                                    const std::function<void()>& contents) {
    XlatorAttributeList attributes;
    if (withAttributes) {
        attributes = CollectAttributes(node);
        writeAttributeComments(attributes);
    }
    XlatorOutput& out = output();
    out.beginGroup(name);
    contents();
    out.closeBlock(true);
    out.startLine();
    if (withAttributes) writeWithBlock(attributes, tabularFormat);
}

// The group layout: one line per table kind, its group name and whether its
// comments and with-block are written around the group. The contents are the
// default walk of the node's fields.
#define XLATOR_GROUP(Kind, name, withAttributes)                                                 \
    void XlatorVisitor::Visit##Kind(const Kind& node) {                                          \
        writeGroupFrame(AccessNode(node), name, withAttributes, [&] { AccessVisitor::Visit##Kind(node); }); \
    }

XLATOR_GROUP(DeclarationsPart, "DeclarationsPart", false)
XLATOR_GROUP(TS_TypeDefs, "TestSuiteTypeDefinitions", false)
XLATOR_GROUP(StructTypeDefs, "StructuredTypeDefinitions", false)
XLATOR_GROUP(ASN1_TypeDefs, "ASN1TypeDefinitions", false)
XLATOR_GROUP(ASN1_TypeRefs, "ASN1TypeDefinitionsByReference", true)
XLATOR_GROUP(TS_OpDefs, "TestSuiteOperationDefinitions", false)
XLATOR_GROUP(TS_ProcDefs, "TestSuiteOperationProceduralDefinitions", false)
XLATOR_GROUP(TS_ParDcls, "TestSuiteParameterDeclarations", true)
XLATOR_GROUP(SelectExprDefs, "TestCaseSelectionExpressionDefinitions", true)
XLATOR_GROUP(TS_ConstDcls, "TestSuiteConstantDeclarations", true)
XLATOR_GROUP(TS_ConstRefs, "TestSuiteConstantDeclarationsByReference", true)
XLATOR_GROUP(ASP_TypeDefs, "ASPTypeDefinitions", false)
XLATOR_GROUP(TTCN_ASP_TypeDefs, "TTCNASPTypeDefinitions", false)
XLATOR_GROUP(ASN1_ASP_TypeDefs, "ASN1ASPTypeDefinitions", false)
XLATOR_GROUP(ASN1_ASP_TypeDefsByRef, "ASN1ASPTypeDefinitionsByReference", true)
XLATOR_GROUP(PDU_TypeDefs, "PDUTypeDefinitions", false)
XLATOR_GROUP(TTCN_PDU_TypeDefs, "TTCNPDUTypeDefinitions", false)
XLATOR_GROUP(ASN1_PDU_TypeDefs, "ASN1PDUTypeDefinitions", false)
XLATOR_GROUP(ASN1_PDU_TypeDefsByRef, "ASN1PDUTypeDefinitionsByReference", true)
XLATOR_GROUP(CM_TypeDefs, "CMTypeDefinitions", false)
XLATOR_GROUP(TTCN_CM_TypeDefs, "TTCNCMTypeDefinitions", false)
XLATOR_GROUP(ASN1_CM_TypeDefs, "ASN1CMTypeDefinitions", false)
XLATOR_GROUP(AliasDefs, "AliasDefinitions", true)
XLATOR_GROUP(ImportPart, "ImportPart", false)
XLATOR_GROUP(ConstraintsPart, "ConstraintsPart", false)
XLATOR_GROUP(TS_TypeConstraints, "TestSuiteTypeConstraintDeclarations", false)
XLATOR_GROUP(StructTypeConstraints, "StructuredTypeConstraintDeclarations", false)
XLATOR_GROUP(ASN1_TypeConstraints, "ASN1ConstraintDeclarations", false)
XLATOR_GROUP(ASP_Constraints, "ASPConstraintDeclarations", false)
XLATOR_GROUP(TTCN_ASP_Constraints, "TTCNASPConstraintDeclarations", false)
XLATOR_GROUP(ASN1_ASP_Constraints, "ASN1ASPConstraintDeclarations", false)
XLATOR_GROUP(PDU_Constraints, "PDUConstraintDeclarations", false)
XLATOR_GROUP(TTCN_PDU_Constraints, "TTCNPDUConstraintDeclarations", false)
XLATOR_GROUP(ASN1_PDU_Constraints, "ASN1PDUConstraintDeclarations", false)
XLATOR_GROUP(CM_Constraints, "CMConstraintDeclarations", false)
XLATOR_GROUP(TTCN_CM_Constraints, "TTCNCMConstraintDeclarations", false)
XLATOR_GROUP(ASN1_CM_Constraints, "ASN1CMConstraintDeclarations", false)

#undef XLATOR_GROUP

void XlatorVisitor::VisitSimpleTypeDefs(const SimpleTypeDefs& node) {
    writeGroupFrame(AccessNode(node), "SimpleTypeDefinitions", true, [&] {
        writeStringTypePrologue();
        AccessVisitor::VisitSimpleTypeDefs(node);
    });
}

void XlatorVisitor::writeStringTypePrologue() {
    // The ASN.1 character string types, which the rest of the module may name.
    static const char* const kStringTypes[] = {
        "NumericString", "PrintableString", "TeletexString", "VideotexString", "VisibleString",
        "IA5String",     "GraphicString",   "GeneralString", "T61String",      "ISO646String",
    };
    XlatorOutput& out = output();
    out.todo("you may need to specify 'pattern' constraints for string types");
    for (const char* type : kStringTypes)
        out.writeLine(std::string("type charstring ") + type + " /* (pattern \"<TODO>\") */");
}

void XlatorVisitor::VisitDefinitions(const Definitions& node) {
    if (TS_TypeDefs types = node.ts_TypeDefs(); !types.isEmpty()) VisitTS_TypeDefs(types);
    if (TS_OpDefs operations = node.ts_OpDefs(); !operations.isEmpty()) VisitTS_OpDefs(operations);
    if (TS_ProcDefs procedures = node.ts_ProcDefs(); !procedures.isEmpty()) VisitTS_ProcDefs(procedures);
}

void XlatorVisitor::VisitDeclarations(const Declarations& node) {
    if (TS_ConstDcls constants = node.ts_ConstDcls(); !constants.isEmpty()) VisitTS_ConstDcls(constants);
    if (TS_ConstRefs references = node.ts_ConstRefs(); !references.isEmpty()) VisitTS_ConstRefs(references);
    if (PCO_TypeDcls pcoTypes = node.pco_TypeDcls(); !pcoTypes.isEmpty()) VisitPCO_TypeDcls(pcoTypes);
    // The test case variables, PCOs, CPs and timers are members of BASE; the
    // test suite variables belong to the control part.
    TCompDcls components = node.tcompDcls();
    writeGroupFrame(AccessNode(components), "TestComponentDeclarations", true, [&] {
        output().writeComment("Base component from which all others inherit");
        writeBaseComponentType();
        if (!components.isEmpty()) VisitTCompDcls(components);
    });
    if (TCompConfigDcls configurations = node.tcompConfigDcls(); !configurations.isEmpty())
        VisitTCompConfigDcls(configurations);
}

void XlatorVisitor::VisitImports(const Imports& node) {
    XLATOR_ASSERT(node.is_present_sourceName(), "Source name not present");
    XlatorAttributeList attributes = CollectAttributes(node);
    writeAttributeComments(attributes);
    XlatorOutput& out = output();
    // The imported objects are not looked at: every import takes the whole module.
    out.write("import from ");
    VisitSourceName(node.sourceName());
    out.writeLine(" language \"ASN.1:1997\" all");
    writeWithBlock(attributes, tabularFormat);
}

void XlatorVisitor::VisitSourceRef(const SourceRef&) { XLATOR_INTERNAL_ERROR("in VisitSourceRef"); }
void XlatorVisitor::VisitImportedObjectList(const ImportedObjectList&) {
    XLATOR_INTERNAL_ERROR("in VisitImportedObjectList");
}
void XlatorVisitor::VisitImportedObject(const ImportedObject&) { XLATOR_INTERNAL_ERROR("in VisitImportedObject"); }
void XlatorVisitor::VisitObjectName(const ObjectName&) { XLATOR_INTERNAL_ERROR("in VisitObjectName"); }
void XlatorVisitor::VisitObjectType(const ObjectType&) { XLATOR_INTERNAL_ERROR("in VisitObjectType"); }
void XlatorVisitor::VisitEncodingDefs(const EncodingDefs&) { XLATOR_INTERNAL_ERROR("in VisitEncodingDefs"); }
