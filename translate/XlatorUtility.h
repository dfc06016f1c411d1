// Small lookups of the behaviour translation about the dynamic-behaviour table
// being translated (the context gpRootBehaviour points to) and about
// configurations. Each either answers or ends the run with an assertion or
// internal-error line.
#pragma once

#include "translate/XlatorDefinitionCollector.h"

#include <string>

// The behaviour context of the translation visitor: set while a test case,
// test step or default is translated, null otherwise.
extern RootBehaviour* gpRootBehaviour;

// The local tree list of the context's test case, else test step, else default.
LocalTreeList getLocalTreeList(const RootBehaviour& context);
// The identifier of the current test case, test step or default.
std::string getId();
// The local tree of the current behaviour whose header names `name`.
LocalTree findLocalTree(const std::string& name);
// What `componentId` uses in `configuration`.
const ComponentUse& findComponent(const ConfigurationInfo& configuration, const std::string& componentId);
