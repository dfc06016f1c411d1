#include "tree/TreeArena.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

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

TEST(ArenaIndex, FindsTheArenaOfEveryAddressAcrossManyBlocks) {
    TreeArena first;
    TreeArena second;
    const int ownerA = 0, ownerB = 0;
    ArenaIndex index;
    index.add(first, &ownerA);
    index.add(second, &ownerB);
    std::vector<std::pair<const void*, const void*>> made;
    for (int i = 0; i < 20000; ++i) {
        made.emplace_back(first.make(614, 3), &ownerA);
        made.emplace_back(second.makeText(68, "text")->text.data(), &ownerB);
        // Asked while the arenas still grow: later blocks are found all the same.
        if (i == 100) {
            EXPECT_EQ(index.ownerOf(made.front().first), &ownerA);
        }
    }
    // A text larger than a block gets a block of its own.
    made.emplace_back(first.makeText(68, std::string(1 << 20, 'x'))->text.data() + (1 << 19), &ownerA);
    ASSERT_GT(first.blockCount(), 3u);
    ASSERT_GT(second.blockCount(), 1u);
    for (const auto& [address, owner] : made) {
        ASSERT_EQ(index.ownerOf(address), owner);
    }
    const int elsewhere = 0;
    EXPECT_EQ(index.ownerOf(&elsewhere), nullptr);
    index.clear();
    EXPECT_EQ(index.ownerOf(made.front().first), nullptr);
}
