#include "tree/TreeArena.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {
constexpr std::size_t kBlockSize = 256 * 1024;

// Every block of every live arena, sorted by address, so that a node's line
// can be found from the node alone (TreeNode::line()).
class LiveBlocks {
public:
    static LiveBlocks& instance() {
        static LiveBlocks blocks;
        return blocks;
    }
    void add(std::uintptr_t begin, std::uintptr_t end, const TreeArena* arena, std::size_t block) {
        Entry entry{begin, end, arena, block};
        entries_.insert(std::upper_bound(entries_.begin(), entries_.end(), entry, byBegin), entry);
    }
    void remove(const TreeArena* arena) {
        std::erase_if(entries_, [&](const Entry& e) { return e.arena == arena; });
    }
    struct Entry {
        std::uintptr_t begin;
        std::uintptr_t end;
        const TreeArena* arena;
        std::size_t block;  // the block's number in its arena
    };
    // The block that holds `address`; null when no live arena does.
    const Entry* blockOf(const void* address) const {
        const auto at = reinterpret_cast<std::uintptr_t>(address);
        auto after = std::upper_bound(entries_.begin(), entries_.end(), at,
                                      [](std::uintptr_t a, const Entry& e) { return a < e.begin; });
        if (after == entries_.begin()) return nullptr;
        const Entry& candidate = *(after - 1);
        return at < candidate.end ? &candidate : nullptr;
    }

private:
    static bool byBegin(const Entry& a, const Entry& b) { return a.begin < b.begin; }
    std::vector<Entry> entries_;
};

}  // namespace

int32_t treeNodeLine(const TreeNode* node) {
    const LiveBlocks::Entry* block = node ? LiveBlocks::instance().blockOf(node) : nullptr;
    return block ? block->arena->lineIn(block->block, node) : 0;
}

TreeArena::~TreeArena() {
    if (!blocks_.empty()) LiveBlocks::instance().remove(this);
}

int32_t TreeArena::lineIn(std::size_t block, const TreeNode* node) const {
    const auto begin = reinterpret_cast<std::uintptr_t>(blocks_[block].get());
    const Lines& lines = blockLines_[block];
    const auto offset = static_cast<uint32_t>(reinterpret_cast<std::uintptr_t>(node) - begin);
    auto after = std::upper_bound(lines.offsets.begin(), lines.offsets.end(), offset);
    if (after == lines.offsets.begin()) return 0;
    return lines.lines[static_cast<std::size_t>(after - lines.offsets.begin()) - 1];
}

TreeNode* TreeArena::placeNode(void* memory, int32_t kind, int32_t line) {
    auto* node = new (memory) TreeNode{};
    node->kind = kind;
    // The node is in the last block taken: allocate() moves to a new block
    // before it hands out memory there.
    Lines& lines = blockLines_.back();
    if (lines.lines.empty() || lines.lines.back() != line) {
        lines.offsets.push_back(static_cast<uint32_t>(static_cast<std::byte*>(memory) - blocks_.back().get()));
        lines.lines.push_back(line);
    }
    return node;
}

void* TreeArena::allocateInNewBlock(std::size_t size, std::size_t align) {
    // Oversized requests get a block of their own so big texts never waste a block.
    std::size_t blockSize = std::max(kBlockSize, size + align);
    if (!blockLines_.empty()) {
        // The lines of a full block are final: no room kept for more.
        blockLines_.back().offsets.shrink_to_fit();
        blockLines_.back().lines.shrink_to_fit();
    }
    // Every node and child array is initialised when it is made, so blocks
    // are not zero-filled first (that was a tenth of the loading time).
    blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(blockSize));
    blockSizes_.push_back(blockSize);
    blockLines_.emplace_back();
    const auto begin = reinterpret_cast<std::uintptr_t>(blocks_.back().get());
    LiveBlocks::instance().add(begin, begin + blockSize, this, blocks_.size() - 1);
    cursor_ = blocks_.back().get();
    left_ = blockSize;
    const std::size_t pad = (align - reinterpret_cast<std::uintptr_t>(cursor_) % align) % align;
    std::byte* result = cursor_ + pad;
    cursor_ += pad + size;
    left_ -= pad + size;
    used_ += size;
    return result;
}

TreeNode* TreeArena::make(int32_t kind, int32_t count, int32_t line) {
    const std::size_t slots = count > 0 ? static_cast<std::size_t>(count) : 0;
    TreeNode* node = placeNode(allocate(sizeof(TreeNode) + sizeof(TreeNode*) * slots, alignof(TreeNode*)), kind, line);
    node->count = static_cast<int32_t>(slots);
    std::fill_n(node->child, slots, nullptr);
    return node;
}

TreeNode* TreeArena::make(int32_t kind, std::span<TreeNode* const> children, int32_t line) {
    TreeNode* node =
        placeNode(allocate(sizeof(TreeNode) + sizeof(TreeNode*) * children.size(), alignof(TreeNode*)), kind, line);
    node->count = static_cast<int32_t>(children.size());
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

TreeNode* TreeArena::makeTextView(int32_t kind, std::string_view text, int32_t line) {
    TreeNode* node = placeNode(allocate(sizeof(TreeNode) + sizeof(TreeNode::TextRef), alignof(TreeNode*)), kind, line);
    node->flags = TreeNode::kHasText;
    new (node->textRef()) TreeNode::TextRef{text.data(), text.size()};
    return node;
}

TreeNode* TreeArena::makeText(int32_t kind, std::string_view text, int32_t line) {
    return makeTextView(kind, copyText(text), line);
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
