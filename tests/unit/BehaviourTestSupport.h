// Helpers of the behaviour translator tests: a small suite around a dynamic
// part, opened, collected and translated, with the dynamic part and the
// control part written into a file of their own.
#pragma once

#include "access/AccessSuite.h"
#include "front/XlatorOutput.h"
#include "translate/XlatorDefinitionCollector.h"
#include "translate/XlatorUtility.h"
#include "translate/XlatorVisitor.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

namespace behaviour_test {

// The declarations every test suite shares: one PCO L of type SAP, a second
// PCO type without PCO, the ASPs A and B on SAP (each with one integer
// parameter f) and their constraints CA and CB (CB with a parameter), the
// timers T1 and T2, the test case variable TCV_n, the test suite variable
// TSV_k, the selection expressions SEL1 and SEL2, the components MTC1 (main)
// and PTC1, PTC2 (parallel) with the configuration CONF.
inline std::string declarations(const std::string& extra = "") {
    return "$DeclarationsPart\n"
           " $Begin_SelectExprDefs\n"
           "  $SelectExprDef $SelectExprId SEL1 $SelectExpr TRUE $End_SelectExprDef\n"
           "  $SelectExprDef $SelectExprId SEL2 $SelectExpr FALSE $End_SelectExprDef\n"
           " $End_SelectExprDefs\n"
           " $Begin_TS_VarDcls\n"
           "  $TS_VarDcl $TS_VarId TSV_k $TS_VarType INTEGER $TS_VarValue 1 $End_TS_VarDcl\n"
           " $End_TS_VarDcls\n"
           " $Begin_TC_VarDcls\n"
           "  $TC_VarDcl $TC_VarId TCV_n $TC_VarType INTEGER $TC_VarValue $End_TC_VarDcl\n"
           " $End_TC_VarDcls\n"
           " $Begin_PCO_TypeDcls\n"
           "  $PCO_TypeDcl $PCO_TypeId SAP $P_Role LT $End_PCO_TypeDcl\n"
           " $End_PCO_TypeDcls\n"
           " $Begin_PCO_Dcls\n"
           "  $PCO_Dcl $PCO_Id L $PCO_TypeId SAP $P_Role LT $End_PCO_Dcl\n" +
           extra +
           " $End_PCO_Dcls\n"
           " $Begin_TimerDcls\n"
           "  $TimerDcl $TimerId T1 $Duration 5 $Unit s $End_TimerDcl\n"
           "  $TimerDcl $TimerId T2 $Duration $Unit s $End_TimerDcl\n"
           " $End_TimerDcls\n"
           " $Begin_TCompDcls\n"
           "  $TCompDcl $TCompId MTC1 $TC_Role MTC $NumOf_PCOs 1 $NumOf_CPs 0 $End_TCompDcl\n"
           "  $TCompDcl $TCompId PTC1 $TC_Role PTC $NumOf_PCOs 0 $NumOf_CPs 0 $End_TCompDcl\n"
           "  $TCompDcl $TCompId PTC2 $TC_Role PTC $NumOf_PCOs 0 $NumOf_CPs 0 $End_TCompDcl\n"
           " $End_TCompDcls\n"
           " $TCompConfigDcls\n"
           "  $Begin_TCompConfigDcl $TCompConfigId CONF\n"
           "   $TCompConfigInfos\n"
           "    $TCompConfigInfo $TCompUsed MTC1 $PCOs_Used L $CPs_Used $End_TCompConfigInfo\n"
           "    $TCompConfigInfo $TCompUsed PTC1 $PCOs_Used $CPs_Used $End_TCompConfigInfo\n"
           "    $TCompConfigInfo $TCompUsed PTC2 $PCOs_Used $CPs_Used $End_TCompConfigInfo\n"
           "   $End_TCompConfigInfos\n"
           "  $End_TCompConfigDcl\n"
           " $End_TCompConfigDcls\n"
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

// A behaviour line: "[indent] statement" with its label, constraint
// reference and verdict (each may be empty).
inline std::string line(int indent, const std::string& statement, const std::string& cref = "",
                        const std::string& verdict = "", const std::string& label = "",
                        const std::string& comment = "") {
    return "    $BehaviourLine $LabelId " + label + " $Line [" + std::to_string(indent) + "] " + statement +
           " $Cref " + cref + " $VerdictId " + verdict + " $Comment " + comment + " $End_BehaviourLine\n";
}

// A local tree header line.
inline std::string header(const std::string& tree) { return "    $Header " + tree + "\n"; }

inline std::string testCase(const std::string& id, const std::string& lines, const std::string& defaults = "",
                            const std::string& configuration = "", const std::string& selection = "") {
    return "  $Begin_TestCase $TestCaseId " + id + " $TestGroupRef $TestPurpose $Configuration " + configuration +
           " $DefaultsRef " + defaults + " $Comment $SelectExprId " + selection +
           "\n   $BehaviourDescription\n" + lines + "   $End_BehaviourDescription\n  $End_TestCase\n";
}

inline std::string testStep(const std::string& id, const std::string& lines, const std::string& defaults = "") {
    return "  $Begin_TestStep $TestStepId " + id + " $TestStepRef $Objective $DefaultsRef " + defaults +
           " $Comment\n   $BehaviourDescription\n" + lines + "   $End_BehaviourDescription\n  $End_TestStep\n";
}

inline std::string defaultCase(const std::string& id, const std::string& lines) {
    return "  $Begin_Default $DefaultId " + id + " $DefaultRef $Objective $Comment\n   $BehaviourDescription\n" +
           lines + "   $End_BehaviourDescription\n  $End_Default\n";
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

// Standard error goes into a file while the translator runs. An assertion
// ends the process; the lines caught so far are then given back to the real
// standard error, so that the test log says why.
class StderrCapture {
public:
    StderrCapture() : file_(std::tmpfile()), saved_(::dup(2)) {
        std::fflush(stderr);
        ::dup2(::fileno(file_), 2);
        active() = this;
        static bool registered = (std::atexit([] {
                                      if (active()) active()->release(true);
                                  }),
                                  true);
        (void)registered;
    }
    ~StderrCapture() {
        release();
        std::fclose(file_);
    }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    // Restores standard error and gives what was caught; `echo` writes it
    // there too.
    std::string release(bool echo = false) {
        if (active() != this) return caught_;
        std::fflush(stderr);
        ::dup2(saved_, 2);
        ::close(saved_);
        active() = nullptr;
        std::rewind(file_);
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file_)) > 0) caught_.append(buffer, n);
        if (echo) std::fputs(caught_.c_str(), stderr);
        return caught_;
    }

private:
    static StderrCapture*& active() {
        static StderrCapture* current = nullptr;
        return current;
    }
    std::FILE* file_;
    int saved_;
    std::string caught_;
};

