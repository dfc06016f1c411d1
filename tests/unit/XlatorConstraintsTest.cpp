// Constraints to templates: real suites translated from their constraint
// nodes and compared byte for byte with hand-written expected files under
// data/translate/, and every assertion of the constraint tables.
#include "TranslateTestSupport.h"

#include "TestSupport.h"
#include "front/XlatorOptions.h"
#include "translate/XlatorDefinitionCollector.h"
#include "translate/XlatorVisitor.h"
#include "tree/KindInfo.h"
#include "tree/TreeArena.h"
#include "tree/TreeBuild.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace translate_test;

namespace {

// A translation visitor that tells how deep its type context stack is.
class TemplateWriter : public XlatorVisitor {
public:
    using XlatorVisitor::XlatorVisitor;
    std::size_t stackDepth() const { return typeContext_.size(); }
};

// The TTCN-3 text and standard error of translating `nodes` in order, with
// `leftovers` on the type context stack before (as the ASN.1 type definitions
// of the declarations part leave theirs); the stack must end as it began and
// the ASN.1 file must stay empty.
std::pair<std::string, std::string> translate(const AccessSuite& suite, const std::vector<AccessNode>& nodes,
                                              const std::string& name, const std::vector<AccessNode>& leftovers = {}) {
    CapturedOutput out(name);
    TemplateWriter writer(suite);
    for (const AccessNode& entry : leftovers) writer.pushTypeContext(entry);
    ::testing::internal::CaptureStderr();
    for (const AccessNode& node : nodes) writer.Visit(node);
    std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(writer.stackDepth(), leftovers.size()) << name;
    EXPECT_EQ(out.asn(), "") << name;
    return {out.ttcn(), errors};
}

// data/translate/constraints.mp (also the suite of the end-to-end case
// templates_every_kind): every constraint kind, user groups two deep,
// parameters of each kind, a derivation path of three steps, element
// comments, SEQUENCE, CHOICE and SEQUENCE OF values, a modified ASN.1
// constraint, constraint references with structured values, structured values
// in tabular templates.
class Templates : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        opened = new OpenedSuite;
        loaded = opened->open({dataFile("translate/constraints.mp")});
        // The pre-pass of a run: the identifier rule reads the ASN.1 names.
        if (loaded) gDefinitionCollector.Visit(opened->root());
    }
    static void TearDownTestSuite() { delete opened; }
    void TearDown() override { tabularFormat = false; }
    static OpenedSuite* opened;
    static bool loaded;
};
OpenedSuite* Templates::opened = nullptr;
bool Templates::loaded = false;

TEST_F(Templates, EveryKindInItsGroup) {
    ASSERT_TRUE(loaded);
    // A value of a tabular template is written against its element's type,
    // never against a type that the declarations left on the stack.
    auto [ttcn, errors] = translate(opened->suite, {nthNode(opened->root(), Choices::ConstraintsPart)}, "all",
                                    {opened->suite.find(opened->root(), "Msg")});
    EXPECT_EQ(ttcn, readFile(dataFile("translate/constraints_part.expected")));
    // One warning for the one parameter of the metatype PDU.
    EXPECT_EQ(errors, "warning: PDU parameters receive 'anytype' type, you need to fix constraint to get "
                      "'{MyType := actualParameter}'\n");
}

// With -TFT the comments of the table and of its elements are display
// attributes in the with-block after the template (after the value of an
// ASN.1 template).
TEST_F(Templates, DisplayAttributesFollowTheTemplate) {
    ASSERT_TRUE(loaded);
    tabularFormat = true;
    auto [ttcn, errors] = translate(opened->suite,
                                    {nthNode(opened->root(), Choices::StructTypeConstraint, 0),
                                     nthNode(opened->root(), Choices::ASN1_TypeConstraint, 0)},
                                    "tft");
    EXPECT_EQ(ttcn, readFile(dataFile("translate/constraints_tft.expected")));
}

