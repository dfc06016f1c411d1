// The analysis of whole suites: every cell parsed, names resolved, the report
// and its summary, and the ASN.1 definitions of the by-reference rows.
#include "suite/analysis/SuiteAnalyzer.h"

#include "tree/Choices.h"
#include "tree/KindInfo.h"
#include "suite/analysis/DefinedFlags.h"
#include "tree/SymbolCode.h"
#include "suite/asn1/Asn1ExchangeReader.h"
#include "suite/asn1/Asn1ModuleTable.h"
#include "suite/mp/MpImport.h"

#include "TestSupport.h"

#include <sstream>
#include <string>

namespace {

std::string dataFile(const std::string& name) { return std::string(XLATOR_TEST_DATA) + "/analysis/" + name; }

std::string caseFile(const std::string& name, const char* extension) { return dataFile("cases/" + name + extension); }

// A system loaded from MP texts, analysed with the report captured.
struct AnalysedSystem {
    VeldSystem system;
    SymbolTables symbols;
    DefinedFlags flags;
    std::string report;
    AnalysisState state = AnalysisState::NotAnalysed;
    LibraryError error;

    void add(const std::string& name, const std::string& text) {
        LibraryError importError;
        std::unique_ptr<Document> document = importMpText(name, text, MpImportOptions{}, importError);
        ASSERT_TRUE(document) << importError.text;
        system.add(std::move(document));
    }
    // One of the small suites of tests/unit/data/analysis/cases, with the
    // library module beside it when asked for.
    void analyseCase(const std::string& name, bool withLibrary = false) {
        add(name + ".mp", readFile(caseFile(name, ".mp")));
        if (withLibrary) add("lib_mod.mp", readFile(dataFile("lib_mod.mp")));
        analyse();
    }
    void analyse() {
        CapturedStream out;
        SuiteAnalyzer analyzer(system, symbols, flags);
        AnalysisRequest request;
        request.report = out.get();
        state = analyzer.analyseSystem(system.root(), request, error);
        report = out.text();
    }
};

// The modules of the by-reference rows, Remote and Remote-Defs, loaded into
// the handle table once for the whole test program.
void loadRemoteModules() {
    static bool loaded = false;
    if (loaded) return;
    LibraryError error;
    for (const char* module : {"remote.exchange", "remote_defs.exchange"})
        ASSERT_NE(loadExchangeFile(dataFile(module), error), kNoAsn1Module) << error.text;
    loaded = true;
}

// Every identifier of a cell's tree with its symbol-table code, "name:Code".
std::string identifiers(const TreeNode* tree) {
    std::string out;
    std::vector<const TreeNode*> stack;
    if (tree) stack.push_back(tree);
    while (!stack.empty()) {
        const TreeNode* node = stack.back();
        stack.pop_back();
        if (node->kind == Choices::Identifier) {
            if (!out.empty()) out += ' ';
            out += std::string(node->text()) + ":" + symbolCodeName(SymbolCode(node->idTypeCode));
        }
        for (int32_t i = node->count - 1; i >= 0; --i)
            if (node->child[i]) stack.push_back(node->child[i]);
    }
    return out;
}

// The first table of a document with that node type.
SuiteNode* firstTable(Document& document, SuiteNodeType type) {
    for (SuiteNode* table : document.tables())
        if (table->type == type) return table;
    return nullptr;
}

// Checks what the names of the cells that `expected` lists resolve to, one
// cell a line: "<table kind>[#<n>] [row <r>] <field>: <name:Code> ...", in
// the n-th table of that kind (the first without "#n"), in the table's own
// cell or in that of its row r (from 0).
void expectNames(Document& document, const std::string& expected) {
    std::istringstream lines(expected);
    for (std::string line; std::getline(lines, line);) {
        SCOPED_TRACE(line);
        const std::size_t colon = line.find(": ");
        ASSERT_NE(colon, std::string::npos);
        std::istringstream head(line.substr(0, colon));
        std::string kind, field;
        int nth = 1, row = -1;
        head >> kind >> field;
        if (const std::size_t hash = kind.find('#'); hash != std::string::npos) {
            nth = std::stoi(kind.substr(hash + 1));
            kind.resize(hash);
        }
        if (field == "row") head >> row >> field;
        const SuiteNode* node = nullptr;
        for (const SuiteNode* table : document.tables())
            if (kind == suiteNodeTypeName(table->type) && --nth == 0) node = table;
        ASSERT_TRUE(node);
        if (row >= 0) {
            ASSERT_LT(row, static_cast<int>(node->rows.size()));
            node = node->rows[row];
        }
        const Cell* cell = node->cell(field);
        ASSERT_TRUE(cell);
        EXPECT_EQ(identifiers(cell->tree), line.substr(colon + 2));
    }
}

}  // namespace

