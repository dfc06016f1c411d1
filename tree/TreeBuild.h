// Building suite tree nodes in the shape the schema gives them, for the MP
// importer, the field parsers and tests; and two checks on what was built.
//
//   TreeNode* id   = makeText(arena, Choices::Identifier, "TC_1");
//   TreeNode* tcId = makeSequence(arena, Choices::TestCaseId, {id});
//   TreeNode* pass = makeChoice(arena, Choices::Pass, makeKeyword(arena, Choices::PASS, code));
//
// The builders only allocate and place children; treeShapeError() tells
// whether a finished tree matches the schema.
#pragma once

#include "tree/TreeArena.h"

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

// A sequence node with one slot per field of the kind, filled in order from
// `fields` (missing ones stay null = absent).
TreeNode* makeSequence(TreeArena& arena, int32_t kind, std::initializer_list<TreeNode*> fields = {},
                       int32_t line = 0);
// A choice node holding `alternative`. The production that built the
// alternative (read only by the choice diagnostics) is the alternative's own
// `production`: a keyword's code from makeKeyword, or set by the parser.
TreeNode* makeChoice(TreeArena& arena, int32_t kind, TreeNode* alternative, int32_t line = 0);
// A list node with the given elements in order.
TreeNode* makeList(TreeArena& arena, int32_t kind, std::span<TreeNode* const> elements, int32_t line = 0);
TreeNode* makeList(TreeArena& arena, int32_t kind, std::initializer_list<TreeNode*> elements, int32_t line = 0);
// A keyword leaf; `keywordCode` is the keyword's code, read only by choice diagnostics.
TreeNode* makeKeyword(TreeArena& arena, int32_t kind, int32_t keywordCode = 0, int32_t line = 0);
// A text leaf; the text is copied into the arena.
TreeNode* makeText(TreeArena& arena, int32_t kind, std::string_view text, int32_t line = 0);

// The index of the first field of kind `fieldKind` in a sequence kind, or -1.
int32_t fieldIndex(int32_t sequenceKind, int32_t fieldKind);

// "" when the tree below `root` matches the schema: every node a tree kind; a
// sequence with one slot per field, each present child of the field's kind and
// every mandatory field present; a choice with one child among its
// alternatives; a list whose elements are all there and of the element kind; a
// leaf without children. Otherwise the first mismatch, e.g.
// "TestCase/TestCaseId: field 1 (Identifier) is missing".
// `mayBeMissing(sequenceKind, field)` names mandatory fields that the caller
// knows to be left null (cells not parsed yet, a parser's known gaps); they
// pass like absent optional fields.
using MissingFieldAllowance = bool (*)(int32_t sequenceKind, int32_t field);
std::string treeShapeError(const TreeNode* root, MissingFieldAllowance mayBeMissing = nullptr);

// The tree in one line, for tests and debugging: Kind(child, child, ...),
// "-" for an absent field, a text leaf as Kind"text".
std::string treeToText(const TreeNode* root);
