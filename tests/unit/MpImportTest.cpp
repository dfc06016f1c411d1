#include "MpTestSupport.h"

#include "suite/LibrarySettings.h"
#include "suite/mp/MpScanner.h"
#include "suite/mp/TableLayout.h"

#include <cstdlib>
#include <tuple>

namespace {

TEST(MpFileClassification, ByTheFirstBytes) {
    EXPECT_EQ(classifyBytes("\n\n\n$Suite $SuiteId A\n$End_Suite\n"), FileKind::Mp);
    EXPECT_EQ(classifyBytes(" \t\r\n$TTCN_Module $TTCN_ModuleId M"), FileKind::Mp);
    EXPECT_EQ(classifyBytes("$Package $PackageId P"), FileKind::Mp);
    EXPECT_EQ(classifyBytes("x$Suite"), FileKind::Unreadable);
    EXPECT_EQ(classifyBytes(std::string("\x7f" "ELF\x01\x02\0\0$Suite", 13)), FileKind::Unreadable);
    EXPECT_EQ(classifyBytes(""), FileKind::Unreadable);
}

TEST(MpFileClassification, StoredSuitesAndUnreadableFilesAreRefusedWithTheirText) {
    ScratchDir dir;
    LibraryError error;
    // A version too long for any integer is refused, not wrapped around to 8.
    for (const char* version : {"7", "100000000000000000000000000008", "4294967304"}) {
        error.clear();
        std::string old = dir.write("old.veld", std::string("== 19920731 ") + version + "\n$Suite $SuiteId X\n");
        EXPECT_EQ(classifyFile(old, error), FileKind::StoredSuite);
        EXPECT_EQ(error.code, LibraryErrorCode::IllegalVersion) << version;
        EXPECT_EQ(error.text, "Illegal version of file " + old);
    }

    error.clear();
    std::string current = dir.write("cur.veld", "== 19960308 8\nrest");
    EXPECT_FALSE(importMpFile(current, {}, error));
    EXPECT_EQ(error.text, "File " + current + " is a stored suite; only TTCN.MP files can be loaded");

    error.clear();
    std::string binary = dir.write("b.mp", "x$Suite");
    EXPECT_FALSE(importMpFile(binary, {}, error));
    EXPECT_EQ(error.code, LibraryErrorCode::FileNotReadable);
    EXPECT_EQ(error.text, "File " + binary + " not found or not readable");
    error.clear();
    EXPECT_FALSE(importMpFile(binary + ".missing", {}, error));
    EXPECT_EQ(error.code, LibraryErrorCode::FileNotReadable);
}

// The import call with its log: the result code and what was logged.
std::pair<int, std::string> importLogged(const std::string& path) {
    CapturedStream log;
    MpImportOptions options;
    options.log = log.get();
    std::unique_ptr<Document> document;
    LibraryError error;
    const int result = importMp(path, options, document, error);
    return {result, log.text()};
}

TEST(MpImportCall, FailureReturns98AndLogsTheTextCutTo264Characters) {
    ScratchDir dir;
    const std::string bad = dir.write("bad.mp", "$Suite $SuiteId B\n$DeclarationsPart\n");
    EXPECT_EQ(importLogged(bad), std::make_pair(98, bad + ":2: Syntax error (end of file before $End_DeclarationsPart)\n"));
    EXPECT_EQ(importLogged("").first, 160);
    // "File <name> not found or not readable" with a name of 300 characters.
    const std::string missing = (dir.path() / (std::string(300, 'n') + ".mp")).string();
    const std::string cut = ("File " + missing + " not found or not readable").substr(0, 264) + "\n";
    EXPECT_EQ(importLogged(missing), std::make_pair(98, cut));
    // Without a log the same text goes to standard error.
    testing::internal::CaptureStderr();
    std::unique_ptr<Document> document;
    LibraryError error;
    EXPECT_EQ(importMp(missing, {}, document, error), 98);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), cut);

    ScopedEnvironment longErrors("VELD_LONG_ERRORS", "1");
    const std::string logged = importLogged(bad).second;
    const std::string start = bad + ":2: Syntax error (end of file before $End_DeclarationsPart)\n*** ";
    EXPECT_EQ(logged.substr(0, start.size()), start);
    EXPECT_NE(logged.find(" @ "), std::string::npos) << logged;
    EXPECT_LE(logged.size(), 265u);
}

