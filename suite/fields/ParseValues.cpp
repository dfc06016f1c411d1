// Expressions, values, data object references, constraint values, matching
// symbols, value attributes and replacements.
#include "suite/fields/FieldParserCore.h"

#include "tree/AccessNode.h"

namespace {

bool isTerminatorOfValue(const Token& t) {
    switch (t.kind) {
    case Tok::End: case Tok::Comma: case Tok::RParen: case Tok::RBrace: case Tok::LBrack:
    case Tok::Bar: case Tok::RBrack:
        return true;
    case Tok::Ident:
        return t.text == "IF_PRESENT";
    default:
        return false;
    }
}

// Tokens that can begin a value after a component name in braces.
bool startsValue(const Token& t) {
    switch (t.kind) {
    case Tok::Number: case Tok::Bstring: case Tok::Hstring: case Tok::Ostring: case Tok::Cstring:
    case Tok::LBrace: case Tok::Quest: case Tok::Star: case Tok::Minus: case Tok::LParen:
        return true;
    case Tok::Ident:
        return !FieldParserCore::isReservedWord(t.text) || t.text == "OMIT" || t.text == "COMPLEMENT"
            || t.text == "SUPERSET" || t.text == "SUBSET" || t.text == "PERMUTATION";
    default:
        return false;
    }
}

bool isObjectIdentifierArc(std::string_view w) {
    return w == "itu-t" || w == "ccitt" || w == "iso" || w == "joint-iso-itu-t" || w == "joint-iso-ccitt";
}

// Walks Expression > SimpleExpression > Term > Factor > Primary and returns
// the record of the Primary's alternative when the expression is that one
// primary alone (the levels between keep no records of their own).
TreeNode* lonePrimary(TreeNode* e) {
    const int32_t chain[] = {FK(SimpleExpression), FK(Term), FK(Factor), FK(Primary)};
    AccessNode n(FK(Expression), e);
    for (int32_t kind : chain) {
        n = childAt(n, 0);
        if (n.choice() != kind) return nullptr;
    }
    return const_cast<TreeNode*>(childAt(n, 0).treeNode());
}

} // namespace

FieldParserCore::Named FieldParserCore::namedValueAt(std::size_t from) const {
    const Token& name = ahead(from);
    const Token& next = ahead(from + 1);
    if (name.kind != Tok::Ident || isReservedWord(name.text) || !startsValue(next)) return Named::No;
    if (next.kind != Tok::LParen) return Named::Yes;
    // No argument list holds a range: "cause (0 TO 15)" is a named value.
    if (parenShape(from + 1) == 2) return Named::Yes;
    // "name ()" calls without arguments.
    if (ahead(from + 2).kind == Tok::RParen) return Named::No;
    return Named::Maybe;
}

bool FieldParserCore::bracesHoldNamedValues() const {
    const Named first = namedValueAt(0);
    if (first != Named::Maybe) return first == Named::Yes;
    // "{ name (...), ... }": named values when another element is one for
    // sure, or when no element is something else and no name calls anything.
    bool named = false;
    bool other = false;
    bool call = false;
    for (std::size_t n = 0;;) {
        const Named form = namedValueAt(n);
        named = named || form == Named::Yes;
        other = other || form == Named::No;
        call = call || (form == Named::Maybe && isCallable(ahead(n).text));
        // On to the comma that ends this element, or to the end of the braces.
        int depth = 0;
        for (;; ++n) {
            const Tok k = ahead(n).kind;
            if (k == Tok::End) return named || (!other && !call);
            if (k == Tok::LParen || k == Tok::LBrack || k == Tok::LBrace) {
                ++depth;
            } else if (k == Tok::RParen || k == Tok::RBrack || k == Tok::RBrace) {
                if (depth == 0) return named || (!other && !call);
                --depth;
            } else if (k == Tok::Comma && depth == 0) {
                ++n;
                break;
            }
        }
    }
}

