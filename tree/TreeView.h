// The common base of every typed view of the suite tree.
//
// A view is one pointer wide: the TreeNode it stands for, or null for an
// empty view. A view holds a record of its own kind, or, for a kind that parse
// trees keep no record for when it wraps a child (KindInfo::elided: the levels
// of expressions and values), the record of what it wraps; the constructor
// drops any other. The view's kind, not the record's, says what it is.
// Reading an absent field, an element out of range or anything on an empty
// view gives an empty view, never a crash.
#pragma once

#include "tree/TreeNode.h"

#include <cstdint>
#include <string_view>

class TreeView {
public:
    TreeView() = default;

    // The node viewed; null for an empty view.
    const TreeNode* treeNode() const { return node_; }
    bool isEmpty() const { return node_ == nullptr; }
    // The source line of the cell or row the node came from (0 when unknown).
    int32_t sourceLine() const { return node_ ? node_->line() : 0; }

protected:
    // `node` must be one the view's kind holds (the generated views check).
    explicit TreeView(const TreeNode* node) : node_(node) {}

    // Child `index`, or null when absent, out of range or the view is empty.
    const TreeNode* child(int32_t index) const {
        return node_ && index >= 0 && index < node_->count ? node_->child[index] : nullptr;
    }
    // What a view of an elided kind holds for its one child: the child of its
    // own record (kind `ownKind`), or the record it stands on.
    const TreeNode* held(int32_t ownKind) const { return node_ && node_->kind == ownKind ? child(0) : node_; }
    // A choice whose held node is none of its alternatives: reports
    // `badKeyword` (when the kind has one) for a keyword, `badCase` otherwise,
    // with the held node's production, and gives invalid_choice.
    int32_t failedChoice(const TreeNode* held, const char* badCase, const char* badKeyword) const;

    int32_t listSize() const { return node_ ? node_->count : 0; }
    // Element `index` of a list, or null with the out-of-bounds report.
    const TreeNode* element(int32_t index, const char* outOfBounds) const;

    std::string_view leafText() const { return node_ ? node_->text() : std::string_view(); }
    int32_t idTypeOf() const;

private:
    const TreeNode* node_ = nullptr;
};