TEST(SuiteAnalysis, EveryCellOfTheSuiteIsParsedAndItsNamesResolved) {
    loadRemoteModules();
    AnalysedSystem s;
    s.add("every_table.mp", readFile(dataFile("every_table.mp")));
    s.add("lib_mod.mp", readFile(dataFile("lib_mod.mp")));
    s.analyse();
    ASSERT_EQ(s.report, "Analyzer done.\n\nNo Errors found.\n");
    int cells = 0;
    for (const std::unique_ptr<Document>& document : s.system.documents()) {
        std::vector<const SuiteNode*> stack{document->root()};
        while (!stack.empty()) {
            const SuiteNode* node = stack.back();
            stack.pop_back();
            for (const Cell& cell : node->cells) {
                if (cell.text.empty()) continue;
                ++cells;
                EXPECT_TRUE(cell.tree) << suiteNodeTypeName(node->type) << " " << node->fieldOf(cell);
                EXPECT_EQ(cell.state(), ParseState::Parsed) << suiteNodeTypeName(node->type) << " " << node->fieldOf(cell);
            }
            for (const SuiteNode* row : node->rows) stack.push_back(row);
            for (const SuiteNode* child : node->children) stack.push_back(child);
        }
    }
    EXPECT_GT(cells, 200);

    Document& root = *s.system.root();
    expectNames(root, readFile(dataFile("every_table.names")));

    // By-reference rows get the definitions of the Remote module.
    for (SuiteNodeType type : {SuiteNodeType::ASN1_TypeRefs, SuiteNodeType::ASN1_ASP_TypeDefsByRef,
                               SuiteNodeType::ASN1_PDU_TypeDefsByRef}) {
        SuiteNode* table = firstTable(root, type);
        ASSERT_TRUE(table && !table->rows.empty()) << suiteNodeTypeName(type);
        const Cell* definition = table->rows[0]->cell("ASN1_TypeDefinition");
        ASSERT_TRUE(definition && definition->tree) << suiteNodeTypeName(type);
        EXPECT_EQ(definition->text, "SEQUENCE { id INTEGER, flag BOOLEAN }");
        EXPECT_EQ(definition->tree->kind, Choices::ASN1_TypeDefinition);
    }
    SuiteNode* constants = firstTable(root, SuiteNodeType::TS_ConstRefs);
    ASSERT_TRUE(constants);
    const Cell* value = constants->rows[0]->cell("TS_ConstValue");
    ASSERT_TRUE(value && value->tree);
    EXPECT_EQ(value->text, "42");
}

TEST(SuiteAnalysis, Asn1NamesWithHyphensAreFoundThroughTheirTtcnSpelling) {
    // TTCN identifiers hold no "-": a row that names "Remote-Rec" of module
    // "Remote-Defs" by its identifier writes "Remote_Rec" and may write the
    // module as "Remote_Defs". Such a row is valid (its report is among the
    // small suites') and gets its definition.
    loadRemoteModules();
    AnalysedSystem s;
    s.analyseCase("asn1_names_with_hyphens");
    SuiteNode* types = firstTable(*s.system.root(), SuiteNodeType::ASN1_TypeRefs);
    ASSERT_TRUE(types && types->rows.size() == 2);
    for (const SuiteNode* row : types->rows) {
        const Cell* definition = row->cell("ASN1_TypeDefinition");
        ASSERT_TRUE(definition && definition->tree);
        EXPECT_EQ(definition->text, "SEQUENCE { id INTEGER }");
    }
    SuiteNode* constants = firstTable(*s.system.root(), SuiteNodeType::TS_ConstRefs);
    ASSERT_TRUE(constants);
    const Cell* value = constants->rows[0]->cell("TS_ConstValue");
    ASSERT_TRUE(value && value->tree);
    EXPECT_EQ(value->text, "7");
}

