// Simple and structured type definitions: a simple type becomes a TTCN-3
// subtype of its base type with its restriction, a structured type a record
// whose fields are all optional. The record writer here also serves the
// tabular ASP, PDU and CM types.
#include "translate/XlatorVisitor.h"

#include "front/Fatal.h"
#include "front/XlatorOptions.h"
#include "front/XlatorOutput.h"
#include "translate/XlatorWithVisitor.h"

void XlatorVisitor::VisitSimpleTypeDef(const SimpleTypeDef& node) {
    XLATOR_ASSERT(node.is_present_simpleTypeId(), "Type name not specified");
    XLATOR_ASSERT(node.is_present_simpleTypeDefinition(), "Type definition not specified");
    XlatorAttributeList attributes = CollectAttributes(node);
    writeAttributeComments(attributes);
    TypeAndRestriction definition = node.simpleTypeDefinition().typeAndRestriction();
    output().write("type ");
    VisitTTCN_Type(definition.ttcn_Type());
    output().space();
    VisitSimpleTypeId(node.simpleTypeId());
    // Written even without a restriction, so such a line ends in a blank.
    output().space();
    if (definition.is_present_restriction()) VisitRestriction(definition.restriction());
    output().startLine();
    writeWithBlock(attributes, tabularFormat);
}

void XlatorVisitor::VisitSingleTypeLength(const SingleTypeLength& node) {
    output().write("length (");
    VisitNumber(node.number());
    output().write(")");
}

void XlatorVisitor::VisitRangeTypeLength(const RangeTypeLength& node) {
    output().write("length (");
    VisitLowerTypeBound(node.lowerTypeBound());
    output().write(" .. ");
    VisitUpperTypeBound(node.upperTypeBound());
    output().write(")");
}

void XlatorVisitor::VisitIntegerRange(const IntegerRange& node) {
    output().write("(");
    VisitLowerTypeBound(node.lowerTypeBound());
    output().write(" .. ");
    VisitUpperTypeBound(node.upperTypeBound());
    output().write(")");
}

void XlatorVisitor::VisitSimpleValueList(const SimpleValueList& node) {
    output().write("(");
    writeSeparated(node.size(), [&](int32_t i) { VisitSimpleValue(node.simpleValue(i)); }, ", ");
    output().write(")");
}

void XlatorVisitor::VisitStructTypeDef(const StructTypeDef& node) {
    XLATOR_ASSERT(node.is_present_structId(), "Type name not specified");
    writeRecordType(AccessNode(node), AccessNode(node.structId()), AccessNode(node.elemDcls()));
}

void XlatorVisitor::writeRecordType(const AccessNode& table, const AccessNode& name, const AccessNode& fields) {
    XlatorAttributeList attributes = CollectAttributes(table);
    writeAttributeComments(attributes);
    output().write("type record ");
    Visit(name);
    output().startLine();
    output().openBlock();
    Visit(fields);
    output().closeBlock(true);
    writeWithBlock(attributes, tabularFormat);
}

void XlatorVisitor::writeItemLines(int32_t count, const std::function<void(int32_t)>& writeItem) {
    for (int32_t i = 0; i < count; ++i) {
        output().writeIndent();
        writeItem(i);
        if (i + 1 < count) output().write(", ");
        output().startLine();
    }
}

void XlatorVisitor::writeSeparated(int32_t count, const std::function<void(int32_t)>& writeItem,
                                   const char* separator) {
    for (int32_t i = 0; i < count; ++i) {
        if (i > 0) output().write(separator);
        writeItem(i);
    }
}

void XlatorVisitor::VisitElemDcls(const ElemDcls& node) {
    writeItemLines(node.size(), [&](int32_t i) { VisitElemDcl(node.elemDcl(i)); });
}

void XlatorVisitor::VisitElemDcl(const ElemDcl& node) {
    XLATOR_ASSERT(node.is_present_elemId(), "Element id not specified");
    XLATOR_ASSERT(node.is_present_elemType(), "Element type not specified");
    writeRecordField(AccessNode(node), AccessNode(node.elemId()), AccessNode(node.elemType()),
                     node.elemType().typeAndAttributes());
}

void XlatorVisitor::writeRecordField(const AccessNode& row, const AccessNode& name, const AccessNode& typeCell,
                                     const TypeAndAttributes& type) {
    // A field has no with-block of its own: only its comment lines are kept.
    writeAttributeComments(CollectAttributes(row));
    TypeAndLengthAttribute typeAndLength = type.typeAndLengthAttribute();
    if (!typeAndLength.isEmpty() && typeAndLength.is_present_lengthAttribute()) {
        // TTCN-3 puts the length restriction of a field after its name.
        VisitTTCN_Type(typeAndLength.ttcn_Type());
        output().space();
        Visit(name);
        output().space();
        VisitLengthAttribute(typeAndLength.lengthAttribute());
    } else {
        Visit(typeCell);
        output().space();
        Visit(name);
    }
    output().write(" optional");
}

void XlatorVisitor::VisitTypeAndLengthAttribute(const TypeAndLengthAttribute& node) {
    VisitTTCN_Type(node.ttcn_Type());
    if (node.is_present_lengthAttribute()) {
        output().space();
        VisitLengthAttribute(node.lengthAttribute());
    }
}

void XlatorVisitor::VisitSingleLength(const SingleLength& node) {
    output().write("length(");
    VisitBound(node.bound());
    output().write(")");
}

void XlatorVisitor::VisitRangeLength(const RangeLength& node) {
    output().write("length(");
    VisitLowerBound(node.lowerBound());
    output().write(" .. ");
    VisitUpperBound(node.upperBound());
    output().write(")");
}
