// Missing mandatory cells of the declarations part: each visit of a
// declaration table or row ends the run with its own assertion line and exit
// code 1, and the output files keep everything written before it. Each case
// loads a real suite, writes into scratch files and visits one node in a
// child process.
#include "TestSupport.h"

#include "access/AccessSuite.h"
#include "front/XlatorOutput.h"
#include "translate/XlatorVisitor.h"
#include "tree/TreeNode.h"

#include <cstdio>
#include <string>
#include <utility>

namespace {

// The ASN.1 module of the by-reference rows: a type and a value whose
// definitions the field parser cannot read, so that the association leaves
// the row without them, and ones it can read.
const char* kModule =
    "Refs DEFINITIONS ::=\nBEGIN\n"
    "U ::= BOOLEAN\n"
    "Unreadable ::= TYPE-IDENTIFIER.&Type\n"
    "n INTEGER ::= 1\n"
    "s SEQUENCE { a INTEGER } ::= { a 1 }\n"
    "unreadable IA5String ::= {\"a\", \"b\"} | \"c\"\n"
    "END\n";

// The first node of `kind` below `node`, in tree order.
const TreeNode* firstOfKind(const TreeNode* node, int32_t kind) {
    if (!node) return nullptr;
    if (node->kind == kind) return node;
    for (int32_t i = 0; i < node->count; ++i)
        if (const TreeNode* found = firstOfKind(node->child[i], kind)) return found;
    return nullptr;
}

// A POSIX extended expression that matches `text` literally.
std::string literal(const std::string& text) {
    std::string pattern;
    for (char c : text) {
        if (std::string("\\.[](){}*+?|^$").find(c) != std::string::npos) pattern += '\\';
        pattern += c;
    }
    return pattern;
}

struct MissingCell {
    const char* declarations;  // the tables of the declarations part
    int32_t kind;              // the node visited
    const char* expression;
    const char* message;
    const char* sourceFile;
    const char* ttcnBefore;  // what the TTCN-3 file holds when the run ends
    const char* asnBefore;
};

const MissingCell kMissingCells[] = {
    // Simple and structured types.
    {"$Begin_SimpleTypeDefs $SimpleTypeDef $SimpleTypeId $SimpleTypeDefinition INTEGER $End_SimpleTypeDef"
     " $End_SimpleTypeDefs",
     Choices::SimpleTypeDef, "node.is_present_simpleTypeId()", "Type name not specified", "XlatorTypes.cpp", "", ""},
    {"$Begin_SimpleTypeDefs $SimpleTypeDef $SimpleTypeId S $SimpleTypeDefinition $End_SimpleTypeDef"
     " $End_SimpleTypeDefs",
     Choices::SimpleTypeDef, "node.is_present_simpleTypeDefinition()", "Type definition not specified",
     "XlatorTypes.cpp", "", ""},
    {"$StructTypeDefs $Begin_StructTypeDef $StructId $ElemDcls $End_ElemDcls $End_StructTypeDef $End_StructTypeDefs",
     Choices::StructTypeDef, "node.is_present_structId()", "Type name not specified", "XlatorTypes.cpp", "", ""},
    // A row without its name is refused by the table's attribute collection
    // first, so the row itself is visited here.
    {"$StructTypeDefs $Begin_StructTypeDef $StructId R $ElemDcls $ElemDcl $ElemId $ElemType INTEGER $End_ElemDcl"
     " $End_ElemDcls $End_StructTypeDef $End_StructTypeDefs",
     Choices::ElemDcl, "node.is_present_elemId()", "Element id not specified", "XlatorTypes.cpp", "", ""},
    {"$StructTypeDefs $Begin_StructTypeDef $StructId R $ElemDcls $ElemDcl $ElemId a $ElemType INTEGER $End_ElemDcl"
     " $ElemDcl $ElemId b $ElemType $End_ElemDcl $End_ElemDcls $End_StructTypeDef $End_StructTypeDefs",
     Choices::StructTypeDef, "node.is_present_elemType()", "Element type not specified", "XlatorTypes.cpp",
     "type record R\n{\n  integer a optional, \n  ", ""},
    // ASN.1 types; an element type is missing where SEQUENCE or SET stands alone.
    {"$ASN1_TypeDefs $Begin_ASN1_TypeDef $ASN1_TypeId $ASN1_TypeDefinition INTEGER $End_ASN1_TypeDef"
     " $End_ASN1_TypeDefs",
     Choices::ASN1_TypeDef, "node.is_present_asn1_TypeId()", "ASN.1 Type Id not present", "XlatorAsn1Types.cpp",
     "", ""},
    {"$ASN1_TypeDefs $Begin_ASN1_TypeDef $ASN1_TypeId T $ASN1_TypeDefinition $End_ASN1_TypeDef $End_ASN1_TypeDefs",
     Choices::ASN1_TypeDef, "node.is_present_asn1_TypeDefinition()", "ASN.1 Type Definition not present",
     "XlatorAsn1Types.cpp", "", ""},
    {"$Begin_ASN1_TypeRefs $ASN1_TypeRef $ASN1_TypeId $ASN1_TypeReference U $ASN1_ModuleId Refs $End_ASN1_TypeRef"
     " $End_ASN1_TypeRefs",
     Choices::ASN1_TypeRef, "node.is_present_asn1_TypeId()", "ASN.1 Type Id not specified", "XlatorAsn1Types.cpp",
     "", ""},
    {"$Begin_ASN1_TypeRefs $ASN1_TypeRef $ASN1_TypeId T $ASN1_TypeReference Unreadable $ASN1_ModuleId Refs"
     " $End_ASN1_TypeRef $End_ASN1_TypeRefs",
     Choices::ASN1_TypeRef, "node.is_present_asn1_TypeDefinition()", "ASN.1 Type definition not specified",
     "XlatorAsn1Types.cpp", "", ""},
    {"$ASN1_TypeDefs $Begin_ASN1_TypeDef $ASN1_TypeId Q $ASN1_TypeDefinition SEQUENCE $End_ASN1_TypeDef"
     " $End_ASN1_TypeDefs",
     Choices::ASN1_TypeDef, "node.is_present_asn1_Type()", "ASN.1 type id not present in SEQUENCE OF definition",
     "XlatorAsn1Types.cpp", "", "Q ::= "},
    {"$ASN1_TypeDefs $Begin_ASN1_TypeDef $ASN1_TypeId Q $ASN1_TypeDefinition SET $End_ASN1_TypeDef"
     " $End_ASN1_TypeDefs",
     Choices::ASN1_TypeDef, "node.is_present_asn1_Type()", "ASN.1 type id not present in SET OF definition",
     "XlatorAsn1Types.cpp", "", "Q ::= "},
    // Operations, parameters, selections, constants and variables.
    {"$TS_OpDefs $Begin_TS_OpDef $TS_OpId $TS_OpResult INTEGER $TS_OpDescription /* d */ $End_TS_OpDef"
     " $End_TS_OpDefs",
     Choices::TS_OpDef, "node.is_present_ts_OpId()", "Operations id not specified", "XlatorOperations.cpp", "", ""},
    {"$TS_OpDefs $Begin_TS_OpDef $TS_OpId F $TS_OpResult INTEGER $TS_OpDescription $End_TS_OpDef $End_TS_OpDefs",
     Choices::TS_OpDef, "node.is_present_ts_OpDescription()", "Operation description not present",
     "XlatorOperations.cpp", "", ""},
    {"$TS_ProcDefs $Begin_TS_ProcDef $TS_ProcId $TS_ProcResult INTEGER $TS_ProcDescription /* d */"
     " $End_TS_ProcDef $End_TS_ProcDefs",
     Choices::TS_ProcDef, "node.is_present_ts_ProcId()", "Operations id not specified", "XlatorOperations.cpp", "",
     ""},
    {"$TS_ProcDefs $Begin_TS_ProcDef $TS_ProcId P $TS_ProcResult INTEGER $TS_ProcDescription $End_TS_ProcDef"
     " $End_TS_ProcDefs",
     Choices::TS_ProcDef, "node.is_present_ts_ProcDescription()", "Operation description not present",
     "XlatorOperations.cpp", "", ""},
    {"$Begin_TS_ParDcls $TS_ParDcl $TS_ParId $TS_ParType INTEGER $End_TS_ParDcl $End_TS_ParDcls",
     Choices::TS_ParDcl, "node.is_present_ts_ParId()", "Parameter id not present", "XlatorOperations.cpp", "", ""},
    {"$Begin_TS_ParDcls $TS_ParDcl $TS_ParId P $TS_ParType $End_TS_ParDcl $End_TS_ParDcls",
     Choices::TS_ParDcl, "node.is_present_ts_ParType()", "Parameter type not present", "XlatorOperations.cpp", "",
     ""},
    {"$Begin_SelectExprDefs $SelectExprDef $SelectExprId $SelectExpr TRUE $End_SelectExprDef $End_SelectExprDefs",
     Choices::SelectExprDef, "node.is_present_selectExprId()", "Select expression id not present",
     "XlatorOperations.cpp", "", ""},
    {"$Begin_SelectExprDefs $SelectExprDef $SelectExprId S $SelectExpr $End_SelectExprDef $End_SelectExprDefs",
     Choices::SelectExprDef, "node.is_present_selectExpr()", "Select expresion not present", "XlatorOperations.cpp",
     "", ""},
    {"$Begin_TS_ConstDcls $TS_ConstDcl $TS_ConstId $TS_ConstType INTEGER $TS_ConstValue 1 $End_TS_ConstDcl"
     " $End_TS_ConstDcls",
     Choices::TS_ConstDcl, "node.is_present_ts_ConstId()", "Constant id not present", "XlatorOperations.cpp", "",
     ""},
    {"$Begin_TS_ConstDcls $TS_ConstDcl $TS_ConstId C $TS_ConstType $TS_ConstValue 1 $End_TS_ConstDcl"
     " $End_TS_ConstDcls",
     Choices::TS_ConstDcl, "node.is_present_ts_ConstType()", "Constant type not present", "XlatorOperations.cpp",
     "", ""},
    {"$Begin_TS_ConstDcls $TS_ConstDcl $TS_ConstId C $TS_ConstType INTEGER $TS_ConstValue $End_TS_ConstDcl"
     " $End_TS_ConstDcls",
     Choices::TS_ConstDcl, "node.is_present_ts_ConstValue()", "Constant value not present", "XlatorOperations.cpp",
     "", ""},
    {"$Begin_TS_ConstRefs $TS_ConstRef $TS_ConstId $TS_ConstType INTEGER $ASN1_ValueReference n $ASN1_ModuleId Refs"
     " $End_TS_ConstRef $End_TS_ConstRefs",
     Choices::TS_ConstRef, "node.is_present_ts_ConstId()", "Constant id not present", "XlatorOperations.cpp", "",
     ""},
    // A SEQUENCE is no TTCN type: the module gives the row no type either.
    {"$Begin_TS_ConstRefs $TS_ConstRef $TS_ConstId c $TS_ConstType $ASN1_ValueReference s $ASN1_ModuleId Refs"
     " $End_TS_ConstRef $End_TS_ConstRefs",
     Choices::TS_ConstRef, "node.is_present_ts_ConstType()", "Constant type not present", "XlatorOperations.cpp",
     "", ""},
    {"$Begin_TS_ConstRefs $TS_ConstRef $TS_ConstId c $TS_ConstType IA5String $ASN1_ValueReference unreadable"
     " $ASN1_ModuleId Refs $End_TS_ConstRef $End_TS_ConstRefs",
     Choices::TS_ConstRef, "node.is_present_ts_ConstValue()", "Constant value not present", "XlatorOperations.cpp",
     "", ""},
    {"$Begin_TS_VarDcls $TS_VarDcl $TS_VarId $TS_VarType INTEGER $TS_VarValue $End_TS_VarDcl $End_TS_VarDcls",
     Choices::TS_VarDcl, "node.is_present_ts_VarId()", "Test Suite variable id not present",
     "XlatorOperations.cpp", "", ""},
    {"$Begin_TS_VarDcls $TS_VarDcl $TS_VarId v $TS_VarType $TS_VarValue $End_TS_VarDcl $End_TS_VarDcls",
     Choices::TS_VarDcl, "node.is_present_ts_VarType()", "Test Suite variable type not present",
     "XlatorOperations.cpp", "", ""},
    {"$Begin_TC_VarDcls $TC_VarDcl $TC_VarId $TC_VarType INTEGER $TC_VarValue $End_TC_VarDcl $End_TC_VarDcls",
     Choices::TC_VarDcl, "node.is_present_tc_VarId()", "Test Case variable id not present", "XlatorOperations.cpp",
     "", ""},
    {"$Begin_TC_VarDcls $TC_VarDcl $TC_VarId v $TC_VarType $TC_VarValue $End_TC_VarDcl $End_TC_VarDcls",
     Choices::TC_VarDcl, "node.is_present_tc_VarType()", "Test Case variable type not present",
     "XlatorOperations.cpp", "", ""},
    // Ports, components and configurations.
    {"$Begin_PCO_TypeDcls $PCO_TypeDcl $PCO_TypeId $P_Role LT $End_PCO_TypeDcl $End_PCO_TypeDcls",
     Choices::PCO_TypeDcl, "node.is_present_pco_TypeId()", "PCO type id not specified", "XlatorComponents.cpp", "",
     ""},
    {"$Begin_PCO_Dcls $PCO_Dcl $PCO_Id $PCO_TypeId T $P_Role LT $End_PCO_Dcl $End_PCO_Dcls",
     Choices::PCO_Dcl, "node.is_present_pco_Id()", "PCO id not present", "XlatorComponents.cpp", "", ""},
    {"$Begin_PCO_Dcls $PCO_Dcl $PCO_Id L $PCO_TypeId $P_Role LT $End_PCO_Dcl $End_PCO_Dcls",
     Choices::PCO_Dcl, "node.is_present_pco_TypeId()", "PCO type id not present", "XlatorComponents.cpp", "", ""},
    {"$Begin_CP_Dcls $CP_Dcl $CP_Id $Comment /* c */ $End_CP_Dcl $End_CP_Dcls",
     Choices::CP_Dcl, "node.is_present_cp_Id()", "CP id not present", "XlatorComponents.cpp", "", ""},
    {"$Begin_TimerDcls $TimerDcl $TimerId $Duration 1 $Unit s $End_TimerDcl $End_TimerDcls",
     Choices::TimerDcl, "node.is_present_timerId()", "Timer id not present", "XlatorComponents.cpp", "", ""},
    {"$Begin_TimerDcls $TimerDcl $TimerId T $Duration 1 $Unit $End_TimerDcl $End_TimerDcls",
     Choices::TimerDcl, "node.is_present_unit()", "Timer unit not present", "XlatorComponents.cpp", "", ""},
    {"$Begin_TCompDcls $TCompDcl $TCompId $TC_Role MTC $End_TCompDcl $End_TCompDcls",
     Choices::TCompDcl, "node.is_present_tcompId()", "Component id not specified", "XlatorComponents.cpp", "", ""},
    {"$Begin_TCompDcls $TCompDcl $TCompId M $TC_Role MTC $End_TCompDcl $End_TCompDcls"
     " $TCompConfigDcls $Begin_TCompConfigDcl $TCompConfigId $TCompConfigInfos $TCompConfigInfo $TCompUsed M"
     " $End_TCompConfigInfo $End_TCompConfigInfos $End_TCompConfigDcl $End_TCompConfigDcls",
     Choices::TCompConfigDcl, "node.is_present_tcompConfigId()", "Configuration id not present",
     "XlatorComponents.cpp", "", ""},
    // ASP, PDU and CM types; aliases.
    {"$TTCN_ASP_TypeDefs $Begin_TTCN_ASP_TypeDef $ASP_Id $ASP_ParDcls $End_ASP_ParDcls $End_TTCN_ASP_TypeDef"
     " $End_TTCN_ASP_TypeDefs",
     Choices::TTCN_ASP_TypeDef, "node.is_present_asp_Id()", "TTCN ASP id not present", "XlatorMessages.cpp", "",
     ""},
    {"$TTCN_ASP_TypeDefs $Begin_TTCN_ASP_TypeDef $ASP_Id A $ASP_ParDcls $ASP_ParDcl $ASP_ParId $ASP_ParType INTEGER"
     " $End_ASP_ParDcl $End_ASP_ParDcls $End_TTCN_ASP_TypeDef $End_TTCN_ASP_TypeDefs",
     Choices::ASP_ParDcl, "node.is_present_asp_ParId()", "ASP parameter id not present", "XlatorMessages.cpp", "",
     ""},
    {"$TTCN_ASP_TypeDefs $Begin_TTCN_ASP_TypeDef $ASP_Id A $ASP_ParDcls $ASP_ParDcl $ASP_ParId p $ASP_ParType"
     " $End_ASP_ParDcl $End_ASP_ParDcls $End_TTCN_ASP_TypeDef $End_TTCN_ASP_TypeDefs",
     Choices::TTCN_ASP_TypeDef, "node.is_present_asp_ParType()", "ASP parameter type not present",
     "XlatorMessages.cpp", "type record A\n{\n  ", ""},
    {"$ASN1_ASP_TypeDefs $Begin_ASN1_ASP_TypeDef $ASP_Id $ASN1_TypeDefinition BOOLEAN $End_ASN1_ASP_TypeDef"
     " $End_ASN1_ASP_TypeDefs",
     Choices::ASN1_ASP_TypeDef, "node.is_present_asp_Id()", "ASN1 ASP id not present", "XlatorMessages.cpp", "",
     ""},
    {"$ASN1_ASP_TypeDefs $Begin_ASN1_ASP_TypeDef $ASP_Id A $ASN1_TypeDefinition $End_ASN1_ASP_TypeDef"
     " $End_ASN1_ASP_TypeDefs",
     Choices::ASN1_ASP_TypeDef, "node.is_present_asn1_TypeDefinition()", "ASN1 ASP type definition not present",
     "XlatorMessages.cpp", "", ""},
    {"$Begin_ASN1_ASP_TypeRefs $ASN1_ASP_TypeRef $ASP_Id $ASN1_TypeReference U $ASN1_ModuleId Refs"
     " $End_ASN1_ASP_TypeRef $End_ASN1_ASP_TypeRefs",
     Choices::ASN1_ASP_TypeDefByRef, "node.is_present_asp_Id()", "ASN1 ASP reference id not present",
     "XlatorMessages.cpp", "", ""},
    {"$Begin_ASN1_ASP_TypeRefs $ASN1_ASP_TypeRef $ASP_Id A $ASN1_TypeReference Unreadable $ASN1_ModuleId Refs"
     " $End_ASN1_ASP_TypeRef $End_ASN1_ASP_TypeRefs",
     Choices::ASN1_ASP_TypeDefByRef, "node.is_present_asn1_TypeDefinition()",
     "ASN1 ASP reference definition not present", "XlatorMessages.cpp", "", ""},
    {"$TTCN_PDU_TypeDefs $Begin_TTCN_PDU_TypeDef $PDU_Id $PDU_FieldDcls $End_PDU_FieldDcls $End_TTCN_PDU_TypeDef"
     " $End_TTCN_PDU_TypeDefs",
     Choices::TTCN_PDU_TypeDef, "node.is_present_pdu_Id()", "PDU id not specified", "XlatorMessages.cpp", "", ""},
    {"$TTCN_PDU_TypeDefs $Begin_TTCN_PDU_TypeDef $PDU_Id P $PDU_FieldDcls $PDU_FieldDcl $PDU_FieldId"
     " $PDU_FieldType INTEGER $End_PDU_FieldDcl $End_PDU_FieldDcls $End_TTCN_PDU_TypeDef $End_TTCN_PDU_TypeDefs",
     Choices::PDU_FieldDcl, "node.is_present_pdu_FieldId()", "PDU field id not specified", "XlatorMessages.cpp", "",
     ""},
    {"$TTCN_PDU_TypeDefs $Begin_TTCN_PDU_TypeDef $PDU_Id P $PDU_FieldDcls $PDU_FieldDcl $PDU_FieldId f"
     " $PDU_FieldType $End_PDU_FieldDcl $End_PDU_FieldDcls $End_TTCN_PDU_TypeDef $End_TTCN_PDU_TypeDefs",
     Choices::TTCN_PDU_TypeDef, "node.is_present_pdu_FieldType()", "PDU field type not specified",
     "XlatorMessages.cpp", "type record P\n{\n  ", ""},
    {"$ASN1_PDU_TypeDefs $Begin_ASN1_PDU_TypeDef $PDU_Id $ASN1_TypeDefinition BOOLEAN $End_ASN1_PDU_TypeDef"
     " $End_ASN1_PDU_TypeDefs",
     Choices::ASN1_PDU_TypeDef, "node.is_present_pdu_Id()", "ASN1 PDU id not present", "XlatorMessages.cpp", "",
     ""},
    {"$ASN1_PDU_TypeDefs $Begin_ASN1_PDU_TypeDef $PDU_Id P $ASN1_TypeDefinition $End_ASN1_PDU_TypeDef"
     " $End_ASN1_PDU_TypeDefs",
     Choices::ASN1_PDU_TypeDef, "node.is_present_asn1_TypeDefinition()", "ASN1 PDU type definition not present",
     "XlatorMessages.cpp", "", ""},
    {"$Begin_ASN1_PDU_TypeRefs $ASN1_PDU_TypeRef $PDU_Id $ASN1_TypeReference U $ASN1_ModuleId Refs"
     " $End_ASN1_PDU_TypeRef $End_ASN1_PDU_TypeRefs",
     Choices::ASN1_PDU_TypeDefByRef, "node.is_present_pdu_Id()", "ASN1 PDU reference id not present",
     "XlatorMessages.cpp", "", ""},
    {"$Begin_ASN1_PDU_TypeRefs $ASN1_PDU_TypeRef $PDU_Id P $ASN1_TypeReference Unreadable $ASN1_ModuleId Refs"
     " $End_ASN1_PDU_TypeRef $End_ASN1_PDU_TypeRefs",
     Choices::ASN1_PDU_TypeDefByRef, "node.is_present_asn1_TypeDefinition()", "ASN1 PDU definition not present",
     "XlatorMessages.cpp", "", ""},
    {"$TTCN_CM_TypeDefs $Begin_TTCN_CM_TypeDef $CM_Id $CM_ParDcls $End_CM_ParDcls $End_TTCN_CM_TypeDef"
     " $End_TTCN_CM_TypeDefs",
     Choices::TTCN_CM_TypeDef, "node.is_present_cm_Id()", "TTCN CM id not present", "XlatorMessages.cpp", "", ""},
    {"$TTCN_CM_TypeDefs $Begin_TTCN_CM_TypeDef $CM_Id C $CM_ParDcls $CM_ParDcl $CM_ParId $CM_ParType INTEGER"
     " $End_CM_ParDcl $End_CM_ParDcls $End_TTCN_CM_TypeDef $End_TTCN_CM_TypeDefs",
     Choices::CM_ParDcl, "node.is_present_cm_ParId()", "TTCN CM parameter id not present", "XlatorMessages.cpp",
     "", ""},
    {"$TTCN_CM_TypeDefs $Begin_TTCN_CM_TypeDef $CM_Id C $CM_ParDcls $CM_ParDcl $CM_ParId p $CM_ParType"
     " $End_CM_ParDcl $End_CM_ParDcls $End_TTCN_CM_TypeDef $End_TTCN_CM_TypeDefs",
     Choices::TTCN_CM_TypeDef, "node.is_present_cm_ParType()", "TTCN CM parameter type not present",
     "XlatorMessages.cpp", "type record C\n{\n  ", ""},
    {"$ASN1_CM_TypeDefs $Begin_ASN1_CM_TypeDef $CM_Id $ASN1_TypeDefinition BOOLEAN $End_ASN1_CM_TypeDef"
     " $End_ASN1_CM_TypeDefs",
     Choices::ASN1_CM_TypeDef, "node.is_present_cm_Id()", "ASN1 CM id not present", "XlatorMessages.cpp", "", ""},
    {"$ASN1_CM_TypeDefs $Begin_ASN1_CM_TypeDef $CM_Id C $ASN1_TypeDefinition $End_ASN1_CM_TypeDef"
     " $End_ASN1_CM_TypeDefs",
     Choices::ASN1_CM_TypeDef, "node.is_present_asn1_TypeDefinition()", "ASN1 CM type definition not present",
     "XlatorMessages.cpp", "", ""},
    {"$Begin_AliasDefs $AliasDef $AliasId $ExpandedId E $End_AliasDef $End_AliasDefs",
     Choices::AliasDef, "node.is_present_aliasId()", "Alias id not present", "XlatorMessages.cpp", "", ""},
    {"$Begin_AliasDefs $AliasDef $AliasId A $ExpandedId $Comment /* c */ $End_AliasDef $End_AliasDefs",
     Choices::AliasDef, "node.is_present_expandedId()", "Alias expansion not present", "XlatorMessages.cpp", "", ""},
};

// The run's writer over two scratch files, and the suite of one case.
class Case {
public:
    Case(const fs::path& folder, const std::string& declarations) {
        static int number = 0;
        std::string base = (folder / ("case" + std::to_string(++number))).string();
        writeFile(base + ".mp", "$Suite $SuiteId CASE\n$DeclarationsPart\n" + declarations +
                                    "\n$End_DeclarationsPart\n$ConstraintsPart $End_ConstraintsPart"
                                    " $DynamicPart $End_DynamicPart\n$End_Suite\n");
        CapturedStream report;
        suite_.setReportStream(report.get());
        ::testing::internal::CaptureStdout();
        opened_ = suite_.open("\"" + base + ".mp\" ", "asn_list") == 1;
        report_ = ::testing::internal::GetCapturedStdout() + report.text();
        ttcnPath_ = base + ".ttcn";
        asnPath_ = base + ".asn";
        ttcn_ = std::fopen(ttcnPath_.c_str(), "w");
        asn_ = std::fopen(asnPath_.c_str(), "w");
        createOutput(ttcn_, asn_);
    }
    ~Case() {
        std::fclose(ttcn_);
        std::fclose(asn_);
    }

