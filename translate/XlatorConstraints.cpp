// Constraints to templates: every constraint table, tabular or ASN.1, becomes
// one TTCN-3 template named after the constraint, of the constraint's type,
// with the constraint's parameters; the suite's constraint groups become
// nested groups. The values inside are the value translation's.
#include "translate/XlatorVisitor.h"

#include "access/AccessSuite.h"
#include "front/Fatal.h"
#include "front/XlatorOptions.h"
#include "front/XlatorOutput.h"
#include "translate/XlatorWithVisitor.h"

namespace {

// The name that the type cell of a constraint holds.
std::string_view typeNameOf(const AccessNode& typeId) {
    switch (typeId.choice()) {
    case Choices::StructId: return typeId.as<StructId>().structIdAndFullId().identifier().text();
    case Choices::ASN1_TypeId: return typeId.as<ASN1_TypeId>().identifier().text();
    case Choices::ASP_Id: return typeId.as<ASP_Id>().asp_IdAndFullId().identifier().text();
    case Choices::PDU_Id: return typeId.as<PDU_Id>().pdu_IdAndFullId().identifier().text();
    case Choices::CM_Id: return typeId.as<CM_Id>().identifier().text();
    default: return {};
    }
}

// The name of an element as a tabular constraint or type names it; empty for
// a macro symbol.
std::string_view elementName(const AccessNode& id) {
    switch (id.choice()) {
    case Choices::ElemId: return id.as<ElemId>().elemIdAndFullId().identifier().text();
    case Choices::ASP_ParId: return id.as<ASP_ParId>().asp_ParIdOrMacro().asp_ParIdAndFullId().identifier().text();
    case Choices::PDU_FieldId:
        return id.as<PDU_FieldId>().pdu_FieldIdOrMacro().pdu_FieldIdAndFullId().identifier().text();
    case Choices::CM_ParId: return id.as<CM_ParId>().cm_ParIdOrMacro().cm_ParIdAndFullId().identifier().text();
    default: return {};
    }
}

// The type of the element called `name` in a tabular type definition (a
// structured, ASP, PDU or CM type): its TTCN_Type, empty for the metatype PDU
// and when the definition has no such element.
AccessNode declaredElementType(const AccessNode& definition, std::string_view name) {
    if (name.empty()) return {};
    // The rows of each definition kind: how many, the name and the type cell of row i.
    auto search = [&](int32_t count, auto nameAt, auto typeAt) -> AccessNode {
        for (int32_t i = 0; i < count; ++i)
            if (elementName(AccessNode(nameAt(i))) == name)
                return AccessNode(typeAt(i).typeAndAttributes().typeAndLengthAttribute().ttcn_Type());
        return {};
    };
    switch (definition.choice()) {
    case Choices::StructTypeDef: {
        ElemDcls rows = definition.as<StructTypeDef>().elemDcls();
        return search(rows.size(), [&](int32_t i) { return rows.elemDcl(i).elemId(); },
                      [&](int32_t i) { return rows.elemDcl(i).elemType(); });
    }
    case Choices::TTCN_ASP_TypeDef: {
        ASP_ParDcls rows = definition.as<TTCN_ASP_TypeDef>().asp_ParDcls();
        return search(rows.size(), [&](int32_t i) { return rows.asp_ParDcl(i).asp_ParId(); },
                      [&](int32_t i) { return rows.asp_ParDcl(i).asp_ParType(); });
    }
    case Choices::TTCN_PDU_TypeDef: {
        PDU_FieldDcls rows = definition.as<TTCN_PDU_TypeDef>().pdu_FieldDcls();
        return search(rows.size(), [&](int32_t i) { return rows.pdu_FieldDcl(i).pdu_FieldId(); },
                      [&](int32_t i) { return rows.pdu_FieldDcl(i).pdu_FieldType(); });
    }
    case Choices::TTCN_CM_TypeDef: {
        CM_ParDcls rows = definition.as<TTCN_CM_TypeDef>().cm_ParDcls();
        return search(rows.size(), [&](int32_t i) { return rows.cm_ParDcl(i).cm_ParId(); },
                      [&](int32_t i) { return rows.cm_ParDcl(i).cm_ParType(); });
    }
    default: return {};
    }
}

}  // namespace

