// The field parsers on bad input: syntax findings with their places, deep
// nesting, and every cell kind on a realistic text. Random and broken texts
// are the fuzz harness's (tests/fuzz, replayed by CTest).
#include "suite/fields/FieldParser.h"
#include "tests/unit/FieldTreeText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct Finding {
    int32_t message;
    int32_t offset;
    std::string place;
};

Finding firstFinding(int32_t kind, std::string_view text) {
    TreeArena arena;
    FieldParseResult r = parseField(kind, text, 1, arena);
    EXPECT_EQ(r.tree, nullptr) << text;
    if (r.findings.empty()) return {-1, -1, ""};
    EXPECT_EQ(r.findings.size(), 1u);
    const FieldFinding& f = r.findings.front();
    return {f.message, f.offset, f.arguments.empty() ? std::string("<none>") : f.arguments[0]};
}

void expectSyntaxError(int32_t kind, std::string_view text, int32_t offset, std::string_view place) {
    Finding f = firstFinding(kind, text);
    EXPECT_EQ(f.message, 50) << text;
    EXPECT_EQ(f.offset, offset) << text;
    EXPECT_EQ(f.place, place) << text;
}

TEST(FieldSyntaxError, PlaceIsTheFirstTokenThatDoesNotFit) {
    expectSyntaxError(Choices::Line, "[0] L ! X Y", 10, "Y");
    expectSyntaxError(Choices::Line, "[0] L !", 7, "");
    expectSyntaxError(Choices::Line, "0] L ! X", 0, "0] L ! X");
    expectSyntaxError(Choices::Line, "[0] L ! X\nY", 10, "Y");
    expectSyntaxError(Choices::Line, "[0] L ! X START", 15, "");
    expectSyntaxError(Choices::Line, "[1] L ? X [a > ] ", 15, "] ");
    expectSyntaxError(Choices::Line, "[1] START T1 CANCEL", 13, "CANCEL");
    expectSyntaxError(Choices::Line, "[1] CREATE(P1 TREE)", 14, "TREE)");
    // An indentation longer than any level is refused, not wrapped around.
    expectSyntaxError(Choices::Line, "[100000000000000000000000000002] L", 1, "100000000000000000000000000002] L");
    // A timeout belongs to no PCO; keywords never stand for names.
    expectSyntaxError(Choices::Line, "[1] L ? TIMEOUT", 8, "TIMEOUT");
    expectSyntaxError(Choices::Line, "[1] START OMIT", 10, "OMIT");
    expectSyntaxError(Choices::TS_ConstValue, "1 +", 3, "");
    expectSyntaxError(Choices::SimpleTypeDefinition, "INTEGER (1..", 12, "");
    expectSyntaxError(Choices::SimpleTypeDefinition, "INTEGER [1 TO 2", 15, "");
    expectSyntaxError(Choices::VerdictId, "(R)", 1, "R)");
    expectSyntaxError(Choices::TestCaseId, "TC 1", 3, "1");
    expectSyntaxError(Choices::Unit, "hours", 0, "hours");
    expectSyntaxError(Choices::ASN1_TypeDefinition, "SEQUENCE { a INTEGER", 20, "");
    expectSyntaxError(Choices::ASN1_TypeDefinition, "CHOICE { }", 9, "}");
    expectSyntaxError(Choices::ConsValue, "COMPLEMENT 5", 11, "5");
}

TEST(FieldSyntaxError, LexicalErrorsStandAtTheirCharacter) {
    expectSyntaxError(Choices::ConsValue, "\"abc", 0, "\"abc");
    expectSyntaxError(Choices::ConsValue, "'01'X", 0, "'01'X");
    expectSyntaxError(Choices::ConsValue, "'01", 0, "'01");
    expectSyntaxError(Choices::ConsValue, "a # b", 2, "# b");
    expectSyntaxError(Choices::ConsValue, "x /* open", 2, "/* open");
    // ASN.1 names may hold a hyphen, TTCN names may not.
    expectSyntaxError(Choices::TestCaseId, "TC-1", 2, "-1");
}