class ScannerBufferSize : public ::testing::Test {
protected:
    void TearDown() override {
        unsetenv("VELD_SCANNER_BUFFER_SIZE");
        LibrarySettings::reload();
        setScannerBufferSizeSetting(-1);
        resetScannerBufferSize();
    }
    std::size_t decide(long setting, const char* env) {
        setScannerBufferSizeSetting(setting);
        if (env) setenv("VELD_SCANNER_BUFFER_SIZE", env, 1);
        else unsetenv("VELD_SCANNER_BUFFER_SIZE");
        LibrarySettings::reload();
        resetScannerBufferSize();
        return scannerBufferSize();
    }
};

TEST_F(ScannerBufferSize, SettingDefaultAndEnvironment) {
    EXPECT_EQ(decide(-1, nullptr), 1000000u);
    EXPECT_EQ(decide(15999, nullptr), 1000000u);
    EXPECT_EQ(decide(16000, nullptr), 16000u);
    EXPECT_EQ(decide(20000, "30000"), 30000u);
    EXPECT_EQ(decide(20000, "17000"), 20000u);  // smaller than the setting: no effect
    EXPECT_EQ(decide(-1, "2000000"), 2000000u);
    EXPECT_EQ(decide(-1, "junk"), 1000000u);
    // Decided once per process: a later change is not seen.
    setenv("VELD_SCANNER_BUFFER_SIZE", "3000000", 1);
    EXPECT_EQ(scannerBufferSize(), 1000000u);
}

TEST_F(ScannerBufferSize, StringLongerThanTheBufferFailsAtItsFirstLineUnlessTheEnvironmentMakesRoom) {
    decide(16000, nullptr);
    LibraryError error;
    EXPECT_TRUE(importText("$Suite $SuiteId S\n$Comment \"" + std::string(15000, 'a') + "\"\n$End_Suite\n", error))
        << error.text;
    const std::string tooLong = "$Suite $SuiteId S\n$DeclarationsPart\n\n$Comment /* " + std::string(9000, 'b') + "\n" +
                                std::string(9000, 'c') + " */\n$End_DeclarationsPart\n$End_Suite\n";
    EXPECT_FALSE(importText(tooLong, error));
    EXPECT_EQ(error.code, LibraryErrorCode::ScannerBufferOverflow);
    EXPECT_EQ(error.text, "t.mp:4: Scanner buffer overflow (probably an unmatched ' or \")");
    decide(16000, "40000");
    EXPECT_TRUE(importText(tooLong, error)) << error.text;
}

TEST(MpScanner, UnterminatedQuoteIsReportedWhereItBegan) {
    std::string text =
        "$Suite $SuiteId S\n$DeclarationsPart\n$Begin_TS_ConstDcls\n$TS_ConstDcl\n$TS_ConstId c\n"
        "$TS_ConstValue \"never closed\n$End_TS_ConstDcl\n$End_TS_ConstDcls\n$End_DeclarationsPart\n$End_Suite\n";
    LibraryError error;
    EXPECT_FALSE(importText(text, error));
    EXPECT_EQ(error.code, LibraryErrorCode::ScannerBufferOverflow);
    EXPECT_EQ(error.text, "t.mp:6: Scanner buffer overflow (probably an unmatched ' or \")");
}

TEST(MpScanner, DollarInsideStringsAndFreeTextDoesNotStartAKeyword) {
    std::string text = "$Suite $SuiteId S\n$DeclarationsPart\n$Begin_TS_ConstDcls\n$TS_ConstDcl\n$TS_ConstId c\n"
                       "$TS_ConstValue \"a $End_TS_ConstDcl\" & 'b$X'O\n$Comment /* $Begin_TestCase \\*/ */\n"
                       "$End_TS_ConstDcl\n$End_TS_ConstDcls\n$End_DeclarationsPart\n$End_Suite\n";
    LibraryError error;
    auto document = importText(text, error);
    ASSERT_TRUE(document) << error.text;
    SuiteNode* table = document->tables().at(0);
    ASSERT_EQ(table->rows.size(), 1u);
    EXPECT_EQ(table->rows[0]->text("TS_ConstValue"), "\"a $End_TS_ConstDcl\" & 'b$X'O");
    EXPECT_EQ(table->rows[0]->text("Comment"), "/* $Begin_TestCase \\*/ */");
}