TreeNode* FieldParserCore::expression() {
    Nest guard(*this);
    TreeNode* left = simpleExpression();
    int32_t op = 0;
    switch (cur().kind) {
    case Tok::Equal: op = FK(Equal); break;
    case Tok::Less:
        // "<.." is not a comparison: it excludes the lower end of an ASN.1
        // value range, as in "INTEGER (0<..10)".
        if (ahead(1).kind != Tok::DotDot) op = FK(Less);
        break;
    case Tok::Greater: op = FK(Greater); break;
    case Tok::NotEqual: op = FK(NotEqual); break;
    case Tok::LessEq: op = FK(LessOrEqual); break;
    case Tok::GreaterEq: op = FK(GreaterOrEqual); break;
    default: break;
    }
    if (!op) return node(FK(Expression), {left});
    take();
    TreeNode* relOp = node(FK(RelOp), {keyword(op)});
    TreeNode* right = simpleExpression();
    return node(FK(Expression), {node(FK(RelExpression), {left, relOp, right})});
}

TreeNode* FieldParserCore::simpleExpression() {
    TreeNode* se = node(FK(SimpleExpression), {term()});
    for (;;) {
        int32_t op = 0;
        if (at(Tok::Plus)) op = FK(Plus);
        else if (at(Tok::Minus) && !isTerminatorOfValue(ahead(1))) op = FK(Minus);
        else if (atWord("OR")) op = FK(Or);
        if (!op) return se;
        take();
        TreeNode* addOp = node(FK(AddOp), {keyword(op)});
        se = node(FK(SimpleExpression), {node(FK(AddExpression), {se, addOp, term()})});
    }
}

TreeNode* FieldParserCore::term() {
    TreeNode* t = node(FK(Term), {factor()});
    for (;;) {
        int32_t op = 0;
        if (at(Tok::Star)) op = FK(Mult);
        else if (at(Tok::Slash)) op = FK(Div);
        else if (atWord("MOD")) op = FK(Mod);
        else if (atWord("AND")) op = FK(And);
        if (!op) return t;
        take();
        TreeNode* multOp = node(FK(MultOp), {keyword(op)});
        t = node(FK(Term), {node(FK(MultExpression), {t, multOp, factor()})});
    }
}

TreeNode* FieldParserCore::factor() {
    int32_t op = 0;
    if (at(Tok::Plus)) op = FK(Plus);
    else if (at(Tok::Minus)) op = FK(Minus);
    else if (atWord("NOT")) op = FK(Not);
    if (!op) return node(FK(Factor), {primary()});
    take();
    TreeNode* unaryOp = node(FK(UnaryOp), {keyword(op)});
    return node(FK(Factor), {node(FK(UnaryExpression), {unaryOp, primary()})});
}

TreeNode* FieldParserCore::primary() {
    Nest guard(*this);
    if (accept(Tok::LParen)) {
        TreeNode* e = expression();
        expect(Tok::RParen);
        return node(FK(Primary), {node(FK(ParenExpression), {e})});
    }
    if (TreeNode* v = value()) return node(FK(Primary), {v});
    if (!at(Tok::Ident) || isReservedWord(cur().text)) fail();
    if (ahead(1).kind == Tok::LParen) {
        bool consRef = inConstraint && !isPredefinedOperation(cur().text);
        TreeNode* call = opCall();
        if (consRef) reclassifyCall(call, true);
        return node(FK(Primary), {call});
    }
    return node(FK(Primary), {dataObjectReference()});
}

TreeNode* FieldParserCore::opCall() {
    TreeNode* id = identifier();
    TreeNode* pars;
    if (at(Tok::LParen) && ahead(1).kind == Tok::RParen) {
        take();
        take();
        pars = list(FK(ActualParList), {});
    } else {
        pars = actualParList(FK(ActualParList));
    }
    return node(FK(OpCall), {id, pars});
}

