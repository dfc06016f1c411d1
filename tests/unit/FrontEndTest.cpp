// The command line and the run sequence, driven with a suite double that
// records what the front end hands it. The console texts of the real program
// are checked end to end (tests/e2e); here what the suite steps receive.
#include "TestSupport.h"

#include "front/XlatorCommandLine.h"
#include "front/XlatorOutput.h"
#include "front/XlatorRun.h"

#include <cstdio>
#include <new>
#include <string>
#include <vector>

namespace {

// Runs each test in a fresh working directory of its own.
class FrontEndRun : public ::testing::Test {
protected:
    void SetUp() override {
        previous = fs::current_path();
        fs::current_path(scratch.path());
    }
    void TearDown() override { fs::current_path(previous); }
    ScratchDir scratch;
    fs::path previous;
};

}  // namespace

// The e2e cases sort quoted names and files of every kind; here the corners.
TEST(CommandLine, QuotesAndFileKinds) {
    const std::pair<const char*, const char*> quoted[] = {
        {"'suite.mp", "suite.m"},  // the last character is not examined
        {"\"a\"b", "a\""}, {"'", "'"}, {"''", ""}, {"suite.mp'", "suite.mp'"}, {"", ""}};
    for (const auto& [argument, stripped] : quoted) EXPECT_EQ(stripQuotes(argument), stripped) << argument;
    // In "dir.mp/s.mp" the first ".mp" is followed by "/".
    for (const char* other : {"dir.mp/s.mp", "suite.m", "mp", "t.asn"}) EXPECT_FALSE(isMpFile(other)) << other;
    EXPECT_TRUE(isMpFile("Suite.Mp"));
    EXPECT_FALSE(isAsnFile("t.mp"));
}

TEST(CommandLine, OutputFilesGoBesideTheRootFile) {
    const std::pair<const char*, const char*> cases[] = {
        {"suite.mp", "suite"},          {"lib.old/suite.x.mp", "lib.old/suite"}, {"lib.old/suite", "lib.old/suite"},
        {"lib.old\\suite.mp", "lib.old\\suite"}, {"a/b.c\\d.mp", "a/b.c\\d"}, {"suite", "suite"},
        {".mp", ""},                    {"dir/.mp", "dir/"}};
    for (const auto& [root, base] : cases) {
        const OutputNames names = outputNames(root);
        EXPECT_EQ(names.ttcn, std::string(base) + ".ttcn") << root;
        EXPECT_EQ(names.asn, std::string(base) + ".asn") << root;
    }
}

TEST(CommandLine, InstallationDirectoryEndsWithItsSeparator) {
    EXPECT_EQ(installationDirectory("/opt/x/bin/xlator.exe"), "/opt/x/bin/");
    EXPECT_EQ(installationDirectory("C:\\x\\xlator.exe"), "C:\\x\\");
    EXPECT_EQ(installationDirectory("a\\b/xlator.exe"), "a\\b/");
    EXPECT_EQ(installationDirectory("xlator.exe"), "");
}

TEST_F(FrontEndRun, KeywordFileIsCopiedByteForByte) {
    std::string bytes("ABSENT\r\nBEGIN\n\0\xff end", 21);
    fs::create_directories("inst");
    writeFile("inst/modconv_kwd.txt", bytes);
    ASSERT_TRUE(copyKeywordFile("inst/modconv_kwd.txt"));
    EXPECT_EQ(readFile("modconv_kwd.txt"), bytes);
    writeFile("inst/empty", "");
    ASSERT_TRUE(copyKeywordFile("inst/empty"));
    EXPECT_EQ(readFile("modconv_kwd.txt"), "");
    EXPECT_FALSE(copyKeywordFile("inst/missing"));
    EXPECT_FALSE(copyKeywordFile("inst"));  // a directory reads with an error
}

namespace {

// Records what the run hands the suite steps; its translation writes a line
// into each output file through the run's writer.
class RecordingSuite : public XlatorSuitePasses {
public:
    explicit RecordingSuite(bool opens) : opens(opens) {}
    bool open(const std::string& mpFileList, const std::string& asnListFile, std::FILE* reportStream) override {
        calls += "open;";
        this->mpFileList = mpFileList;
        asnList = readFile(asnListFile);
        asnListName = asnListFile;
        std::fprintf(reportStream, "suite report\n");
        return opens;
    }
    void collectDefinitions() override { calls += "collect;"; }
    void translate() override {
        calls += "translate;";
        output().writeLine("module M");
        output().selectAsn();
        output().writeLine("ExtASN DEFINITIONS");
        output().selectTtcn();
    }
    bool opens;
    std::string calls, mpFileList, asnList, asnListName;
};

std::string run(std::vector<std::string> arguments, XlatorSuitePasses& suite, int* code = nullptr) {
    arguments.insert(arguments.begin(), "/opt/xlator/xlator.exe");
    CapturedStream console;
    const int result = runConverter(arguments, console.get(), suite);
    if (code) *code = result;
    return console.text();
}

}  // namespace

