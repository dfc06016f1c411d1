// ASN.1 value notation written as TTCN-3 values: structured values in blocks
// of their own, with the type context stack telling each element's type and
// which optional components a SEQUENCE or SET value leaves out; object
// identifiers, NULL, character string lists and real values.
#include "translate/XlatorVisitor.h"

#include "front/Fatal.h"
#include "front/XlatorOutput.h"

namespace {

bool isSequenceOrSet(const AccessNode& structure) {
    return structure.choice() == Choices::SequenceType || structure.choice() == Choices::SetType;
}

// The components of a SEQUENCE or SET type that may be absent (OPTIONAL or
// DEFAULT), by name as written in the type.
std::vector<std::string_view> absentableComponents(const AccessNode& structure) {
    std::vector<std::string_view> names;
    ElementTypeList elements = structure.choice() == Choices::SequenceType
                                   ? structure.as<SequenceType>().elementTypeList()
                                   : structure.as<SetType>().elementTypeList();
    for (int32_t i = 0; i < elements.size(); ++i) {
        NamedTypeAndAttributes component = elements.elementType(i).namedTypeAndAttributes();
        if (component.isEmpty() || !component.is_present_namedTypeAttribute()) continue;
        NamedTypeOrSelection named = component.namedTypeOrSelection();
        std::string_view name = named.choice() == Choices::NamedType ? named.namedType().identifier().text()
                                                                     : named.selectionType().identifier().text();
        if (!name.empty()) names.push_back(name);
    }
    return names;
}

}  // namespace

// ---- SEQUENCE and SET values ----

void XlatorVisitor::writeElementList(const ElementValueList& list) {
    AccessNode structure = asn1Structure(topTypeContext());
    if (!isSequenceOrSet(structure)) structure = AccessNode();

    std::set<std::string_view> given;
    for (int32_t i = 0; i < list.size(); ++i) {
        NamedValue element = list.namedValue(i);
        given.insert(element.identifier().text());
        pushTypeContext(componentType(structure, element.identifier().text()));
        output().writeIndent();
        if (!element.isEmpty()) VisitNamedValue(element);
        if (i + 1 < list.size()) output().write(", ");
        output().startLine();
        popTypeContext();
    }

    // Components left out are written as omitted, in byte order of their
    // names and as the type spells them, on one line after the elements.
    if (structure.isEmpty()) return;
    std::set<std::string> absent;
    for (std::string_view name : absentableComponents(structure))
        if (!given.count(name)) absent.emplace(name);
    bool first = true;
    for (const std::string& name : absent) {
        // With no element before it the line must not begin with a comma.
        if (!first || list.size() > 0) output().write(", ");
        output().write(name + " := omit");
        first = false;
    }
}

void XlatorVisitor::VisitElementValueList(const ElementValueList& node) { writeElementList(node); }

void XlatorVisitor::writeStructuredValue(const ElementValueList& list) {
    output().startLine();
    output().openBlock();
    // Braces of "name value" pairs are also how a SEQUENCE OF or SET OF
    // CHOICE value is written; against such a type each pair is one element.
    AccessNode listElementType = elementType(asn1Structure(topTypeContext()));
    if (!listElementType.isEmpty() && asn1Structure(listElementType).choice() == Choices::ChoiceType) {
        pushTypeContext(listElementType);
        for (int32_t i = 0; i < list.size(); ++i) {
            output().writeIndent();
            writeChoice(list.namedValue(i));
            if (i + 1 < list.size()) output().write(", ");
            output().startLine();
        }
        popTypeContext();
    } else {
        writeElementList(list);
    }
    output().closeBlock(false);
}

void XlatorVisitor::VisitSequenceValue(const SequenceValue& node) { writeStructuredValue(node.elementValueList()); }
void XlatorVisitor::VisitSetValue(const SetValue& node) { writeStructuredValue(node.elementValueList()); }

// ---- SEQUENCE OF and SET OF values ----

void XlatorVisitor::VisitASN1_ValueList(const ASN1_ValueList& node) {
    // The element type for the whole list; an empty entry when the type is
    // not a list type, so that no value below reads the list's own type.
    pushTypeContext(elementType(asn1Structure(topTypeContext())));
    for (int32_t i = 0; i < node.size(); ++i) {
        output().writeIndent();
        if (ConstraintValueAndAttributes value = node.constraintValueAndAttributes(i); !value.isEmpty())
            VisitConstraintValueAndAttributes(value);
        if (i + 1 < node.size()) output().write(", ");
        output().startLine();
    }
    popTypeContext();
}

void XlatorVisitor::writeListValue(const ASN1_ValueList& list) {
    output().startLine();
    output().openBlock();
    // "{}" reads as an empty list, but for a SEQUENCE or SET type it is a
    // value of that type whose optional components are all absent.
    if (list.size() == 0 && isSequenceOrSet(asn1Structure(topTypeContext())))
        writeElementList(ElementValueList());
    else
        VisitASN1_ValueList(list);
    output().closeBlock(false);
}

void XlatorVisitor::VisitSequenceOfValue(const SequenceOfValue& node) { writeListValue(node.asn1_ValueList()); }
void XlatorVisitor::VisitSetOfValue(const SetOfValue& node) { writeListValue(node.asn1_ValueList()); }

