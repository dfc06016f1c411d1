// Parse trees of the field parsers, one group per field family: the kinds in
// order, texts and presence, written by hand from the field grammars. Every
// tree is also checked against the suite tree schema.
#include "suite/fields/FieldParser.h"
#include "suite/mp/TableLayout.h"
#include "tests/unit/FieldTreeText.h"

#include "tree/TreeViews.h"

#include <gtest/gtest.h>

namespace {

// Parses, expects no finding and a schema-conforming tree, and returns the
// compact form.
std::string shape(int32_t kind, std::string_view text) {
    TreeArena arena;
    FieldParseResult r = parseField(kind, text, 7, arena);
    EXPECT_TRUE(r.findings.empty()) << text << ": message " << r.findings.front().message << " at "
                                    << r.findings.front().offset;
    EXPECT_EQ(schemaViolations(r.tree), "") << text;
    return compact(r.tree);
}

const std::string kNoRefs = "ComponentReferenceList()";
std::string ref(const std::string& name) { return "DataObjectReference(\"" + name + "\", " + kNoRefs + ")"; }
std::string cva(const std::string& v) { return "ConstraintValueAndAttributes(" + v + ", -)"; }
std::string expr(const std::string& v) { return cva("ConstraintExpression(" + v + ")"); }

TEST(BehaviourLineParser, EventsWithQualifierAssignmentsAndTimers) {
    EXPECT_EQ(shape(Choices::Line, "[1] L ? CC [CC.cause = 0] (TCV_n := TCV_n + 1) CANCEL T1"),
              "Line(Indentation(\"1\"), EventStatement(Receive(\"L\", \"CC\"), Qualifier(RelExpression("
              "DataObjectReference(\"CC\", ComponentReferenceList(RecordRef(ComponentIdentifier(\"cause\")))), "
              "Equal, \"0\")), AssignmentList(Assignment(" + ref("TCV_n") + ", AddExpression(" + ref("TCV_n")
              + ", Plus, \"1\"))), TimerOps(CancelTimer(\"T1\"))))");
    EXPECT_EQ(shape(Choices::Line, "[0] L ! CR START T1"),
              "Line(Indentation(\"0\"), EventStatement(Send(\"L\", \"CR\"), -, AssignmentList(), "
              "TimerOps(StartTimer(\"T1\", -))))");
    EXPECT_EQ(shape(Choices::Line, "[0] ! CR"),
              "Line(Indentation(\"0\"), EventStatement(Send(-, \"CR\"), -, AssignmentList(), TimerOps()))");
    EXPECT_EQ(shape(Choices::Line, "[2] ?TIMEOUT T1"),
              "Line(Indentation(\"2\"), EventStatement(Timeout(\"T1\"), -, AssignmentList(), TimerOps()))");
    EXPECT_EQ(shape(Choices::Line, "[2] ? TIMEOUT"),
              "Line(Indentation(\"2\"), EventStatement(Timeout(-), -, AssignmentList(), TimerOps()))");
    EXPECT_EQ(shape(Choices::Line, "[1] L ? OTHERWISE"),
              "Line(Indentation(\"1\"), EventStatement(Otherwise(\"L\"), -, AssignmentList(), TimerOps()))");
    EXPECT_EQ(shape(Choices::Line, "[0] ? DONE(PTC1, PTC2)"),
              "Line(Indentation(\"0\"), EventStatement(Done(TCompIdList(\"PTC1\", \"PTC2\")), -, AssignmentList(), "
              "TimerOps()))");
    EXPECT_EQ(shape(Choices::Line, "[0] ?DONE"),
              "Line(Indentation(\"0\"), EventStatement(Done(TCompIdList()), -, AssignmentList(), TimerOps()))");
    EXPECT_EQ(shape(Choices::Line, "[0] [TCV_n > 3]"),
              "Line(Indentation(\"0\"), EventStatement(-, Qualifier(RelExpression(" + ref("TCV_n")
              + ", Greater, \"3\")), AssignmentList(), TimerOps()))");
    EXPECT_EQ(shape(Choices::Line, "[0] (TCV_n := 0, x := y) START T1(10), READTIMER T2(v), CANCEL"),
              "Line(Indentation(\"0\"), EventStatement(-, -, AssignmentList(Assignment(" + ref("TCV_n")
              + ", \"0\"), Assignment(" + ref("x") + ", " + ref("y") + ")), TimerOps(StartTimer(\"T1\", "
              "TimerValue(\"10\")), ReadTimer(\"T2\", " + ref("v") + "), CancelTimer(-))))");
    EXPECT_EQ(shape(Choices::Line, "[0] CP1 ! CM_READY"),
              "Line(Indentation(\"0\"), EventStatement(Send(\"CP1\", \"CM_READY\"), -, AssignmentList(), TimerOps()))");
}

TEST(BehaviourLineParser, ConstructsAndImplicitSend) {
    EXPECT_EQ(shape(Choices::Line, "[0] +PREAMBLE(L, 3)"),
              "Line(Indentation(\"0\"), Attach(TreeReference(\"PREAMBLE\"), ActualParList(" + expr(ref("L"))
              + ", " + expr("\"3\"") + ")))");
    EXPECT_EQ(shape(Choices::Line, "[3] -> LBL1"), "Line(Indentation(\"3\"), GoTo(Label(\"LBL1\")))");
    EXPECT_EQ(shape(Choices::Line, "[3] GOTO LBL1"), "Line(Indentation(\"3\"), GoTo(Label(\"LBL1\")))");
    EXPECT_EQ(shape(Choices::Line, "[0] REPEAT STEP_X UNTIL [TCV_ok]"),
              "Line(Indentation(\"0\"), Repeat(Attach(TreeReference(\"STEP_X\"), ActualParList()), Qualifier("
              + ref("TCV_ok") + ")))");
    EXPECT_EQ(shape(Choices::Line, "[0] CREATE(PTC1: PTC_TREE(5), PTC2: PTC_TREE2)"),
              "Line(Indentation(\"0\"), Create(CreateList(CreateTComp(\"PTC1\", CreateAttach(TreeReference("
              "\"PTC_TREE\"), ActualParList(" + expr("\"5\"") + "))), CreateTComp(\"PTC2\", CreateAttach("
              "TreeReference(\"PTC_TREE2\"), ActualParList())))))");
    EXPECT_EQ(shape(Choices::Line, "[0] ACTIVATE(DEF_1, DEF_2(L))"),
              "Line(Indentation(\"0\"), Activate(DefaultRefList(DefaultReference(\"DEF_1\", ActualParList()), "
              "DefaultReference(\"DEF_2\", ActualParList(" + expr(ref("L")) + ")))))");
    EXPECT_EQ(shape(Choices::Line, "[0] ACTIVATE()"), "Line(Indentation(\"0\"), Activate(DefaultRefList()))");
    EXPECT_EQ(shape(Choices::Line, "[0] <IUT ! N_DATAreq>"), "Line(Indentation(\"0\"), ImplicitSend(\"N_DATAreq\"))");
    EXPECT_EQ(shape(Choices::Line, "[1] RETURN"), "Line(Indentation(\"1\"), RETURN_)");
}

TEST(BehaviourLineParser, ChoiceLevelsAndKeywordCodesAreRecorded) {
    TreeArena arena;
    FieldParseResult r = parseField(Choices::Line, "[0] RETURN", 42, arena);
    ASSERT_NE(r.tree, nullptr);
    Line view(r.tree);
    EXPECT_EQ(view.statementLine().choice(), Choices::Construct);
    EXPECT_EQ(view.statementLine().construct().choice(), Choices::RETURN_);
    const TreeNode* keyword = r.tree->child[1]->child[0]->child[0];
    EXPECT_EQ(keyword->kind, Choices::RETURN_);
    EXPECT_EQ(keyword->production, Choices::RETURN_);
    EXPECT_EQ(keyword->line(), 42);
    EXPECT_EQ(r.tree->line(), 42);
}

TEST(BehaviourLineParser, ConstraintReferencesAndVerdicts) {
    EXPECT_EQ(shape(Choices::Cref, "C_CONN"), "Cref(\"C_CONN\")");
    EXPECT_EQ(shape(Choices::Cref, "C_CR(5, '0A'O, C_SUB(1))"),
              "Cref(ConsRef(\"C_CR\", ActualCrefParList(" + expr("\"5\"") + ", " + expr("Ostring\"0A\"") + ", "
              + cva("ConsRef(\"C_SUB\", ActualCrefParList(" + expr("\"1\"") + "))") + ")))");
    EXPECT_EQ(shape(Choices::Cref, "C_CR(?, *)"),
              "Cref(ConsRef(\"C_CR\", ActualCrefParList(" + cva("ANYValue") + ", " + cva("AnyOrOmit") + ")))");
    EXPECT_EQ(shape(Choices::VerdictId, "PASS"), "VerdictId(PASS)");
    EXPECT_EQ(shape(Choices::VerdictId, "P"), "VerdictId(PASS)");
    EXPECT_EQ(shape(Choices::VerdictId, "(P)"), "VerdictId(PreliminaryPASS)");
    EXPECT_EQ(shape(Choices::VerdictId, "( FAIL )"), "VerdictId(PreliminaryFAIL)");
    EXPECT_EQ(shape(Choices::VerdictId, "I"), "VerdictId(INCONC)");
    EXPECT_EQ(shape(Choices::VerdictId, "(INCONC)"), "VerdictId(PreliminaryINCONC)");
    EXPECT_EQ(shape(Choices::VerdictId, "R"), "VerdictId(Result(R))");
    EXPECT_EQ(shape(Choices::LabelId, "L1"), "LabelId(Label(\"L1\"))");
    EXPECT_EQ(shape(Choices::LineNumber, "12"), "LineNumber(\"12\")");
    EXPECT_EQ(shape(Choices::Header, "LT1(p: INTEGER)"),
              "Header(TreeHeader(\"LT1\", FormalParList(FormalParAndType(FormalParIdList(\"p\"), INTEGER))))");
    EXPECT_EQ(shape(Choices::DefaultsRef, "D1, D2(L)"),
              "DefaultsRef(DefaultRefList(DefaultReference(\"D1\", ActualParList()), DefaultReference(\"D2\", "
              "ActualParList(" + expr(ref("L")) + "))))");
    EXPECT_EQ(shape(Choices::TestStepAttachment, "+TC_BODY(3)"),
              "TestStepAttachment(Attach(TreeReference(\"TC_BODY\"), ActualParList(" + expr("\"3\"") + ")))");
}

TEST(TypeParser, TypesRestrictionsAndLengthAttributes) {
    EXPECT_EQ(shape(Choices::SimpleTypeDefinition, "INTEGER (0 .. 255)"),
              "SimpleTypeDefinition(TypeAndRestriction(INTEGER, IntegerRange(\"0\", \"255\")))");
    EXPECT_EQ(shape(Choices::SimpleTypeDefinition, "INTEGER (-5 TO INFINITY)"),
              "SimpleTypeDefinition(TypeAndRestriction(INTEGER, IntegerRange(SignedNumber(Minus, \"5\"), INFINITY)))");
    EXPECT_EQ(shape(Choices::SimpleTypeDefinition, "INTEGER (-INFINITY TO -1)"),
              "SimpleTypeDefinition(TypeAndRestriction(INTEGER, IntegerRange(MinusINFINITY, SignedNumber(Minus, \"1\"))))");
    EXPECT_EQ(shape(Choices::SimpleTypeDefinition, "OCTETSTRING[4]"),
              "SimpleTypeDefinition(TypeAndRestriction(OCTETSTRING, SingleTypeLength(\"4\")))");
    EXPECT_EQ(shape(Choices::SimpleTypeDefinition, "IA5String [1 TO 8]"),
              "SimpleTypeDefinition(TypeAndRestriction(IA5String, RangeTypeLength(\"1\", \"8\")))");
    EXPECT_EQ(shape(Choices::SimpleTypeDefinition, "INTEGER (1, 3, -7)"),
              "SimpleTypeDefinition(TypeAndRestriction(INTEGER, SimpleValueList(\"1\", \"3\", SignedNumber(Minus, \"7\"))))");
    EXPECT_EQ(shape(Choices::SimpleTypeDefinition, "IA5String (\"a\", \"b\")"),
              "SimpleTypeDefinition(TypeAndRestriction(IA5String, SimpleValueList(Cstring\"a\", Cstring\"b\")))");
    EXPECT_EQ(shape(Choices::SimpleTypeDefinition, "BOOLEAN"), "SimpleTypeDefinition(TypeAndRestriction(BOOLEAN_TYPE, -))");
    EXPECT_EQ(shape(Choices::ElemType, "OCTETSTRING[TSC_LEN]"),
              "ElemType(TypeAndLengthAttribute(OCTETSTRING, SingleLength(\"TSC_LEN\")))");
    EXPECT_EQ(shape(Choices::PDU_FieldType, "BITSTRING[1 TO INFINITY]"),
              "PDU_FieldType(TypeAndLengthAttribute(BITSTRING, RangeLength(LowerBound(\"1\"), INFINITY)))");
    EXPECT_EQ(shape(Choices::CM_ParType, "HEXSTRING[2 .. MAXLEN]"),
              "CM_ParType(TypeAndLengthAttribute(HEXSTRING, RangeLength(LowerBound(\"2\"), \"MAXLEN\")))");
    EXPECT_EQ(shape(Choices::ASP_ParType, "PDU"), "ASP_ParType(PDU)");
    EXPECT_EQ(shape(Choices::TS_VarType, "PDU"), "TS_VarType(PDU)");
    EXPECT_EQ(shape(Choices::TC_VarType, "R_TYPE"), "TC_VarType(R_TYPE)");
    EXPECT_EQ(shape(Choices::TS_ConstType, "MyType"), "TS_ConstType(ReferenceType(\"MyType\"))");
    EXPECT_EQ(shape(Choices::TS_OpResult, "T61String"), "TS_OpResult(T61String)");
}

TEST(TypeParser, FormalParameterListsAcceptBothGroupSeparators) {
    const std::string expected =
        "ConsId(ConsIdAndParList(\"C_ECHO\", FormalParList(FormalParAndType(FormalParIdList(\"p_data\"), "
        "ReferenceType(\"OCTET2\")), FormalParAndType(FormalParIdList(\"p_t\"), TIMER), FormalParAndType("
        "FormalParIdList(\"p_a\", \"p_b\"), INTEGER), FormalParAndType(FormalParIdList(\"p_c\"), PDU), "
        "FormalParAndType(FormalParIdList(\"p_cp\"), CP))))";
    EXPECT_EQ(shape(Choices::ConsId, "C_ECHO(p_data: OCTET2; p_t: TIMER; p_a, p_b: INTEGER; p_c: PDU; p_cp: CP)"),
              expected);
    EXPECT_EQ(shape(Choices::ConsId, "C_ECHO(p_data: OCTET2, p_t: TIMER, p_a, p_b: INTEGER, p_c: PDU, p_cp: CP)"),
              expected);
    EXPECT_EQ(shape(Choices::TestStepId, "STEP"), "TestStepId(TestStepIdAndParList(\"STEP\", FormalParList()))");
    EXPECT_EQ(shape(Choices::DefaultId, "DEF(p: PCO_T)"),
              "DefaultId(DefaultIdAndParList(\"DEF\", FormalParList(FormalParAndType(FormalParIdList(\"p\"), "
              "ReferenceType(\"PCO_T\")))))");
    EXPECT_EQ(shape(Choices::TS_OpId, "F(a: INTEGER)"),
              "TS_OpId(TS_OpIdAndParList(\"F\", FormalParList(FormalParAndType(FormalParIdList(\"a\"), INTEGER))))");
    EXPECT_EQ(shape(Choices::EncodingVariationId, "EV(n: INTEGER)"),
              "EncodingVariationId(EncVariationIdAndParList(\"EV\", FormalParList(FormalParAndType("
              "FormalParIdList(\"n\"), INTEGER))))");
}

TEST(ExpressionParser, PrecedenceAndAssociativity) {
    // AND binds like "*", OR like "+"; both associate to the left.
    EXPECT_EQ(shape(Choices::TS_ConstValue, "a + b * c"),
              "TS_ConstValue(DeclarationValue(AddExpression(" + ref("a") + ", Plus, MultExpression(" + ref("b")
              + ", Mult, " + ref("c") + "))))");
    EXPECT_EQ(shape(Choices::TS_ConstValue, "1 - 2 - 3"),
              "TS_ConstValue(DeclarationValue(AddExpression(AddExpression(\"1\", Minus, \"2\"), Minus, \"3\")))");
    EXPECT_EQ(shape(Choices::TS_ConstValue, "x MOD 3 AND y OR z / 2"),
              "TS_ConstValue(DeclarationValue(AddExpression(MultExpression(MultExpression(" + ref("x")
              + ", Mod, \"3\"), And, " + ref("y") + "), Or, MultExpression(" + ref("z") + ", Div, \"2\"))))");
    EXPECT_EQ(shape(Choices::SelectExpr, "NOT a = b"),
              "SelectExpr(SelectionExpression(RelExpression(UnaryExpression(Not, " + ref("a") + "), Equal, "
              + ref("b") + ")))");
    EXPECT_EQ(shape(Choices::SelectExpr, "(a <> 1) AND (b >= 2)"),
              "SelectExpr(SelectionExpression(MultExpression(ParenExpression(RelExpression(" + ref("a")
              + ", NotEqual, \"1\")), And, ParenExpression(RelExpression(" + ref("b") + ", GreaterOrEqual, \"2\")))))");
    EXPECT_EQ(shape(Choices::Duration, "-5 <= +x"),
              "Duration(DeclarationValue(RelExpression(UnaryExpression(Minus, \"5\"), LessOrEqual, "
              "UnaryExpression(Plus, " + ref("x") + "))))");
    EXPECT_EQ(shape(Choices::TC_VarValue, "pass"), "TC_VarValue(DeclarationValue(PASS))");
    EXPECT_EQ(shape(Choices::TS_VarValue, "TRUE"), "TS_VarValue(DeclarationValue(ATrue))");
    EXPECT_EQ(shape(Choices::EncodingDefault, "'0F'H"), "EncodingDefault(DefaultExpression(Hstring\"0F\"))");
    EXPECT_EQ(shape(Choices::VariationDefault, "'0101'B"), "VariationDefault(Bstring\"0101\")");
}

TEST(ExpressionParser, RelationalOperatorsDoNotChain) {
    TreeArena arena;
    // "a = 1 AND b = 2" is a = (1 AND b) followed by a second "=": no expression.
    FieldParseResult r = parseField(Choices::SelectExpr, "a = 1 AND b = 2", 1, arena);
    EXPECT_EQ(r.tree, nullptr);
    ASSERT_EQ(r.findings.size(), 1u);
    EXPECT_EQ(r.findings[0].message, 50);
    EXPECT_EQ(r.findings[0].offset, 12);
    EXPECT_EQ(r.findings[0].arguments, std::vector<std::string>{"= 2"});
}

// The levels of an operand keep no records of their own: the number of
// "N + 1" is one record that the views of six levels stand on, each read as
// its own kind.
TEST(ExpressionParser, ElidedLevelsReadThroughTheOperandsRecord) {
    TreeArena arena;
    FieldParseResult r = parseField(Choices::TS_ConstValue, "N + 1", 1, arena);
    ASSERT_TRUE(r.tree && r.findings.empty());
    const Expression expression = TS_ConstValue(r.tree).declarationValue().expression();
    ASSERT_EQ(expression.choice(), Choices::SimpleExpression);
    const AddExpression sum = expression.simpleExpression().addExpression();
    ASSERT_FALSE(sum.isEmpty());
    const Term term = sum.term();
    const Factor factor = term.factor();
    const Primary primary = factor.primary();
    const Value value = primary.value();
    const LiteralValue literal = value.literalValue();
    EXPECT_EQ(literal.number().text(), "1");
    // One record under all the levels; each view answers for its own kind.
    for (const TreeNode* record : {term.treeNode(), factor.treeNode(), primary.treeNode(), value.treeNode()})
        EXPECT_EQ(record, literal.number().treeNode());
    EXPECT_EQ(term.choice(), Choices::Factor);
    EXPECT_EQ(primary.choice(), Choices::Value);
    EXPECT_EQ(literal.choice(), Choices::Number);
    EXPECT_TRUE(term.multExpression().isEmpty());
    EXPECT_FALSE(AccessNode(term) == AccessNode(factor));
    // A walk by kind sees the levels the schema has.
    std::vector<int32_t> kinds;
    for (AccessNode n(term); !n.isEmpty(); n = childAt(n, 0)) kinds.push_back(n.choice());
    EXPECT_EQ(kinds, (std::vector<int32_t>{Choices::Term, Choices::Factor, Choices::Primary, Choices::Value,
                                          Choices::LiteralValue, Choices::Number}));
    EXPECT_EQ(schemaViolations(r.tree), "");
}

TEST(ExpressionParser, ReferencesAndOperationCalls) {
    EXPECT_EQ(shape(Choices::TS_VarValue, "N_DATAind.NSDU[i + 1].flags.[3]"),
              "TS_VarValue(DeclarationValue(DataObjectReference(\"N_DATAind\", ComponentReferenceList(RecordRef("
              "ComponentIdentifier(\"NSDU\")), ArrayRef(ComponentNumber(AddExpression(" + ref("i")
              + ", Plus, \"1\"))), RecordRef(ComponentIdentifier(\"flags\")), BitNumber(\"3\")))))");
    EXPECT_EQ(shape(Choices::TS_VarValue, "INT_TO_BIT(x, 8)"),
              "TS_VarValue(DeclarationValue(OpCall(\"INT_TO_BIT\", ActualParList(" + expr(ref("x")) + ", "
              + expr("\"8\"") + "))))");
    // Names of ASN.1 components keep their hyphens; a hyphen before a digit subtracts.
    EXPECT_EQ(shape(Choices::TS_VarValue, "pdu.user-data"),
              "TS_VarValue(DeclarationValue(DataObjectReference(\"pdu\", ComponentReferenceList(RecordRef("
              "ComponentIdentifier(\"user-data\"))))))");
    EXPECT_EQ(shape(Choices::TS_VarValue, "n-1"),
              "TS_VarValue(DeclarationValue(AddExpression(" + ref("n") + ", Minus, \"1\")))");
    EXPECT_EQ(shape(Choices::TS_VarValue, "F()"), "TS_VarValue(DeclarationValue(OpCall(\"F\", ActualParList())))");
}

TEST(ConstraintValueParser, MatchingSymbolsAndAttributes) {
    auto cons = [](std::string_view text) { return shape(Choices::ConsValue, text); };
    auto wrap = [](const std::string& inner) { return "ConsValue(" + inner + ")"; };
    EXPECT_EQ(cons("?"), wrap(cva("ANYValue")));
    EXPECT_EQ(cons("*"), wrap(cva("AnyOrOmit")));
    EXPECT_EQ(cons("-"), wrap(cva("Omit(OMIT)")));
    EXPECT_EQ(cons("OMIT"), wrap(cva("Omit(OMIT)")));
    EXPECT_EQ(cons("(1, 2)"), wrap(cva("ValueList(" + expr("\"1\"") + ", " + expr("\"2\"") + ")")));
    EXPECT_EQ(cons("(5)"), wrap(expr("ParenExpression(\"5\")")));
    EXPECT_EQ(cons("(1 TO 10)"), wrap(cva("ValRange(ConstraintExpression(\"1\"), ConstraintExpression(\"10\"))")));
    EXPECT_EQ(cons("(-INFINITY .. x)"), wrap(cva("ValRange(MinusINFINITY, ConstraintExpression(" + ref("x") + "))")));
    EXPECT_EQ(cons("(0 TO INFINITY)"), wrap(cva("ValRange(ConstraintExpression(\"0\"), INFINITY)")));
    EXPECT_EQ(cons("COMPLEMENT (0, 255)"),
              wrap(cva("Complement(ValueList(" + expr("\"0\"") + ", " + expr("\"255\"") + "))")));
    EXPECT_EQ(cons("PERMUTATION (1, 2)"), wrap(cva("Permutation(ValueList(" + expr("\"1\"") + ", " + expr("\"2\"") + "))")));
    EXPECT_EQ(cons("SUBSET (x)"), wrap(cva("SubSet(" + expr(ref("x")) + ")")));
    EXPECT_EQ(cons("SUPERSET (x)"), wrap(cva("SuperSet(" + expr(ref("x")) + ")")));
    EXPECT_EQ(cons("'01*'B"), wrap(expr("Bstring\"01*\"")));
    EXPECT_EQ(cons("\"ab*\""), wrap(expr("Cstring\"ab*\"")));
    EXPECT_EQ(cons("?[4]"), wrap("ConstraintValueAndAttributes(ANYValue, ValueAttributes(SingleValueLength(\"4\"), -))"));
    EXPECT_EQ(cons("*[1 TO 3] IF_PRESENT"),
              wrap("ConstraintValueAndAttributes(AnyOrOmit, ValueAttributes(RangeValueLength(LowerValueBound(\"1\"), "
                   "\"3\"), IF_PRESENT))"));
    EXPECT_EQ(cons("?[N .. INFINITY]"),
              wrap("ConstraintValueAndAttributes(ANYValue, ValueAttributes(RangeValueLength(LowerValueBound(\"N\"), "
                   "INFINITY), -))"));
    EXPECT_EQ(cons("TSC_X IF_PRESENT"),
              wrap("ConstraintValueAndAttributes(ConstraintExpression(" + ref("TSC_X") + "), ValueAttributes(-, IF_PRESENT))"));
    EXPECT_EQ(cons("C_SUB(2)"), wrap(cva("ConsRef(\"C_SUB\", ActualCrefParList(" + expr("\"2\"") + "))")));
    EXPECT_EQ(cons("LENGTH_OF(x)"), wrap(expr("OpCall(\"LENGTH_OF\", ActualParList(" + expr(ref("x")) + "))")));
    EXPECT_EQ(cons("PAR_1 + 1"), wrap(expr("AddExpression(" + ref("PAR_1") + ", Plus, \"1\")")));
}

TEST(ConstraintValueParser, CallsCanBeReclassifiedOnceResolved) {
    TreeArena arena;
    FieldParseResult r = parseField(Choices::ConsValue, "F(1)", 1, arena);
    ASSERT_NE(r.tree, nullptr);
    TreeNode* call = r.tree->child[0]->child[0]->child[0];
    ASSERT_EQ(call->kind, Choices::ConsRef);
    reclassifyCall(call, false);
    EXPECT_EQ(call->kind, Choices::OpCall);
    EXPECT_EQ(call->child[1]->kind, Choices::ActualParList);
    // The ConstraintValue now holds an alternative it does not have: the
    // caller moves it under a ConstraintExpression, which the schema check shows.
    EXPECT_NE(schemaViolations(r.tree), "");
}

TEST(Asn1TypeParser, StructuredTypesTagsAndLocalTypes) {
    EXPECT_EQ(shape(Choices::ASN1_TypeDefinition,
                    "SEQUENCE { a INTEGER, b OCTET STRING OPTIONAL, c BOOLEAN DEFAULT TRUE, COMPONENTS OF Base }"),
              "ASN1_TypeDefinition(ASN1_TypeAndLocalTypes(SequenceType(ElementTypeList("
              "NamedTypeAndAttributes(NamedType(\"a\", IntegerType(NamedNumberList())), -), "
              "NamedTypeAndAttributes(NamedType(\"b\", OctetStringType), OPTIONAL), "
              "NamedTypeAndAttributes(NamedType(\"c\", BooleanType), DefaultValue(" + expr("ATrue") + ")), "
              "ComponentsOf(DefinedType(\"Base\")))), ASN1_LocalTypes(TypeAssignmentList())))");
    EXPECT_EQ(shape(Choices::ASN1_TypeDefinition,
                    "CHOICE { x [0] IMPLICIT INTEGER, y [APPLICATION 3] EXPLICIT Local-Type } -- two\n"
                    "Local-Type ::= SET OF IA5String"),
              "ASN1_TypeDefinition(ASN1_TypeAndLocalTypes(ChoiceType(AlternativeTypeList("
              "NamedType(\"x\", TaggedType(Tag(-, \"0\"), AIMPLICIT, IntegerType(NamedNumberList()))), "
              "NamedType(\"y\", TaggedType(Tag(APPLICATION, \"3\"), AEXPLICIT, DefinedType(\"Local-Type\"))))), "
              "ASN1_LocalTypes(TypeAssignmentList(TypeAssignment(TypeReference(\"Local-Type\"), SetOfType(IA5String))))))");
    EXPECT_EQ(shape(Choices::ASN1_TypeDefinition, "ENUMERATED { red(0), green(1) }"),
              "ASN1_TypeDefinition(ASN1_TypeAndLocalTypes(EnumeratedType(Enumeration(NamedNumber(\"red\", \"0\"), "
              "NamedNumber(\"green\", \"1\"))), ASN1_LocalTypes(TypeAssignmentList())))");
    EXPECT_EQ(shape(Choices::ASN1_TypeDefinition, "BIT STRING { f0(0), f1(n) }"),
              "ASN1_TypeDefinition(ASN1_TypeAndLocalTypes(BitStringType(NamedBitList(NamedNumber(\"f0\", \"0\"), "
              "NamedNumber(\"f1\", " + ref("n") + "))), ASN1_LocalTypes(TypeAssignmentList())))");
    EXPECT_EQ(shape(Choices::ASN1_TypeDefinition, "[PRIVATE 7] SEQUENCE OF Mod.Item"),
              "ASN1_TypeDefinition(ASN1_TypeAndLocalTypes(TaggedType(Tag(PRIVATE_, \"7\"), -, SequenceOfType("
              "DefinedType(\"Mod.Item\"))), ASN1_LocalTypes(TypeAssignmentList())))");
    EXPECT_EQ(shape(Choices::ASN1_TypeDefinition, "ANY DEFINED BY id"),
              "ASN1_TypeDefinition(ASN1_TypeAndLocalTypes(AnyDefinedBy(\"id\"), ASN1_LocalTypes(TypeAssignmentList())))");
    EXPECT_EQ(shape(Choices::ASN1_TypeDefinition, "SET"),
              "ASN1_TypeDefinition(ASN1_TypeAndLocalTypes(SetOfType(-), ASN1_LocalTypes(TypeAssignmentList())))");
}

TEST(Asn1TypeParser, Subtypes) {
    auto body = [](std::string_view text) {
        std::string s = shape(Choices::ASN1_TypeDefinition, text);
        const std::string head = "ASN1_TypeDefinition(ASN1_TypeAndLocalTypes(";
        const std::string tail = ", ASN1_LocalTypes(TypeAssignmentList())))";
        EXPECT_EQ(s.substr(0, head.size()), head);
        EXPECT_GE(s.size(), head.size() + tail.size());
        return s.substr(head.size(), s.size() - head.size() - tail.size());
    };
    EXPECT_EQ(body("SEQUENCE SIZE (1..10) OF INTEGER"),
              "SequenceSubType(SizeConstraint(SubTypeSpec(ValueRange(LowerEndpoint(" + expr("\"1\"") + ", -), "
              "UpperEndpoint(" + expr("\"10\"") + ", -)))), IntegerType(NamedNumberList()))");
    EXPECT_EQ(body("SET (SIZE (4)) OF INTEGER"),
              "SetSubType(SizeConstraint(SubTypeSpec(SingleValue(" + expr("\"4\"") + "))), IntegerType(NamedNumberList()))");
    EXPECT_EQ(body("INTEGER (MIN<..<MAX | 5)"),
              "ParentSubType(ParentType(IntegerType(NamedNumberList())), SubTypeSpec(ValueRange(LowerEndpoint(Min, "
              "INCLUSIVE), UpperEndpoint(Max, INCLUSIVE)), SingleValue(" + expr("\"5\"") + ")))");
    EXPECT_EQ(body("IA5String (FROM (\"a\"..\"z\"))"),
              "ParentSubType(ParentType(IA5String), SubTypeSpec(PermittedAlphabet(SubTypeSpec(ValueRange(LowerEndpoint("
              + expr("Cstring\"a\"") + ", -), UpperEndpoint(" + expr("Cstring\"z\"") + ", -))))))");
    EXPECT_EQ(body("T (INCLUDES U)"),
              "ParentSubType(ParentType(DefinedType(\"T\")), SubTypeSpec(ContainedSubType(DefinedType(\"U\"))))");
    EXPECT_EQ(body("S (WITH COMPONENTS { ..., a (1) PRESENT, b ABSENT })"),
              "ParentSubType(ParentType(DefinedType(\"S\")), SubTypeSpec(WithComponents(PartialSpecification("
              "TypeConstraints(NamedConstraintList(NamedConstraint(\"a\", Constraint(ValueConstraint(SubTypeSpec("
              "SingleValue(" + expr("\"1\"") + "))), PRESENT)), NamedConstraint(\"b\", Constraint(-, ABSENT))))))))");
    // Extension markers of later ASN.1 are passed over.
    EXPECT_EQ(body("INTEGER (0 | 2, ...)"),
              "ParentSubType(ParentType(IntegerType(NamedNumberList())), SubTypeSpec(SingleValue(" + expr("\"0\"")
              + "), SingleValue(" + expr("\"2\"") + ")))");
    EXPECT_EQ(body("CHOICE { a NULL, ... }"), "ChoiceType(AlternativeTypeList(NamedType(\"a\", NullType)))");
    EXPECT_EQ(body("SET OF value Item"), "SetOfType(DefinedType(\"Item\"))");
    EXPECT_EQ(body("L (WITH COMPONENT (0..7))"),
              "ParentSubType(ParentType(DefinedType(\"L\")), SubTypeSpec(WithComponent(SingleTypeConstraint("
              "SubTypeSpec(ValueRange(LowerEndpoint(" + expr("\"0\"") + ", -), UpperEndpoint(" + expr("\"7\"")
              + ", -)))))))");
}

TEST(Asn1ValueParser, ValueNotationInConstraints) {
    auto value = [](std::string_view text) {
        std::string s = shape(Choices::ASN1_ConsValue, text);
        const std::string head = "ASN1_ConsValue(ConstraintValueAndAttributes(ConstraintExpression(";
        const std::string tail = "), -))";
        EXPECT_EQ(s.substr(0, head.size()), head) << s;
        return s.substr(head.size(), s.size() - head.size() - tail.size());
    };
    EXPECT_EQ(value("{ a 5, b-c ?, d { x * IF_PRESENT } }"),
              "SequenceValue(ElementValueList(NamedValue(\"a\", " + expr("\"5\"") + "), NamedValue(\"b-c\", "
              + cva("ANYValue") + "), NamedValue(\"d\", " + expr("SequenceValue(ElementValueList(NamedValue(\"x\", "
              "ConstraintValueAndAttributes(AnyOrOmit, ValueAttributes(-, IF_PRESENT)))))") + ")))");
    EXPECT_EQ(value("{ 7, x }"), "SequenceOfValue(ASN1_ValueList(" + expr("\"7\"") + ", " + expr(ref("x")) + "))");
    EXPECT_EQ(value("{}"), "SequenceOfValue(ASN1_ValueList())");
    EXPECT_EQ(value("{ iso standard 8882 }"),
              "ObjectIdentifierValue(ObjIdComponentList(NameForm(\"iso\"), NameForm(\"standard\"), NumberForm(\"8882\")))");
    EXPECT_EQ(value("{ iso(1) member-body(2) }"),
              "ObjectIdentifierValue(ObjIdComponentList(NameAndNumberForm(NameForm(\"iso\"), NumberForm(\"1\")), "
              "NameAndNumberForm(NameForm(\"member-body\"), NumberForm(\"2\"))))");
    EXPECT_EQ(value("{ 314, 10, -2 }"), "NumericRealValue(\"314\", Ten, SignedNumber(Minus, \"2\"))");
    EXPECT_EQ(value("{ -1, 2, 3 }"), "NumericRealValue(SignedNumber(Minus, \"1\"), Two, \"3\")");
    EXPECT_EQ(value("{ mantissa 5, base 10, exponent -30 }"),
              "NumericRealValue(\"5\", Ten, SignedNumber(Minus, \"30\"))");
    // Any other base is a plain list.
    EXPECT_EQ(value("{ 1, 3, 2 }"),
              "SequenceOfValue(ASN1_ValueList(" + expr("\"1\"") + ", " + expr("\"3\"") + ", " + expr("\"2\"") + "))");
    EXPECT_EQ(value("PLUS-INFINITY"), "Plus_INFINITY");
    EXPECT_EQ(value("MINUS-INFINITY"), "Minus_INFINITY");
    EXPECT_EQ(value("NULL"), "NullValue");
    EXPECT_EQ(value("connect { a 1 }"),
              "ChoiceValue(NamedValue(\"connect\", " + expr("SequenceValue(ElementValueList(NamedValue(\"a\", "
              + expr("\"1\"") + ")))") + "))");
    EXPECT_EQ(value("T : 5"), "AnyValue(ReferenceType(\"T\"), " + expr("\"5\"") + ")");
    EXPECT_EQ(value("{ \"ab\", {1, 2} }"),
              "CharacterStringList(Cstring\"ab\", Tuple(TableColumn(\"1\"), TableRow(\"2\")))");
}

TEST(Asn1ValueParser, NamedValuesWhoseValueIsAMatchingSymbol) {
    // "name (...)" is a named value, a call or an object identifier arc: a
    // range inside, or another named element, makes it a named value; an arc
    // follows "name (n)" without a comma; otherwise the names decide (here:
    // those starting "C_" are called).
    const CallableName callable = [](std::string_view name) { return name.substr(0, 2) == "C_"; };
    const std::string one = expr("\"1\""), two = expr("\"2\"");
    const std::string list = "ValueList(" + one + ", " + two + ")";
    auto seq = [](const std::string& elements) { return "SequenceValue(ElementValueList(" + elements + "))"; };
    auto named = [](const std::string& name, const std::string& value) {
        return "NamedValue(\"" + name + "\", " + value + ")";
    };
    const struct {
        std::string_view text;
        std::string shape;  // inside ASN1_ConsValue(ConstraintValueAndAttributes(ConstraintExpression(...), -))
    } cases[] = {
        {"{ cause (0 TO 15), diagnostic * }",
         seq(named("cause", cva("ValRange(ConstraintExpression(\"0\"), ConstraintExpression(\"15\"))")) + ", "
             + named("diagnostic", cva("AnyOrOmit")))},
        {"{ cause (1, 2), diagnostic ? }", seq(named("cause", cva(list)) + ", " + named("diagnostic", cva("ANYValue")))},
        {"{ cause (1, 2) }", seq(named("cause", cva(list)))},
        {"{ cause (5) }", seq(named("cause", expr("ParenExpression(\"5\")")))},
        {"{ a COMPLEMENT (1, 2), b OMIT, c -, d (-INFINITY .. 0)[2], e (1, 2) IF_PRESENT, f ?[1 TO 3] }",
         seq(named("a", cva("Complement(" + list + ")")) + ", " + named("b", cva("Omit(OMIT)")) + ", "
             + named("c", cva("Omit(OMIT)")) + ", "
             + named("d", "ConstraintValueAndAttributes(ValRange(MinusINFINITY, ConstraintExpression(\"0\")), "
                          "ValueAttributes(SingleValueLength(\"2\"), -))") + ", "
             + named("e", "ConstraintValueAndAttributes(" + list + ", ValueAttributes(-, IF_PRESENT))") + ", "
             + named("f", "ConstraintValueAndAttributes(ANYValue, ValueAttributes(RangeValueLength("
                          "LowerValueBound(\"1\"), \"3\"), -))"))},
        {"{ a b (1 .. 2), c d - }",
         seq(named("a", expr("ChoiceValue(" + named("b", cva("ValRange(ConstraintExpression(\"1\"), "
                                                                "ConstraintExpression(\"2\"))")) + ")")) + ", "
             + named("c", expr("ChoiceValue(" + named("d", cva("Omit(OMIT)")) + ")")))},
        {"{ C_X(1, 2) }", "SequenceOfValue(ASN1_ValueList(" + cva("ConsRef(\"C_X\", ActualCrefParList(" + one + ", "
                                                                  + two + "))") + "))"},
        {"{ a(1) b(2) }", "ObjectIdentifierValue(ObjIdComponentList(NameAndNumberForm(NameForm(\"a\"), "
                          "NumberForm(\"1\")), NameAndNumberForm(NameForm(\"b\"), NumberForm(\"2\"))))"},
        {"alt (1, 2)", "ChoiceValue(" + named("alt", cva(list)) + ")"},
    };
    for (const auto& c : cases) {
        TreeArena arena;
        FieldParseResult r = parseField(Choices::ASN1_ConsValue, c.text, 1, arena, callable);
        EXPECT_TRUE(r.findings.empty()) << c.text;
        EXPECT_EQ(schemaViolations(r.tree), "") << c.text;
        EXPECT_EQ(compact(r.tree), "ASN1_ConsValue(" + expr(c.shape) + ")") << c.text;
    }
    // Without anyone to tell, "name (list)" alone stays a call.
    EXPECT_EQ(shape(Choices::ASN1_ConsValue, "{ cause (1, 2) }"),
              "ASN1_ConsValue(" + expr("SequenceOfValue(ASN1_ValueList(" + cva("ConsRef(\"cause\", ActualCrefParList("
                                       + one + ", " + two + "))") + "))") + ")");
}

TEST(Asn1ValueParser, ReplacementsOfDerivedConstraints) {
    EXPECT_EQ(shape(Choices::ASN1_ConsValue, "REPLACE a.b BY 5, OMIT (2), OMIT c[1]"),
              "ASN1_ConsValue(ReplacementList(Replace(ReferenceList(ComponentIdentifier(\"a\"), ComponentReferenceList("
              "RecordRef(ComponentIdentifier(\"b\")))), " + expr("\"5\"") + "), OmitReference(ReferenceList("
              "ComponentPosition(\"2\"), ComponentReferenceList())), OmitReference(ReferenceList(ComponentIdentifier("
              "\"c\"), ComponentReferenceList(ArrayRef(ComponentNumber(\"1\")))))))");
    EXPECT_EQ(shape(Choices::ASN1_ConsValue, "OMIT"), "ASN1_ConsValue(" + cva("Omit(OMIT)") + ")");
}

TEST(NameFieldParser, IdentifiersFullNamesMacrosAndRoles) {
    EXPECT_EQ(shape(Choices::TestCaseId, " TC_ECHO_001 "), "TestCaseId(\"TC_ECHO_001\")");
    EXPECT_EQ(shape(Choices::ASP_Id, "ECHOmsg (/* echo message */)"),
              "ASP_Id(ASP_IdAndFullId(\"ECHOmsg\", FullIdentifier\"echo message\"))");
    EXPECT_EQ(shape(Choices::StructId, "S1"), "StructId(StructIdAndFullId(\"S1\", -))");
    // The full name is free text, with or without comment marks.
    EXPECT_EQ(shape(Choices::StructId, "S1 (user's \"own\" (full) name)"),
              "StructId(StructIdAndFullId(\"S1\", FullIdentifier\"user's \"own\" (full) name\"))");
    EXPECT_EQ(shape(Choices::PDU_Id, "P1(/*x*/)"), "PDU_Id(PDU_IdAndFullId(\"P1\", FullIdentifier\"x\"))");
    // A CM name has no full name in the tree; one given is dropped.
    EXPECT_EQ(shape(Choices::CM_Id, "CM1 (coordination)"), "CM_Id(\"CM1\")");
    EXPECT_EQ(shape(Choices::ASN1_TypeId, "Tt (/* long */)"), "ASN1_TypeId(\"Tt\", FullIdentifier\"long\")");
    EXPECT_EQ(shape(Choices::ASP_ParId, "<-"), "ASP_ParId(MacroSymbol\"<-\")");
    EXPECT_EQ(shape(Choices::PDU_FieldId, "f1"), "PDU_FieldId(PDU_FieldIdAndFullId(\"f1\", -))");
    EXPECT_EQ(shape(Choices::CM_ParId, "c (/*x*/)"), "CM_ParId(CM_ParIdAndFullId(\"c\", FullIdentifier\"x\"))");
    EXPECT_EQ(shape(Choices::TC_Role, "PTC"), "TC_Role(PTC)");
    EXPECT_EQ(shape(Choices::P_Role, "UT"), "P_Role(UT)");
    EXPECT_EQ(shape(Choices::Unit, "min"), "Unit(Minutes)");
    EXPECT_EQ(shape(Choices::Unit, "us"), "Unit(MicroSeconds)");
    EXPECT_EQ(shape(Choices::NumOf_PCOs, "2"), "NumOf_PCOs(Num_PCOs(\"2\"))");
    EXPECT_EQ(shape(Choices::CPs_Used, "CP1, CP2"), "CPs_Used(CP_List(\"CP1\", \"CP2\"))");
    EXPECT_EQ(shape(Choices::DerivPath, "C_BASE.C_MID."), "DerivPath(DerivationPath(\"C_BASE\", \"C_MID\"))");
    EXPECT_EQ(shape(Choices::ExpandedId, "N_DATAreq"), "ExpandedId(Expansion(\"N_DATAreq\"))");
    EXPECT_EQ(shape(Choices::EncVariationId, "EV1(3)"),
              "EncVariationId(EncVariationCall(\"EV1\", ActualParList(" + expr("\"3\"") + ")))");
    EXPECT_EQ(shape(Choices::PDU_FieldEncoding, "EV2"),
              "PDU_FieldEncoding(EncVariationCall(\"EV2\", ActualParList()))");
}

TEST(FreeTextField, TextLeavesWithoutDelimiters) {
    EXPECT_EQ(shape(Choices::Comment, "  /* two\n lines */ "), "Comment\"two\n lines\"");
    EXPECT_EQ(shape(Choices::TestPurpose, "/**/"), "TestPurpose\"\"");
    EXPECT_EQ(shape(Choices::Objective, "plain"), "Objective\"plain\"");
    EXPECT_EQ(shape(Choices::TS_OpDescription, "/* RETURNVALUE x + 1 */"), "TS_OpDescription\"RETURNVALUE x + 1\"");
    EXPECT_EQ(shape(Choices::TestGroupRef, " ECHO/BASIC/ "), "TestGroupRef(TestGroupReference\"ECHO/BASIC/\")");
    EXPECT_EQ(shape(Choices::EncodingRef, "/* BER */"), "EncodingRef(EncodingReference\"BER\")");
    EXPECT_EQ(shape(Choices::ASN1_ModuleId, "Mod-1"), "ASN1_ModuleId\"Mod-1\"");
}

TEST(FreeTextField, EmptyCellsGiveNoTree) {
    TreeArena arena;
    for (int32_t kind : {Choices::Comment, Choices::Line, Choices::Cref, Choices::TS_ConstValue}) {
        FieldParseResult r = parseField(kind, " \n\t", 1, arena);
        EXPECT_EQ(r.tree, nullptr);
        EXPECT_TRUE(r.findings.empty());
    }
}

TEST(FieldDispatch, UnknownCellKindIsAnInternalError) {
    TreeArena arena;
    FieldParseResult r = parseField(Choices::BehaviourLine, "x", 1, arena);
    EXPECT_EQ(r.tree, nullptr);
    ASSERT_EQ(r.findings.size(), 1u);
    EXPECT_EQ(r.findings[0].message, 38);
    EXPECT_FALSE(isFieldKind(Choices::TestCase));
    EXPECT_TRUE(isFieldKind(Choices::Line));
    EXPECT_TRUE(isFieldKind(Choices::Comment));
    // Every cell of the MP importer's table layouts is a field kind with a grammar.
    for (int type = 1; type < static_cast<int>(SuiteNodeType::Last); ++type) {
        const NodeLayout& layout = layoutOf(static_cast<SuiteNodeType>(type));
        for (int i = 0; i < layout.fieldCount; ++i) {
            int32_t kind = kindNamed(layout.fields[i].field);
            EXPECT_TRUE(isFieldKind(kind)) << layout.fields[i].field;
            FieldParseResult cell = parseField(kind, "x", 1, arena);
            EXPECT_TRUE(cell.findings.empty() || cell.findings[0].message != 38) << layout.fields[i].field;
        }
    }
}

} // namespace
