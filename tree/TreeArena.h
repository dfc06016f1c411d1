// Allocation of tree nodes (each with its child slots) and their texts, one
// arena per loaded document: nodes are never freed one by one, the arena goes
// as a whole when the suite is unloaded.
#pragma once

#include "tree/TreeNode.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

class TreeArena {
public:
    TreeArena() = default;
    ~TreeArena();
    TreeArena(const TreeArena&) = delete;
    TreeArena& operator=(const TreeArena&) = delete;

    // A node of the kind with `count` child slots, all null.
    TreeNode* make(int32_t kind, int32_t count = 0, int32_t line = 0);
    // A node whose children are the given nodes, in order (nulls allowed).
    TreeNode* make(int32_t kind, std::initializer_list<TreeNode*> children, int32_t line = 0);
    TreeNode* make(int32_t kind, std::span<TreeNode* const> children, int32_t line = 0);
    // A text leaf; the text is copied into the arena.
    TreeNode* makeText(int32_t kind, std::string_view text, int32_t line = 0);
    // A text leaf that refers to `text` where it is: the caller keeps the
    // text alive as long as the arena (a document's texts).
    TreeNode* makeTextView(int32_t kind, std::string_view text, int32_t line = 0);
    // A copy of the text that lives as long as the arena.
    std::string_view copyText(std::string_view text);

    // Memory for `count` objects of T (not constructed), for other records of
    // a document that live as long as its tree.
    template <class T>
    T* allocateArray(std::size_t count) {
        return static_cast<T*>(allocate(sizeof(T) * count, alignof(T)));
    }

    std::size_t bytesUsed() const { return used_; }

    // The memory of the arena: its blocks in the order they were taken, each
    // the addresses [begin, end).
    struct Block {
        std::uintptr_t begin;
        std::uintptr_t end;
    };
    std::size_t blockCount() const { return blocks_.size(); }
    Block block(std::size_t i) const;

    // The line a node in block `block` of this arena was made for (0 when
    // unknown); TreeNode::line() finds the block.
    int32_t lineIn(std::size_t block, const TreeNode* node) const;

private:
    // The next `size` bytes at `align`; a new block when the current one is full.
    void* allocate(std::size_t size, std::size_t align) {
        const std::size_t pad = (align - reinterpret_cast<std::uintptr_t>(cursor_) % align) % align;
        if (cursor_ == nullptr || pad + size > left_) return allocateInNewBlock(size, align);
        std::byte* result = cursor_ + pad;
        cursor_ += pad + size;
        left_ -= pad + size;
        used_ += size;
        return result;
    }
    void* allocateInNewBlock(std::size_t size, std::size_t align);
    // A new node in `memory`, made for `line`: the line is noted when it is
    // not the line of the node made before it in its block.
    TreeNode* placeNode(void* memory, int32_t kind, int32_t line);

    // The lines of a block's nodes: from the node at each offset on (in the
    // order they were made, so the offsets rise) until the next entry.
    struct Lines {
        std::vector<uint32_t> offsets;
        std::vector<int32_t> lines;
    };

    std::vector<std::unique_ptr<std::byte[]>> blocks_;
    std::vector<std::size_t> blockSizes_;
    std::vector<Lines> blockLines_;
    std::byte* cursor_ = nullptr;
    std::size_t left_ = 0;
    std::size_t used_ = 0;
};

// Which of several arenas holds an address (and so which loaded document a
// node of any kind belongs to, a field's parse node too), in time logarithmic
// in the number of blocks: one sorted index of the blocks of all the arenas.
class ArenaIndex {
public:
    // Forgets every arena.
    void clear();
    // Adds an arena, with the owner that ownerOf() gives for its addresses.
    void add(const TreeArena& arena, const void* owner);
    // The owner of the arena that holds `address`; null when none does. An
    // arena that took more blocks since it was added is indexed again then.
    const void* ownerOf(const void* address);

private:
    struct Entry {
        std::uintptr_t begin;
        std::uintptr_t end;
        const void* owner;
    };
    struct Member {
        const TreeArena* arena;
        const void* owner;
        std::size_t blocksIndexed;
    };
    const Entry* find(std::uintptr_t at) const;
    void rebuild();

    std::vector<Member> members_;
    std::vector<Entry> entries_;  // sorted by begin; blocks never overlap
    bool indexed_ = true;         // entries_ covers every member
};
