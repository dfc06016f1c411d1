#include "translate/XlatorDefinitionCollector.h"

#include "front/Fatal.h"

#include <cstddef>

XlatorDefinitionCollector gDefinitionCollector;

// The component lookup of the behaviour lookups (XlatorUtility.h). That header
// also declares the translation visitor's behaviour context under the same name
// as this unit's own, so only the one function is declared here.
const ComponentUse& findComponent(const ConfigurationInfo& configuration, const std::string& componentId);

namespace {

std::string textOf(const Identifier& identifier) { return std::string(identifier.text()); }

// The name of the local tree that a header introduces.
std::string headerName(const LocalTree& tree) { return textOf(tree.header().treeHeader().identifier()); }

}  // namespace

// ---- Queries ----

bool XlatorDefinitionCollector::existsTestStep(const std::string& id) const { return testSteps_.count(id) != 0; }

TestStep XlatorDefinitionCollector::getTestStepById(const std::string& id) const {
    auto i = testSteps_.find(id);
    if (i == testSteps_.end()) XLATOR_INTERNAL_ERROR("Teststep with the specified id doesn't exist");
    return i->second;
}

bool XlatorDefinitionCollector::existsDefault(const std::string& id) const { return defaults_.count(id) != 0; }

DefaultCase XlatorDefinitionCollector::getDefaultById(const std::string& id) const {
    auto i = defaults_.find(id);
    if (i == defaults_.end()) XLATOR_INTERNAL_ERROR("Default with the specified id doesn't exist");
    return i->second;
}

// The local tree that `attach` names among the local trees of the table that
// holds it; an empty view when the attach names something else (a test step).
// The attach is matched by node identity: the same name attached in another
// table means another tree.
LocalTree XlatorDefinitionCollector::findAttachedLocalTree(const Attach& attach) const {
    const std::string name = textOf(attach.treeReference().identifier());
    auto i = attaches_.find(attach.treeNode());
    if (i == attaches_.end()) return LocalTree();
    for (int32_t j = 0; j < i->second.size(); ++j) {
        XLATOR_ASSERT(i->second.localTree(j).is_present_header(), "LocalTree header not present");
        if (headerName(i->second.localTree(j)) == name) return i->second.localTree(j);
    }
    return LocalTree();
}

bool XlatorDefinitionCollector::existsLocalTree(const Attach& attach) const {
    return !findAttachedLocalTree(attach).isEmpty();
}

LocalTree XlatorDefinitionCollector::getLocalTree(const Attach& attach) const {
    LocalTree tree = findAttachedLocalTree(attach);
    if (tree.isEmpty()) XLATOR_INTERNAL_ERROR("Failed to locate LocalTreeList for specified Attach");
    return tree;
}

DefaultsRef XlatorDefinitionCollector::getDefaultsRef(const Children& children) const {
    auto i = childrenDefaults_.find(children.treeNode());
    if (i == childrenDefaults_.end()) XLATOR_INTERNAL_ERROR("Unable to locate DefaultsRef for the provided Children");
    return i->second;
}

ConfigurationInfo XlatorDefinitionCollector::getConfiguration(const std::string& id) const {
    const auto& configurations = configurations_;
    auto i = configurations.find(id);
    XLATOR_ASSERT(i != configurations.end(), "Unable to locate configuration with provided id");
    return i->second;
}

std::string XlatorDefinitionCollector::getMTC(const std::string& configurationId) const {
    const auto& configurations = configurations_;
    auto i = configurations.find(configurationId);
    XLATOR_ASSERT(i != configurations.end(), "Unable to locate configuration with provided id");
    for (const std::string& component : i->second.components)
        if (mtcs_.count(component) != 0) return component;
    XLATOR_ASSERT(false, "Unable to locate MTC for provided configuration");
    return {};
}

std::string XlatorDefinitionCollector::getCPPartner(const std::string& configurationId, const std::string& componentId,
                                                    const std::string& cpId) const {
    const auto& configurations = configurations_;
    auto i = configurations.find(configurationId);
    XLATOR_ASSERT(i != configurations.end(), "Unable to locate configuration with provided id");
    findComponent(i->second, componentId);
    for (const std::string& other : i->second.components) {
        if (other == componentId) continue;
        if (findComponent(i->second, other).cps.count(cpId) != 0) return other;
    }
    XLATOR_ASSERT(false, "Unable to locate CP partner for provided configuration");
    return {};
}

