// The analysis driver: parses every cell of every table of a system of
// documents, resolves the names of the parse trees against the symbol tables,
// attaches the referenced ASN.1 definitions to the by-reference rows, and
// reports table by table.
#pragma once

#include "suite/LibraryError.h"
#include "suite/analysis/AnalysisReport.h"
#include "suite/analysis/DefinedFlags.h"
#include "suite/analysis/SymbolTables.h"
#include "suite/mp/VeldSystem.h"

#include <cstdio>
#include <unordered_map>

class Asn1Association;

enum class AnalysisMode { Ordinary, Incremental };

// The system's analysis state; Analysed and AnalysedWithWarnings are the two
// success states.
enum class AnalysisState { NotAnalysed, Analysed, AnalysedWithWarnings, AnalysedWithErrors };

inline bool analysisSucceeded(AnalysisState state) {
    return state == AnalysisState::Analysed || state == AnalysisState::AnalysedWithWarnings;
}

struct AnalysisRequest {
    AnalysisMode mode = AnalysisMode::Ordinary;
    int errorLimit = 0;           // errors after which the analysis stops; none when zero
    std::FILE* report = nullptr;  // the report stream; none: nothing is printed
    int skippedItems = 0;
};

class SuiteAnalyzer {
public:
    SuiteAnalyzer(VeldSystem& system, SymbolTables& symbols, const DefinedFlags& flags)
        : system_(system), symbols_(symbols), flags_(flags) {}

    // Where the ASN.1 definitions of the by-reference rows come from; none: no
    // module is loaded.
    void setAsn1Association(const Asn1Association* association) { association_ = association; }

    // Analyses every document of the system from `root` (its root document).
    // Rebuilds the import graph and the symbol tables first.
    AnalysisState analyseSystem(Document* root, const AnalysisRequest& request, LibraryError& error);

    // Parses and resolves one table (or group) of `document`; the messages
    // found, in report order.
    TableReport parseTable(Document& document, SuiteNode& table);

    const AnalysisOutcome& outcome() const { return outcome_; }
    AnalysisState state() const { return state_; }
    int errorCount() const { return errors_; }

private:
    class TableRun;
    struct PendingMessage {
        int rowNumber;  // the message goes before this row's own messages
        ReportedMessage message;
    };

    VeldSystem& system_;
    SymbolTables& symbols_;
    const DefinedFlags& flags_;
    const Asn1Association* association_ = nullptr;
    std::FILE* report_ = nullptr;
    AnalysisOutcome outcome_;
    AnalysisState state_ = AnalysisState::NotAnalysed;
    int errors_ = 0;
    // Findings of the conditional rows of each table body, kept from the
    // filtering before the parse until the table's turn.
    std::unordered_map<const SuiteNode*, std::vector<PendingMessage>> bodyFindings_;
};