TreeNode* FieldParserCore::literalValue() {
    int32_t kind = 0;
    switch (cur().kind) {
    case Tok::Number: kind = FK(Number); break;
    case Tok::Bstring: kind = FK(Bstring); break;
    case Tok::Hstring: kind = FK(Hstring); break;
    case Tok::Ostring: kind = FK(Ostring); break;
    case Tok::Cstring: kind = FK(Cstring); break;
    case Tok::Ident: {
        std::string_view w = cur().text;
        TreeNode* inner = nullptr;
        if (w == "TRUE") inner = node(FK(BooleanValue), {keyword(FK(ATrue))});
        else if (w == "FALSE") inner = node(FK(BooleanValue), {keyword(FK(AFalse))});
        else if (w == "pass") inner = node(FK(R_Value), {keyword(FK(PASS))});
        else if (w == "fail") inner = node(FK(R_Value), {keyword(FK(FAIL))});
        else if (w == "inconc") inner = node(FK(R_Value), {keyword(FK(INCONC))});
        else if (w == "none") inner = node(FK(R_Value), {keyword(FK(NONE))});
        if (!inner) return nullptr;
        take();
        return node(FK(LiteralValue), {inner});
    }
    default:
        return nullptr;
    }
    return node(FK(LiteralValue), {textLeaf(kind, take().text)});
}

TreeNode* FieldParserCore::value() {
    if (TreeNode* lit = literalValue()) return node(FK(Value), {lit});
    if (at(Tok::LBrace)) {
        TreeNode* v = asn1BraceValue();
        return node(FK(Value), {v});
    }
    if (!at(Tok::Ident)) return nullptr;
    std::string_view w = cur().text;
    if (w == "NULL") {
        take();
        return node(FK(Value), {node(FK(ASN1_Value), {keyword(FK(NullValue))})});
    }
    if (w == "PLUS-INFINITY" || w == "MINUS-INFINITY") {
        take();
        TreeNode* special = node(FK(SpecialRealValue),
            {keyword(w == "PLUS-INFINITY" ? FK(Plus_INFINITY) : FK(Minus_INFINITY))});
        return node(FK(Value), {node(FK(ASN1_Value), {node(FK(RealValue), {special})})});
    }
    if (isReservedWord(w)) return nullptr;
    // Type ":" value: a value of an ANY type.
    if (ahead(1).kind == Tok::Colon) {
        TreeNode* type = node(FK(ReferenceType), {identifier()});
        take();
        TreeNode* v = constraintValueAndAttributes();
        return node(FK(Value), {node(FK(ASN1_Value), {node(FK(AnyValue), {type, v})})});
    }
    // name value: a CHOICE value. In ASN.1 text also "name -" (omitted) and
    // "name (...)" holding a range, or a list when the name calls nothing.
    const Token& next = ahead(1);
    const bool asn1 = mode() == LexMode::Asn1;
    bool choice = next.kind == Tok::LBrace || next.kind == Tok::Number || next.kind == Tok::Cstring
        || next.kind == Tok::Bstring || next.kind == Tok::Hstring || next.kind == Tok::Ostring
        || ((next.kind == Tok::Quest || next.kind == Tok::Star) && isTerminatorOfValue(ahead(2)))
        || (asn1 && next.kind == Tok::Ident && startsValue(next))
        || (asn1 && next.kind == Tok::Minus && isTerminatorOfValue(ahead(2)))
        || (asn1 && next.kind == Tok::LParen
            && (namedValueAt(0) == Named::Yes || (namedValueAt(0) == Named::Maybe && !isCallable(w))));
    if (choice) {
        TreeNode* id = identifier();
        TreeNode* v = constraintValueAndAttributes();
        return node(FK(Value), {node(FK(ASN1_Value), {node(FK(ChoiceValue), {node(FK(NamedValue), {id, v})})})});
    }
    return nullptr;
}

