// The translation visitor: its visit of the suite node writes the TTCN-3 module
// and the ASN.1 module through the output writer. Each part of the suite has
// its own source files; the Visit operations and helpers of a part are declared
// in that part's section below, so the parts grow side by side.
#pragma once

#include "tree/AccessVisitor.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class AccessSuite;

#pragma push_macro("INFINITY")
#undef INFINITY

class XlatorVisitor : public AccessVisitor {
public:
    explicit XlatorVisitor(const AccessSuite& suite);
    ~XlatorVisitor() override;

    // ---- Module frame, group layout and imports (XlatorModule.cpp) ----
    // The whole frame of both files: ASN.1 module head, module head, the three
    // parts, the control part, the module's with-block, ASN.1 module end.
    void VisitASuite(const ASuite& node) override;
    void VisitDeclarationsPart(const DeclarationsPart& node) override;
    // The type, operation and procedural definitions; the encoding
    // definitions are read only by the with-attribute collection.
    void VisitDefinitions(const Definitions& node) override;
    // Its own order: constants, constants by reference, PCO types, test
    // components (with the common component type first), configurations.
    void VisitDeclarations(const Declarations& node) override;
    void VisitImportPart(const ImportPart& node) override;
    void VisitImports(const Imports& node) override;
    // Reached only through a fault: each is an internal error.
    void VisitSourceRef(const SourceRef& node) override;
    void VisitImportedObjectList(const ImportedObjectList& node) override;
    void VisitImportedObject(const ImportedObject& node) override;
    void VisitObjectName(const ObjectName& node) override;
    void VisitObjectType(const ObjectType& node) override;
    void VisitEncodingDefs(const EncodingDefs& node) override;
    // One group per table kind, in the order of the fields that hold them.
    // Their contents are the default walk: the translators of the rows only
    // override the row visits. The groups of the PCO types (followed by the CP
    // port type) and of the configurations belong to the components part.
    void VisitTS_TypeDefs(const TS_TypeDefs& node) override;
    void VisitSimpleTypeDefs(const SimpleTypeDefs& node) override;  // opens with the string types
    void VisitStructTypeDefs(const StructTypeDefs& node) override;
    void VisitASN1_TypeDefs(const ASN1_TypeDefs& node) override;
    void VisitASN1_TypeRefs(const ASN1_TypeRefs& node) override;
    void VisitTS_OpDefs(const TS_OpDefs& node) override;
    void VisitTS_ProcDefs(const TS_ProcDefs& node) override;
    void VisitTS_ParDcls(const TS_ParDcls& node) override;
    void VisitSelectExprDefs(const SelectExprDefs& node) override;
    void VisitTS_ConstDcls(const TS_ConstDcls& node) override;
    void VisitTS_ConstRefs(const TS_ConstRefs& node) override;
    void VisitASP_TypeDefs(const ASP_TypeDefs& node) override;
    void VisitTTCN_ASP_TypeDefs(const TTCN_ASP_TypeDefs& node) override;
    void VisitASN1_ASP_TypeDefs(const ASN1_ASP_TypeDefs& node) override;
    void VisitASN1_ASP_TypeDefsByRef(const ASN1_ASP_TypeDefsByRef& node) override;
    void VisitPDU_TypeDefs(const PDU_TypeDefs& node) override;
    void VisitTTCN_PDU_TypeDefs(const TTCN_PDU_TypeDefs& node) override;
    void VisitASN1_PDU_TypeDefs(const ASN1_PDU_TypeDefs& node) override;
    void VisitASN1_PDU_TypeDefsByRef(const ASN1_PDU_TypeDefsByRef& node) override;
    void VisitCM_TypeDefs(const CM_TypeDefs& node) override;
    void VisitTTCN_CM_TypeDefs(const TTCN_CM_TypeDefs& node) override;
    void VisitASN1_CM_TypeDefs(const ASN1_CM_TypeDefs& node) override;
    void VisitAliasDefs(const AliasDefs& node) override;
    // The constraints part and its fixed-name groups (the templates and the
    // suite's own constraint groups are written inside them).
    void VisitConstraintsPart(const ConstraintsPart& node) override;
    void VisitTS_TypeConstraints(const TS_TypeConstraints& node) override;
    void VisitStructTypeConstraints(const StructTypeConstraints& node) override;
    void VisitASN1_TypeConstraints(const ASN1_TypeConstraints& node) override;
    void VisitASP_Constraints(const ASP_Constraints& node) override;
    void VisitTTCN_ASP_Constraints(const TTCN_ASP_Constraints& node) override;
    void VisitASN1_ASP_Constraints(const ASN1_ASP_Constraints& node) override;
    void VisitPDU_Constraints(const PDU_Constraints& node) override;
    void VisitTTCN_PDU_Constraints(const TTCN_PDU_Constraints& node) override;
    void VisitASN1_PDU_Constraints(const ASN1_PDU_Constraints& node) override;
    void VisitCM_Constraints(const CM_Constraints& node) override;
    void VisitTTCN_CM_Constraints(const TTCN_CM_Constraints& node) override;
    void VisitASN1_CM_Constraints(const ASN1_CM_Constraints& node) override;

protected:
    // The form of a table in the output: with `withAttributes`, the node's
    // comment lines (collected by CollectAttributes); "group <name>" and "{";
    // the contents; "}"; then, with `withAttributes`, the node's with-block.
    // An empty table still gives its group line and braces.
    void writeGroupFrame(const AccessNode& node, const std::string& name, bool withAttributes,
                         const std::function<void()>& contents);
    // The TODO mark and the ASN.1 character string types as charstring
    // subtypes, at the head of "SimpleTypeDefinitions".
    void writeStringTypePrologue();

public:

