// The frames of the dynamic part: its groups, one testcase per test case, one
// function or altstep per test step, default and local tree, the envelope
// functions that start a test step or local tree on a parallel component, the
// creation of a configuration's components and the compact test groups. The
// bodies inside the frames are written by the behaviour tree generators.
#include "translate/XlatorVisitor.h"

#include "front/Fatal.h"
#include "front/XlatorOptions.h"
#include "front/XlatorOutput.h"
#include "translate/XlatorDefinitionCollector.h"
#include "translate/XlatorUtility.h"
#include "translate/XlatorWithVisitor.h"

#include <set>
#include <string>

namespace {

std::string text(const Identifier& identifier) { return std::string(identifier.text()); }

void endLine() { output().startLine(); }

// A defaults reference that lists at least one default; else the empty view,
// which stands for "no active defaults".
DefaultsRef activeDefaults(const DefaultsRef& defaults) {
    return defaults.defaultRefList().size() >= 1 ? defaults : DefaultsRef();
}

std::set<std::string> parameterNameSet(const FormalParList& list) {
    std::set<std::string> names;
    for (int32_t i = 0; i < list.size(); ++i) {
        FormalParIdList ids = list.formalParAndType(i).formalParIdList();
        for (int32_t j = 0; j < ids.size(); ++j) names.insert(text(ids.identifier(j)));
    }
    return names;
}

int32_t parameterCount(const FormalParList& list) {
    int32_t count = 0;
    for (int32_t i = 0; i < list.size(); ++i) count += list.formalParAndType(i).formalParIdList().size();
    return count;
}

// The group frame of the dynamic part's own groups: an empty line follows.
template <class Node, class WalkDefault>
void writePartGroup(const char* name, const Node& node, WalkDefault walk) {
    output().beginGroup(name);
    walk(node);
    output().closeBlock(true);
    output().newLine();
}

// A group of the suite: its comment lines, the group, its with-block.
template <class Node, class WalkContents>
void writeSuiteGroup(const Node& node, const std::string& id, WalkContents walk) {
    XlatorAttributeList attributes = CollectAttributes(node);
    writeAttributeComments(attributes);
    output().beginGroup(id);
    walk();
    output().closeBlock(true);
    output().startLine();
    writeWithBlock(attributes, tabularFormat);
}

}  // namespace

// ---- Groups ----

void XlatorVisitor::VisitDynamicPart(const DynamicPart& node) {
    writePartGroup("DynamicPart", node, [this](const DynamicPart& n) { AccessVisitor::VisitDynamicPart(n); });
}

void XlatorVisitor::VisitTestCases(const TestCases& node) {
    writePartGroup("TestCases", node, [this](const TestCases& n) { AccessVisitor::VisitTestCases(n); });
}

void XlatorVisitor::VisitTestStepLibrary(const TestStepLibrary& node) {
    writePartGroup("TestStepLibrary", node,
                   [this](const TestStepLibrary& n) { AccessVisitor::VisitTestStepLibrary(n); });
}

void XlatorVisitor::VisitDefaultsLibrary(const DefaultsLibrary& node) {
    writePartGroup("DefaultsLibrary", node,
                   [this](const DefaultsLibrary& n) { AccessVisitor::VisitDefaultsLibrary(n); });
}

void XlatorVisitor::VisitTestGroup(const TestGroup& node) {
    XLATOR_ASSERT(node.is_present_testGroupId(), "Test group Id not present");
    writeSuiteGroup(node, text(node.testGroupId().identifier()),
                    [&] { VisitTestGroupOrTestCaseList(node.testGroupOrTestCaseList()); });
}

void XlatorVisitor::VisitTestStepGroup(const TestStepGroup& node) {
    XLATOR_ASSERT(node.is_present_testStepGroupId(), "TestStep group id not present");
    writeSuiteGroup(node, text(node.testStepGroupId().identifier()),
                    [&] { VisitTestStepGroupOrTestStepList(node.testStepGroupOrTestStepList()); });
}

void XlatorVisitor::VisitDefaultGroup(const DefaultGroup& node) {
    XLATOR_ASSERT(node.is_present_defaultGroupId(), "Default group id not present");
    writeSuiteGroup(node, text(node.defaultGroupId().identifier()),
                    [&] { VisitDefaultGroupOrDefaultList(node.defaultGroupOrDefaultList()); });
}

// ---- Test cases, test steps, defaults ----

