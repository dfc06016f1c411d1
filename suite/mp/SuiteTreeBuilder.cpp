#include "suite/mp/SuiteTreeBuilder.h"

#include "tree/Choices.h"
#include "tree/KindInfo.h"
#include "tree/TreeNode.h"
#include "suite/mp/TableLayout.h"

#include <string>
#include <unordered_map>

namespace {

// A tree header that takes part: a header row that conditional text left out
// (emptied by the analysis) heads nothing and counts as an empty row.
bool isTreeHeader(const SuiteNode* row) { return row->treeHeader && !row->isEmpty(); }

// The level lists and children of the behaviour rows of one table, read in
// time proportional to their length. Scanning forward from every row would
// cost a walk to the end of the table per row when each line is one level
// deeper than the one before: quadratic in the number of rows.
class RowLevels {
public:
    explicit RowLevels(std::span<SuiteNode* const> rows) : rows_(rows) {
        const std::size_t n = rows.size();
        empty_.resize(n);
        nextNonEmpty_.assign(n, n);
        stop_.assign(n, n);
        for (std::size_t i = 0; i < n; ++i) empty_[i] = rows[i]->isEmpty();
        for (std::size_t i = n; i-- > 1;) nextNonEmpty_[i - 1] = empty_[i] ? nextNonEmpty_[i] : i;
        // From the end: the non-empty rows that can still stop an earlier row,
        // their indentations rising towards the top of the stack. Empty rows
        // stop nothing and are passed over.
        std::vector<std::size_t> candidates;
        std::size_t nextHeader = n;
        for (std::size_t i = n; i-- > 0;) {
            if (isTreeHeader(rows[i])) {
                candidates.clear();
                nextHeader = i;
                continue;
            }
            if (empty_[i]) continue;
            const int32_t level = rows[i]->indentation;
            while (!candidates.empty() && rows[candidates.back()]->indentation > level) candidates.pop_back();
            stop_[i] = candidates.empty() ? nextHeader : candidates.back();
            if (!candidates.empty() && rows[candidates.back()]->indentation == level) candidates.pop_back();
            candidates.push_back(i);
        }
    }

    // See ::levelList: `start`, then each next row at its level until a tree
    // header or a shallower row.
    std::vector<std::size_t> levelList(std::size_t start) const {
        std::vector<std::size_t> picked;
        const std::size_t n = rows_.size();
        if (start >= n || isTreeHeader(rows_[start])) return picked;
        const int32_t level = rows_[start]->indentation;
        std::size_t j = start;
        if (empty_[start]) {
            // An empty row only lends its level: pass over the deeper rows.
            j = nextNonEmpty_[start];
            while (j < n && !isTreeHeader(rows_[j]) && rows_[j]->indentation > level) j = stop_[j];
        }
        for (; j < n && !isTreeHeader(rows_[j]) && rows_[j]->indentation == level; j = stop_[j]) picked.push_back(j);
        return picked;
    }

    // See ::childrenStart.
    long childrenStart(std::size_t line) const {
        if (line >= rows_.size()) return -1;
        const std::size_t j = nextNonEmpty_[line];
        if (j >= rows_.size() || isTreeHeader(rows_[j]) ||
            int64_t(rows_[j]->indentation) != int64_t(rows_[line]->indentation) + 1)
            return -1;
        return static_cast<long>(j);
    }

private:
    std::span<SuiteNode* const> rows_;
    std::vector<bool> empty_;
    // For every row: the first later row that is not empty (or the row count),
    std::vector<std::size_t> nextNonEmpty_;
    // and for every non-empty row the first later row that ends its level: a
    // tree header, or a non-empty row no deeper than it (or the row count).
    std::vector<std::size_t> stop_;
};

// Kinds whose nodes the builder makes (rather than the field parser): the
// suite-node and row-list kinds, and the kinds that lead to them (Definitions,
// BehaviourDescription, lists of tables, choices between tables and groups).
class StructuralKinds {
public:
    bool contains(int32_t kind) {
        auto found = known_.find(kind);
        if (found != known_.end()) return found->second;
        known_[kind] = false;  // a cycle through field kinds leads to no suite node
        const KindInfo& info = kindInfo(kind);
        bool result = info.backing == KindBacking::SuiteNode || info.backing == KindBacking::RowList;
        if (!result) {
            if (info.role == KindRole::Sequence || info.role == KindRole::Choice) {
                for (int32_t i = 0; i < info.itemCount && !result; ++i) result = contains(info.items[i].kind);
            } else if (info.role == KindRole::List) {
                result = contains(info.elementKind());
            }
        }
        known_[kind] = result;
        return result;
    }

private:
    std::unordered_map<int32_t, bool> known_;
};

// Name lookups made once: the kind of each node type, the node type of each
// kind, and which cell of a node type fills which field of a kind.
class Names {
public:
    static Names& instance() {
        static Names names;
        return names;
    }
    int32_t kindOf(SuiteNodeType type) const { return kindOfType_[static_cast<std::size_t>(type)]; }
    SuiteNodeType typeOf(int32_t kind) const {
        return kind > 0 && kind < Choices::last_choice ? typeOfKind_[static_cast<std::size_t>(kind)] : SuiteNodeType::None;
    }
    // For each field of `kind`, the index of the cell of `type` that fills it, or -1.
    const std::vector<int>& cellIndexes(SuiteNodeType type, int32_t kind) {
        int64_t key = (static_cast<int64_t>(type) << 32) | static_cast<uint32_t>(kind);
        auto found = cellIndexes_.find(key);
        if (found != cellIndexes_.end()) return found->second;
        std::vector<int> indexes;
        const NodeLayout& layout = layoutOf(type);
        for (const FieldInfo& field : kindInfo(kind).fields()) indexes.push_back(layout.indexOf(kindInfo(field.kind).name));
        return cellIndexes_.emplace(key, std::move(indexes)).first->second;
    }

private:
    Names() {
        kindOfType_.resize(static_cast<std::size_t>(SuiteNodeType::Last) + 1, Choices::invalid_choice);
        typeOfKind_.resize(Choices::last_choice + 1, SuiteNodeType::None);
        for (int t = 1; t < static_cast<int>(SuiteNodeType::Last); ++t) {
            int32_t kind = kindNamed(suiteNodeTypeName(static_cast<SuiteNodeType>(t)));
            kindOfType_[static_cast<std::size_t>(t)] = kind;
            if (kind > 0 && kind < Choices::last_choice) typeOfKind_[static_cast<std::size_t>(kind)] = static_cast<SuiteNodeType>(t);
        }
    }
    std::vector<int32_t> kindOfType_;
    std::vector<SuiteNodeType> typeOfKind_;
    std::unordered_map<int64_t, std::vector<int>> cellIndexes_;
};

class Builder {
public:
    explicit Builder(Document& document) : document_(document), arena_(document.arena()) {}

