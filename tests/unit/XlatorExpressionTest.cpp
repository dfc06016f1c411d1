// Expressions, references, literal strings and the keyword leaves of the
// value translation: operators, verdicts, booleans, infinities, time units,
// type keywords in both files, and the leaves that carry a TODO mark.
#include "tests/unit/XlatorValuesTestSupport.h"

#pragma push_macro("INFINITY")
#undef INFINITY

namespace {

struct CellCase {
    const char* what;
    int32_t field;
    const char* cell;
    const char* expected;
};

void expectCells(const CellCase* begin, const CellCase* end, Into into = Into::Ttcn) {
    for (const CellCase* c = begin; c != end; ++c) {
        Written w = writeCell(c->field, c->cell, {}, into);
        EXPECT_EQ(w.text, c->expected) << c->what;
        EXPECT_EQ(w.errors, "") << c->what;
    }
}

const CellCase kExpressions[] = {
    {"equal", Choices::TS_VarValue, "a = b", "v := a == b"},
    {"not equal", Choices::TS_VarValue, "a <> b", "v := a != b"},
    {"less", Choices::TS_VarValue, "a < b", "v := a < b"},
    {"greater", Choices::TS_VarValue, "a > b", "v := a > b"},
    {"less or equal", Choices::TS_VarValue, "a <= b", "v := a <= b"},
    {"greater or equal", Choices::TS_VarValue, "a >= b", "v := a >= b"},
    {"plus and minus without blanks", Choices::TS_VarValue, "a + b - 1", "v := a+b-1"},
    {"multiplication", Choices::TS_VarValue, "a * b", "v := a*b"},
    {"division", Choices::TS_VarValue, "a / b", "v := a div b"},
    {"modulo", Choices::TS_VarValue, "a MOD b", "v := a mod b"},
    {"and", Choices::TS_VarValue, "a AND b", "v := a and b"},
    {"or", Choices::TS_VarValue, "a OR b", "v := a or b"},
    {"not", Choices::TS_VarValue, "NOT a", "v := not a"},
    {"unary minus", Choices::TS_VarValue, "-a", "v := -a"},
    {"parentheses", Choices::TS_VarValue, "(a + 1) * 2", "v := (a+1)*2"},
    {"true", Choices::TS_VarValue, "TRUE", "v := true"},
    {"false", Choices::TS_VarValue, "FALSE", "v := false"},
    {"number as it stands", Choices::TS_VarValue, "007", "v := 007"},
    {"verdict value pass", Choices::TS_VarValue, "pass", "v := pass"},
    {"verdict value fail", Choices::TS_VarValue, "fail", "v := fail"},
    {"verdict value inconc", Choices::TS_VarValue, "inconc", "v := inconc"},
    {"verdict value none", Choices::TS_VarValue, "none", "v := none"},
};

TEST(Expressions, OperatorsAndOperands) { expectCells(std::begin(kExpressions), std::end(kExpressions)); }

const CellCase kLiterals[] = {
    {"bit string", Choices::TS_VarValue, "'0101'B", "v := '0101'B"},
    {"hex string", Choices::TS_VarValue, "'0A'H", "v := '0A'H"},
    {"octet string", Choices::TS_VarValue, "'0A0B'O", "v := '0A0B'O"},
    {"character string", Choices::TS_VarValue, "\"abc\"", "v := \"abc\""},
    {"strings with wildcards", Choices::ConsValue, "'01*'B", "v := '01*'B"},
};

TEST(Expressions, LiteralStrings) { expectCells(std::begin(kLiterals), std::end(kLiterals)); }

const CellCase kReferences[] = {
    {"record, array and bit references", Choices::TS_VarValue, "x.f[i + 1].g.[3]", "v := x.f[i+1].g[3]"},
    {"record reference", Choices::TS_VarValue, "TSC_REC.a", "v := TSC_REC.a"},
};

TEST(References, ComponentsOfADataObject) { expectCells(std::begin(kReferences), std::end(kReferences)); }

TEST(References, PositionAndBitIdentifier) {
    // A position appears in the reference list of a replacement.
    ParsedCell omit(Choices::ASN1_ConsValue, "OMIT (2).f");
    ReferenceList references =
        ASN1_ConsValue(omit.tree).constraintValueAndAttributesOrReplace().replacementList().replacement(0)
            .omitReference().referenceList();
    ValueWriter writer;
    EXPECT_EQ(writeValue(writer, AccessNode(references)).text, "v := [2].f");

    TreeArena arena;
    TreeNode* bit = makeChoice(arena, Choices::BitRef,
                               makeSequence(arena, Choices::BitIdentifier, {makeText(arena, Choices::Identifier, "b-7")}));
    EXPECT_EQ(writeValue(writer, AccessNode(bit->kind, bit)).text, "v := [b_7]");
}

TEST(References, TheReferencedObjectsTypeIsOnTopWhileTheReferenceIsWritten) {
    struct Recorder : ValueWriter {
        std::vector<AccessNode> tops;
        void VisitIdentifier(const Identifier& node) override {
            tops.push_back(topTypeContext());
            ValueWriter::VisitIdentifier(node);
        }
    };
    Recorder writer;
    ParsedCell known(Choices::TS_VarValue, "TSC_REC.a");
    writeValue(writer, known.node());
    ASSERT_EQ(writer.tops.size(), 2u);
    AccessNode constType(suiteObject("TSC_REC").as<TS_ConstDcl>().ts_ConstType());
    EXPECT_TRUE(writer.tops[0] == constType);
    EXPECT_TRUE(writer.tops[1] == constType);
    EXPECT_EQ(writer.stackDepth(), 0u);

    writer.tops.clear();
    ParsedCell unknown(Choices::TS_VarValue, "nothing_here");
    writeValue(writer, unknown.node());
    ASSERT_EQ(writer.tops.size(), 1u);
    EXPECT_TRUE(writer.tops[0].isEmpty());
}

const CellCase kVerdicts[] = {
    {"pass", Choices::VerdictId, "PASS", "v := pass"},
    {"preliminary pass", Choices::VerdictId, "(P)", "v := pass"},
    {"fail", Choices::VerdictId, "F", "v := fail"},
    {"preliminary fail", Choices::VerdictId, "(FAIL)", "v := fail"},
    {"inconc", Choices::VerdictId, "I", "v := inconc"},
    {"preliminary inconc", Choices::VerdictId, "(I)", "v := inconc"},
    {"result variable", Choices::VerdictId, "R", "v := getverdict"},
};

TEST(KeywordLeaves, Verdicts) { expectCells(std::begin(kVerdicts), std::end(kVerdicts)); }

struct TypeKeywordCase {
    const char* cell;
    const char* ttcn3;
    const char* asn1;
};

const TypeKeywordCase kTypeKeywords[] = {
    {"INTEGER", "integer", "INTEGER"},
    {"BOOLEAN", "boolean", "BOOLEAN"},
    {"BITSTRING", "bitstring", "BIT STRING"},
    {"HEXSTRING", "hexstring", "HEX STRING"},
    {"OCTETSTRING", "octetstring", "OCTET STRING"},
    {"R_TYPE", "verdicttype", "verdicttype"},
    {"NumericString", "NumericString", "NumericString"},
    {"PrintableString", "PrintableString", "PrintableString"},
    {"TeletexString", "TeletexString", "TeletexString"},
    {"VideotexString", "VideotexString", "VideotexString"},
    {"VisibleString", "VisibleString", "VisibleString"},
    {"IA5String", "IA5String", "IA5String"},
    {"GraphicString", "GraphicString", "GraphicString"},
    {"GeneralString", "GeneralString", "GeneralString"},
    {"T61String", "T61String", "T61String"},
    {"ISO646String", "ISO646String", "ISO646String"},
};

TEST(KeywordLeaves, TypeKeywordsByFile) {
    for (const TypeKeywordCase& c : kTypeKeywords) {
        EXPECT_EQ(writeCell(Choices::TS_ConstType, c.cell).text, std::string("v := ") + c.ttcn3) << c.cell;
        EXPECT_EQ(writeCell(Choices::TS_ConstType, c.cell, {}, Into::Asn).text, std::string("v := ") + c.asn1)
            << c.cell;
    }
}

const CellCase kTimeUnits[] = {
    {"picoseconds", Choices::Unit, "ps", "v := *1E-12"},
    {"nanoseconds", Choices::Unit, "ns", "v := *1E-9"},
    {"microseconds", Choices::Unit, "us", "v := *1E-6"},
    {"milliseconds", Choices::Unit, "ms", "v := *1E-3"},
    {"seconds", Choices::Unit, "s", "v := "},
    {"minutes", Choices::Unit, "min", "v := *60.0"},
};

TEST(KeywordLeaves, TimeUnits) { expectCells(std::begin(kTimeUnits), std::end(kTimeUnits)); }

TEST(KeywordLeaves, FormalParameterTypes) {
    ParsedCell cell(Choices::ConsId, "C(t: TIMER; c: CP; p: PDU; n: INTEGER)");
    FormalParList formals = ConsId(cell.tree).consIdAndParList().formalParList();
    ASSERT_EQ(formals.size(), 4);
    ValueWriter writer;
    auto typeOf = [&](int32_t i) { return writeValue(writer, AccessNode(formals.formalParAndType(i).formalParType())); };
    EXPECT_EQ(typeOf(0).text, "v := timer");
    EXPECT_EQ(typeOf(1).text, "v := CP_Type");
    const std::string pduMark = "PDU parameters receive 'anytype' type, you need to fix constraint to get "
                                "'{MyType := actualParameter}'";
    Written pdu = typeOf(2);
    EXPECT_EQ(pdu.text, "v := \n// TODO: " + pduMark + "\nanytype");
    EXPECT_EQ(pdu.errors, "warning: " + pduMark + "\n");
    EXPECT_EQ(typeOf(3).text, "v := integer");
}

TEST(KeywordLeaves, OmitAndInfinities) {
    TreeArena arena;
    ValueWriter writer;
    struct Leaf {
        int32_t kind;
        const char* expected;
    };
    for (Leaf leaf : {Leaf{Choices::OMIT, "v := omit"}, Leaf{Choices::INFINITY_, "v := infinity"},
                      Leaf{Choices::Plus_INFINITY, "v := infinity"}, Leaf{Choices::MinusINFINITY, "v := -infinity"},
                      Leaf{Choices::Minus_INFINITY, "v := -infinity"}}) {
        TreeNode* node = makeKeyword(arena, leaf.kind);
        EXPECT_EQ(writeValue(writer, AccessNode(node->kind, node)).text, leaf.expected) << Choices::to_char(leaf.kind);
    }
}

TEST(KeywordLeaves, MacroSymbolIsAFieldCalledMacro) {
    const std::string mark = "macro symbols are translated into fields with 'MACRO' name";
    Written w = writeCell(Choices::ASP_ParId, "<-");
    EXPECT_EQ(w.text, "v := \n// TODO: " + mark + "\nMACRO");
    EXPECT_EQ(w.errors, "warning: " + mark + "\n");
}

}  // namespace

#pragma pop_macro("INFINITY")