// ---- CHOICE, selection, named and ANY values ----

void XlatorVisitor::writeChoice(const NamedValue& chosen) {
    AccessNode structure = asn1Structure(topTypeContext());
    output().startLine();
    output().openBlock();
    output().writeIndent();
    pushTypeContext(structure.choice() == Choices::ChoiceType ? componentType(structure, chosen.identifier().text())
                                                              : AccessNode());
    if (!chosen.isEmpty()) VisitNamedValue(chosen);
    popTypeContext();
    output().startLine();
    output().closeBlock(false);
}

void XlatorVisitor::VisitChoiceValue(const ChoiceValue& node) { writeChoice(node.namedValue()); }

void XlatorVisitor::VisitSelectionValue(const SelectionValue& node) {
    output().openBlock();
    AccessVisitor::VisitSelectionValue(node);
    output().closeBlock(true);
}

void XlatorVisitor::VisitNamedValue(const NamedValue& node) {
    if (Identifier name = node.identifier(); !name.isEmpty()) VisitIdentifier(name);
    output().write(" := ");
    if (ConstraintValueAndAttributes value = node.constraintValueAndAttributes(); !value.isEmpty())
        VisitConstraintValueAndAttributes(value);
}

void XlatorVisitor::VisitAnyValue(const AnyValue& node) {
    if (ReferenceType type = node.referenceType(); !type.isEmpty()) VisitReferenceType(type);
    output().write(" := ");
    pushTypeContext(AccessNode(node.referenceType()));
    if (ConstraintValueAndAttributes value = node.constraintValueAndAttributes(); !value.isEmpty())
        VisitConstraintValueAndAttributes(value);
    popTypeContext();
}

// ---- Object identifiers, bit strings, NULL, character string lists ----

void XlatorVisitor::VisitObjectIdentifierValue(const ObjectIdentifierValue& node) {
    output().write("objid {");
    AccessVisitor::VisitObjectIdentifierValue(node);
    output().write("}");
}

void XlatorVisitor::VisitObjIdComponentList(const ObjIdComponentList& node) {
    for (int32_t i = 0; i < node.size(); ++i) {
        if (i > 0) output().write(" ");
        if (ObjIdComponent component = node.objIdComponent(i); !component.isEmpty()) VisitObjIdComponent(component);
    }
}

void XlatorVisitor::VisitNameAndNumberForm(const NameAndNumberForm& node) {
    if (NameForm name = node.nameForm(); !name.isEmpty()) VisitNameForm(name);
    output().write("(");
    if (NumberForm number = node.numberForm(); !number.isEmpty()) VisitNumberForm(number);
    output().write(")");
}

void XlatorVisitor::VisitBitStringValue(const BitStringValue& node) {
    output().write("'");
    AccessVisitor::VisitBitStringValue(node);
    output().write("'B");
}

void XlatorVisitor::VisitIdentifierList(const IdentifierList& node) {
    // Named bits stay apart, so the engineer can still read which they were.
    for (int32_t i = 0; i < node.size(); ++i) {
        if (i > 0) output().write(", ");
        if (Identifier name = node.identifier(i); !name.isEmpty()) VisitIdentifier(name);
    }
}

void XlatorVisitor::VisitNullValue(const NullValue&) {
    output().todo("ASN.1 NULL value notation is not supported in TTCN-3 compiler, define 'asnNULL' (or other) "
                  "user value as NULL");
    output().write("NULL");
}

void XlatorVisitor::VisitCharacterStringList(const CharacterStringList& node) {
    output().write("(");
    for (int32_t i = 0; i < node.size(); ++i) {
        if (i > 0) output().write(", ");
        if (CharsDefn item = node.charsDefn(i); !item.isEmpty()) VisitCharsDefn(item);
    }
    output().write(")");
}

void XlatorVisitor::VisitTuple(const Tuple& node) {
    if (TableRow row = node.tableRow(); !row.isEmpty()) VisitTableRow(row);
    output().write(":");
    if (TableColumn column = node.tableColumn(); !column.isEmpty()) VisitTableColumn(column);
}

// ---- Real values ----

void XlatorVisitor::VisitNumericRealValue(const NumericRealValue& node) {
    auto mantissa = [&] {
        if (Mantissa m = node.mantissa(); !m.isEmpty()) VisitMantissa(m);
    };
    auto exponent = [&] {
        if (Exponent e = node.exponent(); !e.isEmpty()) VisitExponent(e);
    };
    switch (node.base().choice()) {
    case Choices::Ten:
        mantissa();
        output().write("E");
        exponent();
        break;
    case Choices::Two:
        output().write("int2float(bit2int(");
        output().write("int2bit(");
        mantissa();
        output().write(")<<");
        exponent();
        output().write("))");
        break;
    default: XLATOR_ASSERT(false, "Unexpected choice in VisitNumericRealValue");
    }
}

// The base is read by the real value itself; reaching it on its own is a
// fault of the translation.
void XlatorVisitor::VisitBase(const Base&) { XLATOR_ASSERT(false, "INTERNAL_ERROR: in VisitBase"); }
