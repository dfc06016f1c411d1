// CollectAttributes: one row of the collector table per node kind. A row names
// the text fields of the kind (each with its display key), where its encoding
// rule and encoding variation stand, and the rows of the table with the way to
// read a row's name. One walk over that description serves every kind, so the
// order (texts, encode of the rule, variant, then per row its display and
// encode) holds for all of them alike.
#include "translate/XlatorWithVisitor.h"

#include "tree/KindInfo.h"

#include <array>
#include <memory>
#include <string_view>
#include <vector>

namespace {

// The display keys.
constexpr const char* kComments = "comments";
constexpr const char* kDetailed = "detailed comments";
constexpr const char* kPurpose = "purpose";
constexpr const char* kDescription = "description";

// The name that a table row gives as the target of its attributes.
using RowTarget = std::string (*)(const TreeNode* row);

// The macro symbol of an ASP parameter, PDU field or CM parameter targets this.
const char* const kMacroTarget = "MACRO";

template <class Row>
std::string elementTarget(const TreeNode* row) {
    Row elem(row);
    XLATOR_ASSERT(elem.is_present_elemId(), "Element id not present");
    return std::string(elem.elemId().elemIdAndFullId().identifier().text());
}

template <class Row>
std::string aspParameterTarget(const TreeNode* row) {
    Row elem(row);
    XLATOR_ASSERT(elem.is_present_asp_ParId(), "Element id not present");
    ASP_ParIdOrMacro id = elem.asp_ParId().asp_ParIdOrMacro();
    switch (id.choice()) {
    case Choices::MacroSymbol: return kMacroTarget;
    case Choices::ASP_ParIdAndFullId: return std::string(id.asp_ParIdAndFullId().identifier().text());
    default: XLATOR_INTERNAL_ERROR("Unexpected choice in CollectAttributes");
    }
}

template <class Row>
std::string pduFieldTarget(const TreeNode* row) {
    Row elem(row);
    XLATOR_ASSERT(elem.is_present_pdu_FieldId(), "Element id not present");
    PDU_FieldIdOrMacro id = elem.pdu_FieldId().pdu_FieldIdOrMacro();
    switch (id.choice()) {
    case Choices::MacroSymbol: return kMacroTarget;
    case Choices::PDU_FieldIdAndFullId: return std::string(id.pdu_FieldIdAndFullId().identifier().text());
    default: XLATOR_INTERNAL_ERROR("Unexpected choice in CollectAttributes");
    }
}

// A CM parameter that is not a macro symbol is taken as a name.
template <class Row>
std::string cmParameterTarget(const TreeNode* row) {
    Row elem(row);
    XLATOR_ASSERT(elem.is_present_cm_ParId(), "Element id not present");
    CM_ParIdOrMacro id = elem.cm_ParId().cm_ParIdOrMacro();
    if (id.choice() == Choices::MacroSymbol) return kMacroTarget;
    return std::string(id.cm_ParIdAndFullId().identifier().text());
}

// Rows named by one identifier: `Row` has the optional field `field` holding it.
#define XLATOR_ROW_TARGET(name, Row, field)                                 \
    std::string name(const TreeNode* row) {                                 \
        Row elem(row);                                                      \
        XLATOR_ASSERT(elem.is_present_##field(), "Element id not present"); \
        return std::string(elem.field().identifier().text());               \
    }

XLATOR_ROW_TARGET(testSuiteVariableTarget, TS_VarDcl, ts_VarId)
XLATOR_ROW_TARGET(testCaseVariableTarget, TC_VarDcl, tc_VarId)
XLATOR_ROW_TARGET(pcoTarget, PCO_Dcl, pco_Id)
XLATOR_ROW_TARGET(cpTarget, CP_Dcl, cp_Id)
XLATOR_ROW_TARGET(timerTarget, TimerDcl, timerId)
XLATOR_ROW_TARGET(componentUseTarget, TCompConfigInfo, tcompUsed)

#undef XLATOR_ROW_TARGET

// A text field of a kind and the key of its display attribute.
struct TextItem {
    int32_t field;
    const char* key;
};

// What one kind collects. Field kinds are looked up among the fields of the
// node itself (of the suite structure table for the suite).
struct CollectorRow {
    int32_t kind;
    std::vector<TextItem> texts;
    // An encode attribute without target: PDU_EncodingId or EncRuleId (the
    // rule's identifier), or PDU_FieldEncoding (the encoding it calls). 0: none.
    int32_t encodeField = 0;
    // The kind has an encoding variation (EncVariationId): a variant attribute.
    bool variant = false;
    // The list field holding the table's rows (0: no rows), how a row names
    // itself, and whether a row's field encoding becomes an encode attribute.
    int32_t rowList = 0;
    RowTarget rowTarget = nullptr;
    bool rowEncoding = false;
};

using C = Choices;

const std::vector<TextItem> kCommentOnly{{C::Comment, kComments}};
const std::vector<TextItem> kCommentAndDetails{{C::Comment, kComments}, {C::DetailedComment, kDetailed}};
const std::vector<TextItem> kTableDetails{{C::DetailedComment, kDetailed}};

std::vector<CollectorRow> collectorTable() {
    std::vector<CollectorRow> rows{
        {C::ASuite,
         {{C::Comment, kComments},
          {C::DetailedComment, kDetailed},
          {C::SO_StandardsRef, "base standards ref"},
          {C::SO_PICSRef, "pics ref"},
          {C::SO_PIXITRef, "pixit ref"},
          {C::SO_TestMethods, "test methods"}}},
        {C::Imports, kCommentAndDetails},
        {C::EncodingVariationSet, kCommentAndDetails},
        {C::SimpleTypeDef, kCommentOnly, C::PDU_FieldEncoding},
        {C::StructTypeDef, kCommentAndDetails, 0, true, C::ElemDcls, elementTarget<ElemDcl>, true},
        {C::ASN1_TypeDef, kCommentAndDetails, 0, true},
        {C::ASN1_TypeRef, kCommentOnly, 0, true},
        {C::TS_OpDef, kCommentAndDetails},
        {C::TS_ProcDef, kCommentAndDetails},
        {C::TS_ParDcl, {{C::Comment, kComments}, {C::PICS_PIXITref, "pics/pixit ref"}}},
        {C::TCompConfigDcl, kCommentAndDetails, 0, false, C::TCompConfigInfoList, componentUseTarget},
        {C::TTCN_ASP_TypeDef, kCommentAndDetails, 0, false, C::ASP_ParDcls, aspParameterTarget<ASP_ParDcl>},
        {C::TTCN_CM_TypeDef, kCommentAndDetails, 0, false, C::CM_ParDcls, cmParameterTarget<CM_ParDcl>},
        {C::TTCN_PDU_TypeDef, kCommentAndDetails, C::PDU_EncodingId, true, C::PDU_FieldDcls,
         pduFieldTarget<PDU_FieldDcl>, true},
        {C::ASN1_PDU_TypeDef, kCommentAndDetails, C::PDU_EncodingId, true},
        {C::ASN1_PDU_TypeDefByRef, kCommentAndDetails, C::PDU_EncodingId, true},
        {C::ASN1_ASP_TypeDef, kCommentAndDetails},
        {C::ASN1_CM_TypeDef, kCommentAndDetails},
        {C::InvalidFieldEncodingDef, kCommentAndDetails},
        {C::StructTypeConstraint, kCommentAndDetails, 0, true, C::ElemValues, elementTarget<ElemValue>},
        {C::ASN1_TypeConstraint, kCommentAndDetails, 0, true},
        {C::TTCN_ASP_Constraint, kCommentAndDetails, 0, false, C::ASP_ParValues, aspParameterTarget<ASP_ParValue>},
        {C::TTCN_CM_Constraint, kCommentAndDetails, 0, false, C::CM_ParValues, cmParameterTarget<CM_ParValue>},
        {C::TTCN_PDU_Constraint, kCommentAndDetails, C::EncRuleId, true, C::PDU_FieldValues,
         pduFieldTarget<PDU_FieldValue>, true},
        {C::ASN1_PDU_Constraint, kCommentAndDetails, C::EncRuleId, true},
        {C::ASN1_ASP_Constraint, kCommentAndDetails},
        {C::ASN1_CM_Constraint, kCommentAndDetails},
        {C::TestGroup, {{C::Objective, kPurpose}}},
        {C::CompactTestGroup, {{C::Objective, kPurpose}}},
        {C::CompactTestCase, {{C::Comment, kComments}, {C::TestPurpose, kPurpose}, {C::Description, kDescription}}},
        {C::TestCase,
         {{C::Comment, kComments}, {C::DetailedComment, kDetailed}, {C::TestPurpose, kPurpose},
          {C::Description, kDescription}}},
        {C::TestStep,
         {{C::Comment, kComments}, {C::DetailedComment, kDetailed}, {C::Objective, kPurpose},
          {C::Description, kDescription}}},
        {C::DefaultCase,
         {{C::Comment, kComments}, {C::DetailedComment, kDetailed}, {C::Objective, kPurpose},
          {C::Description, kDescription}}},
        // The tables that become members of the common component type, and
        // the test suite variables of the control part.
        {C::TC_VarDcls, {{C::DetailedComment, "test case variable declarations detailed comments"}}, 0, false,
         C::TC_VarDclList, testCaseVariableTarget},
        {C::PCO_Dcls, {{C::DetailedComment, "pco declarations detailed comments"}}, 0, false, C::PCO_DclList,
         pcoTarget},
        {C::CP_Dcls, {{C::DetailedComment, "cp declarations detailed comments"}}, 0, false, C::CP_DclList,
         cpTarget},
        {C::TimerDcls, {{C::DetailedComment, "timer declarations detailed comments"}}, 0, false, C::TimerDclList,
         timerTarget},
        {C::TS_VarDcls, {{C::DetailedComment, "test suite variables detailed comments"}}, 0, false,
         C::TS_VarDclList, testSuiteVariableTarget},
    };
    // Definitions that carry a comment only.
    for (int32_t kind : {C::EncodingDefinition, C::EncodingVariation, C::SelectExprDef, C::TS_ConstDcl,
                         C::TS_ConstRef, C::TS_VarDcl, C::TC_VarDcl, C::TCompDcl, C::PCO_TypeDcl, C::PCO_Dcl,
                         C::CP_Dcl, C::TimerDcl, C::ASN1_ASP_TypeDefByRef})
        rows.push_back({kind, kCommentOnly});
    // Multi-row tables: the table's detailed comment. The test component
    // table is one of them (its group in the declarations part has a
    // with-block); the Declarations node itself has no text field.
    for (int32_t kind : {C::SimpleTypeDefs, C::ASN1_TypeRefs, C::TS_ParDcls, C::SelectExprDefs, C::Declarations,
                         C::TCompDcls, C::TS_ConstDcls, C::TS_ConstRefs, C::PCO_TypeDcls, C::ASN1_ASP_TypeDefsByRef,
                         C::ASN1_PDU_TypeDefsByRef, C::AliasDefs})
        rows.push_back({kind, kTableDetails});
    // Rows of definitions: their comment, written as comment lines above them.
    for (int32_t kind : {C::ElemDcl, C::PDU_FieldDcl, C::ASP_ParDcl, C::CM_ParDcl, C::ElemValue,
                         C::PDU_FieldValue, C::ASP_ParValue, C::CM_ParValue})
        rows.push_back({kind, kCommentOnly});
    return rows;
}

// The collector row of every kind, or null.
const CollectorRow* rowOf(int32_t kind) {
    static const std::vector<CollectorRow> table = collectorTable();
    static const std::array<const CollectorRow*, Choices::last_choice + 1> byKind = [] {
        std::array<const CollectorRow*, Choices::last_choice + 1> index{};
        for (const CollectorRow& row : table) index[static_cast<std::size_t>(row.kind)] = &row;
        return index;
    }();
    if (kind < 0 || kind > Choices::last_choice) return nullptr;
    return byKind[static_cast<std::size_t>(kind)];
}

// The field of `node` whose kind is `fieldKind`, or null when absent.
const TreeNode* fieldOfKind(const TreeNode* node, int32_t fieldKind) {
    if (!node) return nullptr;
    auto fields = kindInfo(node->kind).fields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].kind == fieldKind)
            return static_cast<int32_t>(i) < node->count ? node->child[i] : nullptr;
    return nullptr;
}

