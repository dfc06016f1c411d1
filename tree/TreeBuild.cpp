#include "tree/TreeBuild.h"

#include "tree/Choices.h"
#include "tree/KindInfo.h"

#include <algorithm>
#include <vector>

TreeNode* makeSequence(TreeArena& arena, int32_t kind, std::initializer_list<TreeNode*> fields, int32_t line) {
    const int32_t count = std::max(kindInfo(kind).fieldCount(), static_cast<int32_t>(fields.size()));
    TreeNode* node = arena.make(kind, count, line);
    std::copy(fields.begin(), fields.end(), node->child);
    return node;
}

TreeNode* makeChoice(TreeArena& arena, int32_t kind, TreeNode* alternative, int32_t line) {
    return arena.make(kind, {alternative}, line);
}

TreeNode* makeList(TreeArena& arena, int32_t kind, std::span<TreeNode* const> elements, int32_t line) {
    return arena.make(kind, elements, line);
}

TreeNode* makeList(TreeArena& arena, int32_t kind, std::initializer_list<TreeNode*> elements, int32_t line) {
    return arena.make(kind, elements, line);
}

TreeNode* makeKeyword(TreeArena& arena, int32_t kind, int32_t keywordCode, int32_t line) {
    TreeNode* node = arena.make(kind, 0, line);
    node->production = keywordCode;
    return node;
}

TreeNode* makeText(TreeArena& arena, int32_t kind, std::string_view text, int32_t line) {
    return arena.makeText(kind, text, line);
}

int32_t fieldIndex(int32_t sequenceKind, int32_t fieldKind) {
    const auto fields = kindInfo(sequenceKind).fields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].kind == fieldKind) return static_cast<int32_t>(i);
    return -1;
}

namespace {

std::string name(int32_t kind) { return kindInfo(kind).name; }

// A node as the schema sees it: its kind, and the record that holds it (its
// own, or for an elided kind the record of what it wraps).
struct Logical {
    int32_t kind;
    const TreeNode* record;
};

// The kind that slot `index` of an own record of `kind` holds its child as.
int32_t slotKind(int32_t kind, int32_t index, const TreeNode* child) {
    const KindInfo& info = kindInfo(kind);
    switch (info.role) {
    case KindRole::Sequence: return index < info.itemCount ? info.items[index].kind : child->kind;
    case KindRole::List: return info.elementKind();
    case KindRole::Choice: {
        const int32_t step = stepToward(kind, child->kind);
        return step != Choices::invalid_choice ? step : child->kind;
    }
    default: return child->kind;
    }
}

// The parts of a node in order; null records for absent fields.
std::vector<Logical> partsOf(const Logical& node) {
    const TreeNode* r = node.record;
    if (r->kind != node.kind) return {{stepToward(node.kind, r->kind), r}};
    std::vector<Logical> out;
    for (int32_t i = 0; i < r->count; ++i) {
        const TreeNode* c = r->child[i];
        out.push_back({c ? slotKind(node.kind, i, c) : 0, c});
    }
    return out;
}

// What is wrong with this one node, ignoring its parts' own contents.
std::string nodeError(const Logical& logical, MissingFieldAllowance mayBeMissing) {
    const TreeNode* node = logical.record;
    // A node of an elided kind standing on the record of what it wraps.
    if (node->kind != logical.kind) return kindHolds(logical.kind, node->kind) ? "" : "holds " + name(node->kind);
    const KindInfo& info = kindInfo(node->kind);
    if (!info.isTreeKind()) return "kind " + std::to_string(node->kind) + " is not a tree kind";
    switch (info.role) {
    case KindRole::Sequence: {
        const auto fields = info.fields();
        if (node->count != static_cast<int32_t>(fields.size()))
            return "has " + std::to_string(node->count) + " slots for " + std::to_string(fields.size()) + " fields";
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const TreeNode* c = node->child[i];
            const std::string which = "field " + std::to_string(i) + " (" + name(fields[i].kind) + ")";
            if (c == nullptr && !fields[i].optional && !(mayBeMissing && mayBeMissing(node->kind, int32_t(i))))
                return which + " is missing";
            if (c != nullptr && !kindHolds(fields[i].kind, c->kind)) return which + " holds " + name(c->kind);
        }
        return "";
    }
    case KindRole::Choice:
        if (node->count != 1 || node->child[0] == nullptr) return "a choice needs exactly one alternative";
        if (stepToward(node->kind, node->child[0]->kind) == Choices::invalid_choice)
            return name(node->child[0]->kind) + " is not an alternative";
        return "";
    case KindRole::List:
        for (int32_t i = 0; i < node->count; ++i) {
            const TreeNode* c = node->child[i];
            if (c == nullptr || !kindHolds(info.elementKind(), c->kind))
                return "element " + std::to_string(i) + " is " + (c ? name(c->kind) : "missing");
        }
        return "";
    default:
        return node->count == 0 ? "" : "a leaf has no children";
    }
}

}  // namespace

std::string treeShapeError(const TreeNode* root, MissingFieldAllowance mayBeMissing) {
    if (root == nullptr) return "no tree";
    // Explicit stack of (node, path): deep trees must not overflow the call stack.
    std::vector<std::pair<Logical, std::string>> pending{{{root->kind, root}, name(root->kind)}};
    while (!pending.empty()) {
        auto [node, path] = std::move(pending.back());
        pending.pop_back();
        if (std::string error = nodeError(node, mayBeMissing); !error.empty()) return path + ": " + error;
        const std::vector<Logical> parts = partsOf(node);
        for (auto part = parts.rbegin(); part != parts.rend(); ++part)
            if (part->record) pending.emplace_back(*part, path + "/" + name(part->kind));
    }
    return "";
}

std::string treeToText(const TreeNode* root) {
    std::string out;
    // Each entry is a node to print, or a closing parenthesis.
    struct Step {
        Logical node;
        bool close;
        bool comma;
    };
    std::vector<Step> pending{{{root ? int32_t(root->kind) : 0, root}, false, false}};
    while (!pending.empty()) {
        const Step step = pending.back();
        pending.pop_back();
        if (step.comma) out += ", ";
        if (step.close) {
            out += ')';
            continue;
        }
        const TreeNode* record = step.node.record;
        if (record == nullptr) {
            out += '-';
            continue;
        }
        const int32_t kind = step.node.kind;
        out += name(kind);
        if (record->kind == kind && kindInfo(kind).isTextLeaf()) {
            out += '"';
            out += record->text();
            out += '"';
        }
        const std::vector<Logical> parts = partsOf(step.node);
        if (parts.empty()) {
            if (kindInfo(kind).role == KindRole::List) out += "()";
            continue;
        }
        out += '(';
        pending.push_back({{0, nullptr}, true, false});
        for (std::size_t i = parts.size(); i-- > 0;) pending.push_back({parts[i], false, i > 0});
    }
    return out;
}
