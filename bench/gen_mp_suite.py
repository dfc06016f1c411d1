#!/usr/bin/env python3
"""Writes a TTCN-2 test suite of about the given size, shaped like real ones.

usage: gen_mp_suite.py SIZE_MB OUT_DIR

Writes into OUT_DIR the root suite bench.mp, the module bench_lib.mp that it
imports from, and the ASN.1 modules bench_asn_N.asn that its by-reference
tables name; prints the files in the order of the converter's command line
(the root first), one per line, and a summary of the mix on standard error.

The suite is made of "features" (one protocol function each: its types, its
constraints, its test cases, steps and defaults). How many tables and rows of
each kind a feature has is the table MIX below; every table kind of a test
suite and of a module appears. The shares of real suites that it follows:
ASP types and ASP constraints are the most frequent tables; the dynamic part
is about 40 % of the bytes; comments about 10 %; behaviour trees nest up to
seven levels, with labels, GOTOs, defaults, local trees, attached steps and
CREATE of parallel components. Every name used is declared, and the suite
analyses with "No Errors found.".
"""
import os
import sys

# Tables (or rows of multiple-object tables) per feature. A fraction p means
# one in every 1/p features. Global tables (PCOs, components, encodings)
# are written once and are not in this table.
MIX = {
    # declarations
    "SimpleTypeDef": 3,            # rows
    "StructTypeDef": 1,
    "ASN1_TypeDef": 0.5,
    "ASN1_TypeRef": 2,             # rows, by reference into the .asn modules
    "TS_OpDef": 0.5,
    "TS_ProcDef": 0.2,
    "TS_ParDcl": 1,                # rows
    "SelectExprDef": 0.5,          # rows
    "TS_ConstDcl": 2,              # rows
    "TS_ConstRef": 1,              # rows, by reference
    "TS_VarDcl": 0.5,              # rows
    "TC_VarDcl": 2,                # rows
    "TimerDcl": 1,                 # rows
    "TTCN_ASP_TypeDef": 8,
    "ASN1_ASP_TypeDef": 0.5,
    "ASN1_ASP_TypeDefByRef": 1,    # rows
    "TTCN_PDU_TypeDef": 2,
    "ASN1_PDU_TypeDef": 0.5,
    "ASN1_PDU_TypeDefByRef": 1,    # rows
    "TTCN_CM_TypeDef": 0.5,
    "ASN1_CM_TypeDef": 0.25,
    "AliasDef": 1,                 # rows
    # constraints
    "StructTypeConstraint": 1,
    "ASN1_TypeConstraint": 2,
    "TTCN_ASP_Constraint": 11,
    "ASN1_ASP_Constraint": 1,
    "TTCN_PDU_Constraint": 3,
    "ASN1_PDU_Constraint": 1,
    "TTCN_CM_Constraint": 0.5,
    "ASN1_CM_Constraint": 0.25,
    # dynamic part
    "TestCase": 4,
    "ParallelTestCase": 0.5,       # test cases with a configuration and CREATE
    "CompactTestCase": 0.5,        # rows of compact test groups
    "TestStep": 2,
    "Default": 1,
    # the imported module
    "ModuleTypes": 1,              # a simple type, a PDU type, a constraint and a step
}

ASN1_FEATURES_PER_MODULE = 250  # features whose ASN.1 types share one .asn file
ASP_PER_FEATURE = int(MIX["TTCN_ASP_TypeDef"])


def count(kind, i):
    """How many of `kind` feature i has (fractions spread evenly)."""
    p = MIX[kind]
    return int((i + 1) * p) - int(i * p)


def asn_module(i):
    return f"BenchAsn{i // ASN1_FEATURES_PER_MODULE}"


def comment(text):
    return f"/* {text} */"


def cell(pad, name, value=""):
    return f"{pad}${name}{' ' + str(value) if value != '' else ''}\n"


def row(pad, tag, fields):
    """A row "$tag ... $End_tag" with its fields, one per line."""
    inner = pad + "  "
    return f"{pad}${tag}\n" + "".join(cell(inner, k, v) for k, v in fields) + f"{pad}$End_{tag}\n"


def table(pad, tag, header, body="", footer=None):
    """A single-object table "$Begin_tag ... $End_tag"."""
    inner = pad + "  "
    text = f"{pad}$Begin_{tag}\n" + "".join(cell(inner, k, v) for k, v in header) + body
    if footer is not None:
        text += cell(inner, "Comment", footer)
    return text + f"{pad}$End_{tag}\n"


def grouping(pad, tag, inside):
    return f"{pad}${tag}\n{inside}{pad}$End_{tag}\n" if inside else ""


# ---------------------------------------------------------------------------
# Names shared by several parts

def asp_name(i, k):
    kinds = ["CONNECT_req", "CONNECT_cnf", "DATA_req", "DATA_ind", "RESET_req", "RESET_ind", "STATUS_req",
             "STATUS_ind", "RELEASE_req", "RELEASE_ind"]
    return f"F{i}_{kinds[k % len(kinds)]}{'' if k < len(kinds) else k}"


def asp_pco_type(k):
    return "LSAP" if k % 4 != 3 else "USAP"


def asp_pco(k):
    return "L" if k % 4 != 3 else "U"


# ---------------------------------------------------------------------------
# Overview and import parts

def overview_rows(i, pad):
    out = row(pad, "Structure&Objective", [("TestGroupRef", f"BENCH/F{i}/"),
                                            ("SelectExprId", f"SEL_F{i}" if count("SelectExprDef", i) else ""),
                                            ("Objective", comment(f"Feature {i}: connection, data transfer, "
                                                                   "reset and release of the service"))])
    return out


def case_index_rows(i, pad):
    out = ""
    for j in range(count("TestCase", i) + count("ParallelTestCase", i)):
        out += row(pad, "CaseIndex", [("TestGroupRef", f"F{i}/"), ("TestCaseId", f"TC_F{i}_{j:03d}"),
                                      ("SelectExprId", ""),
                                      ("Description", comment(f"The IUT handles request {j} of feature {i}"))])
    return out


def step_index_rows(i, pad):
    out = ""
    for j in range(count("TestStep", i)):
        out += row(pad, "StepIndex", [("TestStepRef", f"STEPS_F{i}/"), ("TestStepId", f"ST_F{i}_{j}"),
                                      ("Description", comment(f"step {j} of feature {i}"))])
    return out


def default_index_rows(i, pad):
    out = ""
    for j in range(count("Default", i)):
        out += row(pad, "DefIndex", [("DefaultRef", f"DEFAULTS_F{i}/"), ("DefaultId", f"DEF_F{i}_{j}"),
                                     ("Description", comment("unexpected events fail the test"))])
    return out


def imported_rows(i, pad):
    if not count("ModuleTypes", i):
        return ""
    objects = [(f"LIB_COUNT_{i}", "SimpleType_Object"), (f"LIB_PDU_{i}", "TTCN_PDU_Type_Object"),
               (f"C_LIB_PDU_{i}", "TTCN_PDU_Constraint_Object"), (f"LIB_STEP_{i}", "TestStep_Object")]
    return "".join(row(pad, "ImportedObject", [("ObjectId", name), ("ObjectType", kind), ("Comment", "")])
                   for name, kind in objects)


