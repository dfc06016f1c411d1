// The control part: a TTCN-2 suite executes every test case whose selection
// expressions (its own and those of its groups) hold, so the control part
// executes the test cases in suite order, each inside one "if" per selection
// expression, the outer groups' first. The test suite variables become the
// control part's variables.
#include "translate/XlatorVisitor.h"

#include "front/Fatal.h"
#include "front/XlatorOptions.h"
#include "front/XlatorOutput.h"
#include "translate/XlatorWithVisitor.h"

#include <string>

namespace {

std::string text(const Identifier& identifier) { return std::string(identifier.text()); }

}  // namespace

void XlatorVisitor::writeControlPart(const ASuite& suite) {
    XlatorOutput& out = output();
    TS_VarDcls variables = suite.declarationsPart().declarations().ts_VarDcls();
    XlatorAttributeList attributes = CollectAttributes(variables);
    writeAttributeComments(attributes);
    out.writeLine("control");
    out.openBlock();
    if (!variables.isEmpty()) VisitTS_VarDcls(variables);
    GenerateControlPartBody(suite.dynamicPart().testCases().testGroupOrTestCaseList());
    out.closeBlock(true);
    out.startLine();
    writeWithBlock(attributes, tabularFormat);
}

namespace {

// "if (<selection>()) {" when the element has a selection expression; says
// whether a block was opened.
template <class Node>
bool openSelection(XlatorVisitor& visitor, const Node& node) {
    if (!node.is_present_selExprId()) return false;
    output().writeIndent();
    output().write("if (");
    visitor.VisitSelExprId(node.selExprId());
    output().writeLine(")");
    output().openBlock();
    return true;
}

void closeSelection(bool opened) {
    if (opened) output().closeBlock(true);
}

}  // namespace

void XlatorVisitor::GenerateControlPartBody(const TestGroupOrTestCaseList& list) {
    XlatorOutput& out = output();
    for (int32_t i = 0; i < list.size(); ++i) {
        TestGroupOrTestCase element = list.testGroupOrTestCase(i);
        switch (element.choice()) {
        case Choices::TestCase: {
            TestCase tc = element.testCase();
            XLATOR_ASSERT(tc.is_present_testCaseId(), "Test case id not present");
            bool opened = openSelection(*this, tc);
            out.writeLine("execute(" + text(tc.testCaseId().identifier()) + "())");
            closeSelection(opened);
            break;
        }
        case Choices::CompactTestGroup: {
            CompactTestGroup ctg = element.compactTestGroup();
            XLATOR_ASSERT(ctg.is_present_testGroupId(), "Compact test group id not present");
            bool groupOpened = openSelection(*this, ctg);
            CompactTestCaseList cases = ctg.compactTestCaseList();
            for (int32_t j = 0; j < cases.size(); ++j) {
                CompactTestCase ctc = cases.compactTestCase(j);
                XLATOR_ASSERT(ctc.is_present_testCaseId(), "Compact test case id not present");
                bool opened = openSelection(*this, ctc);
                out.writeLine("execute(" + text(ctc.testCaseId().identifier()) + "())");
                closeSelection(opened);
            }
            closeSelection(groupOpened);
            break;
        }
        case Choices::TestGroup: {
            TestGroup tg = element.testGroup();
            XLATOR_ASSERT(tg.is_present_testGroupId(), "Test group id not present");
            bool opened = openSelection(*this, tg);
            GenerateControlPartBody(tg.testGroupOrTestCaseList());
            closeSelection(opened);
            break;
        }
        default:
            XLATOR_INTERNAL_ERROR("in GenerateControlPartBody");
        }
    }
}

void XlatorVisitor::VisitSelExprId(const SelExprId& node) {
    VisitIdentifier(node.identifier());
    output().write("()");
}
