#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Asn1TestSupport.h"
#include "suite/asn1/Asn1Association.h"
#include "suite/asn1/Asn1Lookup.h"

using namespace asn1test;

namespace {
class Association : public ScratchDirectory {
protected:
    // Writes an ASN.1 module with one type `<name>-T ::= <body>` and one value.
    fs::path module(const std::string& file, const std::string& name, const std::string& body) {
        fs::path path = dir_ / file;
        writeFile(path, name + " DEFINITIONS ::= BEGIN\n  -- a comment\n" + name + "-T ::= " + body +
                            "\n  " + "limit INTEGER ::= 7\nEND\n");
        return path;
    }
    fs::path list(const std::string& text) {
        writeFile(dir_ / "asn.lst", text);
        return dir_ / "asn.lst";
    }
    // Moves the file's modification time by `seconds`.
    static void touch(const fs::path& path, int seconds) {
        struct stat info;
        ASSERT_EQ(stat(path.c_str(), &info), 0);
        struct timespec times[2] = {{info.st_mtime + seconds, 0}, {info.st_mtime + seconds, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }
    // Runs an update and returns what it printed on standard output.
    std::string update(const fs::path& listFile, int expectedResult = 0) {
        error_.clear();
        testing::internal::CaptureStdout();
        int result = association_.update_from_file(listFile.string(), error_);
        std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(result, expectedResult);
        return printed;
    }
    // A converter of our own making in its own installation folder, for the
    // answers that modconv.exe never gives: a shell script named modconv.exe.
    void installScriptConverter(const std::string& scriptBody) {
        fs::create_directory(dir_ / "inst");
        fs::path tool = dir_ / "inst" / "modconv.exe";
        writeFile(tool, "#!/bin/sh\n" + scriptBody);
        fs::permissions(tool, fs::perms::owner_all);
        veld_.emplace("VELD", (dir_ / "inst").string());
    }

    Asn1Association association_;
    LibraryError error_;
};
}  // namespace

TEST_F(Association, ListWithOnlyCommentsStartsNoConverter) {
    ScopedEnvironment noInstallation("VELD", "/nonexistent");
    EXPECT_EQ(update(list("# asn files\n\n#another.asn\n")), "");
    EXPECT_TRUE(association_.entries().empty());
    EXPECT_EQ(association_.converterRuns(), 0);
    EXPECT_FALSE(error_.isSet());
}

TEST_F(Association, MissingListFileIsMinusOne) {
    EXPECT_EQ(update(dir_ / "none.lst", -1), "");
    EXPECT_EQ(error_.code, LibraryErrorCode::FileNotReadable);
}

TEST_F(Association, LoadsEveryListedModuleWithItsDefinitions) {
    fs::path a = module("a.asn", "Mod-A", "SEQUENCE {\n  x INTEGER, -- first\n  y   BOOLEAN }");
    fs::path b = module("b.asn", "Mod-B", "INTEGER");
    EXPECT_EQ(update(list(a.string() + "\n" + b.string() + "\n")), "");
    ASSERT_EQ(association_.entries().size(), 2u);
    EXPECT_EQ(association_.converterRuns(), 1);
    EXPECT_EQ(association_.entries()[0].moduleName(), "Mod-A");
    EXPECT_EQ(association_.entries()[0].filePath(), a.string());
    EXPECT_EQ(association_.entries()[1].moduleName(), "Mod-B");
    EXPECT_EQ(association_.listFileName(), (dir_ / "asn.lst").string());
    EXPECT_STREQ(findAsn1TypeDefinition("Mod-A", "Mod-A-T"), "SEQUENCE { x INTEGER, y BOOLEAN }");
    LibraryError error;
    const Asn1ValueAssignment* limit = association_.findValue("Mod-B", "limit", error);
    ASSERT_NE(limit, nullptr);
    EXPECT_EQ(limit->type, "INTEGER");
    EXPECT_EQ(limit->value, "7");
    EXPECT_EQ(association_.findType("Mod-B", "Mod-A-T", error), nullptr);
    EXPECT_EQ(error.code, LibraryErrorCode::AsnDefinitionNotFound);
    // No temporary file of the association is left behind.
    EXPECT_TRUE(fs::is_empty(dir_ / "tmp"));
}

TEST_F(Association, ChangingOneOfThreeFilesRunsTheConverterOnceAndReloadsThatBlock) {
    fs::path a = module("a.asn", "Mod-A", "INTEGER");
    fs::path b = module("b.asn", "Mod-B", "BOOLEAN");
    fs::path c = module("c.asn", "Mod-C", "NULL");
    fs::path listFile = list(a.string() + "\n" + b.string() + "\n" + c.string() + "\n");
    update(listFile);
    ASSERT_EQ(association_.entries().size(), 3u);
    Asn1ModuleHandle first = association_.entries()[0].handle();
    Asn1ModuleHandle second = association_.entries()[1].handle();
    Asn1ModuleHandle third = association_.entries()[2].handle();
    ASSERT_LT(second, third);
    {
        // Nothing changed: no converter is needed (there is none to start) and every handle stays.
        ScopedEnvironment noInstallation("VELD", "/nonexistent");
        EXPECT_EQ(update(listFile), "");
        EXPECT_EQ(association_.converterRuns(), 1);
        EXPECT_EQ(association_.entries()[1].handle(), second);
        EXPECT_EQ(Asn1ModuleTable::instance().usedSlots(), 3);
    }

    module("b.asn", "Mod-B", "OCTET STRING");
    touch(b, 10);
    EXPECT_EQ(update(listFile), "");
    EXPECT_EQ(association_.converterRuns(), 2);
    ASSERT_EQ(association_.entries().size(), 3u);
    EXPECT_EQ(association_.entries()[0].handle(), first);
    EXPECT_EQ(association_.entries()[2].handle(), third);
    const Asn1Entry& changed = association_.entries()[1];
    EXPECT_EQ(changed.moduleName(), "Mod-B");
    // The stale module gave its slot back before the new one was loaded, so
    // the new one took that slot (the first free one).
    EXPECT_EQ(changed.handle(), second);
    ASSERT_NE(changed.module(), nullptr);
    EXPECT_EQ(changed.module()->types.at(0).definition, "OCTET STRING");
    struct stat info;
    ASSERT_EQ(stat(b.c_str(), &info), 0);
    EXPECT_EQ(changed.fileStamp(), static_cast<std::uint32_t>(info.st_mtime));
    // The old handle of the changed file was released: three modules are held.
    EXPECT_EQ(Asn1ModuleTable::instance().usedSlots(), 3);
    EXPECT_STREQ(findAsn1TypeDefinition("Mod-B", "Mod-B-T"), "OCTET STRING");
}

TEST_F(Association, ConverterFailureIsNotedAndLeavesNoEntries) {
    fs::path a = module("a.asn", "Mod-A", "INTEGER");
    const fs::path listFile = list(a.string() + "\n" + (dir_ / "missing.asn").string() + "\n");
    std::string printed = update(listFile);
    EXPECT_EQ(printed,
              "NOTE: \"Could not convert ASN.1 modules to TTCN notation.\n"
              "Unable to convert ASN.1 module\n"
              "\".\n");
    EXPECT_EQ(error_.code, LibraryErrorCode::AsnConvertFailed);
    EXPECT_TRUE(association_.entries().empty());
    EXPECT_EQ(Asn1ModuleTable::instance().usedSlots(), 0);

    // The note carries the long form of the error when asked for.
    ScopedEnvironment longErrors("VELD_LONG_ERRORS", "1");
    printed = update(listFile);
    std::string start = "NOTE: \"Could not convert ASN.1 modules to TTCN notation.\nUnable to convert ASN.1 module\n*** ";
    EXPECT_EQ(printed.substr(0, start.size()), start) << printed;
    EXPECT_NE(printed.find(" @ "), std::string::npos) << printed;
    EXPECT_EQ(printed.substr(printed.size() - 4), "\n\".\n") << printed;
}

TEST_F(Association, ConverterThatCannotBeStartedIsNoted) {
    ScopedEnvironment noInstallation("VELD", (dir_ / "no such folder").string());
    fs::path a = module("a.asn", "Mod-A", "INTEGER");
    EXPECT_EQ(update(list(a.string() + "\n")),
              "NOTE: \"Could not convert ASN.1 modules to TTCN notation.\nUnable to convert ASN.1 module\n\".\n");
    EXPECT_EQ(error_.code, LibraryErrorCode::AsnConvertFailed);
}

TEST_F(Association, WithoutVeldTheConverterIsFoundThroughPath) {
    ScopedEnvironment noInstallation("VELD", std::nullopt);
    const char* path = std::getenv("PATH");
    ScopedEnvironment searchPath("PATH", binaryDirectory().string() + ":" + (path ? path : "/usr/bin:/bin"));
    fs::path a = module("a.asn", "Mod-A", "INTEGER");
    testing::internal::CaptureStderr();
    std::string printed = update(list(a.string() + "\n"));
    std::string warning = testing::internal::GetCapturedStderr();
    EXPECT_EQ(warning, "Warning: Environment variable VELD is not set.\nSearching for modconv.exe in the PATH.\n");
    EXPECT_EQ(printed, "");
    ASSERT_EQ(association_.entries().size(), 1u);
    EXPECT_EQ(association_.entries()[0].moduleName(), "Mod-A");

    // An empty VELD counts as unset.
    ScopedEnvironment emptyInstallation("VELD", "");
    fs::path b = module("b.asn", "Mod-B", "INTEGER");
    testing::internal::CaptureStderr();
    update(list(b.string() + "\n"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Warning: Environment variable VELD is not set.\nSearching for modconv.exe in the PATH.\n");
    EXPECT_EQ(association_.entries().size(), 1u);
}

TEST_F(Association, PathsWithBlanksQuotesAndSemicolonsReachTheConverterIntact) {
    fs::path odd = dir_ / "my 'odd'; name.asn";
    writeFile(odd, "Odd DEFINITIONS ::= BEGIN T ::= INTEGER END\n");
    fs::path plain = module("p.asn", "Plain", "NULL");
    installScriptConverter("cp \"$2\" \"$(dirname \"$0\")/arguments\"\n"
                           "printf '%s' \"$2\" > \"$(dirname \"$0\")/argument-file-name\"\nexec \"$VELD_REAL/modconv.exe\" \"$@\"\n");
    ScopedEnvironment real("VELD_REAL", binaryDirectory().string());
    update(list(odd.string() + "\n" + plain.string() + "\n"));
    std::string arguments = readFile(dir_ / "inst" / "arguments");
    // " -q -i <output> "<input 1>" "<input 2>" ", nothing after the last blank.
    ASSERT_EQ(arguments.rfind(" -q -i ", 0), 0u) << arguments;
    std::size_t outputEnd = arguments.find(' ', 7);
    std::string outputFile = arguments.substr(7, outputEnd - 7);
    EXPECT_EQ(fs::path(outputFile).filename().string().rfind("Veld", 0), 0u);
    EXPECT_EQ(arguments.substr(outputEnd), " \"" + odd.string() + "\" \"" + plain.string() + "\" ");
    ASSERT_EQ(association_.entries().size(), 2u);
    EXPECT_EQ(association_.entries()[0].moduleName(), "Odd");
    // The argument file and the converter's output are deleted afterwards.
    EXPECT_EQ(fs::path(outputFile).parent_path(), dir_ / "tmp");
    fs::path argumentFile = readFile(dir_ / "inst" / "argument-file-name");
    EXPECT_EQ(argumentFile.parent_path(), dir_ / "tmp");
    EXPECT_EQ(argumentFile.filename().string().rfind("Veld", 0), 0u);
    EXPECT_TRUE(fs::is_empty(dir_ / "tmp"));
}

TEST_F(Association, MessagesOfTheConverterGoToTheOutputStream) {
    // A NUL byte does not cut a message short; it is shown.
    installScriptConverter("printf 'converting\\0now\\n'\necho trouble >&2\nexit 3\n");
    std::FILE* messages = std::tmpfile();
    association_.setOutputStream(messages);
    fs::path a = module("a.asn", "Mod-A", "INTEGER");
    update(list(a.string() + "\n"));
    std::rewind(messages);
    char buffer[100] = {};
    std::size_t got = std::fread(buffer, 1, sizeof buffer - 1, messages);
    std::fclose(messages);
    EXPECT_EQ(std::string(buffer, got), "converting<NUL>now\ntrouble\n");
    EXPECT_EQ(error_.code, LibraryErrorCode::AsnConvertFailed);
}

// The converter refuses an argument line that it cannot split exactly: a
// listed path with a double quote fails the run, with the converter's reason.
TEST_F(Association, PathWithADoubleQuoteFailsTheConverterRun) {
    fs::path odd = dir_ / "my \"odd\".asn";
    writeFile(odd, "Odd DEFINITIONS ::= BEGIN T ::= INTEGER END\n");
    fs::path plain = module("p.asn", "Plain", "NULL");
    std::FILE* messages = std::tmpfile();
    association_.setOutputStream(messages);
    std::string printed = update(list(plain.string() + "\n" + odd.string() + "\n"));
    EXPECT_EQ(printed, "NOTE: \"Could not convert ASN.1 modules to TTCN notation.\nUnable to convert ASN.1 module\n\".\n");
    std::rewind(messages);
    char buffer[1000] = {};
    std::string said(buffer, std::fread(buffer, 1, sizeof buffer - 1, messages));
    std::fclose(messages);
    EXPECT_NE(said.find("holds a double quote or a line end: the line cannot be split exactly"), std::string::npos)
        << said;
    EXPECT_TRUE(association_.entries().empty());
    EXPECT_TRUE(fs::is_empty(dir_ / "tmp"));
}

TEST_F(Association, BadBlocksAreNotedAndOnlyTheirEntriesDropped) {
    struct Case {
        const char* what;
        const char* output;       // what the converter writes for modules a, b and c
        const char* diagnostics;  // the exchange reader's, on standard error
        int noted;                // the module whose block is bad: 0, 1 or 2 for a, b or c
        const char* reason;
        std::vector<std::string> kept;
    };
    const Case cases[] = {
        {"\"#TYPE #MODULE\" starts a block for the extraction but is no \"#MODULE\" line for the block parser",
         "#MODULE\\nA\\n#END\\n#TYPE #MODULE\\nB\\n#END\\n#MODULE\\nC\\n#TYPE\\nT\\n#DEFINITION\\nNULL\\n#END\\n",
         "Syntax error in line 1: #MODULE expected\n", 1, "Converted ASN.1 module contains illegal format", {"A", "C"}},
        {"a definition line holding \"#END\" ends the extracted block: the parser meets its end in the definition",
         "#MODULE\\nA\\n#TYPE\\nT\\n#DEFINITION\\nNULL -- #END of it\\n#END\\n#MODULE\\nB\\n#END\\n#MODULE\\nC\\n#END\\n",
         "Syntax error in line 6: #TYPE, #VALUE, or #END expected\n", 0,
         "Converted ASN.1 module contains illegal format", {"B", "C"}},
        {"the output ends before the last block", "#MODULE\\nA\\n#END\\n#MODULE\\nB\\n#END\\n#MODULE\\nC\\n", "", 2,
         "Unable to extract TTCN representation of ASN.1 module", {"A", "B"}},
    };
    const fs::path files[] = {module("a.asn", "Mod-A", "INTEGER"), module("b.asn", "Mod-B", "INTEGER"),
                              module("c.asn", "Mod-C", "INTEGER")};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        installScriptConverter(std::string("set -- $(cat \"$2\")\nprintf '") + k.output + "' > \"$3\"\n");
        Asn1Association association;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        association.update_from_file(
            list(files[0].string() + "\n" + files[1].string() + "\n" + files[2].string() + "\n").string(), error_);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), k.diagnostics);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "NOTE: \"Could not load ASN.1 module from '" +
                                                              files[k.noted].string() + "'\n" + k.reason + "\n\".\n");
        std::vector<std::string> kept;
        for (const Asn1Entry& entry : association.entries()) kept.push_back(entry.moduleName());
        EXPECT_EQ(kept, k.kept);
        EXPECT_TRUE(fs::is_empty(dir_ / "tmp"));
    }
    EXPECT_EQ(error_.code, LibraryErrorCode::AsnExtractFailed);
}
