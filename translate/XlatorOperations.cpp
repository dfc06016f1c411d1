// Test suite operations and procedural operations (external functions), test
// suite parameters (module parameters), selection expressions (boolean
// functions), constants, ASN.1 constants by reference (value assignments in
// ExtASN with an import) and the two kinds of variables.
#include "translate/XlatorVisitor.h"

#include "front/Fatal.h"
#include "front/XlatorOptions.h"
#include "front/XlatorOutput.h"
#include "translate/XlatorWithVisitor.h"

void XlatorVisitor::VisitTS_OpDef(const TS_OpDef& node) {
    XLATOR_ASSERT(node.is_present_ts_OpId(), "Operations id not specified");
    XLATOR_ASSERT(node.is_present_ts_OpDescription(), "Operation description not present");
    writeExternalFunction(AccessNode(node), AccessNode(node.ts_OpId()),
                          node.is_present_ts_OpResult() ? AccessNode(node.ts_OpResult()) : AccessNode());
}

void XlatorVisitor::VisitTS_ProcDef(const TS_ProcDef& node) {
    XLATOR_ASSERT(node.is_present_ts_ProcId(), "Operations id not specified");
    XLATOR_ASSERT(node.is_present_ts_ProcDescription(), "Operation description not present");
    writeExternalFunction(AccessNode(node), AccessNode(node.ts_ProcId()),
                          node.is_present_ts_ProcResult() ? AccessNode(node.ts_ProcResult()) : AccessNode());
}

// The description is not written: the operation is declared without a body.
void XlatorVisitor::writeExternalFunction(const AccessNode& table, const AccessNode& idAndParameters,
                                          const AccessNode& result) {
    XlatorAttributeList attributes = CollectAttributes(table);
    writeAttributeComments(attributes);
    output().write("external function ");
    Visit(idAndParameters);
    if (!result.isEmpty()) {
        output().write(" return ");
        Visit(result);
    }
    output().startLine();
    writeWithBlock(attributes, tabularFormat);
    output().startLine();
}

void XlatorVisitor::VisitTS_OpIdAndParList(const TS_OpIdAndParList& node) {
    VisitIdentifier(node.identifier());
    output().write("(");
    writeParameters(node.formalParList(), true, false);
    output().write(")");
}

void XlatorVisitor::VisitTS_ProcIdAndParList(const TS_ProcIdAndParList& node) {
    VisitIdentifier(node.identifier());
    output().write("(");
    writeParameters(node.formalParList(), true, false);
    output().write(")");
}

void XlatorVisitor::VisitTS_OpDescription(const TS_OpDescription& node) {
    output().writeLine("/*");
    output().writeLine(std::string(node.text()));
    output().writeLine("*/");
}

void XlatorVisitor::VisitTS_ProcDescription(const TS_ProcDescription& node) {
    output().writeLine("/*");
    output().writeLine(std::string(node.text()));
    output().writeLine("*/");
}

// The PICS/PIXIT reference is kept only as an attribute.
void XlatorVisitor::VisitTS_ParDcl(const TS_ParDcl& node) {
    XLATOR_ASSERT(node.is_present_ts_ParId(), "Parameter id not present");
    XLATOR_ASSERT(node.is_present_ts_ParType(), "Parameter type not present");
    XlatorAttributeList attributes = CollectAttributes(node);
    writeAttributeComments(attributes);
    output().write("modulepar ");
    VisitTS_ParType(node.ts_ParType());
    output().write(" ");
    VisitTS_ParId(node.ts_ParId());
    output().startLine();
    writeWithBlock(attributes, tabularFormat);
}

void XlatorVisitor::VisitSelectExprDef(const SelectExprDef& node) {
    XLATOR_ASSERT(node.is_present_selectExprId(), "Select expression id not present");
    XLATOR_ASSERT(node.is_present_selectExpr(), "Select expresion not present");
    XlatorAttributeList attributes = CollectAttributes(node);
    writeAttributeComments(attributes);
    output().write("function ");
    VisitSelectExprId(node.selectExprId());
    output().write(" return boolean");
    output().openBlock();
    output().write("return ");
    VisitSelectExpr(node.selectExpr());
    output().startLine();
    output().closeBlock(true);
    writeWithBlock(attributes, tabularFormat);
}

// A selection expression is a function without parameters, so its name is
// always written as a call.
void XlatorVisitor::VisitSelectExprId(const SelectExprId& node) {
    VisitIdentifier(node.identifier());
    output().write("()");
}

