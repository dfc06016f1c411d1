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

    // ---- Identifiers, values, expressions, matching symbols
    //      (XlatorIdentifiers.cpp, XlatorValues.cpp, XlatorAsn1Values.cpp) ----

    // ---- Formal parameter lists (XlatorFormalParameters.cpp) ----

    // ---- Simple and structured types (XlatorTypes.cpp) ----

    // ---- ASN.1 type definitions (XlatorAsn1Types.cpp) ----

    // ---- Operations, parameters, selections, constants, variables (XlatorOperations.cpp) ----

    // ---- Components, configurations, ports, timers, BASE (XlatorComponents.cpp) ----

    // ---- ASP, PDU and CM types, aliases (XlatorMessages.cpp) ----

    // ---- Constraints to templates (XlatorConstraints.cpp) ----

    // ---- Dynamic part: test cases, steps, defaults, local trees (XlatorDynamicPart.cpp) ----
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
    // A formal parameter list: types (and "template " marks) when asked, the
    // names in `fromRoot` followed by "_FROM_ROOT".
    void writeParameters(const FormalParList& list, bool withTypes, bool templateMarks,
                         const std::set<std::string>& fromRoot);

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
