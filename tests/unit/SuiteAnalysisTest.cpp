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

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string dataFile(const std::string& name) { return std::string(XLATOR_TEST_DATA) + "/analysis/" + name; }

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

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
    void analyse(int errorLimit = 0) {
        std::FILE* out = std::tmpfile();
        SuiteAnalyzer analyzer(system, symbols, flags);
        AnalysisRequest request;
        request.report = out;
        request.errorLimit = errorLimit;
        state = analyzer.analyseSystem(system.root(), request, error);
        std::fflush(out);
        std::rewind(out);
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, out)) > 0) report.append(buffer, n);
        std::fclose(out);
    }
};

// The Remote module of the by-reference rows, loaded into the handle table
// once for the whole test program.
void loadRemoteModule() {
    static bool loaded = false;
    if (loaded) return;
    LibraryError error;
    ASSERT_NE(loadExchangeFile(dataFile("remote.exchange"), error), kNoAsn1Module) << error.text;
    loaded = true;
}

}  // namespace

namespace {

// A small suite around the given declarations and dynamic part.
std::string suite(const std::string& declarations, const std::string& dynamic = "",
                  const std::string& constraints = "") {
    return "$Suite $SuiteId SMALL\n$DeclarationsPart\n" + declarations + "$End_DeclarationsPart\n$ConstraintsPart\n" +
           constraints + "$End_ConstraintsPart\n$DynamicPart\n" + dynamic + "$End_DynamicPart\n$End_Suite\n";
}

const std::string kDeclarations =
    " $Begin_PCO_TypeDcls $PCO_TypeDcl $PCO_TypeId SAP $P_Role LT $End_PCO_TypeDcl $End_PCO_TypeDcls\n"
    " $Begin_PCO_Dcls $PCO_Dcl $PCO_Id L $PCO_TypeId SAP $P_Role LT $End_PCO_Dcl $End_PCO_Dcls\n"
    " $Begin_TimerDcls $TimerDcl $TimerId T1 $Duration 5 $Unit s $End_TimerDcl $End_TimerDcls\n"
    " $TTCN_PDU_TypeDefs $Begin_TTCN_PDU_TypeDef $PDU_Id P1 $PCO_Type SAP $PDU_FieldDcls\n"
    "  $PDU_FieldDcl $PDU_FieldId n $PDU_FieldType INTEGER $End_PDU_FieldDcl\n"
    " $End_PDU_FieldDcls $End_TTCN_PDU_TypeDef $End_TTCN_PDU_TypeDefs\n";

// A test case whose body is the given behaviour lines.
std::string testCase(const std::string& name, const std::string& lines) {
    return " $TestCases $Begin_TestCase $TestCaseId " + name +
           " $TestGroupRef $TestPurpose /* p */ $DefaultsRef $BehaviourDescription\n" + lines +
           " $End_BehaviourDescription $End_TestCase $End_TestCases\n";
}

std::string line(int indentation, const std::string& statement, const std::string& label = "",
                 const std::string& cref = "", const std::string& verdict = "") {
    return "  $BehaviourLine $LabelId " + label + " $Line [" + std::to_string(indentation) + "] " + statement +
           " $Cref " + cref + " $VerdictId " + verdict + " $End_BehaviourLine\n";
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

}  // namespace

TEST(SuiteAnalysis, EveryCellOfTheSuiteIsParsedAndItsNamesResolved) {
    loadRemoteModule();
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
    SuiteNode* testCase = firstTable(root, SuiteNodeType::TestCase);
    ASSERT_TRUE(testCase);
    // [1] +PREAMBLE(L): a test step attached with a PCO.
    EXPECT_EQ(identifiers(testCase->rows[1]->cell("Line")->tree), "PREAMBLE:TestStep L:PCO");
    EXPECT_EQ(identifiers(testCase->rows[1]->cell("LabelId")->tree), "L_AGAIN:Label");
    EXPECT_EQ(identifiers(testCase->rows[2]->cell("Line")->tree), "L:PCO ECHO_PDU:TTCN_PDU T1:Timer");
    EXPECT_EQ(identifiers(testCase->rows[2]->cell("Cref")->tree), "C_ECHO:TTCN_PDU_Cons TSC_MAX:TS_Const");
    EXPECT_EQ(identifiers(testCase->rows[3]->cell("Line")->tree),
              "L:PCO ECHO_PDU:TTCN_PDU TCV_N:TC_Var TCV_N:TC_Var T1:Timer");
    EXPECT_EQ(identifiers(testCase->rows[5]->cell("Line")->tree), "L_AGAIN:Label");
    EXPECT_EQ(identifiers(testCase->rows[8]->cell("Line")->tree), "LT_WAIT:LocalTree");
    EXPECT_EQ(identifiers(testCase->cell("Configuration")->tree), "CONFIG_A:TCompConfig");
    EXPECT_EQ(identifiers(testCase->cell("DefaultsRef")->tree), "DEF_OTHER:DefaultCase");

    // Rows of constraints name the parts of their types.
    SuiteNode* structConstraint = firstTable(root, SuiteNodeType::StructTypeConstraint);
    ASSERT_TRUE(structConstraint);
    EXPECT_EQ(identifiers(structConstraint->rows[0]->cell("ElemId")->tree), "kind:Elem");
    EXPECT_EQ(identifiers(structConstraint->rows[0]->cell("ConsValue")->tree), "p_kind:FormalParam");
    SuiteNode* pduConstraint = firstTable(root, SuiteNodeType::TTCN_PDU_Constraint);
    ASSERT_TRUE(pduConstraint);
    EXPECT_EQ(identifiers(pduConstraint->rows[0]->cell("PDU_FieldId")->tree), "hdr:PDU_Field");
    EXPECT_EQ(identifiers(pduConstraint->rows[0]->cell("ConsValue")->tree), "C_HEADER:StructCons");
    SuiteNode* aspConstraint = firstTable(root, SuiteNodeType::TTCN_ASP_Constraint);
    ASSERT_TRUE(aspConstraint);
    EXPECT_EQ(identifiers(aspConstraint->rows[0]->cell("ASP_ParId")->tree), "payload:ASP_Par");
    SuiteNode* cmConstraint = firstTable(root, SuiteNodeType::TTCN_CM_Constraint);
    ASSERT_TRUE(cmConstraint);
    EXPECT_EQ(identifiers(cmConstraint->rows[0]->cell("CM_ParId")->tree), "step:CM_Par");

    SuiteNode* step = firstTable(root, SuiteNodeType::TestStep);
    ASSERT_TRUE(step);
    // The formal parameter p stands for the PCO inside the step.
    EXPECT_EQ(identifiers(step->rows[0]->cell("Line")->tree), "p:FormalParam DATA_REQ:TTCN_ASP");
    EXPECT_EQ(identifiers(step->rows[1]->cell("Line")->tree), "CP1:CP READY_CM:TTCN_CM");

    // An object imported from the library module.
    SuiteNode* imports = firstTable(root, SuiteNodeType::Imports);
    ASSERT_TRUE(imports);
    EXPECT_EQ(identifiers(imports->rows[0]->cell("ObjectName")->tree), "LIB_COUNT:SimpleType");
    SuiteNode* config = firstTable(root, SuiteNodeType::TCompConfigDcl);
    ASSERT_TRUE(config);
    EXPECT_EQ(identifiers(config->rows[0]->cell("TCompUsed")->tree), "MTC1:TComp");
    EXPECT_EQ(identifiers(config->rows[0]->cell("PCOs_Used")->tree), "L:PCO");

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

TEST(SuiteAnalysis, UnresolvedAsn1ReferencesAreErrors) {
    loadRemoteModule();
    AnalysedSystem s;
    s.add("small.mp", suite(" $Begin_ASN1_TypeRefs\n"
                            "  $ASN1_TypeRef $ASN1_TypeId A $ASN1_TypeReference Nowhere $ASN1_ModuleId Remote $End_ASN1_TypeRef\n"
                            "  $ASN1_TypeRef $ASN1_TypeId B $ASN1_TypeReference RemoteRec $ASN1_ModuleId Absent $End_ASN1_TypeRef\n"
                            " $End_ASN1_TypeRefs\n"));
    s.analyse();
    EXPECT_EQ(s.report,
              "=============================================\n"
              "Analysis of the table: ASN1_TypeRefs\n"
              "Error:\n"
              "  Row: A (ASN1_Type)\n"
              "    ASN1_TypeReference:\n"
              "The referred ASN.1 type could not be found in module.\n"
              "Nowhere\n"
              "^\n"
              "\n"
              "Error:\n"
              "  Row: B (ASN1_Type)\n"
              "    ASN1_ModuleId:\n"
              "The referred ASN.1 module could not be found.\n"
              "Absent\n"
              "^\n"
              "\n"
              "Analyzer done.\n\nErrors found in 1 tables.\n");
    EXPECT_EQ(s.state, AnalysisState::AnalysedWithErrors);
}

TEST(SuiteAnalysis, Asn1NamesWithHyphensAreFoundThroughTheirTtcnSpelling) {
    // TTCN identifiers hold no "-": a row that names "Remote-Rec" of module
    // "Remote-Defs" by its identifier writes "Remote_Rec" and may write the
    // module as "Remote_Defs". Such a row is valid and gets its definition.
    loadRemoteModule();
    static bool loaded = false;
    if (!loaded) {
        LibraryError error;
        ASSERT_NE(loadExchangeFile(dataFile("remote_defs.exchange"), error), kNoAsn1Module) << error.text;
        loaded = true;
    }
    AnalysedSystem s;
    s.add("small.mp",
          suite(" $Begin_ASN1_TypeRefs\n"
                "  $ASN1_TypeRef $ASN1_TypeId Remote_Rec $ASN1_TypeReference $ASN1_ModuleId Remote-Defs $End_ASN1_TypeRef\n"
                "  $ASN1_TypeRef $ASN1_TypeId R2 $ASN1_TypeReference Remote-Rec $ASN1_ModuleId Remote_Defs $End_ASN1_TypeRef\n"
                " $End_ASN1_TypeRefs\n"
                " $Begin_TS_ConstRefs\n"
                "  $TS_ConstRef $TS_ConstId C $TS_ConstType INTEGER $ASN1_ValueReference remote_max $ASN1_ModuleId Remote_Defs $Comment $End_TS_ConstRef\n"
                " $End_TS_ConstRefs\n"));
    s.analyse();
    EXPECT_EQ(s.report, "Analyzer done.\n\nNo Errors found.\n");
    EXPECT_EQ(s.state, AnalysisState::Analysed);
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

TEST(SuiteAnalysis, MisplacedDirectivesAreReportedAtTheirLine) {
    AnalysedSystem s;
    s.add("small.mp", suite(" $Begin_TS_ConstDcls\n"
                            "  $TS_ConstDcl $TS_ConstId TSC_SIZE $TS_ConstType INTEGER\n"
                            "   $TS_ConstValue 1\n#endif\n"
                            "  $End_TS_ConstDcl\n"
                            " $End_TS_ConstDcls\n"));
    s.analyse();
    EXPECT_EQ(s.report,
              "=============================================\n"
              "Analysis of the table: TS_ConstDcls\n"
              "Error:\n"
              "  Row: TSC_SIZE (TS_Const)\n"
              "    TS_ConstValue:\n"
              "Unexpected #endif.\n"
              "#endif\n"
              "^\n"
              "\n"
              "Analyzer done.\n\nErrors found in 1 tables.\n");
}

TEST(SuiteAnalysis, ConditionalRowsOfATableBody) {
    const std::string body = line(0, "L ! P1") + "  $BehaviourLine $LabelId $Line [0] #if defined(EXTRA) $End_BehaviourLine\n" +
                             line(0, "L ? P1", "", "", "PASS") + "  $BehaviourLine $LabelId $Line [0] #endif $End_BehaviourLine\n";
    AnalysedSystem s;
    s.add("small.mp", suite(kDeclarations, testCase("TC_ONE", body)));
    s.analyse();
    EXPECT_EQ(s.report, "Analyzer done.\n\nNo Errors found.\n");
    SuiteNode* tc = firstTable(*s.system.root(), SuiteNodeType::TestCase);
    ASSERT_TRUE(tc);
    ASSERT_EQ(tc->rows.size(), 4u);
    EXPECT_FALSE(tc->rows[0]->isEmpty());
    // Without EXTRA the directive rows and the row between them take no part.
    EXPECT_TRUE(tc->rows[1]->isEmpty());
    EXPECT_TRUE(tc->rows[2]->isEmpty());
    EXPECT_TRUE(tc->rows[3]->isEmpty());

    AnalysedSystem open;
    open.add("small.mp",
             suite(kDeclarations, testCase("TC_ONE", line(0, "L ! P1") +
                                                         "  $BehaviourLine $LabelId $Line [0] #if defined(X) $End_BehaviourLine\n")));
    open.analyse();
    EXPECT_EQ(open.report,
              "=============================================\n"
              "Analysis of the table: TC_ONE (TestCase) of type: TestCase\n"
              "  Body:\n"
              "Error:\n"
              "Mismatched #if/#endif pair in table body.\n"
              "\n"
              "Analyzer done.\n\nErrors found in 1 tables.\n");
}

TEST(SuiteAnalysis, DeclarationsLeftOutByConditionalRowsAreNoDeclarations) {
    // The same constant in both branches is no second declaration, and the
    // name denotes the row that takes part, for every table of the suite.
    const std::string constants =
        " $Begin_TS_ConstDcls\n"
        "  $TS_ConstDcl $TS_ConstId #if defined(WIDE) $End_TS_ConstDcl\n"
        "  $TS_ConstDcl $TS_ConstId MAX_N $TS_ConstType INTEGER $TS_ConstValue 100 $End_TS_ConstDcl\n"
        "  $TS_ConstDcl $TS_ConstId #else $End_TS_ConstDcl\n"
        "  $TS_ConstDcl $TS_ConstId MAX_N $TS_ConstType INTEGER $TS_ConstValue 1 $End_TS_ConstDcl\n"
        "  $TS_ConstDcl $TS_ConstId #endif $End_TS_ConstDcl\n"
        " $End_TS_ConstDcls\n";
    for (bool wide : {false, true}) {
        AnalysedSystem s;
        if (wide) s.flags.add("WIDE");
        s.add("small.mp", suite(kDeclarations + constants, testCase("TC_ONE", line(0, "[MAX_N > 0]"))));
        s.analyse();
        EXPECT_EQ(s.report, "Analyzer done.\n\nNo Errors found.\n") << wide;
        EXPECT_EQ(s.state, AnalysisState::Analysed);
        std::vector<const SuiteSymbol*> found = s.symbols.lookup(s.system.root(), "MAX_N");
        ASSERT_EQ(found.size(), 1u) << wide;
        EXPECT_EQ(found.front()->node->text("TS_ConstValue"), wide ? "100" : "1");
    }
}

TEST(SuiteAnalysis, UndeclaredReferencesOfBehaviourLines) {
    AnalysedSystem s;
    s.add("small.mp", suite(kDeclarations, testCase("TC_ONE", line(0, "L ! P1", "L1") + line(1, "+NO_SUCH_STEP") +
                                                                   line(1, "-> NO_LABEL") +
                                                                   line(1, "START T_MISSING"))));
    s.analyse();
    EXPECT_EQ(s.report,
              "=============================================\n"
              "Analysis of the table: TC_ONE (TestCase) of type: TestCase\n"
              "  Row: (#2)\n"
              "Error:\n"
              "    Line:\n"
              "The referenced object NO_SUCH_STEP is not declared.\n"
              "\n"
              "  Row: (#3)\n"
              "Error:\n"
              "    Line:\n"
              "Illegal label NO_LABEL is not defined in this context.\n"
              "\n"
              "  Row: (#4)\n"
              "Error:\n"
              "    Line:\n"
              "The referenced object T_MISSING is not declared.\n"
              "\n"
              "Analyzer done.\n\nErrors found in 1 tables.\n");
    SuiteNode* tc = firstTable(*s.system.root(), SuiteNodeType::TestCase);
    EXPECT_EQ(tc->rows[1]->cell("Line")->state(), ParseState::ParsedWithErrors);
    EXPECT_EQ(tc->rows[0]->cell("Line")->state(), ParseState::Parsed);
}

TEST(SuiteAnalysis, NamesThatAreNotObjectsAreNotBlamed) {
    // Field names, named values, enumerations and unknown names in values are
    // no references the analysis can be sure of.
    AnalysedSystem s;
    s.add("small.mp",
          suite(kDeclarations +
                    " $Begin_TS_VarDcls $TS_VarDcl $TS_VarId V $TS_VarType INTEGER $TS_VarValue someValue $End_TS_VarDcl $End_TS_VarDcls\n",
                testCase("TC_ONE", line(0, "L ? P1 [P1.n = 1] (V := P1.n)", "", "C_ANY({ n 1 })", "PASS")),
                " $TTCN_PDU_Constraints $Begin_TTCN_PDU_Constraint $ConsId C_ANY(x: INTEGER) $PDU_Id P1 $DerivPath\n"
                "  $PDU_FieldValues $PDU_FieldValue $PDU_FieldId n $ConsValue x $End_PDU_FieldValue $End_PDU_FieldValues\n"
                " $End_TTCN_PDU_Constraint $End_TTCN_PDU_Constraints\n"));
    s.analyse();
    EXPECT_EQ(s.report, "Analyzer done.\n\nNo Errors found.\n");
}

TEST(SuiteAnalysis, SummaryCountsTablesWithErrorsAndWithWarnings) {
    AnalysedSystem s;
    s.add("small.mp",
          suite(kDeclarations +
                    " $Begin_TS_VarDcls\n"
                    "  $TS_VarDcl $TS_VarId V $TS_VarType INTEGER $TS_VarValue 1 $End_TS_VarDcl\n"
                    "  $TS_VarDcl $TS_VarId V $TS_VarType BOOLEAN $TS_VarValue TRUE $End_TS_VarDcl\n"
                    " $End_TS_VarDcls\n"
                    " $Begin_TS_ConstDcls $TS_ConstDcl $TS_ConstId C $TS_ConstType INTEGER $TS_ConstValue ( $End_TS_ConstDcl $End_TS_ConstDcls\n",
                testCase("TC_ONE", line(0, "L ! P1 START"))));
    s.analyse();
    EXPECT_EQ(s.report,
              "=============================================\n"
              "Analysis of the table: TS_VarDcls\n"
              "Warning:\n"
              "  Row: V (TS_Var)\n"
              "    TS_VarId:\n"
              "The name V is not unique.\n"
              "\n"
              "=============================================\n"
              "Analysis of the table: TS_ConstDcls\n"
              "Error:\n"
              "  Row: C (TS_Const)\n"
              "    TS_ConstValue:\n"
              "Syntax error:\n"
              "(\n"
              " ^\n"  // the text ends where the value should begin
              "\n"
              "=============================================\n"
              "Analysis of the table: TC_ONE (TestCase) of type: TestCase\n"
              "  Row: (#1)\n"
              "Error:\n"
              "    Line:\n"
              "Syntax error:\n"
              "[0] L ! P1 START\n"
              "                ^\n"  // START lacks its timer
              "\n"
              "Analyzer done.\n\nErrors found in 2 tables.\nFurthermore warnings found in 1 tables.\n");
    EXPECT_EQ(s.state, AnalysisState::AnalysedWithErrors);
}

TEST(SuiteAnalysis, ImportOfAnObjectTheSourceLacks) {
    AnalysedSystem s;
    s.add("small.mp",
          "$Suite $SuiteId SMALL\n$ImportPart $Begin_Imports $SourceId LIB_MOD $ImportedObjects\n"
          " $ImportedObject $ObjectId LIB_COUNT $ObjectType SimpleType_Object $End_ImportedObject\n"
          " $ImportedObject $ObjectId LIB_NOPE $ObjectType SimpleType_Object $End_ImportedObject\n"
          "$End_ImportedObjects $End_Imports $End_ImportPart\n"
          "$DeclarationsPart $End_DeclarationsPart $ConstraintsPart $End_ConstraintsPart $DynamicPart $End_DynamicPart\n"
          "$End_Suite\n");
    s.add("lib_mod.mp", readFile(dataFile("lib_mod.mp")));
    s.analyse();
    EXPECT_EQ(s.report,
              "Unable to find object LIB_NOPE, imported from LIB_MOD into SMALL.\n"
              "Analyzer done.\n\nNo Errors found.\n");
}

TEST(SuiteAnalysis, CallsAreSettledByWhatTheirNameDenotes) {
    // At the top of a constraint value the parser takes "Name(args)" for a
    // constraint reference; an operation's name makes it an operation call.
    AnalysedSystem s;
    s.add("small.mp",
          suite(kDeclarations +
                    " $TS_OpDefs $Begin_TS_OpDef $TS_OpId DOUBLE(x: INTEGER) $TS_OpResult INTEGER $TS_OpDescription /* 2x */ $End_TS_OpDef $End_TS_OpDefs\n",
                "",
                " $TTCN_PDU_Constraints\n"
                " $Begin_TTCN_PDU_Constraint $ConsId C_A $PDU_Id P1 $DerivPath\n"
                "  $PDU_FieldValues $PDU_FieldValue $PDU_FieldId n $ConsValue DOUBLE(2) $End_PDU_FieldValue $End_PDU_FieldValues\n"
                " $End_TTCN_PDU_Constraint\n"
                " $Begin_TTCN_PDU_Constraint $ConsId C_B(p: INTEGER) $PDU_Id P1 $DerivPath\n"
                "  $PDU_FieldValues $PDU_FieldValue $PDU_FieldId n $ConsValue p $End_PDU_FieldValue $End_PDU_FieldValues\n"
                " $End_TTCN_PDU_Constraint\n"
                " $End_TTCN_PDU_Constraints\n"));
    s.analyse();
    EXPECT_EQ(s.report, "Analyzer done.\n\nNo Errors found.\n");
    SuiteNode* constraint = firstTable(*s.system.root(), SuiteNodeType::TTCN_PDU_Constraint);
    ASSERT_TRUE(constraint);
    const TreeNode* tree = constraint->rows[0]->cell("ConsValue")->tree;
    bool opCall = false, consRef = false;
    std::vector<const TreeNode*> stack{tree};
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
    EXPECT_EQ(identifiers(tree), "DOUBLE:TS_Op");
}

TEST(SuiteAnalysis, ComponentsWithRangesAndListsAreNoCalls) {
    // "cause (1, 2)" is a component with a value list unless "cause" names a
    // constraint or an operation, as C_ITEM does.
    auto asn1Constraint = [](const std::string& id, const std::string& type, const std::string& value) {
        return "  $Begin_ASN1_TypeConstraint $ConsId " + id + " $ASN1_TypeId " + type +
               " $DerivPath $Comment $ASN1_ConsValue " + value + " $End_ASN1_TypeConstraint\n";
    };
    AnalysedSystem s;
    s.add("small.mp",
          suite(kDeclarations +
                    " $ASN1_TypeDefs\n"
                    "  $Begin_ASN1_TypeDef $ASN1_TypeId CAUSE_T $Comment\n"
                    "   $ASN1_TypeDefinition SEQUENCE { cause INTEGER, diagnostic OCTET STRING OPTIONAL }\n"
                    "  $End_ASN1_TypeDef\n"
                    "  $Begin_ASN1_TypeDef $ASN1_TypeId CAUSES_T $Comment $ASN1_TypeDefinition SEQUENCE OF CAUSE_T"
                    " $End_ASN1_TypeDef\n"
                    " $End_ASN1_TypeDefs\n",
                "",
                " $ASN1_TypeConstraints\n" + asn1Constraint("C_RANGE", "CAUSE_T", "{ cause (0 TO 15), diagnostic * }") +
                    asn1Constraint("C_LIST", "CAUSE_T", "{ cause (1, 2) }") +
                    asn1Constraint("C_ITEM(p: INTEGER)", "CAUSE_T", "{ cause p, diagnostic OMIT }") +
                    asn1Constraint("C_ITEMS", "CAUSES_T", "{ C_ITEM (1), C_ITEM (2) }") +
                    " $End_ASN1_TypeConstraints\n"));
    s.analyse();
    EXPECT_EQ(s.report, "Analyzer done.\n\nNo Errors found.\n");
    std::vector<std::string> names;
    for (const SuiteNode* table : s.system.root()->tables())
        if (table->type == SuiteNodeType::ASN1_TypeConstraint)
            names.push_back(identifiers(table->cell("ASN1_ConsValue")->tree));
    EXPECT_EQ(names, (std::vector<std::string>{"cause: diagnostic:", "cause:", "cause: p:FormalParam diagnostic:",
                                               "C_ITEM:ASN1_Cons C_ITEM:ASN1_Cons"}));
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

TEST(SuiteAnalysis, KeywordStatementsAreNoTreeHeaders) {
    AnalysedSystem s;
    s.add("small.mp",
          suite(kDeclarations,
                " $TestStepLibrary $Begin_TestStep $TestStepId STEP $TestStepRef $Objective /* o */\n"
                "  $BehaviourDescription\n" +
                    line(0, "L ! P1") + line(1, "RETURN") + line(0, "L ? P1") + line(1, "CREATE(P: STEP)") +
                    "  $End_BehaviourDescription $End_TestStep $End_TestStepLibrary\n"));
    s.analyse();
    EXPECT_EQ(s.report, "Analyzer done.\n\nNo Errors found.\n");
    SuiteNode* step = firstTable(*s.system.root(), SuiteNodeType::TestStep);
    ASSERT_TRUE(step);
    ASSERT_EQ(step->rows.size(), 4u);
    for (int row : {1, 3}) {
        EXPECT_FALSE(step->rows[row]->treeHeader) << row;
        EXPECT_EQ(step->rows[row]->indentation, 1) << row;
        EXPECT_TRUE(step->rows[row]->cell("Line")->tree) << row;
        EXPECT_EQ(step->rows[row]->text("Header"), "") << row;
    }
    EXPECT_EQ(step->rows[1]->text("Line"), "[1] RETURN");
}

TEST(SuiteAnalysis, ParameterNamedLikeAFieldKeepsItsOwnMeaning) {
    AnalysedSystem s;
    s.add("small.mp", suite(kDeclarations, "",
                            " $TTCN_PDU_Constraints $Begin_TTCN_PDU_Constraint $ConsId C_N(n: INTEGER) $PDU_Id P1 $DerivPath\n"
                            "  $PDU_FieldValues $PDU_FieldValue $PDU_FieldId n $ConsValue n $End_PDU_FieldValue $End_PDU_FieldValues\n"
                            " $End_TTCN_PDU_Constraint $End_TTCN_PDU_Constraints\n"));
    s.analyse();
    EXPECT_EQ(s.report, "Analyzer done.\n\nNo Errors found.\n");
    SuiteNode* constraint = firstTable(*s.system.root(), SuiteNodeType::TTCN_PDU_Constraint);
    ASSERT_TRUE(constraint);
    EXPECT_EQ(identifiers(constraint->rows[0]->cell("PDU_FieldId")->tree), "n:PDU_Field");
    EXPECT_EQ(identifiers(constraint->rows[0]->cell("ConsValue")->tree), "n:FormalParam");
    SuiteNode* type = firstTable(*s.system.root(), SuiteNodeType::TTCN_PDU_TypeDef);
    ASSERT_TRUE(type);
    EXPECT_EQ(identifiers(type->rows[0]->cell("PDU_FieldId")->tree), "n:PDU_Field");
}