    bool opened() const { return opened_; }
    const std::string& report() const { return report_; }
    const AccessSuite& suite() const { return suite_; }
    AccessNode first(int32_t kind) const { return AccessNode(kind, firstOfKind(suite_.root().treeNode(), kind)); }
    std::string ttcn() const { return readFile(ttcnPath_); }
    std::string asn() const { return readFile(asnPath_); }

private:
    AccessSuite suite_;
    bool opened_ = false;
    std::string report_;
    std::string ttcnPath_, asnPath_;
    std::FILE* ttcn_ = nullptr;
    std::FILE* asn_ = nullptr;
};

// The cases' folder is the working directory, where the conversion tool
// finds its keyword file. It belongs to the test, not to a static object: a
// run that ends in an assertion ends the child process with exit(), which
// would run a static object's clean-up.
class DeclarationsTranslator : public ::testing::Test {
protected:
    void SetUp() override {
        fs::current_path(dir_.path());
        fs::copy_file(binaryDirectory() / "modconv_kwd.txt", "modconv_kwd.txt");
        writeFile("Refs.asn", kModule);
        writeFile("asn_list", "Refs.asn\n");
    }
    void TearDown() override { fs::current_path(fs::temp_directory_path()); }

    ScratchDir dir_;
    ScopedEnvironment veld_{"VELD", binaryDirectory().string()};
};

}  // namespace

