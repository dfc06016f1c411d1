// The translation visitor: its visit of the suite node writes the TTCN-3 module
// and the ASN.1 module through the output writer. Each part of the suite has
// its own source files; the Visit operations and helpers of a part are declared
// in that part's section below, so the parts grow side by side.
#pragma once

#include "tree/AccessVisitor.h"

#include <deque>
#include <functional>
#include <map>
#include <string>

class AccessSuite;

#pragma push_macro("INFINITY")
#undef INFINITY

class XlatorVisitor : public AccessVisitor {
public:
    explicit XlatorVisitor(const AccessSuite& suite);
    ~XlatorVisitor() override;

    // ---- Module frame, group layout and imports (XlatorModule.cpp) ----

    // ---- Identifiers, values, expressions, matching symbols
    //      (XlatorIdentifiers.cpp, XlatorValues.cpp, XlatorAsn1Values.cpp) ----

    // ---- Formal parameter lists (XlatorFormalParameters.cpp) ----

    // ---- Simple and structured types (XlatorTypes.cpp) ----
    // Full identifiers and the comment cells are text leaves whose default
    // visit writes nothing: comments reach the output only as attributes.
    void VisitSimpleTypeDef(const SimpleTypeDef& node) override;
    void VisitSingleTypeLength(const SingleTypeLength& node) override;
    void VisitRangeTypeLength(const RangeTypeLength& node) override;
    void VisitIntegerRange(const IntegerRange& node) override;
    void VisitSimpleValueList(const SimpleValueList& node) override;
    void VisitNumber(const Number& node) override;
    void VisitStructTypeDef(const StructTypeDef& node) override;
    void VisitElemDcls(const ElemDcls& node) override;
    void VisitElemDcl(const ElemDcl& node) override;
    void VisitTypeAndLengthAttribute(const TypeAndLengthAttribute& node) override;
    void VisitSingleLength(const SingleLength& node) override;
    void VisitRangeLength(const RangeLength& node) override;

    // A record type of one table (structured type, tabular ASP, PDU or CM
    // type): comment lines, "type record" with the name, the field block and
    // the with-block.
    void writeRecordType(const AccessNode& table, const AccessNode& name, const AccessNode& fields);
    // Items one a line, every line but the last ending in ", " (the fields of
    // a record, the components of an ASN.1 SEQUENCE, SET or CHOICE).
    void writeItemLines(int32_t count, const std::function<void(int32_t)>& writeItem);
    // One optional field of a record: the row's comment lines, then type and
    // name, with a length attribute after the name.
    void writeRecordField(const AccessNode& row, const AccessNode& name, const AccessNode& typeCell,
                          const TypeAndAttributes& type);

