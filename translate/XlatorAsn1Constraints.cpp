// The ASN.1 notation of subtypes and constraints: value sets, ranges with
// their exclusive ends, SIZE, FROM, INCLUDES and the inner type constraints
// WITH COMPONENT(S). Values inside them are written by the value translation.
#include "translate/XlatorVisitor.h"

#include "front/Fatal.h"
#include "front/XlatorOutput.h"

void XlatorVisitor::VisitParentSubType(const ParentSubType& node) {
    VisitParentType(node.parentType());
    output().space();
    VisitSubTypeSpec(node.subTypeSpec());
}

void XlatorVisitor::VisitSubTypeSpec(const SubTypeSpec& node) {
    output().write("(");
    writeSeparated(node.size(), [&](int32_t i) { VisitSubtypeValueSet(node.subtypeValueSet(i)); }, " | ");
    output().write(")");
}

void XlatorVisitor::VisitContainedSubType(const ContainedSubType& node) {
    output().write("INCLUDES ");
    VisitASN1_Type(node.asn1_Type());
}

void XlatorVisitor::VisitValueRange(const ValueRange& node) {
    VisitLowerEndpoint(node.lowerEndpoint());
    output().write(" .. ");
    VisitUpperEndpoint(node.upperEndpoint());
}

// An excluded end is marked by "<" on the side of the "..": "0 < .. 10".
void XlatorVisitor::VisitLowerEndpoint(const LowerEndpoint& node) {
    VisitLowerEndValue(node.lowerEndValue());
    if (node.is_present_inclusive()) {
        output().space();
        VisitINCLUSIVE(node.inclusive());
    }
}

void XlatorVisitor::VisitUpperEndpoint(const UpperEndpoint& node) {
    if (node.is_present_inclusive()) {
        output().space();
        VisitINCLUSIVE(node.inclusive());
    }
    VisitUpperEndValue(node.upperEndValue());
}

void XlatorVisitor::VisitINCLUSIVE(const INCLUSIVE&) { output().write("<"); }
void XlatorVisitor::VisitMax(const Max&) { output().write("MAX"); }
void XlatorVisitor::VisitMin(const Min&) { output().write("MIN"); }

void XlatorVisitor::VisitPermittedAlphabet(const PermittedAlphabet& node) {
    output().write("FROM ");
    VisitSubTypeSpec(node.subTypeSpec());
}

void XlatorVisitor::VisitSizeConstraint(const SizeConstraint& node) {
    output().write("SIZE ");
    VisitSubTypeSpec(node.subTypeSpec());
}

void XlatorVisitor::VisitWithComponent(const WithComponent& node) {
    output().write("WITH COMPONENT ");
    VisitSingleTypeConstraint(node.singleTypeConstraint());
}

void XlatorVisitor::VisitWithComponents(const WithComponents& node) {
    output().write("WITH COMPONENTS ");
    VisitMultipleTypeConstraints(node.multipleTypeConstraints());
}

void XlatorVisitor::VisitFullSpecification(const FullSpecification& node) {
    output().write("{");
    VisitTypeConstraints(node.typeConstraints());
    output().write("}");
}

void XlatorVisitor::VisitPartialSpecification(const PartialSpecification& node) {
    output().write("{ ... , ");
    VisitTypeConstraints(node.typeConstraints());
    output().write("}");
}

void XlatorVisitor::VisitNamedConstraintList(const NamedConstraintList& node) {
    writeSeparated(node.size(), [&](int32_t i) { VisitNamedConstraint(node.namedConstraint(i)); }, ", ");
}

void XlatorVisitor::VisitNamedConstraint(const NamedConstraint& node) {
    VisitIdentifier(node.identifier());
    output().space();
    VisitConstraint(node.constraint());
}

void XlatorVisitor::VisitConstraint(const Constraint& node) {
    if (node.is_present_valueConstraint()) VisitValueConstraint(node.valueConstraint());
    if (node.is_present_valueConstraint() && node.is_present_presenceConstraint()) output().space();
    if (node.is_present_presenceConstraint()) VisitPresenceConstraint(node.presenceConstraint());
}

void XlatorVisitor::VisitPresenceConstraint(const PresenceConstraint& node) {
    switch (node.choice()) {
    case Choices::PRESENT: output().write("PRESENT"); break;
    case Choices::ABSENT: output().write("ABSENT"); break;
    case Choices::OPTIONAL: output().write("OPTIONAL"); break;
    default: XLATOR_INTERNAL_ERROR("in VisitPresenceConstraint");
    }
}
