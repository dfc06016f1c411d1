// The definition collector over a real suite (tests/unit/data/collector) and
// over hand-built trees for the rows a suite that analyses cleanly cannot hold;
// the behaviour lookups of the translation; every failure line of both.
#include "translate/XlatorDefinitionCollector.h"
#include "translate/XlatorUtility.h"

#include "access/AccessSuite.h"
#include "tree/TreeBuild.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;
using Names = std::set<std::string>;

namespace {

// The tables of the suite in walk order, with their attaches and their
// alternatives, found independently of the collector.
struct TableFinder : AccessVisitor {
    std::vector<AccessNode> tables;
    std::vector<std::pair<std::string, Attach>> attaches;  // (table id, attach)
    std::vector<std::pair<std::size_t, Children>> children;  // (table index, alternatives)
    std::string table;

    template <class Table, class Walk>
    void enter(const Table& node, std::string_view id, Walk walk) {
        tables.emplace_back(node);
        table = id;
        walk();
    }
    void VisitTestCase(const TestCase& n) override {
        enter(n, n.testCaseId().identifier().text(), [&] { AccessVisitor::VisitTestCase(n); });
    }
    void VisitTestStep(const TestStep& n) override {
        enter(n, n.testStepId().testStepIdAndParList().identifier().text(), [&] { AccessVisitor::VisitTestStep(n); });
    }
    void VisitDefaultCase(const DefaultCase& n) override {
        enter(n, n.defaultId().defaultIdAndParList().identifier().text(), [&] { AccessVisitor::VisitDefaultCase(n); });
    }
    void VisitCompactTestCase(const CompactTestCase& n) override {
        table = "compact";
        AccessVisitor::VisitCompactTestCase(n);
    }
    void VisitAttach(const Attach& n) override { attaches.emplace_back(table, n); }
    void VisitChildren(const Children& n) override {
        children.emplace_back(tables.size() - 1, n);
        AccessVisitor::VisitChildren(n);
    }
};

class CollectorSuite : public ::testing::Test {
protected:
    // Opened once. The by-reference rows go through the conversion tool, which
    // reads its keyword file from the working directory.
    static void SetUpTestSuite() {
        fs::path dir = fs::path(::testing::TempDir()) / ("definition_collector_" + std::to_string(::getpid()));
        fs::create_directories(dir);
        fs::current_path(dir);
        fs::copy_file(fs::path(XLATOR_BIN_DIR) / "modconv_kwd.txt", dir / "modconv_kwd.txt",
                      fs::copy_options::overwrite_existing);
        std::ofstream(dir / "asn_list", std::ios::binary) << XLATOR_TEST_DATA "/analysis/remote.asn\n";
        ::setenv("VELD", XLATOR_BIN_DIR, 1);
        suite = new AccessSuite;
        suite->setReportStream(nullptr);
        opened = suite->open("\"" XLATOR_TEST_DATA "/collector/collector.mp\" ", (dir / "asn_list").c_str());
        if (opened) {
            collector.Visit(suite->root());
            finder.Visit(suite->root());
        }
    }
    static void TearDownTestSuite() { delete suite; }
    void SetUp() override { ASSERT_EQ(opened, 1); }

    static AccessSuite* suite;
    static int opened;
    static XlatorDefinitionCollector collector;
    static TableFinder finder;
};

AccessSuite* CollectorSuite::suite = nullptr;
int CollectorSuite::opened = 0;
XlatorDefinitionCollector CollectorSuite::collector;
TableFinder CollectorSuite::finder;

}  // namespace

