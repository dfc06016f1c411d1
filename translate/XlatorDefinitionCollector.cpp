#include "translate/XlatorDefinitionCollector.h"

#include "front/Fatal.h"

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
    for (auto i = attaches_.begin(); i != attaches_.end(); ++i) {
        if (i->first.treeNode() != attach.treeNode()) continue;
        for (int32_t j = 0; j < i->second.size(); ++j) {
            XLATOR_ASSERT(i->second.localTree(j).is_present_header(), "LocalTree header not present");
            if (headerName(i->second.localTree(j)) == name) return i->second.localTree(j);
        }
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
    for (const auto& [recorded, defaultsRef] : childrenDefaults_)
        if (recorded.treeNode() == children.treeNode()) return defaultsRef;
    XLATOR_INTERNAL_ERROR("Unable to locate DefaultsRef for the provided Children");
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
