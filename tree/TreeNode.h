// The one node record under every typed view of the suite tree.
//
// The MP importer builds the table-level nodes (suite, parts, groups, tables,
// rows), the field parsers hang each cell's parse tree under its row, and the
// behaviour level lists (RootTree, Children, LocalTreeList) are built once
// after parsing as list nodes over the rows. Every typed view is a pointer to
// one of these records, so views copy freely and two views are equal exactly
// when they point at the same record.
//
// A record is an 8-byte header with its child slots right after it, all in
// one piece of the document's arena (TreeArena makes them): a suite of 50 MB
// has millions of them, so every byte of the header counts. A text leaf keeps
// a reference to its text (in the document's arena or another text that lives
// as long) where the slots would be. The source line is no field of the
// record: the arena keeps it once per run of nodes made for the same line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

struct TreeNode;

// The source line of a node (0 when unknown): kept by the arena that made the
// node, one entry per run of nodes made for the same line (TreeArena.h).
int32_t treeNodeLine(const TreeNode* node);

struct TreeNode {
    // The Choices value of the kind this node stands for (1..748).
    int32_t kind : 11 = 1;
    // What built the node: for a choice's alternative the parser production,
    // for a keyword the keyword code. Only the choice diagnostics read it.
    int32_t production : 12 = 0;
    // The suite object this node names or declares, filled by the analysis:
    // its symbol-table type code (0 when unresolved), read by idType().
    int32_t idTypeCode : 8 = 0;
    // kHasText: the record carries a text (made by TreeArena::makeText).
    uint32_t flags : 1 = 0;
    // Number of entries in `child`.
    int32_t count = 0;
    // Sequence: one entry per field in schema order, null for an absent
    // optional field. Choice: exactly one entry, the alternative held.
    // List: the elements in suite order. Leaf: none.
    TreeNode* child[];

    static constexpr uint32_t kHasText = 1;
    // The largest values the header holds (signed fields, so that they read
    // as plain int32_t everywhere).
    static constexpr int32_t kLargestKind = (1 << 10) - 1;
    static constexpr int32_t kLargestProduction = (1 << 11) - 1;
    static constexpr int32_t kLargestIdTypeCode = (1 << 7) - 1;

    // Source line of the cell or row the node came from (0 when unknown).
    int32_t line() const { return treeNodeLine(this); }

    // The text of a text leaf ("" for any other node).
    std::string_view text() const {
        if (!(flags & kHasText)) return {};
        const TextRef* ref = textRef();
        return {ref->data, ref->size};
    }

    // Where a text leaf keeps its text, in place of the slots.
    struct TextRef {
        const char* data;
        std::size_t size;
    };
    const TextRef* textRef() const {
        return reinterpret_cast<const TextRef*>(reinterpret_cast<const std::byte*>(this) + sizeof(TreeNode));
    }
    TextRef* textRef() {
        return reinterpret_cast<TextRef*>(reinterpret_cast<std::byte*>(this) + sizeof(TreeNode));
    }
};

static_assert(sizeof(TreeNode) == 8, "the node header is 8 bytes, the slots follow it");
