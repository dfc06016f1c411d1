// The with-attribute translation: what CollectAttributes gathers for every
// kind of a real, analysed suite, the assertions on rows without a name, and
// the comment lines and with-block the writers make of a list.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TranslateTestSupport.h"
#include "translate/XlatorWithVisitor.h"
#include "tree/KindInfo.h"
#include "tree/TreeArena.h"
#include "tree/TreeBuild.h"
#include "tree/TreeViews.h"

using namespace translate_test;

namespace {

std::vector<std::string> texts(const XlatorAttributeList& list) {
    std::vector<std::string> result;
    for (const auto& attribute : list) result.push_back(attribute->getText());
    return result;
}

class CollectedAttributes : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        opened = new OpenedSuite;
        loaded = opened->open({dataFile("translate/attributes.mp"), dataFile("analysis/lib_mod.mp")},
                              {dataFile("analysis/remote.asn")});
    }
    static void TearDownTestSuite() { delete opened; }
    static OpenedSuite* opened;
    static bool loaded;
};
OpenedSuite* CollectedAttributes::opened = nullptr;
bool CollectedAttributes::loaded = false;

struct KindCase {
    int32_t kind;
    std::size_t index;  // which node of the kind, in tree order
    std::vector<std::string> expected;
};

using C = Choices;

// The comment "x" and the detailed comment "x detail" of a definition.
#define BOTH(x) R"(display "comments := )" x R"(")", R"(display "detailed comments := )" x R"( detail")"

