// The visitor over the suite tree: dispatch and the default traversals.
#include "AccessReportCapture.h"

#include "tree/AccessVisitor.h"
#include "tree/TreeBuild.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Names = std::vector<std::string>;

namespace {

// Records the kinds it is handed, in order, and walks on with the defaults.
class Recorder : public AccessVisitor {
public:
    Names seen;

    void VisitTestCase(const TestCase& n) override {
        note("TestCase " + std::string(n.testCaseId().identifier().text()));
        AccessVisitor::VisitTestCase(n);
    }
    void VisitCompactTestCase(const CompactTestCase& n) override {
        note("CompactTestCase " + std::string(n.testCaseId().identifier().text()));
    }
    void VisitBehaviourLine(const BehaviourLine& n) override { note("BehaviourLine"), AccessVisitor::VisitBehaviourLine(n); }
    void VisitLineNumber(const LineNumber&) override { note("LineNumber"); }
    void VisitLabelId(const LabelId&) override { note("LabelId"); }
    void VisitLine(const Line& n) override { note("Line"), AccessVisitor::VisitLine(n); }
    void VisitCref(const Cref&) override { note("Cref"); }
    void VisitVerdictId(const VerdictId& n) override { note("VerdictId"), AccessVisitor::VisitVerdictId(n); }
    void VisitComment(const Comment&) override { note("Comment"); }
    void VisitChildren(const Children& n) override { note("Children"), AccessVisitor::VisitChildren(n); }
    void VisitIdentifier(const Identifier& n) override { note("Identifier " + std::string(n.text())); }
    void VisitPASS(const PASS&) override { note("PASS"); }
    void VisitTimerDcl(const TimerDcl&) override { note("TimerDcl"); }

private:
    void note(const std::string& what) { seen.push_back(what); }
};

TreeNode* identifier(TreeArena& arena, const char* name) { return makeText(arena, Choices::Identifier, name); }

TreeNode* testCase(TreeArena& arena, const char* name) {
    TreeNode* id = makeSequence(arena, Choices::TestCaseId, {identifier(arena, name)});
    return makeSequence(arena, Choices::TestCase, {id});
}

TreeNode* entry(TreeArena& arena, TreeNode* groupOrCase) {
    return makeChoice(arena, Choices::TestGroupOrTestCase, groupOrCase);
}

TreeNode* testGroup(TreeArena& arena, std::initializer_list<TreeNode*> entries) {
    TreeNode* list = makeList(arena, Choices::TestGroupOrTestCaseList, entries);
    return makeSequence(arena, Choices::TestGroup, {nullptr, nullptr, nullptr, list});
}

// A behaviour line that has only its (empty) children.
TreeNode* bareLine(TreeArena& arena) {
    TreeNode* line = makeSequence(arena, Choices::BehaviourLine);
    line->child[6] = makeList(arena, Choices::Children, {});
    return line;
}

}  // namespace

TEST(AccessVisitor, EmptyNodeAndObjectKindsVisitNothing) {
    TreeArena arena;
    AccessReportCapture capture;
    Recorder recorder;
    recorder.Visit(AccessNode());
    recorder.Visit(AccessNode(Choices::Timer, makeSequence(arena, Choices::TimerDcl)));
    recorder.Visit(AccessNode(Choices::last_choice, nullptr));
    recorder.Visit(AccessNode(0, nullptr));
    EXPECT_EQ(recorder.seen, Names{});
    EXPECT_EQ(capture.take(), (Names{"Illegal node in Visit( const AccessNode ).\n",
                                     "AccessVisitor::Visit: Failed for choice Timer\n",
                                     "AccessVisitor::Visit: Failed for choice last_choice\n",
                                     "Bad case in Choices::to_char 0",
                                     "AccessVisitor::Visit: Failed for choice \n"}));
}

TEST(AccessVisitor, OverridingTestCaseSeesEveryTestCaseInNestedGroups) {
    TreeArena arena;
    TreeNode* inner = testGroup(arena, {entry(arena, testCase(arena, "TC_B")), entry(arena, testCase(arena, "TC_C"))});
    TreeNode* outer = testGroup(arena, {entry(arena, inner), entry(arena, testCase(arena, "TC_D"))});
    TreeNode* compactCase = makeSequence(arena, Choices::CompactTestCase,
                                         {makeSequence(arena, Choices::TestCaseId, {identifier(arena, "TC_E")})});
    TreeNode* compact = makeSequence(arena, Choices::CompactTestGroup,
                                     {nullptr, nullptr, nullptr, nullptr,
                                      makeList(arena, Choices::CompactTestCaseList, {compactCase})});
    TreeNode* top = makeList(arena, Choices::TestGroupOrTestCaseList,
                             {entry(arena, testCase(arena, "TC_A")), entry(arena, outer), entry(arena, compact)});
    TreeNode* dynamic = makeSequence(arena, Choices::DynamicPart, {makeSequence(arena, Choices::TestCases, {top})});
    TreeNode* suite = makeSequence(arena, Choices::ASuite, {nullptr, nullptr, nullptr, nullptr, dynamic});

    class TestCasesOnly : public AccessVisitor {
    public:
        Names seen;
        void VisitTestCase(const TestCase& n) override { seen.emplace_back(n.testCaseId().identifier().text()); }
    } visitor;
    visitor.Visit(AccessNode::fromSuiteNode(suite));
    EXPECT_EQ(visitor.seen, (Names{"TC_A", "TC_B", "TC_C", "TC_D"}));

}

