// The common base of every typed view of the suite tree.
//
// A view is one pointer wide: the TreeNode it stands for, or null for an
// empty view. A view only ever holds a node of its own kind (the constructor
// drops any other), so every accessor can read the children by position.
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
    TreeView(const TreeNode* node, int32_t kind) : node_(node && node->kind == kind ? node : nullptr) {}

    // Child `index`, or null when absent, out of range or the view is empty.
    const TreeNode* child(int32_t index) const {
        return node_ && index >= 0 && index < node_->count ? node_->child[index] : nullptr;
    }
    // Child `index` when it is there and of the given kind.
    bool hasChild(int32_t index, int32_t kind) const {
        const TreeNode* c = child(index);
        return c && c->kind == kind;
    }
    // The held alternative of a choice when it is of the given kind, else null.
    const TreeNode* alternative(int32_t kind) const { return hasChild(0, kind) ? child(0) : nullptr; }
    // A choice whose child is none of its alternatives: reports `badKeyword`
    // (when the kind has one) for a keyword child, `badCase` otherwise, with the
    // child's production, and gives invalid_choice.
    int32_t failedChoice(const char* badCase, const char* badKeyword) const;

    int32_t listSize() const { return node_ ? node_->count : 0; }
    // Element `index` of a list, or null with the out-of-bounds report.
    const TreeNode* element(int32_t index, const char* outOfBounds) const;

    std::string_view leafText() const { return node_ ? node_->text() : std::string_view(); }
    int32_t idTypeOf() const;

private:
    const TreeNode* node_ = nullptr;
};
