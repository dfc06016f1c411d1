// The typed views of the suite tree, AccessNode and the tree-building checks.
#include "AccessReportCapture.h"

#include "tree/AccessNode.h"
#include "tree/TreeBuild.h"
#include "tree/TreeViews.h"

#include <gtest/gtest.h>

#include <cmath>  // the INFINITY macro must not break the views
#include <string>
#include <vector>

using Reports = std::vector<std::string>;

TEST(AccessNode, EqualOnlyForTheSameTreeKindAndNode) {
    TreeArena arena;
    TreeNode* tc = makeSequence(arena, Choices::TestCase);
    const AccessNode a(Choices::TestCase, tc);
    EXPECT_TRUE(a == AccessNode(TestCase(tc)));
    EXPECT_FALSE(a == AccessNode(Choices::TestCase, makeSequence(arena, Choices::TestCase)));
    EXPECT_FALSE(a == AccessNode(Choices::TestStep, tc));  // same node, other kind
    EXPECT_FALSE(AccessNode() == AccessNode());
    EXPECT_TRUE(a.as<TestStep>().isEmpty());
    EXPECT_EQ(a.as<TestCase>().treeNode(), tc);
    // Kinds outside the tree kinds 2..697 hold no node and equal nothing.
    for (int32_t kind : {0, 1, 698, int32_t(Choices::Timer), 748, 9999}) {
        const AccessNode outside(kind, tc);
        EXPECT_EQ(outside.choice(), kind);
        EXPECT_EQ(outside.treeNode(), nullptr) << kind;
        EXPECT_FALSE(outside == outside) << kind;
    }
    EXPECT_TRUE(AccessNode(697, tc) == AccessNode(697, tc));
    EXPECT_TRUE(AccessNode(2, tc) == AccessNode(2, tc));
}

TEST(AccessNode, OnlySuiteNodesTurnIntoNodes) {
    TreeArena arena;
    AccessReportCapture capture;
    EXPECT_EQ(AccessNode::fromSuiteNode(makeSequence(arena, Choices::ASuite)).choice(), Choices::ASuite);
    EXPECT_EQ(AccessNode::fromSuiteNode(makeSequence(arena, Choices::DefaultCase)).choice(), Choices::DefaultCase);
    EXPECT_EQ(capture.take(), Reports{});
    // A row list, a field view and no node at all are not suite nodes.
    for (const TreeNode* node : {makeList(arena, Choices::RootTree, {}), makeText(arena, Choices::Identifier, "x"),
                                 static_cast<TreeNode*>(nullptr)}) {
        const AccessNode n = AccessNode::fromSuiteNode(node);
        EXPECT_EQ(n.choice(), Choices::invalid_choice);
        EXPECT_EQ(n.treeNode(), nullptr);
    }
    EXPECT_EQ(capture.take(), (Reports{"Bad case label in AccessNode (436)\n", "Bad case label in AccessNode (524)\n",
                                       "Bad case label in AccessNode (0)\n"}));
}

TEST(SuiteTreeView, AbsentFieldsAndNodesOfAnotherKindReadAsEmpty) {
    TreeArena arena;
    TreeNode* id = makeText(arena, Choices::Identifier, "x");
    EXPECT_TRUE(TestCase(id).isEmpty());
    // A field slot that holds the wrong kind is neither present nor readable.
    const TestCase wrong(makeSequence(arena, Choices::TestCase, {id}));
    EXPECT_FALSE(wrong.is_present_testCaseId());
    EXPECT_TRUE(wrong.testCaseId().isEmpty());
    EXPECT_EQ(wrong.testCaseId().identifier().text(), "");
    EXPECT_EQ(wrong.behaviourDescription().rootTree().size(), 0);
    EXPECT_EQ(TestCase().sourceLine(), 0);
    EXPECT_EQ(TTCN_Type().choice(), Choices::invalid_choice);
    // INFINITY stays the <cmath> macro beside the kind of that name.
    EXPECT_EQ(INFINITY_::kKind, Choices::INFINITY_);
    EXPECT_TRUE(std::isinf(INFINITY));
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
    EXPECT_TRUE(RootTree(makeList(arena, Choices::RootTree, {})).behaviourLine(0).isEmpty());
    TreeNode* second = makeSequence(arena, Choices::ElemDcl);
    const ElemDcls two(makeList(arena, Choices::ElemDcls, {makeSequence(arena, Choices::ElemDcl), second}));
    EXPECT_EQ(two.elemDcl(1).treeNode(), second);
    EXPECT_TRUE(two.elemDcl(2).isEmpty());
    EXPECT_TRUE(two.elemDcl(-1).isEmpty());
    EXPECT_EQ(capture.take(), (Reports{"RootTree index out of bounds (0 .. -1 was 0)\n",
                                       "ElemDcls index out of bounds (0 .. 1 was 2)\n",
                                       "ElemDcls index out of bounds (0 .. 1 was -1)\n"}));
}

TEST(SuiteTreeView, IdentifierObjectKindFromItsTypeCode) {
    TreeArena arena;
    AccessReportCapture capture;
    TreeNode* node = makeText(arena, Choices::Identifier, "Preamble");
    const Identifier id(node);
    node->idTypeCode = 31;
    EXPECT_EQ(id.idType(), Choices::LocalTree);
    node->idTypeCode = 27;
    EXPECT_EQ(id.idType(), Choices::invalid_choice);
    EXPECT_EQ(capture.take(), Reports{"Bad IdType case label in Identifier (27)\n"});
}

TEST(TreeBuild, ShapeCheckFindsTheFirstMismatch) {
    TreeArena arena;
    TreeNode* id = makeText(arena, Choices::Identifier, "T1");
    TreeNode* good = makeSequence(arena, Choices::TimerDcl, {makeSequence(arena, Choices::TimerId, {id})});
    EXPECT_EQ(treeShapeError(good), "");
    EXPECT_EQ(treeShapeError(makeSequence(arena, Choices::TimerId)), "TimerId: field 0 (Identifier) is missing");
    EXPECT_EQ(treeShapeError(makeSequence(arena, Choices::TimerId), [](int32_t, int32_t) { return true; }), "");
    EXPECT_EQ(treeShapeError(makeSequence(arena, Choices::TimerDcl, {makeSequence(arena, Choices::TimerId, {good})})),
              "TimerDcl/TimerId: field 0 (Identifier) holds TimerDcl");
    EXPECT_EQ(treeShapeError(makeChoice(arena, Choices::Pass, makeKeyword(arena, Choices::FAIL))),
              "Pass: FAIL is not an alternative");
    EXPECT_EQ(treeShapeError(makeList(arena, Choices::TCompIdList, {id, nullptr})),
              "TCompIdList: element 1 is missing");
    EXPECT_EQ(treeShapeError(arena.make(Choices::Identifier, {id})), "Identifier: a leaf has no children");
    EXPECT_EQ(treeShapeError(arena.make(Choices::Timer)), "Timer: kind 699 is not a tree kind");
    EXPECT_EQ(fieldIndex(Choices::BehaviourLine, Choices::Children), 6);
    EXPECT_EQ(fieldIndex(Choices::BehaviourLine, Choices::Identifier), -1);
}