# ---------------------------------------------------------------------------
# Declarations part

def simple_type_rows(i, pad):
    defs = [(f"SEQ_F{i}", "INTEGER (0 .. 255)", comment("modulo-256 sequence number")),
            (f"PAYLOAD_F{i}", "OCTETSTRING[0 TO 64]", ""),
            (f"CAUSE_F{i}", "INTEGER (0, 1, 2, 3, 16, 17)", comment("cause values of clause 7"))]
    out = ""
    for n in range(count("SimpleTypeDef", i)):
        name, definition, note = defs[n % len(defs)]
        out += row(pad, "SimpleTypeDef", [("SimpleTypeId", name + ("" if n < len(defs) else str(n))),
                                          ("SimpleTypeDefinition", definition), ("Comment", note)])
    return out


def struct_types(i, pad):
    out = ""
    for n in range(count("StructTypeDef", i)):
        elems = "".join(row(pad + "    ", "ElemDcl", [("ElemId", e), ("ElemType", t), ("Comment", c)])
                        for e, t, c in [("station", "INTEGER", comment("station number")),
                                        ("sap", "OCTETSTRING[1]", ""),
                                        ("flags", "BITSTRING[8]", comment("bit 8: priority")),
                                        ("seq", f"SEQ_F{i}", "")])
        out += table(pad, "StructTypeDef",
                     [("StructId", f"ADDR_F{i}{'_' + str(n) if n else ''} (/* link address of feature {i} */)"),
                      ("EncVariationId", ""), ("Comment", comment("station and service access point"))],
                     grouping(pad + "  ", "ElemDcls", elems), "")
    return out


def asn1_types(i, pad):
    out = ""
    for _ in range(count("ASN1_TypeDef", i)):
        out += table(pad, "ASN1_TypeDef",
                     [("ASN1_TypeId", f"Params{i}"), ("EncVariationId", ""),
                      ("Comment", comment("parameters negotiated at set-up")),
                      ("ASN1_TypeDefinition", "SEQUENCE {\n"
                       f"{pad}      window INTEGER (1..7),\n"
                       f"{pad}      timeout INTEGER OPTIONAL,\n"
                       f"{pad}      mode ENUMERATED {{ fast(0), safe(1) }}\n"
                       f"{pad}    }}")], "", "")
    return out


def asn1_type_ref_rows(i, pad):
    out = ""
    names = [("REF_REC", "Rec"), ("REF_MSG", "Msg")]
    for n in range(count("ASN1_TypeRef", i)):
        ttcn, asn = names[n % 2]
        out += row(pad, "ASN1_TypeRef", [("ASN1_TypeId", f"{ttcn}_F{i}"), ("ASN1_TypeReference", f"{asn}{i}"),
                                         ("ASN1_ModuleId", asn_module(i)), ("Comment", "")])
    return out


def encodings(pad):
    rules = "".join(row(pad + "  ", "EncodingDefinition", [("EncodingRuleId", rule), ("EncodingRef", ref),
                                                          ("EncodingDefault", ""), ("Comment", "")])
                    for rule, ref in [("BER", comment("ITU-T X.690 basic encoding rules")),
                                      ("PER", comment("ITU-T X.691 packed encoding rules"))])
    variations = "".join(row(pad + "      ", "EncodingVariation",
                             [("EncodingVariationId", v), ("VariationRef", comment(ref)), ("VariationDefault", ""),
                              ("Comment", "")])
                         for v, ref in [("SHORT_FORM", "definite short length form"),
                                        ("LONG_FORM", "definite long length form")])
    return (f"{pad}$Begin_EncodingDefinitions\n{rules}{pad}  $Comment\n{pad}$End_EncodingDefinitions\n"
            + grouping(pad, "EncodingVariations",
                       table(pad + "  ", "EncodingVariationSet",
                             [("EncodingRuleId", "BER"), ("TypeList", ""), ("Comment", "")],
                             grouping(pad + "    ", "EncodingVariationList", variations)))
            + grouping(pad, "InvalidFieldEncodingDefs",
                       table(pad + "  ", "InvalidFieldEncodingDef",
                             [("InvalidFieldEncodingId", "BAD_LENGTH(n: INTEGER)"), ("TypeList", ""),
                              ("Comment", ""),
                              ("InvalidFieldEncodingDefinition", comment("length field off by n"))])))


def ts_ops(i, pad):
    out = ""
    for _ in range(count("TS_OpDef", i)):
        out += table(pad, "TS_OpDef", [("TS_OpId", f"LEN_F{i}(x: INTEGER; y: PAYLOAD_F{i})"),
                                       ("TS_OpResult", "INTEGER"), ("Comment", ""),
                                       ("TS_OpDescription", comment("the encoded length of y plus x octets"))], "", "")
    return out


def ts_procs(i, pad):
    out = ""
    for _ in range(count("TS_ProcDef", i)):
        out += table(pad, "TS_ProcDef", [("TS_ProcId", f"CHECK_F{i}(x: INTEGER)"), ("TS_ProcResult", "BOOLEAN"),
                                         ("Comment", ""), ("TS_ProcDescription", comment("TRUE when x is valid"))],
                     "", "")
    return out


def ts_par_rows(i, pad):
    return "".join(row(pad, "TS_ParDcl", [("TS_ParId", f"PX_WINDOW_F{i}{n or ''}"), ("TS_ParType", "INTEGER"),
                                         ("PICS_PIXITref", comment(f"PIXIT A.{i}")), ("Comment", "")])
                   for n in range(count("TS_ParDcl", i)))


def select_rows(i, pad):
    return "".join(row(pad, "SelectExprDef", [("SelectExprId", f"SEL_F{i}"),
                                             ("SelectExpr", f"PX_WINDOW_F{i} > 0"),
                                             ("Comment", comment("the feature is implemented"))])
                   for _ in range(count("SelectExprDef", i)))


def const_rows(i, pad):
    defs = [(f"TSC_MAX_F{i}", "INTEGER", "3", comment("retries")),
            (f"TSC_ADDR_F{i}", "OCTETSTRING", "'0A0B'O", "")]
    return "".join(row(pad, "TS_ConstDcl", [("TS_ConstId", defs[n % 2][0] + ("" if n < 2 else str(n))),
                                           ("TS_ConstType", defs[n % 2][1]), ("TS_ConstValue", defs[n % 2][2]),
                                           ("Comment", defs[n % 2][3])])
                   for n in range(count("TS_ConstDcl", i)))


def const_ref_rows(i, pad):
    return "".join(row(pad, "TS_ConstRef", [("TS_ConstId", f"TSC_LEN_F{i}"), ("TS_ConstType", "INTEGER"),
                                           ("ASN1_ValueReference", f"maxLen{i}"),
                                           ("ASN1_ModuleId", asn_module(i)), ("Comment", "")])
                   for _ in range(count("TS_ConstRef", i)))


