// The example suite and the test suites that hold every table kind: they load,
// every table and group kind is met, and the suite tree has the schema's shape.
#include "MpTestSupport.h"

#include "tree/KindInfo.h"
#include "tree/TreeViews.h"
#include "suite/mp/SuiteTreeBuilder.h"
#include "suite/mp/VeldSystem.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::string examplePath() {
    return (std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "examples" / "sdlp.mp").string();
}

void collectTypes(const SuiteNode* node, std::set<SuiteNodeType>& types) {
    types.insert(node->type);
    for (const SuiteNode* row : node->rows) types.insert(row->type);
    for (const SuiteNode* child : node->children) collectTypes(child, types);
}

void fillCells(Document& document, SuiteNode* node) {
    for (Cell& cell : node->cells)
        if (!cell.empty()) cell.tree = document.arena().makeText(kindNamed(cell.field), cell.text, cell.line);
    for (SuiteNode* row : node->rows) fillCells(document, row);
    for (SuiteNode* child : node->children) fillCells(document, child);
}

// Every node the builder made has its kind's shape: a sequence its field
// count, a list only elements of its element kind, a choice one alternative.
// Returns the number of nodes checked.
int checkShape(const TreeNode* node, int depth = 0) {
    if (!node || depth > 200) return 0;
    const KindInfo& info = kindInfo(node->kind);
    if (info.isLeaf()) return 1;
    if (node->count == 0 && !node->text.empty()) return 1;  // a cell's stand-in parse tree
    int checked = 1;
    if (info.role == KindRole::Sequence) {
        EXPECT_EQ(node->count, info.fieldCount()) << info.name;
        for (int32_t i = 0; i < node->count && i < info.fieldCount(); ++i) {
            const TreeNode* child = node->child[i];
            if (!child) {
                // Only optional fields may be absent (mandatory ones are built or parsed).
                EXPECT_TRUE(info.fields()[i].optional || kindInfo(info.fields()[i].kind).backing == KindBacking::Field)
                    << info.name << " field " << i;
                continue;
            }
            EXPECT_EQ(child->kind, info.fields()[i].kind) << info.name << " field " << i;
            checked += checkShape(child, depth + 1);
        }
    } else if (info.role == KindRole::List) {
        for (int32_t i = 0; i < node->count; ++i) {
            EXPECT_EQ(node->child[i]->kind, info.elementKind()) << info.name;
            checked += checkShape(node->child[i], depth + 1);
        }
    } else if (info.role == KindRole::Choice) {
        EXPECT_EQ(node->count, 1) << info.name;
        if (node->count == 1) {
            EXPECT_TRUE(info.hasAlternative(node->child[0]->kind)) << info.name;
            checked += checkShape(node->child[0], depth + 1);
        }
    }
    return checked;
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

    int nodes = 0;
    for (const auto* s : {&system, &example})
        for (const auto& document : s->documents()) {
            fillCells(*document, document->root());
            nodes += checkShape(buildSuiteTree(*document));
            if (SuiteNode* imports = document->part(SuiteNodeType::ImportPart)) nodes += checkShape(imports->treeNode);
        }
    EXPECT_GT(nodes, 500);
}

TEST(ExampleSuites, ImportsOfTheModularSuite) {
    std::string dir = mpTestDataDir();
    VeldSystem system;
    LibraryError error;
    ASSERT_TRUE(system.load({dir + "/all_tables.mp", dir + "/m_common.mp", dir + "/p_util.mp"}, nullptr, error));
    EXPECT_EQ(system.documents()[1]->type(), DocumentType::Module);
    EXPECT_EQ(system.documents()[2]->type(), DocumentType::Package);
    CapturedStream report;
    system.rebuildImportGraph(report.get());
    EXPECT_EQ(report.text(),
              "This TTCN system includes the package document P_UTIL,\npackage documents are not really supported.\n");
    for (const auto& document : system.documents()) buildSuiteTree(*document);
    ImportPart part(system.root()->part(SuiteNodeType::ImportPart)->treeNode);
    ASSERT_EQ(part.importDeclarations().size(), 2);
    Imports first = part.importDeclarations().imports(0);
    EXPECT_EQ(first.importedObjectList().size(), 1);
    EXPECT_TRUE(first.is_present_sourceName() == false);  // cells not parsed here
    EXPECT_EQ(system.root()->part(SuiteNodeType::ImportPart)->children[0]->text("SourceName"), "M_COMMON");
}

TEST(ExampleSuites, TheExampleSuiteReadsAsWritten) {
    LibraryError error;
    auto document = importMpFile(examplePath(), {}, error);
    ASSERT_TRUE(document) << error.text;
    EXPECT_EQ(document->name(), "SDLP_ATS");
    std::vector<SuiteNode*> tables = document->tables();
    int testCases = 0;
    for (SuiteNode* table : tables) testCases += table->type == SuiteNodeType::TestCase;
    EXPECT_EQ(testCases, 3);
    SuiteNode* data = nullptr;
    for (SuiteNode* table : tables)
        if (table->type == SuiteNodeType::TestCase && table->text("TestCaseId") == "TC_DATA_001") data = table;
    ASSERT_TRUE(data);
    EXPECT_EQ(data->text("TestGroupRef"), "DATA/");
    ASSERT_EQ(data->rows.size(), 7u);
    EXPECT_EQ(data->rows[2]->text("Line"), "[2] L ? AK (TCV_seq := (TCV_seq + 1) MOD 8) CANCEL T_RESP");
    EXPECT_EQ(data->rows[2]->indentation, 2);
    EXPECT_EQ(data->rows[2]->text("VerdictId"), "(PASS)");
    EXPECT_TRUE(data->rows[5]->treeHeader);
    EXPECT_EQ(data->rows[5]->text("Header"), "LT_RELEASE");
    for (SuiteNode* table : tables)
        if (table->type == SuiteNodeType::ASN1_PDU_TypeDef) {
            EXPECT_EQ(table->text("ASN1_TypeDefinition"),
                      "SEQUENCE {\n        reason INTEGER { normal(0), congestion(1) },\n"
                      "        params ConnectParams OPTIONAL\n      }");
        }
    for (SuiteNode* table : tables)
        if (table->type == SuiteNodeType::TTCN_PDU_TypeDef && table->text("PDU_Id").rfind("CR", 0) == 0) {
            EXPECT_EQ(table->text("PDU_Id"), "CR (connection request)");
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
}

}  // namespace