TEST(FieldSyntaxError, OwnMessagesForEmptyListsMissingParenthesesAndReservedNames) {
    struct Case {
        int32_t kind;
        const char* text;
        int32_t message, offset;
    };
    const Case cases[] = {
        {Choices::Cref, "C_X()", 18, 3},          {Choices::Line, "[0] +STEP()", 18, 9},   // empty argument list
        {Choices::ConsId, "C_X ()", 19, 4},                                                // empty parameter list
        {Choices::Cref, "C_X(1, 2", 42, 8},       {Choices::TS_ConstValue, "(1 + (2)", 42, 8},
        {Choices::VerdictId, "(PASS", 42, 5},                                              // missing ")" at the end
        {Choices::TS_ConstValue, "(1 + 2 3", 50, 7},                                       // ... before more text
        {Choices::TimerId, "START", 47, 0},                                                // a reserved word as a name
    };
    for (const Case& c : cases) {
        const Finding f = firstFinding(c.kind, c.text);
        EXPECT_EQ(f.message, c.message) << c.text;
        EXPECT_EQ(f.offset, c.offset) << c.text;
    }
    EXPECT_EQ(firstFinding(Choices::Cref, "C_X()").place, "()");
    EXPECT_EQ(firstFinding(Choices::TimerId, "START").place, "START");
}

TEST(FieldNesting, DeepNestingIsAFindingNotAStackOverflow) {
    struct Case {
        int32_t kind;
        std::string open;
        std::string middle;
        std::string close;
    };
    const Case cases[] = {
        {Choices::TS_ConstValue, "(", "1", ")"},
        {Choices::TS_ConstValue, "-", "1", ""},
        {Choices::TS_ConstValue, "NOT (", "x", ")"},
        {Choices::ConsValue, "(1, ", "2", ")"},
        {Choices::ConsValue, "SUPERSET(", "2", ")"},
        {Choices::ASN1_ConsValue, "{a ", "1", "}"},
        {Choices::ASN1_ConsValue, "{", "1", "}"},
        {Choices::ASN1_TypeDefinition, "SEQUENCE OF ", "INTEGER", ""},
        {Choices::ASN1_TypeDefinition, "SEQUENCE { a ", "INTEGER", "}"},
        {Choices::ASN1_TypeDefinition, "INTEGER (", "1", ")"},
        {Choices::Line, "[0] [x = f(", "1", ")]"},
        {Choices::TS_VarValue, "a[", "1", "]"},
    };
    for (const Case& c : cases) {
        std::string deep;
        for (int i = 0; i < 20000; ++i) deep += c.open;
        deep += c.middle;
        for (int i = 0; i < 20000; ++i) deep += c.close;
        TreeArena arena;
        FieldParseResult r = parseField(c.kind, deep, 1, arena);
        EXPECT_EQ(r.tree, nullptr) << c.open;
        ASSERT_EQ(r.findings.size(), 1u) << c.open;
        EXPECT_EQ(r.findings[0].message, 50) << c.open;
        EXPECT_GT(r.findings[0].offset, 0) << c.open;
    }
}

TEST(FieldNesting, ModerateNestingParses) {
    std::string text;
    for (int i = 0; i < 50; ++i) text += "(";
    text += "1";
    for (int i = 0; i < 50; ++i) text += ")";
    TreeArena arena;
    FieldParseResult r = parseField(Choices::TS_ConstValue, text, 1, arena);
    EXPECT_TRUE(r.findings.empty());
    EXPECT_EQ(schemaViolations(r.tree), "");
}

// A realistic text for every kind of cell that the MP importer hands over.
struct Sample {
    int32_t kind;
    const char* text;
};

