// The behaviour translator on small suites, for what the end-to-end cases do
// not show: the defaults of a test step inside its own snapshot loops, attach
// cycles, and the failures that end a run. The expected text is written by
// hand.
#include "BehaviourTestSupport.h"

#include <functional>
#include <string>
#include <tuple>
#include <vector>

using namespace behaviour_test;

namespace {

const std::string kAltDefault = defaultCase("DEF_ALT", line(0, "L ? OTHERWISE", "", "FAIL"));

// The group TestStepLibrary of a translated dynamic part, as written.
std::string testStepLibrary(const Translated& t) {
    std::size_t start = t.ttcn.find("  group TestStepLibrary\n");
    std::size_t end = t.ttcn.find("\n  }\n", start);
    return start == std::string::npos || end == std::string::npos ? t.ttcn : t.ttcn.substr(start, end + 5 - start);
}

// The defaults of a test step are invoked at the end of every loop of its
// own, ending the branch with "return true", and in its envelope with "stop".
TEST(TestSteps, DefaultsOfAStepAreInvokedInItsLoopsAndItsEnvelope) {
    Translated t = translate(suite("",
                                   testStep("ST_D",
                                            line(0, "L ! A", "CA") + line(1, "L ? B", "CB(1)", "PASS") +
                                                line(1, "[TCV_n > 0]"),
                                            "DEF_ALT"),
                                   kAltDefault));
    ASSERT_TRUE(t.opened) << t.report;
    EXPECT_EQ(testStepLibrary(t), "  group TestStepLibrary\n"
                                  "  {\n"
                                  "    // Envelop function to be able to start teststep on PTC\n"
                                  "    function ST_D_PTC() runs on BASE\n"
                                  "    {\n"
                                  "      while(true)\n"
                                  "      {\n"
                                  "        if (ST_D())\n"
                                  "        {\n"
                                  "          stop\n"
                                  "        }\n"
                                  "        // Invoking defaults\n"
                                  "        alt\n"
                                  "        {\n"
                                  "          [] DEF_ALT()\n"
                                  "          {\n"
                                  "            stop\n"
                                  "          }\n"
                                  "          [else] {}\n"
                                  "        }\n"
                                  "      }\n"
                                  "    }\n"
                                  "    function ST_D() runs on BASE return boolean\n"
                                  "    {\n"
                                  "      L.send(CA)\n"
                                  "      // Infinite cycle to simulate snapshot behaviour\n"
                                  "      while(true)\n"
                                  "      {\n"
                                  "        alt\n"
                                  "        {\n"
                                  "          [] L.receive(CB(1))\n"
                                  "          {\n"
                                  "            setverdict(pass)\n"
                                  "            stop\n"
                                  "          }\n"
                                  "          [else] {}\n"
                                  "        }\n"
                                  "        if (TCV_n > 0)\n"
                                  "        {\n"
                                  "          return true\n"
                                  "        }\n"
                                  "        // Invoking defaults\n"
                                  "        alt\n"
                                  "        {\n"
                                  "          [] DEF_ALT()\n"
                                  "          {\n"
                                  "            return true\n"
                                  "          }\n"
                                  "          [else] {}\n"
                                  "        }\n"
                                  "      }\n"
                                  "      return true\n"
                                  "    }\n"
                                  "\n"
                                  "  }\n");
}

// A test step that attaches itself at its top level: the cycle is decided
// as not conforming, so the step becomes a function and the run ends.
TEST(TestSteps, AttachCycleMakesFunctions) {
    Translated t = translate(suite("", testStep("ST_SELF", line(0, "+ST_SELF") + line(0, "L ? A", "CA")), ""));
    ASSERT_TRUE(t.opened) << t.report;
    EXPECT_EQ(testStepLibrary(t), "  group TestStepLibrary\n"
                                  "  {\n"
                                  "    // Envelop function to be able to start teststep on PTC\n"
                                  "    function ST_SELF_PTC() runs on BASE\n"
                                  "    {\n"
                                  "      while(true)\n"
                                  "      {\n"
                                  "        if (ST_SELF())\n"
                                  "        {\n"
                                  "          stop\n"
                                  "        }\n"
                                  "      }\n"
                                  "    }\n"
                                  "    function ST_SELF() runs on BASE return boolean\n"
                                  "    {\n"
                                  "      ST_SELF()\n"
                                  "      return true\n"
                                  "      alt\n"
                                  "      {\n"
                                  "        [] L.receive(CA)\n"
                                  "        {\n"
                                  "          return true\n"
                                  "        }\n"
                                  "        [else] {}\n"
                                  "      }\n"
                                  "      return false\n"
                                  "    }\n"
                                  "\n"
                                  "  }\n");
}

// ---- Failures ----

struct Failure {
    const char* name;
    std::string suiteText;
    const char* expectedLine;  // regular expression of the assertion or internal-error line
};

std::string twoPcos() { return "  $PCO_Dcl $PCO_Id U $PCO_TypeId SAP $P_Role UT $End_PCO_Dcl\n"; }

std::string deeplyNested(int depth) {
    std::string lines;
    for (int i = 0; i < depth; ++i) lines += line(i, "L ! A", "CA");
    return testCase("TC_DEEP", lines);
}

const std::vector<Failure> kFailures = {
    {"SendWithoutPcoAmongTwoPcos", suite(testCase("TC", line(0, "! A", "CA")), "", "", twoPcos()),
     "ASSERTION FAILED: PCOs\\.size\\(\\) == 1 \\('Ambiguous PCO in send'\\) at XlatorBehaviourStatements\\.cpp"},
    {"ReceiveWithoutPcoAmongTwoPcos", suite(testCase("TC", line(0, "? A", "CA")), "", "", twoPcos()),
     "ASSERTION FAILED: PCOs\\.size\\(\\) == 1 \\('Ambiguous PCO in receive'\\) at XlatorBehaviourStatements\\.cpp"},
    {"OtherwiseWithoutPcoAmongTwoPcos", suite(testCase("TC", line(0, "? OTHERWISE")), "", "", twoPcos()),
     "ASSERTION FAILED: PCOs\\.size\\(\\) == 1 \\('Ambiguous PCO in otherwise'\\) at XlatorBehaviourStatements\\.cpp"},
    {"BehaviourNestedTooDeeply", suite(deeplyNested(1100)),
     "INTERNAL ERROR: 'Behaviour lines nested too deeply' at XlatorBehaviourLines\\.cpp"},
};

class TranslationFailures : public ::testing::TestWithParam<Failure> {};

TEST_P(TranslationFailures, EndTheRunWithTheirLine) {
    const Failure& failure = GetParam();
    EXPECT_EXIT(
        {
            Translated t = translate(failure.suiteText);
            std::fprintf(stderr, "suite did not fail: opened=%d\n%s", t.opened, t.report.c_str());
            std::exit(0);
        },
        ::testing::ExitedWithCode(1), failure.expectedLine);
}

INSTANTIATE_TEST_SUITE_P(Behaviour, TranslationFailures, ::testing::ValuesIn(kFailures),
                         [](const ::testing::TestParamInfo<Failure>& info) { return std::string(info.param.name); });

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
