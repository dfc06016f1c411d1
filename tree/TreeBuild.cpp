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

// What is wrong with this one node, ignoring its children's own contents.
std::string nodeError(const TreeNode* node, MissingFieldAllowance mayBeMissing) {
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
            if (c != nullptr && c->kind != fields[i].kind) return which + " holds " + name(c->kind);
        }
        return "";
    }
    case KindRole::Choice:
        if (node->count != 1 || node->child[0] == nullptr) return "a choice needs exactly one alternative";
        if (!info.hasAlternative(node->child[0]->kind)) return name(node->child[0]->kind) + " is not an alternative";
        return "";
    case KindRole::List:
        for (int32_t i = 0; i < node->count; ++i) {
            const TreeNode* c = node->child[i];
            if (c == nullptr || c->kind != info.elementKind())
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
    std::vector<std::pair<const TreeNode*, std::string>> pending{{root, name(root->kind)}};
    while (!pending.empty()) {
        auto [node, path] = std::move(pending.back());
        pending.pop_back();
        if (std::string error = nodeError(node, mayBeMissing); !error.empty()) return path + ": " + error;
        for (int32_t i = node->count - 1; i >= 0; --i)
            if (const TreeNode* c = node->child[i]) pending.emplace_back(c, path + "/" + name(c->kind));
    }
    return "";
}

std::string treeToText(const TreeNode* root) {
    std::string out;
    // Each entry is a node to print, or null for a closing parenthesis.
    struct Step {
        const TreeNode* node;
        bool close;
        bool comma;
    };
    std::vector<Step> pending{{root, false, false}};
    while (!pending.empty()) {
        const Step step = pending.back();
        pending.pop_back();
        if (step.comma) out += ", ";
        if (step.close) {
            out += ')';
            continue;
        }
        if (step.node == nullptr) {
            out += '-';
            continue;
        }
        out += name(step.node->kind);
        if (kindInfo(step.node->kind).isTextLeaf()) {
            out += '"';
            out += step.node->text;
            out += '"';
        }
        if (step.node->count == 0) {
            if (kindInfo(step.node->kind).role == KindRole::List) out += "()";
            continue;
        }
        out += '(';
        pending.push_back({nullptr, true, false});
        for (int32_t i = step.node->count - 1; i >= 0; --i) pending.push_back({step.node->child[i], false, i > 0});
    }
    return out;
}
