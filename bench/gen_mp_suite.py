#!/usr/bin/env python3
"""Writes a realistic TTCN.MP test suite of about the given size.

usage: gen_mp_suite.py SIZE_MB OUTPUT.mp

The suite repeats one protocol block per "feature" until the size is reached:
simple and structured types, an ASN.1 type, PDUs, constraints in groups, test
cases with behaviour trees (alternatives, nesting, a local tree), a test step
and a default. Every block uses its own names, so the suite stays valid.
"""
import sys


def overview(name):
    return f"""$Suite
$SuiteId {name}
$SuiteOverviewPart
  $Begin_SuiteStructure
    $SuiteId {name}
    $StandardsRef /* generated benchmark suite */
    $PICSref
    $PIXITref
    $TestMethods /* remote */
    $Comment
    $Structure&Objectives
    $End_Structure&Objectives
    $Comment
  $End_SuiteStructure
$End_SuiteOverviewPart
"""


def rows(tag, pad, id_field, value_field, entries):
    """The rows "$tag ... $End_tag" of a table body, one per (id, value,
    comment), indented by `pad`."""
    out = ""
    for name, value, comment in entries:
        out += (f"{pad}${tag}\n{pad}  ${id_field} {name}\n{pad}  ${value_field} {value}\n"
                f"{pad}  $Comment{' ' + comment if comment else ''}\n{pad}$End_{tag}\n")
    return out


def declarations(i):
    header_elements = rows("ElemDcl", " " * 8, "ElemId", "ElemType",
                           [("kind", "INTEGER", ""), ("length", "INTEGER", "/* octets that follow */"),
                            ("flags", "BITSTRING[8]", "")])
    request_fields = rows("PDU_FieldDcl", " " * 8, "PDU_FieldId", "PDU_FieldType",
                          [("hdr", f"Hdr{i}", ""), ("opt", f"Opt{i}", ""), ("data", "OCTETSTRING[0 TO 128]", "")])
    response_fields = rows("PDU_FieldDcl", " " * 8, "PDU_FieldId", "PDU_FieldType",
                           [("hdr", f"Hdr{i}", ""), ("status", "INTEGER", "")])
    return f"""  $StructTypeDefs
    $Begin_StructTypeDef
      $StructId Hdr{i} (/* header of feature {i} */)
      $EncVariationId
      $Comment /* fixed header */
      $ElemDcls
{header_elements}      $End_ElemDcls
      $Comment
    $End_StructTypeDef
  $End_StructTypeDefs
  $ASN1_TypeDefs
    $Begin_ASN1_TypeDef
      $ASN1_TypeId Opt{i}
      $EncVariationId
      $Comment
      $ASN1_TypeDefinition SEQUENCE {{
        code INTEGER (0..255),
        value OCTET STRING OPTIONAL,
        mode ENUMERATED {{ fast(0), safe(1) }}
      }}
      $Comment
    $End_ASN1_TypeDef
  $End_ASN1_TypeDefs
  $TTCN_PDU_TypeDefs
    $Begin_TTCN_PDU_TypeDef
      $PDU_Id REQ{i} (/* request {i} */)
      $PCO_Type SAP
      $Comment
      $PDU_FieldDcls
{request_fields}      $End_PDU_FieldDcls
      $Comment
    $End_TTCN_PDU_TypeDef
    $Begin_TTCN_PDU_TypeDef
      $PDU_Id RSP{i}
      $PCO_Type SAP
      $Comment
      $PDU_FieldDcls
{response_fields}      $End_PDU_FieldDcls
      $Comment
    $End_TTCN_PDU_TypeDef
  $End_TTCN_PDU_TypeDefs
"""


def constraints(i):
    header_values = rows("ElemValue", " " * 8, "ElemId", "ConsValue",
                         [("kind", i % 200, ""), ("length", "p_len", ""), ("flags", "'00000000'B", "")])
    request_values = rows("PDU_FieldValue", " " * 10, "PDU_FieldId", "ConsValue",
                          [("hdr", f"C_HDR{i}(p_len)", ""), ("opt", f"{{ code {i % 256}, mode fast }}", ""),
                           ("data", "'DEADBEEF'O", "")])
    response_values = rows("PDU_FieldValue", " " * 10, "PDU_FieldId", "ConsValue", [("hdr", "?", ""), ("status", "(0, 1)", "")])
    return f"""  $StructTypeConstraints
    $Begin_StructTypeConstraint
      $ConsId C_HDR{i}(p_len: INTEGER)
      $StructId Hdr{i}
      $DerivPath
      $EncVariationId
      $Comment
      $ElemValues
{header_values}      $End_ElemValues
      $Comment
    $End_StructTypeConstraint
  $End_StructTypeConstraints
  $TTCN_PDU_Constraints
    $TTCN_PDU_ConstraintGroup
      $TTCN_PDU_ConstraintGroupId F{i}
      $Begin_TTCN_PDU_Constraint
        $ConsId C_REQ{i}(p_len: INTEGER)
        $PDU_ConstraintGroupRef F{i}/
        $PDU_Id REQ{i}
        $DerivPath
        $Comment
        $PDU_FieldValues
{request_values}        $End_PDU_FieldValues
        $Comment
      $End_TTCN_PDU_Constraint
      $Begin_TTCN_PDU_Constraint
        $ConsId C_RSP{i}_OK
        $PDU_ConstraintGroupRef F{i}/
        $PDU_Id RSP{i}
        $DerivPath
        $Comment
        $PDU_FieldValues
{response_values}        $End_PDU_FieldValues
        $Comment
      $End_TTCN_PDU_Constraint
    $End_TTCN_PDU_ConstraintGroup
  $End_TTCN_PDU_Constraints
"""