def ts_var_rows(i, pad):
    return "".join(row(pad, "TS_VarDcl", [("TS_VarId", f"TSV_COUNT_F{i}"), ("TS_VarType", "INTEGER"),
                                         ("TS_VarValue", "0"), ("Comment", "")])
                   for _ in range(count("TS_VarDcl", i)))


def tc_var_rows(i, pad):
    defs = [(f"TCV_N_F{i}", "INTEGER", "0", comment("retries so far")),
            (f"TCV_SEQ_F{i}", f"SEQ_F{i}", "", "")]
    return "".join(row(pad, "TC_VarDcl", [("TC_VarId", defs[n % 2][0] + ("" if n < 2 else str(n))),
                                         ("TC_VarType", defs[n % 2][1]), ("TC_VarValue", defs[n % 2][2]),
                                         ("Comment", defs[n % 2][3])])
                   for n in range(count("TC_VarDcl", i)))


def timer_rows(i, pad):
    return "".join(row(pad, "TimerDcl", [("TimerId", f"T_RSP_F{i}{n or ''}"), ("Duration", "5"), ("Unit", "s"),
                                        ("Comment", comment("response supervision"))])
                   for n in range(count("TimerDcl", i)))


def communication(pad):
    pco_types = "".join(row(pad + "  ", "PCO_TypeDcl", [("PCO_TypeId", t), ("P_Role", r), ("Comment", "")])
                        for t, r in [("LSAP", "LT"), ("USAP", "UT")])
    pcos = "".join(row(pad + "  ", "PCO_Dcl", [("PCO_Id", p), ("PCO_TypeId", t), ("P_Role", r),
                                              ("Comment", comment(c))])
                   for p, t, r, c in [("L", "LSAP", "LT", "lower tester below the IUT"),
                                      ("U", "USAP", "UT", "upper tester above the IUT")])
    cps = row(pad + "  ", "CP_Dcl", [("CP_Id", "CP1"), ("Comment", comment("between MTC and PTC"))])
    return (f"{pad}$Begin_PCO_TypeDcls\n{pco_types}{pad}$End_PCO_TypeDcls\n"
            f"{pad}$Begin_PCO_Dcls\n{pcos}{pad}$End_PCO_Dcls\n"
            f"{pad}$Begin_CP_Dcls\n{cps}{pad}$End_CP_Dcls\n")


def components(pad):
    comps = "".join(row(pad + "  ", "TCompDcl", [("TCompId", c), ("TCompRole", r), ("NumOfPCOs", p),
                                                ("NumOfCPs", n), ("Comment", "")])
                    for c, r, p, n in [("MTC1", "MTC", 1, 1), ("PTC1", "PTC", 1, 1)])
    infos = "".join(row(pad + "      ", "TCompConfigInfo", [("TCompUsed", c), ("PCOs_Used", p), ("CPs_Used", "CP1"),
                                                           ("Comment", "")])
                    for c, p in [("MTC1", "L"), ("PTC1", "U")])
    config = table(pad + "  ", "TCompConfigDcl", [("TCompConfigId", "CONFIG_MP"), ("Comment", "")],
                   grouping(pad + "    ", "TCompConfigInfos", infos))
    return f"{pad}$Begin_TCompDcls\n{comps}{pad}$End_TCompDcls\n" + grouping(pad, "TCompConfigDcls", config)


def asp_types(i, pad):
    out = ""
    for k in range(count("TTCN_ASP_TypeDef", i)):
        params = [("dest", f"ADDR_F{i}", comment("called address")),
                  ("seq", f"SEQ_F{i}", comment("sequence number of the request")),
                  ("data", f"PAYLOAD_F{i}", comment("user data, at most 64 octets")),
                  ("cause", f"CAUSE_F{i}", comment("reason given by the IUT")),
                  ("prio", "BOOLEAN", comment("expedited when TRUE")), ("qos", "INTEGER", "")]
        body = "".join(row(pad + "    ", "ASP_ParDcl", [("ASP_ParId", n), ("ASP_ParType", t), ("Comment", c)])
                       for n, t, c in params[:3 + k % 4])
        full = f" (/* {asp_name(i, k).split('_', 1)[1].replace('_', ' ')} primitive */)" if k % 3 == 0 else ""
        out += table(pad, "TTCN_ASP_TypeDef", [("ASP_Id", asp_name(i, k) + full), ("PCO_Type", asp_pco_type(k)),
                                               ("Comment", comment(f"service primitive {k} of feature {i}"))],
                     grouping(pad + "  ", "ASP_ParDcls", body), "")
    return out


def asn1_asp_types(i, pad):
    return "".join(table(pad, "ASN1_ASP_TypeDef",
                         [("ASP_Id", f"F{i}_SETUP_req"), ("PCO_Type", "LSAP"), ("Comment", ""),
                          ("ASN1_TypeDefinition", f"SEQUENCE {{ address OCTET STRING, urgent BOOLEAN OPTIONAL }}")],
                         "", "")
                   for _ in range(count("ASN1_ASP_TypeDef", i)))


def asn1_asp_ref_rows(i, pad):
    return "".join(row(pad, "ASN1_ASP_TypeRef", [("ASP_Id", f"F{i}_REF_req"), ("PCO_Type", "LSAP"),
                                                ("ASN1_TypeReference", f"Req{i}"), ("ASN1_ModuleId", asn_module(i)),
                                                ("Comment", "")])
                   for _ in range(count("ASN1_ASP_TypeDefByRef", i)))


def pdu_types(i, pad):
    out = ""
    for k in range(count("TTCN_PDU_TypeDef", i)):
        fields = [("hdr", f"ADDR_F{i}", ""), ("len", "INTEGER", comment("length of data in octets")),
                  ("data", f"PAYLOAD_F{i}", ""), ("chk", "OCTETSTRING[2]", "")]
        body = "".join(row(pad + "    ", "PDU_FieldDcl", [("PDU_FieldId", n), ("PDU_FieldType", t),
                                                        ("PDU_FieldEncoding", "SHORT_FORM" if n == "len" else ""),
                                                        ("Comment", c)])
                       for n, t, c in fields)
        out += table(pad, "TTCN_PDU_TypeDef", [("PDU_Id", f"F{i}_PDU{k}"), ("PCO_Type", "LSAP"),
                                               ("PDU_EncodingId", "BER"), ("EncVariationId", ""),
                                               ("Comment", comment("frame exchanged with the peer entity"))],
                     grouping(pad + "  ", "PDU_FieldDcls", body), "")
    return out


def asn1_pdu_types(i, pad):
    return "".join(table(pad, "ASN1_PDU_TypeDef",
                         [("PDU_Id", f"F{i}_ACK"), ("PCO_Type", "LSAP"), ("PDU_EncodingId", "PER"),
                          ("EncVariationId", ""), ("Comment", ""),
                          ("ASN1_TypeDefinition", "SEQUENCE { seq INTEGER (0..255), more BOOLEAN }")], "", "")
                   for _ in range(count("ASN1_PDU_TypeDef", i)))


