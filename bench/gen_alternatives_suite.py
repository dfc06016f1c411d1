#!/usr/bin/env python3
"""Writes a TTCN.MP test suite that is mostly levels of alternatives.

usage: gen_alternatives_suite.py CASES DEPTH OUTPUT.mp

CASES test cases, each with a defaults reference: a send, then DEPTH levels of
two alternatives each (a receive, and an attach of the table's local tree that
holds the next level). Every level asks the definition collector for the
alternatives' defaults reference and the attached local tree, so the suite
shows how the translation grows with the number of behaviour lines. With a
DEPTH above 1,000 the behaviour translator refuses the suite ("Behaviour lines
nested too deeply"), which tests the walks below it for deep nesting.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gen_mp_suite as g  # noqa: E402  (the blocks of the general benchmark suite)


def test_case(j, depth):
    body = g.line(0, "L ! REQ0 START T_RSP", "C_REQ0(%d)" % (j % 100))
    for d in range(1, depth + 1):
        body += g.line(d, "L ? RSP0", "C_RSP0_OK", "(PASS)" if d == depth else "")
        body += g.line(d, "+LT_OTHER")
    body += ("          $Header LT_OTHER\n" + g.line(0, "L ? OTHERWISE", verdict="FAIL")
             + g.line(0, "? TIMEOUT T_RSP", verdict="FAIL"))
    return f"""      $Begin_TestCase
        $TestCaseId TC_{j:06d}
        $TestGroupRef BENCH/
        $TestPurpose
        $Configuration
        $DefaultsRef DEF_F0
        $Comment
        $BehaviourDescription
{body}        $End_BehaviourDescription
        $Comment
      $End_TestCase
"""


def main():
    cases, depth, out_name = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    step, default = g.steps_and_defaults(0)
    with open(out_name, "w") as out:
        out.write(g.overview("BENCH"))
        out.write("$DeclarationsPart\n")
        out.write("""  $Begin_PCO_Dcls
    $PCO_Dcl
      $PCO_Id L
      $PCO_TypeId SAP
      $P_Role LT
      $Comment
    $End_PCO_Dcl
    $Comment
  $End_PCO_Dcls
  $Begin_TimerDcls
    $TimerDcl
      $TimerId T_RSP
      $Duration 2
      $Unit s
      $Comment
    $End_TimerDcl
    $Comment
  $End_TimerDcls
""")
        out.write(g.declarations(0))
        out.write("$End_DeclarationsPart\n$ConstraintsPart\n")
        out.write(g.constraints(0))
        out.write("$End_ConstraintsPart\n$DynamicPart\n  $TestCases\n    $TestGroup\n      $TestGroupId BENCH\n")
        for j in range(cases):
            out.write(test_case(j, depth))
        out.write("    $End_TestGroup\n  $End_TestCases\n  $TestStepLibrary\n")
        out.write(step)
        out.write("  $End_TestStepLibrary\n  $DefaultsLibrary\n")
        out.write(default)
        out.write("  $End_DefaultsLibrary\n$End_DynamicPart\n$End_Suite\n")


if __name__ == "__main__":
    main()
