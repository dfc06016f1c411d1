// The field layout of every suite node type: which schema fields its cells
// are, in schema order, and the MP keywords that fill each of them.
#pragma once

#include "suite/mp/Document.h"

#include <cstdint>
#include <initializer_list>
#include <string_view>

// One field of a layout.
struct FieldLayout {
    // The schema kind name of the field ("TestCaseId").
    std::string_view field;
    // The MP keywords (without "$") that fill it, '|'-separated: the first is
    // the usual spelling, the others are accepted variants.
    std::string_view keywords;
};

struct NodeLayout {
    SuiteNodeType type = SuiteNodeType::None;
    // The MP names that open the node: for a table "X" of "$Begin_X", for a
    // group or row "X" of "$X ... $End_X", '|'-separated variants.
    std::string_view keywords;
    // The cells, in schema order.
    const FieldLayout* fields = nullptr;
    int fieldCount = 0;
    // Tables with a body: the row type and the MP names of the grouping that
    // may wrap the rows ("ElemDcls"), '|'-separated, empty when none.
    SuiteNodeType rowType = SuiteNodeType::None;
    std::string_view rowGroupings;

    // Index of the cell of a schema field, -1 when none.
    int indexOf(std::string_view field) const;
    // Index of the cell "DetailedComment" (the footer "$Comment"), -1 when none.
    int detailedCommentIndex() const;
    // The Choices value of the field of cell `index` (looked up once per process).
    int32_t fieldKind(int index) const;
};

// The layout of a node type (an empty layout for types without cells).
const NodeLayout& layoutOf(SuiteNodeType type);

// The node type opened by "$Begin_<name>" (tables), or by "$<name>" (groups,
// rows, parts); None when the name is not known.
SuiteNodeType tableByKeyword(std::string_view name);
SuiteNodeType groupOrRowByKeyword(std::string_view name);
// The same for a keyword given by its number (keywordNumber below).
SuiteNodeType tableByKeyword(int number);
SuiteNodeType groupOrRowByKeyword(int number);
// Index of the cell of `layout` that `keyword` (without "$") fills: the first
// matching cell not yet `filled` (filled[i] for cell i); -1 when none is left.
int fieldForKeyword(const NodeLayout& layout, std::string_view keyword, const bool* filled);

// Does `list` ('|'-separated) contain `name`?
bool keywordListContains(std::string_view list, std::string_view name);

// The MP names that some layout knows (field keywords, row names, row
// groupings), numbered once per process, so that the reader looks each
// keyword up once and then answers every question about it by index.
// -1 for a name that no layout knows.
int keywordNumber(std::string_view name);

// What a keyword means inside the node of a type.
struct KeywordMeaning {
    // The cells it fills, bit i for cell i (in layout order; layouts have
    // fewer than 64 cells).
    uint64_t cells = 0;
    // A table's body: it opens a row of the table's row type.
    bool opensRow = false;
    // A table's body: it names the grouping around the rows ("ElemDcls").
    bool groupsRows = false;
};
// The meaning of keyword `number` (from keywordNumber) in the node of `type`;
// nothing for -1.
const KeywordMeaning& keywordMeaning(SuiteNodeType type, int number);
