// The analysis's one door to the field parsers: a cell's text in, its parse
// tree and the parser's findings out, whatever the parser's own form.
#pragma once

#include "tree/TreeArena.h"
#include "suite/LibraryError.h"
#include "suite/analysis/AnalysisMessages.h"
#include "suite/fields/FieldParser.h"

#include <string>
#include <string_view>
#include <vector>

// One finding about a field: a catalogue number, its arguments and severity.
struct CellFinding {
    int message = 0;
    Severity severity = Severity::Error;
    std::vector<AnalysisArgument> arguments;
};

struct ParsedField {
    TreeNode* tree = nullptr;
    std::vector<CellFinding> findings;
    // A failure of the scanner's own machinery (reported as "Scanner: %s.\n").
    std::string scannerFailure;
};

// Parses `text`, the cell of field `field` (its schema kind name), whose
// keyword stood on `line`; the tree's nodes go into `arena`, its leaves refer
// to `text`, which must live as long as the arena.
// `callable` tells calls from named values where the text cannot.
ParsedField parseCellText(std::string_view field, std::string_view text, int line, TreeArena& arena,
                          const CallableName& callable = {});
// The same for a field given by its kind (SuiteNode::kindOf).
ParsedField parseCellText(int32_t fieldKind, std::string_view text, int line, TreeArena& arena,
                          const CallableName& callable = {});