// The expectations follow the suite in data/translate/attributes.mp, whose
// every text names its field ("x" comment, "x detail" detailed comment).
const std::vector<KindCase> kKindCases = {
    {C::Imports, 0, {R"(display "comments := import comment")", R"(display "detailed comments := import detail")"}},
    {C::EncodingVariationSet, 0, {BOTH("variations")}},
    {C::SimpleTypeDef, 1, {}},
    {C::EncodingDefinition, 0, {R"(display "comments := ber")"}},
    {C::EncodingVariation, 0, {R"(display "comments := short form")"}},
    {C::TS_VarDcl, 0, {R"(display "comments := tsv")"}},
    {C::TS_VarDcl, 1, {}},
    {C::TTCN_CM_TypeDef,
     0,
     {BOTH("cm"), R"(display (step) "comments := step")", R"(display (MACRO) "comments := cm macro")"}},
    {C::ASN1_CM_TypeDef, 0, {BOTH("go")}},
    {C::InvalidFieldEncodingDef, 0, {BOTH("bad")}},
    {C::SimpleTypeDefs, 0, {R"(display "detailed comments := simple detail")"}},
    {C::Declarations, 0, {}},
    // Rows: their own comment, without target.
    {C::ElemDcl, 0, {R"(display "comments := the kind")"}},
    {C::PDU_FieldDcl, 0, {R"(display "comments := pdu macro")"}},
    {C::ASP_ParDcl, 1, {R"(display "comments := macro")"}},
    {C::CM_ParDcl, 0, {R"(display "comments := step")"}},
    {C::ElemValue, 0, {R"(display "comments := c kind")"}},
    {C::PDU_FieldValue, 1, {R"(display "comments := c count")"}},
    {C::ASP_ParValue, 0, {R"(display "comments := c payload")"}},
    {C::CM_ParValue, 1, {}},
    // Constraints. A structured type constraint's element gets no encode.
    {C::StructTypeConstraint,
     0,
     {BOTH("c header"), R"(variant "SHORT_FORM")", R"(display (kind) "comments := c kind")"}},
    {C::ASN1_TypeConstraint, 0, {BOTH("c red"), R"(variant "SHORT_FORM")"}},
    {C::TTCN_ASP_Constraint,
     0,
     {BOTH("c data"), R"(display (payload) "comments := c payload")", R"(display (MACRO) "comments := c macro")"}},
    {C::TTCN_CM_Constraint, 0, {BOTH("c ready"), R"(display (step) "comments := c step")"}},
    {C::TTCN_PDU_Constraint,
     0,
     {BOTH("c echo"), R"(encode "BER")", R"(variant "SHORT_FORM")", R"(encode (MACRO) "SHORT_FORM")",
      R"(display (count) "comments := c count")", R"(encode (count) "BAD_LENGTH")"}},
    {C::ASN1_PDU_Constraint, 0, {BOTH("c ack"), R"(encode "BER")", R"(variant "SHORT_FORM")"}},
    {C::ASN1_ASP_Constraint, 0, {BOTH("c connect")}},
    {C::ASN1_CM_Constraint, 0, {BOTH("c go")}},
    // Dynamic part.
    {C::TestGroup, 0, {R"(display "purpose := the group")"}},
    {C::CompactTestGroup, 0, {R"(display "purpose := compact")"}},
    {C::CompactTestCase,
     0,
     {R"(display "comments := ctc")", R"(display "purpose := compact purpose")",
      R"(display "description := ctc description")"}},
    {C::TestCase, 0, {BOTH("tc"), R"(display "purpose := echo a PDU")", R"(display "description := tc description")"}},
    {C::TestStep, 0, {BOTH("ts"), R"(display "purpose := start")", R"(display "description := ts description")"}},
    {C::DefaultCase,
     0,
     {BOTH("def"), R"(display "purpose := anything else")", R"(display "description := def description")"}},
    // The members of the common component type and the test suite variables.
    {C::TC_VarDcls,
     0,
     {R"(display "test case variable declarations detailed comments := tcvs detail")",
      R"(display (TCV_N) "comments := tcv")"}},
    {C::PCO_Dcls,
     0,
     {R"(display "pco declarations detailed comments := pcos detail")", R"(display (L) "comments := pco")"}},
    {C::CP_Dcls,
     0,
     {R"(display "cp declarations detailed comments := cps detail")", R"(display (CP1) "comments := cp")"}},
    {C::TimerDcls,
     0,
     {R"(display "timer declarations detailed comments := timers detail")", R"(display (T1) "comments := timer")"}},
    {C::TS_VarDcls,
     0,
     {R"(display "test suite variables detailed comments := tsvs detail")",
      R"(display (TSV_COUNT) "comments := tsv")"}},
    // Kinds without a collector.
    {C::DeclarationsPart, 0, {}},
    {C::AliasDef, 0, {}},
};

TEST_F(CollectedAttributes, EveryKindCollectsItsItemsInOrder) {
    ASSERT_TRUE(loaded);
    for (const KindCase& c : kKindCases) {
        // The import part hangs beside the suite, not below it.
        AccessNode node = nthNode(c.kind == C::Imports ? opened->importPart() : opened->root(), c.kind, c.index);
        ASSERT_FALSE(node.isEmpty()) << Choices::to_char(c.kind) << " #" << c.index;
        EXPECT_EQ(texts(CollectAttributes(node)), c.expected) << Choices::to_char(c.kind) << " #" << c.index;
    }
}

// Rows without their name, built by hand (the analysis refuses such suites).
struct RowCase {
    int32_t table;
    int32_t rowList;
    int32_t row;
    const char* expression;
};