// Constraints over types of a published module, each named in the suite as
// the module names it: the omitted OPTIONAL and DEFAULT components and the
// element type of a SEQUENCE OF come from the module.
TEST(TemplatesOverPublishedModule, OmittedComponentsFromTheModule) {
    XLATOR_REQUIRE_PUBLISHED_MODULES();
    fs::path module = publishedModule("Lightweight-Directory-Access-Protocol-V3.asn");
    OpenedSuite opened;
    ASSERT_TRUE(opened.open({dataFile("translate/ldap_constraints.mp")}, {module.string()}));
    auto [ttcn, errors] = translate(opened.suite, {nthNode(opened.root(), Choices::ASN1_TypeConstraints)}, "ldap");
    EXPECT_EQ(ttcn, readFile(dataFile("translate/ldap_constraints.expected")));
    EXPECT_EQ(errors, "");
}

// A CM parameter row asserts nothing: without name and value it is " := ".
TEST(TemplateRows, CmParameterWithoutNameOrValue) {
    TreeArena arena;
    AccessSuite suite;
    TreeNode* row = arena.make(Choices::CM_ParValue, kindInfo(Choices::CM_ParValue).fieldCount());
    EXPECT_EQ(translate(suite, {AccessNode(Choices::CM_ParValue, row)}, "cm").first, " := ");
}

struct Failure {
    int32_t kind;
    std::vector<int32_t> present;  // the fields given; every other one is absent
    const char* expression;
    const char* message;
};