    // ---- Identifiers, values, expressions, matching symbols
    //      (XlatorIdentifiers.cpp, XlatorValues.cpp, XlatorAsn1Values.cpp,
    //       XlatorTypeContext.cpp) ----
    //
    // Every value node is written at the current position with write(), no
    // line end, except the ASN.1 structured values, which open blocks of
    // their own.

    // The identifier rule, for a name given as plain text: the alias map's
    // expansion; first letter upper-cased for an ASN.1 type name, else
    // lower-cased for a named number, named type or selection identifier;
    // "v_" in front of a PCO message type name while an expression is
    // written; in the ASN.1 file "_" becomes "-", in the TTCN-3 file "-"
    // becomes "_" and a TTCN-2 predefined operation becomes the TTCN-3
    // function. Reads the in-expression flag and the current output file.
    std::string identifierText(std::string_view name) const;
    // The TTCN-3 function for a TTCN-2 predefined operation name
    // ("INT_TO_BIT" gives "int2bit"), null for any other name.
    static const char* predefinedFunction(std::string_view name);

    // The type context stack. What may stand on it, and what the value
    // translation makes of it (asn1Structure below):
    //   - an ASN.1 type definition row or table: ASN1_TypeDef, ASN1_TypeRef,
    //     ASN1_ASP_TypeDef(ByRef), ASN1_PDU_TypeDef(ByRef), ASN1_CM_TypeDef;
    //   - a name of a type: Identifier, ASN1_TypeId, TypeReference,
    //     DefinedType, ReferenceType, looked up by name in the suite (and
    //     first among the local types of the ASN.1 definitions on the stack);
    //   - a type cell or type node: TS_ConstType, TS_VarType, TC_VarType,
    //     TS_ParType, TypeOrPDU, TTCN_Type, FormalParType, ASN1_TypeDefinition,
    //     ASN1_Type or any ASN.1 type kind (tags and subtypes are looked through);
    //   - a typed object: TS_ConstDcl, TS_ConstRef, TS_VarDcl, TC_VarDcl,
    //     TS_ParDcl (their declared type);
    //   - a definition with formal parameters, for an ActualParList visited on
    //     its own and for constraint references: TestStep, DefaultCase,
    //     TS_OpDef, TS_ProcDef, LocalTree, a constraint of any kind, an
    //     encoding variation or invalid field encoding;
    //   - an empty node: the type is not known; values below it are written
    //     without component types and without omitted components.
    // Tabular definitions (StructTypeDef, TTCN ASP/PDU/CM) may stand there
    // too; they are no ASN.1 structure, so nothing is read from them.
    void pushTypeContext(const AccessNode& entry);
    void popTypeContext();
    // The top entry; empty when the stack is empty.
    AccessNode topTypeContext() const;