const RowCase kNamelessRows[] = {
    {C::StructTypeDef, C::ElemDcls, C::ElemDcl, "elem.is_present_elemId()"},
    {C::StructTypeConstraint, C::ElemValues, C::ElemValue, "elem.is_present_elemId()"},
    {C::TTCN_ASP_TypeDef, C::ASP_ParDcls, C::ASP_ParDcl, "elem.is_present_asp_ParId()"},
    {C::TTCN_ASP_Constraint, C::ASP_ParValues, C::ASP_ParValue, "elem.is_present_asp_ParId()"},
    {C::TTCN_PDU_TypeDef, C::PDU_FieldDcls, C::PDU_FieldDcl, "elem.is_present_pdu_FieldId()"},
    {C::TTCN_PDU_Constraint, C::PDU_FieldValues, C::PDU_FieldValue, "elem.is_present_pdu_FieldId()"},
    {C::TTCN_CM_TypeDef, C::CM_ParDcls, C::CM_ParDcl, "elem.is_present_cm_ParId()"},
    {C::TTCN_CM_Constraint, C::CM_ParValues, C::CM_ParValue, "elem.is_present_cm_ParId()"},
    {C::TS_VarDcls, C::TS_VarDclList, C::TS_VarDcl, "elem.is_present_ts_VarId()"},
    {C::TC_VarDcls, C::TC_VarDclList, C::TC_VarDcl, "elem.is_present_tc_VarId()"},
    {C::PCO_Dcls, C::PCO_DclList, C::PCO_Dcl, "elem.is_present_pco_Id()"},
    {C::CP_Dcls, C::CP_DclList, C::CP_Dcl, "elem.is_present_cp_Id()"},
    {C::TimerDcls, C::TimerDclList, C::TimerDcl, "elem.is_present_timerId()"},
    {C::TCompConfigDcl, C::TCompConfigInfoList, C::TCompConfigInfo, "elem.is_present_tcompUsed()"},
};

// A table of `table` kind whose row list holds the one row given.
TreeNode* tableWithRow(TreeArena& arena, int32_t table, int32_t rowList, TreeNode* row) {
    TreeNode* node = arena.make(table, kindInfo(table).fieldCount());
    node->child[fieldIndex(table, rowList)] = makeList(arena, rowList, {row});
    return node;
}

TEST(CollectAttributesDeath, RowWithoutNameIsAnAssertion) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const RowCase& c : kNamelessRows) {
        TreeArena arena;
        TreeNode* table = tableWithRow(arena, c.table, c.rowList, makeSequence(arena, c.row));
        EXPECT_EXIT(CollectAttributes(AccessNode(c.table, table)), ::testing::ExitedWithCode(1),
                    failureLinePattern(std::string("ASSERTION FAILED: ") + c.expression + " ('Element id not present')",
                                "XlatorWithVisitor.cpp"))
            << Choices::to_char(c.row);
    }
}

TEST(CollectAttributesDeath, RowNameOfAnotherChoiceIsAnInternalError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string expected = "INTERNAL ERROR: 'Unexpected choice in CollectAttributes'";
    TreeArena arena;
    TreeNode* stray = makeText(arena, C::Identifier, "x");
    TreeNode* asp = tableWithRow(
        arena, C::TTCN_ASP_TypeDef, C::ASP_ParDcls,
        makeSequence(arena, C::ASP_ParDcl,
                     {makeSequence(arena, C::ASP_ParId, {makeChoice(arena, C::ASP_ParIdOrMacro, stray)})}));
    EXPECT_EXIT(CollectAttributes(AccessNode(C::TTCN_ASP_TypeDef, asp)), ::testing::ExitedWithCode(1),
                failureLinePattern(expected, "XlatorWithVisitor.cpp"));
    TreeNode* pdu = tableWithRow(
        arena, C::TTCN_PDU_Constraint, C::PDU_FieldValues,
        makeSequence(arena, C::PDU_FieldValue,
                     {makeSequence(arena, C::PDU_FieldId, {makeChoice(arena, C::PDU_FieldIdOrMacro, stray)})}));
    EXPECT_EXIT(CollectAttributes(AccessNode(C::TTCN_PDU_Constraint, pdu)), ::testing::ExitedWithCode(1),
                failureLinePattern(expected, "XlatorWithVisitor.cpp"));

    // A CM parameter that is no macro symbol is taken as a name.
    TreeNode* cmRow = makeSequence(arena, C::CM_ParDcl,
                                   {makeSequence(arena, C::CM_ParId, {makeChoice(arena, C::CM_ParIdOrMacro, stray)}),
                                    nullptr, makeText(arena, C::Comment, "odd")});
    TreeNode* cm = tableWithRow(arena, C::TTCN_CM_TypeDef, C::CM_ParDcls, cmRow);
    EXPECT_EQ(texts(CollectAttributes(AccessNode(C::TTCN_CM_TypeDef, cm))),
              (std::vector<std::string>{R"(display "comments := odd")"}));
}