// ---- User groups ----

void XlatorVisitor::writeConstraintGroup(const AccessNode& groupId, const AccessNode& contents) {
    XlatorOutput& out = output();
    out.write("group ");
    Visit(groupId);
    out.startLine();
    out.openBlock();
    if (!contents.isEmpty()) Visit(contents);
    out.closeBlock(true);
}

// One user group kind a line: its group identifier and list fields, and the
// message of the assertion on a missing identifier.
#define XLATOR_CONSTRAINT_GROUP(Kind, id, list, message)                                  \
    void XlatorVisitor::Visit##Kind(const Kind& node) {                                    \
        XLATOR_ASSERT(node.is_present_##id(), message);                                   \
        writeConstraintGroup(AccessNode(node.id()), AccessNode(node.list()));              \
    }

XLATOR_CONSTRAINT_GROUP(StructTypeConstraintGroup, structTypeConstraintGroupId, structTypeConstraintOrGroupList,
                        "Constraint group id not specified")
XLATOR_CONSTRAINT_GROUP(ASN1_TypeConstraintGroup, asn1_TypeConstraintGroupId, asn1_TypeConstraintOrGroupList,
                        "ASN1 type constraint group id not present")
XLATOR_CONSTRAINT_GROUP(TTCN_ASP_ConstraintGroup, ttcn_ASP_ConstraintGroupId, ttcn_ASP_ConstraintOrGroupList,
                        "TTCN ASP constraint group id not present")
XLATOR_CONSTRAINT_GROUP(ASN1_ASP_ConstraintGroup, asn1_ASP_ConstraintGroupId, asn1_ASP_ConstraintOrGroupList,
                        "ASN.1 ASP constraint grop id not present")
XLATOR_CONSTRAINT_GROUP(TTCN_PDU_ConstraintGroup, ttcn_PDU_ConstraintGroupId, ttcn_PDU_ConstraintOrGroupList,
                        "TTCN pdu constraint group id not present")
XLATOR_CONSTRAINT_GROUP(ASN1_PDU_ConstraintGroup, asn1_PDU_ConstraintGroupId, asn1_PDU_ConstraintOrGroupList,
                        "ASN.1 PDU constraint group id not present")
XLATOR_CONSTRAINT_GROUP(TTCN_CM_ConstraintGroup, ttcn_CM_ConstraintGroupId, ttcn_CM_ConstraintOrGroupList,
                        "CM constraint group id not present")
XLATOR_CONSTRAINT_GROUP(ASN1_CM_ConstraintGroup, asn1_CM_ConstraintGroupId, asn1_CM_ConstraintOrGroupList,
                        "ASN.1 CM constraint group id not present")

#undef XLATOR_CONSTRAINT_GROUP

// ---- Template heads ----

void XlatorVisitor::writeTemplateHeader(const AccessNode& typeId, const ConsId& consId, const DerivPath& derivation) {
    XlatorOutput& out = output();
    out.writeIndent();
    out.write("template ");
    Visit(typeId);
    out.write(" ");
    VisitConsId(consId);
    if (!derivation.isEmpty()) VisitDerivPath(derivation);
    // The header line ends with the blank of " := ".
    out.write(" := ");
    out.startLine();
}

void XlatorVisitor::VisitConsIdAndParList(const ConsIdAndParList& node) {
    VisitIdentifier(node.identifier());
    FormalParList parameters = node.formalParList();
    if (parameters.size() == 0) return;
    XlatorOutput& out = output();
    out.write("(");
    writeParameters(parameters, true, true);
    out.write(")");
}

void XlatorVisitor::VisitDerivPath(const DerivPath& node) {
    output().write(" modifies ");
    VisitDerivationPath(node.derivationPath());
}