    // The ASN.1 type that an entry stands for, resolved through names,
    // definitions, tags and parent subtypes to one of: SequenceType, SetType,
    // ChoiceType, SequenceOfType, SetOfType, SequenceSubType, SetSubType, or
    // another ASN.1 type kind; a tabular definition is given as it is.
    // Empty when a name finds nothing or the names run in a circle.
    AccessNode asn1Structure(const AccessNode& entry) const;
    // The ASN1_Type of the component (SEQUENCE, SET) or alternative (CHOICE)
    // called `name` in a resolved structure; COMPONENTS OF is followed.
    // Empty when there is none.
    AccessNode componentType(const AccessNode& structure, std::string_view name) const;
    // The element ASN1_Type of a SEQUENCE OF / SET OF structure (plain or
    // with a size constraint); empty for anything else.
    static AccessNode elementType(const AccessNode& structure);
    // The type of each formal parameter of a definition with parameters, one
    // entry per parameter name in order (a group of names repeats its
    // FormalParType); empty for a definition without parameters.
    static std::vector<AccessNode> formalParameterTypes(const AccessNode& definition);
    // The declared type cell of a typed object, else the object itself.
    static AccessNode declaredTypeOf(const AccessNode& object);

    void VisitIdentifier(const Identifier& node) override;
    void VisitOpCall(const OpCall& node) override;
    void VisitActualParList(const ActualParList& node) override;
    void VisitConsRef(const ConsRef& node) override;
    void VisitExpression(const Expression& node) override;
    void VisitParenExpression(const ParenExpression& node) override;
    void VisitDataObjectReference(const DataObjectReference& node) override;
    void VisitRecordRef(const RecordRef& node) override;
    void VisitComponentPosition(const ComponentPosition& node) override;
    void VisitArrayRef(const ArrayRef& node) override;
    void VisitBitRef(const BitRef& node) override;

    void VisitComplement(const Complement& node) override;
    void VisitValueList(const ValueList& node) override;
    void VisitValRange(const ValRange& node) override;
    void VisitSuperSet(const SuperSet& node) override;
    void VisitSubSet(const SubSet& node) override;
    void VisitPermutation(const Permutation& node) override;
    void VisitOmit(const Omit& node) override;
    void VisitANYValue(const ANYValue& node) override;
    void VisitAnyOrOmit(const AnyOrOmit& node) override;
    void VisitValueLength(const ValueLength& node) override;
    void VisitRangeValueLength(const RangeValueLength& node) override;
    void VisitIF_PRESENT(const IF_PRESENT& node) override;

    void VisitBstring(const Bstring& node) override;
    void VisitHstring(const Hstring& node) override;
    void VisitOstring(const Ostring& node) override;
    void VisitCstring(const Cstring& node) override;
    void VisitNumber(const Number& node) override;

