// The typed views of the suite tree, AccessNode, Choices and the kind table.
#include "AccessReportCapture.h"

#include "tree/AccessNode.h"
#include "tree/KindInfo.h"
#include "tree/TreeBuild.h"
#include "tree/TreeViews.h"

#include <gtest/gtest.h>

#include <cmath>  // the INFINITY macro must not break the views
#include <string>
#include <vector>

using Reports = std::vector<std::string>;

TEST(Choices, NamesAtTheEdgesOfTheNumbering) {
    AccessReportCapture capture;
    EXPECT_STREQ(Choices::to_char(1), "invalid_choice");
    EXPECT_STREQ(Choices::to_char(2), "TableColumn");
    EXPECT_STREQ(Choices::to_char(48), "Max");
    EXPECT_STREQ(Choices::to_char(614), "TestCase");
    EXPECT_STREQ(Choices::to_char(697), "SO_CaseIndexList");
    EXPECT_STREQ(Choices::to_char(698), "TTCN_CM_ConsGroup");
    EXPECT_STREQ(Choices::to_char(747), "ASN1_ASP_Cons");
    EXPECT_STREQ(Choices::to_char(748), "last_choice");
    EXPECT_EQ(capture.take(), Reports{});
    EXPECT_STREQ(Choices::to_char(0), "");
    EXPECT_STREQ(Choices::to_char(749), "");
    EXPECT_STREQ(Choices::to_char(-3), "");
    EXPECT_EQ(capture.take(), (Reports{"Bad case in Choices::to_char 0", "Bad case in Choices::to_char 749",
                                       "Bad case in Choices::to_char -3"}));
}

TEST(Choices, KindsAreTheirNumbersAndAliasInfinity) {
    EXPECT_EQ(Choices::invalid_choice, 1);
    EXPECT_EQ(Choices::TestCase, 614);
    EXPECT_EQ(Choices::Identifier, 524);
    EXPECT_EQ(Choices::Timer, 699);
    EXPECT_EQ(Choices::last_choice, 748);
    EXPECT_EQ(Choices::INFINITY_, 252);
    EXPECT_EQ(INFINITY_::kKind, 252);
    EXPECT_TRUE(std::isinf(INFINITY));  // <cmath> still has its macro after the views
}

TEST(AccessNode, EmptyNodeHoldsNothingAndEqualsNothing) {
    const AccessNode empty;
    EXPECT_EQ(empty.choice(), Choices::invalid_choice);
    EXPECT_EQ(empty.treeNode(), nullptr);
    const AccessNode copy = empty;
    EXPECT_EQ(copy.choice(), Choices::invalid_choice);
    EXPECT_FALSE(empty == copy);
    EXPECT_FALSE(empty == empty);
    EXPECT_TRUE(empty.as<TestCase>().isEmpty());
}

TEST(AccessNode, CopyAssignmentAndEqualityFollowTheNodeAndKind) {
    TreeArena arena;
    TreeNode* tc = makeSequence(arena, Choices::TestCase);
    TreeNode* other = makeSequence(arena, Choices::TestCase);

    AccessNode a(Choices::TestCase, tc);
    AccessNode b;
    b = a;
    EXPECT_EQ(b.choice(), Choices::TestCase);
    EXPECT_EQ(b.treeNode(), tc);
    EXPECT_TRUE(a == b);
    AccessNode c(a);
    EXPECT_TRUE(c == a);

    EXPECT_FALSE(a == AccessNode(Choices::TestCase, other));
    EXPECT_FALSE(a == AccessNode(Choices::TestStep, tc));  // same node, other kind
    EXPECT_FALSE(AccessNode(Choices::TestCase, nullptr) == AccessNode(Choices::TestCase, nullptr));

    b = AccessNode();  // assignment replaces what was held
    EXPECT_EQ(b.choice(), Choices::invalid_choice);
    EXPECT_EQ(b.treeNode(), nullptr);
    EXPECT_TRUE(c == a);
}

