#include <vector>

#include "Asn1TestSupport.h"
#include "suite/asn1/Asn1ExchangeReader.h"
#include "suite/asn1/Asn1Lookup.h"

using namespace asn1test;

namespace {
class ExchangeReader : public ScratchDirectory {
protected:
    // Loads `text` as an exchange file; the handle (or kNoAsn1Module) and what went to standard error.
    Asn1ModuleHandle load(const std::string& text, std::string* diagnostics = nullptr) {
        writeFile(dir_ / "block.txt", text);
        error_.clear();
        testing::internal::CaptureStderr();
        Asn1ModuleHandle handle = loadExchangeFile((dir_ / "block.txt").string(), error_);
        std::string printed = testing::internal::GetCapturedStderr();
        if (diagnostics) *diagnostics = printed;
        if (handle != kNoAsn1Module) loaded_.push_back(handle);
        return handle;
    }
    void TearDown() override {
        for (auto handle : loaded_) Asn1ModuleTable::instance().release(handle);
        ScratchDirectory::TearDown();
    }
    const Asn1Module& module(Asn1ModuleHandle handle) { return *Asn1ModuleTable::instance().module(handle); }

    LibraryError error_;
    std::vector<Asn1ModuleHandle> loaded_;
};

std::string definitionOfLength(std::size_t length) {
    // Lines of 99 characters and a line end, the last one shorter: `length`
    // characters in all, line ends included.
    std::string text;
    while (text.size() + 100 <= length) text += std::string(99, 'x') + "\n";
    std::size_t rest = length - text.size();
    if (rest > 0) text += std::string(rest - 1, 'y') + "\n";
    return text;
}
}  // namespace

TEST_F(ExchangeReader, ReadsTypesAndValuesNewestFirstWithTrailingBlanksRemoved) {
    std::string diagnostics;
    Asn1ModuleHandle handle = load(
        "#MODULE\nMod-A  \n\n"
        "#TYPE\nAge\t\n#DEFINITION\nINTEGER (0..\n\n  150)  \n\n"
        "#VALUE\nmaxAge\n#TYPE\nINTEGER\n#DEFINITION\n150\n"
        "#TYPE\nAge\n#DEFINITION\nBOOLEAN\n"
        "#TYPE\n#Weird\n#DEFINITION\n#MODULEX\n"
        "#END\n",
        &diagnostics);
    ASSERT_NE(handle, kNoAsn1Module) << diagnostics;
    EXPECT_EQ(diagnostics, "");
    const Asn1Module& m = module(handle);
    EXPECT_EQ(m.name, "Mod-A");
    ASSERT_EQ(m.types.size(), 3u);
    // The last assignment of the file comes first; lines that begin with "#"
    // but are no keyword lines are text; empty lines are skipped.
    EXPECT_EQ(m.types[0].name, "#Weird");
    EXPECT_EQ(m.types[0].definition, "#MODULEX");
    EXPECT_EQ(m.types[1].definition, "BOOLEAN");
    EXPECT_EQ(m.types[2].name, "Age");
    EXPECT_EQ(m.types[2].definition, "INTEGER (0..\n  150)");
    ASSERT_EQ(m.values.size(), 1u);
    EXPECT_EQ(m.values[0].name, "maxAge");
    EXPECT_EQ(m.values[0].type, "INTEGER");
    EXPECT_EQ(m.values[0].value, "150");
    // A lookup finds the later of two equal names.
    EXPECT_STREQ(findAsn1TypeDefinition("Mod-A", "Age"), "BOOLEAN");
}

TEST_F(ExchangeReader, EverySyntaxErrorNamesItsLineAndFailsWithIllegalFormat) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"#TYPE\nA\n#DEFINITION\nINTEGER\n#END\n", "Syntax error in line 1: #MODULE expected\n"},
        {"\n\n#MODULE\nM\n#DEFINITION\n", "Syntax error in line 5: #TYPE, #VALUE, or #END expected\n"},
        {"#MODULE\nM\nA ::= INTEGER\n", "Syntax error in line 3: #TYPE, #VALUE, or #END expected\n"},
        {"#MODULE\nM\n#TYPE\nA\n#DEFINITION\nINTEGER\n", "Syntax error in line 6: #TYPE, #VALUE, or #END expected\n"},
        {"#MODULE\nM\n#TYPE\n#END\n", "Syntax error in line 4: Type name expected\n"},
        {"#MODULE\nM\n#TYPE\nA\nINTEGER\n", "Syntax error in line 5: #DEFINITION expected\n"},
        {"#MODULE\nM\n#VALUE\n#TYPE\n", "Syntax error in line 4: Value name expected\n"},
        {"#MODULE\nM\n#VALUE\nv\n#DEFINITION\n5\n#END\n", "Syntax error in line 5: #TYPE expected in value assignment\n"},
        {"#MODULE\nM\n#VALUE\nv\n#TYPE\nINTEGER\n#END\n", "Syntax error in line 7: #DEFINITION expected\n"},
        {"#MODULE \nM\n#END\n", "Syntax error in line 1: #MODULE expected\n"},
        {"", "Syntax error in line 0: #MODULE expected\n"},
    };
    int usedBefore = Asn1ModuleTable::instance().usedSlots();
    for (const auto& c : cases) {
        std::string diagnostics;
        EXPECT_EQ(load(c.text, &diagnostics), kNoAsn1Module) << c.text;
        EXPECT_EQ(diagnostics, c.message) << c.text;
        EXPECT_EQ(error_.code, LibraryErrorCode::AsnIllegalFormat);
        EXPECT_EQ(error_.text, "Converted ASN.1 module contains illegal format");
    }
    // Every failed parse gave its slot back.
    EXPECT_EQ(Asn1ModuleTable::instance().usedSlots(), usedBefore);
}

