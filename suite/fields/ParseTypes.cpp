// TTCN types, restrictions, length attributes and parameter lists.
#include "suite/fields/FieldParserCore.h"

namespace {

struct WordKind {
    std::string_view word;
    int32_t kind;
};

const WordKind kCharacterStrings[] = {
    {"ISO646String", FK(ISO646String)}, {"NumericString", FK(NumericString)},
    {"GraphicString", FK(GraphicString)}, {"IA5String", FK(IA5String)},
    {"T61String", FK(T61String)}, {"VideotexString", FK(VideotexString)},
    {"VisibleString", FK(VisibleString)}, {"GeneralString", FK(GeneralString)},
    {"PrintableString", FK(PrintableString)}, {"TeletexString", FK(TeletexString)},
};

const WordKind kPredefined[] = {
    {"R_TYPE", FK(R_TYPE)}, {"BOOLEAN", FK(BOOLEAN_TYPE)}, {"BITSTRING", FK(BITSTRING)},
    {"OCTETSTRING", FK(OCTETSTRING)}, {"INTEGER", FK(INTEGER)}, {"HEXSTRING", FK(HEXSTRING)},
};

template <std::size_t N>
int32_t lookup(const WordKind (&table)[N], std::string_view w) {
    for (const WordKind& e : table)
        if (e.word == w) return e.kind;
    return 0;
}

} // namespace

int32_t characterStringKind(std::string_view w) { return lookup(kCharacterStrings, w); }

TreeNode* FieldParserCore::ttcnType() {
    if (!at(Tok::Ident)) fail();
    std::string_view w = cur().text;
    if (int32_t k = lookup(kPredefined, w)) {
        take();
        return node(FK(TTCN_Type), {node(FK(PredefinedType), {keyword(k)})});
    }
    if (int32_t k = lookup(kCharacterStrings, w)) {
        take();
        TreeNode* cs = node(FK(CharacterString), {keyword(k)});
        return node(FK(TTCN_Type), {node(FK(PredefinedType), {cs})});
    }
    if (isReservedWord(w) || w == "PDU") fail();
    return node(FK(TTCN_Type), {node(FK(ReferenceType), {identifier()})});
}

TreeNode* FieldParserCore::typeOrPdu() {
    if (acceptWord("PDU")) return node(FK(TypeOrPDU), {keyword(FK(PDU))});
    return node(FK(TypeOrPDU), {ttcnType()});
}

namespace {

bool acceptTo(FieldParserCore& p) { return p.accept(Tok::DotDot) || p.acceptWord("TO"); }

TreeNode* lowerTypeBound(FieldParserCore& p) {
    if (p.accept(Tok::Minus)) {
        if (p.acceptWord("INFINITY")) return p.node(FK(LowerTypeBound), {p.keyword(FK(MinusINFINITY))});
        TreeNode* n = p.number();
        return p.node(FK(LowerTypeBound), {p.node(FK(SignedNumber), {p.keyword(FK(Minus)), n})});
    }
    return p.node(FK(LowerTypeBound), {p.number()});
}

TreeNode* upperTypeBound(FieldParserCore& p) {
    if (p.acceptWord("INFINITY")) return p.node(FK(UpperTypeBound), {p.keyword(FK(INFINITY))});
    if (p.accept(Tok::Minus)) {
        TreeNode* n = p.number();
        return p.node(FK(UpperTypeBound), {p.node(FK(SignedNumber), {p.keyword(FK(Minus)), n})});
    }
    return p.node(FK(UpperTypeBound), {p.number()});
}

TreeNode* restriction(FieldParserCore& p) {
    if (p.accept(Tok::LBrack)) {
        TreeNode* length;
        if (p.at(Tok::Number) && p.ahead(1).kind == Tok::RBrack) {
            length = p.node(FK(SingleTypeLength), {p.number()});
        } else {
            TreeNode* lo = lowerTypeBound(p);
            if (!acceptTo(p)) p.fail();
            length = p.node(FK(RangeTypeLength), {lo, upperTypeBound(p)});
        }
        p.expect(Tok::RBrack);
        return p.node(FK(Restriction), {p.node(FK(LengthRestriction), {length})});
    }
    if (p.parenShape() == 2) {
        p.expect(Tok::LParen);
        TreeNode* lo = lowerTypeBound(p);
        if (!acceptTo(p)) p.fail();
        TreeNode* hi = upperTypeBound(p);
        p.expect(Tok::RParen);
        return p.node(FK(Restriction), {p.node(FK(IntegerRange), {lo, hi})});
    }
    p.expect(Tok::LParen);
    std::vector<TreeNode*> values;
    do {
        if (p.at(Tok::Minus) && p.ahead(1).kind == Tok::Number) {
            values.push_back(p.node(FK(SimpleValue), {p.signedNumber()}));
        } else {
            TreeNode* lit = p.literalValue();
            if (!lit) p.fail();
            values.push_back(p.node(FK(SimpleValue), {lit}));
        }
    } while (p.accept(Tok::Comma));
    p.expect(Tok::RParen);
    return p.node(FK(Restriction), {p.list(FK(SimpleValueList), values)});
}

TreeNode* bound(FieldParserCore& p) {
    if (p.at(Tok::Number)) return p.node(FK(Bound), {p.number()});
    return p.node(FK(Bound), {p.identifier()});
}

} // namespace

