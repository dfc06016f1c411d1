// Helpers of the MP importer tests: import from text, stand-in parse trees.
#pragma once

#include "TestSupport.h"

#include "suite/mp/MpImport.h"
#include "tree/KindInfo.h"

#include <memory>
#include <string>

inline std::string mpTestDataDir() { return (fs::path(__FILE__).parent_path() / "mp").string(); }

// Imports MP text; warnings go to `log` when given.
inline std::unique_ptr<Document> importText(const std::string& text, LibraryError& error, std::FILE* log = nullptr,
                                            const std::string& fileName = "t.mp") {
    MpImportOptions options;
    options.log = log;
    return importMpText(fileName, text, options, error);
}

// Stands in for the field parser: every non-empty cell gets a text leaf of
// its field's kind, so presence and row identity can be checked.
inline void fillCells(Document& document, SuiteNode* node) {
    for (Cell& cell : node->cells)
        if (!cell.empty()) {
            cell.tree = document.arena().makeText(kindNamed(cell.field), cell.text, cell.line);
            cell.state = ParseState::Parsed;
        }
    for (SuiteNode* row : node->rows) fillCells(document, row);
    for (SuiteNode* child : node->children) fillCells(document, child);
}