    TreeNode* build() {
        SuiteNode* root = document_.root();
        if (root->treeNode) return root->treeNode;
        std::vector<SuiteNode*> scope{root};
        for (SuiteNode* part : root->children) scope.push_back(part);
        root->treeNode = buildSequence(Choices::ASuite, root, scope);
        if (SuiteNode* imports = document_.part(SuiteNodeType::ImportPart))
            imports->treeNode = buildSequence(Choices::ImportPart, imports, scope);
        return root->treeNode;
    }

private:
    TreeNode* buildSequence(int32_t kind, SuiteNode* self, const std::vector<SuiteNode*>& scope) {
        const KindInfo& info = kindInfo(kind);
        auto fields = info.fields();
        TreeNode* node = arena_.make(kind, static_cast<int32_t>(fields.size()), self ? self->line : 0);
        const std::vector<int>* cellIndexes = self ? &names_.cellIndexes(self->type, kind) : nullptr;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            int32_t fieldKind = fields[i].kind;
            int cellIndex = cellIndexes ? (*cellIndexes)[i] : -1;
            const Cell* cell = cellIndex >= 0 ? &self->cells[static_cast<std::size_t>(cellIndex)] : nullptr;
            if (cell) {
                node->child[i] = cell->tree;
            } else if (kind == Choices::ASuite && fieldKind == Choices::SuiteId) {
                node->child[i] = arena_.make(Choices::SuiteId,
                                             {arena_.makeText(Choices::Identifier, document_.name(), self->line)},
                                             self->line);
            } else if (structural_.contains(fieldKind)) {
                node->child[i] = buildField(fieldKind, self, scope);
            }
        }
        return node;
    }

    // A field of a suite node that is not one of its cells.
    TreeNode* buildField(int32_t kind, SuiteNode* self, const std::vector<SuiteNode*>& scope) {
        const KindInfo& info = kindInfo(kind);
        SuiteNodeType type = names_.typeOf(kind);
        if (type != SuiteNodeType::None) {
            SuiteNode* found = nullptr;
            if (suiteNodeRole(type) == NodeRole::Part) {
                found = document_.part(type);
            } else {
                for (SuiteNode* container : scope) {
                    for (SuiteNode* child : container->children)
                        if (child->type == type) {
                            found = child;
                            break;
                        }
                    if (found) break;
                }
            }
            if (!found) return buildSequence(kind, nullptr, {});  // the table is not in the file: empty
            return suiteNode(found, scope);
        }
        if (kind == Choices::BehaviourDescription) return behaviourDescription(self);
        if (info.role == KindRole::List) return buildList(kind, self, scope);
        if (info.role == KindRole::Sequence) return buildSequence(kind, self, scope);
        return nullptr;
    }

    TreeNode* suiteNode(SuiteNode* node, const std::vector<SuiteNode*>& scope) {
        if (node->treeNode) return node->treeNode;
        int32_t kind = names_.kindOf(node->type);
        if (node->role == NodeRole::Group) node->treeNode = buildSequence(kind, node, {node});
        else if (node->role == NodeRole::Part) node->treeNode = buildSequence(kind, node, scope);
        else node->treeNode = buildSequence(kind, node, {});
        return node->treeNode;
    }

