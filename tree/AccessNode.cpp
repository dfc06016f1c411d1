#include "tree/AccessNode.h"

#include "tree/AccessReport.h"
#include "tree/KindInfo.h"

AccessNode::AccessNode(int32_t kind, const TreeNode* node)
    : choice_(kind), node_(isTreeKind(kind) ? node : nullptr) {}

AccessNode AccessNode::fromSuiteNode(const TreeNode* node) {
    if (node != nullptr && kindInfo(node->kind).backing == KindBacking::SuiteNode)
        return AccessNode(node->kind, node);
    accessReport("Bad case label in AccessNode (%d)\n", node ? node->kind : 0);
    return AccessNode();
}

int32_t childCount(const AccessNode& node) {
    const TreeNode* record = node.treeNode();
    if (!record) return 0;
    return record->kind == node.choice() ? record->count : 1;
}

AccessNode childAt(const AccessNode& node, int32_t index) {
    const TreeNode* record = node.treeNode();
    const int32_t kind = node.choice();
    if (!record || index < 0) return {};
    // A node of an elided kind standing on the record of what it wraps.
    if (record->kind != kind) return index == 0 ? AccessNode(stepToward(kind, record->kind), record) : AccessNode();
    if (index >= record->count || !record->child[index]) return {};
    const TreeNode* child = record->child[index];
    const KindInfo& info = kindInfo(kind);
    switch (info.role) {
    case KindRole::Sequence: return AccessNode(index < info.itemCount ? info.items[index].kind : child->kind, child);
    case KindRole::List: return AccessNode(info.elementKind(), child);
    case KindRole::Choice: {
        const int32_t alternative = stepToward(kind, child->kind);
        return AccessNode(alternative != Choices::invalid_choice ? alternative : child->kind, child);
    }
    default: return AccessNode(child->kind, child);
    }
}
