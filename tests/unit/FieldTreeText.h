// Test helpers for the field parsers: the schema check of a parse tree with
// the parsers' known gaps, and a compact text form of a tree that the tests
// compare with hand-written expectations.
#pragma once

#include "tree/Choices.h"
#include "tree/KindInfo.h"
#include "tree/TreeBuild.h"
#include "tree/TreeNode.h"

#include <string>

// "" when the tree conforms to the suite tree schema, else the first mismatch
// (tree/TreeBuild.h). Two mandatory fields are left null by the parsers on
// purpose: the number of an enumeration item written without one
// (NamedNumber) and the name of an unnamed alternative (NamedType).
inline std::string schemaViolations(const TreeNode* n) {
    return treeShapeError(n, [](int32_t kind, int32_t field) {
        return (kind == Choices::NamedNumber && field == 1) || (kind == Choices::NamedType && field == 0);
    });
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
