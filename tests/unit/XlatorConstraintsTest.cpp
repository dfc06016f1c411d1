// Constraints to templates: a suite with every constraint kind, translated
// from its constraints part and compared byte for byte with a hand-written
// module part; templates over the types of a published ASN.1 module; and
// every assertion of the constraint tables, with what the file keeps.
#include "TranslateTestSupport.h"

#include "TestSupport.h"
#include "front/XlatorOptions.h"
#include "translate/XlatorDefinitionCollector.h"
#include "translate/XlatorVisitor.h"
#include "tree/KindInfo.h"
#include "suite/fields/FieldParser.h"
#include "tree/TreeArena.h"
#include "tree/TreeBuild.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace translate_test;

namespace {

const char* const kPduParameterWarning =
    "warning: PDU parameters receive 'anytype' type, you need to fix constraint to get "
    "'{MyType := actualParameter}'\n";

// A translation visitor that tells how deep its type context stack is.
class TemplateWriter : public XlatorVisitor {
public:
    using XlatorVisitor::XlatorVisitor;
    std::size_t stackDepth() const { return typeContext_.size(); }
};

// What one translation wrote into the TTCN-3 file and onto standard error.
struct Translated {
    std::string ttcn;
    std::string asn;
    std::string errors;
};

// Translates `nodes` in order. The entries of `leftovers` stand on the type
// context stack before, as the ASN.1 type definitions of the declarations
// part leave theirs there; the templates must leave the stack as they found it.
Translated translate(const AccessSuite& suite, const std::vector<AccessNode>& nodes, const std::string& name,
                     const std::vector<AccessNode>& leftovers = {}) {
    CapturedOutput out(name);
    TemplateWriter writer(suite);
    for (const AccessNode& entry : leftovers) writer.pushTypeContext(entry);
    ::testing::internal::CaptureStderr();
    for (const AccessNode& node : nodes) writer.Visit(node);
    Translated result{out.ttcn(), out.asn(), ::testing::internal::GetCapturedStderr()};
    EXPECT_EQ(writer.stackDepth(), leftovers.size()) << name;
    return result;
}

// The suite of tests/unit/data/translate/constraints.mp: every constraint
// kind, user groups two deep, parameters of each kind, a derivation path of
// three steps, element comments, SEQUENCE, CHOICE and SEQUENCE OF values, a
// modified ASN.1 constraint, a constraint reference with a structured value,
// a structured value in a tabular template.
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

    static AccessNode constraintsPart() { return nthNode(opened->root(), Choices::ConstraintsPart); }

    static OpenedSuite* opened;
    static bool loaded;
};
OpenedSuite* Templates::opened = nullptr;
bool Templates::loaded = false;

TEST_F(Templates, EveryKindInItsGroup) {
    ASSERT_TRUE(loaded);
    // A structured value of a tabular template is read against its element's
    // type, not against a type that the declarations left on the stack.
    Translated out = translate(opened->suite, {constraintsPart()}, "constraints",
                               {opened->suite.find(opened->root(), "Msg")});
    EXPECT_EQ(out.ttcn, readFile(dataFile("translate/constraints_part.expected")));
    EXPECT_EQ(out.asn, "");
    // One warning for the one parameter of the metatype PDU.
    EXPECT_EQ(out.errors, kPduParameterWarning);
}

