#include "translate/XlatorUtility.h"

#include "front/Fatal.h"

RootBehaviour* gpRootBehaviour = nullptr;

LocalTreeList getLocalTreeList(const RootBehaviour& context) {
    if (const TestCase* testCase = context.getTestCase()) return testCase->behaviourDescription().localTreeList();
    if (const TestStep* testStep = context.getTestStep()) return testStep->behaviourDescription().localTreeList();
    if (const DefaultCase* defaultCase = context.getDefaultCase())
        return defaultCase->behaviourDescription().localTreeList();
    XLATOR_INTERNAL_ERROR("in getLocalTreeList");
}

std::string RootBehaviour::tableId() const {
    if (getTestCase()) {
        XLATOR_ASSERT(getTestCase()->is_present_testCaseId(), "Testcase id not present");
        return std::string(getTestCase()->testCaseId().identifier().text());
    }
    if (getTestStep()) {
        XLATOR_ASSERT(getTestStep()->is_present_testStepId(), "Teststep id not present");
        return std::string(getTestStep()->testStepId().testStepIdAndParList().identifier().text());
    }
    if (getDefaultCase()) {
        XLATOR_ASSERT(getDefaultCase()->is_present_defaultId(), "Default id not present");
        return std::string(getDefaultCase()->defaultId().defaultIdAndParList().identifier().text());
    }
    XLATOR_INTERNAL_ERROR("in getId");
}

std::string getId() {
    if (gpRootBehaviour == nullptr) XLATOR_INTERNAL_ERROR("in getId");
    return gpRootBehaviour->tableId();
}

LocalTree findLocalTree(const std::string& name) {
    if (gpRootBehaviour == nullptr) XLATOR_INTERNAL_ERROR("in getLocalTreeList");
    const LocalTreeList lt_list = getLocalTreeList(*gpRootBehaviour);
    for (int32_t i = 0; i < lt_list.size(); ++i) {
        XLATOR_ASSERT(lt_list.localTree(i).is_present_header(), "Local tree header not present");
        if (lt_list.localTree(i).header().treeHeader().identifier().text() == name) return lt_list.localTree(i);
    }
    // Callers only ask for names the collector found among the local trees.
    return LocalTree();
}

const ComponentUse& findComponent(const ConfigurationInfo& info, const std::string& componentId) {
    const auto& configuration = info.uses;
    auto i = configuration.find(componentId);
    XLATOR_ASSERT(i != configuration.end(), "Unable to find specified component in the configuration");
    return i->second;
}