void XlatorVisitor::VisitTestCase(const TestCase& node) {
    XLATOR_ASSERT(gpRootBehaviour == NULL, "INTERNAL_ERROR: in VisitTestCase");
    RootBehaviour context(node);
    gpRootBehaviour = &context;
    XLATOR_ASSERT(node.is_present_testCaseId(), "Testcase id not specified");
    XlatorOutput& out = output();
    std::string id = text(node.testCaseId().identifier());
    bool configured = node.is_present_configuration();
    std::string configuration = configured ? text(node.configuration().identifier()) : std::string();
    std::string runsOn = configured ? gDefinitionCollector.getMTC(configuration) + "_CT" : "BASE";

    if (node.behaviourDescription().localTreeList().size() > 0) {
        out.writeComment("Local teststeps for testcase " + id);
        writeLocalTrees(runsOn, node.is_present_defaultsRef() ? node.defaultsRef() : DefaultsRef(), FormalParList());
    }
    XlatorAttributeList attributes = CollectAttributes(node);
    writeAttributeComments(attributes);
    out.writeLine("testcase " + id + "() runs on " + runsOn + (configured ? " system " + runsOn : ""));
    out.openBlock();
    if (configured) writeComponentCreation(configuration);
    generateRootTree(node);
    out.closeBlock(true);
    out.startLine();
    writeWithBlock(attributes, tabularFormat);
    out.newLine();
    XLATOR_ASSERT(gpRootBehaviour != NULL, "INTERNAL_ERROR: in VisitTestCase");
    gpRootBehaviour = NULL;
}

void XlatorVisitor::writeComponentCreation(const std::string& configurationId) {
    XlatorOutput& out = output();
    out.writeComment("Create components and init configuration");
    ConfigurationInfo configuration = gDefinitionCollector.getConfiguration(configurationId);
    std::string mtc = gDefinitionCollector.getMTC(configurationId);
    std::string arguments;
    for (const std::string& component : configuration.components) {
        std::string type = component + "_CT";
        out.writeLine("var " + type + " " + component + " := " +
                      (component == mtc ? std::string("mtc") : type + ".create(\"" + component + "\")"));
        arguments += (arguments.empty() ? "" : ", ") + component;
    }
    out.writeLine("InitConfiguration_" + configurationId + "(" + arguments + ")");
    out.newLine();
}

// The head, body and with-block of a test step or default: both are an altstep
// when their root conforms to an alt block, else a function returning boolean.
void XlatorVisitor::writeStepOrDefault(const AccessNode& node, const std::string& id,
                                       const FormalParList& parameters, bool isAltStep,
                                       const RootTree& rootTree, const DefaultsRef& defaults) {
    XlatorOutput& out = output();
    XlatorAttributeList attributes = CollectAttributes(node);
    writeAttributeComments(attributes);
    out.write((isAltStep ? "altstep " : "function ") + id + "(");
    writeParameters(parameters, true, false, {});
    out.write(std::string(") runs on BASE") + (isAltStep ? "" : " return boolean"));
    endLine();
    out.openBlock();
    generateBody(levelOf(rootTree), isAltStep, defaults);
    out.closeBlock(true);
    out.startLine();
    writeWithBlock(attributes, tabularFormat);
    out.newLine();
}

void XlatorVisitor::VisitTestStep(const TestStep& node) {
    XLATOR_ASSERT(gpRootBehaviour == NULL, "INTERNAL_ERROR: in VisitTestStep");
    RootBehaviour context(node);
    gpRootBehaviour = &context;
    XLATOR_ASSERT(node.is_present_testStepId(), "Teststep id not specified");
    XlatorOutput& out = output();
    writeTestStepEnvelope(node);
    bool isAltStep = conformsToAltBlock(node);
    std::string id = text(node.testStepId().testStepIdAndParList().identifier());
    FormalParList parameters = node.testStepId().testStepIdAndParList().formalParList();
    DefaultsRef defaults = node.is_present_defaultsRef() ? node.defaultsRef() : DefaultsRef();
    if (node.behaviourDescription().localTreeList().size() > 0) {
        out.writeComment("Local teststeps for teststep " + id);
        writeLocalTrees("BASE", defaults, parameters);
    }
    writeStepOrDefault(AccessNode(node), id, parameters, isAltStep, node.behaviourDescription().rootTree(),
                       activeDefaults(defaults));
    XLATOR_ASSERT(gpRootBehaviour != NULL, "INTERNAL_ERROR: in VisitTestStep");
    gpRootBehaviour = NULL;
}