void XlatorVisitor::VisitDerivationPath(const DerivationPath& node) {
    // A path A.B. names the base constraint B; the steps before it are not
    // needed by TTCN-3, where B itself records what it modifies.
    if (node.size() > 0) VisitIdentifier(node.identifier(node.size() - 1));
}

void XlatorVisitor::VisitFormalParIdList(const FormalParIdList&) {
    XLATOR_ASSERT(false, "INTERNAL_ERROR: in VisitFormalParIdList");
}

// ---- Tabular templates ----

void XlatorVisitor::writeTabularTemplate(const AccessNode& table, const AccessNode& typeId, const ConsId& consId,
                                         const DerivPath& derivation, const AccessNode& elements) {
    XlatorAttributeList attributes = CollectAttributes(table);
    writeAttributeComments(attributes);
    writeTemplateHeader(typeId, consId, derivation);
    XlatorOutput& out = output();
    out.openBlock();
    AccessNode outerDefinition = tabularDefinition_;
    tabularDefinition_ = typeDefinition(table, typeId);
    if (!elements.isEmpty()) Visit(elements);
    tabularDefinition_ = outerDefinition;
    out.closeBlock(true);
    out.startLine();
    writeWithBlock(attributes, tabularFormat);
}

void XlatorVisitor::VisitStructTypeConstraint(const StructTypeConstraint& node) {
    XLATOR_ASSERT(node.is_present_structId(), "Constraint type not specified");
    XLATOR_ASSERT(node.is_present_consId(), "Constraint id not specified");
    writeTabularTemplate(AccessNode(node), AccessNode(node.structId()), node.consId(), node.derivPath(),
                         AccessNode(node.elemValues()));
}

void XlatorVisitor::VisitTTCN_ASP_Constraint(const TTCN_ASP_Constraint& node) {
    XLATOR_ASSERT(node.is_present_asp_Id(), "TTCN ASP constraint type not specified");
    XLATOR_ASSERT(node.is_present_consId(), "TTCN ASP Constraint id not specified");
    writeTabularTemplate(AccessNode(node), AccessNode(node.asp_Id()), node.consId(), node.derivPath(),
                         AccessNode(node.asp_ParValues()));
}

void XlatorVisitor::VisitTTCN_PDU_Constraint(const TTCN_PDU_Constraint& node) {
    XLATOR_ASSERT(node.is_present_pdu_Id(), "Constraint type not specified");
    XLATOR_ASSERT(node.is_present_consId(), "Constraint id not specified");
    writeTabularTemplate(AccessNode(node), AccessNode(node.pdu_Id()), node.consId(), node.derivPath(),
                         AccessNode(node.pdu_FieldValues()));
}

void XlatorVisitor::VisitTTCN_CM_Constraint(const TTCN_CM_Constraint& node) {
    XLATOR_ASSERT(node.is_present_cm_Id(), "TTCN CM constraint type not specified");
    XLATOR_ASSERT(node.is_present_consId(), "TTCN CM constraint id not specified");
    writeTabularTemplate(AccessNode(node), AccessNode(node.cm_Id()), node.consId(), node.derivPath(),
                         AccessNode(node.cm_ParValues()));
}

void XlatorVisitor::VisitElemValues(const ElemValues& node) {
    writeItemLines(node.size(), [&](int32_t i) { VisitElemValue(node.elemValue(i)); });
}

void XlatorVisitor::VisitASP_ParValues(const ASP_ParValues& node) {
    writeItemLines(node.size(), [&](int32_t i) { VisitASP_ParValue(node.asp_ParValue(i)); });
}

void XlatorVisitor::VisitPDU_FieldValues(const PDU_FieldValues& node) {
    writeItemLines(node.size(), [&](int32_t i) { VisitPDU_FieldValue(node.pdu_FieldValue(i)); });
}