// Small suites in tests/unit/data/analysis/cases: NAME.mp, the report its
// analysis must give (NAME.report) and what the names of some of its cells
// resolve to (NAME.names, when there). The state follows the report's summary.
TEST(SuiteAnalysis, ReportsAndNamesOfSmallSuites) {
    loadRemoteModules();
    const struct {
        const char* name;
        const char* shows;
        bool withLibrary = false;
    } cases[] = {
        {"unresolved_asn1_references", "a type or module of a by-reference row that is not there is an error"},
        {"asn1_names_with_hyphens", "ASN.1 names with hyphens are found through their TTCN spelling"},
        {"misplaced_directive", "a directive out of place is reported at its line"},
        {"conditional_rows", "rows of a table body inside #if ... #endif"},
        {"unclosed_conditional_rows", "an #if without its #endif in a table body"},
        {"undeclared_references", "an undeclared step, label and timer of behaviour lines"},
        {"names_that_are_no_objects",
         "field names, named values and unknown names in values are no references the analysis can be sure of"},
        // The carets: where the constant's value should begin; after START, which lacks its timer.
        {"errors_and_warnings", "the summary counts tables with errors and, apart, with warnings"},
        {"import_lacks_an_object", "an import of an object that its source does not have", true},
        // At the top of a constraint value the parser takes "Name(args)" for a
        // constraint reference; an operation's name makes it an operation call.
        {"calls_settled_by_name", "calls are settled by what their name denotes"},
        // "cause (1, 2)" is a component with a value list unless "cause" names
        // a constraint or an operation, as C_ITEM does.
        {"components_with_ranges_and_lists", "components with ranges and lists are no calls"},
        {"parameter_named_like_a_field", "a parameter named like a field keeps its own meaning"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shows);
        AnalysedSystem s;
        s.analyseCase(c.name, c.withLibrary);
        const std::string report = readFile(caseFile(c.name, ".report"));
        EXPECT_EQ(s.report, report);
        EXPECT_EQ(s.state, report.find("Errors found in") != std::string::npos     ? AnalysisState::AnalysedWithErrors
                           : report.find("Warnings found in") != std::string::npos ? AnalysisState::AnalysedWithWarnings
                                                                                   : AnalysisState::Analysed);
        expectNames(*s.system.root(), readFile(caseFile(c.name, ".names")));
    }
}

TEST(SuiteAnalysis, RowsLeftOutByConditionalTextAreEmptied) {
    AnalysedSystem s;
    s.analyseCase("conditional_rows");
    SuiteNode* tc = firstTable(*s.system.root(), SuiteNodeType::TestCase);
    ASSERT_TRUE(tc);
    ASSERT_EQ(tc->rows.size(), 4u);
    EXPECT_FALSE(tc->rows[0]->isEmpty());
    // Without EXTRA the directive rows and the row between them take no part.
    EXPECT_TRUE(tc->rows[1]->isEmpty());
    EXPECT_TRUE(tc->rows[2]->isEmpty());
    EXPECT_TRUE(tc->rows[3]->isEmpty());
}

TEST(SuiteAnalysis, DeclarationsLeftOutByConditionalRowsAreNoDeclarations) {
    // The same constant in both branches is no second declaration, and the
    // name denotes the row that takes part, for every table of the suite.
    for (bool wide : {false, true}) {
        AnalysedSystem s;
        if (wide) s.flags.add("WIDE");
        s.analyseCase("declarations_left_out");
        EXPECT_EQ(s.report, "Analyzer done.\n\nNo Errors found.\n") << wide;
        std::vector<const SuiteSymbol*> found = s.symbols.lookup(s.system.root(), "MAX_N");
        ASSERT_EQ(found.size(), 1u) << wide;
        EXPECT_EQ(found.front()->node->text("TS_ConstValue"), wide ? "100" : "1");
    }
}

TEST(SuiteAnalysis, ACellWithAnErrorIsParsedWithErrors) {
    AnalysedSystem s;
    s.analyseCase("undeclared_references");
    SuiteNode* tc = firstTable(*s.system.root(), SuiteNodeType::TestCase);
    ASSERT_TRUE(tc);
    EXPECT_EQ(tc->rows[1]->cell("Line")->state(), ParseState::ParsedWithErrors);
    EXPECT_EQ(tc->rows[0]->cell("Line")->state(), ParseState::Parsed);
}

TEST(SuiteAnalysis, ACallOfAnOperationBecomesAnOperationCall) {
    AnalysedSystem s;
    s.analyseCase("calls_settled_by_name");
    SuiteNode* constraint = firstTable(*s.system.root(), SuiteNodeType::TTCN_PDU_Constraint);
    ASSERT_TRUE(constraint);
    bool opCall = false, consRef = false;
    std::vector<const TreeNode*> stack{constraint->rows[0]->cell("ConsValue")->tree};
    while (!stack.empty()) {
        const TreeNode* node = stack.back();
        stack.pop_back();
        opCall = opCall || node->kind == Choices::OpCall;
        consRef = consRef || node->kind == Choices::ConsRef;
        for (int32_t i = 0; i < node->count; ++i)
            if (node->child[i]) stack.push_back(node->child[i]);
    }
    EXPECT_TRUE(opCall);
    EXPECT_FALSE(consRef);
}

// The example takes types, an ASP, a PDU and a constant by reference from the
// module of examples/sdlp_refs.asn; sdlp_refs.exchange is that module in the
// exchange format.
TEST(SuiteAnalysis, ExampleSuiteAnalysesWithoutErrors) {
    LibraryError error;
    ASSERT_NE(loadExchangeFile(dataFile("sdlp_refs.exchange"), error), kNoAsn1Module) << error.text;
    AnalysedSystem s;
    s.add("sdlp.mp", readFile(std::string(XLATOR_TEST_DATA) + "/../../../examples/sdlp.mp"));
    s.analyse();
    EXPECT_EQ(s.report, "Analyzer done.\n\nNo Errors found.\n");
}