inline std::string readWhole(std::FILE* file) {
    std::fflush(file);
    std::rewind(file);
    std::string text;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    return text;
}

// What the translator wrote for the dynamic part and the control part of a
// suite, and the warnings it printed.
struct Translated {
    bool opened = false;
    std::string report;    // the analysis report, to see why a suite did not open
    std::string ttcn;      // the dynamic part's group
    std::string control;   // the control part
    std::string warnings;  // standard error
};

// Opens the suite from MP text, lets the collector walk it, then writes its
// dynamic part and its control part as the module frame would.
inline Translated translate(const std::string& mpText) {
    Translated result;
    static int serial = 0;
    std::string path = ::testing::TempDir() + "behaviour_" + std::to_string(::getpid()) + "_" +
                       std::to_string(++serial) + ".mp";
    std::ofstream(path, std::ios::binary) << mpText;
    AccessSuite suite;
    std::FILE* report = std::tmpfile();
    suite.setReportStream(report);
    ::testing::internal::CaptureStdout();
    result.opened = suite.open("\"" + path + "\" ", nullptr) == 1;
    ::testing::internal::GetCapturedStdout();
    result.report = readWhole(report);
    std::fclose(report);
    std::remove(path.c_str());
    if (!result.opened) return result;

    gDefinitionCollector = XlatorDefinitionCollector();
    gpRootBehaviour = nullptr;
    gDefinitionCollector.Visit(suite.root());
    std::FILE* ttcn = std::tmpfile();
    std::FILE* asn = std::tmpfile();
    createOutput(ttcn, asn);
    ASuite root = suite.root().as<ASuite>();
    long dynamicSize = 0;
    StderrCapture errors;
    {
        XlatorVisitor visitor(suite);
        visitor.Visit(AccessNode(root.dynamicPart()));
        std::fflush(ttcn);
        dynamicSize = std::ftell(ttcn);
        visitor.writeControlPart(root);
    }
    result.warnings = errors.release();
    std::string text = readWhole(ttcn);
    result.ttcn = text.substr(0, static_cast<std::size_t>(dynamicSize));
    result.control = text.substr(static_cast<std::size_t>(dynamicSize));
    std::fclose(ttcn);
    std::fclose(asn);
    return result;
}

}  // namespace behaviour_test