TEST(MpReader, HeadNameTypeAndTrace) {
    LibraryError error;
    CapturedStream trace;
    MpImportOptions options;
    options.trace = trace.get();
    options.destination = "store";
    auto document = importMpText("m.mp", "$TTCN_Module\n$TTCN_ModuleId  M_1 \n$End_TTCN_Module", options, error);
    ASSERT_TRUE(document) << error.text;
    EXPECT_EQ(document->type(), DocumentType::Module);
    EXPECT_EQ(document->name(), "M_1");
    EXPECT_EQ(trace.text(), "Created Module M_1 in store\n");
}

TEST(MpReader, TraceGoesToStandardErrorOnlyWhenAskedFor) {
    LibraryError error;
    for (const bool asked : {false, true}) {
        ScopedEnvironment trace("VELD_MP_INPUT_TRACE", asked ? std::optional<std::string>("") : std::nullopt);
        testing::internal::CaptureStderr();
        importText("$Suite $SuiteId S1 $End_Suite\n", error);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), asked ? "Created TestSuite S1 in t.mp\n" : "");
    }
}

TEST(MpReader, FlagTokenAfterSuiteAndGroupPathsWithTheSuiteName) {
    std::string text =
        "$Suite TOOLFLAG\n$SuiteId ECHO\n$DynamicPart\n$TestCases\n$TestGroup\n$TestGroupId BASIC\n"
        "$Begin_TestCase\n$TestCaseId TC1\n$TestGroupRef ECHO/BASIC/\n$BehaviourDescription\n"
        "$End_BehaviourDescription\n$End_TestCase\n$End_TestGroup\n$End_TestCases\n$End_DynamicPart\n$End_Suite\n";
    LibraryError error;
    auto document = importText(text, error);
    ASSERT_TRUE(document) << error.text;
    EXPECT_EQ(document->name(), "ECHO");
    SuiteNode* dynamic = document->part(SuiteNodeType::DynamicPart);
    ASSERT_TRUE(dynamic);
    ASSERT_EQ(dynamic->children.size(), 1u);
    SuiteNode* group = dynamic->children[0];
    EXPECT_EQ(group->type, SuiteNodeType::TestGroup);
    EXPECT_EQ(group->text("TestGroupId"), "BASIC");
    ASSERT_EQ(group->children.size(), 1u);
    EXPECT_EQ(group->children[0]->text("TestGroupRef"), "BASIC/");
    EXPECT_EQ(group->children[0]->parent, group);
}

TEST(MpReader, FullIdentifiersAreRewritten) {
    const std::tuple<const char*, bool, const char*> cases[] = {
        {"ECHOmsg (/* echo message */)", true, "ECHOmsg (echo message)"}, {"X (  /*a \\*/ b*/ )", true, "X (  a */ b)"},
        {"Plain", true, "Plain"}, {"Y (full name)", false, "Y (full name)"}, {"Z (/* open only)", false, "Z (open only)"}};
    for (const auto& [text, good, rewritten] : cases) {
        std::string value = text;
        EXPECT_EQ(rewriteFullIdentifier(value), good) << text;
        EXPECT_EQ(value, rewritten);
    }
}

// Suites whose content the importer drops or finds out of place, each in
// tests/unit/mp/warnings: NAME.mp and the warnings it logs, NAME.log.
TEST(MpReader, DroppedAndMisplacedContentIsWarned) {
    const struct {
        const char* name;
        const char* shows;
    } cases[] = {
        {"ts_par_default_and_cp_role", "the default value of a test suite parameter and a CP role are dropped"},
        {"configuration_outside_test_cases", "a configuration in a test step or default, warned once per import"},
        {"collective_comments", "collective comments are dropped"},
        {"local_tree_without_header", "a local tree whose first line is no tree header"},
        {"bad_full_identifier", "a full identifier without its comment marks"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shows);
        const fs::path file = fs::path(mpTestDataDir()) / "warnings" / c.name;
        CapturedStream log;
        LibraryError error;
        ASSERT_TRUE(importText(readFile(file.string() + ".mp"), error, log.get())) << error.text;
        EXPECT_EQ(log.text(), readFile(file.string() + ".log"));
    }
    // Control characters are written here, where they can be seen.
    CapturedStream log;
    LibraryError error;
    ASSERT_TRUE(importText("$Suite $SuiteId S\r\n$DeclarationsPart\t\n$Comment a\x07z /* \x01 */\n$End_DeclarationsPart\n"
                           "$End_Suite\n",
                           error, log.get()));
    EXPECT_EQ(log.text(), "Warning: Illegal character (0x7) in line 3\nWarning: Illegal character (0x1) in line 3\n");
}

