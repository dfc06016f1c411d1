// TTCN-2 values, expressions, references, operation calls, constraint
// references, matching symbols, literal strings and keyword leaves, written
// as TTCN-3 text at the current position of the output.
#include "translate/XlatorVisitor.h"

#include "access/AccessSuite.h"
#include "front/XlatorOutput.h"

#include <algorithm>

#pragma push_macro("INFINITY")
#undef INFINITY

namespace {

// The node at `index` of a list, as a node of its own kind.
AccessNode listElement(const TreeNode* list, int32_t index) {
    const TreeNode* element = list->child[index];
    return element ? AccessNode(element->kind, element) : AccessNode();
}

}  // namespace

// ---- Operation calls and constraint references ----

void XlatorVisitor::writeActualParameters(const TreeNode* list, const std::vector<AccessNode>& formalTypes) {
    if (!list) return;
    for (int32_t i = 0; i < list->count; ++i) {
        if (i > 0) output().write(", ");
        pushTypeContext(static_cast<std::size_t>(i) < formalTypes.size() ? formalTypes[static_cast<std::size_t>(i)]
                                                                         : AccessNode());
        if (AccessNode value = listElement(list, i); !value.isEmpty()) Visit(value);
        popTypeContext();
    }
}

void XlatorVisitor::VisitOpCall(const OpCall& node) {
    std::string name(node.identifier().text());
    std::replace(name.begin(), name.end(), '-', '_');
    bool predefined = predefinedFunction(name) != nullptr;
    std::vector<AccessNode> formalTypes;
    if (!predefined)
        formalTypes = formalParameterTypes(suite_.find(AccessNode(node.identifier()), std::string(node.identifier().text())));

    VisitIdentifier(node.identifier());
    output().write("(");
    ActualParList parameters = node.actualParList();
    if (predefined) {
        // The TTCN-3 functions take values; an argument may be a template.
        for (int32_t i = 0; i < parameters.size(); ++i) {
            if (i > 0) output().write(", ");
            output().write("valueof(");
            if (ConstraintValueAndAttributes value = parameters.constraintValueAndAttributes(i); !value.isEmpty())
                VisitConstraintValueAndAttributes(value);
            output().write(")");
        }
    } else {
        writeActualParameters(parameters.treeNode(), formalTypes);
    }
    output().write(")");
}

void XlatorVisitor::VisitActualParList(const ActualParList& node) {
    // On its own (a test step, default or local tree reference): the caller
    // has pushed the definition whose parameters these are.
    writeActualParameters(node.treeNode(), formalParameterTypes(topTypeContext()));
}

void XlatorVisitor::VisitConsRef(const ConsRef& node) {
    AccessNode constraint = suite_.find(AccessNode(node.identifier()), std::string(node.identifier().text()));
    pushTypeContext(constraint);
    VisitIdentifier(node.identifier());
    ActualCrefParList parameters = node.actualCrefParList();
    if (parameters.size() > 0) {
        output().write("(");
        // A structured value passed as a parameter stays on this line.
        bool lineBreaks = output().lineBreaks();
        bool indentOn = output().indentOn();
        output().setLineBreaks(false);
        output().setIndentOn(false);
        writeActualParameters(parameters.treeNode(), formalParameterTypes(constraint));
        output().setLineBreaks(lineBreaks);
        output().setIndentOn(indentOn);
        output().write(")");
    }
    popTypeContext();
}

// ---- Expressions and references ----

void XlatorVisitor::VisitExpression(const Expression& node) {
    // Restored, not cleared: an expression nested in another (an index, a
    // parenthesis) must not end the outer one's in-expression state.
    bool outer = inExpression_;
    inExpression_ = true;
    AccessVisitor::VisitExpression(node);
    inExpression_ = outer;
}

void XlatorVisitor::VisitParenExpression(const ParenExpression& node) {
    output().write("(");
    AccessVisitor::VisitParenExpression(node);
    output().write(")");
}

void XlatorVisitor::VisitDataObjectReference(const DataObjectReference& node) {
    AccessNode object = suite_.find(AccessNode(node.identifier()), std::string(node.identifier().text()));
    pushTypeContext(object.isEmpty() ? AccessNode() : declaredTypeOf(object));
    AccessVisitor::VisitDataObjectReference(node);
    popTypeContext();
}

void XlatorVisitor::VisitRecordRef(const RecordRef& node) {
    output().write(".");
    AccessVisitor::VisitRecordRef(node);
}

void XlatorVisitor::VisitComponentPosition(const ComponentPosition& node) {
    output().write("[");
    AccessVisitor::VisitComponentPosition(node);
    output().write("]");
}

void XlatorVisitor::VisitArrayRef(const ArrayRef& node) {
    output().write("[");
    AccessVisitor::VisitArrayRef(node);
    output().write("]");
}

void XlatorVisitor::VisitBitRef(const BitRef& node) {
    output().write("[");
    AccessVisitor::VisitBitRef(node);
    output().write("]");
}