TreeNode* FieldParserCore::dataObjectReference() {
    TreeNode* id = identifier();
    std::vector<TreeNode*> refs;
    for (;;) {
        if (at(Tok::Dot) && ahead(1).kind == Tok::Ident) {
            take();
            TreeNode* rec = node(FK(RecordRef), {node(FK(ComponentIdentifier), {identifier()})});
            refs.push_back(node(FK(ComponentReference), {rec}));
        } else if (at(Tok::Dot) && ahead(1).kind == Tok::LBrack) {
            take();
            take();
            TreeNode* e = expression();
            expect(Tok::RBrack);
            TreeNode* bit = node(FK(BitRef), {node(FK(BitNumber), {e})});
            refs.push_back(node(FK(ComponentReference), {bit}));
        } else if (at(Tok::LBrack) && (!inConstraint || indexContinues())) {
            take();
            TreeNode* e = expression();
            expect(Tok::RBrack);
            TreeNode* arr = node(FK(ArrayRef), {node(FK(ComponentNumber), {e})});
            refs.push_back(node(FK(ComponentReference), {arr}));
        } else {
            break;
        }
    }
    return node(FK(DataObjectReference), {id, list(FK(ComponentReferenceList), refs)});
}

// In a constraint value "name[...]" is a length attribute unless the
// reference goes on after the "]" (".field" or another "[...]").
bool FieldParserCore::indexContinues() const {
    int depth = 0;
    for (std::size_t n = 0;; ++n) {
        const Token& t = ahead(n);
        if (t.kind == Tok::End) return false;
        if (t.kind == Tok::LBrack || t.kind == Tok::LParen || t.kind == Tok::LBrace) ++depth;
        if (t.kind == Tok::RBrack || t.kind == Tok::RParen || t.kind == Tok::RBrace) {
            if (--depth == 0) return ahead(n + 1).kind == Tok::Dot || ahead(n + 1).kind == Tok::LBrack;
        }
    }
}

TreeNode* FieldParserCore::signedNumber() {
    expect(Tok::Minus);
    TreeNode* minus = keyword(FK(Minus));
    return node(FK(SignedNumber), {minus, number()});
}

namespace {

TreeNode* valueBound(FieldParserCore& p) {
    if (p.at(Tok::Number)) return p.node(FK(ValueBound), {p.number()});
    return p.node(FK(ValueBound), {p.identifier()});
}

TreeNode* constraintExpression(FieldParserCore& p) {
    return p.node(FK(ConstraintExpression), {p.expression()});
}

} // namespace

TreeNode* FieldParserCore::constraintValueAndAttributes() {
    Nest guard(*this);
    TreeNode* cv = constraintValue();
    TreeNode* attributes = nullptr;
    if (at(Tok::LBrack) || atWord("IF_PRESENT")) {
        TreeNode* length = nullptr;
        if (accept(Tok::LBrack)) {
            TreeNode* lo = valueBound(*this);
            if (accept(Tok::DotDot) || acceptWord("TO")) {
                TreeNode* hi = acceptWord("INFINITY") ? keyword(FK(INFINITY)) : valueBound(*this);
                length = node(FK(ValueLength), {node(FK(RangeValueLength),
                    {node(FK(LowerValueBound), {lo}), node(FK(UpperValueBound), {hi})})});
            } else {
                length = node(FK(ValueLength), {node(FK(SingleValueLength), {lo})});
            }
            expect(Tok::RBrack);
        }
        TreeNode* ifPresent = acceptWord("IF_PRESENT") ? keyword(FK(IF_PRESENT)) : nullptr;
        attributes = node(FK(ValueAttributes), {length, ifPresent});
    }
    return node(FK(ConstraintValueAndAttributes), {cv, attributes});
}

TreeNode* FieldParserCore::valueList() {
    expect(Tok::LParen);
    std::vector<TreeNode*> values;
    do values.push_back(constraintValueAndAttributes()); while (accept(Tok::Comma));
    expect(Tok::RParen);
    return list(FK(ValueList), values);
}

