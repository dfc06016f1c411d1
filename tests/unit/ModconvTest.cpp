#include <sstream>

#include "Asn1TestSupport.h"
#include "modconv/ConverterArguments.h"
#include "modconv/ExchangeWriter.h"
#include "modconv/Keywords.h"
#include "modconv/ModuleSplitter.h"
#include "platform/Process.h"
#include "suite/asn1/Asn1Association.h"
#include "suite/asn1/Asn1ExchangeReader.h"

using namespace asn1test;

namespace {
const std::set<std::string>& keywords() {
    static const std::set<std::string> words = [] {
        auto read = readKeywordFile((binaryDirectory() / "modconv_kwd.txt").string());
        return read ? *read : std::set<std::string>{};
    }();
    return words;
}

// "line: note|error: text" of every message, one per line.
std::string messagesOf(const SplitResult& result) {
    std::string out;
    for (const auto& m : result.messages)
        out += std::to_string(m.line) + ": " + (m.isError ? "error: " : "note: ") + m.text + "\n";
    return out;
}

std::string convert(const std::string& source, std::string* messages = nullptr) {
    SplitResult result = splitModules(source, keywords());
    if (messages) *messages = messagesOf(result);
    return result.ok() ? exchangeBlock(result.modules) : std::string("(refused)\n");
}
}  // namespace

TEST(ConverterArgumentFile, OutputPathAndQuotedInputsAreTakenAsWritten) {
    std::string problem;
    auto parsed = parseArgumentLine(" -q -i /tmp/Veld out \"a b.asn\" \"x'y;z.asn\" \"/c.asn\" \n", problem);
    ASSERT_TRUE(parsed) << problem;
    EXPECT_TRUE(parsed->quiet);
    EXPECT_EQ(parsed->outputFile, "/tmp/Veld out");
    EXPECT_EQ(parsed->inputFiles, (std::vector<std::string>{"a b.asn", "x'y;z.asn", "/c.asn"}));

    parsed = parseArgumentLine("-i out \"one.asn\" ", problem);
    ASSERT_TRUE(parsed) << problem;
    EXPECT_FALSE(parsed->quiet);
    EXPECT_EQ(parsed->inputFiles, std::vector<std::string>{"one.asn"});
}

TEST(ConverterArgumentFile, MalformedLinesAreRefusedWithAReason) {
    const struct {
        const char* line;
        const char* problem;
    } cases[] = {
        {" -q \"a.asn\" ", "no output file given (-i)"},
        {" -i out ", "no input files given"},
        {" -x -i out \"a\" ", "unknown option \"-x\""},
        {" -i out \"a.asn ", "input files must be given in double quotes"},
        // A quote inside a name: "a" "b" "c" might be one name or three.
        {" -i out \"a\" \"b\"c.asn\" ",
         "the input file name \"b\"c.asn\" holds a double quote or a line end: the line cannot be split exactly"},
        {" -i o\"ut \"a.asn\" ",
         "the output file name holds a double quote or a line end: the line cannot be split exactly"},
    };
    for (const auto& c : cases) {
        std::string problem;
        auto parsed = parseArgumentLine(c.line, problem);
        EXPECT_FALSE(parsed.has_value()) << c.line;
        EXPECT_EQ(problem, c.problem) << c.line;
    }
    // A name with a line end leaves a second line in the file.
    std::string problem;
    EXPECT_EQ(argumentLineOf(" -i out \"a.asn\" \n", problem), std::optional<std::string>(" -i out \"a.asn\" "));
    EXPECT_EQ(argumentLineOf(" -i out \"a\nb.asn\" ", problem), std::nullopt);
    EXPECT_EQ(problem, "the argument file holds more than one line: the line cannot be split exactly");
}

// Modules as users write them, each in tests/unit/data/modconv: NAME.asn, the
// exchange block expected of it (NAME.exchange) and its notes (NAME.notes, none
// when missing).
TEST(ModuleConverter, ModulesBecomeOneCleanExchangeBlock) {
    const struct {
        const char* name;
        const char* shows;
    } cases[] = {
        {"users_module", "a module as users write it: header, exports, imports and comments dropped, blanks collapsed"},
        {"several_modules", "several modules in one file share the first module's block"},
        {"macros_and_objects", "macros, information objects and parameterised assignments skipped with a note"},
        {"macro_values", "macro values ending in a clause with braces or a type stay whole"},
        // Written as they stand, the empty line inside the character string would
        // be skipped by the exchange reader and its "#TYPE" line taken as a keyword.
        {"strings_over_lines", "strings over several lines become one line of the block"},
    };
    const fs::path dir = fs::path(XLATOR_TEST_DATA) / "modconv";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shows);
        std::string notes;
        EXPECT_EQ(convert(readFile(dir / (std::string(c.name) + ".asn")), &notes),
                  readFile(dir / (std::string(c.name) + ".exchange")));
        EXPECT_EQ(notes, readFile(dir / (std::string(c.name) + ".notes")));
    }
}

