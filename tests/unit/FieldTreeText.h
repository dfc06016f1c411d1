// Test helpers for the field parsers: the schema check of a parse tree with
// the parsers' known gaps, and a compact text form of a tree that the tests
// compare with hand-written expectations.
#pragma once

#include "tree/AccessNode.h"
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
// The Identifier and Number leaves show their text alone, in quotes. The tree
// is read by kind (childAt), as the schema has it, whichever records hold it.
inline void appendCompact(const AccessNode& n, std::string& out) {
    if (n.isEmpty()) { out += "-"; return; }
    const KindInfo& info = kindInfo(n.choice());
    switch (info.role) {
    case KindRole::Choice:
        if (childCount(n) == 1) { appendCompact(childAt(n, 0), out); return; }
        out += "?";
        return;
    case KindRole::TextLeaf:
        if (n.choice() != Choices::Identifier && n.choice() != Choices::Number) out += info.name;
        out += "\"";
        out += n.treeNode()->text();
        out += "\"";
        return;
    case KindRole::KeywordLeaf:
        out += info.name;
        return;
    default:
        out += info.name;
        out += "(";
        for (int32_t i = 0; i < childCount(n); ++i) {
            if (i) out += ", ";
            appendCompact(childAt(n, i), out);
        }
        out += ")";
    }
}

inline std::string compact(const TreeNode* n) {
    std::string out;
    appendCompact(n ? AccessNode(n->kind, n) : AccessNode(), out);
    return out;
}