TEST(AccessNode, KindsOutsideTheTreeKindsHoldNothingAndNeverCompareEqual) {
    TreeArena arena;
    TreeNode* node = makeSequence(arena, Choices::TimerDcl);
    for (int32_t kind : {0, 1, 698, int32_t(Choices::Timer), 747, 748, 9999}) {
        AccessNode timer(kind, node);
        EXPECT_EQ(timer.choice(), kind);
        EXPECT_EQ(timer.treeNode(), nullptr) << kind;
        AccessNode copy = timer;
        EXPECT_EQ(copy.choice(), kind);
        EXPECT_FALSE(copy == timer) << kind;
    }
    EXPECT_TRUE(AccessNode(697, node) == AccessNode(697, node));  // the last tree kind is one
    EXPECT_TRUE(AccessNode(2, node) == AccessNode(2, node));
}

TEST(AccessNode, ViewsFromTwoAccessorCallsAreTheSameNode) {
    TreeArena arena;
    TreeNode* id = makeSequence(arena, Choices::TestCaseId, {makeText(arena, Choices::Identifier, "TC_1")});
    TreeNode* tc = makeSequence(arena, Choices::TestCase, {id});
    const TestCase view(tc);
    EXPECT_TRUE(AccessNode(view.testCaseId()) == AccessNode(view.testCaseId()));
    EXPECT_TRUE(AccessNode(view) == AccessNode(Choices::TestCase, view));
    EXPECT_FALSE(AccessNode(view) == AccessNode(view.testCaseId()));
    EXPECT_EQ(AccessNode(view).as<TestCase>().testCaseId().identifier().text(), "TC_1");
    EXPECT_TRUE(AccessNode(view).as<TestStep>().isEmpty());
}

TEST(AccessNode, OnlySuiteNodesTurnIntoNodes) {
    TreeArena arena;
    AccessReportCapture capture;
    const AccessNode suite = AccessNode::fromSuiteNode(makeSequence(arena, Choices::ASuite));
    EXPECT_EQ(suite.choice(), Choices::ASuite);
    EXPECT_EQ(AccessNode::fromSuiteNode(makeSequence(arena, Choices::DefaultCase)).choice(), Choices::DefaultCase);
    EXPECT_EQ(capture.take(), Reports{});

    // A row list and a field view are not suite nodes.
    const AccessNode rows = AccessNode::fromSuiteNode(makeList(arena, Choices::RootTree, {}));
    const AccessNode field = AccessNode::fromSuiteNode(makeText(arena, Choices::Identifier, "x"));
    const AccessNode none = AccessNode::fromSuiteNode(nullptr);
    for (const AccessNode& n : {rows, field, none}) {
        EXPECT_EQ(n.choice(), Choices::invalid_choice);
        EXPECT_EQ(n.treeNode(), nullptr);
    }
    EXPECT_EQ(capture.take(), (Reports{"Bad case label in AccessNode (436)\n", "Bad case label in AccessNode (524)\n",
                                       "Bad case label in AccessNode (0)\n"}));
}

TEST(SuiteTreeView, AbsentFieldsAndEmptyViewsReadAsEmpty) {
    TreeArena arena;
    TreeNode* tc = makeSequence(arena, Choices::TestCase);
    const TestCase view(tc);
    EXPECT_FALSE(view.is_present_testCaseId());
    EXPECT_TRUE(view.testCaseId().isEmpty());
    EXPECT_EQ(view.testCaseId().identifier().text(), "");
    EXPECT_TRUE(view.behaviourDescription().rootTree().behaviourLine(0).isEmpty());

    const TestCase empty;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_FALSE(empty.is_present_comment());
    EXPECT_EQ(empty.behaviourDescription().rootTree().size(), 0);
    EXPECT_EQ(empty.sourceLine(), 0);
    EXPECT_EQ(TTCN_Type().choice(), Choices::invalid_choice);
}

TEST(SuiteTreeView, AViewNeverHoldsANodeOfAnotherKind) {
    TreeArena arena;
    TreeNode* id = makeText(arena, Choices::Identifier, "x");
    EXPECT_TRUE(TestCase(id).isEmpty());
    // A field slot that holds the wrong kind is neither present nor readable.
    TreeNode* tc = makeSequence(arena, Choices::TestCase, {id});
    EXPECT_FALSE(TestCase(tc).is_present_testCaseId());
    EXPECT_TRUE(TestCase(tc).testCaseId().isEmpty());
}

