// The line predicates of the behaviour translator: whether a qualifier can be
// dropped, whether a line is an alternative or always executable, whether a
// tree can be written as an alt block or an altstep, whether a level needs the
// loop that re-takes the snapshot, and where the alt groups of a level start
// and end. Each answer depends only on the tree and the collector, so the
// answers about lines and trees are remembered.
#include "translate/XlatorVisitor.h"

#include "front/Fatal.h"
#include "translate/XlatorDefinitionCollector.h"
#include "translate/XlatorUtility.h"

#include <algorithm>
#include <string>

namespace {

// Attaches followed to decide whether a tree conforms to an alt block, one
// inside the other; deeper input is refused rather than exhausting the stack.
constexpr int kMaxAttachNesting = 1000;

}  // namespace

XlatorVisitor::BehaviourLevel XlatorVisitor::levelOf(const RootTree& lines) {
    BehaviourLevel level;
    for (int32_t i = 0; i < lines.size(); ++i) level.push_back(lines.behaviourLine(i));
    return level;
}

XlatorVisitor::BehaviourLevel XlatorVisitor::levelOf(const Children& lines) {
    BehaviourLevel level;
    for (int32_t i = 0; i < lines.size(); ++i) level.push_back(lines.behaviourLine(i));
    return level;
}

XlatorVisitor::BehaviourLevel XlatorVisitor::levelOf(const BehaviourLineList& lines) {
    BehaviourLevel level;
    for (int32_t i = 0; i < lines.size(); ++i) level.push_back(lines.behaviourLine(i));
    return level;
}

// The literal TRUE and nothing else: every level of the expression grammar
// holds its single child down to the boolean value.
bool XlatorVisitor::isTrivialQualifier(const Qualifier& qualifier) {
    Expression expression = qualifier.expression();
    if (expression.choice() != Choices::SimpleExpression) return false;
    SimpleExpression simple = expression.simpleExpression();
    if (simple.choice() != Choices::Term) return false;
    Term term = simple.term();
    if (term.choice() != Choices::Factor) return false;
    Factor factor = term.factor();
    if (factor.choice() != Choices::Primary) return false;
    Primary primary = factor.primary();
    if (primary.choice() != Choices::Value) return false;
    Value value = primary.value();
    if (value.choice() != Choices::LiteralValue) return false;
    LiteralValue literal = value.literalValue();
    if (literal.choice() != Choices::BooleanValue) return false;
    return literal.booleanValue().choice() == Choices::ATrue;
}

bool XlatorVisitor::isGuarded(const BehaviourLine& line) {
    StatementLine statement = line.line().statementLine();
    if (statement.choice() != Choices::EventStatement) return false;
    EventStatement event = statement.eventStatement();
    return event.is_present_qualifier() && !isTrivialQualifier(event.qualifier());
}

bool XlatorVisitor::isAltLine(const BehaviourLine& bl) {
    auto known = altLines_.find(bl.treeNode());
    if (known != altLines_.end()) return known->second;
    XLATOR_ASSERT(bl.is_present_line(), "Behaviour line not present");
    bool alt = false;
    StatementLine statement = bl.line().statementLine();
    if (statement.choice() == Choices::EventStatement) {
        EventStatement eventStatement = statement.eventStatement();
        if (eventStatement.is_present_event()) {
            int32_t event = eventStatement.event().choice();
            alt = event == Choices::Receive || event == Choices::Otherwise || event == Choices::Timeout ||
                  event == Choices::Done;
        }
    } else if (statement.choice() == Choices::Construct) {
        Construct construct = statement.construct();
        alt = construct.choice() == Choices::Attach && attachedTreeConforms(construct.attach());
    }
    altLines_.emplace(bl.treeNode(), alt);
    return alt;
}

bool XlatorVisitor::isAlwaysExecutable(const BehaviourLine& bl) {
    XLATOR_ASSERT(bl.is_present_line(), "Line not present");
    StatementLine statement = bl.line().statementLine();
    switch (statement.choice()) {
    case Choices::EventStatement: {
        EventStatement event = statement.eventStatement();
        if (isGuarded(bl)) return false;
        return !event.is_present_event() || event.event().choice() == Choices::Send;
    }
    case Choices::ImplicitSend:
    case Choices::Construct:
        return true;
    default:
        XLATOR_ASSERT(false, "Unexpected choice");
        return false;
    }
}

bool XlatorVisitor::needsSnapshotLoop(const BehaviourLevel& lines) {
    if (lines.empty()) return false;
    return std::none_of(lines.begin(), lines.end(),
                        [this](const BehaviourLine& line) { return isAlwaysExecutable(line); });
}

namespace {

// Every top-level line is an alternative, and, where labels count, none has a
// label (a label cannot stand in front of an alternative of an altstep).
bool levelIsAltBlock(XlatorVisitor& visitor, const XlatorVisitor::BehaviourLevel& lines, bool labelsCount) {
    return std::all_of(lines.begin(), lines.end(), [&](const BehaviourLine& line) {
        return (!labelsCount || !line.is_present_labelId()) && visitor.isAltLine(line);
    });
}

}  // namespace

// The conformance of the tables and local trees is remembered per node. An
// attach cycle (a tree that, through its top-level attaches, reaches itself)
// is decided as not conforming where it closes: every tree on the cycle then
// becomes a function, which is always valid. Remembering the answers found
// meanwhile is sound: conformance only ever asks that all lines conform.
bool XlatorVisitor::rememberConformance(const TreeNode* key, const std::function<bool()>& decide) {
    auto known = conformance_.find(key);
    if (known != conformance_.end()) return known->second;
    if (!deciding_.insert(key).second) return false;
    if (++attachDepth_ > kMaxAttachNesting) XLATOR_INTERNAL_ERROR("Attached trees nested too deeply");
    bool result = decide();
    --attachDepth_;
    deciding_.erase(key);
    conformance_.emplace(key, result);
    return result;
}