TreeNode* FieldParserCore::typeAndRestriction() {
    TreeNode* type = ttcnType();
    TreeNode* r = nullptr;
    if (at(Tok::LBrack) || at(Tok::LParen)) r = restriction(*this);
    return node(FK(TypeAndRestriction), {type, r});
}

TreeNode* FieldParserCore::typeAndAttributes() {
    if (acceptWord("PDU")) return node(FK(TypeAndAttributes), {keyword(FK(PDU))});
    TreeNode* type = ttcnType();
    TreeNode* length = nullptr;
    if (accept(Tok::LBrack)) {
        TreeNode* lo = bound(*this);
        if (acceptTo(*this)) {
            TreeNode* hi = acceptWord("INFINITY") ? keyword(FK(INFINITY)) : bound(*this);
            length = node(FK(LengthAttribute),
                {node(FK(RangeLength), {node(FK(LowerBound), {lo}), node(FK(UpperBound), {hi})})});
        } else {
            length = node(FK(LengthAttribute), {node(FK(SingleLength), {lo})});
        }
        expect(Tok::RBrack);
    }
    return node(FK(TypeAndAttributes), {node(FK(TypeAndLengthAttribute), {type, length})});
}

TreeNode* FieldParserCore::formalParList() {
    std::vector<TreeNode*> groups;
    if (at(Tok::LParen)) {
        if (ahead(1).kind == Tok::RParen) failAt(kMsgEmptyList, cur().offset);
        take();
        do {
            std::vector<TreeNode*> ids;
            do ids.push_back(identifier()); while (accept(Tok::Comma));
            expect(Tok::Colon);
            TreeNode* type;
            if (acceptWord("PDU")) type = keyword(FK(PDU));
            else if (acceptWord("TIMER")) type = keyword(FK(TIMER));
            else if (acceptWord("CP")) type = keyword(FK(CP));
            else type = ttcnType();
            groups.push_back(node(FK(FormalParAndType),
                {list(FK(FormalParIdList), ids), node(FK(FormalParType), {type})}));
        } while (accept(Tok::Semi) || accept(Tok::Comma));
        expect(Tok::RParen);
    }
    return list(FK(FormalParList), groups);
}

TreeNode* FieldParserCore::actualParList(int32_t listKind) {
    std::vector<TreeNode*> pars;
    if (at(Tok::LParen)) {
        int32_t open = cur().offset;
        take();
        if (at(Tok::RParen)) failAt(kMsgEmptyArgumentList, open);
        do pars.push_back(constraintValueAndAttributes()); while (accept(Tok::Comma));
        expect(Tok::RParen);
    }
    return list(listKind, pars);
}

TreeNode* FieldParserCore::idAndFullId(int32_t kind) {
    TreeNode* id = identifier();
    TreeNode* full = nullptr;
    if (fullName) {
        full = textLeaf(FK(FullIdentifier), *fullName);
    } else if (at(Tok::LParen) && ahead(1).kind == Tok::FreeText && ahead(2).kind == Tok::RParen) {
        take();
        std::string_view name = take().text;
        while (!name.empty() && (name.front() == ' ' || name.front() == '\t' || name.front() == '\n')) name.remove_prefix(1);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t' || name.back() == '\n')) name.remove_suffix(1);
        full = textLeaf(FK(FullIdentifier), name);
        take();
    }
    return node(kind, {id, full});
}

TreeNode* FieldParserCore::idAndParList(int32_t kind) {
    TreeNode* id = identifier();
    return node(kind, {id, formalParList()});
}

TreeNode* FieldParserCore::identifierList(int32_t listKind) {
    std::vector<TreeNode*> ids;
    if (!at(Tok::End)) {
        do ids.push_back(identifier()); while (accept(Tok::Comma));
    }
    return list(listKind, ids);
}

TreeNode* FieldParserCore::derivationPath() {
    std::vector<TreeNode*> ids;
    do {
        ids.push_back(identifier());
        accept(Tok::Dot);
    } while (at(Tok::Ident));
    return list(FK(DerivationPath), ids);
}
