// The command line and the run sequence, driven with a suite double that
// records what the front end hands it. The messages of the steps before the
// suite is opened are checked end to end against the real program (tests/e2e).
#include "front/XlatorCommandLine.h"
#include "front/XlatorOutput.h"
#include "front/XlatorRun.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Runs each test in a fresh working directory of its own.
class FrontEndRun : public ::testing::Test {
protected:
    void SetUp() override {
        previous = fs::current_path();
        dir = fs::temp_directory_path() /
              ("front_end_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        fs::current_path(dir);
    }
    void TearDown() override {
        fs::current_path(previous);
        fs::remove_all(dir);
    }
    fs::path previous;
    fs::path dir;
};

}  // namespace

TEST(CommandLine, QuotesAreStrippedByPositionOnly) {
    EXPECT_EQ(stripQuotes("'suite.mp'"), "suite.mp");
    EXPECT_EQ(stripQuotes("\"suite.mp\""), "suite.mp");
    EXPECT_EQ(stripQuotes("'suite.mp"), "suite.m");  // the last character is not examined
    EXPECT_EQ(stripQuotes("\"a\"b"), "a\"");
    EXPECT_EQ(stripQuotes("'"), "'");
    EXPECT_EQ(stripQuotes("''"), "");
    EXPECT_EQ(stripQuotes("suite.mp'"), "suite.mp'");
    EXPECT_EQ(stripQuotes(""), "");
}

TEST(CommandLine, FileKindIsDecidedByFirstExtension) {
    EXPECT_TRUE(isMpFile("suite.mp"));
    EXPECT_TRUE(isMpFile("SUITE.MP"));
    EXPECT_TRUE(isMpFile("Suite.Mp"));
    EXPECT_TRUE(isMpFile("my suite.mp x"));
    EXPECT_FALSE(isMpFile("dir.mp/s.mp"));  // the first ".mp" is followed by "/"
    EXPECT_FALSE(isMpFile("a.mpx"));
    EXPECT_FALSE(isMpFile("a.mpx.mp"));
    EXPECT_FALSE(isMpFile("suite.m"));
    EXPECT_FALSE(isMpFile("mp"));
    EXPECT_TRUE(isAsnFile("types.asn"));
    EXPECT_TRUE(isAsnFile("TYPES.ASN"));
    EXPECT_TRUE(isAsnFile("t.asn "));
    EXPECT_FALSE(isAsnFile("t.asn1"));
    EXPECT_FALSE(isAsnFile("t.mp"));
    EXPECT_FALSE(isMpFile("t.asn"));
}

TEST(CommandLine, OutputFilesGoBesideTheRootFile) {
    auto names = [](const std::string& root) {
        OutputNames n = outputNames(root);
        return n.ttcn + "|" + n.asn;
    };
    EXPECT_EQ(names("suite.mp"), "suite.ttcn|suite.asn");
    EXPECT_EQ(names("lib.old/suite.x.mp"), "lib.old/suite.ttcn|lib.old/suite.asn");
    EXPECT_EQ(names("lib.old/suite"), "lib.old/suite.ttcn|lib.old/suite.asn");
    EXPECT_EQ(names("lib.old\\suite.mp"), "lib.old\\suite.ttcn|lib.old\\suite.asn");
    EXPECT_EQ(names("a/b.c\\d.mp"), "a/b.c\\d.ttcn|a/b.c\\d.asn");
    EXPECT_EQ(names("suite"), "suite.ttcn|suite.asn");
    EXPECT_EQ(names(".mp"), ".ttcn|.asn");
    EXPECT_EQ(names("dir/.mp"), "dir/.ttcn|dir/.asn");
}

TEST(CommandLine, InstallationDirectoryEndsWithItsSeparator) {
    EXPECT_EQ(installationDirectory("/opt/x/bin/xlator.exe"), "/opt/x/bin/");
    EXPECT_EQ(installationDirectory("bin/xlator.exe"), "bin/");
    EXPECT_EQ(installationDirectory("C:\\x\\xlator.exe"), "C:\\x\\");
    EXPECT_EQ(installationDirectory("a\\b/xlator.exe"), "a\\b/");
    EXPECT_EQ(installationDirectory("xlator.exe"), "");
}

TEST(CommandLine, BannerAndUsageText) {
    std::FILE* console = std::tmpfile();
    printBanner(console);
    printUsage(console);
    std::rewind(console);
    char buffer[512] = {};
    std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, console);
    std::fclose(console);
    EXPECT_EQ(std::string(buffer, n),
              "Orvane, TTCN-2 To TTCN-3 Converter, 3.3.0.3.19190.\n\n"
              "Usage: xlator.exe [options] <root 'mp' file> [<'mp' and 'asn' files>]\n"
              "       where options are:\n"
              "       -TFT              generate 'display' attributes for tabular format\n");
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
    bool open(const std::string& mpFileList, const std::string& asnListFile,
              std::FILE* reportStream) override {
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

struct RunResult {
    int code;
    std::string console;
};

RunResult run(std::vector<std::string> arguments, XlatorSuitePasses& suite) {
    arguments.insert(arguments.begin(), "/opt/xlator/xlator.exe");
    std::FILE* console = std::tmpfile();
    int code = runConverter(arguments, console, suite);
    std::fflush(console);
    std::rewind(console);
    std::string text;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, console)) > 0) text.append(buffer, n);
    std::fclose(console);
    return {code, text};
}

const char* const kBanner = "Orvane, TTCN-2 To TTCN-3 Converter, 3.3.0.3.19190.\n\n";

}  // namespace