std::set<std::string> XlatorDefinitionCollector::getASPsForPCOType(const std::string& pcoTypeId) const {
    auto i = aspsByPcoType_.find(pcoTypeId);
    return i != aspsByPcoType_.end() ? i->second : aspsWithoutPcoType_;
}

std::set<std::string> XlatorDefinitionCollector::getAllPCOMessageTypes() const {
    std::set<std::string> types;
    for (const auto& [pco, pcoType] : pcos_) types.merge(getASPsForPCOType(pcoType));
    types.insert(cms_.begin(), cms_.end());
    return types;
}

std::set<std::string> XlatorDefinitionCollector::getAllCMs() const { return cms_; }

bool XlatorDefinitionCollector::existsTypeReference(const std::string& name) const {
    return typeReferences_.count(name) != 0;
}

bool XlatorDefinitionCollector::existsNamedIdentifier(const std::string& name) const {
    return namedIdentifiers_.count(name) != 0;
}

// ---- The collecting walk ----

namespace {

// The dynamic-behaviour table being walked; null outside such tables. The
// translation visitor keeps its own context.
RootBehaviour* gpRootBehaviour = NULL;

// Whether a message type definition also defines an ASN.1 type name.
constexpr bool kAsn1Type = true;
constexpr bool kTtcnType = false;

// Walks a test case, test step or default with its behaviour context set;
// a table inside a table, or a context lost during the walk, is an internal
// failure.
template <class Table, class Walk>
void walkBehaviourTable(const Table& table, const char* failure, Walk walk) {
    XLATOR_ASSERT(gpRootBehaviour == NULL, failure);
    RootBehaviour context(table);
    gpRootBehaviour = &context;
    // The context never outlives the table, even when a failure inside the
    // walk does not end the process (the translation fuzz harness turns
    // failures into exceptions and goes on with the next input).
    struct ClearContext {
        ~ClearContext() { gpRootBehaviour = NULL; }
    } clearContext;
    walk();
    XLATOR_ASSERT(gpRootBehaviour != NULL, failure);
}

// The local trees of the table being walked, or an empty view when the
// context holds no table.
LocalTreeList currentLocalTrees(const RootBehaviour& context) {
    if (const TestCase* testCase = context.getTestCase()) return testCase->behaviourDescription().localTreeList();
    if (const TestStep* testStep = context.getTestStep()) return testStep->behaviourDescription().localTreeList();
    if (const DefaultCase* defaultCase = context.getDefaultCase())
        return defaultCase->behaviourDescription().localTreeList();
    return LocalTreeList();
}

}  // namespace

XlatorDefinitionCollector::~XlatorDefinitionCollector() = default;

void XlatorDefinitionCollector::VisitASN1_TypeId(const ASN1_TypeId& node) {
    typeReferences_.insert(textOf(node.identifier()));
    AccessVisitor::VisitASN1_TypeId(node);
}

void XlatorDefinitionCollector::VisitTCompDcl(const TCompDcl& cd) {
    XLATOR_ASSERT(cd.is_present_tcompId(), "Component id not specified");
    XLATOR_ASSERT(cd.is_present_tc_Role(), "Component role not specified");
    switch (cd.tc_Role().tcomp_Role().choice()) {
    case Choices::MTC:
        mtcs_.insert(textOf(cd.tcompId().identifier()));
        break;
    case Choices::PTC:
        break;
    default:
        XLATOR_ASSERT(false, "Unknown component role");
    }
    AccessVisitor::VisitTCompDcl(cd);
}

void XlatorDefinitionCollector::VisitTCompConfigDcl(const TCompConfigDcl& cd) {
    XLATOR_ASSERT(cd.is_present_tcompConfigId(), "Configuration id not specified");
    ConfigurationInfo info;
    const TCompConfigInfoList rows = cd.tcompConfigInfoList();
    for (int32_t row = 0; row < rows.size(); ++row) {
        const TCompConfigInfo cnf_info = rows.tcompConfigInfo(row);
        XLATOR_ASSERT(cnf_info.is_present_tcompUsed(), "Component id not specified");
        const std::string component = textOf(cnf_info.tcompUsed().identifier());
        if (info.uses.count(component) == 0) info.components.push_back(component);
        ComponentUse& use = info.uses[component];
        const PCO_List pcos = cnf_info.pcos_Used().pco_List();
        for (int32_t i = 0; i < pcos.size(); ++i) use.pcos.insert(textOf(pcos.identifier(i)));
        const CP_List cps = cnf_info.cps_Used().cp_List();
        for (int32_t i = 0; i < cps.size(); ++i) use.cps.insert(textOf(cps.identifier(i)));
    }
    configurations_.emplace(textOf(cd.tcompConfigId().identifier()), std::move(info));
    AccessVisitor::VisitTCompConfigDcl(cd);
}

