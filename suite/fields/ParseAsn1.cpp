// The ASN.1 type notation used inside TTCN-2 tables, with subtypes and
// local type assignments. ASN.1 values go through the constraint value
// parser (ParseValues.cpp), since every component may be a matching symbol.
#include "suite/fields/FieldParserCore.h"

int32_t characterStringKind(std::string_view w);

namespace {

int32_t usefulTypeKind(std::string_view w) {
    if (w == "UTCTime") return FK(UTCTime);
    if (w == "GeneralizedTime") return FK(GeneralizedTime);
    if (w == "EXTERNAL") return FK(EXTERNAL);
    if (w == "ObjectDescriptor") return FK(ObjectDescriptor);
    return 0;
}

bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }

} // namespace

TreeNode* FieldParserCore::asn1TypeAndLocalTypes() {
    TreeNode* type = asn1Type();
    std::vector<TreeNode*> assignments;
    while (at(Tok::Ident) && ahead(1).kind == Tok::Define) {
        TreeNode* ref = node(FK(TypeReference), {identifier()});
        take();
        assignments.push_back(node(FK(TypeAssignment), {ref, asn1Type()}));
    }
    TreeNode* locals = node(FK(ASN1_LocalTypes), {list(FK(TypeAssignmentList), assignments)});
    return node(FK(ASN1_TypeAndLocalTypes), {type, locals});
}

TreeNode* FieldParserCore::asn1Type() {
    Nest guard(*this);
    // SEQUENCE SIZE (...) OF T, and the same with the size in parentheses.
    if ((atWord("SEQUENCE") || atWord("SET"))
        && (aheadWord(1, "SIZE") || (ahead(1).kind == Tok::LParen && aheadWord(2, "SIZE")))) {
        int32_t kind = atWord("SEQUENCE") ? FK(SequenceSubType) : FK(SetSubType);
        take();
        bool parenthesised = accept(Tok::LParen);
        expectWord("SIZE");
        TreeNode* size = node(FK(SizeConstraint), {subTypeSpec()});
        if (parenthesised) expect(Tok::RParen);
        expectWord("OF");
        TreeNode* element = asn1Type();
        return node(FK(ASN1_Type), {node(FK(SubType), {node(kind, {size, element})})});
    }
    TreeNode* type = builtinOrDefinedType();
    while (at(Tok::LParen)) {
        TreeNode* parent = node(FK(ParentType), {type});
        TreeNode* spec = subTypeSpec();
        type = node(FK(ASN1_Type), {node(FK(SubType), {node(FK(ParentSubType), {parent, spec})})});
    }
    return type;
}