    void VisitPASS(const PASS& node) override;
    void VisitPreliminaryPASS(const PreliminaryPASS& node) override;
    void VisitFAIL(const FAIL& node) override;
    void VisitPreliminaryFAIL(const PreliminaryFAIL& node) override;
    void VisitINCONC(const INCONC& node) override;
    void VisitPreliminaryINCONC(const PreliminaryINCONC& node) override;
    void VisitR(const R& node) override;
    void VisitNONE(const NONE& node) override;
    void VisitR_TYPE(const R_TYPE& node) override;
    void VisitOMIT(const OMIT& node) override;
    void VisitATrue(const ATrue& node) override;
    void VisitAFalse(const AFalse& node) override;
    void VisitTIMER(const TIMER& node) override;
    void VisitCP(const CP& node) override;
    void VisitPDU(const PDU& node) override;
    void VisitPlus_INFINITY(const Plus_INFINITY& node) override;
    void VisitINFINITY(const INFINITY& node) override;
    void VisitMinus_INFINITY(const Minus_INFINITY& node) override;
    void VisitMinusINFINITY(const MinusINFINITY& node) override;
    void VisitMacroSymbol(const MacroSymbol& node) override;
    void VisitEqual(const Equal& node) override;
    void VisitNotEqual(const NotEqual& node) override;
    void VisitLess(const Less& node) override;
    void VisitGreater(const Greater& node) override;
    void VisitLessOrEqual(const LessOrEqual& node) override;
    void VisitGreaterOrEqual(const GreaterOrEqual& node) override;
    void VisitPlus(const Plus& node) override;
    void VisitMinus(const Minus& node) override;
    void VisitMult(const Mult& node) override;
    void VisitDiv(const Div& node) override;
    void VisitMod(const Mod& node) override;
    void VisitAnd(const And& node) override;
    void VisitOr(const Or& node) override;
    void VisitNot(const Not& node) override;
    void VisitPicoSeconds(const PicoSeconds& node) override;
    void VisitNanoSeconds(const NanoSeconds& node) override;
    void VisitMicroSeconds(const MicroSeconds& node) override;
    void VisitMilliSeconds(const MilliSeconds& node) override;
    void VisitSeconds(const Seconds& node) override;
    void VisitMinutes(const Minutes& node) override;
    void VisitINTEGER(const INTEGER& node) override;
    void VisitBOOLEAN_TYPE(const BOOLEAN_TYPE& node) override;
    void VisitBITSTRING(const BITSTRING& node) override;
    void VisitHEXSTRING(const HEXSTRING& node) override;
    void VisitOCTETSTRING(const OCTETSTRING& node) override;
    void VisitNumericString(const NumericString& node) override;
    void VisitPrintableString(const PrintableString& node) override;
    void VisitTeletexString(const TeletexString& node) override;
    void VisitVideotexString(const VideotexString& node) override;
    void VisitVisibleString(const VisibleString& node) override;
    void VisitIA5String(const IA5String& node) override;
    void VisitGraphicString(const GraphicString& node) override;
    void VisitGeneralString(const GeneralString& node) override;
    void VisitT61String(const T61String& node) override;
    void VisitISO646String(const ISO646String& node) override;

    void VisitBitStringValue(const BitStringValue& node) override;
    void VisitIdentifierList(const IdentifierList& node) override;
    void VisitSequenceValue(const SequenceValue& node) override;
    void VisitSetValue(const SetValue& node) override;
    void VisitElementValueList(const ElementValueList& node) override;
    void VisitSequenceOfValue(const SequenceOfValue& node) override;
    void VisitSetOfValue(const SetOfValue& node) override;
    void VisitASN1_ValueList(const ASN1_ValueList& node) override;
    void VisitChoiceValue(const ChoiceValue& node) override;
    void VisitSelectionValue(const SelectionValue& node) override;
    void VisitNamedValue(const NamedValue& node) override;
    void VisitAnyValue(const AnyValue& node) override;
    void VisitObjectIdentifierValue(const ObjectIdentifierValue& node) override;
    void VisitObjIdComponentList(const ObjIdComponentList& node) override;
    void VisitNameAndNumberForm(const NameAndNumberForm& node) override;
    void VisitNullValue(const NullValue& node) override;
    void VisitCharacterStringList(const CharacterStringList& node) override;
    void VisitTuple(const Tuple& node) override;
    void VisitNumericRealValue(const NumericRealValue& node) override;
    void VisitBase(const Base& node) override;

private:
    // The values of an actual parameter list separated by ", ", each with
    // the type of the formal parameter at its position pushed (an empty
    // entry where the definition has no such parameter).
    void writeActualParameters(const TreeNode* list, const std::vector<AccessNode>& formalTypes);
    // A SEQUENCE or SET value: its braces around the element list, or, against
    // a SEQUENCE OF / SET OF CHOICE type, around one CHOICE value per pair.
    void writeStructuredValue(const ElementValueList& list);
    // A SEQUENCE OF or SET OF value: its braces around the value list.
    void writeListValue(const ASN1_ValueList& list);
    // The element list of a SEQUENCE or SET value against the top entry.
    void writeElementList(const ElementValueList& list);
    // A CHOICE value: a block with the chosen alternative's named value.
    void writeChoice(const NamedValue& chosen);
    // A type found by its name as seen from `context`: first a local type
    // assignment of an ASN.1 definition on the stack, then the suite's objects.
    AccessNode typeByName(const AccessNode& context, std::string_view name) const;
    AccessNode localTypeOnStack(std::string_view name) const;
    // The ASN1_TypeDefinition that a stack entry stands for, if any.
    const TreeNode* definitionBehind(const AccessNode& entry) const;

