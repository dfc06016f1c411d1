// Cells of real suites translated as values, one table per value family:
// each cell is parsed with the field parser and written after "v := " with
// the named suite type (if any) on the type context stack. Every "// TODO: "
// line of the expected text must come with its "warning: " line on standard
// error, and nothing else may go there.
#include "tests/unit/XlatorValuesTestSupport.h"

namespace {

struct Row {
    int32_t field;
    const char* cell;
    const char* type;  // suite type pushed first, or null
    std::string expected;
};

const std::string kSuperSet = "\n// TODO: 'superset' constraint should be enclosed in brackets (not curly ones)\n";
const std::string kSubSet = "\n// TODO: 'subset' constraint should be enclosed in brackets (not curly ones)\n";
const std::string kMacro = "\n// TODO: macro symbols are translated into fields with 'MACRO' name\n";
const std::string kNull = "// TODO: ASN.1 NULL value notation is not supported in TTCN-3 compiler, define 'asnNULL' "
                          "(or other) user value as NULL\n";

void expectRows(const std::vector<Row>& rows, Into into = Into::Ttcn) {
    for (const Row& row : rows) {
        ParsedCell cell(row.field, row.cell);
        ValueWriter writer;
        Written w = row.type ? writeValue(writer, cell.node(), {suiteObject(row.type)}, into)
                             : writeValue(writer, cell.node(), {}, into);
        EXPECT_EQ(w.text, row.expected) << row.cell;
        std::string warnings;
        for (std::size_t at = 0; (at = row.expected.find("// TODO: ", at)) != std::string::npos; at += 9)
            warnings += "warning: " + row.expected.substr(at + 9, row.expected.find('\n', at) - at - 9) + "\n";
        EXPECT_EQ(w.errors, warnings) << row.cell;
        EXPECT_EQ(writer.stackDepth(), 0u) << row.cell;
        EXPECT_TRUE(output().lineBreaks() && output().indentOn()) << row.cell;
    }
}

constexpr int32_t kExpr = Choices::TS_VarValue;
constexpr int32_t kCons = Choices::ConsValue;
constexpr int32_t kAsn = Choices::ASN1_ConsValue;

// The suite's DATA_IND is the message type of PCO L, Red a named number.
TEST(ValueCells, IdentifiersCallsAndConstraintReferences) {
    expectRows({
        {kExpr, "DATA_IND.payload", nullptr, "v := v_DATA_IND.payload"},
        {kExpr, "x[1] = DATA_IND.payload", nullptr, "v := x[1] == v_DATA_IND.payload"},
        {Choices::Cref, "DATA_IND", nullptr, "v := DATA_IND"},
        {kExpr, "Red", nullptr, "v := red"},
        {kExpr, "x.user-data", nullptr, "v := x.user_data"},
        {kExpr, "NUMBER_OF_ELEMENTS(x)", nullptr, "v := sizeof(valueof(x))"},
        {kCons, "INT_TO_BIT(x, 8)", nullptr, "v := int2bit(valueof(x), valueof(8))"},
        {kExpr, "F(a, b)", nullptr, "v := F(a, b)"},
        {kExpr, "G()", nullptr, "v := G()"},
        // F's first formal parameter is a Rec, so its value gets the omitted components.
        {kExpr, "F({ a 1, c 2 }, TSC_N)", nullptr, "v := F(\n{\n  a := 1, \n  c := 2\n  , b := omit, d := omit\n}, TSC_N)"},
        {Choices::Cref, "C_REC", nullptr, "v := C_REC"},
        {kCons, "C_REC()", nullptr, "v := C_REC"},
        {kCons, "C_REC({ a 1, c 2 }, 5)", nullptr, "v := C_REC({a := 1, c := 2, b := omit, d := omit}, 5)"},
        // A parameter beyond the constraint's two has no type.
        {kCons, "C_REC({ c 1 }, 5, { c 1 })", nullptr, "v := C_REC({c := 1, b := omit, d := omit}, 5, {c := 1})"},
        {kCons, "C_REC(C_REC({ c 1 }, 1), ?)", nullptr, "v := C_REC(C_REC({c := 1, b := omit, d := omit}, 1), ?)"},
    });
}

TEST(ValueCells, ExpressionsLiteralsAndReferences) {
    expectRows({
        {kExpr, "(a = b) AND (c <> d) OR (e < f)", nullptr, "v := (a == b) and (c != d) or (e < f)"},
        {kExpr, "(a > b) AND NOT (c <= d) AND (e >= f)", nullptr, "v := (a > b) and not (c <= d) and (e >= f)"},
        {kExpr, "a + b - c * d / e MOD -f", nullptr, "v := a+b-c*d div e mod -f"},
        {kExpr, "TRUE AND FALSE", nullptr, "v := true and false"},
        {kExpr, "(pass = fail) OR (inconc = none) OR (007 = 7)", nullptr,
         "v := (pass == fail) or (inconc == none) or (007 == 7)"},
        {kExpr, "('0101'B = '0A'H) OR ('0A0B'O = \"abc\")", nullptr, "v := ('0101'B == '0A'H) or ('0A0B'O == \"abc\")"},
        {kExpr, "x.f[i + 1].g.[3]", nullptr, "v := x.f[i+1].g[3]"},
        // While a reference is written its object's type is on top: TSC_REC is a Rec.
        {kExpr, "TSC_REC.a[{ c 1 }]", nullptr, "v := TSC_REC.a[\n{\n  c := 1\n  , b := omit, d := omit\n}]"},
        {kExpr, "nothing.a[{ c 1 }]", nullptr, "v := nothing.a[\n{\n  c := 1\n}]"},
    });
}

TEST(ValueCells, KeywordLeaves) {
    expectRows({
        {Choices::VerdictId, "PASS", nullptr, "v := pass"},     {Choices::VerdictId, "(P)", nullptr, "v := pass"},
        {Choices::VerdictId, "F", nullptr, "v := fail"},        {Choices::VerdictId, "(FAIL)", nullptr, "v := fail"},
        {Choices::VerdictId, "I", nullptr, "v := inconc"},      {Choices::VerdictId, "(I)", nullptr, "v := inconc"},
        {Choices::VerdictId, "R", nullptr, "v := getverdict"},  {Choices::TS_ConstType, "R_TYPE", nullptr, "v := verdicttype"},
        {Choices::Unit, "ps", nullptr, "v := *1E-12"},          {Choices::Unit, "ns", nullptr, "v := *1E-9"},
        {Choices::Unit, "us", nullptr, "v := *1E-6"},           {Choices::Unit, "ms", nullptr, "v := *1E-3"},
        {Choices::Unit, "s", nullptr, "v := "},                 {Choices::Unit, "min", nullptr, "v := *60.0"},
        {Choices::ASP_ParId, "<-", nullptr, "v := " + kMacro + "MACRO"},
    });
    const char* typeKeywords[][3] = {{"INTEGER", "integer", "INTEGER"},          {"BOOLEAN", "boolean", "BOOLEAN"},
                                     {"BITSTRING", "bitstring", "BIT STRING"},   {"HEXSTRING", "hexstring", "HEX STRING"},
                                     {"OCTETSTRING", "octetstring", "OCTET STRING"}};
    for (auto [cell, ttcn3, asn1] : typeKeywords) {
        expectRows({{Choices::TS_ConstType, cell, nullptr, std::string("v := ") + ttcn3}});
        expectRows({{Choices::TS_ConstType, cell, nullptr, std::string("v := ") + asn1}}, Into::Asn);
    }
    for (const char* name : {"NumericString", "PrintableString", "TeletexString", "VideotexString", "VisibleString",
                             "IA5String", "GraphicString", "GeneralString", "T61String", "ISO646String"}) {
        expectRows({{Choices::TS_ConstType, name, nullptr, std::string("v := ") + name}});
        expectRows({{Choices::TS_ConstType, name, nullptr, std::string("v := ") + name}}, Into::Asn);
    }
}

TEST(ValueCells, MatchingSymbolsAndAttributes) {
    expectRows({
        {kCons, "COMPLEMENT (0, 255)", nullptr, "v := complement (0, 255)"},
        {kCons, "(1, 2, 4)", nullptr, "v := (1, 2, 4)"},
        {kCons, "(5)", nullptr, "v := (5)"},
        {kCons, "(1 TO 10)", nullptr, "v := (1 .. 10)"},
        {kCons, "(-INFINITY TO 0)", nullptr, "v := (-infinity .. 0)"},
        {kCons, "(1 TO INFINITY)", nullptr, "v := (1 .. infinity)"},
        {kCons, "PERMUTATION (1, 2, 3)", nullptr, "v := permutation (1, 2, 3)"},
        {kCons, "-", nullptr, "v := omit"},
        {kCons, "OMIT", nullptr, "v := omit"},
        {kCons, "?", nullptr, "v := ?"},
        {kCons, "*", nullptr, "v := *"},
        {kCons, "?[4]", nullptr, "v := ? length(4)"},
        {kCons, "*[1 TO 3] IF_PRESENT", nullptr, "v := * length(1 .. 3) ifpresent"},
        {kCons, "?[N .. INFINITY]", nullptr, "v := ? length(N .. infinity)"},
        {kCons, "TSC_N IF_PRESENT", nullptr, "v := TSC_N ifpresent"},
        {kCons, "COMPLEMENT (1, ?[2])", nullptr, "v := complement (1, ? length(2))"},
        {kCons, "SUPERSET (x)", nullptr, "v := " + kSuperSet + "superset x"},
        // A SET OF value keeps its braces: that is what the mark points at.
        {kCons, "SUBSET ({1, 2})", nullptr, "v := " + kSubSet + "subset \n{\n  1, \n  2\n}"},
    });
}

// Types of the suite: Rec ::= SEQUENCE { a INTEGER, b BOOLEAN OPTIONAL, c INTEGER,
// d INTEGER OPTIONAL }; Alt ::= CHOICE { num INTEGER, flag BOOLEAN, rec Rec };
// Outer ::= SEQUENCE { id INTEGER, list SEQUENCE OF Alt, zeta INTEGER OPTIONAL,
// alpha-one BOOLEAN OPTIONAL, alpha INTEGER DEFAULT 3 }; Tagged ::= [APPLICATION 1]
// IMPLICIT SET { x INTEGER, y INTEGER OPTIONAL }; Sized ::= SEQUENCE SIZE (1..4)
// OF Rec; WithLocal ::= SEQUENCE { l Local-Type, m INTEGER OPTIONAL } with the
// local Local-Type ::= SEQUENCE { p INTEGER, q INTEGER OPTIONAL }; Loop ::= Loop.
TEST(ValueCells, Asn1Values) {
    expectRows({
        {kAsn, "{ a 1, c 2 }", "Rec", "v := \n{\n  a := 1, \n  c := 2\n  , b := omit, d := omit\n}"},
        {kAsn, "{ a 1, b TRUE, c 2, d 3 }", "Rec", "v := \n{\n  a := 1, \n  b := true, \n  c := 2, \n  d := 3\n}"},
        // Omitted components by name in byte order, spelt as in the type; explicit ones get the rule.
        {kAsn, "{ id 1, list {}, alpha-one TRUE }", "Outer",
         "v := \n{\n  id := 1, \n  list := \n  {\n  }, \n  alpha_one := true\n  , alpha := omit, zeta := omit\n}"},
        {kAsn, "{ id 1, list {} }", "Outer",
         "v := \n{\n  id := 1, \n  list := \n  {\n  }\n  , alpha := omit, alpha-one := omit, zeta := omit\n}"},
        {kAsn, "{}", "Rec", "v := \n{\n  b := omit, d := omit\n}"},
        {kAsn, "{ a 1, c 2 }", nullptr, "v := \n{\n  a := 1, \n  c := 2\n}"},
        {kAsn, "{ a 1 }", "Loop", "v := \n{\n  a := 1\n}"},
        {kAsn, "{ x 1 }", "Tagged", "v := \n{\n  x := 1\n  , y := omit\n}"},
        {kAsn, "{ l { p 1 } }", "WithLocal", "v := \n{\n  l := \n  {\n    p := 1\n    , q := omit\n  }\n  , m := omit\n}"},
        {kAsn, "{ 7, x }", nullptr, "v := \n{\n  7, \n  x\n}"},
        {kAsn, "{}", nullptr, "v := \n{\n}"},
        {kAsn, "{ { a 1, c 2 } }", "Sized", "v := \n{\n  {\n    a := 1, \n    c := 2\n    , b := omit, d := omit\n  }\n}"},
        {kAsn, "num 5", "Alt", "v := \n{\n  num := 5\n}"},
        {kAsn, "rec { a 1, c 2 }", "Alt",
         "v := \n{\n  rec := \n  {\n    a := 1, \n    c := 2\n    , b := omit, d := omit\n  }\n}"},
        // Each value is written against its own type: the last element of the
        // SEQUENCE OF CHOICE gets the components its Rec omits.
        {kAsn, "{ id 1, list { num 5, flag TRUE, rec { a 1, c 2 } } }", "Outer",
         "v := \n{\n  id := 1, \n  list := \n  {\n    {\n      num := 5\n    }, \n    {\n      flag := true\n    }, \n"
         "    {\n      rec := \n      {\n        a := 1, \n        c := 2\n        , b := omit, d := omit\n      }\n    }\n  }\n"
         "  , alpha := omit, alpha-one := omit, zeta := omit\n}"},
        {kAsn, "Rec : { a 1, c 2 }", nullptr, "v := Rec := \n{\n  a := 1, \n  c := 2\n  , b := omit, d := omit\n}"},
        {kAsn, "{ iso standard 8882 }", nullptr, "v := objid {iso standard 8882}"},
        {kAsn, "{ iso(1) member-body(2) }", nullptr, "v := objid {iso(1) member_body(2)}"},
        {kAsn, "{ \"ab\", {1, 2} }", nullptr, "v := (\"ab\", 2:1)"},
        {kAsn, "{ NULL, NULL }", nullptr, "v := \n{\n  " + kNull + "  NULL, \n  " + kNull + "  NULL\n}"},
        {kAsn, "{ 3, 2, 4 }", nullptr, "v := int2float(bit2int(int2bit(3)<<4))"},
        {kAsn, "{ -1, 2, -3 }", nullptr, "v := int2float(bit2int(int2bit(-1)<<-3))"},
        {kAsn, "{ 314, 10, -2 }", nullptr, "v := 314E-2"},
        {kAsn, "{ mantissa 5, base 10, exponent 30 }", nullptr, "v := 5E30"},
        {kAsn, "PLUS-INFINITY", nullptr, "v := infinity"},
        {kAsn, "MINUS-INFINITY", nullptr, "v := -infinity"},
    });
    expectRows({{kAsn, "{ id v_1, list {}, alpha-one TRUE }", "Outer",
                 "v := \n{\n  id := v-1, \n  list := \n  {\n  }, \n  alpha-one := true\n  , alpha := omit, zeta := omit\n}"}},
               Into::Asn);
}

}  // namespace