TreeNode* FieldParserCore::constraintValue() {
    auto matching = [&](TreeNode* m) {
        return node(FK(ConstraintValue), {node(FK(MatchingSymbol), {m})});
    };
    if (accept(Tok::Quest)) return matching(keyword(FK(ANYValue)));
    if (accept(Tok::Star)) return matching(keyword(FK(AnyOrOmit)));
    if ((at(Tok::Minus) && isTerminatorOfValue(ahead(1))) || (atWord("OMIT") && isTerminatorOfValue(ahead(1)))) {
        take();
        return matching(node(FK(Omit), {keyword(FK(OMIT))}));
    }
    if (acceptWord("COMPLEMENT")) return matching(node(FK(Complement), {valueList()}));
    if (acceptWord("PERMUTATION")) return matching(node(FK(Permutation), {valueList()}));
    if (atWord("SUPERSET") || atWord("SUBSET")) {
        int32_t kind = atWord("SUPERSET") ? FK(SuperSet) : FK(SubSet);
        take();
        expect(Tok::LParen);
        TreeNode* v = constraintValueAndAttributes();
        expect(Tok::RParen);
        return matching(node(kind, {v}));
    }
    if (at(Tok::LParen)) {
        int shape = parenShape();
        if (shape == 1) return matching(valueList());
        if (shape == 2) {
            take();
            TreeNode* lo;
            if (at(Tok::Minus) && aheadWord(1, "INFINITY")) {
                take();
                take();
                lo = node(FK(LowerRangeBound), {keyword(FK(MinusINFINITY))});
            } else {
                lo = node(FK(LowerRangeBound), {constraintExpression(*this)});
            }
            if (!accept(Tok::DotDot) && !acceptWord("TO")) fail();
            TreeNode* hi = acceptWord("INFINITY") ? node(FK(UpperRangeBound), {keyword(FK(INFINITY))})
                                                  : node(FK(UpperRangeBound), {constraintExpression(*this)});
            expect(Tok::RParen);
            return matching(node(FK(ValRange), {lo, hi}));
        }
    }
    bool saved = inConstraint;
    inConstraint = true;
    TreeNode* e = expression();
    inConstraint = saved;
    TreeNode* alone = lonePrimary(e);
    if (alone && alone->kind == FK(ConsRef)) return node(FK(ConstraintValue), {alone});
    return node(FK(ConstraintValue), {node(FK(ConstraintExpression), {e})});
}

