#include "suite/analysis/AnalysisReport.h"

namespace {

const char* severityName(Severity s) { return s == Severity::Error ? "Error" : "Warning"; }

// The line that introduces the messages of one body row in the numbered forms.
std::string rowLine(const ReportedMessage& m) {
    switch (m.place) {
    case MessagePlace::Body:
        return "  Body:\n";
    case MessagePlace::NumberedRow:
        return "  Row: (#" + std::to_string(m.rowNumber) + ")\n";
    case MessagePlace::LabelledRow:
        return "  Row: (#" + std::to_string(m.rowNumber) + ") [#" + m.rowLabel + "]\n";
    case MessagePlace::NamedNumberedRow:
        return "  Row: " + m.rowName + "(#" + std::to_string(m.rowNumber) + ")\n";
    default:
        return {};
    }
}

}  // namespace

bool TableReport::hasErrors() const {
    for (const ReportedMessage& m : messages)
        if (m.severity == Severity::Error) return true;
    return false;
}

bool TableReport::hasWarnings() const {
    for (const ReportedMessage& m : messages)
        if (m.severity == Severity::Warning) return true;
    return false;
}

std::string formatTableReport(const TableReport& table) {
    if (table.messages.empty()) return {};
    std::string out = "=============================================\n";
    out += "Analysis of the table: " + table.tableName;
    if (table.definesObject) out += " (" + table.qualifier + ") of type: " + table.tableType;
    out += '\n';

    std::string currentRow;  // the row line last written, so that a row's messages share it
    for (const ReportedMessage& m : table.messages) {
        std::string line = rowLine(m);
        if (!line.empty() && line != currentRow) out += line;
        currentRow = line;
        out += severityName(m.severity);
        out += ":\n";
        switch (m.place) {
        case MessagePlace::HeaderField:
            out += "  " + m.fieldName + ":\n" + m.text + "\n\n";
            break;
        case MessagePlace::NamedRowField:
            out += "  Row: " + m.rowName + " (" + m.rowQualifier + ")\n    " + m.fieldName + ":\n" + m.text +
                   "\n\n";
            break;
        default:
            // A message about the body as a whole names no field.
            if (!m.fieldName.empty()) out += "    " + m.fieldName + ":\n";
            out += m.text + "\n\n";
            break;
        }
    }
    return out;
}

std::string formatAnalysisSummary(const AnalysisOutcome& o) {
    if (o.tablesWithErrors > 0 || o.tablesWithWarnings > 0) {
        std::string out = "Analyzer done.\n\n";
        if (o.tablesWithErrors > 0)
            out += "Errors found in " + std::to_string(o.tablesWithErrors) + " tables.\n";
        if (o.tablesWithWarnings > 0) {
            out += o.tablesWithErrors > 0 ? "Furthermore w" : "W";
            out += "arnings found in " + std::to_string(o.tablesWithWarnings) + " tables.\n";
        }
        return out;
    }
    if (o.errorLimitReached) return ">>> The error limit is reached and the analysis terminated.\n";
    if (!o.incremental) return "Analyzer done.\n\nNo Errors found.\n";
    if (o.skippedItems > 0) return ">>> " + std::to_string(o.skippedItems) + " items are skipped.\n";
    return {};
}

std::string formatScannerFailure(const std::string& what) { return "Scanner: " + what + ".\n"; }
