// Missing mandatory cells of the declarations part: each visit of a
// declaration table or row ends the run with its own assertion line and exit
// code 1, and the output files keep everything written before it. Each case
// loads a real suite, writes into scratch files and visits one node in a
// child process.
#include "TranslateTestSupport.h"

#include "translate/XlatorVisitor.h"

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

using namespace translate_test;

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

struct MissingCell {
    std::string declarations;  // the tables of the declarations part
    int32_t kind;              // the node visited
    std::string expression;
    std::string message;
    std::string sourceFile;
    std::string ttcnBefore;  // what the two files hold when the run ends
    std::string asnBefore;
};

// A multiple-object table holding one row, and a single-object table.
std::string rows(const std::string& table, const std::string& row, const std::string& cells) {
    return "$Begin_" + table + " $" + row + " " + cells + " $End_" + row + " $End_" + table;
}
std::string table(const std::string& kind, const std::string& cells) {
    return "$" + kind + "s $Begin_" + kind + " " + cells + " $End_" + kind + " $End_" + kind + "s";
}
// The body of a single-object table: its rows' cells, in the grouping of the rows.
std::string body(const std::string& row, std::initializer_list<const char*> rowCells) {
    std::string text = "$" + row + "s";
    for (const char* cells : rowCells) text += " $" + row + " " + cells + " $End_" + row;
    return text + " $End_" + row + "s";
}

