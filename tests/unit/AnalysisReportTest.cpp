// The per-table analysis report and the summary that closes an analysis. The
// common placements (named rows, numbered rows, the table body) are checked
// through whole analyses in SuiteAnalysisTest; here the rest.
#include "suite/analysis/AnalysisReport.h"

#include <gtest/gtest.h>

namespace {

ReportedMessage message(Severity severity, MessagePlace place, std::string field, std::string text) {
    ReportedMessage m;
    m.severity = severity;
    m.place = place;
    m.fieldName = std::move(field);
    m.text = std::move(text);
    return m;
}

}  // namespace

TEST(AnalysisReport, HeaderFieldsLabelledRowsAndNamedNumberedRows) {
    TableReport table;
    table.tableName = "TC_1";
    table.definesObject = true;
    table.qualifier = "TestCase";
    table.tableType = "TestCase";
    ReportedMessage header = message(Severity::Warning, MessagePlace::HeaderField, "Comment", "Check this.");
    ReportedMessage labelled = message(Severity::Error, MessagePlace::LabelledRow, "Label", "The label L1 is not unique.");
    labelled.rowNumber = 5;
    labelled.rowLabel = "L1";
    ReportedMessage named = message(Severity::Error, MessagePlace::NamedNumberedRow, "ElemValue", "OMIT is not allowed here.");
    named.rowName = "elem";
    named.rowNumber = 6;
    table.messages = {header, labelled, named};
    EXPECT_EQ(formatTableReport(table),
              "=============================================\n"
              "Analysis of the table: TC_1 (TestCase) of type: TestCase\n"
              "Warning:\n"
              "  Comment:\n"
              "Check this.\n"
              "\n"
              "  Row: (#5) [#L1]\n"
              "Error:\n"
              "    Label:\n"
              "The label L1 is not unique.\n"
              "\n"
              "  Row: elem(#6)\n"
              "Error:\n"
              "    ElemValue:\n"
              "OMIT is not allowed here.\n"
              "\n");
    EXPECT_TRUE(table.hasErrors());
    EXPECT_TRUE(table.hasWarnings());
    EXPECT_EQ(formatTableReport(TableReport{}), "");
}

TEST(AnalysisSummary, ChoosesTheFirstCaseThatApplies) {
    AnalysisOutcome both;
    both.tablesWithErrors = 2;
    both.tablesWithWarnings = 1;
    both.errorLimitReached = true;  // counts win over the limit line
    EXPECT_EQ(formatAnalysisSummary(both),
              "Analyzer done.\n\nErrors found in 2 tables.\nFurthermore warnings found in 1 tables.\n");

    AnalysisOutcome limit;
    limit.errorLimitReached = true;
    EXPECT_EQ(formatAnalysisSummary(limit), ">>> The error limit is reached and the analysis terminated.\n");
}