    // The PCO message type names of the collector, read once.
    mutable std::optional<std::set<std::string>> pcoMessageTypes_;
    // Stack entry node to the ASN1_TypeDefinition behind it (null: none).
    mutable std::unordered_map<const TreeNode*, const TreeNode*> definitionBehind_;
    // How deeply asn1Structure is nested in itself at the moment.
    mutable int resolutionDepth_ = 0;

public:

    // ---- Formal parameter lists (XlatorFormalParameters.cpp) ----
    // Writes the parameters of `list` in order, separated by ", ", at the
    // current position. With `withTypes` each is its type (the visit of its
    // FormalParType), a blank and its name, and with `templateMarks` a
    // parameter of a data type or of the metatype PDU is preceded by
    // "template "; without types only the names. A parameter whose name (the
    // identifier's text) is in `fromRoot` is written with "_FROM_ROOT" after
    // it: the name under which a local tree receives a parameter of its owner
    // that one of its own parameters hides. Names go through the identifier
    // visit. Used by the operation definitions, templates, test steps,
    // defaults, local trees and envelopes.
    void writeParameters(const FormalParList& list, bool withTypes, bool templateMarks,
                         const std::set<std::string>& fromRoot = {});
    // A formal parameter list met by a visit: with types, without template
    // marks (the form of operations and test steps).
    void VisitFormalParList(const FormalParList& node) override;

    // ---- Simple and structured types (XlatorTypes.cpp) ----
    // Full identifiers and the comment cells are text leaves whose default
    // visit writes nothing: comments reach the output only as attributes.
    void VisitSimpleTypeDef(const SimpleTypeDef& node) override;
    void VisitSingleTypeLength(const SingleTypeLength& node) override;
    void VisitRangeTypeLength(const RangeTypeLength& node) override;
    void VisitIntegerRange(const IntegerRange& node) override;
    void VisitSimpleValueList(const SimpleValueList& node) override;
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
    // "SEQUENCE", "SET" or "CHOICE" and its component list in a block.
    void writeConstructedType(const char* keyword, const AccessNode& components);

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
    void writeVariable(const AccessNode& typeCell, const AccessNode& name, const AccessNode& value);

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
    //
    // Every constraint table becomes one template. The fixed-name groups of
    // the constraints part are the module frame's; the suite's own constraint
    // groups are written here, nested as deep as the suite nests them.

    // A user group: "group" and its name, then its constraints and groups in
    // a block. The group identifier is asserted first.
    void VisitStructTypeConstraintGroup(const StructTypeConstraintGroup& node) override;
    void VisitASN1_TypeConstraintGroup(const ASN1_TypeConstraintGroup& node) override;
    void VisitTTCN_ASP_ConstraintGroup(const TTCN_ASP_ConstraintGroup& node) override;
    void VisitASN1_ASP_ConstraintGroup(const ASN1_ASP_ConstraintGroup& node) override;
    void VisitTTCN_PDU_ConstraintGroup(const TTCN_PDU_ConstraintGroup& node) override;
    void VisitASN1_PDU_ConstraintGroup(const ASN1_PDU_ConstraintGroup& node) override;
    void VisitTTCN_CM_ConstraintGroup(const TTCN_CM_ConstraintGroup& node) override;
    void VisitASN1_CM_ConstraintGroup(const ASN1_CM_ConstraintGroup& node) override;

    // Tabular templates: "template", the type, the name with its parameters,
    // the derivation, " := ", then the elements one a line in a block. Each
    // element's value is written with the type of its row in the template's
    // type definition on the type context stack.
    void VisitStructTypeConstraint(const StructTypeConstraint& node) override;
    void VisitTTCN_ASP_Constraint(const TTCN_ASP_Constraint& node) override;
    void VisitTTCN_PDU_Constraint(const TTCN_PDU_Constraint& node) override;
    void VisitTTCN_CM_Constraint(const TTCN_CM_Constraint& node) override;