TEST(MpReader, BadFullIdentifierIsKeptAndTheCommentAfterTheRowsIsTheDetailedOne) {
    LibraryError error;
    auto document = importText(readFile(mpTestDataDir() + "/warnings/bad_full_identifier.mp"), error);
    ASSERT_TRUE(document) << error.text;
    SuiteNode* table = document->tables().at(0);
    EXPECT_EQ(table->type, SuiteNodeType::StructTypeDef);
    EXPECT_EQ(table->text("StructId"), "T1 (first type)");
    EXPECT_EQ(table->text("Comment"), "");
    EXPECT_EQ(table->text("DetailedComment"), "/* footer */");
    EXPECT_EQ(table->cell("DetailedComment")->line, 13);
    EXPECT_EQ(table->rows.at(0)->text("ElemId"), "e1 (no comment)");
}

TEST(MpReader, BehaviourLinesTreeHeadersAndIndentation) {
    LibraryError error;
    auto document = importText(readFile(mpTestDataDir() + "/behaviour_lines.mp"), error);
    ASSERT_TRUE(document) << error.text;
    SuiteNode* table = document->tables().at(0);
    EXPECT_EQ(table->text("Comment"), "/* head */");
    EXPECT_EQ(table->text("DetailedComment"), "/* detail */");
    ASSERT_EQ(table->rows.size(), 6u);
    EXPECT_EQ(table->rows[0]->indentation, 0);
    EXPECT_EQ(table->rows[0]->text("Line"), "[0] PCO ! A");
    EXPECT_EQ(table->rows[0]->text("LabelId"), "L1");
    EXPECT_EQ(table->rows[1]->indentation, 2);
    EXPECT_EQ(table->rows[1]->text("VerdictId"), "PASS");
    EXPECT_TRUE(table->rows[2]->treeHeader);
    EXPECT_EQ(table->rows[2]->text("Header"), "LT1(p: INTEGER)");
    EXPECT_TRUE(table->rows[3]->treeHeader);  // a header written as an ordinary line
    EXPECT_EQ(table->rows[3]->text("Header"), "LT2");
    EXPECT_EQ(table->rows[3]->text("Line"), "");
    EXPECT_TRUE(table->rows[4]->isEmpty());
    EXPECT_FALSE(table->rows[1]->isEmpty());
    // An indentation too long for a level is none: the line stays whole for
    // the field parser to refuse.
    EXPECT_EQ(table->rows[5]->indentation, 0);
    EXPECT_EQ(table->rows[5]->text("Line"), "[100000000000000000000000000002] L ! X");
}

TEST(MpReader, StatementKeywordsAloneAreNotTreeHeaders) {
    std::string text = "$Suite $SuiteId S\n$DynamicPart\n$TestCases\n$Begin_TestCase\n$TestCaseId TC\n"
                       "$BehaviourDescription\n";
    for (const char* line : {"[0] RETURN", "[0] CANCEL", "[0] CREATE(PTC1: STEP(3))", "[0] ACTIVATE(D1, D2)",
                             "[1] DEEP(x)", "[0] TREE_NAME (a, b: INTEGER)"})
        text += std::string("$BehaviourLine\n$Line ") + line + "\n$End_BehaviourLine\n";
    text += "$End_BehaviourDescription\n$End_TestCase\n$End_TestCases\n$End_DynamicPart\n$End_Suite\n";
    LibraryError error;
    auto document = importText(text, error);
    ASSERT_TRUE(document) << error.text;
    const auto& rows = document->tables().at(0)->rows;
    ASSERT_EQ(rows.size(), 6u);
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(rows[i]->treeHeader) << rows[i]->text("Line");
    EXPECT_EQ(rows[2]->text("Line"), "[0] CREATE(PTC1: STEP(3))");
    EXPECT_EQ(rows[4]->indentation, 1);
    EXPECT_TRUE(rows[5]->treeHeader);
    EXPECT_EQ(rows[5]->text("Header"), "TREE_NAME (a, b: INTEGER)");
}

