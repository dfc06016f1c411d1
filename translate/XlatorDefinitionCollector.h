// The definition collector: the pre-pass over the whole suite tree that gathers
// what the translation needs from elsewhere in the suite (test steps, defaults,
// local trees, attaches, configurations, PCO message types, ASN.1 type names).
// One instance, gDefinitionCollector, walks the suite root once; afterwards the
// translators only query it.
#pragma once

#include "tree/AccessVisitor.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// The PCOs and CPs that one configuration gives one component.
struct ComponentUse {
    std::set<std::string> pcos;
    std::set<std::string> cps;
};

// One test component configuration: its components in the order of their first
// appearance in the rows, and what each of them uses.
struct ConfigurationInfo {
    std::vector<std::string> components;
    std::map<std::string, ComponentUse> uses;
};

// The dynamic-behaviour table being walked: exactly one of test case, test step
// and default is set.
class RootBehaviour {
public:
    explicit RootBehaviour(const TestCase& testCase) : testCase_(testCase) {}
    explicit RootBehaviour(const TestStep& testStep) : testStep_(testStep) {}
    explicit RootBehaviour(const DefaultCase& defaultCase) : defaultCase_(defaultCase) {}

    const TestCase* getTestCase() const { return testCase_ ? &*testCase_ : nullptr; }
    const TestStep* getTestStep() const { return testStep_ ? &*testStep_ : nullptr; }
    const DefaultCase* getDefaultCase() const { return defaultCase_ ? &*defaultCase_ : nullptr; }
    // The id of the test case, else test step, else default; a missing id
    // ends the run (see getId in XlatorUtility.h).
    std::string tableId() const;

    // -1 while the root tree is written, else the index of the local tree.
    int currentLocalTree = -1;
    // True while an envelope function is written.
    bool inEnvelope = false;

private:
    std::optional<TestCase> testCase_;
    std::optional<TestStep> testStep_;
    std::optional<DefaultCase> defaultCase_;
};

class XlatorDefinitionCollector : public AccessVisitor {
public:
    ~XlatorDefinitionCollector() override;

    // The collecting Visit operations, in the base's slot order. Each records
    // what its node defines and then walks on below the node.
    void VisitASN1_TypeId(const ASN1_TypeId& node) override;
    void VisitTCompDcl(const TCompDcl& cd) override;
    void VisitTCompConfigDcl(const TCompConfigDcl& cd) override;
    void VisitPCO_Dcl(const PCO_Dcl& pd) override;
    void VisitTTCN_ASP_TypeDef(const TTCN_ASP_TypeDef& td) override;
    void VisitASN1_ASP_TypeDef(const ASN1_ASP_TypeDef& td) override;
    void VisitASN1_ASP_TypeDefByRef(const ASN1_ASP_TypeDefByRef& td) override;
    void VisitTTCN_PDU_TypeDef(const TTCN_PDU_TypeDef& td) override;
    void VisitASN1_PDU_TypeDef(const ASN1_PDU_TypeDef& td) override;
    void VisitASN1_PDU_TypeDefByRef(const ASN1_PDU_TypeDefByRef& td) override;
    void VisitTTCN_CM_TypeDef(const TTCN_CM_TypeDef& node) override;
    void VisitASN1_CM_TypeDef(const ASN1_CM_TypeDef& node) override;
    void VisitTestStepAttachment(const TestStepAttachment& node) override;
    void VisitTestCase(const TestCase& node) override;
    void VisitChildren(const Children& node) override;
    void VisitAttach(const Attach& node) override;
    void VisitTestStep(const TestStep& node) override;
    void VisitDefaultCase(const DefaultCase& node) override;
    void VisitTypeReference(const TypeReference& node) override;
    void VisitNamedNumber(const NamedNumber& node) override;
    void VisitNamedType(const NamedType& node) override;
    void VisitSelectionType(const SelectionType& node) override;

    // Queries of the translators.
    bool existsTestStep(const std::string& id) const;
    TestStep getTestStepById(const std::string& id) const;
    bool existsDefault(const std::string& id) const;
    DefaultCase getDefaultById(const std::string& id) const;
    bool existsLocalTree(const Attach& attach) const;
    LocalTree getLocalTree(const Attach& attach) const;
    DefaultsRef getDefaultsRef(const Children& children) const;
    ConfigurationInfo getConfiguration(const std::string& id) const;
    std::string getMTC(const std::string& configurationId) const;
    std::string getCPPartner(const std::string& configurationId, const std::string& componentId,
                             const std::string& cpId) const;
    std::set<std::string> getASPsForPCOType(const std::string& pcoTypeId) const;
    std::set<std::string> getAllPCOMessageTypes() const;
    std::set<std::string> getAllCMs() const;
    // The declared PCOs: PCO id to PCO type id (XlatorCollectorPcos.cpp).
    std::map<std::string, std::string> getPCOs() const;
    bool existsTypeReference(const std::string& name) const;
    bool existsNamedIdentifier(const std::string& name) const;

private:
    // An ASP or PDU type: it travels over the PCOs of the PCO type its
    // definition names, or, when that column is empty, over those of every
    // PCO type that no definition names. The ASN.1 forms also name a type.
    void recordMessageType(const Identifier& name, const PCO_Type& pcoType, bool asn1Type);
    LocalTree findAttachedLocalTree(const Attach& attach) const;
    void walkNestedLines(const Children& node);

    // A level of behaviour lines in the walk below a line: its alternatives
    // and the index of the next line to walk.
    struct OpenLevel {
        Children lines;
        int32_t next;
    };

    std::set<std::string> aspsWithoutPcoType_;
    std::map<std::string, std::set<std::string>> aspsByPcoType_;
    std::map<std::string, std::string> pcos_;
    std::set<std::string> cms_;
    std::set<std::string> mtcs_;
    std::map<std::string, ConfigurationInfo> configurations_;
    std::map<std::string, TestStep> testSteps_;
    std::map<std::string, DefaultCase> defaults_;
    // The attaches and the alternatives, by node: the behaviour translator asks
    // about one line after the other, so a query must not scan the entries of
    // the whole suite. A node recorded again keeps its first entry.
    std::unordered_map<const TreeNode*, LocalTreeList> attaches_;
    std::unordered_map<const TreeNode*, DefaultsRef> childrenDefaults_;
    std::set<std::string> typeReferences_;
    std::set<std::string> namedIdentifiers_;
    // The levels still open in the walk below a line, innermost last; empty
    // outside such a walk (see walkNestedLines).
    std::vector<OpenLevel> openLevels_;
};

// The one collector of the run, filled once and read-only afterwards.
extern XlatorDefinitionCollector gDefinitionCollector;