bool XlatorVisitor::conformsToAltBlock(const TestCase& node) {
    return rememberConformance(node.treeNode(), [&] {
        return levelIsAltBlock(*this, levelOf(node.behaviourDescription().rootTree()), false) &&
               (!node.is_present_defaultsRef() || defaultsConform(node.defaultsRef()));
    });
}

bool XlatorVisitor::conformsToAltBlock(const TestStep& node) {
    return rememberConformance(node.treeNode(), [&] {
        return levelIsAltBlock(*this, levelOf(node.behaviourDescription().rootTree()), true);
    });
}

bool XlatorVisitor::conformsToAltBlock(const DefaultCase& node) {
    return rememberConformance(node.treeNode(), [&] {
        return levelIsAltBlock(*this, levelOf(node.behaviourDescription().rootTree()), true);
    });
}

bool XlatorVisitor::conformsToAltBlock(const LocalTree& node) {
    return rememberConformance(node.treeNode(),
                               [&] { return levelIsAltBlock(*this, levelOf(node.behaviourLineList()), true); });
}

bool XlatorVisitor::defaultsConform(const DefaultsRef& defaults) {
    DefaultRefList list = defaults.defaultRefList();
    for (int32_t i = 0; i < list.size(); ++i) {
        std::string def_id(list.defaultReference(i).identifier().text());
        XLATOR_ASSERT(gDefinitionCollector.existsDefault(def_id), "Unable to locate referenced Default");
        if (!defaultConforms(def_id)) return false;
    }
    return true;
}

bool XlatorVisitor::defaultConforms(const std::string& defaultId) {
    return conformsToAltBlock(gDefinitionCollector.getDefaultById(defaultId));
}

bool XlatorVisitor::rootConformsToAltBlock() {
    XLATOR_ASSERT(gpRootBehaviour != NULL, "Root behaviour object not present");
    if (gpRootBehaviour->inEnvelope) return false;
    if (gpRootBehaviour->currentLocalTree != -1)
        return conformsToAltBlock(getLocalTreeList(*gpRootBehaviour).localTree(gpRootBehaviour->currentLocalTree));
    if (const TestCase* testCase = gpRootBehaviour->getTestCase()) return conformsToAltBlock(*testCase);
    if (const TestStep* testStep = gpRootBehaviour->getTestStep()) return conformsToAltBlock(*testStep);
    if (const DefaultCase* defaultCase = gpRootBehaviour->getDefaultCase()) return conformsToAltBlock(*defaultCase);
    XLATOR_INTERNAL_ERROR("in rootConformsToAltBlock");
}

bool XlatorVisitor::startsAltGroup(const BehaviourLevel& lines, std::size_t i) {
    return isAltLine(lines[i]) && (i == 0 || !isAltLine(lines[i - 1]));
}

bool XlatorVisitor::endsAltGroup(const BehaviourLevel& lines, std::size_t i) {
    return isAltLine(lines[i]) && (i + 1 == lines.size() || !isAltLine(lines[i + 1]));
}

namespace {

// A default reference of a group of invocations: its default conforms.
bool defaultRefIsAlt(XlatorVisitor& visitor, const DefaultRefList& defaults, int32_t i) {
    std::string default_id(defaults.defaultReference(i).identifier().text());
    XLATOR_ASSERT(gDefinitionCollector.existsDefault(default_id), "Default doesn't exists");
    return visitor.defaultConforms(default_id);
}

}  // namespace

bool XlatorVisitor::startsDefaultsGroup(const DefaultRefList& defaults, int32_t i) {
    return defaultRefIsAlt(*this, defaults, i) && (i == 0 || !defaultRefIsAlt(*this, defaults, i - 1));
}

bool XlatorVisitor::endsDefaultsGroup(const DefaultRefList& defaults, int32_t i) {
    return defaultRefIsAlt(*this, defaults, i) &&
           (i + 1 == defaults.size() || !defaultRefIsAlt(*this, defaults, i + 1));
}

XlatorVisitor::AttachedTree XlatorVisitor::attachedTree(const Attach& attach) {
    std::string name(attach.treeReference().identifier().text());
    AttachedTree tree;
    if (gDefinitionCollector.existsTestStep(name)) {
        tree.testStep = gDefinitionCollector.getTestStepById(name);
    } else {
        XLATOR_ASSERT(gDefinitionCollector.existsLocalTree(attach), "Unable to locate attached tree");
        tree.localTree = gDefinitionCollector.getLocalTree(attach);
    }
    return tree;
}

bool XlatorVisitor::attachedTreeConforms(const Attach& attach) {
    AttachedTree tree = attachedTree(attach);
    return tree.testStep.isEmpty() ? conformsToAltBlock(tree.localTree) : conformsToAltBlock(tree.testStep);
}

bool XlatorVisitor::attachedTreeNeedsLoop(const Attach& attach) {
    AttachedTree tree = attachedTree(attach);
    const TreeNode* key = tree.testStep.isEmpty() ? tree.localTree.treeNode() : tree.testStep.treeNode();
    auto known = loops_.find(key);
    if (known != loops_.end()) return known->second;
    bool loop = tree.testStep.isEmpty() ? needsSnapshotLoop(levelOf(tree.localTree.behaviourLineList()))
                                        : needsSnapshotLoop(levelOf(tree.testStep.behaviourDescription().rootTree()));
    loops_.emplace(key, loop);
    return loop;
}
