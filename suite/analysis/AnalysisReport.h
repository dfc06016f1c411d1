// The analysis report: one block per table with messages, and the summary
// that closes an analysis.
#pragma once

#include "suite/LibraryError.h"

#include <cstdio>
#include <string>
#include <vector>

// Where in a table a message is about, and so how the report shows it.
enum class MessagePlace {
    HeaderField,       // a field of the table header
    NamedRowField,     // a field of a body row that declares a named object
    Body,              // the table body as a whole
    NumberedRow,       // a body row known by its number
    LabelledRow,       // a body row known by its number and its label
    NamedNumberedRow,  // a body row known by its name and its number
};

struct ReportedMessage {
    Severity severity = Severity::Error;
    MessagePlace place = MessagePlace::HeaderField;
    std::string fieldName;
    std::string rowName;       // NamedRowField, NamedNumberedRow
    std::string rowQualifier;  // NamedRowField
    std::string rowLabel;      // LabelledRow
    int rowNumber = 0;         // counting body rows from 1
    std::string text;          // the formatted catalogue text
};

struct TableReport {
    std::string tableName;
    // For a table that defines a named object: its qualifier and the table's
    // type (both empty for other tables).
    bool definesObject = false;
    std::string qualifier;
    std::string tableType;
    std::vector<ReportedMessage> messages;

    bool hasErrors() const;
    bool hasWarnings() const;
};

// The table's block; empty when it has no messages.
std::string formatTableReport(const TableReport& table);

struct AnalysisOutcome {
    int tablesWithErrors = 0;
    int tablesWithWarnings = 0;
    bool errorLimitReached = false;
    bool incremental = false;
    int skippedItems = 0;
};

// The closing lines of an analysis, the first case that applies.
std::string formatAnalysisSummary(const AnalysisOutcome& outcome);

// "Scanner: %s.\n": a failure of the field scanner's own machinery.
std::string formatScannerFailure(const std::string& what);
