// The field parsers: every table cell of a TTCN-2 suite is parsed with the
// grammar of its field into a subtree of suite tree nodes (tree/TreeNode.h).
//
// Node conventions: a sequence node has one child per field in schema order
// (null for an absent optional field); a choice node has exactly one child,
// the alternative (nested choice levels are nested nodes); a list node has
// its elements as children; text leaves carry `text`. Every node records in
// `production` what built it: the node's own kind, which for a keyword leaf
// is also its keyword code.
#pragma once

#include "tree/TreeArena.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// One syntax-level finding: an analysis catalogue number, its arguments in
// placeholder order, and the offset in the field text it is about. For
// message 50 ("Syntax error:~A") the one argument is the text from the place
// of the error to the end of its line, so that the place can be shown.
struct FieldFinding {
    int32_t message = 0;
    std::vector<std::string> arguments;
    int32_t offset = 0;
};

struct FieldParseResult {
    // The subtree of the requested kind; null for an empty cell or when the
    // text does not parse.
    TreeNode* tree = nullptr;
    std::vector<FieldFinding> findings;
    bool hasErrors() const { return !findings.empty(); }
};

// Asked where the text alone cannot tell a call from a named value: true when
// `name` denotes something called with arguments (a constraint or an
// operation). In `{ cause (1, 2) }` a name that is none of these is a
// component whose value is a value list. Without an answer (an empty
// function) such a name is taken for a call.
using CallableName = std::function<bool(std::string_view name)>;

// Parses the text of one cell whose schema kind is `fieldKind` (for example
// Choices::TS_ConstValue, Choices::Line, Choices::TestCaseId,
// Choices::ASN1_TypeDefinition, Choices::Comment). Nodes are allocated in
// `arena` and carry `line`. Free-text fields become text leaves (the text
// between "/*" and "*/", trimmed). Never throws, never recurses without
// bound: nesting deeper than kMaxFieldNesting is a syntax finding.
FieldParseResult parseField(int32_t fieldKind, std::string_view text, int32_t line, TreeArena& arena,
                            const CallableName& callable = {});

// True for the kinds of cell parse trees (the schema's `field` backing): every
// cell kind of the MP importer's table layouts has a grammar here; parseField
// reports "Internal error" (38) for a field kind that has none.
bool isFieldKind(int32_t fieldKind);

// A call `Name(args)` is an operation call or a constraint reference; the
// parser guesses from where it stands (constraint reference at the top of a
// constraint value, operation call inside expressions). Once the name is
// resolved, the analysis turns an OpCall node into a ConsRef node or back:
// the node's kind and the kind of its parameter list change, nothing else.
void reclassifyCall(TreeNode* call, bool toConstraintReference);

inline constexpr int kMaxFieldNesting = 200;