TEST_F(FrontEndRun, CompleteRunWritesBothFilesAndNamesThem) {
    writeFile("modconv_kwd.txt", "kw");
    fs::create_directories("lib.old");
    tabularFormat = false;
    RecordingSuite suite(true);
    RunResult r = run({"\"lib.old/suite.x.mp\"", "a.asn", "-tft", "'b.MP'", "c.asn"}, suite);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.console,
              std::string(kBanner) +
                  "warning: assuming 'lib.old/suite.x.mp' contains root module (it is the first "
                  "'mp' file in the list)\n"
                  "Analyzing test suite files...\n"
                  "suite report\n"
                  "warning: this converter will merge all TTCN-2 modules into single TTCN-3 module\n"
                  "warning: all ASN.1 definitions will be merged and placed into single ASN.1 "
                  "module\n"
                  "Processing test suite files...\n"
                  "Created two output files:\n"
                  "'lib.old/suite.ttcn' - with test suite specification in TTCN-3\n"
                  "'lib.old/suite.asn' - with ASN.1 definitions\n"
                  "Done.\n");
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

TEST_F(FrontEndRun, SingleMpFileGetsNoMergeWarningsAndOverwritesOldOutput) {
    writeFile("modconv_kwd.txt", "kw");
    writeFile("suite.ttcn", "old contents that must go");
    tabularFormat = false;
    RecordingSuite suite(true);
    RunResult r = run({"suite.mp", "-TFTX"}, suite);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.console, std::string(kBanner) +
                             "Analyzing test suite files...\n"
                             "suite report\n"
                             "warning: all ASN.1 definitions will be merged and placed into "
                             "single ASN.1 module\n"
                             "Processing test suite files...\n"
                             "Created two output files:\n"
                             "'suite.ttcn' - with test suite specification in TTCN-3\n"
                             "'suite.asn' - with ASN.1 definitions\n"
                             "Done.\n");
    EXPECT_FALSE(tabularFormat);
    EXPECT_EQ(suite.mpFileList, "\"suite.mp\" ");
    EXPECT_EQ(suite.asnList, "");
    EXPECT_EQ(readFile("suite.ttcn"), "module M\n");
}

TEST_F(FrontEndRun, FailedOpenEndsTheRunWithoutFurtherMessages) {
    writeFile("modconv_kwd.txt", "kw");
    RecordingSuite suite(false);
    RunResult r = run({"suite.mp", "other.mp"}, suite);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.console, std::string(kBanner) +
                             "warning: assuming 'suite.mp' contains root module (it is the first "
                             "'mp' file in the list)\n"
                             "Analyzing test suite files...\n"
                             "suite report\n");
    EXPECT_EQ(suite.calls, "open;");
    EXPECT_FALSE(fs::exists("suite.ttcn"));
    EXPECT_FALSE(fs::exists("suite.asn"));
}

TEST_F(FrontEndRun, KeywordFileIsCopiedFromInstallationBeforeOpening) {
    fs::create_directories("inst dir");
    writeFile("inst dir/modconv_kwd.txt", "KEYWORDS\n");
    RecordingSuite suite(false);
    std::vector<std::string> arguments{"inst dir/xlator.exe", "suite.mp"};
    std::FILE* console = std::tmpfile();
    EXPECT_EQ(runConverter(arguments, console, suite), 1);
    std::rewind(console);
    char buffer[1024] = {};
    std::string text(buffer, std::fread(buffer, 1, sizeof buffer - 1, console));
    std::fclose(console);
    EXPECT_EQ(text, std::string(kBanner) +
                        "No 'modconv_kwd.txt' in the working directory, will try to copy from "
                        "installation...\n"
                        "Copying 'inst dir/modconv_kwd.txt' into working directory...\n"
                        "Analyzing test suite files...\n"
                        "suite report\n");
    EXPECT_EQ(readFile("modconv_kwd.txt"), "KEYWORDS\n");
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

TEST_F(FrontEndRun, UncreatableListFileEndsWithAssertion) {
    RecordingSuite suite(true);
    // A working directory that no longer exists takes no new files.
    EXPECT_EXIT(
        {
            fs::create_directories("gone");
            fs::current_path("gone");
            fs::remove(dir / "gone");
            run({"suite.mp"}, suite);
        },
        testing::ExitedWithCode(1),
        "^ASSERTION FAILED: asn_list_file \\('Unable to create temporary file'\\) at "
        "XlatorRun\\.cpp\\([0-9]+\\)\n$");
}

TEST_F(FrontEndRun, TabularFormatOptionInAnyCaseAndPlace) {
    writeFile("modconv_kwd.txt", "kw");
    struct Case {
        std::vector<std::string> arguments;
        bool tabular;
    };
    const Case cases[] = {
        {{"-tft", "s.mp"}, true},    {{"s.mp", "-Tft"}, true},   {{"s.mp", "-TFT"}, true},
        {{"'-TFT'", "s.mp"}, true},  {{"s.mp", "-TFTX"}, false}, {{"s.mp", "-x", "-"}, false},
        {{"s.mp", "--TFT"}, false},  {{"s.mp", "-TF"}, false},
    };
    for (const Case& c : cases) {
        tabularFormat = false;
        RecordingSuite suite(false);
        RunResult r = run(c.arguments, suite);
        EXPECT_EQ(tabularFormat, c.tabular) << c.arguments[0] << " " << c.arguments[1];
        // Options never count as files and are never reported.
        EXPECT_EQ(suite.mpFileList, "\"s.mp\" ");
        EXPECT_EQ(r.console.find("unknown type"), std::string::npos);
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
