// The behaviour translator on whole suites: each case is a small dynamic part
// whose test cases (or test steps, or defaults) isolate one shape of
// behaviour tree; the expected TTCN-3 text is written by hand.
#include "BehaviourTestSupport.h"

#include <string>
#include <vector>

using namespace behaviour_test;

namespace {

// Test steps and defaults every suite of this file holds, so that attaches,
// creations and defaults references have something to name.
const std::string kSharedSteps =
    testStep("ST_F", line(0, "L ! A", "CA", "PASS")) +     // a function ending in "stop"
    testStep("ST_A", line(0, "L ? A", "CA", "(PASS)"));     // an altstep
const std::string kSharedDefaults =
    defaultCase("DEF_ALT", line(0, "L ? OTHERWISE", "", "FAIL")) +  // conforms to an alt block
    defaultCase("DEF_IF", line(0, "L ! A", "CA"));                   // does not

// The lines of `text` between "<indent>group <name>" with its "{" and the
// matching "}", taken out of their indentation.
std::string groupContents(const std::string& text, const std::string& name, std::size_t indent) {
    std::string pad(indent, ' ');
    std::string open = pad + "group " + name + "\n" + pad + "{\n";
    std::size_t start = text.find(open);
    if (start == std::string::npos) return "<no group " + name + ">";
    start += open.size();
    std::size_t end = text.find("\n" + pad + "}\n", start - 1);
    if (end == std::string::npos) return "<group " + name + " not closed>";
    std::string body = text.substr(start, end + 1 - start);
    std::string result;
    std::size_t from = 0;
    while (from < body.size()) {
        std::size_t lf = body.find('\n', from);
        std::string lineText = body.substr(from, lf - from);
        result += (lineText.compare(0, indent + 2, std::string(indent + 2, ' ')) == 0 ? lineText.substr(indent + 2)
                                                                                      : lineText) +
                  "\n";
        from = lf + 1;
    }
    return result;
}

std::string testCases(const Translated& t) { return groupContents(t.ttcn, "TestCases", 2); }
std::string testSteps(const Translated& t) { return groupContents(t.ttcn, "TestStepLibrary", 2); }
std::string defaults(const Translated& t) { return groupContents(t.ttcn, "DefaultsLibrary", 2); }

std::string warning(const std::string& message) { return "warning: " + message + "\n"; }

const char* const kReturnNote = "you need to fix 'return' statement used to stop processing alternatives";

struct Shape {
    const char* name;
    std::string testCases;  // the MP test cases
    std::string expected;   // the contents of group TestCases
    std::string warnings = "";
    std::string extraSteps = "";
    std::string extraDefaults = "";
};

Translated translateShape(const Shape& shape) {
    return translate(suite(shape.testCases, kSharedSteps + shape.extraSteps, kSharedDefaults + shape.extraDefaults));
}

const std::vector<Shape> kTestCaseShapes = {
    {"SingleReceiveWithFinalVerdictIsOneAltBlock",
     testCase("TC1", line(0, "L ? A", "CA", "PASS")),
     "testcase TC1() runs on BASE\n"
     "{\n"
     "  alt\n"
     "  {\n"
     "    [] L.receive(CA)\n"
     "    {\n"
     "      setverdict(pass)\n"
     "      stop\n"
     "    }\n"
     "  }\n"
     "}\n"
     "\n"},
    {"SendBesideReceiveNeedsNoLoopAndGroupsTheReceive",
     testCase("TC2", line(0, "L ! A", "CA") + line(0, "L ? B", "CB(1)", "FAIL")),
     "testcase TC2() runs on BASE\n"
     "{\n"
     "  L.send(CA)\n"
     "  stop\n"
     "  alt\n"
     "  {\n"
     "    [] L.receive(CB(1))\n"
     "    {\n"
     "      setverdict(fail)\n"
     "      stop\n"
     "    }\n"
     "    [else] {}\n"
     "  }\n"
     "}\n"
     "\n"},
    {"SendThenReceiveNestsTheAltAndStopsAfterIt",
     testCase("TC3", line(0, "L ! A", "CA") + line(1, "L ? B", "CB(1)", "(P)")),
     "testcase TC3() runs on BASE\n"
     "{\n"
     "  L.send(CA)\n"
     "  alt\n"
     "  {\n"
     "    [] L.receive(CB(1))\n"
     "    {\n"
     "      setverdict(pass)\n"
     "    }\n"
     "  }\n"
     "  stop\n"
     "}\n"
     "\n"},
    {"ReceiveBesideGuardedLineLoopsAndInvokesDefaults",
     testCase("TC4", line(0, "L ? A", "CA", "PASS") + line(0, "[TCV_n > 1]", "", "INCONC"), "DEF_ALT"),
     "testcase TC4() runs on BASE\n"
     "{\n"
     "  // Infinite cycle to simulate snapshot behaviour\n"
     "  while(true)\n"
     "  {\n"
     "    alt\n"
     "    {\n"
     "      [] L.receive(CA)\n"
     "      {\n"
     "        setverdict(pass)\n"
     "        stop\n"
     "      }\n"
     "      [else] {}\n"
     "    }\n"
     "    if (TCV_n > 1)\n"
     "    {\n"
     "      setverdict(inconc)\n"
     "      stop\n"
     "    }\n"
     "    // Invoking defaults\n"
     "    alt\n"
     "    {\n"
     "      [] DEF_ALT()\n"
     "      {\n"
     "        stop\n"
     "      }\n"
     "      [else] {}\n"
     "    }\n"
     "  }\n"
     "}\n"
     "\n"},
    {"DefaultThatIsNoAltBlockMakesTheRootLoopAndIsInvokedWithIf",
     testCase("TC5", line(0, "L ? A", "CA", "PASS"), "DEF_ALT, DEF_IF"),
     "testcase TC5() runs on BASE\n"
     "{\n"
     "  // Infinite cycle to simulate snapshot behaviour\n"
     "  while(true)\n"
     "  {\n"
     "    alt\n"
     "    {\n"
     "      [] L.receive(CA)\n"
     "      {\n"
     "        setverdict(pass)\n"
     "        stop\n"
     "      }\n"
     "      [else] {}\n"
     "    }\n"
     "    // Invoking defaults\n"
     "    alt\n"
     "    {\n"
     "      [] DEF_ALT()\n"
     "      {\n"
     "        stop\n"
     "      }\n"
     "      [else] {}\n"
     "    }\n"
     "    if (DEF_IF())\n"
     "    {\n"
     "      stop\n"
     "    }\n"
     "  }\n"
     "}\n"
     "\n"},
    {"DefaultsThatConformJoinTheAltBlock",
     testCase("TC6", line(0, "L ? A", "CA", "PASS"), "DEF_ALT"),
     "testcase TC6() runs on BASE\n"
     "{\n"
     "  alt\n"
     "  {\n"
     "    [] L.receive(CA)\n"
     "    {\n"
     "      setverdict(pass)\n"
     "      stop\n"
     "    }\n"
     "    // Invoking defaults\n"
     "    [] DEF_ALT()\n"
     "    {\n"
     "    }\n"
     "  }\n"
     "}\n"
     "\n"},
    {"TrueQualifierIsDropped",
     testCase("TC7", line(0, "[TRUE] (TCV_n := 1)") + line(1, "L ? A [TRUE]", "CA", "PASS")),
     "testcase TC7() runs on BASE\n"
     "{\n"
     "  TCV_n := 1\n"
     "  alt\n"
     "  {\n"
     "    [] L.receive(CA)\n"
     "    {\n"
     "      setverdict(pass)\n"
     "      stop\n"
     "    }\n"
     "  }\n"
     "  stop\n"
     "}\n"
     "\n"},
    {"GuardedReceiveKeepsItsGuard",
     testCase("TC7G", line(0, "L ? A [TCV_n = 0]", "CA", "PASS")),
     "testcase TC7G() runs on BASE\n"
     "{\n"
     "  alt\n"
     "  {\n"
     "    [TCV_n == 0] L.receive(CA)\n"
     "    {\n"
     "      setverdict(pass)\n"
     "      stop\n"
     "    }\n"
     "  }\n"
     "}\n"
     "\n"},
    {"AssignmentsUseTheMessageVariables",
     testCase("TC8", line(0, "L ! A (TCV_n := 2)", "CA") + line(1, "L ? B (TCV_n := B.f)", "CB(TCV_n)", "PASS")),
     "testcase TC8() runs on BASE\n"
     "{\n"
     "  v_A := valueof(CA)\n"
     "  TCV_n := 2\n"
     "  L.send(v_A)\n"
     "  alt\n"
     "  {\n"
     "    [] L.receive(CB(TCV_n)) -> value v_B\n"
     "    {\n"
     "      TCV_n := v_B.f\n"
     "      setverdict(pass)\n"
     "      stop\n"
     "    }\n"
     "  }\n"
     "  stop\n"
     "}\n"
     "\n"},
    {"SendAndReceiveWithoutConstraint",
     testCase("TC9", line(0, "L ! A") + line(1, "L ? B", "", "PASS")),
     "testcase TC9() runs on BASE\n"
     "{\n"
     "  L.send(A:{})\n"
     "  alt\n"
     "  {\n"
     "    [] L.receive(B: ?)\n"
     "    {\n"
     "      setverdict(pass)\n"
     "      stop\n"
     "    }\n"
     "  }\n"
     "  stop\n"
     "}\n"
     "\n"},
    {"EventsWithoutPcoUseTheOnlyPco",
     testCase("TC9P", line(0, "! A", "CA") + line(1, "? B", "CB(0)", "PASS") + line(1, "? OTHERWISE", "", "FAIL")),
     "testcase TC9P() runs on BASE\n"
     "{\n"
     "  L.send(CA)\n"
     "  alt\n"
     "  {\n"
     "    [] L.receive(CB(0))\n"
     "    {\n"
     "      setverdict(pass)\n"
     "      stop\n"
     "    }\n"
     "    [] L.receive\n"
     "    {\n"
     "      setverdict(fail)\n"
     "      stop\n"
     "    }\n"
     "  }\n"
     "  stop\n"
     "}\n"
     "\n"},
    {"AttachOfANameThatIsBothTestStepAndLocalTreeCallsTheTestStep",
     testCase("TC10", line(0, "+ST_F") + header("ST_F") + line(0, "L ? B", "CB(2)", "PASS")),
     "// Local teststeps for testcase TC10\n"
     "// Envelop function to be able to start teststep on PTC\n"
     "function TC10_LocalTree_ST_F_PTC() runs on BASE\n"
     "{\n"
     "  alt\n"
     "  {\n"
     "    [] TC10_LocalTree_ST_F()\n"
     "    {\n"
     "      stop\n"
     "    }\n"
     "  }\n"
     "}\n"
     "altstep TC10_LocalTree_ST_F() runs on BASE\n"
     "{\n"
     "  [] L.receive(CB(2))\n"
     "  {\n"
     "    setverdict(pass)\n"
     "    stop\n"
     "  }\n"
     "}\n"
     "testcase TC10() runs on BASE\n"
     "{\n"
     "  ST_F()\n"
     "  stop\n"
     "}\n"
     "\n"},
    {"LabelOfTheFirstLineIsWrittenLaterLabelsAreDropped",
     testCase("TC11", line(0, "L ! A", "CA", "", "LA") + line(1, "L ? B", "CB(3)", "PASS") +
                          line(1, "? TIMEOUT T1", "", "", "LT") + line(2, "-> LA")),
     "testcase TC11() runs on BASE\n"
     "{\n"
     "  label LA\n"
     "  L.send(CA)\n"
     "  alt\n"
     "  {\n"
     "    [] L.receive(CB(3))\n"
     "    {\n"
     "      setverdict(pass)\n"
     "      stop\n"
     "    }\n"
     "    [] T1.timeout\n"
     "    {\n"
     "      goto LA\n"
     "    }\n"
     "  }\n"
     "  stop\n"
     "}\n"
     "\n"},
    {"ActivateWithAndWithoutDefaults",
     testCase("TC12", line(0, "ACTIVATE(DEF_ALT, DEF_IF)") + line(1, "ACTIVATE()")),
     "testcase TC12() runs on BASE\n"
     "{\n"
     "  // TODO: 'activate' may not work properly since activation of defaults is not supported\n"
     "  activate(DEF_ALT())\n"
     "  activate(DEF_IF())\n"
     "  // TODO: 'deactivate' may not work properly since activation of defaults is not supported\n"
     "  deactivate\n"
     "  stop\n"
     "}\n"
     "\n",
     warning("'activate' may not work properly since activation of defaults is not supported") +
         warning("'deactivate' may not work properly since activation of defaults is not supported")},
    {"CreateStartsEnvelopesOfATestStepAndOfALocalTree",
     testCase("TC13",
              line(0, "CREATE(PTC1: ST_F, PTC2: LT_P(5))") + line(1, "? DONE(PTC1, PTC2)", "", "PASS") +
                  header("LT_P(x: INTEGER)") + line(0, "L ! A", "CA"),
              "", "CONF"),
     "// Local teststeps for testcase TC13\n"
     "// Envelop function to be able to start teststep on PTC\n"
     "function TC13_LocalTree_LT_P_PTC(template integer x) runs on MTC1_CT\n"
     "{\n"
     "  while(true)\n"
     "  {\n"
     "    if (TC13_LocalTree_LT_P(x))\n"
     "    {\n"
     "      stop\n"
     "    }\n"
     "  }\n"
     "}\n"
     "function TC13_LocalTree_LT_P(template integer x) runs on MTC1_CT return boolean\n"
     "{\n"
     "  L.send(CA)\n"
     "  return true\n"
     "}\n"
     "testcase TC13() runs on MTC1_CT system MTC1_CT\n"
     "{\n"
     "  // Create components and init configuration\n"
     "  var MTC1_CT MTC1 := mtc\n"
     "  var PTC1_CT PTC1 := PTC1_CT.create(\"PTC1\")\n"
     "  var PTC2_CT PTC2 := PTC2_CT.create(\"PTC2\")\n"
     "  InitConfiguration_CONF(MTC1, PTC1, PTC2)\n"
     "\n"
     "  PTC1.start(ST_F_PTC())\n"
     "  PTC2.start(TC13_LocalTree_LT_P_PTC(5))\n"
     "  alt\n"
     "  {\n"
     "    [] \n"
     "    // TODO: 'done' for a list of components is generated into 'all component.done'\n"
     "    all component.done\n"
     "    {\n"
     "      setverdict(pass)\n"
     "      stop\n"
     "    }\n"
     "  }\n"
     "  stop\n"
     "}\n"
     "\n",
     warning("'done' for a list of components is generated into 'all component.done'")},
    {"DoneOfNoComponentAndOfOne",
     testCase("TC14", line(0, "? DONE()", "", "PASS") + line(0, "? DONE(PTC1)", "", "FAIL")),
     "testcase TC14() runs on BASE\n"
     "{\n"
     "  alt\n"
     "  {\n"
     "    [] all component.done\n"
     "    {\n"
     "      setverdict(pass)\n"
     "      stop\n"
     "    }\n"
     "    [] PTC1.done\n"
     "    {\n"
     "      setverdict(fail)\n"
     "      stop\n"
     "    }\n"
     "  }\n"
     "}\n"
     "\n"},
    {"RepeatBecomesDoWhile",
     testCase("TC15", line(0, "REPEAT ST_F UNTIL [TCV_n > 3]", "", "R")),
     "testcase TC15() runs on BASE\n"
     "{\n"
     "  do\n"
     "  {\n"
     "    ST_F()\n"
     "  }\n"
     "  while(TCV_n > 3)\n"
     "  setverdict(getverdict)\n"
     "  stop\n"
     "}\n"
     "\n"},
    {"TimersStartedCancelledReadAndTimedOut",
     testCase("TC16", line(0, "L ! A START T1, START T2(3)", "CA") +
                          line(1, "L ? B READTIMER T1(TCV_n), CANCEL T1", "CB(4)", "PASS") +
                          line(1, "? TIMEOUT T2 CANCEL", "", "FAIL") + line(1, "? TIMEOUT", "", "I")),
     "testcase TC16() runs on BASE\n"
     "{\n"
     "  L.send(CA)\n"
     "  T1.start\n"
     "  T2.start(3)\n"
     "  alt\n"
     "  {\n"
     "    [] L.receive(CB(4))\n"
     "    {\n"
     "      TCV_n := T1.read\n"
     "      T1.stop\n"
     "      setverdict(pass)\n"
     "      stop\n"
     "    }\n"
     "    [] T2.timeout\n"
     "    {\n"
     "      all timer.stop\n"
     "      setverdict(fail)\n"
     "      stop\n"
     "    }\n"
     "    [] any timer.timeout\n"
     "    {\n"
     "      setverdict(inconc)\n"
     "      stop\n"
     "    }\n"
     "  }\n"
     "  stop\n"
     "}\n"
     "\n"},
    {"AttachOfAnAltstepIsAnAlternativeAndOfAFunctionThatLoopsAnIf",
     testCase("TC17", line(0, "+ST_A") + line(0, "L ? B", "CB(5)", "FAIL") + line(1, "+ST_LOOP")),
     "testcase TC17() runs on BASE\n"
     "{\n"
     "  alt\n"
     "  {\n"
     "    [] ST_A()\n"
     "    {\n"
     "    }\n"
     "    [] L.receive(CB(5))\n"
     "    {\n"
     "      setverdict(fail)\n"
     "      stop\n"
     "      if(ST_LOOP())\n"
     "      {\n"
     "      }\n"
     "    }\n"
     "  }\n"
     "}\n"
     "\n",
     "",
     testStep("ST_LOOP", line(0, "L ? A", "CA") + line(0, "[TCV_n > 0]"))},
    {"ImplicitSendIsAnAction",
     testCase("TC18", line(0, "<IUT ! A>", "CA") + line(1, "<IUT ! B>")),
     "testcase TC18() runs on BASE\n"
     "{\n"
     "  action(CA)\n"
     "  action(\"\")\n"
     "  stop\n"
     "}\n"
     "\n"},
};

class TestCaseShapes : public ::testing::TestWithParam<Shape> {};

TEST_P(TestCaseShapes, TranslateAsWrittenByHand) {
    const Shape& shape = GetParam();
    Translated t = translateShape(shape);
    ASSERT_TRUE(t.opened) << t.report;
    EXPECT_EQ(testCases(t), shape.expected);
    EXPECT_EQ(t.warnings, shape.warnings);
}

INSTANTIATE_TEST_SUITE_P(Behaviour, TestCaseShapes, ::testing::ValuesIn(kTestCaseShapes),
                         [](const ::testing::TestParamInfo<Shape>& info) { return std::string(info.param.name); });

// ---- Test steps and defaults ----

const std::string kSharedStepsOutput =
    "// Envelop function to be able to start teststep on PTC\n"
    "function ST_F_PTC() runs on BASE\n"
    "{\n"
    "  while(true)\n"
    "  {\n"
    "    if (ST_F())\n"
    "    {\n"
    "      stop\n"
    "    }\n"
    "  }\n"
    "}\n"
    "function ST_F() runs on BASE return boolean\n"
    "{\n"
    "  L.send(CA)\n"
    "  setverdict(pass)\n"
    "  stop\n"
    "}\n"
    "\n"
    "// Envelop function to be able to start teststep on PTC\n"
    "function ST_A_PTC() runs on BASE\n"
    "{\n"
    "  alt\n"
    "  {\n"
    "    [] ST_A()\n"
    "    {\n"
    "      stop\n"
    "    }\n"
    "  }\n"
    "}\n"
    "altstep ST_A() runs on BASE\n"
    "{\n"
    "  [] L.receive(CA)\n"
    "  {\n"
    "    setverdict(pass)\n"
    "  }\n"
    "}\n"
    "\n";

TEST(TestSteps, AltstepWhoseChildrenNeedReturnTrueIsMarked) {
    Translated t = translate(suite(
        "", kSharedSteps + testStep("ST_ALT", line(0, "L ? A", "CA") + line(1, "L ! B", "CB(1)") + line(1, "L ? A", "CA")),
        kSharedDefaults));
    ASSERT_TRUE(t.opened) << t.report;
    EXPECT_EQ(testSteps(t), kSharedStepsOutput +
                                "// Envelop function to be able to start teststep on PTC\n"
                                "function ST_ALT_PTC() runs on BASE\n"
                                "{\n"
                                "  alt\n"
                                "  {\n"
                                "    [] ST_ALT()\n"
                                "    {\n"
                                "      stop\n"
                                "    }\n"
                                "  }\n"
                                "}\n"
                                "altstep ST_ALT() runs on BASE\n"
                                "{\n"
                                "  [] L.receive(CA)\n"
                                "  {\n"
                                "    L.send(CB(1))\n"
                                "    // TODO: you need to fix 'return' statement used to stop processing alternatives\n"
                                "    return true\n"
                                "    alt\n"
                                "    {\n"
                                "      [] L.receive(CA)\n"
                                "      {\n"
                                "        // TODO: you need to fix 'return' statement used to stop processing alternatives\n"
                                "        return true\n"
                                "      }\n"
                                "      [else] {}\n"
                                "    }\n"
                                "  }\n"
                                "}\n"
                                "\n");
    EXPECT_EQ(t.warnings, warning(kReturnNote) + warning(kReturnNote));
}

TEST(TestSteps, LocalTreesReceiveTheStepParametersRenamedWhereTheyClash) {
    Translated t = translate(suite("",
                                   kSharedSteps + testStep("ST_P(p, q: INTEGER)",
                                                           line(0, "+LT1(q)") + header("LT1(p: INTEGER)") +
                                                               line(0, "L ! B", "CB(p)") + line(1, "+LT2") +
                                                               header("LT2") + line(0, "L ? A", "CA", "PASS")),
                                   kSharedDefaults));
    ASSERT_TRUE(t.opened) << t.report;
    EXPECT_EQ(testSteps(t),
              kSharedStepsOutput +
                  "// Envelop function to be able to start teststep on PTC\n"
                  "function ST_P_PTC(integer p, integer q) runs on BASE\n"
                  "{\n"
                  "  while(true)\n"
                  "  {\n"
                  "    if (ST_P(p, q))\n"
                  "    {\n"
                  "      stop\n"
                  "    }\n"
                  "  }\n"
                  "}\n"
                  "// Local teststeps for teststep ST_P\n"
                  "// Envelop function to be able to start teststep on PTC\n"
                  "function ST_P_LocalTree_LT1_PTC(template integer p, template integer p_FROM_ROOT, "
                  "template integer q) runs on BASE\n"
                  "{\n"
                  "  while(true)\n"
                  "  {\n"
                  "    if (ST_P_LocalTree_LT1(p, p_FROM_ROOT, q))\n"
                  "    {\n"
                  "      stop\n"
                  "    }\n"
                  "  }\n"
                  "}\n"
                  "function ST_P_LocalTree_LT1(template integer p, template integer p_FROM_ROOT, "
                  "template integer q) runs on BASE return boolean\n"
                  "{\n"
                  "  L.send(CB(p))\n"
                  "  alt\n"
                  "  {\n"
                  "    [] ST_P_LocalTree_LT2(p_FROM_ROOT, q)\n"
                  "    {\n"
                  "    }\n"
                  "  }\n"
                  "  return true\n"
                  "}\n"
                  "// Envelop function to be able to start teststep on PTC\n"
                  "function ST_P_LocalTree_LT2_PTC(template integer p, template integer q) runs on BASE\n"
                  "{\n"
                  "  alt\n"
                  "  {\n"
                  "    [] ST_P_LocalTree_LT2(p, q)\n"
                  "    {\n"
                  "      stop\n"
                  "    }\n"
                  "  }\n"
                  "}\n"
                  "altstep ST_P_LocalTree_LT2(template integer p, template integer q) runs on BASE\n"
                  "{\n"
                  "  [] L.receive(CA)\n"
                  "  {\n"
                  "    setverdict(pass)\n"
                  "    stop\n"
                  "  }\n"
                  "}\n"
                  "function ST_P(integer p, integer q) runs on BASE return boolean\n"
                  "{\n"
                  "  ST_P_LocalTree_LT1(q, p, q)\n"
                  "  return true\n"
                  "}\n"
                  "\n");
    EXPECT_EQ(t.warnings, "");
}

TEST(TestSteps, DefaultsOfAStepAreInvokedInItsLoopsAndItsEnvelope) {
    Translated t = translate(suite("",
                                   kSharedSteps + testStep("ST_D",
                                                           line(0, "L ! A", "CA") + line(1, "L ? B", "CB(1)", "PASS") +
                                                               line(1, "[TCV_n > 0]"),
                                                           "DEF_ALT"),
                                   kSharedDefaults));
    ASSERT_TRUE(t.opened) << t.report;
    EXPECT_EQ(testSteps(t), kSharedStepsOutput +
                                "// Envelop function to be able to start teststep on PTC\n"
                                "function ST_D_PTC() runs on BASE\n"
                                "{\n"
                                "  while(true)\n"
                                "  {\n"
                                "    if (ST_D())\n"
                                "    {\n"
                                "      stop\n"
                                "    }\n"
                                "    // Invoking defaults\n"
                                "    alt\n"
                                "    {\n"
                                "      [] DEF_ALT()\n"
                                "      {\n"
                                "        stop\n"
                                "      }\n"
                                "      [else] {}\n"
                                "    }\n"
                                "  }\n"
                                "}\n"
                                "function ST_D() runs on BASE return boolean\n"
                                "{\n"
                                "  L.send(CA)\n"
                                "  // Infinite cycle to simulate snapshot behaviour\n"
                                "  while(true)\n"
                                "  {\n"
                                "    alt\n"
                                "    {\n"
                                "      [] L.receive(CB(1))\n"
                                "      {\n"
                                "        setverdict(pass)\n"
                                "        stop\n"
                                "      }\n"
                                "      [else] {}\n"
                                "    }\n"
                                "    if (TCV_n > 0)\n"
                                "    {\n"
                                "      return true\n"
                                "    }\n"
                                "    // Invoking defaults\n"
                                "    alt\n"
                                "    {\n"
                                "      [] DEF_ALT()\n"
                                "      {\n"
                                "        return true\n"
                                "      }\n"
                                "      [else] {}\n"
                                "    }\n"
                                "  }\n"
                                "  return true\n"
                                "}\n"
                                "\n");
}

TEST(TestSteps, AttachCycleMakesFunctions) {
    Translated t = translate(suite("", testStep("ST_SELF", line(0, "+ST_SELF") + line(0, "L ? A", "CA")), ""));
    ASSERT_TRUE(t.opened) << t.report;
    EXPECT_EQ(testSteps(t), "// Envelop function to be able to start teststep on PTC\n"
                            "function ST_SELF_PTC() runs on BASE\n"
                            "{\n"
                            "  while(true)\n"
                            "  {\n"
                            "    if (ST_SELF())\n"
                            "    {\n"
                            "      stop\n"
                            "    }\n"
                            "  }\n"
                            "}\n"
                            "function ST_SELF() runs on BASE return boolean\n"
                            "{\n"
                            "  ST_SELF()\n"
                            "  return true\n"
                            "  alt\n"
                            "  {\n"
                            "    [] L.receive(CA)\n"
                            "    {\n"
                            "      return true\n"
                            "    }\n"
                            "    [else] {}\n"
                            "  }\n"
                            "}\n"
                            "\n");
}

TEST(Defaults, AltstepsFunctionsParametersAndReturn) {
    Translated t = translate(suite(
        "", "",
        kSharedDefaults + defaultCase("DEF_RET", line(0, "L ? A", "CA") + line(1, "RETURN")) +
            defaultCase("DEF_P(n: INTEGER)", line(0, "L ? B", "CB(n)", "FAIL"))));
    ASSERT_TRUE(t.opened) << t.report;
    EXPECT_EQ(defaults(t), "altstep DEF_ALT() runs on BASE\n"
                           "{\n"
                           "  [] L.receive\n"
                           "  {\n"
                           "    setverdict(fail)\n"
                           "    stop\n"
                           "  }\n"
                           "}\n"
                           "\n"
                           "function DEF_IF() runs on BASE return boolean\n"
                           "{\n"
                           "  L.send(CA)\n"
                           "  return true\n"
                           "}\n"
                           "\n"
                           "altstep DEF_RET() runs on BASE\n"
                           "{\n"
                           "  [] L.receive(CA)\n"
                           "  {\n"
                           "    // TODO: 'repeat' statement (generated from 'RETURN') will work correctly only when "
                           "used inside top alternatives\n"
                           "    repeat\n"
                           "  }\n"
                           "}\n"
                           "\n"
                           "altstep DEF_P(integer n) runs on BASE\n"
                           "{\n"
                           "  [] L.receive(CB(n))\n"
                           "  {\n"
                           "    setverdict(fail)\n"
                           "    stop\n"
                           "  }\n"
                           "}\n"
                           "\n");
    EXPECT_EQ(t.warnings,
              warning("'repeat' statement (generated from 'RETURN') will work correctly only when used inside top "
                      "alternatives"));
}

// ---- Groups, compact test groups and the control part ----

std::string testGroup(const std::string& id, const std::string& selection, const std::string& contents) {
    return "  $TestGroup $TestGroupId " + id + " $SelExprId " + selection + " $Objective\n" + contents +
           "  $End_TestGroup\n";
}

std::string compactTestCase(const std::string& id, const std::string& attach, const std::string& selection) {
    return "   $CompactTestCase $TestCaseId " + id + " $TestPurpose $TestStepAttachment " + attach +
           " $Comment $SelectExprId " + selection + " $Description $End_CompactTestCase\n";
}

TEST(Groups, NestedGroupsCompactGroupAndControlPartInSuiteOrder) {
    std::string cases =
        testCase("TC1", line(0, "L ? A", "CA", "PASS")) +
        testGroup("G1", "SEL1",
                  testCase("TC_A", line(0, "L ? A", "CA", "PASS")) +
                      testGroup("G2", "SEL2", testCase("TC_B", line(0, "L ? B", "CB(1)", "PASS"), "", "", "SEL1"))) +
        "  $CompactTestGroup $TestGroupId CG $DefaultsRef DEF_ALT $SelectExprId SEL2 $Objective\n" +
        compactTestCase("CTC1", "+ST_A", "") + compactTestCase("CTC2", "+ST_F", "SEL1") + "  $End_CompactTestGroup\n";
    Translated t = translate(suite(cases, kSharedSteps, kSharedDefaults));
    ASSERT_TRUE(t.opened) << t.report;
    const std::string receiveA = "{\n"
                                 "  alt\n"
                                 "  {\n"
                                 "    [] L.receive(CA)\n"
                                 "    {\n"
                                 "      setverdict(pass)\n"
                                 "      stop\n"
                                 "    }\n"
                                 "  }\n"
                                 "}\n"
                                 "\n";
    EXPECT_EQ(testCases(t), "testcase TC1() runs on BASE\n" + receiveA +
                                "group G1\n"
                                "{\n"
                                "  testcase TC_A() runs on BASE\n"
                                "  {\n"
                                "    alt\n"
                                "    {\n"
                                "      [] L.receive(CA)\n"
                                "      {\n"
                                "        setverdict(pass)\n"
                                "        stop\n"
                                "      }\n"
                                "    }\n"
                                "  }\n"
                                "\n"
                                "  group G2\n"
                                "  {\n"
                                "    testcase TC_B() runs on BASE\n"
                                "    {\n"
                                "      alt\n"
                                "      {\n"
                                "        [] L.receive(CB(1))\n"
                                "        {\n"
                                "          setverdict(pass)\n"
                                "          stop\n"
                                "        }\n"
                                "      }\n"
                                "    }\n"
                                "\n"
                                "  }\n"
                                "}\n"
                                "group CG\n"
                                "{\n"
                                "  testcase CTC1() runs on BASE\n"
                                "  {\n"
                                "    {\n"
                                "      alt\n"
                                "      {\n"
                                "        [] ST_A()\n"
                                "        {\n"
                                "          stop\n"
                                "        }\n"
                                "        // Invoking defaults\n"
                                "        [] DEF_ALT()\n"
                                "        {\n"
                                "        }\n"
                                "      }\n"
                                "    }\n"
                                "  }\n"
                                "  testcase CTC2() runs on BASE\n"
                                "  {\n"
                                "    {\n"
                                "      while(true)\n"
                                "      {\n"
                                "        if (ST_F())\n"
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
                                "  }\n"
                                "}\n");
    EXPECT_EQ(t.control, "control\n"
                         "{\n"
                         "  // TestSuiteVariableDeclarations\n"
                         "  var integer TSV_k := 1\n"
                         "  execute(TC1())\n"
                         "  if (SEL1())\n"
                         "  {\n"
                         "    execute(TC_A())\n"
                         "    if (SEL2())\n"
                         "    {\n"
                         "      if (SEL1())\n"
                         "      {\n"
                         "        execute(TC_B())\n"
                         "      }\n"
                         "    }\n"
                         "  }\n"
                         "  if (SEL2())\n"
                         "  {\n"
                         "    execute(CTC1())\n"
                         "    if (SEL1())\n"
                         "    {\n"
                         "      execute(CTC2())\n"
                         "    }\n"
                         "  }\n"
                         "}\n");
}

TEST(Groups, DynamicPartFrameHasItsThreeGroupsEachFollowedByAnEmptyLine) {
    Translated t = translate(suite("", "", ""));
    ASSERT_TRUE(t.opened) << t.report;
    EXPECT_EQ(t.ttcn, "group DynamicPart\n"
                      "{\n"
                      "  group TestCases\n"
                      "  {\n"
                      "  }\n"
                      "\n"
                      "  group TestStepLibrary\n"
                      "  {\n"
                      "  }\n"
                      "\n"
                      "  group DefaultsLibrary\n"
                      "  {\n"
                      "  }\n"
                      "\n"
                      "}\n"
                      "\n");
    EXPECT_EQ(t.control, "control\n"
                         "{\n"
                         "  // TestSuiteVariableDeclarations\n"
                         "  var integer TSV_k := 1\n"
                         "}\n");
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
    EXPECT_EXIT(visitor.VisitChildren(Children()), ::testing::ExitedWithCode(1),
                "^INTERNAL ERROR: 'in VisitChildren' at XlatorDynamicPart\\.cpp\\([0-9]+\\)\n$");
    EXPECT_EXIT(visitor.VisitBehaviourLine(BehaviourLine()), ::testing::ExitedWithCode(1),
                "^INTERNAL ERROR: 'in VisitBehaviourLine' at XlatorDynamicPart\\.cpp");
    EXPECT_EXIT(visitor.VisitTreeReference(TreeReference()), ::testing::ExitedWithCode(1),
                "^INTERNAL ERROR: 'in VisitTreeReference' at XlatorDynamicPart\\.cpp");
    EXPECT_EXIT(visitor.VisitCompactTestCase(CompactTestCase()), ::testing::ExitedWithCode(1),
                "^INTERNAL ERROR: 'in VisitCompactTestCase' at XlatorDynamicPart\\.cpp");
    EXPECT_EXIT(visitor.VisitEventStatement(EventStatement()), ::testing::ExitedWithCode(1),
                "^ASSERTION FAILED: false \\('INTERNAL_ERROR: in VisitEventStatement'\\) at "
                "XlatorBehaviourStatements\\.cpp");
    EXPECT_EXIT(visitor.VisitCreateTComp(CreateTComp()), ::testing::ExitedWithCode(1),
                "^INTERNAL ERROR: 'in VisitCreateTComp' at XlatorBehaviourStatements\\.cpp");
    EXPECT_EXIT(visitor.VisitCreateAttach(CreateAttach()), ::testing::ExitedWithCode(1),
                "^ASSERTION FAILED: false \\('INTERNAL_ERROR: in VisitCreateAttach'\\) at "
                "XlatorBehaviourStatements\\.cpp");
}

}  // namespace