TreeNode* FieldParserCore::builtinOrDefinedType() {
    auto builtin = [&](TreeNode* t) { return node(FK(ASN1_Type), {node(FK(BuiltinType), {t})}); };
    if (at(Tok::LBrack)) {
        take();
        TreeNode* cls = nullptr;
        if (acceptWord("UNIVERSAL")) cls = node(FK(ClassType), {keyword(FK(UNIVERSAL))});
        else if (acceptWord("APPLICATION")) cls = node(FK(ClassType), {keyword(FK(APPLICATION))});
        else if (acceptWord("PRIVATE")) cls = node(FK(ClassType), {keyword(FK(PRIVATE_))});
        TreeNode* num = at(Tok::Number) ? node(FK(ClassNumber), {number()})
                                        : node(FK(ClassNumber), {node(FK(DefinedValue), {identifier()})});
        expect(Tok::RBrack);
        TreeNode* tag = node(FK(Tag), {cls, num});
        TreeNode* attr = nullptr;
        if (acceptWord("IMPLICIT")) attr = node(FK(TagAttributes), {keyword(FK(AIMPLICIT))});
        else if (acceptWord("EXPLICIT")) attr = node(FK(TagAttributes), {keyword(FK(AEXPLICIT))});
        return builtin(node(FK(TaggedType), {tag, attr, asn1Type()}));
    }
    if (!at(Tok::Ident)) fail();
    std::string_view w = cur().text;
    if (w == "BOOLEAN") { take(); return builtin(keyword(FK(BooleanType))); }
    if (w == "NULL") { take(); return builtin(keyword(FK(NullType))); }
    if (w == "REAL") { take(); return builtin(keyword(FK(RealType))); }
    if (w == "INTEGER") {
        take();
        TreeNode* numbers = at(Tok::LBrace) ? namedNumberList(FK(NamedNumberList)) : list(FK(NamedNumberList), {});
        return builtin(node(FK(IntegerType), {numbers}));
    }
    if (w == "ENUMERATED") {
        take();
        return builtin(node(FK(EnumeratedType), {namedNumberList(FK(Enumeration))}));
    }
    if (w == "BIT" && aheadWord(1, "STRING")) {
        take();
        take();
        TreeNode* bits = at(Tok::LBrace) ? namedNumberList(FK(NamedBitList)) : list(FK(NamedBitList), {});
        return builtin(node(FK(BitStringType), {bits}));
    }
    if (w == "OCTET" && aheadWord(1, "STRING")) { take(); take(); return builtin(keyword(FK(OctetStringType))); }
    if (w == "OBJECT" && aheadWord(1, "IDENTIFIER")) {
        take();
        take();
        return builtin(keyword(FK(ObjectIdentifierType)));
    }
    if (w == "SEQUENCE" || w == "SET") {
        bool sequence = w == "SEQUENCE";
        take();
        if (at(Tok::LBrace)) {
            TreeNode* elements = elementTypeList();
            return builtin(node(sequence ? FK(SequenceType) : FK(SetType), {elements}));
        }
        TreeNode* element = acceptWord("OF") ? asn1Type() : nullptr;
        return builtin(node(sequence ? FK(SequenceOfType) : FK(SetOfType), {element}));
    }
    if (w == "CHOICE") {
        take();
        expect(Tok::LBrace);
        std::vector<TreeNode*> alternatives;
        do alternatives.push_back(namedType()); while (accept(Tok::Comma));
        expect(Tok::RBrace);
        return builtin(node(FK(ChoiceType), {list(FK(AlternativeTypeList), alternatives)}));
    }
    if (w == "ANY") {
        take();
        if (acceptWord("DEFINED")) {
            expectWord("BY");
            return builtin(node(FK(AnyType), {node(FK(AnyDefinedBy), {identifier()})}));
        }
        return builtin(node(FK(AnyType), {keyword(FK(ANY))}));
    }
    if (int32_t k = characterStringKind(w)) {
        take();
        return builtin(node(FK(CharacterString), {keyword(k)}));
    }
    if (int32_t k = usefulTypeKind(w)) {
        take();
        return builtin(node(FK(UsefulType), {keyword(k)}));
    }
    // name < Type: a selection type.
    if (ahead(1).kind == Tok::Less) {
        TreeNode* id = identifier();
        take();
        return builtin(node(FK(SelectionType), {id, asn1Type()}));
    }
    // Module.Type keeps its module prefix in the name.
    const Token& first = take();
    std::string_view name = first.text;
    if (at(Tok::Dot) && ahead(1).kind == Tok::Ident && cur().offset == first.offset + static_cast<int32_t>(name.size())) {
        take();
        const Token& second = take();
        name = text().substr(first.offset, second.offset + second.text.size() - first.offset);
    }
    return node(FK(ASN1_Type), {node(FK(DefinedType), {textLeaf(FK(Identifier), name)})});
}

TreeNode* FieldParserCore::namedNumberList(int32_t listKind) {
    expect(Tok::LBrace);
    std::vector<TreeNode*> items;
    if (!at(Tok::RBrace)) {
        do {
            if (accept(Tok::Ellipsis)) continue;
            TreeNode* id = identifier();
            TreeNode* value = nullptr;
            if (accept(Tok::LParen)) {
                if (at(Tok::Minus)) value = node(FK(IdOrNum), {signedNumber()});
                else if (at(Tok::Number)) value = node(FK(IdOrNum), {number()});
                else value = node(FK(IdOrNum), {dataObjectReference()});
                expect(Tok::RParen);
            }
            items.push_back(node(FK(NamedNumber), {id, value}));
        } while (accept(Tok::Comma));
    }
    expect(Tok::RBrace);
    return list(listKind, items);
}

TreeNode* FieldParserCore::namedType() {
    if (at(Tok::Ident) && ahead(1).kind == Tok::Less) {
        // A selection type stands as an alternative without its own name.
        TreeNode* id = identifier();
        take();
        TreeNode* sel = node(FK(SelectionType), {id, asn1Type()});
        return node(FK(NamedType), {nullptr, node(FK(ASN1_Type), {node(FK(BuiltinType), {sel})})});
    }
    TreeNode* id = nullptr;
    if (at(Tok::Ident) && !isUpper(cur().text[0])) id = identifier();
    return node(FK(NamedType), {id, asn1Type()});
}