TEST(ModuleConverter, InputItCannotConvertIsRefusedWithLineAndReason) {
    struct Case {
        std::string source;
        const char* message;
    };
    const Case cases[] = {
        {"", "1: error: no ASN.1 module found\n"},
        {"-- only a comment\n", "1: error: no ASN.1 module found\n"},
        {"M DEFINITION ::= BEGIN END\n", "1: error: \"DEFINITIONS\" expected after the module name \"M\", found \"DEFINITION\"\n"},
        {"M DEFINITIONS ::= BEGIN\nA ::= SEQUENCE { a INTEGER\nB ::= NULL\nEND\n",
         "2: error: \"{\" is never closed\n"},
        {"M DEFINITIONS ::= BEGIN\nA ::= SEQUENCE { a INTEGER ) \nEND\n",
         "2: error: \")\" does not match \"{\" of line 2\n"},
        {"M DEFINITIONS ::= BEGIN\nA ::= NULL }\nEND\n", "2: error: \"}\" without an opening bracket\n"},
        {"M DEFINITIONS ::= BEGIN\nA ::= NULL\n", "2: error: module \"M\" has no END\n"},
        {"M DEFINITIONS ::= BEGIN\nA ::= INTEGER (\xE2\x80\x93" "1..5)\nEND\n",
         "2: error: \"\xE2\x80\x93\" is not ASN.1 (in \"A\")\n"},
        {"M DEFINITIONS ::= BEGIN\nA ::= NULL\n/* open\nEND\n", "3: error: comment \"/*\" is never closed\n"},
        {"M DEFINITIONS ::= BEGIN\nA ::= \nB ::= NULL\nEND\n", "2: error: assignment \"A\" has no definition\n"},
        {"M DEFINITIONS ::= BEGIN\n5 A ::= NULL\nEND\n", "2: error: unexpected \"5\"\n"},
        {"M DEFINITIONS ::= BEGIN\nv INTEGER ::= 5 ::= 6\nEND\n",
         "2: error: cannot tell where the assignment before \"::=\" begins\n"},
        {"M DEFINITIONS ::= BEGIN\nt IA5String ::= \"#END\"\nEND\n",
         "2: error: \"t\" holds \"#MODULE\" or \"#END\", which the exchange format cannot carry\n"},
        {"M DEFINITIONS ::= BEGIN IMPORTS A FROM B\nEND\n", "1: error: IMPORTS list has no closing \";\"\n"},
        {"m DEFINITIONS ::= BEGIN END\n", "1: error: module name expected, found \"m\"\n"},
        {"M DEFINITIONS ::= BEGIN\nT ::= " + std::string(200000, '{') + "\nEND\n", "2: error: \"{\" is never closed\n"},
    };
    for (const auto& c : cases) {
        std::string messages;
        EXPECT_EQ(convert(c.source, &messages), "(refused)\n") << c.source.substr(0, 80);
        EXPECT_EQ(messages, c.message) << c.source.substr(0, 80);
    }
}

TEST(ModuleConverter, LongDefinitionsAreWrappedIntoLinesTheReaderTakes) {
    std::string components;
    for (int i = 0; i < 900; ++i)
        components.append(i ? ",\n  " : "  ").append("component").append(std::to_string(i)).append(" OCTET STRING(SIZE(1..8))");
    std::string messages;
    SplitResult result = splitModules("M DEFINITIONS ::= BEGIN\nBig ::= SEQUENCE {\n" + components + "\n}\nEND\n",
                                      keywords());
    ASSERT_TRUE(result.ok()) << messagesOf(result);
    const std::string& text = result.modules.at(0).assignments.at(0).definition;
    EXPECT_GT(text.size(), 39000u / 2);
    std::istringstream lines(text);
    std::string line;
    std::string joined;
    while (std::getline(lines, line)) {
        EXPECT_LE(line.size() + 1, 999u);
        EXPECT_NE(line, "");
        joined.append(joined.empty() ? "" : " ").append(line);
    }
    EXPECT_EQ(joined.rfind("SEQUENCE { component0 OCTET STRING(SIZE(1..8)), component1 ", 0), 0u);

    // Text without blanks is broken between lexical items.
    std::string packed = "INTEGER(";
    for (int i = 0; i < 400; ++i) packed.append(i ? "|" : "").append(std::to_string(i));
    packed += ")";
    result = splitModules("M DEFINITIONS ::= BEGIN\nPacked ::= " + packed + "\nEND\n", keywords());
    ASSERT_TRUE(result.ok());
    const std::string& wrapped = result.modules[0].assignments[0].definition;
    for (std::istringstream in(wrapped); std::getline(in, line);) EXPECT_LE(line.size() + 1, 999u);
    std::string unwrapped = wrapped;
    std::erase(unwrapped, '\n');
    EXPECT_EQ(unwrapped, packed);

    // Over the limit of the exchange format the module is refused.
    std::string huge;
    for (int i = 0; i < 3000; ++i) huge.append(i ? ", " : "").append("c").append(std::to_string(i)).append(" BOOLEAN");
    result = splitModules("M DEFINITIONS ::= BEGIN\nHuge ::= SET { " + huge + " }\nEND\n", keywords());
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(messagesOf(result).rfind("2: error: the definition of \"Huge\" has ", 0), 0u) << messagesOf(result);
}