def asn1_pdu_ref_rows(i, pad):
    return "".join(row(pad, "ASN1_PDU_TypeRef", [("PDU_Id", f"F{i}_REF_PDU"), ("PCO_Type", "LSAP"),
                                                ("ASN1_TypeReference", f"Pdu{i}"), ("ASN1_ModuleId", asn_module(i)),
                                                ("PDU_EncodingId", "BER"), ("EncVariationId", ""), ("Comment", "")])
                   for _ in range(count("ASN1_PDU_TypeDefByRef", i)))


def cm_types(i, pad):
    out = ""
    for _ in range(count("TTCN_CM_TypeDef", i)):
        body = row(pad + "    ", "CM_ParDcl", [("CM_ParId", "step"), ("CM_ParType", "INTEGER"), ("Comment", "")])
        out += table(pad, "TTCN_CM_TypeDef", [("CM_Id", f"F{i}_READY"), ("Comment", "")],
                     grouping(pad + "  ", "CM_ParDcls", body), "")
    return out


def asn1_cm_types(i, pad):
    return "".join(table(pad, "ASN1_CM_TypeDef", [("CM_Id", f"F{i}_GO"), ("Comment", ""),
                                                  ("ASN1_TypeDefinition", "SEQUENCE { go BOOLEAN }")], "", "")
                   for _ in range(count("ASN1_CM_TypeDef", i)))


def alias_rows(i, pad):
    return "".join(row(pad, "AliasDef", [("AliasId", f"F{i}_SEND"), ("ExpandedId", asp_name(i, 2)),
                                        ("Comment", comment("data request by its short name"))])
                   for _ in range(count("AliasDef", i)))


# ---------------------------------------------------------------------------
# Constraints part

def struct_constraints(i, pad):
    out = ""
    for _ in range(count("StructTypeConstraint", i)):
        values = "".join(row(pad + "    ", "ElemValue", [("ElemId", e), ("ConsValue", v), ("Comment", "")])
                         for e, v in [("station", "p_station"), ("sap", "'01'O"), ("flags", "?"), ("seq", "0")])
        out += table(pad, "StructTypeConstraint",
                     [("ConsId", f"C_ADDR_F{i}(p_station: INTEGER)"), ("StructId", f"ADDR_F{i}"), ("DerivPath", ""),
                      ("Comment", comment("an address at the given station"))],
                     grouping(pad + "  ", "ElemValues", values), "")
    return out


def asn1_type_constraints(i, pad):
    out = ""
    for n in range(count("ASN1_TypeConstraint", i)):
        if n % 2 == 0:
            header = [("ConsId", f"C_REC_F{i}"), ("ASN1_TypeId", f"REF_REC_F{i}"), ("DerivPath", ""), ("Comment", ""),
                      ("ASN1_ConsValue", f"{{ id {i % 65536}, flag TRUE, data '00FF'O }}")]
        else:
            header = [("ConsId", f"C_MSG_F{i}"), ("ASN1_TypeId", f"REF_MSG_F{i}"), ("DerivPath", ""), ("Comment", ""),
                      ("ASN1_ConsValue", f"ack {i % 100}")]
        out += table(pad, "ASN1_TypeConstraint", header, "", "")
    return out


# Parameter values of ASP constraints, in rotation: values, references and
# matching symbols of every kind a real suite uses.
ASP_VALUES = [
    lambda i, p: {"dest": f"C_ADDR_F{i}(1)", "seq": "p_seq", "data": f"TSC_ADDR_F{i}", "cause": "0",
                  "prio": "FALSE", "qos": "?"},
    lambda i, p: {"dest": "?", "seq": "(0 TO 7)", "data": "* IF_PRESENT", "cause": "(0, 1, 2)",
                  "prio": "?", "qos": "OMIT"},
    lambda i, p: {"dest": f"C_ADDR_F{i}(2)", "seq": "p_seq + 1", "data": "'0102'O", "cause": "COMPLEMENT(16, 17)",
                  "prio": "TRUE", "qos": f"PX_WINDOW_F{i}"},
]


def asp_constraints(i, pad):
    out = ""
    n = count("TTCN_ASP_Constraint", i)
    for c in range(n):
        k = c % ASP_PER_FEATURE
        params = ["dest", "seq", "data", "cause", "prio", "qos"][:3 + k % 4]
        values = ASP_VALUES[c % len(ASP_VALUES)](i, None)
        body = "".join(row(pad + "    ", "ASP_ParValue", [("ASP_ParId", p), ("ConsValue", values[p]),
                                                          ("Comment", comment("any value") if values[p] == "?" else "")])
                       for p in params)
        derived = c >= ASP_PER_FEATURE  # the later ones modify the first constraint of their ASP
        cons = f"C_{asp_name(i, k)}_{c}"
        out += table(pad, "TTCN_ASP_Constraint",
                     [("ConsId", cons + "(p_seq: INTEGER)"), ("ASP_Id", asp_name(i, k)),
                      ("DerivPath", f"C_{asp_name(i, k)}_{k}." if derived else ""),
                      ("Comment", comment(f"constraint {c} of feature {i}: "
                                          + ("the base form" if c < ASP_PER_FEATURE else "a modified form")))],
                     grouping(pad + "  ", "ASP_ParValues", body), "")
    return out


def asn1_asp_constraints(i, pad):
    out = ""
    for _ in range(count("ASN1_ASP_Constraint", i)):
        out += table(pad, "ASN1_ASP_Constraint",
                     [("ConsId", f"C_F{i}_REF_req"), ("ASP_Id", f"F{i}_REF_req"), ("DerivPath", ""), ("Comment", ""),
                      ("ASN1_ConsValue", "{ called '0A0B'O, window 3 }")], "", "")
    if count("ASN1_ASP_TypeDef", i):
        out += table(pad, "ASN1_ASP_Constraint",
                     [("ConsId", f"C_F{i}_SETUP_req"), ("ASP_Id", f"F{i}_SETUP_req"), ("DerivPath", ""),
                      ("Comment", ""), ("ASN1_ConsValue", "{ address '01'O, urgent TRUE }")], "", "")
    return out


def pdu_constraints(i, pad):
    out = ""
    for c in range(count("TTCN_PDU_Constraint", i)):
        k = c % int(max(1, MIX["TTCN_PDU_TypeDef"]))
        values = [("hdr", f"C_ADDR_F{i}({c})"), ("len", "p_len"), ("data", "? [1 TO 8]" if c % 2 else "'FF'O"),
                  ("chk", "?")]
        body = "".join(row(pad + "      ", "PDU_FieldValue", [("PDU_FieldId", f), ("ConsValue", v),
                                                              ("PDU_FieldEncoding", ""), ("Comment", "")])
                       for f, v in values)
        out += table(pad + "  ", "TTCN_PDU_Constraint",
                     [("ConsId", f"C_F{i}_PDU{c}(p_len: INTEGER)"), ("PDU_ConstraintGroupRef", f"F{i}_FRAMES/"),
                      ("PDU_Id", f"F{i}_PDU{k}"), ("DerivPath", ""), ("EncRuleId", ""), ("EncVariationId", ""),
                      ("Comment", comment("a frame carrying p_len octets"))],
                     grouping(pad + "    ", "PDU_FieldValues", body), "")
    if not out:
        return ""
    return (f"{pad}$TTCN_PDU_ConstraintGroup\n{pad}  $TTCN_PDU_ConstraintGroupId F{i}_FRAMES\n{out}"
            f"{pad}$End_TTCN_PDU_ConstraintGroup\n")


