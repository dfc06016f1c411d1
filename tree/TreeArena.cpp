#include "tree/TreeArena.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {
constexpr std::size_t kBlockSize = 256 * 1024;
}

void* TreeArena::allocate(std::size_t size, std::size_t align) {
    std::size_t pad = (align - reinterpret_cast<std::uintptr_t>(cursor_) % align) % align;
    if (cursor_ == nullptr || pad + size > left_) {
        // Oversized requests get a block of their own so big texts never waste a block.
        std::size_t blockSize = std::max(kBlockSize, size + align);
        // Every node and child array is initialised when it is made, so blocks
        // are not zero-filled first (that was a tenth of the loading time).
        blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(blockSize));
        blockSizes_.push_back(blockSize);
        cursor_ = blocks_.back().get();
        left_ = blockSize;
        pad = (align - reinterpret_cast<std::uintptr_t>(cursor_) % align) % align;
    }
    std::byte* result = cursor_ + pad;
    cursor_ += pad + size;
    left_ -= pad + size;
    used_ += size;
    return result;
}

TreeNode* TreeArena::make(int32_t kind, int32_t count, int32_t line) {
    auto* node = new (allocate(sizeof(TreeNode), alignof(TreeNode))) TreeNode{};
    node->kind = kind;
    node->line = line;
    if (count > 0) {
        node->count = count;
        node->child = static_cast<TreeNode**>(allocate(sizeof(TreeNode*) * count, alignof(TreeNode*)));
        std::fill_n(node->child, count, nullptr);
    }
    return node;
}

TreeNode* TreeArena::make(int32_t kind, std::span<TreeNode* const> children, int32_t line) {
    TreeNode* node = make(kind, static_cast<int32_t>(children.size()), line);
    std::copy(children.begin(), children.end(), node->child);
    return node;
}

TreeNode* TreeArena::make(int32_t kind, std::initializer_list<TreeNode*> children, int32_t line) {
    return make(kind, std::span<TreeNode* const>(children.begin(), children.size()), line);
}

std::string_view TreeArena::copyText(std::string_view text) {
    if (text.empty()) return {};
    char* copy = static_cast<char*>(allocate(text.size(), 1));
    std::memcpy(copy, text.data(), text.size());
    return {copy, text.size()};
}

TreeNode* TreeArena::makeText(int32_t kind, std::string_view text, int32_t line) {
    TreeNode* node = make(kind, 0, line);
    node->text = copyText(text);
    return node;
}

TreeArena::Block TreeArena::block(std::size_t i) const {
    const auto begin = reinterpret_cast<std::uintptr_t>(blocks_[i].get());
    return {begin, begin + blockSizes_[i]};
}

void ArenaIndex::clear() {
    members_.clear();
    entries_.clear();
    indexed_ = true;
}

void ArenaIndex::add(const TreeArena& arena, const void* owner) {
    members_.push_back({&arena, owner, 0});
    indexed_ = false;
}

void ArenaIndex::rebuild() {
    entries_.clear();
    for (Member& member : members_) {
        member.blocksIndexed = member.arena->blockCount();
        for (std::size_t i = 0; i < member.blocksIndexed; ++i) {
            const TreeArena::Block block = member.arena->block(i);
            entries_.push_back({block.begin, block.end, member.owner});
        }
    }
    std::sort(entries_.begin(), entries_.end(), [](const Entry& x, const Entry& y) { return x.begin < y.begin; });
    indexed_ = true;
}

const ArenaIndex::Entry* ArenaIndex::find(std::uintptr_t at) const {
    // The last block that begins at or before the address.
    auto after = std::upper_bound(entries_.begin(), entries_.end(), at,
                                  [](std::uintptr_t a, const Entry& e) { return a < e.begin; });
    if (after == entries_.begin()) return nullptr;
    const Entry& candidate = *(after - 1);
    return at < candidate.end ? &candidate : nullptr;
}

const void* ArenaIndex::ownerOf(const void* address) {
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    if (!indexed_) rebuild();
    const Entry* entry = find(at);
    // Not found: an arena that took more blocks since it was indexed may hold it.
    if (!entry && std::any_of(members_.begin(), members_.end(),
                              [](const Member& m) { return m.arena->blockCount() != m.blocksIndexed; })) {
        rebuild();
        entry = find(at);
    }
    return entry ? entry->owner : nullptr;
}