const Sample kEveryCell[] = {
    {Choices::SuiteId, "ECHO_ATS"}, {Choices::SO_SuiteId, "ECHO_ATS"}, {Choices::SO_StandardsRef, "/* X.1 */"},
    {Choices::SO_PICSRef, "/* P */"}, {Choices::SO_PIXITRef, "/* P */"}, {Choices::SO_TestMethods, "/* remote */"},
    {Choices::SO_TestGroupRef, "ECHO/BASIC/"}, {Choices::SO_SelExprId, "SEL1"}, {Choices::SO_Objective, "/* o */"},
    {Choices::SO_TestCaseId, "TC1"}, {Choices::SO_Description, "/* d */"}, {Choices::SO_TestStepRef, "STEPS/"},
    {Choices::SO_TestStepId, "ST1"}, {Choices::SO_DefaultRef, "DEFS/"}, {Choices::SO_DefaultId, "D1"},
    {Choices::SourceName, "OTHER_ATS"}, {Choices::SourceRef, "/* r */"}, {Choices::Objective, "/* o */"},
    {Choices::Comment, "/* c */"}, {Choices::DetailedComment, "/* dc */"}, {Choices::ObjectName, "T1"},
    {Choices::ObjectType, "SimpleType"}, {Choices::TestGroupRef, "G1/G2/"}, {Choices::SelExprId, "SEL1"},
    {Choices::Description, "/* d */"}, {Choices::EncodingRuleId, "BER"}, {Choices::EncodingRef, "/* X.690 */"},
    {Choices::EncodingDefault, "TRUE"}, {Choices::Encoding_TypeList, "T1, T2"},
    {Choices::EncodingVariationId, "EV1(n: INTEGER)"}, {Choices::VariationRef, "/* v */"},
    {Choices::VariationDefault, "1"}, {Choices::InvalidFieldEncodingId, "IFE(p: INTEGER)"},
    {Choices::InvalidFieldEncodingDefinition, "/* def */"}, {Choices::SimpleTypeId, "OCTET2"},
    {Choices::SimpleTypeDefinition, "OCTETSTRING[2]"}, {Choices::PDU_FieldEncoding, "EV1(2)"},
    {Choices::StructId, "S1 (/* struct */)"}, {Choices::EncVariationId, "EV1(1)"}, {Choices::ElemId, "e1"},
    {Choices::ElemType, "INTEGER"}, {Choices::ASN1_TypeId, "AT1"},
    {Choices::ASN1_TypeDefinition, "SEQUENCE { a INTEGER }"}, {Choices::ASN1_TypeReference, "Type-1"},
    {Choices::ASN1_ModuleId, "Mod-1"}, {Choices::TS_OpId, "F(a: INTEGER)"}, {Choices::TS_OpResult, "BOOLEAN"},
    {Choices::TS_OpDescription, "/* x */"}, {Choices::TS_ProcId, "P(a: INTEGER)"},
    {Choices::TS_ProcResult, "INTEGER"}, {Choices::TS_ProcDescription, "/* y */"}, {Choices::TS_ParId, "TSP_1"},
    {Choices::TS_ParType, "INTEGER"}, {Choices::PICS_PIXITref, "/* A.1 */"}, {Choices::SelectExpr, "TSP_1 > 0"},
    {Choices::TS_ConstId, "TSC_1"}, {Choices::TS_ConstType, "INTEGER"}, {Choices::TS_ConstValue, "5"},
    {Choices::ASN1_ValueReference, "val-1"}, {Choices::TS_VarId, "TSV_1"}, {Choices::TS_VarType, "INTEGER"},
    {Choices::TS_VarValue, "0"}, {Choices::TC_VarId, "TCV_1"}, {Choices::TC_VarType, "PDU"},
    {Choices::TC_VarValue, "pass"}, {Choices::TCompId, "MTC1"}, {Choices::TC_Role, "MTC"},
    {Choices::NumOf_PCOs, "1"}, {Choices::NumOf_CPs, "0"}, {Choices::TCompConfigId, "CONF1"},
    {Choices::TCompUsed, "MTC1"}, {Choices::PCOs_Used, "L"}, {Choices::CPs_Used, "CP1, CP2"},
    {Choices::PCO_TypeId, "ESAP"}, {Choices::P_Role, "LT"}, {Choices::PCO_Id, "L"}, {Choices::CP_Id, "CP1"},
    {Choices::TimerId, "T1"}, {Choices::Duration, "5"}, {Choices::Unit, "s"}, {Choices::ASP_Id, "ECHOmsg"},
    {Choices::PCO_Type, "ESAP"}, {Choices::ASP_ParId, "data"}, {Choices::ASP_ParType, "OCTET2"},
    {Choices::PDU_Id, "P1"}, {Choices::PDU_EncodingId, "BER"}, {Choices::PDU_FieldId, "<-"},
    {Choices::PDU_FieldType, "PDU"}, {Choices::CM_Id, "CM1"}, {Choices::CM_ParId, "c"},
    {Choices::CM_ParType, "BOOLEAN"}, {Choices::AliasId, "SEND_IT"}, {Choices::ExpandedId, "ECHOmsg"},
    {Choices::StructTypeConstraintGroupId, "G"}, {Choices::StructTypeConstraintGroupRef, "G/"},
    {Choices::ConsId, "C1(p: INTEGER)"}, {Choices::DerivPath, "C0."}, {Choices::ConsValue, "p"},
    {Choices::ASN1_TypeConstraintGroupId, "G"}, {Choices::ASN1_TypeConstraintGroupRef, "G/"},
    {Choices::ASN1_ConsValue, "{ a 1 }"}, {Choices::TTCN_ASP_ConstraintGroupId, "G"},
    {Choices::ASP_ConstraintGroupRef, "G/"}, {Choices::TTCN_PDU_ConstraintGroupId, "G"},
    {Choices::PDU_ConstraintGroupRef, "G/"}, {Choices::EncRuleId, "PER"},
    {Choices::ASN1_ASP_ConstraintGroupId, "G"}, {Choices::ASN1_ASP_ConstraintGroupRef, "G/"},
    {Choices::ASN1_PDU_ConstraintGroupId, "G"}, {Choices::ASN1_PDU_ConstraintGroupRef, "G/"},
    {Choices::TTCN_CM_ConstraintGroupId, "G"}, {Choices::CM_ConstraintGroupRef, "G/"},
    {Choices::ASN1_CM_ConstraintGroupId, "G"}, {Choices::ASN1_CM_ConstraintGroupRef, "G/"},
    {Choices::TestGroupId, "BASIC"}, {Choices::TestCaseId, "TC1"}, {Choices::TestPurpose, "/* p */"},
    {Choices::Configuration, "CONF1"}, {Choices::DefaultsRef, "D1"}, {Choices::TestStepAttachment, "+ST1"},
    {Choices::LineNumber, "1"}, {Choices::LabelId, "L1"}, {Choices::Line, "[0] L ! ECHOmsg"},
    {Choices::Cref, "C_ECHO('0102'O)"}, {Choices::VerdictId, "PASS"}, {Choices::Header, "LT1"},
    {Choices::TestStepGroupId, "STEPS"}, {Choices::TestStepId, "ST1(p: INTEGER)"}, {Choices::TestStepRef, "STEPS/"},
    {Choices::DefaultGroupId, "DEFS"}, {Choices::DefaultId, "D1"}, {Choices::DefaultRef, "DEFS/"},
};