    // ---- ASN.1 type definitions (XlatorAsn1Types.cpp, XlatorAsn1Constraints.cpp) ----
    void VisitASN1_TypeDef(const ASN1_TypeDef& node) override;
    void VisitASN1_TypeRef(const ASN1_TypeRef& node) override;
    // Pushes the type on the type context stack (not popped), then writes it.
    void VisitASN1_Type(const ASN1_Type& node) override;
    void VisitTypeAssignment(const TypeAssignment& node) override;
    void VisitBooleanType(const BooleanType& node) override;
    void VisitOctetStringType(const OctetStringType& node) override;
    void VisitRealType(const RealType& node) override;
    void VisitNullType(const NullType& node) override;
    void VisitObjectIdentifierType(const ObjectIdentifierType& node) override;
    void VisitGeneralizedTime(const GeneralizedTime& node) override;
    void VisitUTCTime(const UTCTime& node) override;
    void VisitEXTERNAL(const EXTERNAL& node) override;
    void VisitObjectDescriptor(const ObjectDescriptor& node) override;
    void VisitANY(const ANY& node) override;
    void VisitAnyDefinedBy(const AnyDefinedBy& node) override;
    void VisitIntegerType(const IntegerType& node) override;
    void VisitBitStringType(const BitStringType& node) override;
    void VisitNamedNumberList(const NamedNumberList& node) override;
    void VisitNamedBitList(const NamedBitList& node) override;
    void VisitNamedNumber(const NamedNumber& node) override;
    void VisitEnumeratedType(const EnumeratedType& node) override;
    void VisitEnumeration(const Enumeration& node) override;
    void VisitSequenceType(const SequenceType& node) override;
    void VisitSetType(const SetType& node) override;
    void VisitChoiceType(const ChoiceType& node) override;
    void VisitElementTypeList(const ElementTypeList& node) override;
    void VisitAlternativeTypeList(const AlternativeTypeList& node) override;
    void VisitSequenceOfType(const SequenceOfType& node) override;
    void VisitSetOfType(const SetOfType& node) override;
    void VisitSequenceSubType(const SequenceSubType& node) override;
    void VisitSetSubType(const SetSubType& node) override;
    void VisitComponentsOf(const ComponentsOf& node) override;
    void VisitNamedTypeAndAttributes(const NamedTypeAndAttributes& node) override;
    void VisitNamedTypeAttribute(const NamedTypeAttribute& node) override;
    void VisitDefaultValue(const DefaultValue& node) override;
    void VisitNamedType(const NamedType& node) override;
    void VisitSelectionType(const SelectionType& node) override;
    void VisitTaggedType(const TaggedType& node) override;
    void VisitTag(const Tag& node) override;
    void VisitUNIVERSAL(const UNIVERSAL& node) override;
    void VisitAPPLICATION(const APPLICATION& node) override;
    void VisitPRIVATE_(const PRIVATE_& node) override;
    void VisitAIMPLICIT(const AIMPLICIT& node) override;
    void VisitAEXPLICIT(const AEXPLICIT& node) override;
    // Subtypes and constraints (XlatorAsn1Constraints.cpp).
    void VisitParentSubType(const ParentSubType& node) override;
    void VisitSubTypeSpec(const SubTypeSpec& node) override;
    void VisitContainedSubType(const ContainedSubType& node) override;
    void VisitValueRange(const ValueRange& node) override;
    void VisitLowerEndpoint(const LowerEndpoint& node) override;
    void VisitUpperEndpoint(const UpperEndpoint& node) override;
    void VisitINCLUSIVE(const INCLUSIVE& node) override;
    void VisitMax(const Max& node) override;
    void VisitMin(const Min& node) override;
    void VisitPermittedAlphabet(const PermittedAlphabet& node) override;
    void VisitSizeConstraint(const SizeConstraint& node) override;
    void VisitWithComponent(const WithComponent& node) override;
    void VisitWithComponents(const WithComponents& node) override;
    void VisitFullSpecification(const FullSpecification& node) override;
    void VisitPartialSpecification(const PartialSpecification& node) override;
    void VisitNamedConstraintList(const NamedConstraintList& node) override;
    void VisitNamedConstraint(const NamedConstraint& node) override;
    void VisitConstraint(const Constraint& node) override;
    void VisitPresenceConstraint(const PresenceConstraint& node) override;

    // One ASN.1 type definition (type, ASP, PDU or CM): pushed on the type
    // context stack, written into ExtASN under its name, imported by name
    // into the TTCN-3 module.
    void writeAsn1TypeDefinition(const AccessNode& table, const AccessNode& name,
                                 const ASN1_TypeDefinition& definition);
    // Items written one after another with a separator between them.
    void writeSeparated(int32_t count, const std::function<void(int32_t)>& writeItem, const char* separator);
    // "SEQUENCE", "SET" or "CHOICE" and its components, one a line in a block.
    void writeConstructedType(const char* keyword, int32_t count, const std::function<void(int32_t)>& writeItem);

    // ---- Operations, parameters, selections, constants, variables (XlatorOperations.cpp) ----
    void VisitTS_OpDef(const TS_OpDef& node) override;
    void VisitTS_ProcDef(const TS_ProcDef& node) override;
    void VisitTS_OpIdAndParList(const TS_OpIdAndParList& node) override;
    void VisitTS_ProcIdAndParList(const TS_ProcIdAndParList& node) override;
    void VisitTS_OpDescription(const TS_OpDescription& node) override;
    void VisitTS_ProcDescription(const TS_ProcDescription& node) override;
    void VisitTS_ParDcl(const TS_ParDcl& node) override;
    void VisitSelectExprDef(const SelectExprDef& node) override;
    void VisitSelectExprId(const SelectExprId& node) override;
    void VisitTS_ConstDcl(const TS_ConstDcl& node) override;
    void VisitTS_ConstRef(const TS_ConstRef& node) override;
    void VisitTS_VarDcls(const TS_VarDcls& node) override;
    void VisitTS_VarDcl(const TS_VarDcl& node) override;
    void VisitTC_VarDcls(const TC_VarDcls& node) override;
    void VisitTC_VarDcl(const TC_VarDcl& node) override;