TEST(SuiteTreeView, FieldsReadInSchemaOrderWithTheirOwnNames) {
    TreeArena arena;
    TreeNode* pco = makeText(arena, Choices::Identifier, "L");
    TreeNode* msg = makeText(arena, Choices::Identifier, "CONreq");
    const Send send(makeSequence(arena, Choices::Send, {pco, msg}));
    EXPECT_TRUE(send.is_present_pco_Id());
    EXPECT_EQ(send.pco_Id().text(), "L");
    EXPECT_EQ(send.message_Id().text(), "CONreq");
    const Receive receive(makeSequence(arena, Choices::Receive, {nullptr, msg}));
    EXPECT_FALSE(receive.is_present_pco_Id());
    EXPECT_EQ(receive.message_Id().text(), "CONreq");

    TreeNode* left = makeChoice(arena, Choices::SimpleExpression, makeSequence(arena, Choices::Term));
    TreeNode* right = makeChoice(arena, Choices::SimpleExpression, makeSequence(arena, Choices::Term));
    TreeNode* op = makeChoice(arena, Choices::RelOp, makeKeyword(arena, Choices::Less));
    const RelExpression rel(makeSequence(arena, Choices::RelExpression, {left, op, right}));
    EXPECT_EQ(rel.leftExpression().treeNode(), left);
    EXPECT_EQ(rel.relOp().choice(), Choices::Less);
    EXPECT_EQ(rel.rightExpression().treeNode(), right);
}

TEST(SuiteTreeView, ChoiceAnswersWithTheAlternativeHeld) {
    TreeArena arena;
    TreeNode* prelim = makeKeyword(arena, Choices::PreliminaryPASS, 77);
    const Pass pass(makeChoice(arena, Choices::Pass, prelim));
    EXPECT_EQ(pass.choice(), Choices::PreliminaryPASS);
    EXPECT_EQ(pass.preliminaryPASS().treeNode(), prelim);
    EXPECT_TRUE(pass.pass().isEmpty());

    const MultOp op(makeChoice(arena, Choices::MultOp, makeKeyword(arena, Choices::And)));
    EXPECT_EQ(op.choice(), Choices::And);
    EXPECT_FALSE(op.and_().isEmpty());
    const UnaryOp notOp(makeChoice(arena, Choices::UnaryOp, makeKeyword(arena, Choices::Not)));
    EXPECT_FALSE(notOp.not_().isEmpty());
    const AddOp orOp(makeChoice(arena, Choices::AddOp, makeKeyword(arena, Choices::Or)));
    EXPECT_FALSE(orOp.or_().isEmpty());
}

TEST(SuiteTreeView, ChoiceOutsideItsAlternativesReportsWithItsOwnName) {
    TreeArena arena;
    AccessReportCapture capture;
    // Verdict knows keywords among its alternatives' tokens: an unknown keyword is a kw case.
    EXPECT_EQ(Verdict(makeChoice(arena, Choices::Verdict, makeKeyword(arena, Choices::FAIL, 31))).choice(),
              Choices::invalid_choice);
    // A non-keyword child is a plain bad case, with the child's production.
    TreeNode* id = makeText(arena, Choices::Identifier, "x");
    id->production = 12;
    EXPECT_EQ(Verdict(makeChoice(arena, Choices::Verdict, id)).choice(), Choices::invalid_choice);
    // Event has no keyword table: even a keyword child is a plain bad case.
    EXPECT_EQ(Event(makeChoice(arena, Choices::Event, makeKeyword(arena, Choices::PASS, 9))).choice(),
              Choices::invalid_choice);
    // A choice node without its child.
    EXPECT_EQ(TimerOp(arena.make(Choices::TimerOp, 0)).choice(), Choices::invalid_choice);
    EXPECT_EQ(capture.take(), (Reports{"Bad kw case label in Verdict (31)\n", "Bad case label in Verdict (12)\n",
                                       "Bad case label in Event (9)\n", "Bad case label in TimerOp (0)\n"}));
}