TEST(AccessVisitor, FieldsAreVisitedInSchemaOrder) {
    TreeArena arena;
    TreeNode* number = makeText(arena, Choices::Number, "1");
    TreeNode* statement = makeChoice(arena, Choices::StatementLine,
                                     makeSequence(arena, Choices::ImplicitSend, {identifier(arena, "ASP")}));
    TreeNode* verdict = makeChoice(
        arena, Choices::Verdict, makeChoice(arena, Choices::Pass, makeKeyword(arena, Choices::PASS)));
    TreeNode* line = makeSequence(
        arena, Choices::BehaviourLine,
        {makeSequence(arena, Choices::LineNumber, {number}),
         makeSequence(arena, Choices::LabelId, {makeSequence(arena, Choices::Label, {identifier(arena, "L1")})}),
         makeSequence(arena, Choices::Line, {makeSequence(arena, Choices::Indentation, {number}), statement}),
         makeSequence(arena, Choices::Cref, {makeChoice(arena, Choices::ConstraintReference, identifier(arena, "C1"))}),
         makeSequence(arena, Choices::VerdictId, {verdict}), makeText(arena, Choices::Comment, "c"),
         makeList(arena, Choices::Children, {bareLine(arena)})});
    ASSERT_EQ(treeShapeError(line), "");
    Recorder recorder;
    recorder.Visit(AccessNode(Choices::BehaviourLine, line));
    // The child line has no fields but its empty children: nothing else of it is visited.
    EXPECT_EQ(recorder.seen, (Names{"BehaviourLine", "LineNumber", "LabelId", "Line", "Identifier ASP", "Cref",
                                    "VerdictId", "PASS", "Comment", "Children", "BehaviourLine", "Children"}));

    // Two fields of one kind: the PCO before the message; RelExpression left to right.
    Recorder send;
    send.Visit(AccessNode(Choices::Send, makeSequence(arena, Choices::Send,
                                                      {identifier(arena, "PCO"), identifier(arena, "MSG")})));
    EXPECT_EQ(send.seen, (Names{"Identifier PCO", "Identifier MSG"}));
}

TEST(AccessVisitor, ChoiceVisitsItsAlternativeOrReportsWhatItHeld) {
    TreeArena arena;
    AccessReportCapture capture;
    Recorder recorder;
    // Verdict -> Pass -> PASS: nested choices end at the keyword.
    recorder.Visit(AccessNode(Choices::Verdict,
                              makeChoice(arena, Choices::Verdict,
                                         makeChoice(arena, Choices::Pass, makeKeyword(arena, Choices::PASS)))));
    EXPECT_EQ(recorder.seen, Names{"PASS"});
    EXPECT_EQ(capture.take(), Names{});

    recorder.Visit(AccessNode(Choices::Event, makeChoice(arena, Choices::Event, makeKeyword(arena, Choices::PASS, 4))));
    recorder.Visit(AccessNode(Choices::TTCN_Type, makeChoice(arena, Choices::TTCN_Type, identifier(arena, "x"))));
    EXPECT_EQ(recorder.seen, Names{"PASS"});
    EXPECT_EQ(capture.take(), (Names{"Bad case label in Event (4)\n", "Unhandled choice in Event: invalid_choice\n",
                                     "Bad case label in TTCN_Type (0)\n",
                                     "Unhandled choice in TTCN_Type: invalid_choice\n"}));
}

TEST(AccessVisitor, ListThatShrinksOrGrowsDuringTheWalkIsReadAfterEachElement) {
    // A list with room for four lines, `used` of them visible; visiting line
    // `at` makes `resizedTo` visible.
    struct Case {
        int32_t used, at, resizedTo, visits;
    };
    for (const Case c : {Case{3, 1, 2, 2}, Case{2, 2, 4, 4}, Case{2, 1, 0, 1}}) {
        TreeArena arena;
        TreeNode* list = arena.make(Choices::Children, 4);
        for (int i = 0; i < 4; ++i) list->child[i] = bareLine(arena);
        list->count = c.used;
        class Resizer : public AccessVisitor {
        public:
            Resizer(TreeNode* list, Case c) : list(list), c(c) {}
            void VisitBehaviourLine(const BehaviourLine&) override {
                if (++visits == c.at) list->count = c.resizedTo;
            }
            TreeNode* list;
            Case c;
            int32_t visits = 0;
        } resizer(list, c);
        resizer.Visit(AccessNode(Choices::Children, list));
        EXPECT_EQ(resizer.visits, c.visits) << c.used << " " << c.at << " " << c.resizedTo;
    }
}