    // ASN.1 templates: the same header, then the value (or the replacements
    // of a modified constraint) with the constraint's type on the type
    // context stack.
    void VisitASN1_TypeConstraint(const ASN1_TypeConstraint& node) override;
    void VisitASN1_ASP_Constraint(const ASN1_ASP_Constraint& node) override;
    void VisitASN1_PDU_Constraint(const ASN1_PDU_Constraint& node) override;
    void VisitASN1_CM_Constraint(const ASN1_CM_Constraint& node) override;

    // The template name, and "(" with its parameters (types and template
    // marks) and ")" when it has any.
    void VisitConsIdAndParList(const ConsIdAndParList& node) override;
    // " modifies " and the base constraint: the last name of the path.
    void VisitDerivPath(const DerivPath& node) override;
    void VisitDerivationPath(const DerivationPath& node) override;

    // The element lines of a tabular template, ", " after all but the last.
    void VisitElemValues(const ElemValues& node) override;
    void VisitASP_ParValues(const ASP_ParValues& node) override;
    void VisitPDU_FieldValues(const PDU_FieldValues& node) override;
    void VisitCM_ParValues(const CM_ParValues& node) override;
    // One element: its comment lines, its name, " := " and its value.
    void VisitElemValue(const ElemValue& node) override;
    void VisitASP_ParValue(const ASP_ParValue& node) override;
    void VisitPDU_FieldValue(const PDU_FieldValue& node) override;
    void VisitCM_ParValue(const CM_ParValue& node) override;

    // The replacements of a modified ASN.1 constraint, one a line without
    // braces; a replaced component's value is written against that
    // component's type.
    void VisitReplacementList(const ReplacementList& node) override;
    void VisitReplace(const Replace& node) override;
    void VisitOmitReference(const OmitReference& node) override;

    // Parameter names are written only by the formal parameter list writer;
    // reaching this visit is an internal error.
    void VisitFormalParIdList(const FormalParIdList& node) override;

    // The definition that the type cell of a constraint names, looked up
    // from the constraint; empty when the name finds nothing.
    AccessNode typeDefinition(const AccessNode& constraint, const AccessNode& typeName) const;
    // The type that an ASN.1 constraint's values are written against: its
    // type name looked up from the constraint. For an ASP the ASN.1 type of
    // an ASN.1 ASP definition is taken; an ASP defined otherwise (by
    // reference, or as a tabular ASP) is taken as it is. Empty when the name
    // finds nothing.
    AccessNode asn1ConstraintType(const AccessNode& constraint, const AccessNode& typeName) const;
    // The type of the component that a replacement's reference list names,
    // starting from the type on top of the type context stack: a component
    // name takes that component, an index or array reference the element
    // type of a SEQUENCE OF / SET OF. Empty when a step finds nothing.
    AccessNode replacedComponentType(const ReferenceList& references) const;

private:
    void writeConstraintGroup(const AccessNode& groupId, const AccessNode& contents);
    void writeTabularTemplate(const AccessNode& table, const AccessNode& typeId, const ConsId& consId,
                              const DerivPath& derivation, const AccessNode& elements);
    void writeAsn1Template(const AccessNode& table, const AccessNode& typeId, const ConsId& consId,
                           const DerivPath& derivation, const ASN1_ConsValue& value);
    // "template", the type, a blank, the name and parameters, the derivation
    // when there is one, and " := " ending the line.
    void writeTemplateHeader(const AccessNode& typeId, const ConsId& consId, const DerivPath& derivation);
    void writeTemplateElement(const AccessNode& row, const AccessNode& id, const ConsValue& value);

    // The type definition of the tabular template being written; each
    // element's value is written against the type of its row there.
    AccessNode tabularDefinition_;

public:

