#include "suite/mp/TableLayout.h"

#include "tree/KindInfo.h"

#include <array>
#include <vector>

namespace {

using F = FieldLayout;

// Field lists, in schema order. The keyword variants cover the spellings of
// different MP writers where the notation is not settled.
constexpr F kSuiteStructure[] = {
    {"SO_SuiteId", "SuiteId|TTCN_ModuleId|PackageId"}, {"SO_StandardsRef", "StandardsRef"},
    {"SO_PICSRef", "PICSref|PICSRef|PICS_Ref"},       {"SO_PIXITRef", "PIXITref|PIXITRef|PIXIT_Ref"},
    {"SO_TestMethods", "TestMethods"},                {"Comment", "Comment"},
    {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kStructureAndObjective[] = {{"SO_TestGroupRef", "TestGroupRef"},
                                        {"SO_SelExprId", "SelectExprId|SelExprId"},
                                        {"SO_Objective", "Objective"}};
constexpr F kIndexFooter[] = {{"DetailedComment", "Comment|DetailedComment"}};
constexpr F kCaseIndex[] = {{"SO_TestGroupRef", "TestGroupRef"},
                            {"SO_TestCaseId", "TestCaseId"},
                            {"SO_SelExprId", "SelectExprId|SelExprId"},
                            {"SO_Description", "Description"}};
constexpr F kStepIndex[] = {{"SO_TestStepRef", "TestStepRef"},
                            {"SO_TestStepId", "TestStepId"},
                            {"SO_Description", "Description"}};
constexpr F kDefIndex[] = {{"SO_DefaultRef", "DefaultRef"},
                           {"SO_DefaultId", "DefaultId"},
                           {"SO_Description", "Description"}};
constexpr F kImports[] = {{"SourceName", "SourceId|SourceName|SourceIdentifier"},
                          {"SourceRef", "SourceRef"},
                          {"Objective", "Objective|StandardsRef"},
                          {"Comment", "Comment"},
                          {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kImportedObject[] = {{"ObjectName", "ObjectId|ObjectName"},
                                 {"ObjectType", "ObjectType"},
                                 {"SourceName", "SourceInfo|SourceName|SourceId"},
                                 {"Comment", "Comment"},
                                 {"TestGroupRef", "TestGroupRef"},
                                 {"SelExprId", "SelectExprId|SelExprId"},
                                 {"Description", "Description"}};

constexpr F kSimpleTypeDef[] = {{"SimpleTypeId", "SimpleTypeId"},
                                {"SimpleTypeDefinition", "SimpleTypeDefinition|SimpleTypeDef"},
                                {"PDU_FieldEncoding", "PDU_FieldEncoding|FieldEncoding|TypeEncoding"},
                                {"Comment", "Comment"}};
constexpr F kStructTypeDef[] = {{"StructId", "StructId|StructTypeId"},
                                {"EncVariationId", "EncVariationId|EncVariation"},
                                {"Comment", "Comment"},
                                {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kElemDcl[] = {{"ElemId", "ElemId"},
                          {"ElemType", "ElemType"},
                          {"PDU_FieldEncoding", "PDU_FieldEncoding|FieldEncoding|ElemEncoding"},
                          {"Comment", "Comment"}};
constexpr F kASN1_TypeDef[] = {{"ASN1_TypeId", "ASN1_TypeId"},
                               {"EncVariationId", "EncVariationId|EncVariation"},
                               {"Comment", "Comment"},
                               {"ASN1_TypeDefinition", "ASN1_TypeDefinition|ASN1_TypeDef"},
                               {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kASN1_TypeRef[] = {{"ASN1_TypeId", "ASN1_TypeId"},
                               {"ASN1_TypeReference", "ASN1_TypeReference|ASN1_TypeRef|TypeReference"},
                               {"ASN1_ModuleId", "ASN1_ModuleId|ModuleId|ASN1_ModuleIdentifier"},
                               {"EncVariationId", "EncVariationId|EncVariation"},
                               {"Comment", "Comment"},
                               {"ASN1_TypeDefinition", "ASN1_TypeDefinition|ASN1_TypeDef"}};
constexpr F kEncodingDefinition[] = {{"EncodingRuleId", "EncodingRuleId|EncodingRule"},
                                     {"EncodingRef", "EncodingRef|EncodingReference"},
                                     {"EncodingDefault", "EncodingDefault"},
                                     {"Comment", "Comment"}};
constexpr F kEncodingVariationSet[] = {{"EncodingRuleId", "EncodingRuleId|EncodingRule"},
                                       {"Encoding_TypeList", "TypeList|Encoding_TypeList"},
                                       {"Comment", "Comment"},
                                       {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kEncodingVariation[] = {{"EncodingVariationId", "EncodingVariationId|EncVariationId"},
                                    {"VariationRef", "VariationRef|VariationReference"},
                                    {"VariationDefault", "VariationDefault"},
                                    {"Comment", "Comment"}};
constexpr F kInvalidFieldEncodingDef[] = {
    {"InvalidFieldEncodingId", "InvalidFieldEncodingId"},
    {"Encoding_TypeList", "TypeList|Encoding_TypeList"},
    {"Comment", "Comment"},
    {"InvalidFieldEncodingDefinition", "InvalidFieldEncodingDefinition|InvalidFieldEncodingDef"},
    {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kTS_OpDef[] = {{"TS_OpId", "TS_OpId"},
                           {"TS_OpResult", "TS_OpResult"},
                           {"Comment", "Comment"},
                           {"TS_OpDescription", "TS_OpDescription"},
                           {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kTS_ProcDef[] = {{"TS_ProcId", "TS_ProcId"},
                             {"TS_ProcResult", "TS_ProcResult"},
                             {"Comment", "Comment"},
                             {"TS_ProcDescription", "TS_ProcDescription"},
                             {"DetailedComment", "Comment|DetailedComment"}};

constexpr F kTS_ParDcl[] = {{"TS_ParId", "TS_ParId"},
                            {"TS_ParType", "TS_ParType"},
                            {"PICS_PIXITref", "PICS_PIXITref|PICS_PIXITRef|PICSPIXITref"},
                            {"Comment", "Comment"}};
constexpr F kSelectExprDef[] = {{"SelectExprId", "SelectExprId|SelExprId"},
                                {"SelectExpr", "SelectExpr|SelectionExpression"},
                                {"Comment", "Comment"}};
constexpr F kTS_ConstDcl[] = {{"TS_ConstId", "TS_ConstId"},
                              {"TS_ConstType", "TS_ConstType"},
                              {"TS_ConstValue", "TS_ConstValue"},
                              {"Comment", "Comment"}};
constexpr F kTS_ConstRef[] = {{"TS_ConstId", "TS_ConstId"},
                              {"TS_ConstType", "TS_ConstType"},
                              {"ASN1_ValueReference", "ASN1_ValueReference|ASN1_ValueRef|ValueReference"},
                              {"ASN1_ModuleId", "ASN1_ModuleId|ModuleId|ASN1_ModuleIdentifier"},
                              {"Comment", "Comment"},
                              {"TS_ConstValue", "TS_ConstValue"}};
constexpr F kTS_VarDcl[] = {{"TS_VarId", "TS_VarId"},
                            {"TS_VarType", "TS_VarType"},
                            {"TS_VarValue", "TS_VarValue"},
                            {"Comment", "Comment"}};
constexpr F kTC_VarDcl[] = {{"TC_VarId", "TC_VarId"},
                            {"TC_VarType", "TC_VarType"},
                            {"TC_VarValue", "TC_VarValue"},
                            {"Comment", "Comment"}};
constexpr F kPCO_TypeDcl[] = {{"PCO_TypeId", "PCO_TypeId|PCO_Type"}, {"P_Role", "P_Role|PCO_Role"}, {"Comment", "Comment"}};
constexpr F kPCO_Dcl[] = {{"PCO_Id", "PCO_Id"},
                          {"PCO_TypeId", "PCO_TypeId|PCO_Type"},
                          {"P_Role", "P_Role|PCO_Role"},
                          {"Comment", "Comment"}};
constexpr F kCP_Dcl[] = {{"CP_Id", "CP_Id"}, {"Comment", "Comment"}};
constexpr F kTimerDcl[] = {{"TimerId", "TimerId"},
                           {"Duration", "Duration"},
                           {"Unit", "Unit|TimeUnit"},
                           {"Comment", "Comment"}};
constexpr F kTCompDcl[] = {{"TCompId", "TCompId"},
                           {"TC_Role", "TCompRole|TC_Role|TComp_Role"},
                           {"NumOf_PCOs", "NumOfPCOs|NumOf_PCOs|Num_PCOs"},
                           {"NumOf_CPs", "NumOfCPs|NumOf_CPs|Num_CPs"},
                           {"Comment", "Comment"}};
constexpr F kTCompConfigDcl[] = {{"TCompConfigId", "TCompConfigId"},
                                 {"Comment", "Comment"},
                                 {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kTCompConfigInfo[] = {{"TCompUsed", "TCompUsed"},
                                  {"PCOs_Used", "PCOs_Used|PCOsUsed"},
                                  {"CPs_Used", "CPs_Used|CPsUsed"},
                                  {"Comment", "Comment"}};

constexpr F kTTCN_ASP_TypeDef[] = {{"ASP_Id", "ASP_Id"},
                                   {"PCO_Type", "PCO_Type|PCO_TypeId"},
                                   {"Comment", "Comment"},
                                   {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kASP_ParDcl[] = {{"ASP_ParId", "ASP_ParId"}, {"ASP_ParType", "ASP_ParType"}, {"Comment", "Comment"}};
constexpr F kASN1_ASP_TypeDef[] = {{"ASP_Id", "ASP_Id"},
                                   {"PCO_Type", "PCO_Type|PCO_TypeId"},
                                   {"Comment", "Comment"},
                                   {"ASN1_TypeDefinition", "ASN1_TypeDefinition|ASN1_TypeDef"},
                                   {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kASN1_ASP_TypeDefByRef[] = {
    {"ASP_Id", "ASP_Id"},
    {"PCO_Type", "PCO_Type|PCO_TypeId"},
    {"ASN1_TypeReference", "ASN1_TypeReference|ASN1_TypeRef|TypeReference"},
    {"ASN1_ModuleId", "ASN1_ModuleId|ModuleId|ASN1_ModuleIdentifier"},
    {"Comment", "Comment"},
    {"ASN1_TypeDefinition", "ASN1_TypeDefinition|ASN1_TypeDef"}};
constexpr F kByRefFooter[] = {{"DetailedComment", "Comment|DetailedComment"}};
constexpr F kTTCN_PDU_TypeDef[] = {{"PDU_Id", "PDU_Id"},
                                   {"PCO_Type", "PCO_Type|PCO_TypeId"},
                                   {"PDU_EncodingId", "PDU_EncodingId|EncodingRuleId|EncRuleId"},
                                   {"EncVariationId", "EncVariationId|EncVariation"},
                                   {"Comment", "Comment"},
                                   {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kPDU_FieldDcl[] = {{"PDU_FieldId", "PDU_FieldId"},
                               {"PDU_FieldType", "PDU_FieldType"},
                               {"PDU_FieldEncoding", "PDU_FieldEncoding|FieldEncoding"},
                               {"Comment", "Comment"}};
constexpr F kASN1_PDU_TypeDef[] = {{"PDU_Id", "PDU_Id"},
                                   {"PCO_Type", "PCO_Type|PCO_TypeId"},
                                   {"PDU_EncodingId", "PDU_EncodingId|EncodingRuleId|EncRuleId"},
                                   {"EncVariationId", "EncVariationId|EncVariation"},
                                   {"Comment", "Comment"},
                                   {"ASN1_TypeDefinition", "ASN1_TypeDefinition|ASN1_TypeDef"},
                                   {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kASN1_PDU_TypeDefByRef[] = {
    {"PDU_Id", "PDU_Id"},
    {"PCO_Type", "PCO_Type|PCO_TypeId"},
    {"ASN1_TypeReference", "ASN1_TypeReference|ASN1_TypeRef|TypeReference"},
    {"ASN1_ModuleId", "ASN1_ModuleId|ModuleId|ASN1_ModuleIdentifier"},
    {"PDU_EncodingId", "PDU_EncodingId|EncodingRuleId|EncRuleId"},
    {"EncVariationId", "EncVariationId|EncVariation"},
    {"Comment", "Comment"},
    {"ASN1_TypeDefinition", "ASN1_TypeDefinition|ASN1_TypeDef"}};
constexpr F kTTCN_CM_TypeDef[] = {{"CM_Id", "CM_Id"},
                                  {"Comment", "Comment"},
                                  {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kCM_ParDcl[] = {{"CM_ParId", "CM_ParId"}, {"CM_ParType", "CM_ParType"}, {"Comment", "Comment"}};
constexpr F kASN1_CM_TypeDef[] = {{"CM_Id", "CM_Id"},
                                  {"Comment", "Comment"},
                                  {"ASN1_TypeDefinition", "ASN1_TypeDefinition|ASN1_TypeDef"},
                                  {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kAliasDef[] = {{"AliasId", "AliasId"}, {"ExpandedId", "ExpandedId|Expansion"}, {"Comment", "Comment"}};

#define GROUP_ID(prefix) \
    constexpr F k##prefix##Group[] = {{#prefix "GroupId", #prefix "GroupId|GroupId|ConsGroupId"}};
GROUP_ID(StructTypeConstraint)
GROUP_ID(ASN1_TypeConstraint)
GROUP_ID(TTCN_ASP_Constraint)
GROUP_ID(ASN1_ASP_Constraint)
GROUP_ID(TTCN_PDU_Constraint)
GROUP_ID(ASN1_PDU_Constraint)
GROUP_ID(TTCN_CM_Constraint)
GROUP_ID(ASN1_CM_Constraint)
#undef GROUP_ID

constexpr F kStructTypeConstraint[] = {
    {"ConsId", "ConsId"},
    {"StructTypeConstraintGroupRef", "StructTypeConstraintGroupRef|ConsGroupRef|ConstraintGroupRef|GroupRef"},
    {"StructId", "StructId|StructTypeId"},
    {"DerivPath", "DerivPath|DerivationPath"},
    {"EncVariationId", "EncVariationId|EncVariation"},
    {"Comment", "Comment"},
    {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kElemValue[] = {{"ElemId", "ElemId"},
                            {"ConsValue", "ConsValue|ElemValue"},
                            {"PDU_FieldEncoding", "PDU_FieldEncoding|FieldEncoding"},
                            {"Comment", "Comment"}};
constexpr F kASN1_TypeConstraint[] = {
    {"ConsId", "ConsId"},
    {"ASN1_TypeConstraintGroupRef", "ASN1_TypeConstraintGroupRef|ConsGroupRef|ConstraintGroupRef|GroupRef"},
    {"ASN1_TypeId", "ASN1_TypeId"},
    {"DerivPath", "DerivPath|DerivationPath"},
    {"EncVariationId", "EncVariationId|EncVariation"},
    {"Comment", "Comment"},
    {"ASN1_ConsValue", "ASN1_ConsValue|ConsValue"},
    {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kTTCN_ASP_Constraint[] = {
    {"ConsId", "ConsId"},
    {"ASP_ConstraintGroupRef", "ASP_ConstraintGroupRef|TTCN_ASP_ConstraintGroupRef|ConsGroupRef|ConstraintGroupRef|GroupRef"},
    {"ASP_Id", "ASP_Id"},
    {"DerivPath", "DerivPath|DerivationPath"},
    {"Comment", "Comment"},
    {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kASP_ParValue[] = {{"ASP_ParId", "ASP_ParId"}, {"ConsValue", "ConsValue"}, {"Comment", "Comment"}};
constexpr F kASN1_ASP_Constraint[] = {
    {"ConsId", "ConsId"},
    {"ASN1_ASP_ConstraintGroupRef", "ASN1_ASP_ConstraintGroupRef|ConsGroupRef|ConstraintGroupRef|GroupRef"},
    {"ASP_Id", "ASP_Id"},
    {"DerivPath", "DerivPath|DerivationPath"},
    {"Comment", "Comment"},
    {"ASN1_ConsValue", "ASN1_ConsValue|ConsValue"},
    {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kTTCN_PDU_Constraint[] = {
    {"ConsId", "ConsId"},
    {"PDU_ConstraintGroupRef", "PDU_ConstraintGroupRef|TTCN_PDU_ConstraintGroupRef|ConsGroupRef|ConstraintGroupRef|GroupRef"},
    {"PDU_Id", "PDU_Id"},
    {"DerivPath", "DerivPath|DerivationPath"},
    {"EncRuleId", "EncRuleId|EncodingRuleId|PDU_EncodingId"},
    {"EncVariationId", "EncVariationId|EncVariation"},
    {"Comment", "Comment"},
    {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kPDU_FieldValue[] = {{"PDU_FieldId", "PDU_FieldId"},
                                 {"ConsValue", "ConsValue"},
                                 {"PDU_FieldEncoding", "PDU_FieldEncoding|FieldEncoding"},
                                 {"Comment", "Comment"}};
constexpr F kASN1_PDU_Constraint[] = {
    {"ConsId", "ConsId"},
    {"ASN1_PDU_ConstraintGroupRef", "ASN1_PDU_ConstraintGroupRef|ConsGroupRef|ConstraintGroupRef|GroupRef"},
    {"PDU_Id", "PDU_Id"},
    {"DerivPath", "DerivPath|DerivationPath"},
    {"EncRuleId", "EncRuleId|EncodingRuleId|PDU_EncodingId"},
    {"EncVariationId", "EncVariationId|EncVariation"},
    {"Comment", "Comment"},
    {"ASN1_ConsValue", "ASN1_ConsValue|ConsValue"},
    {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kTTCN_CM_Constraint[] = {
    {"ConsId", "ConsId"},
    {"CM_ConstraintGroupRef", "CM_ConstraintGroupRef|TTCN_CM_ConstraintGroupRef|ConsGroupRef|ConstraintGroupRef|GroupRef"},
    {"CM_Id", "CM_Id"},
    {"DerivPath", "DerivPath|DerivationPath"},
    {"Comment", "Comment"},
    {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kCM_ParValue[] = {{"CM_ParId", "CM_ParId"}, {"ConsValue", "ConsValue"}, {"Comment", "Comment"}};
constexpr F kASN1_CM_Constraint[] = {
    {"ConsId", "ConsId"},
    {"ASN1_CM_ConstraintGroupRef", "ASN1_CM_ConstraintGroupRef|ConsGroupRef|ConstraintGroupRef|GroupRef"},
    {"CM_Id", "CM_Id"},
    {"DerivPath", "DerivPath|DerivationPath"},
    {"Comment", "Comment"},
    {"ASN1_ConsValue", "ASN1_ConsValue|ConsValue"},
    {"DetailedComment", "Comment|DetailedComment"}};

constexpr F kTestGroup[] = {{"TestGroupId", "TestGroupId"},
                            {"SelExprId", "SelectExprId|SelExprId"},
                            {"Objective", "Objective"}};
constexpr F kTestCase[] = {{"TestCaseId", "TestCaseId"},
                           {"TestGroupRef", "TestGroupRef"},
                           {"TestPurpose", "TestPurpose"},
                           {"Configuration", "Configuration|TCompConfigId"},
                           {"DefaultsRef", "DefaultsRef|DefaultRefs"},
                           {"Comment", "Comment"},
                           {"SelExprId", "SelectExprId|SelExprId"},
                           {"Description", "Description"},
                           {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kCompactTestGroup[] = {{"TestGroupId", "TestGroupId"},
                                   {"DefaultsRef", "DefaultsRef|DefaultRefs"},
                                   {"SelExprId", "SelectExprId|SelExprId"},
                                   {"Objective", "Objective"}};
constexpr F kCompactTestCase[] = {{"TestCaseId", "TestCaseId"},
                                  {"TestPurpose", "TestPurpose"},
                                  {"TestStepAttachment", "TestStepAttachment|TestStepAttach|Attach"},
                                  {"Comment", "Comment"},
                                  {"SelExprId", "SelectExprId|SelExprId"},
                                  {"Description", "Description"}};
constexpr F kTestStepGroup[] = {{"TestStepGroupId", "TestStepGroupId"}};
constexpr F kTestStep[] = {{"TestStepId", "TestStepId"},
                           {"TestStepRef", "TestStepRef|TestStepGroupRef"},
                           {"Objective", "Objective"},
                           {"DefaultsRef", "DefaultsRef|DefaultRefs"},
                           {"Comment", "Comment"},
                           {"Description", "Description"},
                           {"DetailedComment", "Comment|DetailedComment"}};
constexpr F kDefaultGroup[] = {{"DefaultGroupId", "DefaultGroupId"}};
constexpr F kDefaultCase[] = {{"DefaultId", "DefaultId"},
                              {"DefaultRef", "DefaultRef|DefaultGroupRef"},
                              {"Objective", "Objective"},
                              {"Comment", "Comment"},
                              {"Description", "Description"},
                              {"DetailedComment", "Comment|DetailedComment"}};
// The last cell holds the tree header of a tree-header row.
constexpr F kBehaviourLine[] = {{"LineNumber", "LineNumber|LineNr|Nr"},
                                {"LabelId", "LabelId|Label"},
                                {"Line", "Line"},
                                {"Cref", "Cref|ConsRef"},
                                {"VerdictId", "VerdictId|Verdict"},
                                {"Comment", "Comment"},
                                {"Header", "Header"}};

template <std::size_t N>
constexpr NodeLayout L(SuiteNodeType type, std::string_view keywords, const F (&fields)[N],
                       SuiteNodeType rowType = SuiteNodeType::None, std::string_view rowGroupings = {}) {
    return NodeLayout{type, keywords, fields, static_cast<int>(N), rowType, rowGroupings};
}

using T = SuiteNodeType;

const NodeLayout kLayouts[] = {
    L(T::SuiteStructure, "SuiteStructure|TTCN_ModuleStructure|PackageStructure", kSuiteStructure,
      T::SO_StructureAndObjective, "Structure&Objectives|StructureAndObjectives"),
    L(T::SO_StructureAndObjective, "Structure&Objective|StructureAndObjective", kStructureAndObjective),
    L(T::TestCaseIndex, "TestCaseIndex", kIndexFooter, T::SO_CaseIndex, "CaseIndices|CaseIndexes|CaseIndexList"),
    L(T::SO_CaseIndex, "CaseIndex|TestCaseIndexEntry", kCaseIndex),
    L(T::TestStepIndex, "TestStepIndex", kIndexFooter, T::SO_StepIndex, "StepIndices|StepIndexes|StepIndexList"),
    L(T::SO_StepIndex, "StepIndex|TestStepIndexEntry", kStepIndex),
    L(T::DefaultIndex, "DefaultIndex", kIndexFooter, T::SO_DefIndex, "DefIndices|DefIndexes|DefIndexList"),
    L(T::SO_DefIndex, "DefIndex|DefaultIndexEntry", kDefIndex),
    L(T::Imports, "Imports", kImports, T::ImportedObject, "ImportedObjects"),
    L(T::ImportedObject, "ImportedObject", kImportedObject),

    L(T::SimpleTypeDefs, "SimpleTypeDefs", kIndexFooter, T::SimpleTypeDef),
    L(T::SimpleTypeDef, "SimpleTypeDef", kSimpleTypeDef),
    L(T::StructTypeDef, "StructTypeDef", kStructTypeDef, T::ElemDcl, "ElemDcls"),
    L(T::ElemDcl, "ElemDcl", kElemDcl),
    L(T::ASN1_TypeDef, "ASN1_TypeDef", kASN1_TypeDef),
    L(T::ASN1_TypeRefs, "ASN1_TypeRefs|ASN1_TypeDefsByRef", kByRefFooter, T::ASN1_TypeRef),
    L(T::ASN1_TypeRef, "ASN1_TypeRef|ASN1_TypeDefByRef", kASN1_TypeRef),
    L(T::EncodingDefinitions, "EncodingDefinitions|EncodingDefs", kIndexFooter, T::EncodingDefinition),
    L(T::EncodingDefinition, "EncodingDefinition|EncodingDef", kEncodingDefinition),
    L(T::EncodingVariationSet, "EncodingVariationSet", kEncodingVariationSet, T::EncodingVariation,
      "EncodingVariationList"),
    L(T::EncodingVariation, "EncodingVariation", kEncodingVariation),
    L(T::InvalidFieldEncodingDef, "InvalidFieldEncodingDef", kInvalidFieldEncodingDef),
    L(T::TS_OpDef, "TS_OpDef", kTS_OpDef),
    L(T::TS_ProcDef, "TS_ProcDef", kTS_ProcDef),

    L(T::TS_ParDcls, "TS_ParDcls", kIndexFooter, T::TS_ParDcl),
    L(T::TS_ParDcl, "TS_ParDcl", kTS_ParDcl),
    L(T::SelectExprDefs, "SelectExprDefs", kIndexFooter, T::SelectExprDef),
    L(T::SelectExprDef, "SelectExprDef", kSelectExprDef),
    L(T::TS_ConstDcls, "TS_ConstDcls", kIndexFooter, T::TS_ConstDcl),
    L(T::TS_ConstDcl, "TS_ConstDcl", kTS_ConstDcl),
    L(T::TS_ConstRefs, "TS_ConstRefs", kIndexFooter, T::TS_ConstRef),
    L(T::TS_ConstRef, "TS_ConstRef", kTS_ConstRef),
    L(T::TS_VarDcls, "TS_VarDcls", kIndexFooter, T::TS_VarDcl),
    L(T::TS_VarDcl, "TS_VarDcl", kTS_VarDcl),
    L(T::TC_VarDcls, "TC_VarDcls", kIndexFooter, T::TC_VarDcl),
    L(T::TC_VarDcl, "TC_VarDcl", kTC_VarDcl),
    L(T::PCO_TypeDcls, "PCO_TypeDcls", kIndexFooter, T::PCO_TypeDcl),
    L(T::PCO_TypeDcl, "PCO_TypeDcl", kPCO_TypeDcl),
    L(T::PCO_Dcls, "PCO_Dcls", kIndexFooter, T::PCO_Dcl),
    L(T::PCO_Dcl, "PCO_Dcl", kPCO_Dcl),
    L(T::CP_Dcls, "CP_Dcls", kIndexFooter, T::CP_Dcl),
    L(T::CP_Dcl, "CP_Dcl", kCP_Dcl),
    L(T::TimerDcls, "TimerDcls", kIndexFooter, T::TimerDcl),
    L(T::TimerDcl, "TimerDcl", kTimerDcl),
    L(T::TCompDcls, "TCompDcls", kIndexFooter, T::TCompDcl),
    L(T::TCompDcl, "TCompDcl", kTCompDcl),
    L(T::TCompConfigDcl, "TCompConfigDcl", kTCompConfigDcl, T::TCompConfigInfo, "TCompConfigInfos|TCompConfigInfoList"),
    L(T::TCompConfigInfo, "TCompConfigInfo", kTCompConfigInfo),

    L(T::TTCN_ASP_TypeDef, "TTCN_ASP_TypeDef", kTTCN_ASP_TypeDef, T::ASP_ParDcl, "ASP_ParDcls"),
    L(T::ASP_ParDcl, "ASP_ParDcl", kASP_ParDcl),
    L(T::ASN1_ASP_TypeDef, "ASN1_ASP_TypeDef", kASN1_ASP_TypeDef),
    L(T::ASN1_ASP_TypeDefsByRef, "ASN1_ASP_TypeRefs|ASN1_ASP_TypeDefsByRef", kByRefFooter,
      T::ASN1_ASP_TypeDefByRef),
    L(T::ASN1_ASP_TypeDefByRef, "ASN1_ASP_TypeRef|ASN1_ASP_TypeDefByRef", kASN1_ASP_TypeDefByRef),
    L(T::TTCN_PDU_TypeDef, "TTCN_PDU_TypeDef", kTTCN_PDU_TypeDef, T::PDU_FieldDcl, "PDU_FieldDcls"),
    L(T::PDU_FieldDcl, "PDU_FieldDcl", kPDU_FieldDcl),
    L(T::ASN1_PDU_TypeDef, "ASN1_PDU_TypeDef", kASN1_PDU_TypeDef),
    L(T::ASN1_PDU_TypeDefsByRef, "ASN1_PDU_TypeRefs|ASN1_PDU_TypeDefsByRef", kByRefFooter,
      T::ASN1_PDU_TypeDefByRef),
    L(T::ASN1_PDU_TypeDefByRef, "ASN1_PDU_TypeRef|ASN1_PDU_TypeDefByRef", kASN1_PDU_TypeDefByRef),
    L(T::TTCN_CM_TypeDef, "TTCN_CM_TypeDef", kTTCN_CM_TypeDef, T::CM_ParDcl, "CM_ParDcls"),
    L(T::CM_ParDcl, "CM_ParDcl", kCM_ParDcl),
    L(T::ASN1_CM_TypeDef, "ASN1_CM_TypeDef", kASN1_CM_TypeDef),
    L(T::AliasDefs, "AliasDefs", kIndexFooter, T::AliasDef),
    L(T::AliasDef, "AliasDef", kAliasDef),

    L(T::StructTypeConstraintGroup, "StructTypeConstraintGroup", kStructTypeConstraintGroup),
    L(T::StructTypeConstraint, "StructTypeConstraint", kStructTypeConstraint, T::ElemValue, "ElemValues"),
    L(T::ElemValue, "ElemValue", kElemValue),
    L(T::ASN1_TypeConstraintGroup, "ASN1_TypeConstraintGroup", kASN1_TypeConstraintGroup),
    L(T::ASN1_TypeConstraint, "ASN1_TypeConstraint", kASN1_TypeConstraint),
    L(T::TTCN_ASP_ConstraintGroup, "TTCN_ASP_ConstraintGroup|ASP_ConstraintGroup", kTTCN_ASP_ConstraintGroup),
    L(T::TTCN_ASP_Constraint, "TTCN_ASP_Constraint", kTTCN_ASP_Constraint, T::ASP_ParValue, "ASP_ParValues"),
    L(T::ASP_ParValue, "ASP_ParValue", kASP_ParValue),
    L(T::ASN1_ASP_ConstraintGroup, "ASN1_ASP_ConstraintGroup", kASN1_ASP_ConstraintGroup),
    L(T::ASN1_ASP_Constraint, "ASN1_ASP_Constraint", kASN1_ASP_Constraint),
    L(T::TTCN_PDU_ConstraintGroup, "TTCN_PDU_ConstraintGroup|PDU_ConstraintGroup", kTTCN_PDU_ConstraintGroup),
    L(T::TTCN_PDU_Constraint, "TTCN_PDU_Constraint", kTTCN_PDU_Constraint, T::PDU_FieldValue, "PDU_FieldValues"),
    L(T::PDU_FieldValue, "PDU_FieldValue", kPDU_FieldValue),
    L(T::ASN1_PDU_ConstraintGroup, "ASN1_PDU_ConstraintGroup", kASN1_PDU_ConstraintGroup),
    L(T::ASN1_PDU_Constraint, "ASN1_PDU_Constraint", kASN1_PDU_Constraint),
    L(T::TTCN_CM_ConstraintGroup, "TTCN_CM_ConstraintGroup|CM_ConstraintGroup", kTTCN_CM_ConstraintGroup),
    L(T::TTCN_CM_Constraint, "TTCN_CM_Constraint", kTTCN_CM_Constraint, T::CM_ParValue, "CM_ParValues"),
    L(T::CM_ParValue, "CM_ParValue", kCM_ParValue),
    L(T::ASN1_CM_ConstraintGroup, "ASN1_CM_ConstraintGroup", kASN1_CM_ConstraintGroup),
    L(T::ASN1_CM_Constraint, "ASN1_CM_Constraint", kASN1_CM_Constraint),

    L(T::TestGroup, "TestGroup", kTestGroup),
    L(T::TestCase, "TestCase", kTestCase, T::BehaviourLine, "BehaviourDescription|RootTree|LocalTree|LocalTrees"),
    L(T::CompactTestGroup, "CompactTestGroup|CompactTestCases|CompactTestCaseGroup", kCompactTestGroup,
      T::CompactTestCase, "CompactTestCaseList"),
    L(T::CompactTestCase, "CompactTestCase", kCompactTestCase),
    L(T::TestStepGroup, "TestStepGroup", kTestStepGroup),
    L(T::TestStep, "TestStep", kTestStep, T::BehaviourLine, "BehaviourDescription|RootTree|LocalTree|LocalTrees"),
    L(T::DefaultGroup, "DefaultGroup", kDefaultGroup),
    L(T::DefaultCase, "Default|DefaultCase", kDefaultCase, T::BehaviourLine,
      "BehaviourDescription|RootTree|LocalTree|LocalTrees"),
    L(T::BehaviourLine, "BehaviourLine", kBehaviourLine),
};

const NodeLayout kEmpty{};

struct LayoutIndex {
    std::array<const NodeLayout*, static_cast<int>(SuiteNodeType::Last)> byType{};
    LayoutIndex() {
        for (const auto& layout : kLayouts) byType[static_cast<int>(layout.type)] = &layout;
    }
};

const LayoutIndex& index() {
    static const LayoutIndex instance;
    return instance;
}

}  // namespace

bool keywordListContains(std::string_view list, std::string_view name) {
    while (!list.empty()) {
        std::size_t bar = list.find('|');
        std::string_view item = list.substr(0, bar);
        if (item == name) return true;
        if (bar == std::string_view::npos) break;
        list.remove_prefix(bar + 1);
    }
    return false;
}

namespace {

// Every '|'-separated name of a list.
template <class Each>
void forEachName(std::string_view list, Each&& each) {
    while (!list.empty()) {
        std::size_t bar = list.find('|');
        each(list.substr(0, bar));
        if (bar == std::string_view::npos) break;
        list.remove_prefix(bar + 1);
    }
}

// Names to numbers: open addressing over a power-of-two table with a short
// string hash; the reader asks once per keyword of the file.
class KeywordNumbers {
public:
    int find(std::string_view name) const {
        for (std::size_t at = hash(name) & kMask;; at = (at + 1) & kMask) {
            const Slot& slot = slots_[at];
            if (slot.number < 0) return -1;
            if (slot.name == name) return slot.number;
        }
    }
    // The name's number, a new one for a new name.
    int add(std::string_view name) {
        std::size_t at = hash(name) & kMask;
        for (; slots_[at].number >= 0; at = (at + 1) & kMask)
            if (slots_[at].name == name) return slots_[at].number;
        slots_[at] = {name, count_};
        return count_++;
    }
    std::size_t size() const { return static_cast<std::size_t>(count_); }

private:
    static constexpr std::size_t kSize = 2048;  // several times the names the layouts know
    static constexpr std::size_t kMask = kSize - 1;
    static std::size_t hash(std::string_view name) {
        uint32_t h = 2166136261u;  // FNV-1a
        for (char c : name) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
        return h;
    }
    struct Slot {
        std::string_view name;
        int number = -1;
    };
    std::vector<Slot> slots_ = std::vector<Slot>(kSize);
    int count_ = 0;
};

struct KeywordIndex {
    KeywordNumbers numbers;
    // Per node type, per keyword number.
    std::vector<std::vector<KeywordMeaning>> meanings;
    std::vector<int> detailedComment;
    // Per keyword number: the table type "$Begin_<name>" opens, the group or
    // row type "$<name>" opens (the first layout that has the name).
    std::vector<SuiteNodeType> tableOf;
    std::vector<SuiteNodeType> groupOrRowOf;
    // Per node type, the kind of each cell's field.
    std::vector<std::vector<int32_t>> fieldKinds;

    KeywordIndex() {
        auto number = [&](std::string_view name) { return numbers.add(name); };
        for (const auto& layout : kLayouts) {
            forEachName(layout.keywords, number);
            forEachName(layout.rowGroupings, number);
            for (int i = 0; i < layout.fieldCount; ++i) forEachName(layout.fields[i].keywords, number);
        }
        tableOf.assign(numbers.size(), SuiteNodeType::None);
        groupOrRowOf.assign(numbers.size(), SuiteNodeType::None);
        for (const auto& layout : kLayouts) {
            const NodeRole role = suiteNodeRole(layout.type);
            forEachName(layout.keywords, [&](std::string_view name) {
                const auto at = static_cast<std::size_t>(numbers.find(name));
                if (role == NodeRole::Table && tableOf[at] == SuiteNodeType::None) tableOf[at] = layout.type;
                if ((role == NodeRole::Group || role == NodeRole::Row) && groupOrRowOf[at] == SuiteNodeType::None)
                    groupOrRowOf[at] = layout.type;
            });
        }
        const std::size_t types = static_cast<std::size_t>(SuiteNodeType::Last);
        meanings.assign(types, std::vector<KeywordMeaning>(numbers.size()));
        detailedComment.assign(types, -1);
        fieldKinds.assign(types, {});
        for (const auto& layout : kLayouts) {
            std::vector<KeywordMeaning>& of = meanings[static_cast<std::size_t>(layout.type)];
            for (int i = 0; i < layout.fieldCount; ++i) {
                fieldKinds[static_cast<std::size_t>(layout.type)].push_back(kindNamed(layout.fields[i].field));
                forEachName(layout.fields[i].keywords,
                            [&](std::string_view name) { of[static_cast<std::size_t>(numbers.find(name))].cells |= uint64_t{1} << i; });
                if (layout.fields[i].field == "DetailedComment") detailedComment[static_cast<std::size_t>(layout.type)] = i;
            }
            forEachName(layout.rowGroupings,
                        [&](std::string_view name) { of[static_cast<std::size_t>(numbers.find(name))].groupsRows = true; });
            if (layout.rowType != SuiteNodeType::None)
                forEachName(layoutOf(layout.rowType).keywords,
                            [&](std::string_view name) { of[static_cast<std::size_t>(numbers.find(name))].opensRow = true; });
        }
    }
};

const KeywordIndex& keywordIndex() {
    static const KeywordIndex instance;
    return instance;
}

}  // namespace

int keywordNumber(std::string_view name) { return keywordIndex().numbers.find(name); }

const KeywordMeaning& keywordMeaning(SuiteNodeType type, int number) {
    static const KeywordMeaning kNothing;
    const KeywordIndex& index = keywordIndex();
    const auto at = static_cast<std::size_t>(type);
    if (number < 0 || at >= index.meanings.size()) return kNothing;
    return index.meanings[at][static_cast<std::size_t>(number)];
}

int NodeLayout::detailedCommentIndex() const {
    const KeywordIndex& index = keywordIndex();
    const auto at = static_cast<std::size_t>(type);
    return at < index.detailedComment.size() ? index.detailedComment[at] : -1;
}

int32_t NodeLayout::fieldKind(int index) const {
    const auto& kinds = keywordIndex().fieldKinds;
    const auto at = static_cast<std::size_t>(type);
    if (at >= kinds.size() || index < 0 || static_cast<std::size_t>(index) >= kinds[at].size()) return 0;
    return kinds[at][static_cast<std::size_t>(index)];
}

int NodeLayout::indexOf(std::string_view field) const {
    for (int i = 0; i < fieldCount; ++i)
        if (fields[i].field == field) return i;
    return -1;
}

const NodeLayout& layoutOf(SuiteNodeType type) {
    int at = static_cast<int>(type);
    if (at <= 0 || at >= static_cast<int>(SuiteNodeType::Last)) return kEmpty;
    const NodeLayout* layout = index().byType[at];
    return layout ? *layout : kEmpty;
}

SuiteNodeType tableByKeyword(std::string_view name) { return tableByKeyword(keywordNumber(name)); }

SuiteNodeType groupOrRowByKeyword(std::string_view name) { return groupOrRowByKeyword(keywordNumber(name)); }

SuiteNodeType tableByKeyword(int number) {
    const KeywordIndex& index = keywordIndex();
    return number >= 0 ? index.tableOf[static_cast<std::size_t>(number)] : SuiteNodeType::None;
}

SuiteNodeType groupOrRowByKeyword(int number) {
    const KeywordIndex& index = keywordIndex();
    return number >= 0 ? index.groupOrRowOf[static_cast<std::size_t>(number)] : SuiteNodeType::None;
}

int fieldForKeyword(const NodeLayout& layout, std::string_view keyword, const bool* filled) {
    int firstMatch = -1;
    for (int i = 0; i < layout.fieldCount; ++i) {
        if (!keywordListContains(layout.fields[i].keywords, keyword)) continue;
        if (firstMatch < 0) firstMatch = i;
        if (!filled[i]) return i;
    }
    return filled == nullptr ? firstMatch : -1;
}
