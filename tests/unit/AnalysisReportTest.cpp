// The per-table analysis report and the summary that closes an analysis.
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

TEST(AnalysisReport, HeaderFieldErrorOfAPlainTable) {
    TableReport table;
    table.tableName = "TS_VarDcls";
    table.messages.push_back(message(Severity::Error, MessagePlace::HeaderField, "Comment",
                                     "The referenced object x is not declared."));
    EXPECT_EQ(formatTableReport(table),
              "=============================================\n"
              "Analysis of the table: TS_VarDcls\n"
              "Error:\n"
              "  Comment:\n"
              "The referenced object x is not declared.\n"
              "\n");
}

TEST(AnalysisReport, NamedObjectTableWithNamedRowWarning) {
    TableReport table;
    table.tableName = "MY_PDU";
    table.definesObject = true;
    table.qualifier = "TTCN_PDU";
    table.tableType = "TTCN_PDU_TypeDef";
    ReportedMessage m = message(Severity::Warning, MessagePlace::NamedRowField, "PDU_FieldType",
                                "This is an ASN.1 type and cannot be used here.");
    m.rowName = "field1";
    m.rowQualifier = "PDU_Field";
    table.messages.push_back(m);
    table.messages.push_back(message(Severity::Error, MessagePlace::HeaderField, "PCO_Type", "Syntax error:\nX Y\n  ^"));
    EXPECT_EQ(formatTableReport(table),
              "=============================================\n"
              "Analysis of the table: MY_PDU (TTCN_PDU) of type: TTCN_PDU_TypeDef\n"
              "Warning:\n"
              "  Row: field1 (PDU_Field)\n"
              "    PDU_FieldType:\n"
              "This is an ASN.1 type and cannot be used here.\n"
              "\n"
              "Error:\n"
              "  PCO_Type:\n"
              "Syntax error:\n"
              "X Y\n"
              "  ^\n"
              "\n");
    EXPECT_TRUE(table.hasErrors());
    EXPECT_TRUE(table.hasWarnings());
}

TEST(AnalysisReport, NumberedRowsIntroduceTheirMessagesOnce) {
    TableReport table;
    table.tableName = "TC_1";
    table.definesObject = true;
    table.qualifier = "TestCase";
    table.tableType = "TestCase";
    ReportedMessage a = message(Severity::Error, MessagePlace::NumberedRow, "Line", "Syntax error:(unable to find substring)");
    a.rowNumber = 3;
    ReportedMessage b = message(Severity::Warning, MessagePlace::NumberedRow, "Cref", "This constraint is not complete.");
    b.rowNumber = 3;
    ReportedMessage c = message(Severity::Error, MessagePlace::LabelledRow, "Label", "The label L1 is not unique.");
    c.rowNumber = 5;
    c.rowLabel = "L1";
    ReportedMessage d = message(Severity::Error, MessagePlace::NamedNumberedRow, "ElemValue", "OMIT is not allowed here.");
    d.rowName = "elem";
    d.rowNumber = 6;
    ReportedMessage e = message(Severity::Error, MessagePlace::Body, "", "Mismatched #if/#endif pair in table body.");
    table.messages = {a, b, c, d, e};
    EXPECT_EQ(formatTableReport(table),
              "=============================================\n"
              "Analysis of the table: TC_1 (TestCase) of type: TestCase\n"
              "  Row: (#3)\n"
              "Error:\n"
              "    Line:\n"
              "Syntax error:(unable to find substring)\n"
              "\n"
              "Warning:\n"
              "    Cref:\n"
              "This constraint is not complete.\n"
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
              "\n"
              "  Body:\n"
              "Error:\n"
              "Mismatched #if/#endif pair in table body.\n"
              "\n");
}

TEST(AnalysisReport, TableWithoutMessagesPrintsNothing) {
    TableReport table;
    table.tableName = "Quiet";
    EXPECT_EQ(formatTableReport(table), "");
    EXPECT_FALSE(table.hasErrors());
    EXPECT_FALSE(table.hasWarnings());
}

TEST(AnalysisSummary, ChoosesTheFirstCaseThatApplies) {
    AnalysisOutcome clean;
    EXPECT_EQ(formatAnalysisSummary(clean), "Analyzer done.\n\nNo Errors found.\n");

    AnalysisOutcome both;
    both.tablesWithErrors = 2;
    both.tablesWithWarnings = 1;
    both.errorLimitReached = true;  // counts win over the limit line
    EXPECT_EQ(formatAnalysisSummary(both),
              "Analyzer done.\n\nErrors found in 2 tables.\nFurthermore warnings found in 1 tables.\n");

    AnalysisOutcome warningsOnly;
    warningsOnly.tablesWithWarnings = 4;
    EXPECT_EQ(formatAnalysisSummary(warningsOnly), "Analyzer done.\n\nWarnings found in 4 tables.\n");

    AnalysisOutcome errorsOnly;
    errorsOnly.tablesWithErrors = 1;
    EXPECT_EQ(formatAnalysisSummary(errorsOnly), "Analyzer done.\n\nErrors found in 1 tables.\n");

    AnalysisOutcome limit;
    limit.errorLimitReached = true;
    EXPECT_EQ(formatAnalysisSummary(limit), ">>> The error limit is reached and the analysis terminated.\n");

    AnalysisOutcome incremental;
    incremental.incremental = true;
    EXPECT_EQ(formatAnalysisSummary(incremental), "");
    incremental.skippedItems = 7;
    EXPECT_EQ(formatAnalysisSummary(incremental), ">>> 7 items are skipped.\n");
}

TEST(AnalysisSummary, ScannerFailureLine) {
    EXPECT_EQ(formatScannerFailure("fatal error - scanner input buffer overflow"),
              "Scanner: fatal error - scanner input buffer overflow.\n");
}