    // ---- Dynamic part: test cases, steps, defaults, local trees (XlatorTestCases.cpp) ----
    // Groups of the dynamic part.
    void VisitDynamicPart(const DynamicPart& node) override;
    void VisitTestCases(const TestCases& node) override;
    void VisitTestStepLibrary(const TestStepLibrary& node) override;
    void VisitDefaultsLibrary(const DefaultsLibrary& node) override;
    void VisitTestGroup(const TestGroup& node) override;
    void VisitTestStepGroup(const TestStepGroup& node) override;
    void VisitDefaultGroup(const DefaultGroup& node) override;
    // Test cases, test steps and defaults with their local trees.
    void VisitTestCase(const TestCase& node) override;
    void VisitTestStep(const TestStep& node) override;
    void VisitDefaultCase(const DefaultCase& node) override;
    // Compact test groups: one testcase per compact test case.
    void VisitCompactTestGroup(const CompactTestGroup& node) override;
    // Never reached by the walk: their content is written by the generators
    // of the dynamic part and of the behaviour trees.
    void VisitCompactTestCaseList(const CompactTestCaseList& node) override;
    void VisitCompactTestCase(const CompactTestCase& node) override;
    void VisitConfiguration(const Configuration& node) override;
    void VisitDefaultsRef(const DefaultsRef& node) override;
    void VisitLocalTreeList(const LocalTreeList& node) override;
    void VisitLocalTree(const LocalTree& node) override;
    void VisitBehaviourDescription(const BehaviourDescription& node) override;
    void VisitRootTree(const RootTree& node) override;
    void VisitBehaviourLineList(const BehaviourLineList& node) override;
    void VisitChildren(const Children& node) override;
    void VisitBehaviourLine(const BehaviourLine& node) override;
    void VisitTreeReference(const TreeReference& node) override;

    // The variables of each component of a configuration, their creation and
    // the call of the configuration function.
    void writeComponentCreation(const std::string& configurationId);
    // The head, body and with-block of a test step or default.
    void writeStepOrDefault(const AccessNode& node, const std::string& id, const FormalParList& parameters,
                            bool isAltStep, const RootTree& rootTree, const DefaultsRef& defaults);
    // Every local tree of the current table, each after its envelope.
    void writeLocalTrees(const std::string& runsOn, const DefaultsRef& defaults,
                         const FormalParList& rootParameters);
    // The formal parameters of a local tree's head or envelope: its own, then
    // the owner's (renamed with "_FROM_ROOT" where they clash).
    void writeLocalTreeParameters(const LocalTree& tree, const FormalParList& rootParameters,
                                  bool withTypes, bool templateMarks);
    void writeTestStepEnvelope(const TestStep& node);
    void writeLocalTreeEnvelope(const LocalTree& node, const std::string& name, const std::string& runsOn,
                                const DefaultsRef& defaults, const FormalParList& rootParameters);
    // The body shared by envelopes and compact test cases: the call of the
    // wrapped tree inside an alt or an if, re-tried in a loop when it can fail,
    // then the defaults.
    void writeEnvelopeBody(bool isAlt, const DefaultsRef& defaults, const std::function<void()>& writeCall);
    void writeCompactTestCase(const CompactTestCase& ctc, const DefaultsRef& defaults);

    // ---- Behaviour trees to statements (XlatorBehaviour.cpp) ----
    // Split over XlatorBehaviourPredicates, -Levels, -Lines and -Statements.cpp.
    // The lines of one level: a root tree, the Children of a line, or the
    // lines of a local tree.
    using BehaviourLevel = std::vector<BehaviourLine>;
    static BehaviourLevel levelOf(const RootTree& lines);
    static BehaviourLevel levelOf(const Children& lines);
    static BehaviourLevel levelOf(const BehaviourLineList& lines);