// One row per assertion, in the order in which each kind checks its fields:
// type, then name, then value.
const Failure kFailures[] = {
    {Choices::StructTypeConstraintGroup, {}, "node.is_present_structTypeConstraintGroupId()",
     "Constraint group id not specified"},
    {Choices::ASN1_TypeConstraintGroup, {}, "node.is_present_asn1_TypeConstraintGroupId()",
     "ASN1 type constraint group id not present"},
    {Choices::TTCN_ASP_ConstraintGroup, {}, "node.is_present_ttcn_ASP_ConstraintGroupId()",
     "TTCN ASP constraint group id not present"},
    {Choices::TTCN_PDU_ConstraintGroup, {}, "node.is_present_ttcn_PDU_ConstraintGroupId()",
     "TTCN pdu constraint group id not present"},
    {Choices::ASN1_ASP_ConstraintGroup, {}, "node.is_present_asn1_ASP_ConstraintGroupId()",
     "ASN.1 ASP constraint grop id not present"},
    {Choices::ASN1_PDU_ConstraintGroup, {}, "node.is_present_asn1_PDU_ConstraintGroupId()",
     "ASN.1 PDU constraint group id not present"},
    {Choices::TTCN_CM_ConstraintGroup, {}, "node.is_present_ttcn_CM_ConstraintGroupId()",
     "CM constraint group id not present"},
    {Choices::ASN1_CM_ConstraintGroup, {}, "node.is_present_asn1_CM_ConstraintGroupId()",
     "ASN.1 CM constraint group id not present"},
    {Choices::StructTypeConstraint, {}, "node.is_present_structId()", "Constraint type not specified"},
    {Choices::StructTypeConstraint, {Choices::StructId}, "node.is_present_consId()", "Constraint id not specified"},
    {Choices::ASN1_TypeConstraint, {}, "node.is_present_asn1_TypeId()", "Constraint type not specified"},
    {Choices::ASN1_TypeConstraint, {Choices::ASN1_TypeId}, "node.is_present_consId()", "Constraint id not specified"},
    {Choices::TTCN_ASP_Constraint, {}, "node.is_present_asp_Id()", "TTCN ASP constraint type not specified"},
    {Choices::TTCN_ASP_Constraint, {Choices::ASP_Id}, "node.is_present_consId()",
     "TTCN ASP Constraint id not specified"},
    {Choices::TTCN_PDU_Constraint, {}, "node.is_present_pdu_Id()", "Constraint type not specified"},
    {Choices::TTCN_PDU_Constraint, {Choices::PDU_Id}, "node.is_present_consId()", "Constraint id not specified"},
    {Choices::ASN1_ASP_Constraint, {}, "node.is_present_asp_Id()", "ASP constraint type not specified"},
    {Choices::ASN1_ASP_Constraint, {Choices::ASP_Id}, "node.is_present_consId()", "ASP constraint id not specified"},
    {Choices::ASN1_ASP_Constraint, {Choices::ASP_Id, Choices::ConsId}, "node.is_present_asn1_ConsValue()",
     "ASP constraint definition not specified"},
    {Choices::ASN1_PDU_Constraint, {}, "node.is_present_pdu_Id()", "ASN.1 PDU constraint type not specified"},
    {Choices::ASN1_PDU_Constraint, {Choices::PDU_Id}, "node.is_present_consId()",
     "ASN.1 PDU constraint id not specified"},
    {Choices::ASN1_PDU_Constraint, {Choices::PDU_Id, Choices::ConsId}, "node.is_present_asn1_ConsValue()",
     "ASN.1 PDU constraint definition not specified"},
    {Choices::TTCN_CM_Constraint, {}, "node.is_present_cm_Id()", "TTCN CM constraint type not specified"},
    {Choices::TTCN_CM_Constraint, {Choices::CM_Id}, "node.is_present_consId()", "TTCN CM constraint id not specified"},
    {Choices::ASN1_CM_Constraint, {}, "node.is_present_cm_Id()", "ASN.1 CM constraint type not specified"},
    {Choices::ASN1_CM_Constraint, {Choices::CM_Id}, "node.is_present_consId()",
     "ASN.1 CM constraint id not specified"},
    {Choices::ASN1_CM_Constraint, {Choices::CM_Id, Choices::ConsId}, "node.is_present_asn1_ConsValue()",
     "ASN.1 CM constraint definition not specified"},
    {Choices::ElemValue, {}, "node.is_present_elemId()", "Constraint elem id not specified"},
    {Choices::ElemValue, {Choices::ElemId}, "node.is_present_consValue()", "Constraint elem value not specified"},
    {Choices::ASP_ParValue, {}, "node.is_present_asp_ParId()", "ASP Par id not present"},
    {Choices::ASP_ParValue, {Choices::ASP_ParId}, "node.is_present_consValue()", "ASP Cons value not present"},
    {Choices::PDU_FieldValue, {}, "node.is_present_pdu_FieldId()", "PDU field id not specified"},
    {Choices::PDU_FieldValue, {Choices::PDU_FieldId}, "node.is_present_consValue()",
     "PDU constraint value not specified"},
    {Choices::FormalParIdList, {}, "false", "INTERNAL_ERROR: in VisitFormalParIdList"},
};

// The assertion line with any line number; nothing reaches the file, since
// each kind checks before it writes.
TEST(TemplateFailures, EveryAssertionInItsOrder) {
    GTEST_FLAG_SET(death_test_style, "fast");
    AccessSuite suite;
    for (const Failure& f : kFailures) {
        TreeArena arena;
        TreeNode* node = arena.make(f.kind, kindInfo(f.kind).fieldCount());
        for (int32_t field : f.present)
            node->child[fieldIndex(f.kind, field)] = arena.make(field, kindInfo(field).fieldCount());
        std::string line = std::string("ASSERTION FAILED: ") + f.expression + " ('" + f.message + "') at ";
        std::string pattern = "^";
        for (char c : line) pattern += std::string(std::strchr(".()[]{}*+?^$|\\", c) ? "\\" : "") + c;
        pattern += "XlatorConstraints\\.cpp\\([0-9]+\\)\n$";
        CapturedOutput out("failure");
        TemplateWriter writer(suite);
        EXPECT_EXIT(writer.Visit(AccessNode(f.kind, node)), ::testing::ExitedWithCode(1), pattern) << f.expression;
        EXPECT_EQ(out.ttcn(), "") << f.expression;
    }
}

}  // namespace