TEST_F(FrontEndRun, CompleteRunHandsTheFilesToTheSuiteAndWritesBothOutputs) {
    writeFile("modconv_kwd.txt", "kw");
    fs::create_directories("lib.old");
    writeFile("lib.old/suite.ttcn", "old contents that must go");
    tabularFormat = false;
    RecordingSuite suite(true);
    int code = -1;
    const std::string console = run({"\"lib.old/suite.x.mp\"", "a.asn", "-tft", "'b.MP'", "c.asn"}, suite, &code);
    EXPECT_EQ(code, 0);
    EXPECT_NE(console.find("Analyzing test suite files...\nsuite report\n"), std::string::npos) << console;
    EXPECT_TRUE(tabularFormat);
    EXPECT_EQ(suite.calls, "open;collect;translate;");
    EXPECT_EQ(suite.mpFileList, "\"lib.old/suite.x.mp\" \"b.MP\" ");
    EXPECT_EQ(suite.asnList, "a.asn\nc.asn\n");
    // The list file is made in the working directory and left there.
    EXPECT_EQ(fs::path(suite.asnListName).parent_path(), ".");
    EXPECT_EQ(fs::path(suite.asnListName).filename().string().rfind("asn_lst", 0), 0u);
    EXPECT_TRUE(fs::exists(suite.asnListName));
    EXPECT_EQ(readFile("lib.old/suite.ttcn"), "module M\n");
    EXPECT_EQ(readFile("lib.old/suite.asn"), "ExtASN DEFINITIONS\n");
    tabularFormat = false;
}

// The output files' guards end the process with their assertion line.
TEST_F(FrontEndRun, UncreatableOutputFilesEndWithAssertion) {
    writeFile("modconv_kwd.txt", "kw");
    RecordingSuite suite(true);
    EXPECT_EXIT(run({"missing/suite.mp"}, suite), testing::ExitedWithCode(1),
                "^ASSERTION FAILED: ttcn_outfile \\('Unable to create TTCN output file'\\) at "
                "XlatorRun\\.cpp\\([0-9]+\\)\n$");
    fs::create_directories("suite.asn");  // a directory cannot be opened for writing
    EXPECT_EXIT(run({"suite.mp"}, suite), testing::ExitedWithCode(1),
                "^ASSERTION FAILED: asn_outfile \\('Unable to create ASN output file'\\) at "
                "XlatorRun\\.cpp\\([0-9]+\\)\n$");
    EXPECT_TRUE(fs::exists("suite.ttcn"));  // the first file was already created
}

TEST_F(FrontEndRun, TabularFormatOptionInAnyCaseAndPlace) {
    writeFile("modconv_kwd.txt", "kw");
    const std::pair<std::vector<std::string>, bool> cases[] = {
        {{"-tft", "s.mp"}, true},   {{"s.mp", "-Tft"}, true},   {{"s.mp", "-TFT"}, true},
        {{"'-TFT'", "s.mp"}, true}, {{"s.mp", "-TFTX"}, false}, {{"s.mp", "-x", "-"}, false},
        {{"s.mp", "--TFT"}, false}, {{"s.mp", "-TF"}, false},
    };
    for (const auto& [arguments, tabular] : cases) {
        tabularFormat = false;
        RecordingSuite suite(false);
        const std::string console = run(arguments, suite);
        EXPECT_EQ(tabularFormat, tabular) << arguments[0] << " " << arguments[1];
        // Options never count as files and are never reported.
        EXPECT_EQ(suite.mpFileList, "\"s.mp\" ");
        EXPECT_EQ(console.find("unknown type"), std::string::npos);
    }
    tabularFormat = false;
}

// Memory running out in a translation pass is the internal-error form, never
// an abort: one line on standard error and exit code 1.
TEST_F(FrontEndRun, TranslationOutOfMemoryIsAnInternalError) {
    writeFile("modconv_kwd.txt", "kw");
    struct StarvedSuite : RecordingSuite {
        StarvedSuite() : RecordingSuite(true) {}
        void translate() override { throw std::bad_alloc(); }
    } suite;
    EXPECT_EXIT(run({"suite.mp"}, suite), testing::ExitedWithCode(1),
                "^INTERNAL ERROR: 'Out of memory' at XlatorRun\\.cpp\\([0-9]+\\)\n$");
}
