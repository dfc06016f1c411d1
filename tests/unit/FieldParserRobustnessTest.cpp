// The field parsers on bad input: syntax findings with their places, deep
// nesting, and every cell kind on a realistic text. Random and broken texts
// are the fuzz harness's (tests/fuzz, replayed by CTest).
#include "suite/fields/FieldParser.h"
#include "tests/unit/FieldTreeText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
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

// A realistic text for every kind of cell that the MP importer hands over,
// one a line in tests/unit/data/fields/every_cell_kind.txt: the kind's name,
// a blank, the text.
TEST(FieldDispatch, EveryCellKindParsesARealisticText) {
    std::ifstream samples(XLATOR_TEST_DATA "/fields/every_cell_kind.txt");
    int kinds = 0;
    for (std::string line; std::getline(samples, line); ++kinds) {
        const std::size_t blank = line.find(' ');
        const std::string name = line.substr(0, blank), text = line.substr(blank + 1);
        const int32_t kind = kindNamed(name);
        TreeArena arena;
        FieldParseResult r = parseField(kind, text, 3, arena);
        EXPECT_TRUE(isFieldKind(kind)) << name;
        EXPECT_TRUE(r.findings.empty()) << name << ": " << text;
        ASSERT_NE(r.tree, nullptr) << name;
        EXPECT_EQ(r.tree->kind, kind) << name;
        EXPECT_EQ(schemaViolations(r.tree), "") << name;
    }
    EXPECT_EQ(kinds, 132);
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