std::vector<MissingCell> missingCells() {
    using C = Choices;
    std::vector<MissingCell> cells;
    auto add = [&](const char* sourceFile, const std::string& declarations, int32_t kind, const char* field,
                   const char* message, const char* ttcnBefore = "", const char* asnBefore = "") {
        cells.push_back({declarations, kind, std::string("node.is_present_") + field + "()", message, sourceFile,
                         ttcnBefore, asnBefore});
    };
    const char* types = "XlatorTypes.cpp";
    const char* asn1 = "XlatorAsn1Types.cpp";
    const char* operations = "XlatorOperations.cpp";
    const char* components = "XlatorComponents.cpp";
    const char* messages = "XlatorMessages.cpp";
    // Simple and structured types.
    add(types, rows("SimpleTypeDefs", "SimpleTypeDef", "$SimpleTypeId $SimpleTypeDefinition INTEGER"),
        C::SimpleTypeDef, "simpleTypeId", "Type name not specified");
    add(types, rows("SimpleTypeDefs", "SimpleTypeDef", "$SimpleTypeId S $SimpleTypeDefinition"),
        C::SimpleTypeDef, "simpleTypeDefinition", "Type definition not specified");
    add(types, table("StructTypeDef", "$StructId $ElemDcls $End_ElemDcls"),
        C::StructTypeDef, "structId", "Type name not specified");
    // A row without its name is refused by the table's attribute collection
    // first, so the row itself is visited here.
    add(types,
        table("StructTypeDef", "$StructId R " + body("ElemDcl", {"$ElemId $ElemType INTEGER"})),
        C::ElemDcl, "elemId", "Element id not specified");
    add(types,
        table("StructTypeDef",
              "$StructId R " + body("ElemDcl", {"$ElemId a $ElemType INTEGER", "$ElemId b $ElemType"})),
        C::StructTypeDef, "elemType", "Element type not specified", "type record R\n{\n  integer a optional, \n  ");
    // ASN.1 types; an element type is missing where SEQUENCE or SET stands alone.
    add(asn1, table("ASN1_TypeDef", "$ASN1_TypeId $ASN1_TypeDefinition INTEGER"),
        C::ASN1_TypeDef, "asn1_TypeId", "ASN.1 Type Id not present");
    add(asn1, table("ASN1_TypeDef", "$ASN1_TypeId T $ASN1_TypeDefinition"),
        C::ASN1_TypeDef, "asn1_TypeDefinition", "ASN.1 Type Definition not present");
    add(asn1, rows("ASN1_TypeRefs", "ASN1_TypeRef", "$ASN1_TypeId $ASN1_TypeReference U $ASN1_ModuleId Refs"),
        C::ASN1_TypeRef, "asn1_TypeId", "ASN.1 Type Id not specified");
    add(asn1,
        rows("ASN1_TypeRefs", "ASN1_TypeRef", "$ASN1_TypeId T $ASN1_TypeReference Unreadable $ASN1_ModuleId Refs"),
        C::ASN1_TypeRef, "asn1_TypeDefinition", "ASN.1 Type definition not specified");
    add(asn1, table("ASN1_TypeDef", "$ASN1_TypeId Q $ASN1_TypeDefinition SEQUENCE"),
        C::ASN1_TypeDef, "asn1_Type", "ASN.1 type id not present in SEQUENCE OF definition", "", "Q ::= ");
    add(asn1, table("ASN1_TypeDef", "$ASN1_TypeId Q $ASN1_TypeDefinition SET"),
        C::ASN1_TypeDef, "asn1_Type", "ASN.1 type id not present in SET OF definition", "", "Q ::= ");
    // Operations, parameters, selections, constants and variables.
    add(operations, table("TS_OpDef", "$TS_OpId $TS_OpResult INTEGER $TS_OpDescription /* d */"),
        C::TS_OpDef, "ts_OpId", "Operations id not specified");
    add(operations, table("TS_OpDef", "$TS_OpId F $TS_OpResult INTEGER $TS_OpDescription"),
        C::TS_OpDef, "ts_OpDescription", "Operation description not present");
    add(operations, table("TS_ProcDef", "$TS_ProcId $TS_ProcResult INTEGER $TS_ProcDescription /* d */"),
        C::TS_ProcDef, "ts_ProcId", "Operations id not specified");
    add(operations, table("TS_ProcDef", "$TS_ProcId P $TS_ProcResult INTEGER $TS_ProcDescription"),
        C::TS_ProcDef, "ts_ProcDescription", "Operation description not present");
    add(operations, rows("TS_ParDcls", "TS_ParDcl", "$TS_ParId $TS_ParType INTEGER"),
        C::TS_ParDcl, "ts_ParId", "Parameter id not present");
    add(operations, rows("TS_ParDcls", "TS_ParDcl", "$TS_ParId P $TS_ParType"),
        C::TS_ParDcl, "ts_ParType", "Parameter type not present");
    add(operations, rows("SelectExprDefs", "SelectExprDef", "$SelectExprId $SelectExpr TRUE"),
        C::SelectExprDef, "selectExprId", "Select expression id not present");
    add(operations, rows("SelectExprDefs", "SelectExprDef", "$SelectExprId S $SelectExpr"),
        C::SelectExprDef, "selectExpr", "Select expresion not present");
    add(operations, rows("TS_ConstDcls", "TS_ConstDcl", "$TS_ConstId $TS_ConstType INTEGER $TS_ConstValue 1"),
        C::TS_ConstDcl, "ts_ConstId", "Constant id not present");
    add(operations, rows("TS_ConstDcls", "TS_ConstDcl", "$TS_ConstId C $TS_ConstType $TS_ConstValue 1"),
        C::TS_ConstDcl, "ts_ConstType", "Constant type not present");
    add(operations, rows("TS_ConstDcls", "TS_ConstDcl", "$TS_ConstId C $TS_ConstType INTEGER $TS_ConstValue"),
        C::TS_ConstDcl, "ts_ConstValue", "Constant value not present");
    add(operations,
        rows("TS_ConstRefs", "TS_ConstRef",
             "$TS_ConstId $TS_ConstType INTEGER $ASN1_ValueReference n $ASN1_ModuleId Refs"),
        C::TS_ConstRef, "ts_ConstId", "Constant id not present");
    // A SEQUENCE is no TTCN type: the module gives the row no type either.
    add(operations,
        rows("TS_ConstRefs", "TS_ConstRef", "$TS_ConstId c $TS_ConstType $ASN1_ValueReference s $ASN1_ModuleId Refs"),
        C::TS_ConstRef, "ts_ConstType", "Constant type not present");
    add(operations,
        rows("TS_ConstRefs", "TS_ConstRef",
             "$TS_ConstId c $TS_ConstType IA5String $ASN1_ValueReference unreadable $ASN1_ModuleId Refs"),
        C::TS_ConstRef, "ts_ConstValue", "Constant value not present");
    add(operations, rows("TS_VarDcls", "TS_VarDcl", "$TS_VarId $TS_VarType INTEGER $TS_VarValue"),
        C::TS_VarDcl, "ts_VarId", "Test Suite variable id not present");
    add(operations, rows("TS_VarDcls", "TS_VarDcl", "$TS_VarId v $TS_VarType $TS_VarValue"),
        C::TS_VarDcl, "ts_VarType", "Test Suite variable type not present");
    add(operations, rows("TC_VarDcls", "TC_VarDcl", "$TC_VarId $TC_VarType INTEGER $TC_VarValue"),
        C::TC_VarDcl, "tc_VarId", "Test Case variable id not present");
    add(operations, rows("TC_VarDcls", "TC_VarDcl", "$TC_VarId v $TC_VarType $TC_VarValue"),
        C::TC_VarDcl, "tc_VarType", "Test Case variable type not present");
    // Ports, components and configurations.
    add(components, rows("PCO_TypeDcls", "PCO_TypeDcl", "$PCO_TypeId $P_Role LT"),
        C::PCO_TypeDcl, "pco_TypeId", "PCO type id not specified");
    add(components, rows("PCO_Dcls", "PCO_Dcl", "$PCO_Id $PCO_TypeId T $P_Role LT"),
        C::PCO_Dcl, "pco_Id", "PCO id not present");
    add(components, rows("PCO_Dcls", "PCO_Dcl", "$PCO_Id L $PCO_TypeId $P_Role LT"),
        C::PCO_Dcl, "pco_TypeId", "PCO type id not present");
    add(components, rows("CP_Dcls", "CP_Dcl", "$CP_Id $Comment /* c */"), C::CP_Dcl, "cp_Id", "CP id not present");
    add(components, rows("TimerDcls", "TimerDcl", "$TimerId $Duration 1 $Unit s"),
        C::TimerDcl, "timerId", "Timer id not present");
    add(components, rows("TimerDcls", "TimerDcl", "$TimerId T $Duration 1 $Unit"),
        C::TimerDcl, "unit", "Timer unit not present");
    add(components, rows("TCompDcls", "TCompDcl", "$TCompId $TC_Role MTC"),
        C::TCompDcl, "tcompId", "Component id not specified");
    add(components,
        rows("TCompDcls", "TCompDcl", "$TCompId M $TC_Role MTC") + " " +
            table("TCompConfigDcl", "$TCompConfigId " + body("TCompConfigInfo", {"$TCompUsed M"})),
        C::TCompConfigDcl, "tcompConfigId", "Configuration id not present");
    // ASP, PDU and CM types; aliases.
    add(messages, table("TTCN_ASP_TypeDef", "$ASP_Id $ASP_ParDcls $End_ASP_ParDcls"),
        C::TTCN_ASP_TypeDef, "asp_Id", "TTCN ASP id not present");
    add(messages,
        table("TTCN_ASP_TypeDef", "$ASP_Id A " + body("ASP_ParDcl", {"$ASP_ParId $ASP_ParType INTEGER"})),
        C::ASP_ParDcl, "asp_ParId", "ASP parameter id not present");
    add(messages,
        table("TTCN_ASP_TypeDef", "$ASP_Id A " + body("ASP_ParDcl", {"$ASP_ParId p $ASP_ParType"})),
        C::TTCN_ASP_TypeDef, "asp_ParType", "ASP parameter type not present", "type record A\n{\n  ");
    add(messages, table("ASN1_ASP_TypeDef", "$ASP_Id $ASN1_TypeDefinition BOOLEAN"),
        C::ASN1_ASP_TypeDef, "asp_Id", "ASN1 ASP id not present");
    add(messages, table("ASN1_ASP_TypeDef", "$ASP_Id A $ASN1_TypeDefinition"),
        C::ASN1_ASP_TypeDef, "asn1_TypeDefinition", "ASN1 ASP type definition not present");
    add(messages, rows("ASN1_ASP_TypeRefs", "ASN1_ASP_TypeRef", "$ASP_Id $ASN1_TypeReference U $ASN1_ModuleId Refs"),
        C::ASN1_ASP_TypeDefByRef, "asp_Id", "ASN1 ASP reference id not present");
    add(messages,
        rows("ASN1_ASP_TypeRefs", "ASN1_ASP_TypeRef", "$ASP_Id A $ASN1_TypeReference Unreadable $ASN1_ModuleId Refs"),
        C::ASN1_ASP_TypeDefByRef, "asn1_TypeDefinition", "ASN1 ASP reference definition not present");
    add(messages, table("TTCN_PDU_TypeDef", "$PDU_Id $PDU_FieldDcls $End_PDU_FieldDcls"),
        C::TTCN_PDU_TypeDef, "pdu_Id", "PDU id not specified");
    add(messages,
        table("TTCN_PDU_TypeDef", "$PDU_Id P " + body("PDU_FieldDcl", {"$PDU_FieldId $PDU_FieldType INTEGER"})),
        C::PDU_FieldDcl, "pdu_FieldId", "PDU field id not specified");
    add(messages,
        table("TTCN_PDU_TypeDef", "$PDU_Id P " + body("PDU_FieldDcl", {"$PDU_FieldId f $PDU_FieldType"})),
        C::TTCN_PDU_TypeDef, "pdu_FieldType", "PDU field type not specified", "type record P\n{\n  ");
    add(messages, table("ASN1_PDU_TypeDef", "$PDU_Id $ASN1_TypeDefinition BOOLEAN"),
        C::ASN1_PDU_TypeDef, "pdu_Id", "ASN1 PDU id not present");
    add(messages, table("ASN1_PDU_TypeDef", "$PDU_Id P $ASN1_TypeDefinition"),
        C::ASN1_PDU_TypeDef, "asn1_TypeDefinition", "ASN1 PDU type definition not present");
    add(messages, rows("ASN1_PDU_TypeRefs", "ASN1_PDU_TypeRef", "$PDU_Id $ASN1_TypeReference U $ASN1_ModuleId Refs"),
        C::ASN1_PDU_TypeDefByRef, "pdu_Id", "ASN1 PDU reference id not present");
    add(messages,
        rows("ASN1_PDU_TypeRefs", "ASN1_PDU_TypeRef", "$PDU_Id P $ASN1_TypeReference Unreadable $ASN1_ModuleId Refs"),
        C::ASN1_PDU_TypeDefByRef, "asn1_TypeDefinition", "ASN1 PDU definition not present");
    add(messages, table("TTCN_CM_TypeDef", "$CM_Id $CM_ParDcls $End_CM_ParDcls"),
        C::TTCN_CM_TypeDef, "cm_Id", "TTCN CM id not present");
    add(messages,
        table("TTCN_CM_TypeDef", "$CM_Id C " + body("CM_ParDcl", {"$CM_ParId $CM_ParType INTEGER"})),
        C::CM_ParDcl, "cm_ParId", "TTCN CM parameter id not present");
    add(messages,
        table("TTCN_CM_TypeDef", "$CM_Id C " + body("CM_ParDcl", {"$CM_ParId p $CM_ParType"})),
        C::TTCN_CM_TypeDef, "cm_ParType", "TTCN CM parameter type not present", "type record C\n{\n  ");
    add(messages, table("ASN1_CM_TypeDef", "$CM_Id $ASN1_TypeDefinition BOOLEAN"),
        C::ASN1_CM_TypeDef, "cm_Id", "ASN1 CM id not present");
    add(messages, table("ASN1_CM_TypeDef", "$CM_Id C $ASN1_TypeDefinition"),
        C::ASN1_CM_TypeDef, "asn1_TypeDefinition", "ASN1 CM type definition not present");
    add(messages, rows("AliasDefs", "AliasDef", "$AliasId $ExpandedId E"),
        C::AliasDef, "aliasId", "Alias id not present");
    add(messages, rows("AliasDefs", "AliasDef", "$AliasId A $ExpandedId $Comment /* c */"),
        C::AliasDef, "expandedId", "Alias expansion not present");
    return cells;
}

