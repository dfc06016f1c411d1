// The identifier rule, the predefined operations, operation calls and
// constraint references of the value translation.
#include "tests/unit/XlatorValuesTestSupport.h"

namespace {

struct IdentifierCase {
    const char* what;
    const char* name;
    bool inExpression;
    Into into;
    const char* expected;
};

// The suite knows: ASN.1 types Rec, msg-Header, Local-Type (a local type);
// named numbers Red and green; the PCO L of type SAP, whose message type is
// DATA_IND. The test adds the alias SEND_DATA for DATA_IND.
const IdentifierCase kIdentifierCases[] = {
    {"plain name", "TSC_N", false, Into::Ttcn, "TSC_N"},
    {"empty name stays empty", "", false, Into::Ttcn, ""},
    {"alias expands", "SEND_DATA", false, Into::Ttcn, "DATA_IND"},
    {"alias expands, then is a message variable", "SEND_DATA", true, Into::Ttcn, "v_DATA_IND"},
    {"ASN.1 type name gets a capital, TTCN-3 underscore", "msg-Header", false, Into::Ttcn, "Msg_Header"},
    {"ASN.1 type name in the ASN.1 file keeps its hyphen", "msg-Header", false, Into::Asn, "Msg-Header"},
    {"local ASN.1 type name", "Local-Type", false, Into::Ttcn, "Local_Type"},
    {"named number gets a small letter", "Red", false, Into::Ttcn, "red"},
    {"named number already small", "green", false, Into::Ttcn, "green"},
    {"only the whole name is looked up", "Reddish", false, Into::Ttcn, "Reddish"},
    {"message type outside an expression", "DATA_IND", false, Into::Ttcn, "DATA_IND"},
    {"message type inside an expression", "DATA_IND", true, Into::Ttcn, "v_DATA_IND"},
    {"message variable in the ASN.1 file", "DATA_IND", true, Into::Asn, "v-DATA-IND"},
    {"non-message name inside an expression", "TSC_N", true, Into::Ttcn, "TSC_N"},
    {"hyphen to underscore in TTCN-3", "user-data", false, Into::Ttcn, "user_data"},
    {"underscore to hyphen in ASN.1", "user_data", false, Into::Asn, "user-data"},
    {"predefined INT_TO_BIT", "INT_TO_BIT", false, Into::Ttcn, "int2bit"},
    {"predefined BIT_TO_INT", "BIT_TO_INT", false, Into::Ttcn, "bit2int"},
    {"predefined INT_TO_HEX", "INT_TO_HEX", false, Into::Ttcn, "int2hex"},
    {"predefined HEX_TO_INT", "HEX_TO_INT", false, Into::Ttcn, "hex2int"},
    {"predefined IS_CHOSEN", "IS_CHOSEN", false, Into::Ttcn, "ischosen"},
    {"predefined IS_PRESENT", "IS_PRESENT", true, Into::Ttcn, "ispresent"},
    {"predefined LENGTH_OF", "LENGTH_OF", false, Into::Ttcn, "lengthof"},
    {"predefined NUMBER_OF_ELEMENTS", "NUMBER_OF_ELEMENTS", false, Into::Ttcn, "sizeof"},
    {"predefined name after the hyphen step", "IS-PRESENT", false, Into::Ttcn, "ispresent"},
    {"predefined name is whole-text only", "IS_PRESENT_X", false, Into::Ttcn, "IS_PRESENT_X"},
    {"no predefined names in the ASN.1 file", "IS_PRESENT", false, Into::Asn, "IS-PRESENT"},
};

TEST(IdentifierRule, EveryStepOnPlainText) {
    for (const IdentifierCase& c : kIdentifierCases) {
        ValueWriter writer;
        writer.alias("SEND_DATA", "DATA_IND");
        writer.setInExpression(c.inExpression);
        std::FILE* ttcn = std::tmpfile();
        std::FILE* asn = std::tmpfile();
        createOutput(ttcn, asn);
        if (c.into == Into::Asn) output().selectAsn();
        EXPECT_EQ(writer.identifierText(c.name), c.expected) << c.what;
        std::fclose(ttcn);
        std::fclose(asn);
    }
}

TEST(IdentifierRule, PredefinedFunctionTable) {
    EXPECT_STREQ(XlatorVisitor::predefinedFunction("LENGTH_OF"), "lengthof");
    EXPECT_EQ(XlatorVisitor::predefinedFunction("length_of"), nullptr);
    EXPECT_EQ(XlatorVisitor::predefinedFunction(""), nullptr);
}

struct CellCase {
    const char* what;
    int32_t field;
    const char* cell;
    const char* expected;
};

// Identifiers written by the Identifier visit: the flag is set by the
// Expression node, so only names inside an expression become message variables.
const CellCase kIdentifierCells[] = {
    {"message type in an expression", Choices::TS_VarValue, "DATA_IND.payload", "v := v_DATA_IND.payload"},
    {"message type in a comparison", Choices::TS_VarValue, "DATA_IND.payload = 1", "v := v_DATA_IND.payload == 1"},
    {"constraint name outside an expression", Choices::Cref, "DATA_IND", "v := DATA_IND"},
    {"named number as a value", Choices::TS_VarValue, "Red", "v := red"},
    {"component names follow the rule", Choices::TS_VarValue, "x.user-data", "v := x.user_data"},
};

TEST(IdentifierRule, IdentifierNodesInCells) {
    for (const CellCase& c : kIdentifierCells) EXPECT_EQ(writeCell(c.field, c.cell).text, c.expected) << c.what;
}

TEST(IdentifierRule, ExpressionFlagIsRestoredAfterANestedExpression) {
    // The index is an expression of its own; the message type after it is
    // still inside the outer one.
    EXPECT_EQ(writeCell(Choices::TS_VarValue, "x[1] = DATA_IND.payload").text, "v := x[1] == v_DATA_IND.payload");
    ValueWriter writer;
    ParsedCell cell(Choices::TS_VarValue, "x[1] = DATA_IND.payload");
    writeValue(writer, cell.node());
    EXPECT_EQ(writer.identifierText("DATA_IND"), "DATA_IND");  // cleared once the outermost one ends
}

// ---- Operation calls ----

const CellCase kCalls[] = {
    {"predefined call takes values", Choices::TS_VarValue, "NUMBER_OF_ELEMENTS(x)", "v := sizeof(valueof(x))"},
    {"each argument of a predefined call", Choices::TS_VarValue, "INT_TO_BIT(x, 8)",
     "v := int2bit(valueof(x), valueof(8))"},
    {"predefined call in a constraint value", Choices::ConsValue, "LENGTH_OF(x)", "v := lengthof(valueof(x))"},
    {"suite operation takes its arguments as they are", Choices::TS_VarValue, "F(a, b)", "v := F(a, b)"},
    {"operation without arguments", Choices::TS_VarValue, "F()", "v := F()"},
    {"unknown operation", Choices::TS_VarValue, "G(1, 2)", "v := G(1, 2)"},
    // The first formal parameter of F is a Rec: its value gets the omitted
    // components of Rec.
    {"structured argument of a suite operation", Choices::TS_VarValue, "F({ a 1, c 2 }, TSC_N)",
     "v := F(\n{\n  a := 1, \n  c := 2\n  , b := omit, d := omit\n}, TSC_N)"},
};

TEST(OperationCall, PredefinedAndSuiteOperations) {
    for (const CellCase& c : kCalls) EXPECT_EQ(writeCell(c.field, c.cell).text, c.expected) << c.what;
}

TEST(OperationCall, ParameterListOnItsOwnTakesTheDefinitionOnTop) {
    ParsedCell cell(Choices::TS_VarValue, "X({ c 3 }, 2)");
    ActualParList list = TS_VarValue(cell.tree).declarationValue().expression().simpleExpression().term().factor()
                             .primary().opCall().actualParList();
    ASSERT_EQ(list.size(), 2);
    ValueWriter writer;
    // The constraint C_REC has the formal parameters p: Rec and n: INTEGER.
    EXPECT_EQ(writeValue(writer, AccessNode(list), {suiteObject("C_REC")}).text,
              "v := \n{\n  c := 3\n  , b := omit, d := omit\n}, 2");
    EXPECT_EQ(writer.stackDepth(), 0u);
    // Without a definition on top the values are written without types.
    EXPECT_EQ(writeValue(writer, AccessNode(list)).text, "v := \n{\n  c := 3\n}, 2");
}

// ---- Constraint references ----

const CellCase kConstraintReferences[] = {
    {"bare constraint name", Choices::Cref, "C_REC", "v := C_REC"},
    {"empty parameter list", Choices::ConsValue, "C_REC()", "v := C_REC"},
    {"SEQUENCE parameter on one line", Choices::ConsValue, "C_REC({ a 1, c 2 }, 5)",
     "v := C_REC({a := 1, c := 2, b := omit, d := omit}, 5)"},
    {"nested reference stays on the line", Choices::ConsValue, "C_REC(C_REC({ c 1 }, 1), 2)",
     "v := C_REC(C_REC({c := 1, b := omit, d := omit}, 1), 2)"},
    {"matching symbols as parameters", Choices::Cref, "C_REC(?, *)", "v := C_REC(?, *)"},
};

TEST(ConstraintReference, ParametersOnTheReferenceLine) {
    for (const CellCase& c : kConstraintReferences) {
        ParsedCell cell(c.field, c.cell);
        ValueWriter writer;
        EXPECT_EQ(writeValue(writer, cell.node()).text, c.expected) << c.what;
        EXPECT_EQ(writer.stackDepth(), 0u) << c.what;
        // Both switches of the writer are back on afterwards.
        EXPECT_TRUE(output().lineBreaks()) << c.what;
        EXPECT_TRUE(output().indentOn()) << c.what;
    }
}

TEST(ConstraintReference, TheReferencedConstraintIsOnTopWhileItsNameIsWritten) {
    ParsedCell cell(Choices::ConsValue, "C_REC({ a 1 }, 5)");
    ValueWriter writer;
    std::vector<AccessNode> tops;
    writer.onValue = [&](const AccessNode& top) { tops.push_back(top); };
    writeValue(writer, cell.node());
    FormalParList formals = suiteObject("C_REC").as<ASN1_TypeConstraint>().consId().consIdAndParList().formalParList();
    ASSERT_EQ(tops.size(), 4u);  // the constraint value, its two parameters, a's value
    EXPECT_TRUE(tops[0].isEmpty());
    EXPECT_TRUE(tops[1] == AccessNode(formals.formalParAndType(0).formalParType()));
    EXPECT_EQ(tops[2].choice(), Choices::ASN1_Type);  // the type of component a
    EXPECT_TRUE(tops[3] == AccessNode(formals.formalParAndType(1).formalParType()));
}

}  // namespace