// The identifier of an encoding rule field, the text an encoding calls, or
// the encoding variation's name.
std::string encodingText(const TreeNode* field) {
    if (!field) return {};
    switch (field->kind) {
    case C::PDU_EncodingId: return std::string(PDU_EncodingId(field).identifier().text());
    case C::EncRuleId: return std::string(EncRuleId(field).identifier().text());
    case C::PDU_FieldEncoding: return getEncodingDefinition(PDU_FieldEncoding(field));
    case C::EncVariationId: return std::string(EncVariationId(field).encVariationCall().identifier().text());
    default: return {};
    }
}

std::string_view leafTextOf(const TreeNode* leaf) { return leaf ? leaf->text : std::string_view(); }

}  // namespace

XlatorAttributeList CollectAttributes(const AccessNode& node) {
    XlatorAttributeList list;
    const CollectorRow* row = rowOf(node.choice());
    if (!row || node.isEmpty()) return list;
    // The suite's texts stand in the suite structure table of its overview.
    const TreeNode* source = node.treeNode();
    if (row->kind == C::ASuite) source = ASuite(source).suiteOverviewPart().suiteStructure().treeNode();

    for (const TextItem& item : row->texts) {
        std::string_view text = leafTextOf(fieldOfKind(source, item.field));
        if (!text.empty()) list.push_back(std::make_unique<XlatorDisplayAttribute>(item.key, std::string(text)));
    }
    if (row->encodeField) {
        std::string rule = encodingText(fieldOfKind(source, row->encodeField));
        if (!rule.empty()) list.push_back(std::make_unique<XlatorEncodeAttribute>(rule));
    }
    if (row->variant) {
        std::string variation = encodingText(fieldOfKind(source, C::EncVariationId));
        if (!variation.empty()) list.push_back(std::make_unique<XlatorVariantAttribute>(variation));
    }
    if (row->rowList) {
        const TreeNode* rows = fieldOfKind(source, row->rowList);
        for (int32_t i = 0; rows && i < rows->count; ++i) {
            const TreeNode* element = rows->child[i];
            if (!element) continue;
            std::string target = row->rowTarget(element);
            std::string_view comment = leafTextOf(fieldOfKind(element, C::Comment));
            if (!comment.empty())
                list.push_back(std::make_unique<XlatorDisplayAttribute>(target, kComments, std::string(comment)));
            if (!row->rowEncoding) continue;
            const TreeNode* encoding = fieldOfKind(element, C::PDU_FieldEncoding);
            std::string encodingName = encoding ? getEncodingDefinition(PDU_FieldEncoding(encoding)) : "";
            if (!encodingName.empty())
                list.push_back(std::make_unique<XlatorEncodeAttribute>(target, encodingName));
        }
    }
    return list;
}