def asn1_pdu_constraints(i, pad):
    out = ""
    for _ in range(count("ASN1_PDU_Constraint", i)):
        out += table(pad, "ASN1_PDU_Constraint",
                     [("ConsId", f"C_F{i}_REF_PDU"), ("PDU_Id", f"F{i}_REF_PDU"), ("DerivPath", ""),
                      ("EncRuleId", ""), ("EncVariationId", ""), ("Comment", ""),
                      ("ASN1_ConsValue", "{ seqNo 1, body data '0A'O }")], "", "")
    if count("ASN1_PDU_TypeDef", i):
        out += table(pad, "ASN1_PDU_Constraint",
                     [("ConsId", f"C_F{i}_ACK"), ("PDU_Id", f"F{i}_ACK"), ("DerivPath", ""), ("EncRuleId", ""),
                      ("EncVariationId", ""), ("Comment", ""), ("ASN1_ConsValue", "{ seq ?, more FALSE }")], "", "")
    return out


def cm_constraints(i, pad):
    out = ""
    for _ in range(count("TTCN_CM_Constraint", i)):
        body = row(pad + "    ", "CM_ParValue", [("CM_ParId", "step"), ("ConsValue", "1"), ("Comment", "")])
        out += table(pad, "TTCN_CM_Constraint", [("ConsId", f"C_F{i}_READY"), ("CM_Id", f"F{i}_READY"),
                                                 ("DerivPath", ""), ("Comment", "")],
                     grouping(pad + "  ", "CM_ParValues", body), "")
    return out


def asn1_cm_constraints(i, pad):
    return "".join(table(pad, "ASN1_CM_Constraint", [("ConsId", f"C_F{i}_GO"), ("CM_Id", f"F{i}_GO"),
                                                     ("DerivPath", ""), ("Comment", ""),
                                                     ("ASN1_ConsValue", "{ go TRUE }")], "", "")
                   for _ in range(count("ASN1_CM_Constraint", i)))


# ---------------------------------------------------------------------------
# Dynamic part

def bline(pad, level, text, cref="", verdict="", label="", note=""):
    if not note and (" ! " in text or " ? " in text) and "OTHERWISE" not in text:
        # Sends and receives carry the comment a test writer gives them.
        pco, sign, message = text.partition(" ! " if " ! " in text else " ? ")
        note = comment(f"{'send' if sign == ' ! ' else 'await'} {message.split()[0]} at {pco}")
    return row(pad, "BehaviourLine", [("LabelId", label), ("Line", f"[{level}] {text}"), ("Cref", cref),
                                      ("VerdictId", verdict), ("Comment", note)])


def header(pad, name):
    return f"{pad}$Header {name}\n"


def asp_cref(i, c, arg="0"):
    """The c-th ASP constraint of feature i with its ASP, and the PCO it goes through."""
    k = c % ASP_PER_FEATURE
    return f"C_{asp_name(i, k)}_{c}({arg})", asp_name(i, k), asp_pco(k)


def exchange(pad, i, level, c):
    """A send and the receive that answers it."""
    cref, asp, pco = asp_cref(i, c, f"TCV_N_F{i}")
    rcref, rasp, rpco = asp_cref(i, c + 1, "?")
    return (bline(pad, level, f"{pco} ! {asp} START T_RSP_F{i}", cref),
            bline(pad, level + 1, f"{rpco} ? {rasp} CANCEL T_RSP_F{i}", rcref))


def test_case_body(i, j, pad):
    """A behaviour tree seven levels deep with a label, a GOTO back to it, a
    qualifier loop, an alias, a PDU exchange, a local tree and the usual
    OTHERWISE and TIMEOUT alternatives."""
    c = (j * 3) % MIX["TTCN_ASP_Constraint"]
    send, answer = exchange(pad, i, 1, int(c))
    pdu = f"C_F{i}_PDU{j % max(1, int(MIX['TTCN_PDU_Constraint']))}"
    steps = count("TestStep", i)
    body = bline(pad, 0, f"+ST_F{i}_0(TCV_N_F{i})" if steps else f"L ! F{i}_SEND", "" if steps else
                 asp_cref(i, 2, "0")[0], note=comment("preamble"))
    body += send + answer
    body += bline(pad, 3, f"[TCV_N_F{i} < TSC_MAX_F{i}] (TCV_N_F{i} := TCV_N_F{i} + 1)", label=f"LB_{j}")
    body += bline(pad, 4, f"L ! F{i}_PDU{j % max(1, int(MIX['TTCN_PDU_TypeDef']))} START T_RSP_F{i}",
                  f"{pdu}(TCV_N_F{i})")
    body += bline(pad, 5, f"L ? F{i}_SEND CANCEL T_RSP_F{i}", asp_cref(i, 2, "?")[0], note=comment("echo"))
    body += bline(pad, 6, f"+LT_CHECK_{j}(TCV_N_F{i})")
    body += bline(pad, 7, f"L ! {asp_name(i, 4)}", asp_cref(i, 4, "0")[0], "PASS")
    body += bline(pad, 5, f"? TIMEOUT T_RSP_F{i}", verdict="FAIL", note=comment("no echo"))
    body += bline(pad, 3, f"[TCV_N_F{i} >= TSC_MAX_F{i}]", verdict="(INCONC)")
    body += bline(pad, 4, f"-> LB_{j}" if j % 2 else "GOTO LB_" + str(j))
    body += bline(pad, 2, "L ? OTHERWISE", verdict="FAIL", note=comment("unexpected event"))
    body += bline(pad, 2, f"? TIMEOUT T_RSP_F{i}", verdict="FAIL", note=comment("no answer"))
    body += header(pad, f"LT_CHECK_{j}(p_n: INTEGER)")
    cref, asp, pco = asp_cref(i, 1, "p_n")
    body += bline(pad, 0, f"{pco} ? {asp}", cref, "(PASS)")
    body += bline(pad, 0, f"L ? OTHERWISE", verdict="FAIL")
    return body


def parallel_body(i, j, pad):
    cref, asp, pco = asp_cref(i, 0, "1")
    body = bline(pad, 0, f"CREATE(PTC1: PTC_F{i}_{j})", note=comment("the upper tester runs in parallel"))
    body += bline(pad, 1, f"L ! {asp}", cref)
    body += bline(pad, 2, f"CP1 ? F{i}_READY" if count("TTCN_CM_TypeDef", i) else "? DONE(PTC1)",
                  f"C_F{i}_READY" if count("TTCN_CM_TypeDef", i) else "")
    body += bline(pad, 3, "? DONE(PTC1)" if count("TTCN_CM_TypeDef", i) else "[TRUE]", verdict="PASS")
    return body