TreeNode* FieldParserCore::asn1BraceValue() {
    Nest guard(*this);
    expect(Tok::LBrace);
    auto asn1 = [&](TreeNode* v) { return node(FK(ASN1_Value), {v}); };
    if (accept(Tok::RBrace))
        return asn1(node(FK(SequenceOfValue), {list(FK(ASN1_ValueList), {})}));

    // Survey the top level of the braces: elements, and whether commas part them.
    int depth = 0;
    int commas = 0;
    int elementsWithoutCommas = 0;
    bool prevEndsElement = false;
    for (std::size_t n = 0;; ++n) {
        const Token& t = ahead(n);
        if (t.kind == Tok::End) break;
        if (t.kind == Tok::LBrace || t.kind == Tok::LParen || t.kind == Tok::LBrack) {
            if (depth == 0 && !prevEndsElement) ++elementsWithoutCommas;
            ++depth;
            prevEndsElement = false;
            continue;
        }
        if (t.kind == Tok::RBrace || t.kind == Tok::RParen || t.kind == Tok::RBrack) {
            if (depth == 0) break;
            --depth;
            prevEndsElement = depth == 0;
            continue;
        }
        if (depth == 0) {
            if (t.kind == Tok::Comma) { ++commas; prevEndsElement = false; continue; }
            if (t.kind == Tok::Number || t.kind == Tok::Ident) {
                ++elementsWithoutCommas;
                prevEndsElement = true;
                continue;
            }
        }
    }

    // { 1 2 3 }, { iso standard 8882 } or { a(1) b(2) }: an object
    // identifier. ("name (n)" followed by more than "," or "}" is an arc.)
    if (commas == 0) {
        bool arcStart = at(Tok::Number) || (at(Tok::Ident) && isObjectIdentifierArc(cur().text))
            || (at(Tok::Ident) && ahead(1).kind == Tok::LParen && ahead(2).kind == Tok::Number
                && ahead(3).kind == Tok::RParen);
        std::size_t save = position();
        if (elementsWithoutCommas >= 3 || (arcStart && elementsWithoutCommas >= 2)) {
            std::vector<TreeNode*> parts;
            bool ok = true;
            while (!at(Tok::RBrace) && ok) {
                if (at(Tok::Number)) {
                    parts.push_back(node(FK(ObjIdComponent), {node(FK(NumberForm), {number()})}));
                } else if (at(Tok::Ident) && ahead(1).kind == Tok::LParen && ahead(2).kind == Tok::Number
                           && ahead(3).kind == Tok::RParen) {
                    TreeNode* name = node(FK(NameForm), {identifier()});
                    take();
                    TreeNode* num = node(FK(NumberForm), {number()});
                    take();
                    parts.push_back(node(FK(ObjIdComponent), {node(FK(NameAndNumberForm), {name, num})}));
                } else if (at(Tok::Ident) && !isReservedWord(cur().text)) {
                    parts.push_back(node(FK(ObjIdComponent), {node(FK(NameForm), {identifier()})}));
                } else {
                    ok = false;
                }
            }
            if (ok) {
                take();
                return asn1(node(FK(ObjectIdentifierValue), {list(FK(ObjIdComponentList), parts)}));
            }
            rewind(save);
        }
    }

    // { mantissa, 2 or 10, exponent }: a real value, also written with the
    // component names { mantissa m, base 2 or 10, exponent e }.
    if (commas == 2) {
        bool named = aheadWord(0, "mantissa");
        std::size_t n = named ? 1 : 0;
        auto signedAt = [&](std::size_t& k) {
            if (ahead(k).kind == Tok::Minus) ++k;
            if (ahead(k).kind != Tok::Number) return false;
            ++k;
            return true;
        };
        std::size_t named1 = named ? 1 : 0;
        bool real = signedAt(n) && ahead(n).kind == Tok::Comma && (!named || aheadWord(n + 1, "base"))
            && ahead(n + 1 + named1).kind == Tok::Number
            && (ahead(n + 1 + named1).text == "2" || ahead(n + 1 + named1).text == "10")
            && ahead(n + 2 + named1).kind == Tok::Comma && (!named || aheadWord(n + 3 + named1, "exponent"));
        if (real) {
            n += 3 + 2 * named1;
            real = signedAt(n) && ahead(n).kind == Tok::RBrace;
        }
        if (real) {
            auto name = [&](std::string_view w) { if (named) expectWord(w); };
            auto part = [&](int32_t kind) {
                if (at(Tok::Minus)) return node(kind, {signedNumber()});
                return node(kind, {number()});
            };
            name("mantissa");
            TreeNode* mantissa = part(FK(Mantissa));
            expect(Tok::Comma);
            name("base");
            TreeNode* base = node(FK(Base), {keyword(take().text == "2" ? FK(Two) : FK(Ten))});
            expect(Tok::Comma);
            name("exponent");
            TreeNode* exponent = part(FK(Exponent));
            expect(Tok::RBrace);
            return asn1(node(FK(RealValue), {node(FK(NumericRealValue), {mantissa, base, exponent})}));
        }
    }

    // { name value, ... }: a SEQUENCE or SET value.
    if (bracesHoldNamedValues()) {
        std::vector<TreeNode*> named;
        do {
            TreeNode* id = identifier();
            named.push_back(node(FK(NamedValue), {id, constraintValueAndAttributes()}));
        } while (accept(Tok::Comma));
        expect(Tok::RBrace);
        return asn1(node(FK(SequenceValue), {list(FK(ElementValueList), named)}));
    }

    // A list of strings and {column, row} tuples: a character string list.
    {
        bool sawString = false;
        bool sawTuple = false;
        bool onlyChars = true;
        std::size_t n = 0;
        for (;;) {
            const Token& t = ahead(n);
            if (t.kind == Tok::Cstring) { sawString = true; ++n; }
            else if (t.kind == Tok::LBrace && ahead(n + 1).kind == Tok::Number && ahead(n + 2).kind == Tok::Comma
                     && ahead(n + 3).kind == Tok::Number && ahead(n + 4).kind == Tok::RBrace) {
                sawTuple = true;
                n += 5;
            } else { onlyChars = false; break; }
            if (ahead(n).kind == Tok::Comma) { ++n; continue; }
            if (ahead(n).kind != Tok::RBrace) onlyChars = false;
            break;
        }
        if (onlyChars && sawString && sawTuple) {
            std::vector<TreeNode*> items;
            do {
                if (at(Tok::Cstring)) {
                    items.push_back(node(FK(CharsDefn), {textLeaf(FK(Cstring), take().text)}));
                } else {
                    take();
                    TreeNode* column = node(FK(TableColumn), {number()});
                    expect(Tok::Comma);
                    TreeNode* row = node(FK(TableRow), {number()});
                    expect(Tok::RBrace);
                    items.push_back(node(FK(CharsDefn), {node(FK(Tuple), {column, row})}));
                }
            } while (accept(Tok::Comma));
            expect(Tok::RBrace);
            return node(FK(LiteralValue), {list(FK(CharacterStringList), items)});
        }
    }

    std::vector<TreeNode*> values;
    do values.push_back(constraintValueAndAttributes()); while (accept(Tok::Comma));
    expect(Tok::RBrace);
    return asn1(node(FK(SequenceOfValue), {list(FK(ASN1_ValueList), values)}));
}

