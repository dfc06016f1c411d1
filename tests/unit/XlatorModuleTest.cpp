// The module frame's pieces that the end-to-end cases cannot reach: the
// import part (no field of the suite), the formal parameter list writer, and
// the visits that a correct run never reaches. The group frames and BASE are
// shown by the end-to-end cases decl_every_table and decl_every_table_tft.
#include "TranslateTestSupport.h"

#include "front/XlatorOptions.h"
#include "translate/XlatorVisitor.h"
#include "tree/KindInfo.h"
#include "tree/TreeArena.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace translate_test;

namespace {

// The frame under test with the other parts' visits replaced by plain marks,
// so that the expected texts stay what this part writes: an identifier is its
// text, a parameter type the name of its alternative.
class FrameVisitor : public XlatorVisitor {
public:
    using XlatorVisitor::XlatorVisitor;
    void VisitIdentifier(const Identifier& node) override { output().write(std::string(node.text())); }
    void VisitFormalParType(const FormalParType& node) override {
        output().write(Choices::to_char(node.choice()));
    }
};

class ImportPartFrame : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        opened = new OpenedSuite;
        loaded = opened->open({dataFile("translate/imports.mp"), dataFile("analysis/lib_mod.mp")});
    }
    static void TearDownTestSuite() { delete opened; }
    void TearDown() override { tabularFormat = false; }
    static OpenedSuite* opened;
    static bool loaded;
};
OpenedSuite* ImportPartFrame::opened = nullptr;
bool ImportPartFrame::loaded = false;

// Two imports of the same module: two identical statements, the first with
// its comment lines (and with -TFT its with-block), the imported objects not
// looked at.
TEST_F(ImportPartFrame, EveryImportTakesTheWholeModule) {
    ASSERT_TRUE(loaded);
    AccessNode importPart = opened->importPart();
    ASSERT_EQ(importPart.choice(), Choices::ImportPart);
    const std::string statement = "  import from LIB_MOD language \"ASN.1:1997\" all\n";
    struct {
        bool tabular;
        std::string expected;
    } cases[] = {
        {false, "group ImportPart\n{\n  // first import\n  // detail\n" + statement + statement + "}\n"},
        {true, "group ImportPart\n{\n  // first import\n  // detail\n" + statement +
                   "  with\n  {\n    display \"comments := first import\"\n"
                   "    display \"detailed comments := detail\"\n  }\n" +
                   statement + "}\n"},
    };
    for (const auto& c : cases) {
        tabularFormat = c.tabular;
        CapturedOutput out(c.tabular ? "imports_tft" : "imports");
        FrameVisitor visitor(opened->suite);
        visitor.Visit(importPart);
        EXPECT_EQ(out.ttcn(), c.expected) << "-TFT " << c.tabular;
        EXPECT_EQ(out.asn(), "");
    }
}

// The writer of formal parameter lists on TRIPLE(a, b: INTEGER; p: PDU;
// t: TIMER; c: CP).
TEST_F(ImportPartFrame, FormalParameterListForms) {
    ASSERT_TRUE(loaded);
    AccessNode procedure = nthNode(opened->root(), Choices::TS_ProcIdAndParList);
    FormalParList list = procedure.as<TS_ProcIdAndParList>().formalParList();
    ASSERT_EQ(list.size(), 4);
    struct {
        bool withTypes;
        bool templateMarks;
        std::set<std::string> fromRoot;
        const char* expected;
    } cases[] = {
        {true, true, {}, "template TTCN_Type a, template TTCN_Type b, template PDU p, TIMER t, CP c"},
        {true, false, {}, "TTCN_Type a, TTCN_Type b, PDU p, TIMER t, CP c"},
        {false, false, {}, "a, b, p, t, c"},
        {false, true, {}, "a, b, p, t, c"},
        {true, true, {"b", "t", "x"},
         "template TTCN_Type a, template TTCN_Type b_FROM_ROOT, template PDU p, TIMER t_FROM_ROOT, CP c"},
        {false, false, {"a", "c"}, "a_FROM_ROOT, b, p, t, c_FROM_ROOT"},
    };
    int n = 0;
    for (const auto& c : cases) {
        CapturedOutput out("parameters_" + std::to_string(n++));
        FrameVisitor visitor(opened->suite);
        visitor.writeParameters(list, c.withTypes, c.templateMarks, c.fromRoot);
        EXPECT_EQ(out.ttcn(), c.expected);
    }
    // A visit of the list writes it with types and without template marks.
    {
        CapturedOutput out("parameters_visit");
        FrameVisitor visitor(opened->suite);
        visitor.Visit(AccessNode(list));
        EXPECT_EQ(out.ttcn(), "TTCN_Type a, TTCN_Type b, PDU p, TIMER t, CP c");
    }
    CapturedOutput out("parameters_none");
    FrameVisitor visitor(opened->suite);
    visitor.writeParameters(FormalParList(), true, true);
    EXPECT_EQ(out.ttcn(), "");
}

// The MP importer refuses a suite without a name, so the check is made on a
// suite node built by hand. The child shares the parent's files ("fast" death
// tests fork), so the parent sees that nothing reached either file.
TEST(ModuleFrameDeath, SuiteWithoutNameWritesNothing) {
    GTEST_FLAG_SET(death_test_style, "fast");
    TreeArena arena;
    TreeNode* suiteNode = arena.make(Choices::ASuite, kindInfo(Choices::ASuite).fieldCount());
    AccessSuite suite;
    CapturedOutput out("nameless");
    FrameVisitor visitor(suite);
    EXPECT_EXIT(visitor.Visit(AccessNode(Choices::ASuite, suiteNode)), ::testing::ExitedWithCode(1),
                failureLinePattern("ASSERTION FAILED: node.is_present_suiteId() ('Suite name not specified')",
                                   "XlatorModule.cpp"));
    EXPECT_EQ(out.asn(), "");
    EXPECT_EQ(out.ttcn(), "");
}

// An import row without its source, and the visits a correct run never makes.
TEST(ModuleFrameDeath, ImportWithoutSourceAndUnreachableVisits) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TreeArena arena;
    AccessSuite suite;
    FrameVisitor visitor(suite);
    for (int32_t kind : {Choices::Imports, Choices::SourceRef, Choices::ImportedObjectList, Choices::ImportedObject,
                         Choices::ObjectName, Choices::ObjectType, Choices::EncodingDefs}) {
        std::string line = kind == Choices::Imports
                               ? "ASSERTION FAILED: node.is_present_sourceName() ('Source name not present')"
                               : std::string("INTERNAL ERROR: 'in Visit") + Choices::to_char(kind) + "'";
        TreeNode* node = arena.make(kind, kindInfo(kind).fieldCount());
        EXPECT_EXIT(visitor.Visit(AccessNode(kind, node)), ::testing::ExitedWithCode(1),
                    failureLinePattern(line, "XlatorModule.cpp"));
    }
}

}  // namespace