namespace {
// The number of type and of value assignments of an exchange block.
std::pair<int, int> typesAndValues(const std::string& block) {
    std::pair<int, int> count;
    std::istringstream in(block);
    for (std::string line; std::getline(in, line);) {
        count.first += line == "#TYPE";
        count.second += line == "#VALUE";
    }
    count.first -= count.second;  // every value assignment has its own "#TYPE" line
    return count;
}

class RealModules : public ScratchDirectory {
protected:
    void SetUp() override {
        ScratchDirectory::SetUp();
        XLATOR_REQUIRE_PUBLISHED_MODULES();
        corpus_ = publishedModulesDir();
    }
    // Runs modconv.exe on one file; its exit status, messages and output.
    int runConverter(const fs::path& input, std::string& messages, std::string& output) {
        writeFile(dir_ / "args", " -q -i " + (dir_ / "out").string() + " \"" + input.string() + "\" \n");
        fs::remove(dir_ / "out");
        messages.clear();
        ProcessResult result = runProcess((binaryDirectory() / "modconv.exe").string(), {"-l", (dir_ / "args").string()},
                                          [&](const char* data, std::size_t size) { messages.append(data, size); });
        output = readFile(dir_ / "out");
        return result.started ? result.exitStatus : -2;
    }
    static fs::path module(const std::string& fileName) { return publishedModule(fileName); }
    fs::path corpus_;
};
}  // namespace

TEST_F(RealModules, EveryModuleIsConvertedOrRefusedWithAMessage) {
    int converted = 0;
    int refused = 0;
    for (const auto& file : fs::recursive_directory_iterator(corpus_)) {
        if (!file.is_regular_file() || file.path().filename() == "README.md") continue;
        std::string messages;
        std::string output;
        int status = runConverter(file.path(), messages, output);
        ASSERT_TRUE(status == 0 || status == 1) << file.path() << " ended with " << status << "\n" << messages;
        if (status == 0) {
            ++converted;
            EXPECT_EQ(output.rfind("#MODULE\n", 0), 0u) << file.path();
            EXPECT_EQ(messages.find(": error: "), std::string::npos) << messages;
            // Two counts written down by hand from the files themselves.
            if (file.path().filename() == "Constant-definitions.asn") {
                EXPECT_EQ(typesAndValues(output).second, 194);
            }
            if (file.path().filename() == "Addressing-Data-Elements.asn") {
                EXPECT_EQ(typesAndValues(output).first, 20);
            }
        } else {
            ++refused;
            EXPECT_NE(messages.find(file.path().string() + ":"), std::string::npos) << messages;
            EXPECT_NE(messages.find(": error: "), std::string::npos) << messages;
        }
    }
    // The corpus holds two files that are no valid ASN.1 (a misspelt header,
    // a non-ASCII dash in a subtype); the other 22 convert.
    EXPECT_EQ(converted, 22);
    EXPECT_EQ(refused, 2);
}

TEST_F(RealModules, ConvertedModulesLoadThroughTheAssociation) {
    std::string listText = "# real modules\n";
    std::vector<std::string> names = {"H323-MESSAGES.asn", "PKIX1Explicit88.asn",
                                      "SNMPv2-SMI.txt", "x680.asn", "CMIP-1.asn"};
    for (const auto& name : names) listText += module(name).string() + "\n";
    writeFile(dir_ / "asn.lst", listText);
    Asn1Association association;
    LibraryError error;
    testing::internal::CaptureStdout();
    EXPECT_EQ(association.update_from_file((dir_ / "asn.lst").string(), error), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_EQ(association.entries().size(), names.size()) << error.text;
    EXPECT_EQ(association.entries()[0].moduleName(), "H323-MESSAGES");
    EXPECT_EQ(association.entries()[2].moduleName(), "SNMPv2-SMI");
    EXPECT_EQ(association.entries()[0].module()->types.size(), 175u);
    const Asn1TypeAssignment* found = association.findType("PKIX1Explicit88", "Version", error);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->definition, "INTEGER { v1(0), v2(1), v3(2) }");
    const Asn1ValueAssignment* value = association.findValue("PKIX1Explicit88", "ub-name", error);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, "INTEGER");
    EXPECT_EQ(value->value, "32768");
}

TEST_F(RealModules, ConverterWithoutKeywordFileStopsWithStatus2) {
    fs::remove(dir_ / "modconv_kwd.txt");
    std::string messages;
    std::string output;
    EXPECT_EQ(runConverter(module("RFC1157-SNMP.asn"), messages, output), 2);
    EXPECT_EQ(messages,
              "modconv.exe: cannot read the ASN.1 keyword file \"modconv_kwd.txt\" in the working directory\n");
}