def line(indent, text, cref="", verdict="", label="", comment=""):
    return f"""          $BehaviourLine
            $LabelId {label}
            $Line [{indent}] {text}
            $Cref {cref}
            $VerdictId {verdict}
            $Comment {comment}
          $End_BehaviourLine
"""


def test_case(i, j):
    body = (line(0, "+ST_SETUP" + str(i))
            + line(1, "L ! REQ%d START T_RSP" % i, "C_REQ%d(%d)" % (i, j), label="L_%d" % j)
            + line(2, "L ? RSP%d CANCEL T_RSP" % i, "C_RSP%d_OK" % i, "(PASS)", comment="/* answered */")
            + line(3, "+LT_CHECK")
            + line(2, "L ? OTHERWISE", verdict="FAIL")
            + line(2, "? TIMEOUT T_RSP", verdict="FAIL", comment="/* no answer */")
            + "          $Header LT_CHECK\n"
            + line(0, "[TCV_n < 3] (TCV_n := TCV_n + 1)")
            + line(1, "-> L_%d" % j)
            + line(0, "[TCV_n >= 3]", verdict="PASS"))
    return f"""      $Begin_TestCase
        $TestCaseId TC_F{i}_{j:03d}
        $TestGroupRef BENCH/F{i}/
        $TestPurpose /* Feature {i}, case {j}: the IUT answers request {j} */
        $Configuration
        $DefaultsRef DEF_F{i}
        $Comment
        $BehaviourDescription
{body}        $End_BehaviourDescription
        $Comment
      $End_TestCase
"""


def dynamic(i):
    cases = "".join(test_case(i, j) for j in range(4))
    return f"""    $TestGroup
      $TestGroupId F{i}
{cases}    $End_TestGroup
"""


def steps_and_defaults(i):
    return (f"""    $Begin_TestStep
      $TestStepId ST_SETUP{i}
      $TestStepRef
      $Objective /* reset feature {i} */
      $DefaultsRef
      $Comment
      $BehaviourDescription
""" + line(0, "L ! REQ%d" % i, "C_REQ%d(0)" % i) + line(1, "L ? RSP%d" % i, "C_RSP%d_OK" % i) + """      $End_BehaviourDescription
      $Comment
    $End_TestStep
""", f"""    $Begin_Default
      $DefaultId DEF_F{i}
      $DefaultRef
      $Objective
      $Comment
      $BehaviourDescription
""" + line(0, "L ? OTHERWISE", verdict="FAIL") + line(0, "? TIMEOUT", verdict="FAIL") + """      $End_BehaviourDescription
      $Comment
    $End_Default
""")


def main():
    size = float(sys.argv[1]) * 1000000
    out_name = sys.argv[2]
    block = len(declarations(0)) + len(constraints(0)) + len(dynamic(0)) + sum(len(x) for x in steps_and_defaults(0))
    features = max(1, int(size / block))
    with open(out_name, "w") as out:
        out.write(overview("BENCH"))
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
        for i in range(features):
            out.write(declarations(i))
        out.write("$End_DeclarationsPart\n$ConstraintsPart\n")
        for i in range(features):
            out.write(constraints(i))
        out.write("$End_ConstraintsPart\n$DynamicPart\n  $TestCases\n")
        for i in range(features):
            out.write(dynamic(i))
        out.write("  $End_TestCases\n  $TestStepLibrary\n")
        for i in range(features):
            out.write(steps_and_defaults(i)[0])
        out.write("  $End_TestStepLibrary\n  $DefaultsLibrary\n")
        for i in range(features):
            out.write(steps_and_defaults(i)[1])
        out.write("  $End_DefaultsLibrary\n$End_DynamicPart\n$End_Suite\n")


if __name__ == "__main__":
    main()