void XlatorVisitor::VisitCM_ParValues(const CM_ParValues& node) {
    writeItemLines(node.size(), [&](int32_t i) { VisitCM_ParValue(node.cm_ParValue(i)); });
}

void XlatorVisitor::writeTemplateElement(const AccessNode& row, const AccessNode& id, const ConsValue& value) {
    // The row's comment stands on lines of its own above the element; its
    // display and encode attributes belong to the template's with-block.
    XlatorAttributeList attributes = CollectAttributes(row);
    writeAttributeComments(attributes);
    if (!id.isEmpty()) Visit(id);
    output().write(" := ");
    // The element's own type, so that a structured value finds its
    // components (and nothing that an earlier definition left on the stack).
    pushTypeContext(declaredElementType(tabularDefinition_, elementName(id)));
    if (!value.isEmpty()) VisitConsValue(value);
    popTypeContext();
}

void XlatorVisitor::VisitElemValue(const ElemValue& node) {
    XLATOR_ASSERT(node.is_present_elemId(), "Constraint elem id not specified");
    XLATOR_ASSERT(node.is_present_consValue(), "Constraint elem value not specified");
    writeTemplateElement(AccessNode(node), AccessNode(node.elemId()), node.consValue());
}

void XlatorVisitor::VisitASP_ParValue(const ASP_ParValue& node) {
    XLATOR_ASSERT(node.is_present_asp_ParId(), "ASP Par id not present");
    XLATOR_ASSERT(node.is_present_consValue(), "ASP Cons value not present");
    writeTemplateElement(AccessNode(node), AccessNode(node.asp_ParId()), node.consValue());
}

void XlatorVisitor::VisitPDU_FieldValue(const PDU_FieldValue& node) {
    XLATOR_ASSERT(node.is_present_pdu_FieldId(), "PDU field id not specified");
    XLATOR_ASSERT(node.is_present_consValue(), "PDU constraint value not specified");
    writeTemplateElement(AccessNode(node), AccessNode(node.pdu_FieldId()), node.consValue());
}

void XlatorVisitor::VisitCM_ParValue(const CM_ParValue& node) {
    writeTemplateElement(AccessNode(node), AccessNode(node.cm_ParId()), node.consValue());
}

// ---- ASN.1 templates ----

AccessNode XlatorVisitor::typeDefinition(const AccessNode& constraint, const AccessNode& typeName) const {
    std::string_view name = typeNameOf(typeName);
    return name.empty() ? AccessNode() : suite_.find(constraint, std::string(name));
}

AccessNode XlatorVisitor::asn1ConstraintType(const AccessNode& constraint, const AccessNode& typeName) const {
    AccessNode found = typeDefinition(constraint, typeName);
    if (constraint.choice() == Choices::ASN1_ASP_Constraint && found.choice() == Choices::ASN1_ASP_TypeDef)
        return AccessNode(found.as<ASN1_ASP_TypeDef>().asn1_TypeDefinition());
    return found;
}

void XlatorVisitor::writeAsn1Template(const AccessNode& table, const AccessNode& typeId, const ConsId& consId,
                                      const DerivPath& derivation, const ASN1_ConsValue& value) {
    // The type stays on the stack for the whole template, so that the value
    // finds its component names, optional components and element types.
    pushTypeContext(asn1ConstraintType(table, typeId));
    XlatorAttributeList attributes = CollectAttributes(table);
    writeAttributeComments(attributes);
    writeTemplateHeader(typeId, consId, derivation);
    // The value brings its own braces.
    if (!value.isEmpty()) VisitASN1_ConsValue(value);
    output().startLine();
    writeWithBlock(attributes, tabularFormat);
    popTypeContext();
}

void XlatorVisitor::VisitASN1_TypeConstraint(const ASN1_TypeConstraint& node) {
    XLATOR_ASSERT(node.is_present_asn1_TypeId(), "Constraint type not specified");
    XLATOR_ASSERT(node.is_present_consId(), "Constraint id not specified");
    writeAsn1Template(AccessNode(node), AccessNode(node.asn1_TypeId()), node.consId(), node.derivPath(),
                      node.asn1_ConsValue());
}