TEST_F(DeclarationsTranslator, MissingMandatoryCellsEndTheRunWithTheirAssertion) {
    for (const MissingCell& cell : kMissingCells) {
        SCOPED_TRACE(cell.message);
        Case test(dir_.path(), cell.declarations);
        ASSERT_TRUE(test.opened()) << test.report();
        AccessNode node = test.first(cell.kind);
        ASSERT_FALSE(node.isEmpty()) << Choices::to_char(cell.kind);
        std::string line = "^ASSERTION FAILED: " + literal(cell.expression) + " \\('" + literal(cell.message) +
                           "'\\) at [^\n]*" + literal(cell.sourceFile) + "\\([0-9]+\\)\n$";
        EXPECT_EXIT(
            {
                XlatorVisitor visitor(test.suite());
                visitor.Visit(node);
            },
            ::testing::ExitedWithCode(1), line);
        EXPECT_EQ(test.ttcn(), cell.ttcnBefore);
        EXPECT_EQ(test.asn(), cell.asnBefore);
    }
}

// Kinds that the alias definition reads itself, and attribute choices that no
// parser builds, reached anyway: internal errors.
TEST_F(DeclarationsTranslator, UnreachableKindsAreInternalErrors) {
    Case test(dir_.path(), "$Begin_AliasDefs $AliasDef $AliasId A $ExpandedId E $End_AliasDef $End_AliasDefs");
    ASSERT_TRUE(test.opened());
    // A choice node whose alternative is an identifier, which neither choice allows.
    TreeNode identifier, attribute, presence;
    identifier.kind = Choices::Identifier;
    TreeNode* alternative[] = {&identifier};
    for (auto [node, kind] : {std::pair{&attribute, Choices::NamedTypeAttribute},
                              std::pair{&presence, Choices::PresenceConstraint}}) {
        node->kind = kind;
        node->count = 1;
        node->child = alternative;
    }
    const struct {
        AccessNode node;
        const char* message;
        const char* sourceFile;
    } cases[] = {
        {test.first(Choices::AliasId), "in VisitAliasId", "XlatorMessages.cpp"},
        {test.first(Choices::ExpandedId), "in VisitExpandedId", "XlatorMessages.cpp"},
        {test.first(Choices::Expansion), "in VisitExpansion", "XlatorMessages.cpp"},
        {AccessNode(Choices::NamedTypeAttribute, &attribute), "in VisitNamedTypeAttribute", "XlatorAsn1Types.cpp"},
        {AccessNode(Choices::PresenceConstraint, &presence), "in VisitPresenceConstraint",
         "XlatorAsn1Constraints.cpp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        ASSERT_FALSE(c.node.isEmpty());
        std::string line =
            "^INTERNAL ERROR: '" + literal(c.message) + "' at [^\n]*" + literal(c.sourceFile) + "\\([0-9]+\\)\n$";
        EXPECT_EXIT(
            {
                XlatorVisitor visitor(test.suite());
                visitor.Visit(c.node);
            },
            ::testing::ExitedWithCode(1), line);
    }
    EXPECT_EQ(test.ttcn(), "");
}