TEST(SuiteTreeView, ElementOutOfRangeReportsAndGivesAnEmptyView) {
    TreeArena arena;
    AccessReportCapture capture;
    const RootTree none(makeList(arena, Choices::RootTree, {}));
    EXPECT_EQ(none.size(), 0);
    EXPECT_TRUE(none.behaviourLine(0).isEmpty());
    EXPECT_EQ(capture.take(), Reports{"RootTree index out of bounds (0 .. -1 was 0)\n"});

    TreeNode* first = makeSequence(arena, Choices::ElemDcl);
    TreeNode* second = makeSequence(arena, Choices::ElemDcl);
    const ElemDcls two(makeList(arena, Choices::ElemDcls, {first, second}));
    EXPECT_EQ(two.size(), 2);
    EXPECT_EQ(two.elemDcl(0).treeNode(), first);
    EXPECT_EQ(two.elemDcl(1).treeNode(), second);
    EXPECT_EQ(capture.take(), Reports{});
    EXPECT_TRUE(two.elemDcl(2).isEmpty());
    EXPECT_TRUE(two.elemDcl(-1).isEmpty());
    EXPECT_EQ(capture.take(), (Reports{"ElemDcls index out of bounds (0 .. 1 was 2)\n",
                                       "ElemDcls index out of bounds (0 .. 1 was -1)\n"}));
}

TEST(SuiteTreeView, IdentifierTextAndObjectKind) {
    TreeArena arena;
    AccessReportCapture capture;
    TreeNode* node = makeText(arena, Choices::Identifier, "Preamble");
    const Identifier id(node);
    EXPECT_EQ(id.text(), "Preamble");
    const std::vector<std::pair<int32_t, int32_t>> table = {
        {1, Choices::ASN1_ASP}, {26, Choices::Enumeration_NamedNumber}, {28, Choices::FormalParam},
        {31, Choices::LocalTree}, {60, Choices::TestCase}, {62, Choices::TestStep}, {64, Choices::Timer},
        {66, Choices::Verdict}};
    for (const auto& [code, kind] : table) {
        node->idTypeCode = code;
        EXPECT_EQ(id.idType(), kind) << code;
    }
    EXPECT_EQ(capture.take(), Reports{});
    for (int32_t code : {0, 27, 49, 67, -1}) {
        node->idTypeCode = code;
        EXPECT_EQ(id.idType(), Choices::invalid_choice);
    }
    EXPECT_EQ(capture.take(), (Reports{"Bad IdType case label in Identifier (0)\n",
                                       "Bad IdType case label in Identifier (27)\n",
                                       "Bad IdType case label in Identifier (49)\n",
                                       "Bad IdType case label in Identifier (67)\n",
                                       "Bad IdType case label in Identifier (-1)\n"}));
}