void XlatorVisitor::VisitDefaultCase(const DefaultCase& node) {
    XLATOR_ASSERT(gpRootBehaviour == NULL, "INTERNAL_ERROR: in VisitDefaultCase");
    RootBehaviour context(node);
    gpRootBehaviour = &context;
    XLATOR_ASSERT(node.is_present_defaultId(), "Default id not specified");
    XlatorOutput& out = output();
    bool isAltStep = conformsToAltBlock(node);
    std::string id = text(node.defaultId().defaultIdAndParList().identifier());
    FormalParList parameters = node.defaultId().defaultIdAndParList().formalParList();
    if (node.behaviourDescription().localTreeList().size() > 0) {
        out.writeComment("Local teststeps for default " + id);
        writeLocalTrees("BASE", DefaultsRef(), parameters);
    }
    writeStepOrDefault(AccessNode(node), id, parameters, isAltStep, node.behaviourDescription().rootTree(),
                       DefaultsRef());
    XLATOR_ASSERT(gpRootBehaviour != NULL, "INTERNAL_ERROR: in VisitDefaultCase");
    gpRootBehaviour = NULL;
}

// ---- Local trees ----

void XlatorVisitor::writeLocalTrees(const std::string& runsOn, const DefaultsRef& defaults,
                                    const FormalParList& rootParameters) {
    XlatorOutput& out = output();
    LocalTreeList trees = getLocalTreeList(*gpRootBehaviour);
    for (int32_t j = 0; j < trees.size(); ++j) {
        LocalTree lt = trees.localTree(j);
        XLATOR_ASSERT(lt.is_present_header(), "LocalTree header not present");
        XLATOR_ASSERT(gpRootBehaviour != NULL, "Root behaviour object not found");
        gpRootBehaviour->currentLocalTree = j;
        std::string name = getId() + "_LocalTree_" + text(lt.header().treeHeader().identifier());
        writeLocalTreeEnvelope(lt, name, runsOn, defaults, rootParameters);
        bool isAlt = conformsToAltBlock(lt);
        out.write((isAlt ? "altstep " : "function ") + name + "(");
        writeLocalTreeParameters(lt, rootParameters, true, true);
        out.write(") runs on " + runsOn + (isAlt ? "" : " return boolean"));
        endLine();
        out.openBlock();
        generateBody(levelOf(lt.behaviourLineList()), isAlt, activeDefaults(defaults));
        out.closeBlock(true);
        gpRootBehaviour->currentLocalTree = -1;
    }
}

void XlatorVisitor::writeLocalTreeParameters(const LocalTree& tree, const FormalParList& rootParameters,
                                             bool withTypes, bool templateMarks) {
    FormalParList own = tree.header().treeHeader().formalParList();
    writeParameters(own, withTypes, templateMarks, {});
    if (parameterCount(rootParameters) == 0) return;
    if (parameterCount(own) > 0) output().write(", ");
    writeParameters(rootParameters, withTypes, templateMarks, parameterNameSet(own));
}

// ---- Envelopes ----

void XlatorVisitor::writeTestStepEnvelope(const TestStep& node) {
    XlatorOutput& out = output();
    gpRootBehaviour->inEnvelope = true;
    out.writeComment("Envelop function to be able to start teststep on PTC");
    XLATOR_ASSERT(node.is_present_testStepId(), "Teststep id not present");
    std::string id = text(node.testStepId().testStepIdAndParList().identifier());
    FormalParList parameters = node.testStepId().testStepIdAndParList().formalParList();
    out.write("function " + id + "_PTC(");
    writeParameters(parameters, true, false, {});
    out.write(") runs on BASE");
    endLine();
    out.openBlock();
    writeEnvelopeBody(conformsToAltBlock(node), node.is_present_defaultsRef() ? node.defaultsRef() : DefaultsRef(),
                      [&] {
                          out.write(id + "(");
                          writeParameters(parameters, false, false, {});
                          out.write(")");
                      });
    out.closeBlock(true);
    gpRootBehaviour->inEnvelope = false;
}

// The envelope of a local tree takes the parameters of the local tree's head.
void XlatorVisitor::writeLocalTreeEnvelope(const LocalTree& node, const std::string& name, const std::string& runsOn,
                                           const DefaultsRef& defaults, const FormalParList& rootParameters) {
    XlatorOutput& out = output();
    gpRootBehaviour->inEnvelope = true;
    out.writeComment("Envelop function to be able to start teststep on PTC");
    XLATOR_ASSERT(node.is_present_header(), "Local tree header not present");
    out.write("function " + name + "_PTC(");
    writeLocalTreeParameters(node, rootParameters, true, true);
    out.write(") runs on " + runsOn);
    endLine();
    out.openBlock();
    writeEnvelopeBody(conformsToAltBlock(node), defaults, [&] {
        out.write(name + "(");
        writeLocalTreeParameters(node, rootParameters, false, false);
        out.write(")");
    });
    out.closeBlock(true);
    gpRootBehaviour->inEnvelope = false;
}

