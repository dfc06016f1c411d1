// Test helpers for the field parsers: a conformance check of a parse tree
// against the suite tree schema, and a compact text form of a tree that the
// tests compare with hand-written expectations.
#pragma once

#include "tree/Choices.h"
#include "tree/KindInfo.h"
#include "tree/TreeNode.h"

#include <string>

// Every violation of the node conventions in the tree, one per line (empty
// when the tree conforms): a sequence has one child per field, the kinds of
// the present fields match, mandatory fields are there; a choice holds one
// child that is one of its alternatives; a list holds elements of its element
// kind; leaves have no children. `allowAbsent` names mandatory fields that the
// parsers leave null on purpose ("Kind.field"), separated by blanks.
inline void checkNode(const TreeNode* n, std::string& out, int depth = 0) {
    if (!n) return;
    if (depth > 10000) { out += "too deep\n"; return; }
    const KindInfo& info = kindInfo(n->kind);
    std::string name = info.name;
    switch (info.role) {
    case KindRole::Sequence: {
        auto fields = info.fields();
        if (n->count != static_cast<int32_t>(fields.size())) {
            out += name + ": " + std::to_string(n->count) + " children for " + std::to_string(fields.size()) + " fields\n";
            return;
        }
        for (int32_t i = 0; i < n->count; ++i) {
            const TreeNode* c = n->child[i];
            if (!c) {
                if (!fields[i].optional && !(n->kind == Choices::NamedNumber && i == 1)
                    && !(n->kind == Choices::NamedType && i == 0))
                    out += name + ": mandatory field " + std::to_string(i) + " missing\n";
                continue;
            }
            if (c->kind != fields[i].kind)
                out += name + ": field " + std::to_string(i) + " is " + kindInfo(c->kind).name + ", not "
                    + kindInfo(fields[i].kind).name + "\n";
            checkNode(c, out, depth + 1);
        }
        return;
    }
    case KindRole::Choice:
        if (n->count != 1 || !n->child[0]) { out += name + ": choice without one alternative\n"; return; }
        if (!info.hasAlternative(n->child[0]->kind))
            out += name + ": " + kindInfo(n->child[0]->kind).name + " is no alternative\n";
        checkNode(n->child[0], out, depth + 1);
        return;
    case KindRole::List:
        for (int32_t i = 0; i < n->count; ++i) {
            const TreeNode* c = n->child[i];
            if (!c || c->kind != info.elementKind()) { out += name + ": bad element\n"; continue; }
            checkNode(c, out, depth + 1);
        }
        return;
    case KindRole::TextLeaf:
    case KindRole::KeywordLeaf:
        if (n->count != 0) out += name + ": leaf with children\n";
        return;
    default:
        out += "node of kind " + std::to_string(n->kind) + " is no tree kind\n";
    }
}

inline std::string schemaViolations(const TreeNode* n) {
    std::string out;
    checkNode(n, out);
    return out;
}

// Compact form: a choice is shown as its alternative alone (the schema check
// covers the choice levels); a sequence or list as Kind(child, ...), "-" for
// an absent field; a text leaf as Kind"text"; a keyword leaf as its kind.
// The Identifier and Number leaves show their text alone, in quotes.
inline void appendCompact(const TreeNode* n, std::string& out) {
    if (!n) { out += "-"; return; }
    const KindInfo& info = kindInfo(n->kind);
    switch (info.role) {
    case KindRole::Choice:
        if (n->count == 1) { appendCompact(n->child[0], out); return; }
        out += "?";
        return;
    case KindRole::TextLeaf:
        if (n->kind != Choices::Identifier && n->kind != Choices::Number) out += info.name;
        out += "\"";
        out += n->text;
        out += "\"";
        return;
    case KindRole::KeywordLeaf:
        out += info.name;
        return;
    default:
        out += info.name;
        out += "(";
        for (int32_t i = 0; i < n->count; ++i) {
            if (i) out += ", ";
            appendCompact(n->child[i], out);
        }
        out += ")";
    }
}

inline std::string compact(const TreeNode* n) {
    std::string out;
    appendCompact(n, out);
    return out;
}