TEST(CollectAttributesDeath, FieldEncodingOfAnotherChoiceIsAnInternalError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TreeArena arena;
    TreeNode* encoding =
        makeSequence(arena, C::PDU_FieldEncoding,
                     {makeChoice(arena, C::PDU_FieldEncodingCall, makeText(arena, C::Identifier, "x"))});
    EXPECT_EXIT(getEncodingDefinition(PDU_FieldEncoding(encoding)), ::testing::ExitedWithCode(1),
                failureLinePattern("INTERNAL ERROR: 'Unexpected choice in getEncodingDefinition'", "XlatorWithVisitor.h"));
}

// The writers, on lists built by hand: each attribute is "D|target|key|value",
// "E|target|text" or "V|text" (an empty target: none).
std::unique_ptr<XlatorAttribute> attributeOf(const std::string& described) {
    std::vector<std::string> parts;
    for (std::size_t begin = 0, end; begin <= described.size(); begin = end + 1) {
        end = std::min(described.find('|', begin), described.size());
        parts.push_back(described.substr(begin, end - begin));
    }
    if (parts[0] == "D") return std::make_unique<XlatorDisplayAttribute>(parts[1], parts[2], parts[3]);
    if (parts[0] == "E") return std::make_unique<XlatorEncodeAttribute>(parts[1], parts[2]);
    return std::make_unique<XlatorVariantAttribute>(parts[1]);
}

struct WriterCase {
    const char* name;
    bool tabular;
    std::vector<std::string> attributes;
    std::string expected;
};

const std::vector<WriterCase> kWriterCases = {
    {"comment_without_tft", false, {"D||comments|abc"}, "\n// abc\nT\n"},
    {"comment_with_tft", true, {"D||comments|abc"}, "\n// abc\nT\nwith\n{\n  display \"comments := abc\"\n}\n"},
    {"two_lines_and_quote", true, {"D||comments|say \"hi\"\r\nbye"},
     "\n// say \"hi\"\n// bye\nT\nwith\n{\n  display \"comments := say \"\"hi\"\"\\nbye\"\n}\n"},
    {"target_is_no_comment_line", true, {"D|elem|comments|abc"},
     "T\nwith\n{\n  display (elem) \"comments := abc\"\n}\n"},
    {"encode_without_tft", false, {"D|f|comments|abc", "E|f|V", "V|W", "E||R"},
     "T\nwith\n{\n  encode (f) \"V\"\n  variant \"W\"\n  encode \"R\"\n}\n"},
    {"display_only_without_tft", false, {"D||comments|abc", "D|x|comments|y"}, "\n// abc\nT\n"},
    {"empty_list", true, {}, "T\n"},
    // The comment writer does not look at values (the collectors never add empty ones).
    {"nothing_with_a_value", true, {"D||comments|", "V|"}, "\n// \nT\n"},
};

TEST(AttributeWriters, CommentLinesDefinitionThenWithBlock) {
    for (const WriterCase& c : kWriterCases) {
        CapturedOutput out(std::string("writer_") + c.name);
        XlatorAttributeList list;
        for (const std::string& described : c.attributes) list.push_back(attributeOf(described));
        writeAttributeComments(list);
        output().write("T");
        output().startLine();
        writeWithBlock(list, c.tabular);
        EXPECT_EQ(out.ttcn(), c.expected) << c.name;
    }
}

}  // namespace
