// The one node record under every typed view of the suite tree.
//
// The MP importer builds the table-level nodes (suite, parts, groups, tables,
// rows), the field parsers hang each cell's parse tree under its row, and the
// behaviour level lists (RootTree, Children, LocalTreeList) are built once
// after parsing as list nodes over the rows. Every typed view is a pointer to
// one of these records, so views copy freely and two views are equal exactly
// when they point at the same record.
#pragma once

#include <cstdint>
#include <string_view>

struct TreeNode {
    // The Choices value of the kind this node stands for.
    int32_t kind = 1;
    // What built the node: for a choice's alternative the parser production,
    // for a keyword the keyword code. Only the choice diagnostics read it.
    int32_t production = 0;
    // Source line of the cell or row the node came from (0 when unknown).
    int32_t line = 0;
    // Number of entries in `child`.
    int32_t count = 0;
    // Sequence: one entry per field in schema order, null for an absent
    // optional field. Choice: exactly one entry, the alternative held.
    // List: the elements in suite order. Leaf: none.
    TreeNode** child = nullptr;
    // The text of a text leaf; points into the document's buffer or arena.
    std::string_view text;
    // Suite-node views only: the row's indentation level and tree-header mark
    // that the behaviour level lists are built from.
    int32_t indentation = 0;
    bool treeHeader = false;
    // The suite object this node names or declares, filled by the analysis:
    // its symbol-table type code (0 when unresolved), read by idType().
    int32_t idTypeCode = 0;
    // Owner-defined link back to the loaded suite (document, table, symbol).
    const void* origin = nullptr;
};
