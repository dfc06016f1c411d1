// A handle on one node of the suite tree of any kind: its kind and the node.
//
// Copying copies the kind and the node pointer (the tree stays owned by its
// arena). A handle whose kind is not a tree kind (2..697) holds no node.
// Two handles are equal when they have the same tree kind and stand for the
// same node; handles of other kinds, or holding no node, equal nothing.
//
// Typed access: `node.as<TestCase>()` gives the TestCase view when the handle
// holds a TestCase, an empty view otherwise.
#pragma once

#include "tree/Choices.h"
#include "tree/TreeView.h"

#include <concepts>
#include <cstdint>

class AccessNode {
public:
    // An empty node: kind invalid_choice, holding nothing.
    AccessNode() = default;
    // A node of the kind viewing `node` (nothing unless the kind is a tree kind).
    AccessNode(int32_t kind, const TreeNode* node);
    AccessNode(int32_t kind, const TreeView& view) : AccessNode(kind, view.treeNode()) {}
    // The handle of a typed view, of the view's own kind.
    template <class View>
        requires std::derived_from<View, TreeView>
    explicit AccessNode(const View& view) : AccessNode(View::kKind, view.treeNode()) {}

    // The node of a suite-node view (the suite, its parts, tables, rows and
    // groups) as a handle of its kind. Anything else is an empty node with the
    // report "Bad case label in AccessNode (%d)\n" and the node's kind
    // (0 for a null node).
    static AccessNode fromSuiteNode(const TreeNode* node);

    int32_t choice() const { return choice_; }
    const TreeNode* treeNode() const { return node_; }
    bool isEmpty() const { return node_ == nullptr; }

    template <class View>
        requires std::derived_from<View, TreeView>
    View as() const {
        return View(choice_ == View::kKind ? node_ : nullptr);
    }

    friend bool operator==(const AccessNode& a, const AccessNode& b) {
        return a.choice_ == b.choice_ && isTreeKind(a.choice_) && a.node_ != nullptr && a.node_ == b.node_;
    }

    static bool isTreeKind(int32_t kind) { return kind >= 2 && kind <= 697; }

private:
    int32_t choice_ = Choices::invalid_choice;
    const TreeNode* node_ = nullptr;
};

// The parts of a node as the schema has them, for walks that go by kind
// instead of through the typed views: the fields of a sequence (an empty node
// for an absent one), the alternative of a choice, the elements of a list,
// nothing for a leaf. A record can stand for more than one kind (a view of an
// elided kind stands on the record of what it wraps), so a walk that reads
// records directly would see `record->kind` where the schema has another
// kind; these give each part with the kind it has.
int32_t childCount(const AccessNode& node);
AccessNode childAt(const AccessNode& node, int32_t index);
