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

// The TTCN-3 text and standard error of translating `nodes` in order; the
// type context stack must end as it began and the ASN.1 file must stay empty.
std::pair<std::string, std::string> translate(const AccessSuite& suite, const std::vector<AccessNode>& nodes,
                                              const std::string& name) {
    CapturedOutput out(name);
    TemplateWriter writer(suite);
    ::testing::internal::CaptureStderr();
    for (const AccessNode& node : nodes) writer.Visit(node);
    std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(writer.stackDepth(), 0u) << name;
    EXPECT_EQ(out.asn(), "") << name;
    return {out.ttcn(), errors};
}

// With -TFT the comments of the table and of its elements are display
// attributes in the with-block after the template (after the value of an
// ASN.1 template). The suite is data/translate/constraints.mp, that of the
// end-to-end case templates_every_kind, which shows every constraint kind in
// its group byte for byte, without -TFT.
TEST(Templates, DisplayAttributesFollowTheTemplate) {
    OpenedSuite opened;
    ASSERT_TRUE(opened.open({dataFile("translate/constraints.mp")}));
    // The pre-pass of a run: the identifier rule reads the ASN.1 names.
    gDefinitionCollector.Visit(opened.root());
    tabularFormat = true;
    auto [ttcn, errors] = translate(opened.suite,
                                    {nthNode(opened.root(), Choices::StructTypeConstraint, 0),
                                     nthNode(opened.root(), Choices::ASN1_TypeConstraint, 0)},
                                    "tft");
    tabularFormat = false;
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

// The kind of a name, as the schema spells it.
int32_t kindNamed(const std::string& name) {
    for (int32_t kind = 2; kind <= 697; ++kind)
        if (name == Choices::to_char(kind)) return kind;
    ADD_FAILURE() << "no kind " << name;
    return Choices::invalid_choice;
}

// The pieces of `text` between the separators, each without its surrounding blanks.
std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + 1)
        parts.push_back(text.substr(from, at - from));
    parts.push_back(text.substr(from));
    for (std::string& part : parts) {
        part.erase(0, part.find_first_not_of(' '));
        part.erase(part.find_last_not_of(' ') + 1);
    }
    return parts;
}

// Each row of data/translate/constraint_failures.txt: the node with only the
// given fields ends the run with its assertion line (any line number), and
// nothing reaches the file, since each kind checks before it writes.
TEST(TemplateFailures, EveryAssertionInItsOrder) {
    GTEST_FLAG_SET(death_test_style, "fast");
    AccessSuite suite;
    int rows = 0;
    for (const std::string& row : split(readFile(dataFile("translate/constraint_failures.txt")), '\n')) {
        if (row.empty() || row[0] == '#') continue;
        std::vector<std::string> cells = split(row, '|');
        ASSERT_EQ(cells.size(), 4u) << row;
        ++rows;
        int32_t kind = kindNamed(cells[0]);
        TreeArena arena;
        TreeNode* node = arena.make(kind, kindInfo(kind).fieldCount());
        for (const std::string& name : split(cells[1], ' ')) {
            if (name.empty()) continue;
            int32_t field = kindNamed(name);
            node->child[fieldIndex(kind, field)] = arena.make(field, kindInfo(field).fieldCount());
        }
        std::string pattern = "^";
        for (char c : "ASSERTION FAILED: " + cells[2] + " ('" + cells[3] + "') at ")
            pattern += std::string(std::strchr(".()[]{}*+?^$|\\", c) ? "\\" : "") + c;
        pattern += "XlatorConstraints\\.cpp\\([0-9]+\\)\n$";
        CapturedOutput out("failure");
        TemplateWriter writer(suite);
        EXPECT_EXIT(writer.Visit(AccessNode(kind, node)), ::testing::ExitedWithCode(1), pattern) << row;
        EXPECT_EQ(out.ttcn(), "") << row;
    }
    EXPECT_EQ(rows, 34);
}

}  // namespace
