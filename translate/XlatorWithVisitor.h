// Collection of the comments and encoding attributes of one definition, by the
// kind of its node: table comments and detailed comments, the free-text fields
// of test cases, steps and groups, the encoding variation and PDU encoding rule,
// and per row the row's comment and field encoding (target: the row's name).
#pragma once

#include "front/Fatal.h"
#include "translate/XlatorAttribute.h"
#include "tree/AccessNode.h"
#include "tree/TreeViews.h"

#include <concepts>
#include <string>

// The attributes of a node of any kind that carries comments or encodings, in
// collection order; an empty list for other kinds. A row without its
// identifier ends the run with an assertion.
XlatorAttributeList CollectAttributes(const AccessNode& node);

template <class View>
    requires std::derived_from<View, TreeView>
XlatorAttributeList CollectAttributes(const View& node) {
    return CollectAttributes(AccessNode(node));
}

// The name of the encoding variation or invalid field encoding that a field
// encoding calls. Defined here so that its internal error names this header.
inline std::string getEncodingDefinition(const PDU_FieldEncoding& encoding) {
    PDU_FieldEncodingCall call = encoding.pdu_FieldEncodingCall();
    switch (call.choice()) {
    case Choices::EncVariationCall:
        return std::string(call.encVariationCall().identifier().text());
    case Choices::InvalidFieldEncodingCall:
        return std::string(call.invalidFieldEncodingCall().identifier().text());
    default:
        XLATOR_INTERNAL_ERROR("Unexpected choice in getEncodingDefinition");
    }
}
