#include "tree/TreeView.h"

#include "tree/AccessReport.h"
#include "tree/Choices.h"
#include "tree/KindInfo.h"
#include "tree/SymbolCode.h"

static_assert(kLargestSymbolCode <= TreeNode::kLargestIdTypeCode, "a node keeps every symbol code");
static_assert(Choices::last_choice <= TreeNode::kLargestKind, "a node keeps every kind");

int32_t TreeView::failedChoice(const TreeNode* held, const char* badCase, const char* badKeyword) const {
    const int32_t production = held ? held->production : 0;
    if (badKeyword && held && kindInfo(held->kind).isKeywordLeaf())
        accessReport(badKeyword, production);
    else
        accessReport(badCase, production);
    return Choices::invalid_choice;
}

const TreeNode* TreeView::element(int32_t index, const char* outOfBounds) const {
    const int32_t size = listSize();
    if (index < 0 || index >= size) {
        accessReport(outOfBounds, size - 1, index);
        return nullptr;
    }
    return node_->child[index];
}

int32_t TreeView::idTypeOf() const {
    const int32_t code = node_ ? node_->idTypeCode : 0;
    const int32_t kind = kindOfIdTypeCode(code);
    if (kind == Choices::invalid_choice) accessReport("Bad IdType case label in Identifier (%d)\n", code);
    return kind;
}