TEST(FieldDispatch, EveryCellKindParsesARealisticText) {
    for (const Sample& s : kEveryCell) {
        TreeArena arena;
        FieldParseResult r = parseField(s.kind, s.text, 3, arena);
        const char* name = kindInfo(s.kind).name;
        EXPECT_TRUE(r.findings.empty()) << name << ": " << s.text;
        ASSERT_NE(r.tree, nullptr) << name;
        EXPECT_EQ(r.tree->kind, s.kind) << name;
        EXPECT_EQ(schemaViolations(r.tree), "") << name;
        EXPECT_TRUE(isFieldKind(s.kind)) << name;
    }
}

// Every field of every row and table kind of the schema (a sequence whose
// fields the MP importer fills from cells) is a kind the parser knows.
TEST(FieldDispatch, EveryFieldOfEveryTableKindIsCovered) {
    std::vector<std::string> missing;
    for (int32_t kind = 2; kind <= 697; ++kind) {
        const KindInfo& info = kindInfo(kind);
        if (info.backing != KindBacking::SuiteNode || info.role != KindRole::Sequence) continue;
        for (const FieldInfo& f : info.fields()) {
            const KindInfo& field = kindInfo(f.kind);
            if (field.backing != KindBacking::Field || field.role == KindRole::List) continue;
            // Groupings and behaviour descriptions are built by the MP importer
            // from tables and rows, not parsed from a cell.
            const int32_t structural[] = {Choices::Definitions, Choices::ParamAndSelection, Choices::Declarations,
                                          Choices::ComplexDefinitions, Choices::BehaviourDescription};
            if (std::find(std::begin(structural), std::end(structural), f.kind) != std::end(structural)) continue;
            if (!isFieldKind(f.kind)) missing.push_back(std::string(info.name) + "." + field.name);
        }
    }
    EXPECT_EQ(missing, std::vector<std::string>{});
}

} // namespace