TEST(KindTable, AnswersRoleFieldsAlternativesAndElements) {
    const KindInfo& tc = kindInfo(Choices::TestCase);
    EXPECT_EQ(tc.role, KindRole::Sequence);
    EXPECT_EQ(tc.backing, KindBacking::SuiteNode);
    EXPECT_EQ(tc.slot, 363);
    ASSERT_EQ(tc.fieldCount(), 10);
    EXPECT_EQ(tc.fields()[0].kind, Choices::TestCaseId);
    EXPECT_TRUE(tc.fields()[0].optional);
    EXPECT_EQ(tc.fields()[8].kind, Choices::BehaviourDescription);
    EXPECT_FALSE(tc.fields()[8].optional);
    EXPECT_STREQ(tc.fields()[8].accessor, "behaviourDescription");

    const KindInfo& verdict = kindInfo(Choices::Verdict);
    EXPECT_EQ(verdict.role, KindRole::Choice);
    EXPECT_TRUE(verdict.reportsKeywordCase);
    EXPECT_TRUE(verdict.hasAlternative(Choices::Result));
    EXPECT_FALSE(verdict.hasAlternative(Choices::PASS));
    EXPECT_FALSE(kindInfo(Choices::Event).reportsKeywordCase);
    EXPECT_TRUE(verdict.fields().empty());

    EXPECT_EQ(kindInfo(Choices::RootTree).elementKind(), Choices::BehaviourLine);
    EXPECT_EQ(kindInfo(Choices::RootTree).backing, KindBacking::RowList);
    EXPECT_EQ(kindInfo(Choices::TestCase).elementKind(), Choices::invalid_choice);
    EXPECT_TRUE(kindInfo(Choices::Identifier).isTextLeaf());
    EXPECT_TRUE(kindInfo(Choices::MacroSymbol).isTextLeaf());
    EXPECT_TRUE(kindInfo(Choices::PASS).isKeywordLeaf());
    EXPECT_TRUE(kindInfo(Choices::INFINITY_).isKeywordLeaf());
    EXPECT_EQ(kindInfo(Choices::Timer).role, KindRole::Object);
    EXPECT_FALSE(kindInfo(Choices::Timer).isTreeKind());
    EXPECT_EQ(kindInfo(0).role, KindRole::Invalid);
    EXPECT_EQ(kindInfo(748).role, KindRole::Invalid);

    EXPECT_EQ(kindAtSlot(1), Choices::ASuite);
    EXPECT_EQ(kindAtSlot(363), Choices::TestCase);
    EXPECT_EQ(kindAtSlot(593), Choices::Identifier);
    EXPECT_EQ(kindAtSlot(696), Choices::TableRow);
    EXPECT_EQ(kindAtSlot(0), Choices::invalid_choice);
    EXPECT_EQ(kindAtSlot(697), Choices::invalid_choice);
    EXPECT_EQ(kindNamed("TS_VarDcl"), Choices::TS_VarDcl);
    EXPECT_EQ(kindNamed("Timer"), Choices::Timer);
    EXPECT_EQ(kindNamed("TestCas"), Choices::invalid_choice);
    EXPECT_EQ(fieldIndex(Choices::BehaviourLine, Choices::Children), 6);
    EXPECT_EQ(fieldIndex(Choices::BehaviourLine, Choices::Identifier), -1);
}

TEST(TreeBuild, ShapeCheckFindsTheFirstMismatch) {
    TreeArena arena;
    TreeNode* id = makeText(arena, Choices::Identifier, "T1");
    TreeNode* good = makeSequence(arena, Choices::TimerDcl, {makeSequence(arena, Choices::TimerId, {id})});
    EXPECT_EQ(treeShapeError(good), "");
    EXPECT_EQ(treeShapeError(makeSequence(arena, Choices::TimerId)), "TimerId: field 0 (Identifier) is missing");
    EXPECT_EQ(treeShapeError(makeSequence(arena, Choices::TimerDcl, {makeSequence(arena, Choices::TimerId, {good})})),
              "TimerDcl/TimerId: field 0 (Identifier) holds TimerDcl");
    EXPECT_EQ(treeShapeError(makeChoice(arena, Choices::Pass, makeKeyword(arena, Choices::FAIL))),
              "Pass: FAIL is not an alternative");
    EXPECT_EQ(treeShapeError(makeList(arena, Choices::TCompIdList, {id, nullptr})),
              "TCompIdList: element 1 is missing");
    EXPECT_EQ(treeShapeError(arena.make(Choices::Identifier, {id})), "Identifier: a leaf has no children");
    EXPECT_EQ(treeShapeError(arena.make(Choices::Timer)), "Timer: kind 699 is not a tree kind");
}

TEST(TreeBuild, TreeInOneLine) {
    TreeArena arena;
    TreeNode* id = makeText(arena, Choices::Identifier, "T1");
    TreeNode* unit = makeSequence(arena, Choices::Unit,
                                  {makeChoice(arena, Choices::TimeUnit, makeKeyword(arena, Choices::Seconds))});
    TreeNode* dcl = makeSequence(arena, Choices::TimerDcl, {makeSequence(arena, Choices::TimerId, {id}), nullptr, unit});
    EXPECT_EQ(treeToText(dcl), "TimerDcl(TimerId(Identifier\"T1\"), -, Unit(TimeUnit(Seconds)), -)");
    EXPECT_EQ(treeToText(makeList(arena, Choices::TCompIdList, {})), "TCompIdList()");
    EXPECT_EQ(treeToText(nullptr), "-");
}