void XlatorVisitor::VisitTS_ConstDcl(const TS_ConstDcl& node) {
    XLATOR_ASSERT(node.is_present_ts_ConstId(), "Constant id not present");
    XLATOR_ASSERT(node.is_present_ts_ConstType(), "Constant type not present");
    XLATOR_ASSERT(node.is_present_ts_ConstValue(), "Constant value not present");
    XlatorAttributeList attributes = CollectAttributes(node);
    writeAttributeComments(attributes);
    pushTypeContext(AccessNode(node.ts_ConstType()));
    output().write("const ");
    VisitTS_ConstType(node.ts_ConstType());
    output().write(" ");
    VisitTS_ConstId(node.ts_ConstId());
    output().write(" := ");
    VisitTS_ConstValue(node.ts_ConstValue());
    output().startLine();
    writeWithBlock(attributes, tabularFormat);
    popTypeContext();
}

// The value is the one that the ASN.1 association fetched from the named
// module; it is written as an ASN.1 value assignment into ExtASN.
void XlatorVisitor::VisitTS_ConstRef(const TS_ConstRef& node) {
    XLATOR_ASSERT(node.is_present_ts_ConstId(), "Constant id not present");
    XLATOR_ASSERT(node.is_present_ts_ConstType(), "Constant type not present");
    XLATOR_ASSERT(node.is_present_ts_ConstValue(), "Constant value not present");
    XlatorAttributeList attributes = CollectAttributes(node);
    pushTypeContext(AccessNode(node.ts_ConstType()));
    XlatorOutput& out = output();
    out.selectAsn();
    out.writeIndent();
    VisitTS_ConstId(node.ts_ConstId());
    out.space();
    VisitTS_ConstType(node.ts_ConstType());
    out.write(" ::= ");
    VisitTS_ConstValue(node.ts_ConstValue());
    out.startLine();
    out.selectTtcn();
    writeAttributeComments(attributes);
    out.write("import from ExtASN language \"ASN.1:1997\" {const ");
    VisitTS_ConstId(node.ts_ConstId());
    out.writeLine("}");
    writeWithBlock(attributes, tabularFormat);
    popTypeContext();
}

void XlatorVisitor::VisitTS_VarDcls(const TS_VarDcls& node) {
    output().writeComment("TestSuiteVariableDeclarations");
    VisitTS_VarDclList(node.ts_VarDclList());
}

void XlatorVisitor::VisitTC_VarDcls(const TC_VarDcls& node) {
    output().writeComment("TestCaseVariableDeclarations");
    VisitTC_VarDclList(node.tc_VarDclList());
}

// A test suite variable gets its initial value whenever the value cell is
// there.
void XlatorVisitor::VisitTS_VarDcl(const TS_VarDcl& node) {
    XLATOR_ASSERT(node.is_present_ts_VarId(), "Test Suite variable id not present");
    XLATOR_ASSERT(node.is_present_ts_VarType(), "Test Suite variable type not present");
    writeAttributeComments(CollectAttributes(node));
    writeVariable(AccessNode(node.ts_VarType()), AccessNode(node.ts_VarId()),
                  node.is_present_ts_VarValue() ? AccessNode(node.ts_VarValue()) : AccessNode());
}

// A test case variable gets its initial value only from a value cell with
// text. A blank cell loads as an absent value, so the two rules only part
// where a present value could have no text.
void XlatorVisitor::VisitTC_VarDcl(const TC_VarDcl& node) {
    XLATOR_ASSERT(node.is_present_tc_VarId(), "Test Case variable id not present");
    XLATOR_ASSERT(node.is_present_tc_VarType(), "Test Case variable type not present");
    writeAttributeComments(CollectAttributes(node));
    bool hasValue = node.is_present_tc_VarValue() && !node.tc_VarValue().declarationValue().isEmpty();
    writeVariable(AccessNode(node.tc_VarType()), AccessNode(node.tc_VarId()),
                  hasValue ? AccessNode(node.tc_VarValue()) : AccessNode());
}

// The variable's type stays on the type context stack: the value translation
// may read it after the declaration.
void XlatorVisitor::writeVariable(const AccessNode& typeCell, const AccessNode& name, const AccessNode& value) {
    pushTypeContext(typeCell);
    output().write("var ");
    Visit(typeCell);
    output().write(" ");
    Visit(name);
    if (!value.isEmpty()) {
        output().write(" := ");
        Visit(value);
    }
    output().startLine();
}