    // Line predicates (XlatorBehaviourPredicates.cpp): pure functions of the
    // tree and the collector, remembered per node.
    static bool isTrivialQualifier(const Qualifier& qualifier);
    static bool isGuarded(const BehaviourLine& line);
    bool isAltLine(const BehaviourLine& bl);
    bool isAlwaysExecutable(const BehaviourLine& bl);
    bool needsSnapshotLoop(const BehaviourLevel& lines);
    bool conformsToAltBlock(const TestCase& node);
    bool conformsToAltBlock(const TestStep& node);
    bool conformsToAltBlock(const DefaultCase& node);
    bool conformsToAltBlock(const LocalTree& node);
    // Every default of the reference conforms to an alt block.
    bool defaultsConform(const DefaultsRef& defaults);
    bool defaultConforms(const std::string& defaultId);
    bool rootConformsToAltBlock();
    bool rememberConformance(const TreeNode* key, const std::function<bool()>& decide);
    bool startsAltGroup(const BehaviourLevel& lines, std::size_t i);
    bool endsAltGroup(const BehaviourLevel& lines, std::size_t i);
    bool startsDefaultsGroup(const DefaultRefList& defaults, int32_t i);
    bool endsDefaultsGroup(const DefaultRefList& defaults, int32_t i);
    // The test step or local tree an Attach names: a test step first.
    struct AttachedTree {
        TestStep testStep;    // set when the name is a test step's
        LocalTree localTree;  // else the local tree of the attach's table
    };
    AttachedTree attachedTree(const Attach& attach);
    bool attachedTreeConforms(const Attach& attach);
    bool attachedTreeNeedsLoop(const Attach& attach);

    // Levels (XlatorBehaviourLevels.cpp).
    void generateRootTree(const TestCase& testCase);
    void generateChildren(const Children& children, const DefaultsRef& active);
    void generateLevel(const BehaviourLevel& lines, bool isAlt, bool childrenLevel, const DefaultsRef& active);
    // The body of a test step, default or local tree: no loop of its own.
    void generateBody(const BehaviourLevel& lines, bool isAlt, const DefaultsRef& active);
    void invokeDefaults(const DefaultsRef& active, bool isAlt);
    // "stop" in a test case's root tree (or an envelope when asked), else
    // "return true", marked when the behaviour is generated as an altstep.
    void writeTerminatingLine(bool stopInEnvelope);

    // One behaviour line (XlatorBehaviourLines.cpp).
    void GenerateBehaviour(const BehaviourLine& node, bool breakAfter, const DefaultsRef& active);
    void writeSendLine(const BehaviourLine& node, const Send& send, const AssignmentList& assignments);
    void writeReceiveLine(const BehaviourLine& node, const Receive& receive, const AssignmentList& assignments);
    // The message type name of a send or receive and its variable "v_...".
    std::string messageTypeName(const Identifier& messageId);
    std::string messageVariable(const Identifier& messageId);

    // Events, statements and constructs (XlatorBehaviourStatements.cpp).
    void VisitEventStatement(const EventStatement& node) override;
    void VisitCreateTComp(const CreateTComp& node) override;
    void VisitCreateAttach(const CreateAttach& node) override;
    void writePco(const Identifier& pco, bool named, const char* ambiguity);
    void writeTimeoutEvent(const Timeout& timeout);
    void writeDoneEvent(const Done& done);
    void writeAssignments(const AssignmentList& assignments);
    void writeTimerOps(const TimerOps& timerOps);
    void writeVerdict(const Verdict& verdict);
    void writeLabel(const Label& label);
    void writeConstruct(const Construct& construct);
    // The call of an attached tree with its actual parameters and the
    // parameters passed through to a local tree.
    void writeAttachCall(const Attach& attach);
    void writeActualParameters(const ActualParList& parameters, const AccessNode& definition);
    void writeDefaultReference(const DefaultReference& reference);
    void writeCreate(const Create& create);

private:
    // Answers of the predicates, by node: the tree never changes during a run.
    std::unordered_map<const TreeNode*, bool> altLines_;
    std::unordered_map<const TreeNode*, bool> conformance_;
    std::unordered_map<const TreeNode*, bool> loops_;  // of attached trees
    // Trees whose conformance is being decided (an attach cycle ends there).
    std::unordered_set<const TreeNode*> deciding_;
    // Nesting of the behaviour being generated and of the attaches being
    // followed, so that deep input ends with a message instead of the stack.
    int behaviourDepth_ = 0;
    int attachDepth_ = 0;

public:

    // ---- Control part (XlatorControl.cpp) ----
    // Called by the module frame after the dynamic part.
    void writeControlPart(const ASuite& suite);
    void GenerateControlPartBody(const TestGroupOrTestCaseList& list);
    // A selection expression reference: the identifier followed by "()".
    void VisitSelExprId(const SelExprId& node) override;

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
