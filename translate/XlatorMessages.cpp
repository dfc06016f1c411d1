// ASP, PDU and CM types: the tabular ones become records with optional
// fields like structured types, the ASN.1 ones (direct or by reference) go
// into ExtASN with an import like ASN.1 type definitions. Aliases, which
// TTCN-3 lacks, become comments and rename every later use of the alias.
#include "translate/XlatorVisitor.h"

#include "front/Fatal.h"
#include "front/XlatorOutput.h"

void XlatorVisitor::VisitTTCN_ASP_TypeDef(const TTCN_ASP_TypeDef& node) {
    XLATOR_ASSERT(node.is_present_asp_Id(), "TTCN ASP id not present");
    writeRecordType(AccessNode(node), AccessNode(node.asp_Id()), AccessNode(node.asp_ParDcls()));
}

void XlatorVisitor::VisitASP_ParDcls(const ASP_ParDcls& node) {
    writeItemLines(node.size(), [&](int32_t i) { VisitASP_ParDcl(node.asp_ParDcl(i)); });
}

void XlatorVisitor::VisitASP_ParDcl(const ASP_ParDcl& node) {
    XLATOR_ASSERT(node.is_present_asp_ParId(), "ASP parameter id not present");
    XLATOR_ASSERT(node.is_present_asp_ParType(), "ASP parameter type not present");
    writeRecordField(AccessNode(node), AccessNode(node.asp_ParId()), AccessNode(node.asp_ParType()),
                     node.asp_ParType().typeAndAttributes());
}

void XlatorVisitor::VisitASN1_ASP_TypeDef(const ASN1_ASP_TypeDef& node) {
    XLATOR_ASSERT(node.is_present_asp_Id(), "ASN1 ASP id not present");
    XLATOR_ASSERT(node.is_present_asn1_TypeDefinition(), "ASN1 ASP type definition not present");
    writeAsn1TypeDefinition(AccessNode(node), AccessNode(node.asp_Id()), node.asn1_TypeDefinition());
}

void XlatorVisitor::VisitASN1_ASP_TypeDefByRef(const ASN1_ASP_TypeDefByRef& node) {
    XLATOR_ASSERT(node.is_present_asp_Id(), "ASN1 ASP reference id not present");
    XLATOR_ASSERT(node.is_present_asn1_TypeDefinition(), "ASN1 ASP reference definition not present");
    writeAsn1TypeDefinition(AccessNode(node), AccessNode(node.asp_Id()), node.asn1_TypeDefinition());
}

// The encoding columns reach the output only through the with-attributes.
void XlatorVisitor::VisitTTCN_PDU_TypeDef(const TTCN_PDU_TypeDef& node) {
    XLATOR_ASSERT(node.is_present_pdu_Id(), "PDU id not specified");
    writeRecordType(AccessNode(node), AccessNode(node.pdu_Id()), AccessNode(node.pdu_FieldDcls()));
}

void XlatorVisitor::VisitPDU_FieldDcls(const PDU_FieldDcls& node) {
    writeItemLines(node.size(), [&](int32_t i) { VisitPDU_FieldDcl(node.pdu_FieldDcl(i)); });
}

void XlatorVisitor::VisitPDU_FieldDcl(const PDU_FieldDcl& node) {
    XLATOR_ASSERT(node.is_present_pdu_FieldId(), "PDU field id not specified");
    XLATOR_ASSERT(node.is_present_pdu_FieldType(), "PDU field type not specified");
    writeRecordField(AccessNode(node), AccessNode(node.pdu_FieldId()), AccessNode(node.pdu_FieldType()),
                     node.pdu_FieldType().typeAndAttributes());
}

void XlatorVisitor::VisitASN1_PDU_TypeDef(const ASN1_PDU_TypeDef& node) {
    XLATOR_ASSERT(node.is_present_pdu_Id(), "ASN1 PDU id not present");
    XLATOR_ASSERT(node.is_present_asn1_TypeDefinition(), "ASN1 PDU type definition not present");
    writeAsn1TypeDefinition(AccessNode(node), AccessNode(node.pdu_Id()), node.asn1_TypeDefinition());
}

void XlatorVisitor::VisitASN1_PDU_TypeDefByRef(const ASN1_PDU_TypeDefByRef& node) {
    XLATOR_ASSERT(node.is_present_pdu_Id(), "ASN1 PDU reference id not present");
    XLATOR_ASSERT(node.is_present_asn1_TypeDefinition(), "ASN1 PDU definition not present");
    writeAsn1TypeDefinition(AccessNode(node), AccessNode(node.pdu_Id()), node.asn1_TypeDefinition());
}

void XlatorVisitor::VisitTTCN_CM_TypeDef(const TTCN_CM_TypeDef& node) {
    XLATOR_ASSERT(node.is_present_cm_Id(), "TTCN CM id not present");
    writeRecordType(AccessNode(node), AccessNode(node.cm_Id()), AccessNode(node.cm_ParDcls()));
}

void XlatorVisitor::VisitCM_ParDcls(const CM_ParDcls& node) {
    writeItemLines(node.size(), [&](int32_t i) { VisitCM_ParDcl(node.cm_ParDcl(i)); });
}

void XlatorVisitor::VisitCM_ParDcl(const CM_ParDcl& node) {
    XLATOR_ASSERT(node.is_present_cm_ParId(), "TTCN CM parameter id not present");
    XLATOR_ASSERT(node.is_present_cm_ParType(), "TTCN CM parameter type not present");
    writeRecordField(AccessNode(node), AccessNode(node.cm_ParId()), AccessNode(node.cm_ParType()),
                     node.cm_ParType().typeAndAttributes());
}

void XlatorVisitor::VisitASN1_CM_TypeDef(const ASN1_CM_TypeDef& node) {
    XLATOR_ASSERT(node.is_present_cm_Id(), "ASN1 CM id not present");
    XLATOR_ASSERT(node.is_present_asn1_TypeDefinition(), "ASN1 CM type definition not present");
    writeAsn1TypeDefinition(AccessNode(node), AccessNode(node.cm_Id()), node.asn1_TypeDefinition());
}

// The identifier rule reads the alias map, so every later use of the alias
// is written as its expansion; an alias keeps its first expansion.
void XlatorVisitor::VisitAliasDef(const AliasDef& node) {
    XLATOR_ASSERT(node.is_present_aliasId(), "Alias id not present");
    XLATOR_ASSERT(node.is_present_expandedId(), "Alias expansion not present");
    std::string alias(node.aliasId().identifier().text());
    std::string expansion(node.expandedId().expansion().identifier().text());
    aliases_.emplace(alias, expansion);
    XlatorOutput& out = output();
    // An empty comment cell holds no comment: like the attribute collection,
    // it writes nothing.
    if (node.is_present_comment() && !node.comment().text().empty())
        out.writeComment(std::string(node.comment().text()));
    out.writeComment(alias + " => " + expansion);
    out.newLine();
}

void XlatorVisitor::VisitAliasId(const AliasId&) { XLATOR_INTERNAL_ERROR("in VisitAliasId"); }
void XlatorVisitor::VisitExpandedId(const ExpandedId&) { XLATOR_INTERNAL_ERROR("in VisitExpandedId"); }
void XlatorVisitor::VisitExpansion(const Expansion&) { XLATOR_INTERNAL_ERROR("in VisitExpansion"); }
