// The definition collector over a real suite (tests/unit/data/collector) and
// over hand-built trees for the rows a suite that analyses cleanly cannot hold;
// the behaviour lookups of the translation; every failure line of both.
#include "translate/XlatorDefinitionCollector.h"
#include "translate/XlatorUtility.h"

#include "tree/TreeBuild.h"

// After the tree views: its FAIL macro would hide the view class of that name.
#include <gtest/gtest.h>

#include "TranslateTestSupport.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

using namespace translate_test;
using Names = std::set<std::string>;

namespace {

// The tables of the suite in walk order, with their attaches and their
// alternatives, found independently of the collector.
struct TableFinder : AccessVisitor {
    std::vector<AccessNode> tables;
    std::vector<std::pair<std::string, Attach>> attaches;    // (table id, attach)
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

// An attach of a tree without parameters, outside any suite.
TreeNode* attachNamed(TreeArena& arena, const char* tree) {
    return makeSequence(arena, Choices::Attach,
                        {makeSequence(arena, Choices::TreeReference, {makeText(arena, Choices::Identifier, tree)}),
                         makeList(arena, Choices::ActualParList, {})});
}

class CollectorSuite : public ::testing::Test {
protected:
    // Opened once, with the ASN.1 module of its by-reference rows.
    static void SetUpTestSuite() {
        suite = new OpenedSuite;
        opened = suite->open({dataFile("collector/collector.mp")}, {dataFile("analysis/remote.asn")});
        if (opened) {
            collector.Visit(suite->root());
            finder.Visit(suite->root());
        }
    }
    static void TearDownTestSuite() { delete suite; }
    void SetUp() override { ASSERT_TRUE(opened); }

