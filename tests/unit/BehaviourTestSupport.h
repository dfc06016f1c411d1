// Helpers of the behaviour translator tests: a small suite around a dynamic
// part, opened, collected and its dynamic part translated into a file of its
// own.
#pragma once

#include "access/AccessSuite.h"
#include "front/XlatorOutput.h"
#include "translate/XlatorDefinitionCollector.h"
#include "translate/XlatorUtility.h"
#include "translate/XlatorVisitor.h"

#include "TestSupport.h"

#include <string>

namespace behaviour_test {

// The declarations every test suite shares: the PCO L of type SAP (and the
// extra PCO declarations given), the ASPs A and B on SAP, each with one
// integer parameter f, their constraints CA and CB(p), and the test case
// variable TCV_n.
inline std::string declarations(const std::string& extraPcos) {
    return "$DeclarationsPart\n"
           " $Begin_TC_VarDcls\n"
           "  $TC_VarDcl $TC_VarId TCV_n $TC_VarType INTEGER $TC_VarValue $End_TC_VarDcl\n"
           " $End_TC_VarDcls\n"
           " $Begin_PCO_TypeDcls $PCO_TypeDcl $PCO_TypeId SAP $P_Role LT $End_PCO_TypeDcl $End_PCO_TypeDcls\n"
           " $Begin_PCO_Dcls\n"
           "  $PCO_Dcl $PCO_Id L $PCO_TypeId SAP $P_Role LT $End_PCO_Dcl\n" +
           extraPcos +
           " $End_PCO_Dcls\n"
           " $TTCN_ASP_TypeDefs\n"
           "  $Begin_TTCN_ASP_TypeDef $ASP_Id A $PCO_Type SAP\n"
           "   $ASP_ParDcls $ASP_ParDcl $ASP_ParId f $ASP_ParType INTEGER $End_ASP_ParDcl $End_ASP_ParDcls\n"
           "  $End_TTCN_ASP_TypeDef\n"
           "  $Begin_TTCN_ASP_TypeDef $ASP_Id B $PCO_Type SAP\n"
           "   $ASP_ParDcls $ASP_ParDcl $ASP_ParId f $ASP_ParType INTEGER $End_ASP_ParDcl $End_ASP_ParDcls\n"
           "  $End_TTCN_ASP_TypeDef\n"
           " $End_TTCN_ASP_TypeDefs\n"
           "$End_DeclarationsPart\n"
           "$ConstraintsPart\n"
           " $TTCN_ASP_Constraints\n"
           "  $Begin_TTCN_ASP_Constraint $ConsId CA $ASP_Id A $DerivPath\n"
           "   $ASP_ParValues $ASP_ParValue $ASP_ParId f $ConsValue 1 $End_ASP_ParValue $End_ASP_ParValues\n"
           "  $End_TTCN_ASP_Constraint\n"
           "  $Begin_TTCN_ASP_Constraint $ConsId CB(p: INTEGER) $ASP_Id B $DerivPath\n"
           "   $ASP_ParValues $ASP_ParValue $ASP_ParId f $ConsValue p $End_ASP_ParValue $End_ASP_ParValues\n"
           "  $End_TTCN_ASP_Constraint\n"
           " $End_TTCN_ASP_Constraints\n"
           "$End_ConstraintsPart\n";
}

// A behaviour line: "[indent] statement" with its constraint reference and
// verdict (each may be empty).
inline std::string line(int indent, const std::string& statement, const std::string& cref = "",
                        const std::string& verdict = "") {
    return "    $BehaviourLine $LabelId $Line [" + std::to_string(indent) + "] " + statement + " $Cref " + cref +
           " $VerdictId " + verdict + " $End_BehaviourLine\n";
}

inline std::string testCase(const std::string& id, const std::string& lines) {
    return "  $Begin_TestCase $TestCaseId " + id + " $TestGroupRef $TestPurpose $Configuration $DefaultsRef\n" +
           "   $BehaviourDescription\n" + lines + "   $End_BehaviourDescription\n  $End_TestCase\n";
}

inline std::string testStep(const std::string& id, const std::string& lines, const std::string& defaults = "") {
    return "  $Begin_TestStep $TestStepId " + id + " $TestStepRef $Objective $DefaultsRef " + defaults +
           "\n   $BehaviourDescription\n" + lines + "   $End_BehaviourDescription\n  $End_TestStep\n";
}

inline std::string defaultCase(const std::string& id, const std::string& lines) {
    return "  $Begin_Default $DefaultId " + id + " $DefaultRef $Objective\n   $BehaviourDescription\n" + lines +
           "   $End_BehaviourDescription\n  $End_Default\n";
}

// A whole suite: the shared declarations, then the dynamic part's test cases,
// test steps and defaults (each may be empty).
inline std::string suite(const std::string& testCases, const std::string& testSteps = "",
                         const std::string& defaults = "", const std::string& extraPcos = "") {
    std::string text = "$Suite $SuiteId S\n" + declarations(extraPcos) + "$DynamicPart\n $TestCases\n" + testCases +
                       " $End_TestCases\n";
    if (!testSteps.empty()) text += " $TestStepLibrary\n" + testSteps + " $End_TestStepLibrary\n";
    if (!defaults.empty()) text += " $DefaultsLibrary\n" + defaults + " $End_DefaultsLibrary\n";
    return text + "$End_DynamicPart\n$End_Suite\n";
}

// What the translator wrote for the dynamic part of a suite.
struct Translated {
    bool opened = false;
    std::string report;  // the analysis report, to see why a suite did not open
    std::string ttcn;    // the dynamic part's group
};

// Opens the suite from MP text, lets the collector walk it, then writes its
// dynamic part as the module frame would. Warnings go to standard error.
inline Translated translate(const std::string& mpText) {
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

}  // namespace behaviour_test
