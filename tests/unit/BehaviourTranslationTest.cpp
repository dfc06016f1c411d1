// The behaviour translator on small suites, for what the end-to-end cases do
// not show: the defaults of a test step inside its own snapshot loops, attach
// cycles, and the failures that end a run. The expected text is written by
// hand.
#include "access/AccessSuite.h"
#include "front/XlatorOutput.h"
#include "translate/XlatorDefinitionCollector.h"
#include "translate/XlatorUtility.h"
#include "translate/XlatorVisitor.h"

#include "TestSupport.h"

#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace {

// What the translator wrote for the dynamic part of a suite.
struct Translated {
    bool opened = false;
    std::string report;  // the analysis report, to see why a suite did not open
    std::string ttcn;    // the dynamic part's group
};

// Opens the suite from MP text, lets the collector walk it, then writes its
// dynamic part as the module frame would. Warnings go to standard error.
Translated translate(const std::string& mpText) {
    Translated result;
    ScratchDir scratch;
    std::string path = scratch.write("behaviour.mp", mpText);
    AccessSuite suite;
    CapturedStream report;
    suite.setReportStream(report.get());
    ::testing::internal::CaptureStdout();
    result.opened = suite.open("\"" + path + "\" ", nullptr) == 1;
    ::testing::internal::GetCapturedStdout();
    result.report = report.text();
    if (!result.opened) return result;

    gDefinitionCollector = XlatorDefinitionCollector();
    gpRootBehaviour = nullptr;
    gDefinitionCollector.Visit(suite.root());
    CapturedStream ttcn;
    CapturedStream asn;
    createOutput(ttcn.get(), asn.get());
    XlatorVisitor visitor(suite);
    visitor.Visit(AccessNode(suite.root().as<ASuite>().dynamicPart()));
    result.ttcn = ttcn.text();
    return result;
}

const std::string kTestSteps = XLATOR_TEST_DATA "/behaviour/test_steps.mp";

// data/behaviour/test_steps.mp: the defaults of a test step are invoked at the
// end of every loop of its own, ending the branch with "return true", and in
// its envelope with "stop" (ST_D); a test step that attaches itself at its top
// level closes a cycle, which is decided as not conforming, so the step becomes
// a function (ST_SELF).
TEST(TestSteps, DefaultsInTheStepsLoopsAndAnAttachCycle) {
    Translated t = translate(readFile(kTestSteps));
    ASSERT_TRUE(t.opened) << t.report;
    std::size_t start = t.ttcn.find("  group TestStepLibrary\n");
    ASSERT_NE(start, std::string::npos) << t.ttcn;
    EXPECT_EQ(t.ttcn.substr(start, t.ttcn.find("\n  }\n", start) + 5 - start),
              readFile(XLATOR_TEST_DATA "/behaviour/test_steps.ttcn"));
}

// ---- Failures ----

// A behaviour line "[indent] statement" with its constraint reference.
std::string line(int indent, const std::string& statement, const std::string& cref = "") {
    return "    $BehaviourLine $LabelId $Line [" + std::to_string(indent) + "] " + statement + " $Cref " + cref +
           " $VerdictId $End_BehaviourLine\n";
}

// The suite of data/behaviour/test_steps.mp with the test case TC of `lines`
// and, with `secondPco`, the PCO U of type SAP beside L.
std::string withTestCase(const std::string& lines, bool secondPco) {
    std::string text = readFile(kTestSteps);
    const std::string pcoL = "  $PCO_Dcl $PCO_Id L $PCO_TypeId SAP $P_Role LT $End_PCO_Dcl\n";
    if (secondPco)
        text.insert(text.find(pcoL) + pcoL.size(), "  $PCO_Dcl $PCO_Id U $PCO_TypeId SAP $P_Role UT $End_PCO_Dcl\n");
    const std::string testCases = " $TestCases\n";
    text.insert(text.find(testCases) + testCases.size(),
                "  $Begin_TestCase $TestCaseId TC $TestGroupRef $TestPurpose $Configuration $DefaultsRef\n"
                "   $BehaviourDescription\n" + lines + "   $End_BehaviourDescription\n  $End_TestCase\n");
    return text;
}

std::string deeplyNested(int depth) {
    std::string lines;
    for (int i = 0; i < depth; ++i) lines += line(i, "L ! A", "CA");
    return withTestCase(lines, false);
}

TEST(TranslationFailures, EndTheRunWithTheirLine) {
    const struct {
        std::string suiteText;
        const char* line;  // the assertion or internal-error line, without its place
        const char* file;
    } failures[] = {
        {withTestCase(line(0, "! A", "CA"), true),
         "ASSERTION FAILED: PCOs.size() == 1 ('Ambiguous PCO in send')", "XlatorBehaviourStatements.cpp"},
        {withTestCase(line(0, "? A", "CA"), true),
         "ASSERTION FAILED: PCOs.size() == 1 ('Ambiguous PCO in receive')", "XlatorBehaviourStatements.cpp"},
        {withTestCase(line(0, "? OTHERWISE"), true),
         "ASSERTION FAILED: PCOs.size() == 1 ('Ambiguous PCO in otherwise')", "XlatorBehaviourStatements.cpp"},
        {deeplyNested(1100), "INTERNAL ERROR: 'Behaviour lines nested too deeply'", "XlatorBehaviourLines.cpp"},
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.line);
        EXPECT_EXIT(
            {
                Translated t = translate(failure.suiteText);
                std::fprintf(stderr, "suite did not fail: opened=%d\n%s", t.opened, t.report.c_str());
                std::exit(0);
            },
            ::testing::ExitedWithCode(1), failureLinePattern(failure.line, failure.file));
    }
}

// The kinds whose content the generators write are never handed to the walk.
TEST(TranslationFailures, KindsWrittenByTheGeneratorsAreInternalErrorsWhenVisited) {
    AccessSuite unopened;
    XlatorVisitor visitor(unopened);
    const std::string dynamicPart = "XlatorTestCases.cpp", statements = "XlatorBehaviourStatements.cpp";
    const std::vector<std::tuple<std::function<void()>, std::string, std::string>> rows = {
        {[&] { visitor.VisitChildren(Children()); }, "INTERNAL ERROR: 'in VisitChildren'", dynamicPart},
        {[&] { visitor.VisitBehaviourLine(BehaviourLine()); }, "INTERNAL ERROR: 'in VisitBehaviourLine'", dynamicPart},
        {[&] { visitor.VisitTreeReference(TreeReference()); }, "INTERNAL ERROR: 'in VisitTreeReference'", dynamicPart},
        {[&] { visitor.VisitCompactTestCase(CompactTestCase()); }, "INTERNAL ERROR: 'in VisitCompactTestCase'",
         dynamicPart},
        {[&] { visitor.VisitEventStatement(EventStatement()); },
         "ASSERTION FAILED: false ('INTERNAL_ERROR: in VisitEventStatement')", statements},
        {[&] { visitor.VisitCreateTComp(CreateTComp()); }, "INTERNAL ERROR: 'in VisitCreateTComp'", statements},
        {[&] { visitor.VisitCreateAttach(CreateAttach()); },
         "ASSERTION FAILED: false ('INTERNAL_ERROR: in VisitCreateAttach')", statements},
    };
    for (const auto& [visit, line, file] : rows)
        EXPECT_EXIT(visit(), ::testing::ExitedWithCode(1), failureLinePattern(line, file)) << line;
}

}  // namespace
