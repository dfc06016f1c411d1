// The type context stack and what the value translation reads from it: the
// ASN.1 structure behind an entry (through names, definitions, tags and
// parent subtypes), the type of a component or alternative, the element type
// of a list type, and the formal parameter types of a definition.
#include "translate/XlatorVisitor.h"

#include "access/AccessSuite.h"
#include "front/Fatal.h"

namespace {

// Names may refer to names; a suite whose types run in a circle (or nest
// absurdly deep) gives up after this many steps instead of hanging.
constexpr int kMaxResolutionSteps = 64;

// The alternative a choice node holds, as a node of its own kind.
AccessNode heldAlternative(const AccessNode& choice) {
    const TreeNode* node = choice.treeNode();
    if (!node || node->count < 1 || !node->child[0]) return {};
    return AccessNode(node->child[0]->kind, node->child[0]);
}

// The ASN.1 type definition cell of a definition row or table; empty for
// every other kind.
ASN1_TypeDefinition definitionCell(const AccessNode& node) {
    switch (node.choice()) {
    case Choices::ASN1_TypeDef: return node.as<ASN1_TypeDef>().asn1_TypeDefinition();
    case Choices::ASN1_TypeRef: return node.as<ASN1_TypeRef>().asn1_TypeDefinition();
    case Choices::ASN1_ASP_TypeDef: return node.as<ASN1_ASP_TypeDef>().asn1_TypeDefinition();
    case Choices::ASN1_ASP_TypeDefByRef: return node.as<ASN1_ASP_TypeDefByRef>().asn1_TypeDefinition();
    case Choices::ASN1_PDU_TypeDef: return node.as<ASN1_PDU_TypeDef>().asn1_TypeDefinition();
    case Choices::ASN1_PDU_TypeDefByRef: return node.as<ASN1_PDU_TypeDefByRef>().asn1_TypeDefinition();
    case Choices::ASN1_CM_TypeDef: return node.as<ASN1_CM_TypeDef>().asn1_TypeDefinition();
    case Choices::ASN1_TypeDefinition: return node.as<ASN1_TypeDefinition>();
    default: return {};
    }
}

// The type of a local type assignment called `name` in a definition.
AccessNode localType(const ASN1_TypeDefinition& definition, std::string_view name) {
    TypeAssignmentList locals = definition.asn1_TypeAndLocalTypes().asn1_LocalTypes().typeAssignmentList();
    for (int32_t i = 0; i < locals.size(); ++i) {
        TypeAssignment local = locals.typeAssignment(i);
        if (local.typeReference().identifier().text() == name) return AccessNode(local.asn1_Type());
    }
    return {};
}

// The name a name-like node gives; empty for other kinds.
std::string_view nameOf(const AccessNode& node) {
    switch (node.choice()) {
    case Choices::Identifier: return node.as<Identifier>().text();
    case Choices::ReferenceType: return node.as<ReferenceType>().identifier().text();
    case Choices::DefinedType: return node.as<DefinedType>().identifier().text();
    case Choices::TypeReference: return node.as<TypeReference>().identifier().text();
    case Choices::ASN1_TypeId: return node.as<ASN1_TypeId>().identifier().text();
    default: return {};
    }
}

// One step from a type cell or type node towards the type it holds; empty
// when the node is none of these kinds.
AccessNode innerType(const AccessNode& node) {
    switch (node.choice()) {
    case Choices::ASN1_Type:
    case Choices::BuiltinType:
    case Choices::SubType:
    case Choices::TTCN_Type:
    case Choices::TypeOrPDU:
    case Choices::FormalParType: return heldAlternative(node);
    case Choices::ASN1_TypeAndLocalTypes: return AccessNode(node.as<ASN1_TypeAndLocalTypes>().asn1_Type());
    case Choices::TaggedType: return AccessNode(node.as<TaggedType>().asn1_Type());
    case Choices::ParentSubType: return AccessNode(node.as<ParentSubType>().parentType().asn1_Type());
    case Choices::ParentType: return AccessNode(node.as<ParentType>().asn1_Type());
    case Choices::TS_ConstType: return AccessNode(node.as<TS_ConstType>().ttcn_Type());
    case Choices::TS_VarType: return AccessNode(node.as<TS_VarType>().typeOrPDU());
    case Choices::TC_VarType: return AccessNode(node.as<TC_VarType>().typeOrPDU());
    case Choices::TS_ParType: return AccessNode(node.as<TS_ParType>().typeOrPDU());
    default: return {};
    }
}

FormalParList formalParListOf(const AccessNode& definition) {
    switch (definition.choice()) {
    case Choices::FormalParList: return definition.as<FormalParList>();
    case Choices::TS_OpDef: return definition.as<TS_OpDef>().ts_OpId().ts_OpIdAndParList().formalParList();
    case Choices::TS_ProcDef: return definition.as<TS_ProcDef>().ts_ProcId().ts_ProcIdAndParList().formalParList();
    case Choices::TestStep: return definition.as<TestStep>().testStepId().testStepIdAndParList().formalParList();
    case Choices::DefaultCase: return definition.as<DefaultCase>().defaultId().defaultIdAndParList().formalParList();
    case Choices::LocalTree: return definition.as<LocalTree>().header().treeHeader().formalParList();
    case Choices::TreeHeader: return definition.as<TreeHeader>().formalParList();
    case Choices::EncodingVariation:
        return definition.as<EncodingVariation>().encodingVariationId().encVariationIdAndParList().formalParList();
    case Choices::InvalidFieldEncodingDef:
        return definition.as<InvalidFieldEncodingDef>()
            .invalidFieldEncodingId()
            .invalidFieldEncodingIdAndParList()
            .formalParList();
    case Choices::StructTypeConstraint: return definition.as<StructTypeConstraint>().consId().consIdAndParList().formalParList();
    case Choices::ASN1_TypeConstraint: return definition.as<ASN1_TypeConstraint>().consId().consIdAndParList().formalParList();
    case Choices::TTCN_ASP_Constraint: return definition.as<TTCN_ASP_Constraint>().consId().consIdAndParList().formalParList();
    case Choices::ASN1_ASP_Constraint: return definition.as<ASN1_ASP_Constraint>().consId().consIdAndParList().formalParList();
    case Choices::TTCN_PDU_Constraint: return definition.as<TTCN_PDU_Constraint>().consId().consIdAndParList().formalParList();
    case Choices::ASN1_PDU_Constraint: return definition.as<ASN1_PDU_Constraint>().consId().consIdAndParList().formalParList();
    case Choices::TTCN_CM_Constraint: return definition.as<TTCN_CM_Constraint>().consId().consIdAndParList().formalParList();
    case Choices::ASN1_CM_Constraint: return definition.as<ASN1_CM_Constraint>().consId().consIdAndParList().formalParList();
    default: return {};
    }
}

}  // namespace