TEST_F(CollectorSuite, TestStepsAndDefaultsByIdFirstDefinitionWinning) {
    // Tables in walk order: TC_MAIN, TC_PLAIN, STEP_X, STEP_X, STEP_Y, DEF_A.
    ASSERT_EQ(finder.tables.size(), 6u);
    EXPECT_TRUE(collector.existsTestStep("STEP_X"));
    EXPECT_TRUE(collector.existsTestStep("STEP_Y"));
    EXPECT_FALSE(collector.existsTestStep("TC_MAIN"));
    EXPECT_FALSE(collector.existsTestStep("LT_STEP"));
    EXPECT_EQ(collector.getTestStepById("STEP_X").treeNode(), finder.tables[2].treeNode());
    EXPECT_EQ(collector.getTestStepById("STEP_Y").treeNode(), finder.tables[4].treeNode());
    EXPECT_TRUE(collector.existsDefault("DEF_A"));
    EXPECT_FALSE(collector.existsDefault("STEP_X"));
    EXPECT_EQ(collector.getDefaultById("DEF_A").treeNode(), finder.tables[5].treeNode());
}

TEST_F(CollectorSuite, AttachesNameTheLocalTreesOfTheirOwnTable) {
    struct Row {
        const char* table;
        const char* attached;
        const char* localTree;  // null: not a local tree
    };
    const std::vector<Row> rows = {
        {"TC_MAIN", "LT_WAIT", "LT_WAIT"}, {"TC_MAIN", "STEP_X", nullptr}, {"TC_MAIN", "LT_WAIT", "LT_WAIT"},
        {"TC_PLAIN", "STEP_Y", nullptr},   {"compact", "STEP_Y", nullptr}, {"STEP_X", "LT_STEP", "LT_STEP"},
        {"STEP_Y", "STEP_X", nullptr},     {"DEF_A", "LT_FAIL", "LT_FAIL"},
    };
    ASSERT_EQ(finder.attaches.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& [table, attach] = finder.attaches[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(table, rows[i].table);
        EXPECT_EQ(attach.treeReference().identifier().text(), rows[i].attached);
        EXPECT_EQ(collector.existsLocalTree(attach), rows[i].localTree != nullptr);
        if (rows[i].localTree) {
            EXPECT_EQ(collector.getLocalTree(attach).header().treeHeader().identifier().text(), rows[i].localTree);
        }
    }
    // An attach of the same name elsewhere is another attach.
    TreeArena arena;
    Attach copy(makeSequence(arena, Choices::Attach,
                             {makeSequence(arena, Choices::TreeReference, {makeText(arena, Choices::Identifier, "LT_WAIT")}),
                              makeList(arena, Choices::ActualParList, {})}));
    EXPECT_FALSE(collector.existsLocalTree(copy));
}

TEST_F(CollectorSuite, AlternativesOfTestCasesAndStepsWithDefaultsGetTheirDefaultsReference) {
    EXPECT_FALSE(finder.tables[1].as<TestCase>().is_present_defaultsRef());
    int checked = 0;
    for (const auto& [table, children] : finder.children) {
        const TreeNode* expected = nullptr;
        if (table == 0) expected = finder.tables[0].as<TestCase>().defaultsRef().treeNode();
        if (table == 2) expected = finder.tables[2].as<TestStep>().defaultsRef().treeNode();
        if (!expected) continue;
        EXPECT_EQ(collector.getDefaultsRef(children).treeNode(), expected) << table;
        ++checked;
    }
    // TC_MAIN: four lines of the root tree and two of its local trees; the
    // first STEP_X: three lines.
    EXPECT_EQ(checked, 9);
}

TEST_F(CollectorSuite, ConfigurationKeepsFirstAppearanceOrderAndMergesRepeatedComponents) {
    ConfigurationInfo conf = collector.getConfiguration("CONF");
    EXPECT_EQ(conf.components, (std::vector<std::string>{"WORKER_B", "MAIN", "WORKER_A"}));
    EXPECT_EQ(findComponent(conf, "WORKER_A").pcos, (Names{"N", "U"}));
    EXPECT_EQ(findComponent(conf, "WORKER_A").cps, (Names{"CP1", "CP2"}));
    EXPECT_EQ(findComponent(conf, "MAIN").pcos, (Names{"L"}));
    EXPECT_EQ(findComponent(conf, "WORKER_B").cps, (Names{"CP2"}));
    EXPECT_EQ(collector.getMTC("CONF"), "MAIN");
    const std::vector<std::vector<std::string>> partners = {
        {"MAIN", "CP1", "WORKER_A"}, {"WORKER_A", "CP1", "MAIN"}, {"WORKER_A", "CP2", "WORKER_B"}, {"WORKER_B", "CP2", "WORKER_A"}};
    for (const auto& p : partners) EXPECT_EQ(collector.getCPPartner("CONF", p[0], p[1]), p[2]) << p[0] << " " << p[1];
}

TEST_F(CollectorSuite, MessageTypesByPcoType) {
    const Names sap = {"CONNECT_REQ", "DATA_REQ", "ECHO_PDU", "REMOTE_ASP"};
    const Names unnamed = {"ACK_PDU", "ANY_IND", "FREE_ASP", "REMOTE_PDU"};
    EXPECT_EQ(collector.getASPsForPCOType("SAP"), sap);
    EXPECT_EQ(collector.getASPsForPCOType("SPARE"), (Names{"SPARE_IND"}));
    EXPECT_EQ(collector.getASPsForPCOType("MGMT"), unnamed);
    EXPECT_EQ(collector.getAllCMs(), (Names{"GO_CM", "READY_CM"}));
    // No PCO is of type SPARE.
    Names all = sap;
    all.insert(unnamed.begin(), unnamed.end());
    all.insert({"GO_CM", "READY_CM"});
    EXPECT_EQ(collector.getAllPCOMessageTypes(), all);
}

TEST_F(CollectorSuite, AsnTypeNamesAndNamedIdentifiers) {
    for (const char* name : {"COLOUR", "LEVEL", "PICK", "PAIR", "Inner", "REMOTE_REC", "CONNECT_REQ", "FREE_ASP",
                             "REMOTE_ASP", "ACK_PDU", "REMOTE_PDU", "GO_CM"})
        EXPECT_TRUE(collector.existsTypeReference(name)) << name;
    for (const char* name : {"DATA_REQ", "ECHO_PDU", "READY_CM", "SAP", "red", "RemoteRec"})
        EXPECT_FALSE(collector.existsTypeReference(name)) << name;
    for (const char* name : {"red", "green", "low", "high", "one", "two", "first", "second", "address", "seq", "go"})
        EXPECT_TRUE(collector.existsNamedIdentifier(name)) << name;
    for (const char* name : {"COLOUR", "payload", "count", "step", "Inner"})
        EXPECT_FALSE(collector.existsNamedIdentifier(name)) << name;
}

TEST_F(CollectorSuite, BehaviourLookupsOfEachKindOfTable) {
    const TestCase main = finder.tables[0].as<TestCase>();
    RootBehaviour contexts[] = {RootBehaviour(main), RootBehaviour(finder.tables[2].as<TestStep>()),
                                RootBehaviour(finder.tables[5].as<DefaultCase>())};
    const char* ids[] = {"TC_MAIN", "STEP_X", "DEF_A"};
    const char* firstLocalTree[] = {"LT_WAIT", "LT_STEP", "LT_FAIL"};
    for (int i = 0; i < 3; ++i) {
        gpRootBehaviour = &contexts[i];
        EXPECT_EQ(getId(), ids[i]);
        EXPECT_EQ(findLocalTree(firstLocalTree[i]).treeNode(), getLocalTreeList(contexts[i]).localTree(0).treeNode());
    }
    gpRootBehaviour = &contexts[0];
    EXPECT_EQ(findLocalTree("LT_AGAIN").treeNode(), main.behaviourDescription().localTreeList().localTree(1).treeNode());
    EXPECT_TRUE(findLocalTree("STEP_X").isEmpty());
    gpRootBehaviour = nullptr;
}
