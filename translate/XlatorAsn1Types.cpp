// ASN.1 type definitions: each definition is written back as ASN.1 notation
// into the merged module ExtASN and imported by name into the TTCN-3 module.
// The notation writer below writes into whichever file is current; it also
// serves the ASN.1 ASP, PDU and CM types. Subtypes and constraints are in
// XlatorAsn1Constraints.cpp.
#include "translate/XlatorVisitor.h"

#include "front/Fatal.h"
#include "front/XlatorOptions.h"
#include "front/XlatorOutput.h"
#include "translate/XlatorWithVisitor.h"

void XlatorVisitor::VisitASN1_TypeDef(const ASN1_TypeDef& node) {
    XLATOR_ASSERT(node.is_present_asn1_TypeId(), "ASN.1 Type Id not present");
    XLATOR_ASSERT(node.is_present_asn1_TypeDefinition(), "ASN.1 Type Definition not present");
    writeAsn1TypeDefinition(AccessNode(node), AccessNode(node.asn1_TypeId()), node.asn1_TypeDefinition());
}

// The definition written is the one that the ASN.1 association attached to
// the row; the module and type reference cells are not written.
void XlatorVisitor::VisitASN1_TypeRef(const ASN1_TypeRef& node) {
    XLATOR_ASSERT(node.is_present_asn1_TypeId(), "ASN.1 Type Id not specified");
    XLATOR_ASSERT(node.is_present_asn1_TypeDefinition(), "ASN.1 Type definition not specified");
    writeAsn1TypeDefinition(AccessNode(node), AccessNode(node.asn1_TypeId()), node.asn1_TypeDefinition());
}

void XlatorVisitor::writeAsn1TypeDefinition(const AccessNode& table, const AccessNode& name,
                                            const ASN1_TypeDefinition& definition) {
    // The value translation may look the definition up while it writes
    // values inside it; the entry stays.
    pushTypeContext(table);
    XlatorAttributeList attributes = CollectAttributes(table);
    XlatorOutput& out = output();
    out.selectAsn();
    out.writeIndent();
    Visit(name);
    out.write(" ::= ");
    VisitASN1_TypeDefinition(definition);
    out.startLine();
    out.selectTtcn();
    writeAttributeComments(attributes);
    out.write("import from ExtASN language \"ASN.1:1997\" {type ");
    Visit(name);
    out.writeLine("}");
    writeWithBlock(attributes, tabularFormat);
}

void XlatorVisitor::VisitASN1_Type(const ASN1_Type& node) {
    pushTypeContext(AccessNode(node));
    AccessVisitor::VisitASN1_Type(node);
}

// A local type assignment after the main type, on a line of its own.
void XlatorVisitor::VisitTypeAssignment(const TypeAssignment& node) {
    output().startLine();
    output().writeIndent();
    VisitTypeReference(node.typeReference());
    output().write(" ::= ");
    VisitASN1_Type(node.asn1_Type());
    output().startLine();
}

void XlatorVisitor::VisitBooleanType(const BooleanType&) { output().write("BOOLEAN"); }
void XlatorVisitor::VisitOctetStringType(const OctetStringType&) { output().write("OCTET STRING"); }
void XlatorVisitor::VisitRealType(const RealType&) { output().write("REAL"); }
void XlatorVisitor::VisitNullType(const NullType&) { output().write("NULL"); }
void XlatorVisitor::VisitObjectIdentifierType(const ObjectIdentifierType&) { output().write("OBJECT IDENTIFIER"); }
void XlatorVisitor::VisitGeneralizedTime(const GeneralizedTime&) { output().write("GeneralizedTime"); }
void XlatorVisitor::VisitUTCTime(const UTCTime&) { output().write("UTCTime"); }
void XlatorVisitor::VisitEXTERNAL(const EXTERNAL&) { output().write("EXTERNAL"); }
void XlatorVisitor::VisitObjectDescriptor(const ObjectDescriptor&) { output().write("ObjectDescriptor "); }
void XlatorVisitor::VisitANY(const ANY&) { output().write("ANY"); }

void XlatorVisitor::VisitAnyDefinedBy(const AnyDefinedBy& node) {
    output().write("ANY DEFINED BY ");
    VisitIdentifier(node.identifier());
}

void XlatorVisitor::VisitIntegerType(const IntegerType& node) {
    output().write("INTEGER");
    // The parser gives every INTEGER a list, empty when no numbers are named.
    if (node.namedNumberList().size() > 0) {
        output().write(" ");
        VisitNamedNumberList(node.namedNumberList());
    }
}

void XlatorVisitor::VisitBitStringType(const BitStringType& node) {
    output().write("BIT STRING");
    if (node.namedBitList().size() > 0) {
        output().write(" ");
        VisitNamedBitList(node.namedBitList());
    }
}

void XlatorVisitor::VisitNamedNumberList(const NamedNumberList& node) {
    output().write("{");
    writeSeparated(node.size(), [&](int32_t i) { VisitNamedNumber(node.namedNumber(i)); }, ", ");
    output().write("}");
}

void XlatorVisitor::VisitNamedBitList(const NamedBitList& node) {
    output().write("{");
    writeSeparated(node.size(), [&](int32_t i) { VisitNamedNumber(node.namedNumber(i)); }, ", ");
    output().write("}");
}

// An enumeration item written without a number ("ENUMERATED {a, b}") has
// none in the tree and keeps its bare name: "a()" would not be ASN.1.
void XlatorVisitor::VisitNamedNumber(const NamedNumber& node) {
    VisitIdentifier(node.identifier());
    if (node.idOrNum().isEmpty()) return;
    output().write("(");
    VisitIdOrNum(node.idOrNum());
    output().write(")");
}

