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