    // "external function", the name and parameters, the result type.
    void writeExternalFunction(const AccessNode& table, const AccessNode& idAndParameters,
                               const AccessNode& result);
    // The head and initial value of a variable; its type is pushed on the type
    // context stack and stays there.
    void writeVariable(const AccessNode& typeCell, const TypeOrPDU& type, const AccessNode& name,
                       const AccessNode& value);

    // ---- Components, configurations, ports, timers, BASE (XlatorComponents.cpp) ----
    void VisitPCO_TypeDcls(const PCO_TypeDcls& node) override;
    void VisitPCO_TypeDcl(const PCO_TypeDcl& node) override;
    void VisitPCO_Dcls(const PCO_Dcls& node) override;
    void VisitPCO_Dcl(const PCO_Dcl& node) override;
    void VisitCP_Dcls(const CP_Dcls& node) override;
    void VisitCP_Dcl(const CP_Dcl& node) override;
    void VisitTimerDcls(const TimerDcls& node) override;
    void VisitTimerDcl(const TimerDcl& node) override;
    void VisitTCompDcl(const TCompDcl& node) override;
    void VisitTCompConfigDcls(const TCompConfigDcls& node) override;
    void VisitTCompConfigDcl(const TCompConfigDcl& node) override;

    // The common component type "BASE" that every component type extends: the
    // suite's PCOs, CPs, test case variables and timers, and one variable per
    // message type that receive statements store into.
    void writeBaseComponentType();
    // A message type as port types and message variables name it: an ASN.1
    // type name starts with a capital letter.
    static std::string messageTypeName(const std::string& typeId);

    // ---- ASP, PDU and CM types, aliases (XlatorMessages.cpp) ----
    void VisitTTCN_ASP_TypeDef(const TTCN_ASP_TypeDef& node) override;
    void VisitASP_ParDcls(const ASP_ParDcls& node) override;
    void VisitASP_ParDcl(const ASP_ParDcl& node) override;
    void VisitASN1_ASP_TypeDef(const ASN1_ASP_TypeDef& node) override;
    void VisitASN1_ASP_TypeDefByRef(const ASN1_ASP_TypeDefByRef& node) override;
    void VisitTTCN_PDU_TypeDef(const TTCN_PDU_TypeDef& node) override;
    void VisitPDU_FieldDcls(const PDU_FieldDcls& node) override;
    void VisitPDU_FieldDcl(const PDU_FieldDcl& node) override;
    void VisitASN1_PDU_TypeDef(const ASN1_PDU_TypeDef& node) override;
    void VisitASN1_PDU_TypeDefByRef(const ASN1_PDU_TypeDefByRef& node) override;
    void VisitTTCN_CM_TypeDef(const TTCN_CM_TypeDef& node) override;
    void VisitCM_ParDcls(const CM_ParDcls& node) override;
    void VisitCM_ParDcl(const CM_ParDcl& node) override;
    void VisitASN1_CM_TypeDef(const ASN1_CM_TypeDef& node) override;
    void VisitAliasDef(const AliasDef& node) override;
    // Never reached: an alias definition reads its cells' texts itself.
    void VisitAliasId(const AliasId& node) override;
    void VisitExpandedId(const ExpandedId& node) override;
    void VisitExpansion(const Expansion& node) override;

    // ---- Constraints to templates (XlatorConstraints.cpp) ----

    // ---- Dynamic part: test cases, steps, defaults, local trees (XlatorDynamicPart.cpp) ----

    // ---- Behaviour trees to statements (XlatorBehaviour.cpp) ----

    // ---- Control part (XlatorControl.cpp) ----

protected:
    // The opened suite, for lookups of definitions by name.
    const AccessSuite& suite_;
    // The types whose values are being written; the value translation reads
    // the top (see the pushes and pops of each part).
    std::deque<AccessNode> typeContext_;
    // Set while an Expression is written; read by the identifier rule.
    bool inExpression_ = false;
    // Alias identifier to expanded identifier, filled by the alias definitions
    // and read by the identifier rule.
    std::map<std::string, std::string> aliases_;
};

#pragma pop_macro("INFINITY")