def behaviour(pad, body):
    return f"{pad}$BehaviourDescription\n{body}{pad}$End_BehaviourDescription\n"


def test_cases(i, pad):
    out = ""
    n = count("TestCase", i)
    for j in range(n + count("ParallelTestCase", i)):
        parallel = j >= n
        out += table(pad, "TestCase",
                     [("TestCaseId", f"TC_F{i}_{j:03d}"), ("TestGroupRef", f"BENCH/F{i}/"),
                      ("TestPurpose", comment(f"Feature {i}, case {j}: the IUT answers a request within T_RSP "
                                              "and repeats it at most TSC_MAX times")),
                      ("Configuration", "CONFIG_MP" if parallel else ""), ("DefaultsRef", f"DEF_F{i}_0"),
                      ("Comment", "")],
                     behaviour(pad + "  ", parallel_body(i, j, pad + "    ") if parallel
                               else test_case_body(i, j, pad + "    ")), "")
    compact = "".join(row(pad + "  ", "CompactTestCase",
                          [("TestCaseId", f"TC_F{i}_C{j}"), ("TestPurpose", comment("the step alone")),
                           ("TestStepAttachment", f"+ST_F{i}_0({j})"), ("Comment", ""), ("SelExprId", ""),
                           ("Description", "")])
                      for j in range(count("CompactTestCase", i) if count("TestStep", i) else 0))
    if compact:
        out += (f"{pad}$Begin_CompactTestGroup\n{pad}  $TestGroupId F{i}_COMPACT\n{pad}  $DefaultsRef\n"
                f"{pad}  $SelExprId\n{pad}  $Objective {comment('compact test cases')}\n{compact}"
                f"{pad}$End_CompactTestGroup\n")
    select = f"SEL_F{i}" if count("SelectExprDef", i) else ""
    return (f"{pad[:-2]}$TestGroup\n{pad}$TestGroupId F{i}\n{pad}$SelExprId {select}\n"
            f"{pad}$Objective {comment(f'feature {i}')}\n{out}{pad[:-2]}$End_TestGroup\n")


def test_steps(i, pad):
    out = ""
    for j in range(count("TestStep", i)):
        cref, asp, pco = asp_cref(i, j, "p_n")
        rcref, rasp, rpco = asp_cref(i, j + 1, "?")
        body = bline(pad + "    ", 0, f"{pco} ! {asp} START T_RSP_F{i}", cref)
        body += bline(pad + "    ", 1, f"{rpco} ? {rasp} (TCV_SEQ_F{i} := p_n) CANCEL T_RSP_F{i}", rcref)
        body += bline(pad + "    ", 2, "RETURN" if j % 2 else f"ACTIVATE(DEF_F{i}_0)")
        body += bline(pad + "    ", 1, f"? TIMEOUT T_RSP_F{i}", verdict="FAIL")
        out += table(pad, "TestStep", [("TestStepId", f"ST_F{i}_{j}(p_n: INTEGER)"),
                                       ("TestStepRef", f"STEPS_F{i}/"),
                                       ("Objective", comment("brings the IUT into the connected state")),
                                       ("DefaultsRef", ""), ("Comment", "")],
                     behaviour(pad + "  ", body), "")
    for j in range(count("ParallelTestCase", i)):
        j += count("TestCase", i)
        cref, asp, pco = asp_cref(i, 3, "0")
        body = bline(pad + "    ", 0, f"U ! {asp}", cref)
        if count("TTCN_CM_TypeDef", i):
            body += bline(pad + "    ", 1, f"CP1 ! F{i}_READY", f"C_F{i}_READY", "(PASS)")
        out += table(pad, "TestStep", [("TestStepId", f"PTC_F{i}_{j}"), ("TestStepRef", f"STEPS_F{i}/"),
                                       ("Objective", comment("the upper tester's part")), ("DefaultsRef", ""),
                                       ("Comment", "")], behaviour(pad + "  ", body), "")
    if not out:
        return ""
    return f"{pad[:-2]}$TestStepGroup\n{pad}$TestStepGroupId STEPS_F{i}\n{out}{pad[:-2]}$End_TestStepGroup\n"


def defaults(i, pad):
    out = ""
    for j in range(count("Default", i)):
        body = bline(pad + "    ", 0, f"L ? {asp_name(i, 5)}", asp_cref(i, 5, "?")[0], note=comment("late reset"))
        body += bline(pad + "    ", 1, f"L ! {asp_name(i, 4)}", asp_cref(i, 4, "0")[0], "INCONC")
        body += bline(pad + "    ", 0, "L ? OTHERWISE", verdict="FAIL")
        body += bline(pad + "    ", 0, "? TIMEOUT", verdict="FAIL")
        out += table(pad, "Default", [("DefaultId", f"DEF_F{i}_{j}"), ("DefaultRef", f"DEFAULTS_F{i}/"),
                                      ("Objective", comment("anything else fails the test")), ("Comment", "")],
                     behaviour(pad + "  ", body), "")
    if not out:
        return ""
    return f"{pad[:-2]}$DefaultGroup\n{pad}$DefaultGroupId DEFAULTS_F{i}\n{out}{pad[:-2]}$End_DefaultGroup\n"


# ---------------------------------------------------------------------------
# The imported module and the ASN.1 modules

def module_declarations(i, pad):
    if not count("ModuleTypes", i):
        return ""
    return row(pad, "SimpleTypeDef", [("SimpleTypeId", f"LIB_COUNT_{i}"), ("SimpleTypeDefinition", "INTEGER (0 .. 9)"),
                                      ("Comment", comment("shared counter"))])


def module_pdus(i, pad):
    if not count("ModuleTypes", i):
        return ""
    body = "".join(row(pad + "    ", "PDU_FieldDcl", [("PDU_FieldId", n), ("PDU_FieldType", t), ("Comment", "")])
                   for n, t in [("kind", f"LIB_COUNT_{i}"), ("data", "OCTETSTRING")])
    return table(pad, "TTCN_PDU_TypeDef", [("PDU_Id", f"LIB_PDU_{i}"), ("PCO_Type", "LSAP"), ("PDU_EncodingId", ""),
                                           ("EncVariationId", ""), ("Comment", comment("management frame"))],
                 grouping(pad + "  ", "PDU_FieldDcls", body), "")


def module_constraints(i, pad):
    if not count("ModuleTypes", i):
        return ""
    body = "".join(row(pad + "    ", "PDU_FieldValue", [("PDU_FieldId", n), ("ConsValue", v), ("Comment", "")])
                   for n, v in [("kind", "1"), ("data", "?")])
    return table(pad, "TTCN_PDU_Constraint", [("ConsId", f"C_LIB_PDU_{i}"), ("PDU_Id", f"LIB_PDU_{i}"),
                                              ("DerivPath", ""), ("Comment", "")],
                 grouping(pad + "  ", "PDU_FieldValues", body), "")