void XlatorVisitor::VisitASN1_ASP_Constraint(const ASN1_ASP_Constraint& node) {
    XLATOR_ASSERT(node.is_present_asp_Id(), "ASP constraint type not specified");
    XLATOR_ASSERT(node.is_present_consId(), "ASP constraint id not specified");
    XLATOR_ASSERT(node.is_present_asn1_ConsValue(), "ASP constraint definition not specified");
    writeAsn1Template(AccessNode(node), AccessNode(node.asp_Id()), node.consId(), node.derivPath(),
                      node.asn1_ConsValue());
}

void XlatorVisitor::VisitASN1_PDU_Constraint(const ASN1_PDU_Constraint& node) {
    XLATOR_ASSERT(node.is_present_pdu_Id(), "ASN.1 PDU constraint type not specified");
    XLATOR_ASSERT(node.is_present_consId(), "ASN.1 PDU constraint id not specified");
    XLATOR_ASSERT(node.is_present_asn1_ConsValue(), "ASN.1 PDU constraint definition not specified");
    writeAsn1Template(AccessNode(node), AccessNode(node.pdu_Id()), node.consId(), node.derivPath(),
                      node.asn1_ConsValue());
}

void XlatorVisitor::VisitASN1_CM_Constraint(const ASN1_CM_Constraint& node) {
    XLATOR_ASSERT(node.is_present_cm_Id(), "ASN.1 CM constraint type not specified");
    XLATOR_ASSERT(node.is_present_consId(), "ASN.1 CM constraint id not specified");
    XLATOR_ASSERT(node.is_present_asn1_ConsValue(), "ASN.1 CM constraint definition not specified");
    writeAsn1Template(AccessNode(node), AccessNode(node.cm_Id()), node.consId(), node.derivPath(),
                      node.asn1_ConsValue());
}

// ---- Replacements of a modified ASN.1 constraint ----

void XlatorVisitor::VisitReplacementList(const ReplacementList& node) {
    // Written like the elements of a tabular template, without braces.
    writeItemLines(node.size(), [&](int32_t i) { VisitReplacement(node.replacement(i)); });
}

void XlatorVisitor::VisitReplace(const Replace& node) {
    VisitReferenceList(node.referenceList());
    output().write(" := ");
    // Against the constraint's own type a structured value would find the
    // wrong components (and write the wrong omissions).
    pushTypeContext(replacedComponentType(node.referenceList()));
    VisitConstraintValueAndAttributes(node.constraintValueAndAttributes());
    popTypeContext();
}

void XlatorVisitor::VisitOmitReference(const OmitReference& node) {
    VisitReferenceList(node.referenceList());
    output().write(" := omit");
}

AccessNode XlatorVisitor::replacedComponentType(const ReferenceList& references) const {
    AccessNode type = topTypeContext();
    auto component = [&](std::string_view name) {
        type = type.isEmpty() ? AccessNode() : componentType(asn1Structure(type), name);
    };
    // An index picks an element of a SEQUENCE OF / SET OF; a bit of a bit
    // string has no type to write a value against.
    auto element = [&] { type = type.isEmpty() ? AccessNode() : elementType(asn1Structure(type)); };

    ArrayRefOrComp first = references.arrayRefOrComp();
    switch (first.choice()) {
    case Choices::ComponentIdentifier: component(first.componentIdentifier().identifier().text()); break;
    case Choices::ComponentPosition: element(); break;
    default: type = {};
    }
    ComponentReferenceList rest = references.componentReferenceList();
    for (int32_t i = 0; i < rest.size(); ++i) {
        ComponentReference reference = rest.componentReference(i);
        switch (reference.choice()) {
        case Choices::RecordRef: component(reference.recordRef().componentIdentifier().identifier().text()); break;
        case Choices::ArrayRef: element(); break;
        default: type = {};
        }
    }
    return type;
}