// With -TFT the table's comment and the element's comment are display
// attributes in the with-block after the template; an ASN.1 template has its
// with-block after the value.
TEST_F(Templates, DisplayAttributesFollowTheTemplate) {
    ASSERT_TRUE(loaded);
    tabularFormat = true;
    Translated out = translate(opened->suite,
                               {nthNode(opened->root(), Choices::StructTypeConstraint, 0),
                                nthNode(opened->root(), Choices::ASN1_TypeConstraint, 0)},
                               "constraints_tft");
    EXPECT_EQ(out.ttcn,
              "\n"
              "// a header\n"
              "template HEADER_T C_HDR(template integer p_kind, template octetstring p_data) := \n"
              "{\n"
              "  kind := p_kind, \n"
              "  // the payload\n"
              "  data := p_data\n"
              "}\n"
              "with\n"
              "{\n"
              "  display \"comments := a header\"\n"
              "  display (data) \"comments := the payload\"\n"
              "}\n"
              "// two optional components left out\n"
              "template Msg C_MSG := \n"
              "{\n"
              "  id := 1, \n"
              "  inner := \n"
              "  {\n"
              "    x := 2\n"
              "    , y := omit\n"
              "  }\n"
              "  , alpha := omit, zeta := omit\n"
              "}\n"
              "with\n"
              "{\n"
              "  display \"comments := two optional components left out\"\n"
              "}\n");
}

// The replaced component's type: by name, through a record reference, by
// index into a SEQUENCE OF; nothing where a step finds nothing.
TEST_F(Templates, ReplacedComponentTypes) {
    ASSERT_TRUE(loaded);
    struct {
        const char* type;  // the constraint type on the stack
        const char* replacement;
        int32_t expected;  // the kind of the resolved ASN.1 structure
    } cases[] = {
        {"Msg", "REPLACE inner BY {}", Choices::SequenceType},
        {"Msg", "REPLACE inner.y BY 1", Choices::IntegerType},
        {"List", "REPLACE (1).x BY 1", Choices::IntegerType},
        {"Msg", "REPLACE alpha BY 1", Choices::IntegerType},
        {"Msg", "REPLACE nothing BY 1", Choices::invalid_choice},
        {"Msg", "REPLACE inner.nothing.x BY 1", Choices::invalid_choice},
        {"Msg", "REPLACE inner[1] BY 1", Choices::invalid_choice},
        {"Nothing", "REPLACE inner BY 1", Choices::invalid_choice},
    };
    for (const auto& c : cases) {
        TreeArena arena;
        FieldParseResult parsed = parseField(Choices::ASN1_ConsValue, c.replacement, 1, arena);
        ASSERT_FALSE(parsed.hasErrors()) << c.replacement;
        AccessNode references = nthNode(AccessNode(parsed.tree->kind, parsed.tree), Choices::ReferenceList);
        ASSERT_FALSE(references.isEmpty()) << c.replacement;
        TemplateWriter writer(opened->suite);
        writer.pushTypeContext(opened->suite.find(opened->root(), c.type));
        AccessNode type = writer.replacedComponentType(references.as<ReferenceList>());
        AccessNode structure = type.isEmpty() ? AccessNode() : writer.asn1Structure(type);
        EXPECT_EQ(structure.choice(), c.expected) << c.type << ": " << c.replacement;
    }
}

// Constraints over the types of a published module, named in the suite as
// the module names them: component types and the omitted OPTIONAL and
// DEFAULT components come from the module.
TEST(TemplatesOverPublishedModule, OmittedComponentsFromTheModule) {
    XLATOR_REQUIRE_PUBLISHED_MODULES();
    fs::path module = publishedModule("Lightweight-Directory-Access-Protocol-V3.asn");
    ASSERT_FALSE(module.empty());
    OpenedSuite opened;
    ASSERT_TRUE(opened.open({dataFile("translate/ldap_constraints.mp")}, {module.string()}));
    Translated out = translate(opened.suite, {nthNode(opened.root(), Choices::ASN1_TypeConstraints)}, "ldap");
    EXPECT_EQ(out.ttcn,
              "group ASN1ConstraintDeclarations\n"
              "{\n"
              "  template Control C_CONTROL := \n"
              "  {\n"
              "    controlType := '01'O\n"
              "    , controlValue := omit, criticality := omit\n"
              "  }\n"
              "  template Controls C_CONTROLS := \n"
              "  {\n"
              "    {\n"
              "      controlType := '02'O, \n"
              "      criticality := true\n"
              "      , controlValue := omit\n"
              "    }\n"
              "  }\n"
              "  template MatchingRuleAssertion C_RULE := \n"
              "  {\n"
              "    matchValue := '03'O\n"
              "    , dnAttributes := omit, matchingRule := omit, type := omit\n"
              "  }\n"
              "}\n");
    EXPECT_EQ(out.errors, "");
}