TreeNode* FieldParserCore::elementTypeList() {
    expect(Tok::LBrace);
    std::vector<TreeNode*> elements;
    if (!at(Tok::RBrace)) {
        do {
            if (accept(Tok::Ellipsis)) continue;
            if (atWord("COMPONENTS") && aheadWord(1, "OF")) {
                take();
                take();
                elements.push_back(node(FK(ElementType), {node(FK(ComponentsOf), {asn1Type()})}));
                continue;
            }
            TreeNode* named;
            if (at(Tok::Ident) && ahead(1).kind == Tok::Less) {
                TreeNode* id = identifier();
                take();
                named = node(FK(NamedTypeOrSelection), {node(FK(SelectionType), {id, asn1Type()})});
            } else {
                named = node(FK(NamedTypeOrSelection), {namedType()});
            }
            TreeNode* attribute = nullptr;
            if (acceptWord("OPTIONAL")) {
                attribute = node(FK(NamedTypeAttribute), {keyword(FK(OPTIONAL))});
            } else if (acceptWord("DEFAULT")) {
                TreeNode* v = node(FK(DefaultValue), {constraintValueAndAttributes()});
                attribute = node(FK(NamedTypeAttribute), {v});
            }
            elements.push_back(node(FK(ElementType), {node(FK(NamedTypeAndAttributes), {named, attribute})}));
        } while (accept(Tok::Comma));
    }
    expect(Tok::RBrace);
    return list(FK(ElementTypeList), elements);
}

TreeNode* FieldParserCore::subTypeSpec() {
    Nest guard(*this);
    expect(Tok::LParen);
    std::vector<TreeNode*> sets;
    do sets.push_back(subtypeValueSet()); while (accept(Tok::Bar));
    expect(Tok::RParen);
    return list(FK(SubTypeSpec), sets);
}

namespace {

TreeNode* presence(FieldParserCore& p) {
    if (p.acceptWord("PRESENT")) return p.node(FK(PresenceConstraint), {p.keyword(FK(PRESENT))});
    if (p.acceptWord("ABSENT")) return p.node(FK(PresenceConstraint), {p.keyword(FK(ABSENT))});
    if (p.acceptWord("OPTIONAL")) return p.node(FK(PresenceConstraint), {p.keyword(FK(OPTIONAL))});
    return nullptr;
}

TreeNode* withComponents(FieldParserCore& p) {
    p.expect(Tok::LBrace);
    bool partial = false;
    if (p.accept(Tok::Ellipsis)) {
        partial = true;
        p.expect(Tok::Comma);
    }
    std::vector<TreeNode*> items;
    do {
        TreeNode* id = p.identifier();
        TreeNode* value = p.at(Tok::LParen) ? p.node(FK(ValueConstraint), {p.subTypeSpec()}) : nullptr;
        items.push_back(p.node(FK(NamedConstraint), {id, p.node(FK(Constraint), {value, presence(p)})}));
    } while (p.accept(Tok::Comma));
    p.expect(Tok::RBrace);
    TreeNode* constraints = p.node(FK(TypeConstraints), {p.list(FK(NamedConstraintList), items)});
    TreeNode* spec = p.node(partial ? FK(PartialSpecification) : FK(FullSpecification), {constraints});
    return p.node(FK(WithComponents), {p.node(FK(MultipleTypeConstraints), {spec})});
}

} // namespace

TreeNode* FieldParserCore::subtypeValueSet() {
    auto set = [&](TreeNode* n) { return node(FK(SubtypeValueSet), {n}); };
    if (acceptWord("SIZE")) return set(node(FK(SizeConstraint), {subTypeSpec()}));
    if (acceptWord("FROM")) return set(node(FK(PermittedAlphabet), {subTypeSpec()}));
    if (acceptWord("INCLUDES")) return set(node(FK(ContainedSubType), {asn1Type()}));
    if (atWord("WITH") && aheadWord(1, "COMPONENT")) {
        take();
        take();
        TreeNode* single = node(FK(SingleTypeConstraint), {subTypeSpec()});
        return set(node(FK(InnerTypeConstraints), {node(FK(WithComponent), {single})}));
    }
    if (atWord("WITH") && aheadWord(1, "COMPONENTS")) {
        take();
        take();
        return set(node(FK(InnerTypeConstraints), {withComponents(*this)}));
    }
    TreeNode* lower;
    if (acceptWord("MIN")) lower = node(FK(LowerEndValue), {keyword(FK(Min))});
    else lower = node(FK(LowerEndValue), {constraintValueAndAttributes()});
    bool lowerOpen = accept(Tok::Less);
    if (!lowerOpen && !at(Tok::DotDot)) {
        // A single value: the lower end value parsed is the value itself.
        if (lower->child[0]->kind != FK(ConstraintValueAndAttributes)) fail();
        return set(node(FK(SingleValue), {lower->child[0]}));
    }
    expect(Tok::DotDot);
    bool upperOpen = accept(Tok::Less);
    TreeNode* upper;
    if (acceptWord("MAX")) upper = node(FK(UpperEndValue), {keyword(FK(Max))});
    else upper = node(FK(UpperEndValue), {constraintValueAndAttributes()});
    TreeNode* lo = node(FK(LowerEndpoint), {lower, lowerOpen ? keyword(FK(INCLUSIVE)) : nullptr});
    TreeNode* hi = node(FK(UpperEndpoint), {upper, upperOpen ? keyword(FK(INCLUSIVE)) : nullptr});
    return set(node(FK(ValueRange), {lo, hi}));
}
