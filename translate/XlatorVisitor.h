// The translation visitor: its visit of the suite node writes the TTCN-3 module
// and the ASN.1 module through the output writer. Each part of the suite has
// its own source files; the Visit operations and helpers of a part are declared
// in that part's section below, so the parts grow side by side.
#pragma once

#include "tree/AccessVisitor.h"

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>

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
    //      (XlatorIdentifiers.cpp, XlatorValues.cpp, XlatorAsn1Values.cpp) ----

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

    // ---- Simple and structured types (XlatorTypes.cpp) ----

    // ---- ASN.1 type definitions (XlatorAsn1Types.cpp) ----

    // ---- Operations, parameters, selections, constants, variables (XlatorOperations.cpp) ----

    // ---- Components, configurations, ports, timers, BASE (XlatorComponents.cpp) ----
    // The common component type "BASE" that every component type extends: the
    // suite's PCOs, CPs, test case variables and timers, and one variable per
    // message type that receive statements store into.
    void writeBaseComponentType();
    // A message type as port types and message variables name it: an ASN.1
    // type name starts with a capital letter.
    static std::string messageTypeName(const std::string& typeId);

    // ---- ASP, PDU and CM types, aliases (XlatorMessages.cpp) ----

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
