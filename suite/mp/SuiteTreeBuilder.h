// The suite tree builder: turns a loaded document, whose cells the field
// parser has filled with parse trees, into the suite tree of TreeNodes that
// the typed views read.
//
// - Suite nodes (the suite, its parts, tables, groups and rows) become nodes of
//   the kind of the same name, with their fields in schema order: a cell's
//   parse tree, or null for a cell without one (an absent optional field).
// - Lists of tables and groups hold them in file order; a list of choices
//   (TestGroupOrTestCase, the ...ConstraintOrGroup kinds) holds a choice node
//   around each.
// - Flat row lists (ElemDcls, ASP_ParValues, SO_CaseIndexList, ...) hold the
//   non-empty rows of their table.
// - Behaviour descriptions: RootTree, LocalTreeList, BehaviourLineList and
//   Children follow the level-list rules of behaviour rows (see
//   levelList()). Each row has one node, shared by every list it is in.
// - A behaviour line always has its LineNumber: the cell's tree when the file
//   gave one, else a LineNumber made from the row's number in its table.
// - ASuite's SuiteId is made from the document's name.
//
// Everything is built once and lives in the document's arena.
#pragma once

#include "suite/mp/Document.h"

#include <span>
#include <vector>

struct TreeNode;

// Builds (once) and returns the ASuite node of the document. Module and
// package documents get the same shape. The node of the import part, when the
// document has one, is then the `treeNode` of that part.
TreeNode* buildSuiteTree(Document& document);

// The level list of behaviour rows starting at row `start`: the rows from
// `start` onward that are not empty and have exactly the indentation of
// `start`; it stops at the first tree-header row (`start` included) and at the
// first non-empty row with a smaller indentation. Returns row indexes.
std::vector<std::size_t> levelList(std::span<SuiteNode* const> rows, std::size_t start);
// The index of the row where the Children of row `line` start, or -1 when the
// line has no children (the next non-empty row is a tree header, is not
// exactly one level deeper, or there is none).
long childrenStart(std::span<SuiteNode* const> rows, std::size_t line);