def module_steps(i, pad):
    if not count("ModuleTypes", i):
        return ""
    body = bline(pad + "    ", 0, f"L ! LIB_PDU_{i}", f"C_LIB_PDU_{i}")
    body += bline(pad + "    ", 1, f"L ? LIB_PDU_{i}", f"C_LIB_PDU_{i}", "(PASS)")
    return table(pad, "TestStep", [("TestStepId", f"LIB_STEP_{i}"), ("TestStepRef", ""),
                                   ("Objective", comment("management exchange")), ("DefaultsRef", ""),
                                   ("Comment", "")], behaviour(pad + "  ", body), "")


def asn1_definitions(i):
    return (f"-- Feature {i}\n"
            f"Rec{i} ::= SEQUENCE {{\n    id INTEGER (0..65535),\n    flag BOOLEAN,\n"
            f"    data OCTET STRING (SIZE (0..32)) OPTIONAL\n}}\n\n"
            f"Msg{i} ::= CHOICE {{\n    req Rec{i},\n    ack INTEGER (0..255)\n}}\n\n"
            f"Req{i} ::= SEQUENCE {{\n    called OCTET STRING (SIZE (2)),\n    window INTEGER (1..7) DEFAULT 2\n}}\n\n"
            f"Pdu{i} ::= SEQUENCE {{\n    seqNo INTEGER (0..127),\n"
            f"    body CHOICE {{ data OCTET STRING, stop NULL }}\n}}\n\n"
            f"maxLen{i} INTEGER ::= {32 + i % 32}\n\n")


# ---------------------------------------------------------------------------
# Files

class Writer:
    """Writes sections feature by feature, so the suite is never held whole."""

    def __init__(self, path, features):
        self.out = open(path, "w")
        self.features = features
        self.bytes = 0
        self.shares = {}
        self.section = "frame"

    def text(self, text):
        self.out.write(text)
        self.bytes += len(text)
        self.shares[self.section] = self.shares.get(self.section, 0) + len(text)

    def each(self, make, pad, before="", after=""):
        """`before`, the text of every feature, `after`; nothing at all when
        no feature has any."""
        pieces_written = False
        for i in range(self.features):
            piece = make(i, pad)
            if piece and not pieces_written:
                self.text(before)
                pieces_written = True
            if piece:
                self.text(piece)
        if pieces_written:
            self.text(after)

    def close(self):
        self.out.close()


def write_root(path, features):
    w = Writer(path, features)
    p1, p2 = "  ", "    "
    w.section = "overview"
    w.text(f"$Suite\n$SuiteId BENCH\n$SuiteOverviewPart\n{p1}$Begin_SuiteStructure\n{p2}$SuiteId BENCH\n"
           f"{p2}$StandardsRef {comment('generated benchmark protocol, clauses 4 to 9')}\n"
           f"{p2}$PICSref {comment('PICS proforma')}\n{p2}$PIXITref {comment('PIXIT proforma')}\n"
           f"{p2}$TestMethods {comment('remote single-layer test method')}\n{p2}$Comment\n")
    w.each(overview_rows, p2 + "  ", f"{p2}$Structure&Objectives\n", f"{p2}$End_Structure&Objectives\n")
    w.text(f"{p2}$Comment\n{p1}$End_SuiteStructure\n")
    w.each(case_index_rows, p2, f"{p1}$Begin_TestCaseIndex\n", f"{p2}$Comment\n{p1}$End_TestCaseIndex\n")
    w.each(step_index_rows, p2, f"{p1}$Begin_TestStepIndex\n", f"{p2}$Comment\n{p1}$End_TestStepIndex\n")
    w.each(default_index_rows, p2, f"{p1}$Begin_DefaultIndex\n", f"{p2}$Comment\n{p1}$End_DefaultIndex\n")
    w.text("$End_SuiteOverviewPart\n$ImportPart\n")
    w.text(f"{p1}$Begin_Imports\n{p2}$SourceId BENCH_LIB\n{p2}$SourceRef {comment('the management library')}\n"
           f"{p2}$Comment\n")
    w.each(imported_rows, p2 + "  ", f"{p2}$ImportedObjects\n", f"{p2}$End_ImportedObjects\n")
    w.text(f"{p1}$End_Imports\n$End_ImportPart\n")

    w.section = "declarations"
    w.text("$DeclarationsPart\n")
    w.each(simple_type_rows, p2, f"{p1}$Begin_SimpleTypeDefs\n", f"{p2}$Comment\n{p1}$End_SimpleTypeDefs\n")
    w.each(struct_types, p2, f"{p1}$StructTypeDefs\n", f"{p1}$End_StructTypeDefs\n")
    w.each(asn1_types, p2, f"{p1}$ASN1_TypeDefs\n", f"{p1}$End_ASN1_TypeDefs\n")
    w.each(asn1_type_ref_rows, p2, f"{p1}$Begin_ASN1_TypeRefs\n", f"{p1}$End_ASN1_TypeRefs\n")
    w.text(encodings(p1))
    w.each(ts_ops, p2, f"{p1}$TS_OpDefs\n", f"{p1}$End_TS_OpDefs\n")
    w.each(ts_procs, p2, f"{p1}$TS_ProcDefs\n", f"{p1}$End_TS_ProcDefs\n")
    w.each(ts_par_rows, p2, f"{p1}$Begin_TS_ParDcls\n", f"{p1}$End_TS_ParDcls\n")
    w.each(select_rows, p2, f"{p1}$Begin_SelectExprDefs\n", f"{p1}$End_SelectExprDefs\n")
    w.each(const_rows, p2, f"{p1}$Begin_TS_ConstDcls\n", f"{p1}$End_TS_ConstDcls\n")
    w.each(const_ref_rows, p2, f"{p1}$Begin_TS_ConstRefs\n", f"{p1}$End_TS_ConstRefs\n")
    w.each(ts_var_rows, p2, f"{p1}$Begin_TS_VarDcls\n", f"{p1}$End_TS_VarDcls\n")
    w.each(tc_var_rows, p2, f"{p1}$Begin_TC_VarDcls\n", f"{p1}$End_TC_VarDcls\n")
    w.text(communication(p1))
    w.each(timer_rows, p2, f"{p1}$Begin_TimerDcls\n", f"{p1}$End_TimerDcls\n")
    w.text(components(p1))
    w.each(asp_types, p2, f"{p1}$TTCN_ASP_TypeDefs\n", f"{p1}$End_TTCN_ASP_TypeDefs\n")
    w.each(asn1_asp_types, p2, f"{p1}$ASN1_ASP_TypeDefs\n", f"{p1}$End_ASN1_ASP_TypeDefs\n")
    w.each(asn1_asp_ref_rows, p2, f"{p1}$Begin_ASN1_ASP_TypeRefs\n", f"{p1}$End_ASN1_ASP_TypeRefs\n")
    w.each(pdu_types, p2, f"{p1}$TTCN_PDU_TypeDefs\n", f"{p1}$End_TTCN_PDU_TypeDefs\n")
    w.each(asn1_pdu_types, p2, f"{p1}$ASN1_PDU_TypeDefs\n", f"{p1}$End_ASN1_PDU_TypeDefs\n")
    w.each(asn1_pdu_ref_rows, p2, f"{p1}$Begin_ASN1_PDU_TypeRefs\n", f"{p1}$End_ASN1_PDU_TypeRefs\n")
    w.each(cm_types, p2, f"{p1}$TTCN_CM_TypeDefs\n", f"{p1}$End_TTCN_CM_TypeDefs\n")
    w.each(asn1_cm_types, p2, f"{p1}$ASN1_CM_TypeDefs\n", f"{p1}$End_ASN1_CM_TypeDefs\n")
    w.each(alias_rows, p2, f"{p1}$Begin_AliasDefs\n", f"{p1}$End_AliasDefs\n")
    w.text("$End_DeclarationsPart\n")

    w.section = "constraints"
    w.text("$ConstraintsPart\n")
    w.each(struct_constraints, p2, f"{p1}$StructTypeConstraints\n", f"{p1}$End_StructTypeConstraints\n")
    w.each(asn1_type_constraints, p2, f"{p1}$ASN1_TypeConstraints\n", f"{p1}$End_ASN1_TypeConstraints\n")
    w.each(asp_constraints, p2, f"{p1}$TTCN_ASP_Constraints\n", f"{p1}$End_TTCN_ASP_Constraints\n")
    w.each(asn1_asp_constraints, p2, f"{p1}$ASN1_ASP_Constraints\n", f"{p1}$End_ASN1_ASP_Constraints\n")
    w.each(pdu_constraints, p2, f"{p1}$TTCN_PDU_Constraints\n", f"{p1}$End_TTCN_PDU_Constraints\n")
    w.each(asn1_pdu_constraints, p2, f"{p1}$ASN1_PDU_Constraints\n", f"{p1}$End_ASN1_PDU_Constraints\n")
    w.each(cm_constraints, p2, f"{p1}$TTCN_CM_Constraints\n", f"{p1}$End_TTCN_CM_Constraints\n")
    w.each(asn1_cm_constraints, p2, f"{p1}$ASN1_CM_Constraints\n", f"{p1}$End_ASN1_CM_Constraints\n")
    w.text("$End_ConstraintsPart\n")

    w.section = "dynamic"
    w.text(f"$DynamicPart\n{p1}$TestCases\n")
    w.each(test_cases, p2 + "  ")
    w.text(f"{p1}$End_TestCases\n{p1}$TestStepLibrary\n")
    w.each(test_steps, p2 + "  ")
    w.text(f"{p1}$End_TestStepLibrary\n{p1}$DefaultsLibrary\n")
    w.each(defaults, p2 + "  ")
    w.text(f"{p1}$End_DefaultsLibrary\n$End_DynamicPart\n$End_Suite\n")
    w.close()
    return w