// ---- Matching symbols and value attributes ----

void XlatorVisitor::VisitComplement(const Complement& node) {
    output().write("complement ");
    AccessVisitor::VisitComplement(node);
}

void XlatorVisitor::VisitValueList(const ValueList& node) {
    output().write("(");
    for (int32_t i = 0; i < node.size(); ++i) {
        if (i > 0) output().write(", ");
        if (ConstraintValueAndAttributes value = node.constraintValueAndAttributes(i); !value.isEmpty())
            VisitConstraintValueAndAttributes(value);
    }
    output().write(")");
}

void XlatorVisitor::VisitValRange(const ValRange& node) {
    output().write("(");
    if (LowerRangeBound lower = node.lowerRangeBound(); !lower.isEmpty()) VisitLowerRangeBound(lower);
    output().write(" .. ");
    if (UpperRangeBound upper = node.upperRangeBound(); !upper.isEmpty()) VisitUpperRangeBound(upper);
    output().write(")");
}

void XlatorVisitor::VisitSuperSet(const SuperSet& node) {
    output().todo("'superset' constraint should be enclosed in brackets (not curly ones)");
    output().write("superset ");
    AccessVisitor::VisitSuperSet(node);
}

void XlatorVisitor::VisitSubSet(const SubSet& node) {
    output().todo("'subset' constraint should be enclosed in brackets (not curly ones)");
    output().write("subset ");
    AccessVisitor::VisitSubSet(node);
}

void XlatorVisitor::VisitPermutation(const Permutation& node) {
    output().write("permutation ");
    AccessVisitor::VisitPermutation(node);
}

// The OMIT keyword inside is not visited: it would write "omit" a second time.
void XlatorVisitor::VisitOmit(const Omit&) { output().write("omit"); }
void XlatorVisitor::VisitANYValue(const ANYValue&) { output().write("?"); }
void XlatorVisitor::VisitAnyOrOmit(const AnyOrOmit&) { output().write("*"); }

void XlatorVisitor::VisitValueLength(const ValueLength& node) {
    output().write(" length(");
    AccessVisitor::VisitValueLength(node);
    output().write(")");
}

void XlatorVisitor::VisitRangeValueLength(const RangeValueLength& node) {
    if (LowerValueBound lower = node.lowerValueBound(); !lower.isEmpty()) VisitLowerValueBound(lower);
    output().write(" .. ");
    if (UpperValueBound upper = node.upperValueBound(); !upper.isEmpty()) VisitUpperValueBound(upper);
}

void XlatorVisitor::VisitIF_PRESENT(const IF_PRESENT&) { output().write(" ifpresent"); }

// ---- Literal strings and numbers ----

namespace {
// The text between its delimiters (appended piece by piece: g++ 12 flags a
// chain of string "+" with a false -Wrestrict at -O2).
void writeDelimited(const char* open, std::string_view text, const char* close) {
    std::string literal = open;
    literal += text;
    literal += close;
    output().write(literal);
}
}  // namespace

void XlatorVisitor::VisitBstring(const Bstring& node) { writeDelimited("'", node.text(), "'B"); }
void XlatorVisitor::VisitHstring(const Hstring& node) { writeDelimited("'", node.text(), "'H"); }
void XlatorVisitor::VisitOstring(const Ostring& node) { writeDelimited("'", node.text(), "'O"); }
void XlatorVisitor::VisitCstring(const Cstring& node) { writeDelimited("\"", node.text(), "\""); }
void XlatorVisitor::VisitNumber(const Number& node) { output().write(std::string(node.text())); }

// ---- Keyword leaves ----

void XlatorVisitor::VisitPASS(const PASS&) { output().write("pass"); }
void XlatorVisitor::VisitPreliminaryPASS(const PreliminaryPASS&) { output().write("pass"); }
void XlatorVisitor::VisitFAIL(const FAIL&) { output().write("fail"); }
void XlatorVisitor::VisitPreliminaryFAIL(const PreliminaryFAIL&) { output().write("fail"); }
void XlatorVisitor::VisitINCONC(const INCONC&) { output().write("inconc"); }
void XlatorVisitor::VisitPreliminaryINCONC(const PreliminaryINCONC&) { output().write("inconc"); }
void XlatorVisitor::VisitR(const R&) { output().write("getverdict"); }
void XlatorVisitor::VisitNONE(const NONE&) { output().write("none"); }
void XlatorVisitor::VisitR_TYPE(const R_TYPE&) { output().write("verdicttype"); }
void XlatorVisitor::VisitOMIT(const OMIT&) { output().write("omit"); }
void XlatorVisitor::VisitATrue(const ATrue&) { output().write("true"); }
void XlatorVisitor::VisitAFalse(const AFalse&) { output().write("false"); }
void XlatorVisitor::VisitTIMER(const TIMER&) { output().write("timer"); }
void XlatorVisitor::VisitCP(const CP&) { output().write("CP_Type"); }