void XlatorVisitor::pushTypeContext(const AccessNode& entry) { typeContext_.push_back(entry); }

void XlatorVisitor::popTypeContext() {
    XLATOR_ASSERT(!typeContext_.empty(), "INTERNAL_ERROR: type context stack is empty");
    typeContext_.pop_back();
}

AccessNode XlatorVisitor::topTypeContext() const { return typeContext_.empty() ? AccessNode() : typeContext_.back(); }

AccessNode XlatorVisitor::declaredTypeOf(const AccessNode& object) {
    switch (object.choice()) {
    case Choices::TS_ConstDcl: return AccessNode(object.as<TS_ConstDcl>().ts_ConstType());
    case Choices::TS_ConstRef: return AccessNode(object.as<TS_ConstRef>().ts_ConstType());
    case Choices::TS_VarDcl: return AccessNode(object.as<TS_VarDcl>().ts_VarType());
    case Choices::TC_VarDcl: return AccessNode(object.as<TC_VarDcl>().tc_VarType());
    case Choices::TS_ParDcl: return AccessNode(object.as<TS_ParDcl>().ts_ParType());
    default: return object;
    }
}

std::vector<AccessNode> XlatorVisitor::formalParameterTypes(const AccessNode& definition) {
    std::vector<AccessNode> types;
    FormalParList list = formalParListOf(definition);
    for (int32_t i = 0; i < list.size(); ++i) {
        FormalParAndType group = list.formalParAndType(i);
        for (int32_t j = 0; j < group.formalParIdList().size(); ++j) types.emplace_back(group.formalParType());
    }
    return types;
}

const TreeNode* XlatorVisitor::definitionBehind(const AccessNode& entry) const {
    if (entry.isEmpty()) return nullptr;
    if (auto known = definitionBehind_.find(entry.treeNode()); known != definitionBehind_.end()) return known->second;
    // Only definitions and the cells that name them are looked through here
    // (no local lookup again), so this never recurses.
    const TreeNode* found = nullptr;
    AccessNode node = entry;
    for (int step = 0; step < kMaxResolutionSteps && !node.isEmpty(); ++step) {
        if (ASN1_TypeDefinition definition = definitionCell(node); !definition.isEmpty()) {
            found = definition.treeNode();
            break;
        }
        if (std::string_view named = nameOf(node); !named.empty())
            node = suite_.find(node, std::string(named));
        else
            node = innerType(declaredTypeOf(node));
    }
    definitionBehind_.emplace(entry.treeNode(), found);
    return found;
}

AccessNode XlatorVisitor::localTypeOnStack(std::string_view name) const {
    // Entries pile up (variables stay pushed), so what stands behind each is
    // remembered rather than looked up again for every name.
    for (auto entry = typeContext_.rbegin(); entry != typeContext_.rend(); ++entry)
        if (const TreeNode* definition = definitionBehind(*entry))
            if (AccessNode local = localType(ASN1_TypeDefinition(definition), name); !local.isEmpty()) return local;
    return {};
}