void XlatorDefinitionCollector::VisitPCO_Dcl(const PCO_Dcl& pd) {
    XLATOR_ASSERT(pd.is_present_pco_Id(), "PCO id not specified");
    XLATOR_ASSERT(pd.is_present_pco_TypeId(), "PCO type id not specified");
    pcos_.emplace(textOf(pd.pco_Id().identifier()), textOf(pd.pco_TypeId().identifier()));
    AccessVisitor::VisitPCO_Dcl(pd);
}

void XlatorDefinitionCollector::recordMessageType(const Identifier& name, const PCO_Type& pcoType, bool asn1Type) {
    const std::string id = textOf(name);
    const std::string pcoTypeId = textOf(pcoType.identifier());
    if (pcoTypeId.empty())
        aspsWithoutPcoType_.insert(id);
    else
        aspsByPcoType_[pcoTypeId].insert(id);
    if (asn1Type) typeReferences_.insert(id);
}

void XlatorDefinitionCollector::VisitTTCN_ASP_TypeDef(const TTCN_ASP_TypeDef& td) {
    XLATOR_ASSERT(td.is_present_asp_Id(), "ASP id not specified");
    recordMessageType(td.asp_Id().asp_IdAndFullId().identifier(), td.pco_Type(), kTtcnType);
    AccessVisitor::VisitTTCN_ASP_TypeDef(td);
}

void XlatorDefinitionCollector::VisitASN1_ASP_TypeDef(const ASN1_ASP_TypeDef& td) {
    XLATOR_ASSERT(td.is_present_asp_Id(), "ASP id not specified");
    recordMessageType(td.asp_Id().asp_IdAndFullId().identifier(), td.pco_Type(), kAsn1Type);
    AccessVisitor::VisitASN1_ASP_TypeDef(td);
}

void XlatorDefinitionCollector::VisitASN1_ASP_TypeDefByRef(const ASN1_ASP_TypeDefByRef& td) {
    XLATOR_ASSERT(td.is_present_asp_Id(), "ASP id not specified");
    recordMessageType(td.asp_Id().asp_IdAndFullId().identifier(), td.pco_Type(), kAsn1Type);
    AccessVisitor::VisitASN1_ASP_TypeDefByRef(td);
}

void XlatorDefinitionCollector::VisitTTCN_PDU_TypeDef(const TTCN_PDU_TypeDef& td) {
    XLATOR_ASSERT(td.is_present_pdu_Id(), "PDU id not specified");
    recordMessageType(td.pdu_Id().pdu_IdAndFullId().identifier(), td.pco_Type(), kTtcnType);
    AccessVisitor::VisitTTCN_PDU_TypeDef(td);
}

void XlatorDefinitionCollector::VisitASN1_PDU_TypeDef(const ASN1_PDU_TypeDef& td) {
    XLATOR_ASSERT(td.is_present_pdu_Id(), "PDU id not specified");
    recordMessageType(td.pdu_Id().pdu_IdAndFullId().identifier(), td.pco_Type(), kAsn1Type);
    AccessVisitor::VisitASN1_PDU_TypeDef(td);
}

void XlatorDefinitionCollector::VisitASN1_PDU_TypeDefByRef(const ASN1_PDU_TypeDefByRef& td) {
    XLATOR_ASSERT(td.is_present_pdu_Id(), "PDU id not specified");
    recordMessageType(td.pdu_Id().pdu_IdAndFullId().identifier(), td.pco_Type(), kAsn1Type);
    AccessVisitor::VisitASN1_PDU_TypeDefByRef(td);
}

void XlatorDefinitionCollector::VisitTTCN_CM_TypeDef(const TTCN_CM_TypeDef& node) {
    XLATOR_ASSERT(node.is_present_cm_Id(), "CM id not specified");
    cms_.insert(textOf(node.cm_Id().identifier()));
    AccessVisitor::VisitTTCN_CM_TypeDef(node);
}

void XlatorDefinitionCollector::VisitASN1_CM_TypeDef(const ASN1_CM_TypeDef& node) {
    XLATOR_ASSERT(node.is_present_cm_Id(), "CM id not specified");
    const std::string id = textOf(node.cm_Id().identifier());
    cms_.insert(id);
    typeReferences_.insert(id);
    AccessVisitor::VisitASN1_CM_TypeDef(node);
}

