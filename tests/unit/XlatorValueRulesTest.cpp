// The rules of the value translation that a cell alone does not show: the
// identifier rule on plain text, value forms the field parser never builds,
// the two assertions, and the resolution of type context stack entries.
#include "tests/unit/XlatorValuesTestSupport.h"

namespace {

// The suite knows the ASN.1 types msg-Header and Local-Type, the named
// number Red and the message type DATA_IND; the alias SEND_DATA is added.
TEST(IdentifierRule, EveryStepOnPlainText) {
    struct Case {
        const char* name;
        bool inExpression;
        Into into;
        const char* expected;
    };
    const Case cases[] = {
        {"TSC_N", false, Into::Ttcn, "TSC_N"},           {"", false, Into::Ttcn, ""},
        {"SEND_DATA", false, Into::Ttcn, "DATA_IND"},    {"SEND_DATA", true, Into::Ttcn, "v_DATA_IND"},
        {"msg-Header", false, Into::Ttcn, "Msg_Header"}, {"msg-Header", false, Into::Asn, "Msg-Header"},
        {"Local-Type", false, Into::Ttcn, "Local_Type"}, {"Red", false, Into::Ttcn, "red"},
        {"Reddish", false, Into::Ttcn, "Reddish"},       {"DATA_IND", false, Into::Ttcn, "DATA_IND"},
        {"DATA_IND", true, Into::Ttcn, "v_DATA_IND"},    {"DATA_IND", true, Into::Asn, "v-DATA-IND"},
        {"TSC_N", true, Into::Ttcn, "TSC_N"},            {"user-data", false, Into::Ttcn, "user_data"},
        {"user_data", false, Into::Asn, "user-data"},    {"INT_TO_BIT", false, Into::Ttcn, "int2bit"},
        {"BIT_TO_INT", false, Into::Ttcn, "bit2int"},    {"INT_TO_HEX", false, Into::Ttcn, "int2hex"},
        {"HEX_TO_INT", false, Into::Ttcn, "hex2int"},    {"IS_CHOSEN", false, Into::Ttcn, "ischosen"},
        {"IS_PRESENT", true, Into::Ttcn, "ispresent"},   {"LENGTH_OF", false, Into::Ttcn, "lengthof"},
        {"NUMBER_OF_ELEMENTS", false, Into::Ttcn, "sizeof"}, {"IS-PRESENT", false, Into::Ttcn, "ispresent"},
        {"IS_PRESENT_X", false, Into::Ttcn, "IS_PRESENT_X"}, {"IS_PRESENT", false, Into::Asn, "IS-PRESENT"},
    };
    std::FILE* files[2] = {std::tmpfile(), std::tmpfile()};
    for (const Case& c : cases) {
        ValueWriter writer;
        writer.alias("SEND_DATA", "DATA_IND");
        writer.setInExpression(c.inExpression);
        createOutput(files[0], files[1]);
        if (c.into == Into::Asn) output().selectAsn();
        EXPECT_EQ(writer.identifierText(c.name), c.expected) << c.name << (c.inExpression ? " in an expression" : "");
    }
    std::fclose(files[0]);
    std::fclose(files[1]);
}

// SET, SET OF and selection values have the shape of their SEQUENCE and
// CHOICE counterparts; the field parser never builds them.
TEST(ValueForms, SetSetOfSelectionAndBitStringValues) {
    struct Renamed {
        const char* cell;
        int32_t from, to;
        const char* type;
        const char* expected;
    };
    for (const Renamed& c : {Renamed{"{ x 1 }", Choices::SequenceValue, Choices::SetValue, "Tagged",
                                     "v := \n{\n  x := 1\n  , y := omit\n}"},
                             Renamed{"{ 1, 2 }", Choices::SequenceOfValue, Choices::SetOfValue, nullptr,
                                     "v := \n{\n  1, \n  2\n}"},
                             Renamed{"num 5", Choices::ChoiceValue, Choices::SelectionValue, nullptr,
                                     "v := \n{\n  num := 5\n}\n"}}) {
        ParsedCell cell(Choices::ASN1_ConsValue, c.cell);
        TreeNode* value = firstOfKind(cell.tree, c.from);
        ASSERT_NE(value, nullptr) << c.cell;
        value->kind = c.to;
        ValueWriter writer;
        Written w = c.type ? writeValue(writer, cell.node(), {suiteObject(c.type)}) : writeValue(writer, cell.node());
        EXPECT_EQ(w.text, c.expected) << c.cell;
    }
    TreeArena arena;
    ValueWriter writer;
    TreeNode* bits = makeSequence(arena, Choices::BitStringValue,
                                  {makeList(arena, Choices::IdentifierList, {makeText(arena, Choices::Identifier, "b-1"),
                                                                             makeText(arena, Choices::Identifier, "b2")})});
    EXPECT_EQ(writeValue(writer, AccessNode(bits->kind, bits)).text, "v := 'b_1, b2'B");
    TreeNode* bit = makeChoice(arena, Choices::BitRef,
                               makeSequence(arena, Choices::BitIdentifier, {makeText(arena, Choices::Identifier, "b-7")}));
    EXPECT_EQ(writeValue(writer, AccessNode(bit->kind, bit)).text, "v := [b_7]");
    ParsedCell omit(Choices::ASN1_ConsValue, "OMIT (2).f");
    EXPECT_EQ(writeValue(writer, AccessNode(Choices::ReferenceList, firstOfKind(omit.tree, Choices::ReferenceList))).text,
              "v := [2].f");
    EXPECT_EQ(writeValue(writer, AccessNode(Choices::OMIT, makeKeyword(arena, Choices::OMIT))).text, "v := omit");
}

TEST(ValueForms, FormalParameterTypes) {
    ParsedCell cell(Choices::ConsId, "C(t: TIMER; c: CP; p: PDU; n: INTEGER)");
    FormalParList formals = ConsId(cell.tree).consIdAndParList().formalParList();
    ValueWriter writer;
    auto typeOf = [&](int32_t i) { return writeValue(writer, AccessNode(formals.formalParAndType(i).formalParType())); };
    const std::string pdu = "PDU parameters receive 'anytype' type, you need to fix constraint to get "
                            "'{MyType := actualParameter}'";
    EXPECT_EQ(typeOf(0).text, "v := timer");
    EXPECT_EQ(typeOf(1).text, "v := CP_Type");
    EXPECT_EQ(typeOf(2).text, "v := \n// TODO: " + pdu + "\nanytype");
    EXPECT_EQ(typeOf(2).errors, "warning: " + pdu + "\n");
    EXPECT_EQ(typeOf(3).text, "v := integer");
}

// ---- The two assertions of real values ----

void visitAlone(const AccessNode& node) {
    createOutput(std::tmpfile(), std::tmpfile());
    ValueWriter writer;
    writer.Visit(node);
}

TEST(RealValuesDeathTest, OtherBaseAndTheBaseAlone) {
    ParsedCell cell(Choices::ASN1_ConsValue, "{ 3, 10, 4 }");
    TreeNode* base = firstOfKind(cell.tree, Choices::Base);
    ASSERT_NE(base, nullptr);
    EXPECT_EXIT(visitAlone(AccessNode(Choices::Base, base)), ::testing::ExitedWithCode(1),
                "^ASSERTION FAILED: false \\('INTERNAL_ERROR: in VisitBase'\\) at .*XlatorAsn1Values\\.cpp\\([0-9]+\\)\n$");
    base->child[0]->kind = Choices::Mult;  // no base at all
    EXPECT_EXIT(visitAlone(cell.node()), ::testing::ExitedWithCode(1),
                "^ASSERTION FAILED: false \\('Unexpected choice in VisitNumericRealValue'\\) at "
                ".*XlatorAsn1Values\\.cpp\\([0-9]+\\)\n$");
}

// ---- Resolving stack entries ----

TEST(TypeContext, ResolutionAndFormalParameters) {
    ValueWriter writer;
    // A parameter list on its own takes the definition on top.
    ParsedCell call(Choices::TS_VarValue, "X({ c 3 }, 2)");
    AccessNode list(Choices::ActualParList, firstOfKind(call.tree, Choices::ActualParList));
    EXPECT_EQ(writeValue(writer, list, {suiteObject("C_REC")}).text, "v := \n{\n  c := 3\n  , b := omit, d := omit\n}, 2");
    EXPECT_EQ(writeValue(writer, list).text, "v := \n{\n  c := 3\n}, 2");
    EXPECT_EQ(writer.asn1Structure(suiteObject("DATA_IND")).choice(), Choices::TTCN_ASP_TypeDef);  // tabular, as it is
    EXPECT_TRUE(writer.asn1Structure(suiteObject("Loop")).isEmpty());
    ParsedCell grouped(Choices::ConsId, "C(a, b: INTEGER; c: Rec)");
    FormalParList formals = ConsId(grouped.tree).consIdAndParList().formalParList();
    std::vector<AccessNode> types = XlatorVisitor::formalParameterTypes(AccessNode(formals));
    ASSERT_EQ(types.size(), 3u);  // a group of names repeats its type
    EXPECT_TRUE(types[0] == AccessNode(formals.formalParAndType(0).formalParType()) && types[1] == types[0]);
    EXPECT_TRUE(types[2] == AccessNode(formals.formalParAndType(1).formalParType()));
    EXPECT_EQ(XlatorVisitor::formalParameterTypes(suiteObject("F")).size(), 2u);
}

}  // namespace