TEST_F(ExchangeReader, DefinitionOf39999CharactersLoadsAnd40000IsTooLong) {
    std::string fits = definitionOfLength(39999);
    ASSERT_EQ(fits.size(), 39999u);
    Asn1ModuleHandle handle = load("#MODULE\nM\n#TYPE\nBig\n#DEFINITION\n" + fits + "#END\n");
    ASSERT_NE(handle, kNoAsn1Module);
    EXPECT_EQ(module(handle).types[0].definition, fits.substr(0, fits.size() - 1));

    std::string diagnostics;
    EXPECT_EQ(load("#MODULE\nM\n#TYPE\nBig\n#DEFINITION\n" + definitionOfLength(40000) + "#END\n", &diagnostics),
              kNoAsn1Module);
    EXPECT_EQ(diagnostics, "Error: Definition too long\n");
    EXPECT_EQ(error_.code, LibraryErrorCode::AsnIllegalFormat);

    // The value's type text has the same limit.
    EXPECT_EQ(load("#MODULE\nM\n#VALUE\nv\n#TYPE\n" + definitionOfLength(40000) + "#DEFINITION\n1\n#END\n",
                   &diagnostics),
              kNoAsn1Module);
    EXPECT_EQ(diagnostics, "Error: Definition too long\n");
}

TEST_F(ExchangeReader, LinesAreReadInPiecesOf999Characters) {
    // A 1500-character name line is read as two lines: the second piece is
    // where "#DEFINITION" was expected (line 4 of the file is lines 4 and 5).
    std::string diagnostics;
    EXPECT_EQ(load("#MODULE\nM\n#TYPE\n" + std::string(1500, 'N') + "\n#DEFINITION\nX\n#END\n", &diagnostics),
              kNoAsn1Module);
    EXPECT_EQ(diagnostics, "Syntax error in line 5: #DEFINITION expected\n");
    // In a definition the pieces join up again.
    Asn1ModuleHandle handle = load("#MODULE\nM\n#TYPE\nT\n#DEFINITION\n" + std::string(2500, 'd') + "\n#END\n");
    ASSERT_NE(handle, kNoAsn1Module);
    EXPECT_EQ(module(handle).types[0].definition, std::string(2500, 'd'));
}

TEST_F(ExchangeReader, UnreadableFileIsError233) {
    LibraryError error;
    EXPECT_EQ(loadExchangeFile((dir_ / "missing.txt").string(), error), kNoAsn1Module);
    EXPECT_EQ(error.code, LibraryErrorCode::AsnReadFailed);
    EXPECT_EQ(error.text, "Couldn't read file");
}

TEST_F(ExchangeReader, The2001stModuleFindsNoHandle) {
    auto& table = Asn1ModuleTable::instance();
    writeFile(dir_ / "one.txt", "#MODULE\nOne\n#END\n");
    std::vector<Asn1ModuleHandle> held;
    while (table.usedSlots() < kAsn1ModuleSlots) {
        LibraryError error;
        Asn1ModuleHandle handle = loadExchangeFile((dir_ / "one.txt").string(), error);
        ASSERT_NE(handle, kNoAsn1Module) << "after " << held.size();
        held.push_back(handle);
    }
    LibraryError error;
    EXPECT_EQ(loadExchangeFile((dir_ / "one.txt").string(), error), kNoAsn1Module);
    EXPECT_EQ(error.code, LibraryErrorCode::AsnNoHandlesLeft);
    EXPECT_EQ(error.text, "No handles left for ASN.1 modules. Reached maximum");
    // A freed slot is taken again, and it is the first free one.
    table.release(held[17]);
    error.clear();
    EXPECT_EQ(loadExchangeFile((dir_ / "one.txt").string(), error), held[17]);
    for (auto handle : held) table.release(handle);
    EXPECT_EQ(table.usedSlots(), 0);
}

TEST_F(ExchangeReader, LookupOfMissingDefinitionIsError232) {
    Asn1ModuleHandle handle = load("#MODULE\nLook\n#TYPE\nT\n#DEFINITION\nNULL\n"
                                   "#VALUE\nv\n#TYPE\nT\n#DEFINITION\nNULL\n#END\n");
    ASSERT_NE(handle, kNoAsn1Module);
    LibraryError error;
    EXPECT_STREQ(findAsn1TypeDefinition("Look", "T", &error), "NULL");
    EXPECT_FALSE(error.isSet());
    const Asn1ValueAssignment* value = findAsn1ValueDefinition("Look", "v", &error);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, "T");
    EXPECT_EQ(findAsn1TypeDefinition("Look", "v", &error), nullptr);  // a value is no type
    EXPECT_EQ(error.code, LibraryErrorCode::AsnDefinitionNotFound);
    EXPECT_EQ(error.text, "Unable to retrieve value or type definition");
    error.clear();
    EXPECT_EQ(findAsn1ValueDefinition("Other", "v", &error), nullptr);
    EXPECT_EQ(error.code, LibraryErrorCode::AsnDefinitionNotFound);
}
