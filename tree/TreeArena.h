// Allocation of tree nodes, their child arrays and their texts, one arena per
// loaded document: nodes are never freed one by one, the arena goes as a whole
// when the suite is unloaded.
#pragma once

#include "tree/TreeNode.h"

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

class TreeArena {
public:
    TreeArena() = default;
    TreeArena(const TreeArena&) = delete;
    TreeArena& operator=(const TreeArena&) = delete;

    // A node of the kind with `count` child slots, all null.
    TreeNode* make(int32_t kind, int32_t count = 0, int32_t line = 0);
    // A node whose children are the given nodes, in order (nulls allowed).
    TreeNode* make(int32_t kind, std::initializer_list<TreeNode*> children, int32_t line = 0);
    TreeNode* make(int32_t kind, std::span<TreeNode* const> children, int32_t line = 0);
    // A text leaf; the text is copied into the arena.
    TreeNode* makeText(int32_t kind, std::string_view text, int32_t line = 0);
    // A copy of the text that lives as long as the arena.
    std::string_view copyText(std::string_view text);

    std::size_t bytesUsed() const { return used_; }
    // True when `address` lies in memory of this arena: tells which loaded
    // document a node of any kind (a field's parse node too) belongs to.
    bool holds(const void* address) const;

private:
    void* allocate(std::size_t size, std::size_t align);

    std::vector<std::unique_ptr<std::byte[]>> blocks_;
    std::vector<std::size_t> blockSizes_;
    std::byte* cursor_ = nullptr;
    std::size_t left_ = 0;
    std::size_t used_ = 0;
};