// A compact test case attaches its test step outside any behaviour table: the
// attach names no local tree and sits under no defaults, so there is nothing to
// record. Its parts are still walked for the names they hold.
void XlatorDefinitionCollector::VisitTestStepAttachment(const TestStepAttachment& node) {
    AccessVisitor::VisitAttach(node.attach());
}

void XlatorDefinitionCollector::VisitTestCase(const TestCase& node) {
    XLATOR_ASSERT(node.is_present_testCaseId(), "Test case id not specified");
    walkBehaviourTable(node, "INTERNAL_ERROR: in VisitTestCase", [&] { AccessVisitor::VisitTestCase(node); });
}

void XlatorDefinitionCollector::VisitChildren(const Children& node) {
    XLATOR_ASSERT(gpRootBehaviour != NULL, "INTERNAL_ERROR: in VisitChildren");
    // The alternatives of a test case or test step also invoke its defaults;
    // a default's own alternatives invoke none.
    const TestCase* testCase = gpRootBehaviour->getTestCase();
    const TestStep* testStep = gpRootBehaviour->getTestStep();
    if (testCase && testCase->is_present_defaultsRef())
        childrenDefaults_.try_emplace(node.treeNode(), testCase->defaultsRef());
    else if (testStep && testStep->is_present_defaultsRef())
        childrenDefaults_.try_emplace(node.treeNode(), testStep->defaultsRef());
    walkNestedLines(node);
}

// Lines nest through their Children as deep as the indentation of the table
// goes, far deeper than the stack allows when each level costs a few calls.
// So the walk below a line keeps its own stack of open levels: the Children
// of a line met while walking lines is only pushed, and the loop started by
// the outermost Children walks it. The order is that of the default walk: a
// line's own fields, then its alternatives, then the next line of its level.
// While a line is walked its level is still open, so the stack is empty
// exactly when no loop runs.
void XlatorDefinitionCollector::walkNestedLines(const Children& node) {
    const bool loopRunning = !openLevels_.empty();
    openLevels_.push_back({node, 0});
    if (loopRunning) return;
    while (!openLevels_.empty()) {
        OpenLevel& level = openLevels_.back();
        if (level.next >= level.lines.size()) {
            openLevels_.pop_back();
            continue;
        }
        const BehaviourLine line = level.lines.behaviourLine(level.next++);
        VisitBehaviourLine(line);
    }
}

void XlatorDefinitionCollector::VisitAttach(const Attach& node) {
    XLATOR_ASSERT(gpRootBehaviour != NULL, "INTERNAL_ERROR: in VisitAttach");
    const LocalTreeList localTrees = currentLocalTrees(*gpRootBehaviour);
    if (!localTrees.isEmpty()) attaches_.try_emplace(node.treeNode(), localTrees);
    AccessVisitor::VisitAttach(node);
}

void XlatorDefinitionCollector::VisitTestStep(const TestStep& node) {
    XLATOR_ASSERT(node.is_present_testStepId(), "Test step id not specified");
    testSteps_.emplace(textOf(node.testStepId().testStepIdAndParList().identifier()), node);
    walkBehaviourTable(node, "INTERNAL_ERROR: in VisitTestStep", [&] { AccessVisitor::VisitTestStep(node); });
}

void XlatorDefinitionCollector::VisitDefaultCase(const DefaultCase& node) {
    XLATOR_ASSERT(node.is_present_defaultId(), "Default id not specified");
    defaults_.emplace(textOf(node.defaultId().defaultIdAndParList().identifier()), node);
    walkBehaviourTable(node, "INTERNAL_ERROR: in VisitDefaultCase", [&] { AccessVisitor::VisitDefaultCase(node); });
}

void XlatorDefinitionCollector::VisitTypeReference(const TypeReference& node) {
    typeReferences_.insert(textOf(node.identifier()));
    AccessVisitor::VisitTypeReference(node);
}

void XlatorDefinitionCollector::VisitNamedNumber(const NamedNumber& node) {
    namedIdentifiers_.insert(textOf(node.identifier()));
    AccessVisitor::VisitNamedNumber(node);
}

void XlatorDefinitionCollector::VisitNamedType(const NamedType& node) {
    namedIdentifiers_.insert(textOf(node.identifier()));
    AccessVisitor::VisitNamedType(node);
}

void XlatorDefinitionCollector::VisitSelectionType(const SelectionType& node) {
    namedIdentifiers_.insert(textOf(node.identifier()));
    AccessVisitor::VisitSelectionType(node);
}