// ---- Failures ----

std::string escapeRegex(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (std::string("\\.^$|()[]{}*+?").find(c) != std::string::npos) escaped += '\\';
        escaped += c;
    }
    return escaped;
}

// The assertion line with any line number of this part's source file.
std::string assertionLine(const std::string& expression, const std::string& message) {
    std::string line = "ASSERTION FAILED: ";
    line += expression;
    line += " ('";
    line += message;
    line += "') at XlatorConstraints.cpp(";
    std::string pattern = escapeRegex(line);
    pattern += "[0-9]+\\)\n$";
    return pattern;
}

struct Failure {
    int32_t kind;
    std::vector<int32_t> present;  // the fields given; every other field is absent
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

// Nothing is written for a table whose check fails: the check comes first.
TEST(TemplateFailures, EveryAssertionInItsOrder) {
    GTEST_FLAG_SET(death_test_style, "fast");
    AccessSuite suite;
    for (const Failure& f : kFailures) {
        TreeArena arena;
        TreeNode* node = arena.make(f.kind, kindInfo(f.kind).fieldCount());
        for (int32_t field : f.present)
            node->child[fieldIndex(f.kind, field)] = arena.make(field, kindInfo(field).fieldCount());
        CapturedOutput out("failure");
        TemplateWriter writer(suite);
        std::string line = "^";
        line += assertionLine(f.expression, f.message);
        EXPECT_EXIT(writer.Visit(AccessNode(f.kind, node)), ::testing::ExitedWithCode(1), line)
            << f.expression;
        EXPECT_EQ(out.ttcn(), "") << f.expression;
    }
}

// A CM parameter asserts nothing: without name and value it is " := ".
TEST(TemplateFailures, CmParameterWithoutNameOrValue) {
    TreeArena arena;
    TreeNode* row = arena.make(Choices::CM_ParValue, kindInfo(Choices::CM_ParValue).fieldCount());
    AccessSuite suite;
    EXPECT_EQ(translate(suite, {AccessNode(Choices::CM_ParValue, row)}, "cm_parameter").ttcn, " := ");
}

// An ASN.1 PDU constraint without its value ends the run at its assertion;
// the file keeps every template before it and the head of its group.
TEST_F(Templates, PduConstraintWithoutValueKeepsWhatWasWritten) {
    ASSERT_TRUE(loaded);
    std::string text = readFile(dataFile("translate/constraints.mp"));
    const std::string value = "   $ASN1_ConsValue { seq ? }\n";
    ASSERT_NE(text.find(value), std::string::npos);
    text.replace(text.find(value), value.size(), "   $ASN1_ConsValue\n");
    OpenedSuite broken;
    ASSERT_TRUE(broken.open({writeScratch("without_value.mp", text)}));

    std::string expected = readFile(dataFile("translate/constraints_part.expected"));
    const std::string groupHead = "    group ASN1PDUConstraintDeclarations\n    {\n";
    ASSERT_NE(expected.find(groupHead), std::string::npos);
    expected.resize(expected.find(groupHead) + groupHead.size());

    GTEST_FLAG_SET(death_test_style, "fast");
    CapturedOutput out("without_value");
    TemplateWriter writer(broken.suite);
    std::string errors = "^";
    errors += escapeRegex(kPduParameterWarning);
    errors += assertionLine("node.is_present_asn1_ConsValue()", "ASN.1 PDU constraint definition not specified");
    EXPECT_EXIT(writer.Visit(nthNode(broken.root(), Choices::ConstraintsPart)), ::testing::ExitedWithCode(1), errors);
    EXPECT_EQ(out.ttcn(), expected);
}

}  // namespace