TEST(MpReader, StructuralFaultsAreSyntaxErrorsWithTheirLine) {
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"$Suite $SuiteId S\n$DeclarationsPart\n$Begin_SimpleTypeDefs\n$End_TimerDcls\n$End_DeclarationsPart\n$End_Suite",
         "t.mp:4: Syntax error ($End_TimerDcls where $End_SimpleTypeDefs was expected)"},
        {"$Suite $SuiteId S\n$DeclarationsPart\n$End_DeclarationsPart\n",
         "t.mp:3: Syntax error (end of file before $End_Suite)"},
        {"$Suite $SuiteId S\n$DeclarationsPart\n$Begin_SimpleTypeDefs\n$SimpleTypeDef\n$SimpleTypeId T",
         "t.mp:5: Syntax error (end of file before $End_SimpleTypeDef)"},
        {"$Suite $SuiteId S\n$End_DeclarationsPart\n$End_Suite",
         "t.mp:2: Syntax error ($End_DeclarationsPart where $End_Suite was expected)"},
        {"$Suite\n$DeclarationsPart\n", "t.mp:2: Syntax error ($SuiteId expected after $Suite)"},
        {"$Suite $SuiteId\n$End_Suite", "t.mp:1: Syntax error ($SuiteId without a name)"},
        {"junk before $Suite", "t.mp:1: Syntax error (text before $Suite)"},
        {"$TestCase", "t.mp:1: Syntax error ($TestCase where $Suite, $TTCN_Module or $Package was expected)"},
        {"", "t.mp:1: Syntax error (no $Suite, $TTCN_Module or $Package at the start)"},
        {"$Suite $SuiteId S\n$DynamicPart\n$TestCases\n$End_DynamicPart\n$End_Suite\n",
         "t.mp:4: Syntax error ($End_DynamicPart where $End_TestCases was expected)"},
        {"$Suite $SuiteId S\n$DeclarationsPart\n$ElemDcl\n$End_ElemDcl\n",
         "t.mp:3: Syntax error (row $ElemDcl outside a table)"},
    };
    for (const Case& c : cases) {
        LibraryError error;
        EXPECT_FALSE(importText(c.text, error)) << c.text;
        EXPECT_EQ(error.code, LibraryErrorCode::SyntaxError) << c.text;
        EXPECT_EQ(error.text, c.message);
    }
}

TEST(MpReader, DeepNestingIsAnErrorNotAStackOverflow) {
    std::string text = "$Suite $SuiteId S\n$DynamicPart\n";
    for (int i = 0; i < 100000; ++i) text += "$TestGroup\n";
    LibraryError error;
    EXPECT_FALSE(importText(text, error));
    EXPECT_EQ(error.code, LibraryErrorCode::SyntaxError);
    EXPECT_NE(error.text.find("nested too deeply"), std::string::npos);
}

TEST(MpReader, ManyUnknownKeywordsStayLinear) {
    // Unknown keywords with empty text might open groupings: deciding that must
    // not scan the rest of the file once per keyword (a regression runs for minutes).
    std::string text = "$Suite $SuiteId S\n$DeclarationsPart\n";
    for (int i = 0; i < 200000; ++i) text += "$Unknown" + std::to_string(i) + "\n";
    text += "$Extension\n$Comment x\n$End_Extension\n$End_DeclarationsPart\n$End_Suite\n";
    LibraryError error;
    EXPECT_TRUE(importText(text, error)) << error.text;
}

TEST(TableLayouts, EveryNodeTypeWithCellsHasItsLayoutInSchemaTerms) {
    EXPECT_EQ(tableByKeyword("ASN1_PDU_TypeRefs"), SuiteNodeType::ASN1_PDU_TypeDefsByRef);
    EXPECT_EQ(groupOrRowByKeyword("Structure&Objective"), SuiteNodeType::SO_StructureAndObjective);
    for (int t = 1; t < static_cast<int>(SuiteNodeType::Last); ++t) {
        auto type = static_cast<SuiteNodeType>(t);
        NodeRole role = suiteNodeRole(type);
        if (role == NodeRole::Table || role == NodeRole::Row || role == NodeRole::Group) {
            EXPECT_EQ(layoutOf(type).type, type) << suiteNodeTypeName(type);
        }
        EXPECT_EQ(suiteNodeTypeByName(suiteNodeTypeName(type)), type);
    }
}

}  // namespace
