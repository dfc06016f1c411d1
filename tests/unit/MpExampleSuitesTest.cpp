// The example suite and the test suites that hold every table kind: they load,
// every table and group kind is met, and the suite tree has the schema's shape.
#include "MpTestSupport.h"

#include "tree/KindInfo.h"
#include "tree/TreeBuild.h"
#include "tree/TreeViews.h"
#include "suite/mp/SuiteTreeBuilder.h"
#include "suite/mp/VeldSystem.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::string examplePath() {
    return (fs::path(__FILE__).parent_path().parent_path().parent_path() / "examples" / "sdlp.mp").string();
}

void collectTypes(const SuiteNode* node, std::set<SuiteNodeType>& types) {
    types.insert(node->type);
    for (const SuiteNode* row : node->rows) types.insert(row->type);
    for (const SuiteNode* child : node->children) collectTypes(child, types);
}

// The builder's own nodes have the schema's shape; the cells are not parsed
// here, so their fields may be missing.
std::string shapeError(const TreeNode* tree) {
    return treeShapeError(tree, [](int32_t kind, int32_t field) {
        return kindInfo(kindInfo(kind).fields()[field].kind).backing == KindBacking::Field;
    });
}

TEST(ExampleSuites, EveryTableAndGroupKindIsMetAndTheTreeHasTheSchemaShape) {
    std::string dir = mpTestDataDir();
    VeldSystem system;
    LibraryError error;
    CapturedStream log;
    ASSERT_TRUE(system.load({dir + "/all_tables.mp", dir + "/m_common.mp", dir + "/p_util.mp"}, log.get(), error))
        << error.text;
    VeldSystem example;
    ASSERT_TRUE(example.load({examplePath()}, log.get(), error)) << error.text;
    EXPECT_EQ(log.text(), "");

    std::set<SuiteNodeType> types;
    for (const auto* s : {&system, &example})
        for (const auto& document : s->documents()) collectTypes(document->root(), types);
    for (int t = 1; t < static_cast<int>(SuiteNodeType::Last); ++t)
        EXPECT_TRUE(types.count(static_cast<SuiteNodeType>(t))) << suiteNodeTypeName(static_cast<SuiteNodeType>(t));

    for (const auto* s : {&system, &example})
        for (const auto& document : s->documents()) {
            EXPECT_EQ(shapeError(buildSuiteTree(*document)), "") << document->name();
            if (SuiteNode* imports = document->part(SuiteNodeType::ImportPart)) {
                EXPECT_EQ(shapeError(imports->treeNode), "") << document->name();
            }
        }
}

TEST(ExampleSuites, BehaviourOfTheDataTestCase) {
    LibraryError error;
    auto document = importMpFile(examplePath(), {}, error);
    ASSERT_TRUE(document) << error.text;
    fillCells(*document, document->root());
    ASuite suite(buildSuiteTree(*document));
    TestGroupOrTestCaseList groups = suite.dynamicPart().testCases().testGroupOrTestCaseList();
    ASSERT_EQ(groups.size(), 2);
    TestGroupOrTestCaseList data = groups.testGroupOrTestCase(1).testGroup().testGroupOrTestCaseList();
    ASSERT_EQ(data.size(), 1);
    BehaviourDescription body = data.testGroupOrTestCase(0).testCase().behaviourDescription();
    auto lineText = [](const BehaviourLine& line) { return std::string(line.line().treeNode()->text); };
    ASSERT_EQ(body.rootTree().size(), 1);
    BehaviourLine attach = body.rootTree().behaviourLine(0);
    EXPECT_EQ(lineText(attach), "[0] +PR_CONNECT");
    ASSERT_EQ(attach.children().size(), 1);
    BehaviourLine send = attach.children().behaviourLine(0);
    EXPECT_EQ(send.labelId().treeNode()->text, "L_SEND");
    ASSERT_EQ(send.children().size(), 2);
    EXPECT_EQ(lineText(send.children().behaviourLine(1)), "[2] ? TIMEOUT T_RESP");
    BehaviourLine ack = send.children().behaviourLine(0);
    EXPECT_EQ(ack.verdictId().treeNode()->text, "(PASS)");
    ASSERT_EQ(ack.children().size(), 1);
    EXPECT_EQ(lineText(ack.children().behaviourLine(0)), "[3] +LT_RELEASE");
    ASSERT_EQ(body.localTreeList().size(), 1);
    LocalTree release = body.localTreeList().localTree(0);
    EXPECT_EQ(release.header().treeNode()->text, "LT_RELEASE");
    ASSERT_EQ(release.behaviourLineList().size(), 1);
    EXPECT_EQ(lineText(release.behaviourLineList().behaviourLine(0)), "[0] L ! DR");
    EXPECT_EQ(release.behaviourLineList().behaviourLine(0).lineNumber().number().text(), "7");
    // A cell written over several lines keeps its line ends and indentation.
    for (SuiteNode* table : document->tables())
        if (table->type == SuiteNodeType::ASN1_PDU_TypeDef) {
            EXPECT_EQ(table->text("ASN1_TypeDefinition"),
                      "SEQUENCE {\n        reason INTEGER { normal(0), congestion(1) },\n"
                      "        params ConnectParams OPTIONAL\n      }");
        }
}

}  // namespace