void XlatorVisitor::VisitPDU(const PDU&) {
    output().todo("PDU parameters receive 'anytype' type, you need to fix constraint to get "
                  "'{MyType := actualParameter}'");
    output().write("anytype");
}

void XlatorVisitor::VisitPlus_INFINITY(const Plus_INFINITY&) { output().write("infinity"); }
void XlatorVisitor::VisitINFINITY(const INFINITY&) { output().write("infinity"); }
void XlatorVisitor::VisitMinus_INFINITY(const Minus_INFINITY&) { output().write("-infinity"); }
void XlatorVisitor::VisitMinusINFINITY(const MinusINFINITY&) { output().write("-infinity"); }

void XlatorVisitor::VisitMacroSymbol(const MacroSymbol&) {
    output().todo("macro symbols are translated into fields with 'MACRO' name");
    output().write("MACRO");
}

void XlatorVisitor::VisitEqual(const Equal&) { output().write(" == "); }
void XlatorVisitor::VisitNotEqual(const NotEqual&) { output().write(" != "); }
void XlatorVisitor::VisitLess(const Less&) { output().write(" < "); }
void XlatorVisitor::VisitGreater(const Greater&) { output().write(" > "); }
void XlatorVisitor::VisitLessOrEqual(const LessOrEqual&) { output().write(" <= "); }
void XlatorVisitor::VisitGreaterOrEqual(const GreaterOrEqual&) { output().write(" >= "); }
void XlatorVisitor::VisitPlus(const Plus&) { output().write("+"); }
void XlatorVisitor::VisitMinus(const Minus&) { output().write("-"); }
void XlatorVisitor::VisitMult(const Mult&) { output().write("*"); }
void XlatorVisitor::VisitDiv(const Div&) { output().write(" div "); }
void XlatorVisitor::VisitMod(const Mod&) { output().write(" mod "); }
void XlatorVisitor::VisitAnd(const And&) { output().write(" and "); }
void XlatorVisitor::VisitOr(const Or&) { output().write(" or "); }
void XlatorVisitor::VisitNot(const Not&) { output().write("not "); }

// Time units follow a timer duration as a factor to seconds.
void XlatorVisitor::VisitPicoSeconds(const PicoSeconds&) { output().write("*1E-12"); }
void XlatorVisitor::VisitNanoSeconds(const NanoSeconds&) { output().write("*1E-9"); }
void XlatorVisitor::VisitMicroSeconds(const MicroSeconds&) { output().write("*1E-6"); }
void XlatorVisitor::VisitMilliSeconds(const MilliSeconds&) { output().write("*1E-3"); }
void XlatorVisitor::VisitSeconds(const Seconds&) {}
void XlatorVisitor::VisitMinutes(const Minutes&) { output().write("*60.0"); }

// ---- Type keywords, by the file they are written into ----

namespace {
void writeTypeKeyword(const char* ttcn3, const char* asn1) { output().write(output().asnCurrent() ? asn1 : ttcn3); }
}  // namespace

void XlatorVisitor::VisitINTEGER(const INTEGER&) { writeTypeKeyword("integer", "INTEGER"); }
void XlatorVisitor::VisitBOOLEAN_TYPE(const BOOLEAN_TYPE&) { writeTypeKeyword("boolean", "BOOLEAN"); }
void XlatorVisitor::VisitBITSTRING(const BITSTRING&) { writeTypeKeyword("bitstring", "BIT STRING"); }
void XlatorVisitor::VisitHEXSTRING(const HEXSTRING&) { writeTypeKeyword("hexstring", "HEX STRING"); }
void XlatorVisitor::VisitOCTETSTRING(const OCTETSTRING&) { writeTypeKeyword("octetstring", "OCTET STRING"); }

// The character string types keep their names in both files; the TTCN-3
// module declares them as charstring subtypes.
void XlatorVisitor::VisitNumericString(const NumericString&) { output().write("NumericString"); }
void XlatorVisitor::VisitPrintableString(const PrintableString&) { output().write("PrintableString"); }
void XlatorVisitor::VisitTeletexString(const TeletexString&) { output().write("TeletexString"); }
void XlatorVisitor::VisitVideotexString(const VideotexString&) { output().write("VideotexString"); }
void XlatorVisitor::VisitVisibleString(const VisibleString&) { output().write("VisibleString"); }
void XlatorVisitor::VisitIA5String(const IA5String&) { output().write("IA5String"); }
void XlatorVisitor::VisitGraphicString(const GraphicString&) { output().write("GraphicString"); }
void XlatorVisitor::VisitGeneralString(const GeneralString&) { output().write("GeneralString"); }
void XlatorVisitor::VisitT61String(const T61String&) { output().write("T61String"); }
void XlatorVisitor::VisitISO646String(const ISO646String&) { output().write("ISO646String"); }

#pragma pop_macro("INFINITY")
