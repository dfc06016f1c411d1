// What the suite tree schema says about each kind, as a table the MP importer,
// the field parsers and the tests can query: the role of a kind, its fields in
// order with their optional flags, the alternatives of a choice, the element
// kind of a list, and whether a leaf carries text or is a keyword.
//
// The table is generated from tree/schema.def together with Choices and the
// typed views, so all of them always agree.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

enum class KindRole : uint8_t {
    Invalid,      // invalid_choice, last_choice and values outside 1..748
    Sequence,     // fixed fields in order, each mandatory or optional
    List,         // zero or more elements of one kind
    Choice,       // exactly one alternative out of a fixed set
    TextLeaf,     // carries the text of a cell or lexical item
    KeywordLeaf,  // carries nothing beyond its kind
    Object,       // a symbol-table object kind (698..747), never a tree node
};

enum class KindBacking : uint8_t {
    None,       // not a tree kind
    SuiteNode,  // the suite, its parts, tables, rows and groups, built by the MP importer
    RowList,    // a list whose elements are table rows
    Field,      // a node of a cell's parse tree, built by a field parser
};

// One item of a kind: a field of a sequence, an alternative of a choice, or
// the element of a list (then the only item).
struct FieldInfo {
    int32_t kind;
    bool optional;
    const char* accessor;
};

struct KindInfo {
    int32_t kind;
    const char* name;
    int32_t slot;  // visitor slot 1..696; 0 for non-tree kinds
    KindRole role;
    KindBacking backing;
    bool reportsKeywordCase;  // choice: reports "Bad kw case label" for unknown keywords
    const FieldInfo* items;
    int32_t itemCount;
    // Parse trees keep no record for a node of this kind that wraps a child:
    // its views stand on the child's record (see kindHolds).
    bool elided;

    bool isTreeKind() const { return slot != 0; }
    bool isLeaf() const { return role == KindRole::TextLeaf || role == KindRole::KeywordLeaf; }
    bool isTextLeaf() const { return role == KindRole::TextLeaf; }
    bool isKeywordLeaf() const { return role == KindRole::KeywordLeaf; }

    // Sequence: the fields in schema order (empty for other roles).
    std::span<const FieldInfo> fields() const;
    int32_t fieldCount() const { return static_cast<int32_t>(fields().size()); }
    // Choice: the alternatives (empty for other roles).
    std::span<const FieldInfo> alternatives() const;
    bool hasAlternative(int32_t kind) const;
    // List: the element kind; invalid_choice for other roles.
    int32_t elementKind() const;
};

// The entry of a kind. Values outside 1..748 give the entry of invalid_choice.
const KindInfo& kindInfo(int32_t kind);
// The tree kind at visitor slot 1..696; invalid_choice for any other slot.
int32_t kindAtSlot(int32_t slot);
// The kind of that exact name (tree kinds, object kinds, invalid_choice,
// last_choice); invalid_choice when there is none.
int32_t kindNamed(std::string_view name);
// Whether a view (or AccessNode) of `kind` can stand on a record of
// `recordKind`: its own kind, or, for an elided kind, the kind of a record it
// wraps through elided kinds.
bool kindHolds(int32_t kind, int32_t recordKind);
// The way down from `kind` to a record of `recordKind`: for a choice the
// alternative that leads to it, for an elided sequence its field;
// invalid_choice when `kind` does not lead there.
int32_t stepToward(int32_t kind, int32_t recordKind);
// Identifier::idType() without its report: the kind that a symbol-table type
// code stands for, invalid_choice for an unmapped code.
int32_t kindOfIdTypeCode(int32_t code);