AccessNode XlatorVisitor::typeByName(const AccessNode& context, std::string_view name) const {
    if (name.empty()) return {};
    AccessNode scope = context.isEmpty() ? suite_.root() : context;
    if (AccessNode local = localTypeOnStack(name); !local.isEmpty()) return local;
    if (AccessNode found = suite_.find(scope, std::string(name)); !found.isEmpty()) return found;
    // An ASN.1 reference qualified by its module ("Module.Type"): the type
    // itself, as the association brought it into the suite.
    if (std::size_t dot = name.rfind('.'); dot != std::string_view::npos && dot + 1 < name.size())
        return typeByName(scope, name.substr(dot + 1));
    return {};
}

AccessNode XlatorVisitor::asn1Structure(const AccessNode& entry) const {
    // A component lookup may resolve a COMPONENTS OF type, which may hold a
    // selection type, which looks up a component again: bound that nesting.
    if (resolutionDepth_ >= kMaxResolutionSteps) return {};
    struct DepthGuard {
        int& depth;
        explicit DepthGuard(int& d) : depth(d) { ++depth; }
        ~DepthGuard() { --depth; }
    } guard(resolutionDepth_);

    AccessNode node = entry;
    ASN1_TypeDefinition definition;  // the last definition passed, for its local types
    std::vector<std::string_view> selections;  // "a < T": alternative a still to be taken from T
    for (int step = 0; step < kMaxResolutionSteps && !node.isEmpty(); ++step) {
        if (ASN1_TypeDefinition cell = definitionCell(node); !cell.isEmpty()) {
            definition = cell;
            node = AccessNode(cell.asn1_TypeAndLocalTypes());
            continue;
        }
        if (std::string_view name = nameOf(node); !name.empty()) {
            AccessNode local = definition.isEmpty() ? AccessNode() : localType(definition, name);
            node = local.isEmpty() ? typeByName(node, name) : local;
            continue;
        }
        if (node.choice() == Choices::SelectionType) {
            selections.push_back(node.as<SelectionType>().identifier().text());
            node = AccessNode(node.as<SelectionType>().asn1_Type());
            continue;
        }
        AccessNode typed = declaredTypeOf(node);
        if (!(typed == node)) {
            node = typed;
            continue;
        }
        if (AccessNode inner = innerType(node); !inner.isEmpty()) {
            node = inner;
            continue;
        }
        if (selections.empty()) return node;  // a type of its own: the structure sought
        node = componentType(node, selections.back());
        selections.pop_back();
    }
    return {};
}

AccessNode XlatorVisitor::componentType(const AccessNode& structure, std::string_view name) const {
    if (name.empty()) return {};
    // COMPONENTS OF brings the components of another SEQUENCE or SET in; a
    // worklist with a bound keeps a type that includes itself from hanging.
    std::vector<AccessNode> pending{structure};
    for (int visited = 0; !pending.empty() && visited < kMaxResolutionSteps; ++visited) {
        AccessNode current = pending.back();
        pending.pop_back();
        if (current.choice() == Choices::ChoiceType) {
            AlternativeTypeList alternatives = current.as<ChoiceType>().alternativeTypeList();
            for (int32_t i = 0; i < alternatives.size(); ++i)
                if (alternatives.namedType(i).identifier().text() == name)
                    return AccessNode(alternatives.namedType(i).asn1_Type());
            continue;
        }
        ElementTypeList elements = current.choice() == Choices::SequenceType
                                       ? current.as<SequenceType>().elementTypeList()
                                       : current.as<SetType>().elementTypeList();
        for (int32_t i = 0; i < elements.size(); ++i) {
            ElementType element = elements.elementType(i);
            if (element.choice() == Choices::ComponentsOf) {
                pending.push_back(asn1Structure(AccessNode(element.componentsOf().asn1_Type())));
                continue;
            }
            NamedTypeOrSelection named = element.namedTypeAndAttributes().namedTypeOrSelection();
            if (named.choice() == Choices::NamedType) {
                if (named.namedType().identifier().text() == name) return AccessNode(named.namedType().asn1_Type());
            } else if (named.selectionType().identifier().text() == name) {
                return AccessNode(named.selectionType());
            }
        }
    }
    return {};
}

AccessNode XlatorVisitor::elementType(const AccessNode& structure) {
    switch (structure.choice()) {
    case Choices::SequenceOfType: return AccessNode(structure.as<SequenceOfType>().asn1_Type());
    case Choices::SetOfType: return AccessNode(structure.as<SetOfType>().asn1_Type());
    case Choices::SequenceSubType: return AccessNode(structure.as<SequenceSubType>().asn1_Type());
    case Choices::SetSubType: return AccessNode(structure.as<SetSubType>().asn1_Type());
    default: return {};
    }
}