    TreeNode* buildList(int32_t kind, SuiteNode* self, const std::vector<SuiteNode*>& scope) {
        int32_t element = kindInfo(kind).elementKind();
        const KindInfo& elementInfo = kindInfo(element);
        std::vector<TreeNode*> items;
        SuiteNodeType rowType = self ? layoutOf(self->type).rowType : SuiteNodeType::None;
        if (rowType != SuiteNodeType::None && names_.kindOf(rowType) == element) {
            // A flat row list: the non-empty rows of the table.
            for (SuiteNode* row : self->rows)
                if (!row->isEmpty()) items.push_back(rowNode(row, 0));
        } else if (elementInfo.role == KindRole::Choice) {
            for (SuiteNode* container : scope)
                for (SuiteNode* child : container->children) {
                    if (elementInfo.hasAlternative(names_.kindOf(child->type)))
                        items.push_back(arena_.make(element, {suiteNode(child, scope)}, child->line));
                }
        } else {
            SuiteNodeType type = names_.typeOf(element);
            if (type != SuiteNodeType::None)
                for (SuiteNode* container : scope)
                    for (SuiteNode* child : container->children)
                        if (child->type == type) items.push_back(suiteNode(child, scope));
        }
        TreeNode* list = arena_.make(kind, std::span<TreeNode* const>(items.data(), items.size()), self ? self->line : 0);
        return list;
    }

    TreeNode* rowNode(SuiteNode* row, int32_t number) {
        if (row->treeNode) return row->treeNode;
        TreeNode* node = buildSequence(names_.kindOf(row->type), row, {});
        if (row->type == SuiteNodeType::BehaviourLine && node->count > 0 && node->child[0] == nullptr) {
            // The line number is always there: the row's number in its table.
            std::string text = std::to_string(number);
            node->child[0] = arena_.make(Choices::LineNumber, {arena_.makeText(Choices::Number, text, row->line)}, row->line);
        }
        row->treeNode = node;
        return node;
    }

    TreeNode* rowList(int32_t kind, std::span<SuiteNode* const> rows, const std::vector<std::size_t>& picked,
                      int32_t line) {
        std::vector<TreeNode*> items;
        items.reserve(picked.size());
        for (std::size_t i : picked) items.push_back(rows[i]->treeNode);
        return arena_.make(kind, std::span<TreeNode* const>(items.data(), items.size()), line);
    }

    TreeNode* behaviourDescription(SuiteNode* table) {
        const std::span<SuiteNode* const> rows = table ? std::span<SuiteNode* const>(table->rows) : std::span<SuiteNode* const>();
        int32_t line = table ? table->line : 0;
        // One node per row, numbered as the table numbers its non-empty rows.
        int32_t number = 0;
        for (SuiteNode* row : rows) rowNode(row, row->isEmpty() ? 0 : ++number);
        const int32_t childrenField = kindInfo(Choices::BehaviourLine).fieldCount() - 1;
        const RowLevels levels(rows);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (isTreeHeader(rows[i])) continue;
            long start = levels.childrenStart(i);
            std::vector<std::size_t> picked;
            if (start >= 0) picked = levels.levelList(static_cast<std::size_t>(start));
            TreeNode* node = rows[i]->treeNode;
            if (childrenField >= 0 && childrenField < node->count)
                node->child[childrenField] = rowList(Choices::Children, rows, picked, rows[i]->line);
        }
        TreeNode* root = rowList(Choices::RootTree, rows, levels.levelList(0), line);
        std::vector<TreeNode*> localTrees;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (!isTreeHeader(rows[i])) continue;
            const Cell* header = &rows[i]->cells.back();  // the Header cell of a behaviour row
            TreeNode* lines = rowList(Choices::BehaviourLineList, rows, levels.levelList(i + 1), rows[i]->line);
            TreeNode* localTree = arena_.make(Choices::LocalTree, {header ? header->tree : nullptr, lines}, rows[i]->line);
            localTrees.push_back(localTree);
        }
        TreeNode* list = arena_.make(Choices::LocalTreeList,
                                     std::span<TreeNode* const>(localTrees.data(), localTrees.size()), line);
        TreeNode* description = arena_.make(Choices::BehaviourDescription, {root, list}, line);
        return description;
    }

    Document& document_;
    TreeArena& arena_;
    StructuralKinds structural_;
    Names& names_ = Names::instance();
};

}  // namespace

std::vector<std::size_t> levelList(std::span<SuiteNode* const> rows, std::size_t start) {
    return RowLevels(rows).levelList(start);
}

long childrenStart(std::span<SuiteNode* const> rows, std::size_t line) {
    return RowLevels(rows).childrenStart(line);
}

TreeNode* buildSuiteTree(Document& document) { return Builder(document).build(); }
