// The levels of a behaviour tree: the alternatives of one indentation level
// become an alt statement, a sequence of statements with alt groups, or an alt
// inside a while(true) loop that re-takes the snapshot; the active defaults are
// invoked at the end of each loop.
#include "translate/XlatorVisitor.h"

#include "front/Fatal.h"
#include "front/XlatorOutput.h"
#include "translate/XlatorDefinitionCollector.h"
#include "translate/XlatorUtility.h"

#include <algorithm>
#include <string>

namespace {

const char* const kReturnNote = "you need to fix 'return' statement used to stop processing alternatives";

// The behaviour being generated is the root tree of a test case.
bool inTestCaseRootTree() {
    return gpRootBehaviour->getTestCase() != nullptr && gpRootBehaviour->currentLocalTree == -1;
}

// The table of the context was given a defaults reference, so the collector
// recorded it for every Children node of the table.
bool tableHasDefaultsRef() {
    if (const TestCase* testCase = gpRootBehaviour->getTestCase()) return testCase->is_present_defaultsRef();
    if (const TestStep* testStep = gpRootBehaviour->getTestStep()) return testStep->is_present_defaultsRef();
    return false;
}

}  // namespace

void XlatorVisitor::generateRootTree(const TestCase& testCase) {
    DefaultsRef active;
    if (testCase.is_present_defaultsRef() && testCase.defaultsRef().defaultRefList().size() >= 1)
        active = testCase.defaultsRef();
    generateLevel(levelOf(testCase.behaviourDescription().rootTree()), conformsToAltBlock(testCase), false, active);
}

void XlatorVisitor::generateChildren(const Children& children, const DefaultsRef& active) {
    BehaviourLevel lines = levelOf(children);
    if (lines.empty()) return;
    bool isAlt = std::all_of(lines.begin(), lines.end(), [this](const BehaviourLine& line) { return isAltLine(line); });
    if (isAlt && gpRootBehaviour != NULL && tableHasDefaultsRef())
        isAlt = defaultsConform(gDefinitionCollector.getDefaultsRef(children));
    generateLevel(lines, isAlt, true, active);
}

void XlatorVisitor::generateLevel(const BehaviourLevel& lines, bool isAlt, bool childrenLevel,
                                  const DefaultsRef& active) {
    if (lines.empty()) return;
    XlatorOutput& out = output();
    bool defaultsOk = active.isEmpty() || defaultsConform(active);
    bool loop = needsSnapshotLoop(lines);
    if (lines[0].is_present_labelId()) writeLabel(lines[0].labelId().label());
    if (loop && (!isAlt || !defaultsOk)) {
        out.writeComment("Infinite cycle to simulate snapshot behaviour");
        out.writeLine("while(true)");
        out.openBlock();
    }
    if (isAlt) {
        out.writeLine("alt");
        out.openBlock();
    }
    // Leaving a level that is one of several alternatives, or that is re-tried
    // in a loop, must end the enclosing branch.
    bool breakAfter = childrenLevel ? !isAlt && (loop || lines.size() > 1) : !isAlt;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!isAlt && startsAltGroup(lines, i)) {
            out.writeLine("alt");
            out.openBlock();
        }
        GenerateBehaviour(lines[i], breakAfter, active);
        if (!isAlt && endsAltGroup(lines, i)) {
            out.writeLine("[else] {}");
            out.closeBlock(true);
        }
    }
    if (loop) {
        if (isAlt && !defaultsOk) {
            out.writeLine("[else] {}");
            out.closeBlock(true);
        }
        invokeDefaults(active, isAlt);
        out.closeBlock(true);
    } else if (isAlt) {
        out.closeBlock(true);
    }
}

// The alternatives of an altstep stand directly in its body; a function's
// body tries its lines in order and answers false when none was taken.
void XlatorVisitor::generateBody(const BehaviourLevel& lines, bool isAlt, const DefaultsRef& active) {
    XlatorOutput& out = output();
    if (!lines.empty() && lines[0].is_present_labelId()) writeLabel(lines[0].labelId().label());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!isAlt && startsAltGroup(lines, i)) {
            out.writeLine("alt");
            out.openBlock();
        }
        GenerateBehaviour(lines[i], !isAlt, active);
        if (!isAlt && endsAltGroup(lines, i)) {
            out.writeLine("[else] {}");
            out.closeBlock(true);
        }
    }
    if (!isAlt) out.writeFinalLine("return false");
}

void XlatorVisitor::invokeDefaults(const DefaultsRef& active, bool isAlt) {
    if (active.isEmpty()) return;
    XlatorOutput& out = output();
    out.writeComment("Invoking defaults");
    DefaultRefList list = active.defaultRefList();
    for (int32_t i = 0; i < list.size(); ++i) {
        if (!isAlt && startsDefaultsGroup(list, i)) {
            out.writeLine("alt");
            out.openBlock();
        }
        DefaultReference reference = list.defaultReference(i);
        std::string def_id(reference.identifier().text());
        XLATOR_ASSERT(gDefinitionCollector.existsDefault(def_id), "Unable to locate default");
        if (defaultConforms(def_id)) {
            out.writeIndent();
            out.write("[] ");
            writeDefaultReference(reference);
            out.startLine();
        } else {
            out.writeIndent();
            out.write("if (");
            writeDefaultReference(reference);
            out.writeLine(")");
        }
        out.openBlock();
        if (!isAlt) writeTerminatingLine(true);
        out.closeBlock(true);
        if (!isAlt && endsDefaultsGroup(list, i)) {
            out.writeLine("[else] {}");
            out.closeBlock(true);
        }
    }
}

void XlatorVisitor::writeTerminatingLine(bool stopInEnvelope) {
    XLATOR_ASSERT(gpRootBehaviour != NULL, "Root behaviour object not found");
    if (inTestCaseRootTree() || (stopInEnvelope && gpRootBehaviour->inEnvelope)) {
        output().writeFinalLine("stop");
    } else if (rootConformsToAltBlock()) {
        output().writeFinalLine("return true", std::string(kReturnNote));
    } else {
        output().writeFinalLine("return true");
    }
}
