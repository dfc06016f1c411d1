#include "tree/TreeArena.h"

#include <gtest/gtest.h>

#include <string>

TEST(TreeArena, ChildrenStartAbsentAndKeepTheirOrder) {
    TreeArena arena;
    TreeNode* a = arena.makeText(524, "a", 3);
    TreeNode* b = arena.makeText(524, "b", 4);
    TreeNode* seq = arena.make(614, {a, nullptr, b}, 7);
    ASSERT_EQ(seq->count, 3);
    EXPECT_EQ(seq->child[0], a);
    EXPECT_EQ(seq->child[1], nullptr);
    EXPECT_EQ(seq->child[2], b);
    EXPECT_EQ(seq->line, 7);
    EXPECT_EQ(arena.make(614, 2)->child[1], nullptr);
}

TEST(TreeArena, TextsOutliveTheirSourceAndLargeTextsFit) {
    TreeArena arena;
    std::string big(1 << 20, 'x');
    TreeNode* leaf;
    {
        std::string source = big;
        leaf = arena.makeText(68, source);
    }
    EXPECT_EQ(leaf->text, big);
    EXPECT_TRUE(arena.makeText(68, "")->text.empty());
}