// A suite whose declarations part holds `declarations`, opened with the
// module of the by-reference rows; the writer over two scratch files.
struct Case {
    explicit Case(const std::string& declarations) : Case(declarations, "case" + std::to_string(count++)) {}
    Case(const std::string& declarations, const std::string& name) : output(name) {
        static const std::string module = writeScratch("Refs.asn", kModule);
        std::string text = "$Suite $SuiteId CASE\n$DeclarationsPart\n" + declarations +
                           "\n$End_DeclarationsPart\n$ConstraintsPart $End_ConstraintsPart"
                           " $DynamicPart $End_DynamicPart\n$End_Suite\n";
        opened = suite.open({writeScratch(name + ".mp", text)}, {module});
    }
    AccessNode first(int32_t kind) const { return nthNode(suite.root(), kind); }

    static inline int count = 0;
    CapturedOutput output;
    OpenedSuite suite;
    bool opened = false;
};

}  // namespace

TEST(DeclarationsTranslator, MissingMandatoryCellsEndTheRunWithTheirAssertion) {
    for (const MissingCell& cell : missingCells()) {
        SCOPED_TRACE(cell.message);
        Case test(cell.declarations);
        ASSERT_TRUE(test.opened);
        AccessNode node = test.first(cell.kind);
        ASSERT_FALSE(node.isEmpty()) << Choices::to_char(cell.kind);
        std::string line =
            failureLinePattern("ASSERTION FAILED: " + cell.expression + " ('" + cell.message + "')", cell.sourceFile);
        EXPECT_EXIT(
            {
                XlatorVisitor visitor(test.suite.suite);
                visitor.Visit(node);
            },
            ::testing::ExitedWithCode(1), line);
        EXPECT_EQ(test.output.ttcn(), cell.ttcnBefore);
        EXPECT_EQ(test.output.asn(), cell.asnBefore);
    }
}

// Kinds that the alias definition reads itself, and attribute choices that no
// parser builds, reached anyway: internal errors.
TEST(DeclarationsTranslator, UnreachableKindsAreInternalErrors) {
    Case test("$Begin_AliasDefs $AliasDef $AliasId A $ExpandedId E $End_AliasDef $End_AliasDefs");
    ASSERT_TRUE(test.opened);
    // A choice node whose alternative is an identifier, which neither choice allows.
    TreeArena arena;
    TreeNode* identifier = arena.make(Choices::Identifier);
    const TreeNode& attribute = *arena.make(Choices::NamedTypeAttribute, {identifier});
    const TreeNode& presence = *arena.make(Choices::PresenceConstraint, {identifier});
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
        std::string line = failureLinePattern(std::string("INTERNAL ERROR: '") + c.message + "'", c.sourceFile);
        EXPECT_EXIT(
            {
                XlatorVisitor visitor(test.suite.suite);
                visitor.Visit(c.node);
            },
            ::testing::ExitedWithCode(1), line);
    }
    EXPECT_EQ(test.output.ttcn(), "");
}