void XlatorVisitor::writeEnvelopeBody(bool isAlt, const DefaultsRef& defaults, const std::function<void()>& writeCall) {
    XlatorOutput& out = output();
    bool defaultsOk = defaults.isEmpty() || defaultsConform(defaults);
    if (!isAlt || !defaultsOk) {
        out.writeLine("while(true)");
        out.openBlock();
    }
    out.writeIndent();
    if (isAlt) {
        out.writeLine("alt");
        out.openBlock();
        out.writeIndent();
        out.write("[] ");
    } else {
        out.write("if (");
    }
    writeCall();
    if (!isAlt) out.write(")");
    endLine();
    out.openBlock();
    out.writeFinalLine("stop");
    out.closeBlock(true);
    if (isAlt && !defaultsOk) {
        out.writeLine("[else] {}");
        out.closeBlock(true);
    }
    invokeDefaults(defaults, isAlt);
    out.closeBlock(true);
}

// ---- Compact test groups ----

void XlatorVisitor::VisitCompactTestGroup(const CompactTestGroup& node) {
    XLATOR_ASSERT(node.is_present_testGroupId(), "Compact test group id not present");
    DefaultsRef defaults = node.is_present_defaultsRef() ? node.defaultsRef() : DefaultsRef();
    writeSuiteGroup(node, text(node.testGroupId().identifier()), [&] {
        CompactTestCaseList cases = node.compactTestCaseList();
        for (int32_t i = 0; i < cases.size(); ++i) writeCompactTestCase(cases.compactTestCase(i), defaults);
    });
}

// A compact test case runs its test step as an envelope does; while the call
// is written the test step is the behaviour context, as in its envelope.
void XlatorVisitor::writeCompactTestCase(const CompactTestCase& ctc, const DefaultsRef& defaults) {
    XLATOR_ASSERT(ctc.is_present_testCaseId(), "Compact test case id not present");
    XlatorOutput& out = output();
    XlatorAttributeList attributes = CollectAttributes(ctc);
    writeAttributeComments(attributes);
    out.writeLine("testcase " + text(ctc.testCaseId().identifier()) + "() runs on BASE");
    out.openBlock();
    Attach attach = ctc.testStepAttachment().attach();
    std::string ts_id = text(attach.treeReference().identifier());
    XLATOR_ASSERT(gDefinitionCollector.existsTestStep(ts_id), "Unable to locate test step");
    TestStep testStep = gDefinitionCollector.getTestStepById(ts_id);
    out.openBlock();
    RootBehaviour context(testStep);
    context.inEnvelope = true;
    RootBehaviour* enclosing = gpRootBehaviour;
    gpRootBehaviour = &context;
    writeEnvelopeBody(conformsToAltBlock(testStep), defaults, [&] { writeAttachCall(attach); });
    gpRootBehaviour = enclosing;
    out.closeBlock(true);
    out.closeBlock(true);
    out.startLine();
    writeWithBlock(attributes, tabularFormat);
}

// ---- Kinds whose content the generators write ----

void XlatorVisitor::VisitCompactTestCaseList(const CompactTestCaseList&) {
    XLATOR_INTERNAL_ERROR("in VisitCompactTestCaseList");
}
void XlatorVisitor::VisitCompactTestCase(const CompactTestCase&) { XLATOR_INTERNAL_ERROR("in VisitCompactTestCase"); }
void XlatorVisitor::VisitConfiguration(const Configuration&) { XLATOR_INTERNAL_ERROR("in VisitConfiguration"); }
void XlatorVisitor::VisitDefaultsRef(const DefaultsRef&) { XLATOR_INTERNAL_ERROR("in VisitDefaultsRef"); }
void XlatorVisitor::VisitLocalTreeList(const LocalTreeList&) { XLATOR_INTERNAL_ERROR("in VisitLocalTreeList"); }
void XlatorVisitor::VisitLocalTree(const LocalTree&) { XLATOR_INTERNAL_ERROR("in VisitLocalTree"); }
void XlatorVisitor::VisitBehaviourDescription(const BehaviourDescription&) {
    XLATOR_INTERNAL_ERROR("in VisitBehaviourDescription");
}
void XlatorVisitor::VisitRootTree(const RootTree&) { XLATOR_INTERNAL_ERROR("in VisitRootTree"); }
void XlatorVisitor::VisitBehaviourLineList(const BehaviourLineList&) {
    XLATOR_INTERNAL_ERROR("in VisitBehaviourLineList");
}
void XlatorVisitor::VisitChildren(const Children&) { XLATOR_INTERNAL_ERROR("in VisitChildren"); }
void XlatorVisitor::VisitBehaviourLine(const BehaviourLine&) { XLATOR_INTERNAL_ERROR("in VisitBehaviourLine"); }
void XlatorVisitor::VisitTreeReference(const TreeReference&) { XLATOR_INTERNAL_ERROR("in VisitTreeReference"); }