void XlatorVisitor::VisitEnumeratedType(const EnumeratedType& node) {
    output().write("ENUMERATED {");
    VisitEnumeration(node.enumeration());
    output().write("}");
}

void XlatorVisitor::VisitEnumeration(const Enumeration& node) {
    writeSeparated(node.size(), [&](int32_t i) { VisitNamedNumber(node.namedNumber(i)); }, ", ");
}

void XlatorVisitor::writeConstructedType(const char* keyword, const AccessNode& components) {
    output().writeLine(keyword);
    output().openBlock();
    Visit(components);
    output().closeBlock(true);
}

void XlatorVisitor::VisitSequenceType(const SequenceType& node) {
    writeConstructedType("SEQUENCE", AccessNode(node.elementTypeList()));
}

void XlatorVisitor::VisitSetType(const SetType& node) {
    writeConstructedType("SET", AccessNode(node.elementTypeList()));
}

void XlatorVisitor::VisitChoiceType(const ChoiceType& node) {
    writeConstructedType("CHOICE", AccessNode(node.alternativeTypeList()));
}

void XlatorVisitor::VisitElementTypeList(const ElementTypeList& node) {
    writeItemLines(node.size(), [&](int32_t i) { VisitElementType(node.elementType(i)); });
}

void XlatorVisitor::VisitAlternativeTypeList(const AlternativeTypeList& node) {
    writeItemLines(node.size(), [&](int32_t i) { VisitNamedType(node.namedType(i)); });
}

void XlatorVisitor::VisitSequenceOfType(const SequenceOfType& node) {
    XLATOR_ASSERT(node.is_present_asn1_Type(), "ASN.1 type id not present in SEQUENCE OF definition");
    output().write("SEQUENCE OF ");
    VisitASN1_Type(node.asn1_Type());
}

void XlatorVisitor::VisitSetOfType(const SetOfType& node) {
    XLATOR_ASSERT(node.is_present_asn1_Type(), "ASN.1 type id not present in SET OF definition");
    output().write("SET OF ");
    VisitASN1_Type(node.asn1_Type());
}

void XlatorVisitor::VisitSequenceSubType(const SequenceSubType& node) {
    output().write("SEQUENCE ");
    VisitSizeConstraint(node.sizeConstraint());
    output().write(" OF ");
    VisitASN1_Type(node.asn1_Type());
}

void XlatorVisitor::VisitSetSubType(const SetSubType& node) {
    output().write("SET ");
    VisitSizeConstraint(node.sizeConstraint());
    output().write(" OF ");
    VisitASN1_Type(node.asn1_Type());
}

void XlatorVisitor::VisitComponentsOf(const ComponentsOf& node) {
    output().write("COMPONENTS OF ");
    VisitASN1_Type(node.asn1_Type());
}

void XlatorVisitor::VisitNamedTypeAndAttributes(const NamedTypeAndAttributes& node) {
    VisitNamedTypeOrSelection(node.namedTypeOrSelection());
    if (node.is_present_namedTypeAttribute()) {
        output().space();
        VisitNamedTypeAttribute(node.namedTypeAttribute());
    }
}

void XlatorVisitor::VisitNamedTypeAttribute(const NamedTypeAttribute& node) {
    switch (node.choice()) {
    case Choices::OPTIONAL: output().write("OPTIONAL"); break;
    case Choices::DefaultValue: VisitDefaultValue(node.defaultValue()); break;
    default: XLATOR_INTERNAL_ERROR("in VisitNamedTypeAttribute");
    }
}

void XlatorVisitor::VisitDefaultValue(const DefaultValue& node) {
    output().write("DEFAULT ");
    VisitConstraintValueAndAttributes(node.constraintValueAndAttributes());
}

// A CHOICE alternative written as a bare type (a selection type, or a type
// without a name in older ASN.1) has no name in the tree: the type stands
// alone rather than behind a blank.
void XlatorVisitor::VisitNamedType(const NamedType& node) {
    if (!node.identifier().isEmpty()) {
        VisitIdentifier(node.identifier());
        output().space();
    }
    VisitASN1_Type(node.asn1_Type());
}

void XlatorVisitor::VisitSelectionType(const SelectionType& node) {
    VisitIdentifier(node.identifier());
    output().write(" < ");
    VisitASN1_Type(node.asn1_Type());
}

void XlatorVisitor::VisitTaggedType(const TaggedType& node) {
    VisitTag(node.tag());
    if (node.is_present_tagAttributes()) {
        output().space();
        VisitTagAttributes(node.tagAttributes());
    }
    output().space();
    VisitASN1_Type(node.asn1_Type());
}

void XlatorVisitor::VisitTag(const Tag& node) {
    output().write("[");
    if (node.is_present_classType()) {
        VisitClassType(node.classType());
        output().space();
    }
    VisitClassNumber(node.classNumber());
    output().write("]");
}

void XlatorVisitor::VisitUNIVERSAL(const UNIVERSAL&) { output().write("UNIVERSAL"); }
void XlatorVisitor::VisitAPPLICATION(const APPLICATION&) { output().write("APPLICATION"); }
void XlatorVisitor::VisitPRIVATE_(const PRIVATE_&) { output().write("PRIVATE"); }
void XlatorVisitor::VisitAIMPLICIT(const AIMPLICIT&) { output().write("IMPLICIT"); }
void XlatorVisitor::VisitAEXPLICIT(const AEXPLICIT&) { output().write("EXPLICIT"); }
