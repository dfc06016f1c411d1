// ASN.1 values: structured values against the type on the type context
// stack (components, omitted optional components, element and alternative
// types), the other ASN.1 value forms, real values, and the helpers that
// resolve a stack entry to its ASN.1 structure.
#include "tests/unit/XlatorValuesTestSupport.h"

#include "tree/TreeBuild.h"

namespace {

struct Asn1Case {
    const char* what;
    const char* cell;
    const char* type;  // the suite type pushed before the value; null for none
    const char* expected;
};

// Types of the suite: Rec ::= SEQUENCE { a INTEGER, b BOOLEAN OPTIONAL, c INTEGER,
// d INTEGER OPTIONAL }; Alt ::= CHOICE { num INTEGER, flag BOOLEAN, rec Rec };
// Outer ::= SEQUENCE { id INTEGER, list SEQUENCE OF Alt, zeta INTEGER OPTIONAL,
// alpha-one BOOLEAN OPTIONAL, alpha INTEGER DEFAULT 3 }; Tagged ::= [APPLICATION 1]
// IMPLICIT SET { x INTEGER, y INTEGER OPTIONAL }; Sized ::= SEQUENCE SIZE (1..4)
// OF Rec; WithLocal ::= SEQUENCE { l Local-Type, m INTEGER OPTIONAL } with the
// local Local-Type ::= SEQUENCE { p INTEGER, q INTEGER OPTIONAL }; Loop ::= Loop.
const Asn1Case kStructuredValues[] = {
    {"SEQUENCE value with optionals left out", "{ a 1, c 2 }", "Rec",
     "v := \n{\n  a := 1, \n  c := 2\n  , b := omit, d := omit\n}"},
    {"SEQUENCE value with every component", "{ a 1, b TRUE, c 2, d 3 }", "Rec",
     "v := \n{\n  a := 1, \n  b := true, \n  c := 2, \n  d := 3\n}"},
    {"omitted components by name, as the type spells them", "{ id 1, list {} }", "Outer",
     "v := \n{\n  id := 1, \n  list := \n  {\n  }\n  , alpha := omit, alpha-one := omit, zeta := omit\n}"},
    {"explicit elements follow the identifier rule", "{ id 1, list {}, alpha-one TRUE, alpha 4 }", "Outer",
     "v := \n{\n  id := 1, \n  list := \n  {\n  }, \n  alpha_one := true, \n  alpha := 4\n  , zeta := omit\n}"},
    {"empty braces of a SEQUENCE type: only omitted components", "{}", "Rec",
     "v := \n{\n  b := omit, d := omit\n}"},
    {"SEQUENCE value without a known type", "{ a 1, c 2 }", nullptr, "v := \n{\n  a := 1, \n  c := 2\n}"},
    {"a type whose name runs in a circle", "{ a 1 }", "Loop", "v := \n{\n  a := 1\n}"},
    {"tags are looked through", "{ x 1 }", "Tagged", "v := \n{\n  x := 1\n  , y := omit\n}"},
    {"local type of the definition", "{ l { p 1 } }", "WithLocal",
     "v := \n{\n  l := \n  {\n    p := 1\n    , q := omit\n  }\n  , m := omit\n}"},
    {"SEQUENCE OF value", "{ 7, x }", nullptr, "v := \n{\n  7, \n  x\n}"},
    {"empty SEQUENCE OF value", "{}", nullptr, "v := \n{\n}"},
    {"element type of a sized SEQUENCE OF", "{ { a 1, c 2 } }", "Sized",
     "v := \n{\n  {\n    a := 1, \n    c := 2\n    , b := omit, d := omit\n  }\n}"},
    {"CHOICE value", "num 5", "Alt", "v := \n{\n  num := 5\n}"},
    {"alternative type of a CHOICE value", "rec { a 1, c 2 }", "Alt",
     "v := \n{\n  rec := \n  {\n    a := 1, \n    c := 2\n    , b := omit, d := omit\n  }\n}"},
    {"SEQUENCE OF CHOICE written as name-value pairs", "{ id 1, list { num 5, flag TRUE } }", "Outer",
     "v := \n{\n  id := 1, \n  list := \n  {\n    {\n      num := 5\n    }, \n    {\n      flag := true\n    }\n  }\n"
     "  , alpha := omit, alpha-one := omit, zeta := omit\n}"},
    {"ANY value with its type", "Rec : { a 1, c 2 }", nullptr,
     "v := Rec := \n{\n  a := 1, \n  c := 2\n  , b := omit, d := omit\n}"},
    {"object identifier", "{ iso standard 8882 }", nullptr, "v := objid {iso standard 8882}"},
    {"object identifier with name and number", "{ iso(1) member-body(2) }", nullptr,
     "v := objid {iso(1) member_body(2)}"},
    {"character string list with a tuple", "{ \"ab\", {1, 2} }", nullptr, "v := (\"ab\", 2:1)"},
    {"base-2 real", "{ 3, 2, 4 }", nullptr, "v := int2float(bit2int(int2bit(3)<<4))"},
    {"base-2 real with signs", "{ -1, 2, -3 }", nullptr, "v := int2float(bit2int(int2bit(-1)<<-3))"},
    {"base-10 real", "{ 314, 10, -2 }", nullptr, "v := 314E-2"},
    {"base-10 real with component names", "{ mantissa 5, base 10, exponent 30 }", nullptr, "v := 5E30"},
    {"plus infinity", "PLUS-INFINITY", nullptr, "v := infinity"},
    {"minus infinity", "MINUS-INFINITY", nullptr, "v := -infinity"},
};

TEST(Asn1Values, StructuredAndOtherForms) {
    for (const Asn1Case& c : kStructuredValues) {
        ParsedCell cell(Choices::ASN1_ConsValue, c.cell);
        ValueWriter writer;
        Written w = c.type ? writeValue(writer, cell.node(), {suiteObject(c.type)}) : writeValue(writer, cell.node());
        EXPECT_EQ(w.text, c.expected) << c.what;
        EXPECT_EQ(w.errors, "") << c.what;
        EXPECT_EQ(writer.stackDepth(), 0u) << c.what;
    }
}

TEST(Asn1Values, IntoTheAsn1FileNamesTakeHyphens) {
    ParsedCell cell(Choices::ASN1_ConsValue, "{ id v_1, list {}, alpha-one TRUE }");
    ValueWriter writer;
    EXPECT_EQ(writeValue(writer, cell.node(), {suiteObject("Outer")}, Into::Asn).text,
              "v := \n{\n  id := v-1, \n  list := \n  {\n  }, \n  alpha-one := true\n  , alpha := omit, zeta := omit\n}");
}

// Forms the field parser never builds: SET, SET OF and selection values have
// the shape of their SEQUENCE and CHOICE counterparts.
TEST(Asn1Values, SetSetOfAndSelectionValues) {
    struct Renamed {
        const char* cell;
        int32_t from;
        int32_t to;
        const char* type;
        const char* expected;
    };
    const Renamed cases[] = {
        {"{ x 1 }", Choices::SequenceValue, Choices::SetValue, "Tagged", "v := \n{\n  x := 1\n  , y := omit\n}"},
        {"{ 1, 2 }", Choices::SequenceOfValue, Choices::SetOfValue, nullptr, "v := \n{\n  1, \n  2\n}"},
        {"num 5", Choices::ChoiceValue, Choices::SelectionValue, nullptr, "v := \n{\n  num := 5\n}\n"},
    };
    for (const Renamed& c : cases) {
        ParsedCell cell(Choices::ASN1_ConsValue, c.cell);
        TreeNode* value = firstOfKind(cell.tree, c.from);
        ASSERT_NE(value, nullptr) << c.cell;
        value->kind = c.to;
        ASSERT_EQ(treeShapeError(cell.tree), "") << c.cell;
        ValueWriter writer;
        Written w = c.type ? writeValue(writer, cell.node(), {suiteObject(c.type)}) : writeValue(writer, cell.node());
        EXPECT_EQ(w.text, c.expected) << c.cell;
    }
}

TEST(Asn1Values, NamedBitsOfABitStringValue) {
    TreeArena arena;
    auto bits = [&](std::initializer_list<const char*> names) {
        std::vector<TreeNode*> ids;
        for (const char* name : names) ids.push_back(makeText(arena, Choices::Identifier, name));
        return makeSequence(arena, Choices::BitStringValue, {makeList(arena, Choices::IdentifierList, ids)});
    };
    ValueWriter writer;
    TreeNode* two = bits({"first-bit", "second"});
    EXPECT_EQ(writeValue(writer, AccessNode(two->kind, two)).text, "v := 'first_bit, second'B");
    TreeNode* none = bits({});
    EXPECT_EQ(writeValue(writer, AccessNode(none->kind, none)).text, "v := ''B");
}

TEST(Asn1Values, EveryNullValueGetsItsOwnMark) {
    const std::string mark = "ASN.1 NULL value notation is not supported in TTCN-3 compiler, define 'asnNULL' "
                             "(or other) user value as NULL";
    ParsedCell cell(Choices::ASN1_ConsValue, "{ NULL, NULL }");
    ValueWriter writer;
    Written w = writeValue(writer, cell.node());
    EXPECT_EQ(w.text, "v := \n{\n  // TODO: " + mark + "\n  NULL, \n  // TODO: " + mark + "\n  NULL\n}");
    EXPECT_EQ(w.errors, "warning: " + mark + "\nwarning: " + mark + "\n");
}

// The top of the stack at every value written inside a SEQUENCE holding a
// SEQUENCE OF CHOICE whose last alternative is a SEQUENCE again.
TEST(Asn1Values, TypeContextAtEveryNestedValue) {
    ParsedCell cell(Choices::ASN1_ConsValue, "{ id 1, list { num 5, flag TRUE, rec { a 1, c 2 } } }");
    ValueWriter writer;
    std::vector<AccessNode> tops;
    writer.onValue = [&](const AccessNode& top) { tops.push_back(top); };
    AccessNode outer = suiteObject("Outer");
    writeValue(writer, cell.node(), {outer});

    auto body = [](const char* type) {
        return suiteObject(type).as<ASN1_TypeDef>().asn1_TypeDefinition().asn1_TypeAndLocalTypes().asn1_Type();
    };
    ElementTypeList outerElements = body("Outer").builtinType().sequenceType().elementTypeList();
    AlternativeTypeList alternatives = body("Alt").builtinType().choiceType().alternativeTypeList();
    ElementTypeList recElements = body("Rec").builtinType().sequenceType().elementTypeList();
    auto component = [](const ElementTypeList& list, int32_t i) {
        return AccessNode(list.elementType(i).namedTypeAndAttributes().namedTypeOrSelection().namedType().asn1_Type());
    };
    const std::vector<std::pair<const char*, AccessNode>> expected = {
        {"the whole value", outer},
        {"id", component(outerElements, 0)},
        {"list", component(outerElements, 1)},
        {"num", AccessNode(alternatives.namedType(0).asn1_Type())},
        {"flag", AccessNode(alternatives.namedType(1).asn1_Type())},
        {"rec", AccessNode(alternatives.namedType(2).asn1_Type())},
        {"rec.a", component(recElements, 0)},
        {"rec.c", component(recElements, 2)},
    };
    ASSERT_EQ(tops.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(tops[i] == expected[i].second) << expected[i].first << ": " << Choices::to_char(tops[i].choice());
    EXPECT_EQ(writer.stackDepth(), 0u);
}

// ---- Failures of real values ----

// Visits a node in a death test, whose standard error the test reads itself.
void visitAlone(const AccessNode& node) {
    createOutput(std::tmpfile(), std::tmpfile());
    ValueWriter writer;
    writer.Visit(node);
}

TEST(RealValuesDeathTest, AnyOtherBaseIsAnAssertion) {
    ParsedCell cell(Choices::ASN1_ConsValue, "{ 3, 10, 4 }");
    // The base keyword replaced by one that is no base.
    TreeNode* real = firstOfKind(cell.tree, Choices::NumericRealValue);
    ASSERT_NE(real, nullptr);
    real->child[1]->child[0]->kind = Choices::Mult;
    EXPECT_EXIT(visitAlone(cell.node()), ::testing::ExitedWithCode(1),
                "^ASSERTION FAILED: false \\('Unexpected choice in VisitNumericRealValue'\\) at "
                ".*XlatorAsn1Values\\.cpp\\([0-9]+\\)\n$");
}

TEST(RealValuesDeathTest, VisitingTheBaseAloneIsAnAssertion) {
    ParsedCell cell(Choices::ASN1_ConsValue, "{ 3, 10, 4 }");
    TreeNode* real = firstOfKind(cell.tree, Choices::NumericRealValue);
    ASSERT_NE(real, nullptr);
    EXPECT_EXIT(visitAlone(AccessNode(Choices::Base, real->child[1])), ::testing::ExitedWithCode(1),
                "^ASSERTION FAILED: false \\('INTERNAL_ERROR: in VisitBase'\\) at "
                ".*XlatorAsn1Values\\.cpp\\([0-9]+\\)\n$");
}

// ---- Resolving stack entries ----

TEST(TypeContext, EntriesResolveToTheirStructure) {
    ParsedCell recName(Choices::TS_ConstType, "Rec");
    ParsedCell integer(Choices::TS_ConstType, "INTEGER");
    struct Entry {
        const char* what;
        AccessNode entry;
        int32_t structure;
    };
    const Entry entries[] = {
        {"type definition", suiteObject("Rec"), Choices::SequenceType},
        {"typed constant", suiteObject("TSC_REC"), Choices::SequenceType},
        {"type cell naming an ASN.1 type", recName.node(), Choices::SequenceType},
        {"predefined type", integer.node(), Choices::PredefinedType},
        {"tagged type", suiteObject("Tagged"), Choices::SetType},
        {"sized list type", suiteObject("Sized"), Choices::SequenceSubType},
        {"tabular definition as it is", suiteObject("DATA_IND"), Choices::TTCN_ASP_TypeDef},
        {"circular name", suiteObject("Loop"), Choices::invalid_choice},
        {"empty entry", AccessNode(), Choices::invalid_choice},
    };
    ValueWriter writer;
    for (const Entry& e : entries) {
        AccessNode structure = writer.asn1Structure(e.entry);
        EXPECT_EQ(structure.isEmpty() ? Choices::invalid_choice : structure.choice(), e.structure) << e.what;
    }
    EXPECT_EQ(writer.asn1Structure(XlatorVisitor::elementType(writer.asn1Structure(suiteObject("Sized")))).choice(),
              Choices::SequenceType);
    EXPECT_TRUE(XlatorVisitor::elementType(writer.asn1Structure(suiteObject("Rec"))).isEmpty());
    EXPECT_TRUE(writer.componentType(writer.asn1Structure(suiteObject("Rec")), "e").isEmpty());
    EXPECT_TRUE(writer.componentType(writer.asn1Structure(suiteObject("Rec")), "").isEmpty());
}

TEST(TypeContext, FormalParameterTypesOfDefinitions) {
    ParsedCell grouped(Choices::ConsId, "C(a, b: INTEGER; c: Rec)");
    FormalParList formals = ConsId(grouped.tree).consIdAndParList().formalParList();
    std::vector<AccessNode> types = XlatorVisitor::formalParameterTypes(AccessNode(formals));
    ASSERT_EQ(types.size(), 3u);  // a group of names repeats its type
    EXPECT_TRUE(types[0] == AccessNode(formals.formalParAndType(0).formalParType()));
    EXPECT_TRUE(types[1] == types[0]);
    EXPECT_TRUE(types[2] == AccessNode(formals.formalParAndType(1).formalParType()));
    EXPECT_EQ(XlatorVisitor::formalParameterTypes(suiteObject("F")).size(), 2u);
    EXPECT_EQ(XlatorVisitor::formalParameterTypes(suiteObject("C_REC")).size(), 2u);
    EXPECT_TRUE(XlatorVisitor::formalParameterTypes(suiteObject("TSC_N")).empty());
}

}  // namespace