namespace {

TreeNode* referenceList(FieldParserCore& p) {
    TreeNode* first;
    if (p.at(Tok::LParen)) {
        p.take();
        first = p.node(FK(ComponentPosition), {p.number()});
        p.expect(Tok::RParen);
    } else {
        first = p.node(FK(ComponentIdentifier), {p.identifier()});
    }
    std::vector<TreeNode*> refs;
    for (;;) {
        if (p.at(Tok::Dot) && p.ahead(1).kind == Tok::Ident) {
            p.take();
            TreeNode* rec = p.node(FK(RecordRef), {p.node(FK(ComponentIdentifier), {p.identifier()})});
            refs.push_back(p.node(FK(ComponentReference), {rec}));
        } else if (p.accept(Tok::LBrack)) {
            TreeNode* e = p.expression();
            p.expect(Tok::RBrack);
            refs.push_back(p.node(FK(ComponentReference), {p.node(FK(ArrayRef), {p.node(FK(ComponentNumber), {e})})}));
        } else {
            break;
        }
    }
    return p.node(FK(ReferenceList), {p.node(FK(ArrayRefOrComp), {first}), p.list(FK(ComponentReferenceList), refs)});
}

} // namespace

TreeNode* FieldParserCore::replacementList() {
    std::vector<TreeNode*> items;
    do {
        if (acceptWord("REPLACE")) {
            TreeNode* refs = referenceList(*this);
            expectWord("BY");
            TreeNode* v = constraintValueAndAttributes();
            items.push_back(node(FK(Replacement), {node(FK(Replace), {refs, v})}));
        } else {
            expectWord("OMIT");
            items.push_back(node(FK(Replacement), {node(FK(OmitReference), {referenceList(*this)})}));
        }
    } while (accept(Tok::Comma));
    return list(FK(ReplacementList), items);
}

TreeNode* FieldParserCore::consValueOrReplace() {
    bool replace = atWord("REPLACE") || (atWord("OMIT") && !isTerminatorOfValue(ahead(1)));
    TreeNode* inner = replace ? replacementList() : constraintValueAndAttributes();
    return node(FK(ConstraintValueAndAttributesOrReplace), {inner});
}

void reclassifyCall(TreeNode* call, bool toConstraintReference) {
    if (!call || call->count != 2 || !call->child[1]) return;
    call->kind = toConstraintReference ? FK(ConsRef) : FK(OpCall);
    call->production = call->kind;
    call->child[1]->kind = toConstraintReference ? FK(ActualCrefParList) : FK(ActualParList);
    call->child[1]->production = call->child[1]->kind;
}