def write_module(path, features):
    w = Writer(path, features)
    p1, p2 = "  ", "    "
    w.text("$TTCN_Module\n$TTCN_ModuleId BENCH_LIB\n$TTCN_ModuleOverviewPart\n$End_TTCN_ModuleOverviewPart\n"
           "$DeclarationsPart\n")
    w.each(module_declarations, p2, f"{p1}$Begin_SimpleTypeDefs\n", f"{p1}$End_SimpleTypeDefs\n")
    pco_type = row(p2, "PCO_TypeDcl", [("PCO_TypeId", "LSAP"), ("P_Role", "LT"), ("Comment", "")])
    pco = row(p2, "PCO_Dcl", [("PCO_Id", "L"), ("PCO_TypeId", "LSAP"), ("P_Role", "LT"), ("Comment", "")])
    w.text(f"{p1}$Begin_PCO_TypeDcls\n{pco_type}{p1}$End_PCO_TypeDcls\n{p1}$Begin_PCO_Dcls\n{pco}{p1}$End_PCO_Dcls\n")
    w.each(module_pdus, p2, f"{p1}$TTCN_PDU_TypeDefs\n", f"{p1}$End_TTCN_PDU_TypeDefs\n")
    w.text("$End_DeclarationsPart\n$ConstraintsPart\n")
    w.each(module_constraints, p2, f"{p1}$TTCN_PDU_Constraints\n", f"{p1}$End_TTCN_PDU_Constraints\n")
    w.text(f"$End_ConstraintsPart\n$DynamicPart\n{p1}$TestStepLibrary\n")
    w.each(module_steps, p2)
    w.text(f"{p1}$End_TestStepLibrary\n$End_DynamicPart\n$End_TTCN_Module\n")
    w.close()
    return w


def write_asn1(folder, features):
    names = []
    modules = (features + ASN1_FEATURES_PER_MODULE - 1) // ASN1_FEATURES_PER_MODULE
    size = 0
    for m in range(modules):
        name = f"bench_asn_{m}.asn"
        text = (f"BenchAsn{m} DEFINITIONS ::= BEGIN\n\n"
                + "".join(asn1_definitions(i) for i in range(m * ASN1_FEATURES_PER_MODULE,
                                                               min(features, (m + 1) * ASN1_FEATURES_PER_MODULE)))
                + "END\n")
        with open(os.path.join(folder, name), "w") as out:
            out.write(text)
        size += len(text)
        names.append(name)
    return names, size


def comment_bytes(path):
    """Bytes inside /* */ free text (the comments of a suite)."""
    with open(path) as f:
        text = f.read()
    total, at = 0, 0
    while True:
        start = text.find("/*", at)
        if start < 0:
            return total
        end = text.find("*/", start)
        total += end + 2 - start
        at = end + 2


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: gen_mp_suite.py SIZE_MB OUT_DIR")
    target = float(sys.argv[1]) * 1e6
    folder = sys.argv[2]
    os.makedirs(folder, exist_ok=True)
    # Measure a sample of features, then write as many as fill the size.
    sample = 40
    probe = os.path.join(folder, ".probe.mp")
    per_feature = write_root(probe, sample).bytes / sample
    per_feature += write_module(probe, sample).bytes / sample
    per_feature += len("".join(asn1_definitions(i) for i in range(sample))) / sample
    os.remove(probe)
    features = max(1, round(target / per_feature))
    root = write_root(os.path.join(folder, "bench.mp"), features)
    module = write_module(os.path.join(folder, "bench_lib.mp"), features)
    asn_names, asn_bytes = write_asn1(folder, features)
    for name in ["bench.mp", "bench_lib.mp"] + asn_names:
        print(name)
    total = root.bytes + module.bytes + asn_bytes
    comments = comment_bytes(os.path.join(folder, "bench.mp")) + comment_bytes(os.path.join(folder, "bench_lib.mp"))
    shares = ", ".join(f"{k} {100 * v / total:.0f}%" for k, v in root.shares.items())
    print(f"{features} features, {total / 1e6:.2f} MB: {shares}, module {100 * module.bytes / total:.0f}%, "
          f"ASN.1 {100 * asn_bytes / total:.0f}%; comments {100 * comments / total:.0f}%", file=sys.stderr)


if __name__ == "__main__":
    main()