    static OpenedSuite* suite;
    static bool opened;
    static XlatorDefinitionCollector collector;
    static TableFinder finder;
};

OpenedSuite* CollectorSuite::suite = nullptr;
bool CollectorSuite::opened = false;
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
        {"TC_MAIN", "LT_WAIT", "LT_WAIT"}, {"TC_MAIN", "STEP_X", nullptr},  {"TC_MAIN", "LT_WAIT", "LT_WAIT"},
        {"TC_PLAIN", "STEP_Y", nullptr},   {"compact", "STEP_Y", nullptr},  {"STEP_X", "LT_STEP", "LT_STEP"},
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
    EXPECT_FALSE(collector.existsLocalTree(Attach(attachNamed(arena, "LT_WAIT"))));
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
    // (component, CP, partner): the first other holder in component order.
    const std::vector<std::vector<std::string>> partners = {{"MAIN", "CP1", "WORKER_A"},
                                                            {"WORKER_A", "CP1", "MAIN"},
                                                            {"WORKER_A", "CP2", "WORKER_B"},
                                                            {"WORKER_B", "CP2", "WORKER_A"},
                                                            {"MAIN", "CP2", "WORKER_B"}};
    for (const auto& p : partners) EXPECT_EQ(collector.getCPPartner("CONF", p[0], p[1]), p[2]) << p[0] << " " << p[1];
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
    EXPECT_EQ(findLocalTree("LT_AGAIN").treeNode(),
              main.behaviourDescription().localTreeList().localTree(1).treeNode());
    EXPECT_TRUE(findLocalTree("STEP_X").isEmpty());
    gpRootBehaviour = nullptr;
}

namespace {

// A behaviour line with the given alternatives below it, whose statement
// attaches `attach` (when given) and which has no other field.
TreeNode* lineAttaching(TreeArena& arena, TreeNode* attach, TreeNode* children) {
    TreeNode* line = nullptr;
    if (attach) {
        TreeNode* statement = makeChoice(arena, Choices::StatementLine, makeChoice(arena, Choices::Construct, attach));
        line = makeSequence(arena, Choices::Line, {nullptr, statement});
    }
    return makeSequence(arena, Choices::BehaviourLine, {nullptr, nullptr, line, nullptr, nullptr, nullptr, children});
}

// A test case TC_BARE of one root tree line and one local tree.
TreeNode* testCaseOf(TreeArena& arena, TreeNode* defaultsRef, TreeNode* rootLine, TreeNode* localTree) {
    TreeNode* behaviour = makeSequence(
        arena, Choices::BehaviourDescription,
        {makeList(arena, Choices::RootTree, {rootLine}), makeList(arena, Choices::LocalTreeList, {localTree})});
    TreeNode* id = makeSequence(arena, Choices::TestCaseId, {makeText(arena, Choices::Identifier, "TC_BARE")});
    return makeSequence(arena, Choices::TestCase,
                        {id, nullptr, nullptr, nullptr, defaultsRef, nullptr, nullptr, nullptr, behaviour});
}

// A test case whose only line attaches "LT" and whose only local tree has no
// header: a shape the MP importer never builds.
struct HeaderlessLocalTree {
    TreeArena arena;
    TreeNode* attach;
    TreeNode* testCase;
    HeaderlessLocalTree() {
        attach = attachNamed(arena, "LT");
        TreeNode* localTree =
            makeSequence(arena, Choices::LocalTree, {nullptr, makeList(arena, Choices::BehaviourLineList, {})});
        testCase = testCaseOf(arena, nullptr, lineAttaching(arena, attach, makeList(arena, Choices::Children, {})),
                              localTree);
    }
};

// A collector that starts a second table from inside the first one's walk.
struct ReenteringCollector : XlatorDefinitionCollector {
    std::function<void(XlatorDefinitionCollector&)> inner;
    void VisitBehaviourDescription(const BehaviourDescription&) override { inner(*this); }
};

}  // namespace

TEST_F(CollectorSuite, EachFailureEndsTheRunWithItsLine) {
    TreeArena arena;
    auto id = [&](const char* name) { return makeText(arena, Choices::Identifier, name); };
    auto visitFresh = [](int32_t kind, const TreeNode* node) {
        XlatorDefinitionCollector().Visit(AccessNode(kind, node));
    };
    auto visitBare = [&](int32_t kind) {
        const TreeNode* node = makeSequence(arena, kind);
        return [=] { visitFresh(kind, node); };
    };
    auto reenter = [&](const AccessNode& outer, std::function<void(XlatorDefinitionCollector&)> inner) {
        return [=] {
            ReenteringCollector c;
            c.inner = inner;
            c.Visit(outer);
        };
    };
    const TestCase tcMain = finder.tables[0].as<TestCase>();
    const TestStep stepY = finder.tables[4].as<TestStep>();
    const DefaultCase defA = finder.tables[5].as<DefaultCase>();
    TreeNode* compId = makeSequence(arena, Choices::TCompId, {id("X")});
    TreeNode* badRole = makeSequence(arena, Choices::TC_Role,
                                     {makeChoice(arena, Choices::TComp_Role, makeKeyword(arena, Choices::PASS))});
    TreeNode* configId = makeSequence(arena, Choices::TCompConfigId, {id("SOLO")});
    auto configuration = [&](TreeNode* row) {
        return makeSequence(arena, Choices::TCompConfigDcl,
                            {configId, nullptr, makeList(arena, Choices::TCompConfigInfoList, {row})});
    };
    TreeNode* workerRow =
        makeSequence(arena, Choices::TCompConfigInfo, {makeSequence(arena, Choices::TCompUsed, {id("W")})});
    TreeNode* pcoId = makeSequence(arena, Choices::PCO_Id, {id("P")});
    HeaderlessLocalTree bare;
    auto withContext = [](RootBehaviour context, std::function<void()> run) {
        return [=]() mutable {
            gpRootBehaviour = &context;
            run();
        };
    };

    const std::vector<std::pair<std::string, std::function<void()>>> rows = {
        {"ASSERTION FAILED: node.is_present_testCaseId() ('Test case id not specified')", visitBare(Choices::TestCase)},
        {"ASSERTION FAILED: node.is_present_testStepId() ('Test step id not specified')", visitBare(Choices::TestStep)},
        {"ASSERTION FAILED: node.is_present_defaultId() ('Default id not specified')", visitBare(Choices::DefaultCase)},
        {"ASSERTION FAILED: gpRootBehaviour == NULL ('INTERNAL_ERROR: in VisitTestCase')",
         reenter(AccessNode(tcMain), [=](XlatorDefinitionCollector& c) { c.VisitTestCase(tcMain); })},
        {"ASSERTION FAILED: gpRootBehaviour == NULL ('INTERNAL_ERROR: in VisitTestStep')",
         reenter(AccessNode(tcMain), [=](XlatorDefinitionCollector& c) { c.VisitTestStep(stepY); })},
        {"ASSERTION FAILED: gpRootBehaviour == NULL ('INTERNAL_ERROR: in VisitDefaultCase')",
         reenter(AccessNode(stepY), [=](XlatorDefinitionCollector& c) { c.VisitDefaultCase(defA); })},
        {"ASSERTION FAILED: gpRootBehaviour != NULL ('INTERNAL_ERROR: in VisitAttach')",
         [&] { XlatorDefinitionCollector().VisitAttach(finder.attaches[0].second); }},
        {"ASSERTION FAILED: gpRootBehaviour != NULL ('INTERNAL_ERROR: in VisitChildren')",
         [&] { XlatorDefinitionCollector().VisitChildren(finder.children[0].second); }},
        {"ASSERTION FAILED: cd.is_present_tcompId() ('Component id not specified')", visitBare(Choices::TCompDcl)},
        {"ASSERTION FAILED: cd.is_present_tc_Role() ('Component role not specified')",
         [&] { visitFresh(Choices::TCompDcl, makeSequence(arena, Choices::TCompDcl, {compId})); }},
        {"ASSERTION FAILED: false ('Unknown component role')",
         [&] {
             visitFresh(Choices::TCompDcl, makeSequence(arena, Choices::TCompDcl, {compId, badRole}));
         }},
        {"ASSERTION FAILED: cd.is_present_tcompConfigId() ('Configuration id not specified')",
         visitBare(Choices::TCompConfigDcl)},
        {"ASSERTION FAILED: cnf_info.is_present_tcompUsed() ('Component id not specified')",
         [&] { visitFresh(Choices::TCompConfigDcl, configuration(makeSequence(arena, Choices::TCompConfigInfo))); }},
        {"ASSERTION FAILED: pd.is_present_pco_Id() ('PCO id not specified')", visitBare(Choices::PCO_Dcl)},
        {"ASSERTION FAILED: pd.is_present_pco_TypeId() ('PCO type id not specified')",
         [&] { visitFresh(Choices::PCO_Dcl, makeSequence(arena, Choices::PCO_Dcl, {pcoId})); }},
        {"ASSERTION FAILED: td.is_present_asp_Id() ('ASP id not specified')", visitBare(Choices::TTCN_ASP_TypeDef)},
        {"ASSERTION FAILED: td.is_present_pdu_Id() ('PDU id not specified')", visitBare(Choices::TTCN_PDU_TypeDef)},
        {"ASSERTION FAILED: node.is_present_cm_Id() ('CM id not specified')", visitBare(Choices::TTCN_CM_TypeDef)},
        {"INTERNAL ERROR: 'Teststep with the specified id doesn't exist'",
         [&] { collector.getTestStepById("LT_STEP"); }},
        {"INTERNAL ERROR: 'Default with the specified id doesn't exist'", [&] { collector.getDefaultById("STEP_X"); }},
        {"ASSERTION FAILED: i->second.localTree(j).is_present_header() ('LocalTree header not present')",
         [&] {
             XlatorDefinitionCollector fresh;
             fresh.Visit(AccessNode(Choices::TestCase, bare.testCase));
             fresh.existsLocalTree(Attach(bare.attach));
         }},
        {"INTERNAL ERROR: 'Failed to locate LocalTreeList for specified Attach'",
         [&] { collector.getLocalTree(finder.attaches[1].second); }},
        // The alternatives of a test case without defaults, and of a default.
        {"INTERNAL ERROR: 'Unable to locate DefaultsRef for the provided Children'",
         [&] { collector.getDefaultsRef(finder.children[6].second); }},
        {"INTERNAL ERROR: 'Unable to locate DefaultsRef for the provided Children'",
         [&] { collector.getDefaultsRef(finder.children.back().second); }},
        {"ASSERTION FAILED: i != configurations.end() ('Unable to locate configuration with provided id')",
         [&] { collector.getConfiguration("MAIN"); }},
        {"ASSERTION FAILED: false ('Unable to locate MTC for provided configuration')",
         [&] {
             XlatorDefinitionCollector fresh;
             fresh.Visit(AccessNode(Choices::TCompConfigDcl, configuration(workerRow)));
             fresh.getMTC("SOLO");
         }},
        {"ASSERTION FAILED: false ('Unable to locate CP partner for provided configuration')",
         [&] { collector.getCPPartner("CONF", "MAIN", "CP9"); }},
        {"ASSERTION FAILED: i != configuration.end() ('Unable to find specified component in the configuration')",
         [&] { collector.getCPPartner("CONF", "NOBODY", "CP1"); }},
        {"INTERNAL ERROR: 'in getId'", [] { getId(); }},
        {"INTERNAL ERROR: 'in getLocalTreeList'", [] { findLocalTree("LT_WAIT"); }},
        {"ASSERTION FAILED: getTestCase()->is_present_testCaseId() ('Testcase id not present')",
         withContext(RootBehaviour{TestCase()}, [] { getId(); })},
        {"ASSERTION FAILED: getTestStep()->is_present_testStepId() ('Teststep id not present')",
         withContext(RootBehaviour{TestStep()}, [] { getId(); })},
        {"ASSERTION FAILED: getDefaultCase()->is_present_defaultId() ('Default id not present')",
         withContext(RootBehaviour{DefaultCase()}, [] { getId(); })},
        {"ASSERTION FAILED: lt_list.localTree(i).is_present_header() ('Local tree header not present')",
         withContext(RootBehaviour{TestCase(bare.testCase)}, [] { findLocalTree("LT"); })},
    };
    EXPECT_EQ(finder.children[6].first, 1u);  // TC_PLAIN
    for (const auto& [line, run] : rows)
        EXPECT_EXIT(run(), ::testing::ExitedWithCode(1), failureLinePattern(line)) << line;
}

// Lines nested one inside the other far deeper than the stack would allow one
// call per level (the MP importer builds any depth that the indentation of a
// table gives): the walk reaches the deepest line, records the alternatives
// of every level and the attach of the deepest line.
TEST(DefinitionCollectorNesting, WalksLinesNestedDeeperThanTheStackAllows) {
    constexpr int kDepth = 100000;
    TreeArena arena;
    TreeNode* attach = attachNamed(arena, "LT");
    TreeNode* children = makeList(arena, Choices::Children, {});
    std::vector<const TreeNode*> levels = {children};
    TreeNode* line = lineAttaching(arena, attach, children);
    for (int depth = 1; depth < kDepth; ++depth) {
        children = makeList(arena, Choices::Children, {line});
        levels.push_back(children);
        line = lineAttaching(arena, nullptr, children);
    }
    TreeNode* defaultReference =
        makeSequence(arena, Choices::DefaultReference,
                     {makeText(arena, Choices::Identifier, "DEF"), makeList(arena, Choices::ActualParList, {})});
    TreeNode* defaultsRef =
        makeSequence(arena, Choices::DefaultsRef, {makeList(arena, Choices::DefaultRefList, {defaultReference})});
    TreeNode* header = makeSequence(
        arena, Choices::Header,
        {makeSequence(arena, Choices::TreeHeader,
                      {makeText(arena, Choices::Identifier, "LT"), makeList(arena, Choices::FormalParList, {})})});
    TreeNode* localTree =
        makeSequence(arena, Choices::LocalTree, {header, makeList(arena, Choices::BehaviourLineList, {})});

    XlatorDefinitionCollector collector;
    collector.Visit(AccessNode(Choices::TestCase, testCaseOf(arena, defaultsRef, line, localTree)));
    std::size_t recorded = 0;
    for (const TreeNode* level : levels)
        recorded += collector.getDefaultsRef(Children(level)).treeNode() == defaultsRef ? 1 : 0;
    EXPECT_EQ(recorded, levels.size());
    EXPECT_EQ(collector.getLocalTree(Attach(attach)).treeNode(), localTree);
}
