// Behaviour lines: events, qualifiers, assignments, timer operations,
// constructs, implicit send; constraint references and verdicts.
#include "suite/fields/FieldParserCore.h"
#include "suite/TextSpan.h"

TreeNode* FieldParserCore::line() {
    expect(Tok::LBrack);
    // A level is a number the tree builder can hold; a longer one is refused
    // here rather than wrapped around.
    if (at(Tok::Number) && !textspan::decimal<int32_t>(cur().text)) fail();
    TreeNode* indentation = node(FK(Indentation), {number()});
    expect(Tok::RBrack);
    return node(FK(Line), {indentation, statementLine()});
}

TreeNode* FieldParserCore::attach(int32_t kind) {
    TreeNode* ref = node(FK(TreeReference), {identifier()});
    return node(kind, {ref, actualParList(FK(ActualParList))});
}

TreeNode* FieldParserCore::defaultRefList() {
    std::vector<TreeNode*> refs;
    do {
        TreeNode* id = identifier();
        refs.push_back(node(FK(DefaultReference), {id, actualParList(FK(ActualParList))}));
    } while (accept(Tok::Comma));
    return list(FK(DefaultRefList), refs);
}

TreeNode* FieldParserCore::statementLine() {
    auto construct = [&](TreeNode* c) { return node(FK(StatementLine), {node(FK(Construct), {c})}); };
    if (accept(Tok::Plus)) return construct(attach(FK(Attach)));
    if (accept(Tok::Arrow) || acceptWord("GOTO"))
        return construct(node(FK(GoTo), {node(FK(Label), {identifier()})}));
    if (at(Tok::Less) && aheadWord(1, "IUT")) {
        take();
        take();
        expect(Tok::Bang);
        TreeNode* id = identifier();
        expect(Tok::Greater);
        return node(FK(StatementLine), {node(FK(ImplicitSend), {id})});
    }
    if (acceptWord("REPEAT")) {
        TreeNode* a = attach(FK(Attach));
        expectWord("UNTIL");
        return construct(node(FK(Repeat), {a, qualifier()}));
    }
    if (acceptWord("CREATE")) {
        expect(Tok::LParen);
        std::vector<TreeNode*> comps;
        do {
            TreeNode* id = identifier();
            expect(Tok::Colon);
            comps.push_back(node(FK(CreateTComp), {id, attach(FK(CreateAttach))}));
        } while (accept(Tok::Comma));
        expect(Tok::RParen);
        return construct(node(FK(Create), {list(FK(CreateList), comps)}));
    }
    if (acceptWord("ACTIVATE")) {
        expect(Tok::LParen);
        TreeNode* refs = at(Tok::RParen) ? list(FK(DefaultRefList), {}) : defaultRefList();
        expect(Tok::RParen);
        return construct(node(FK(Activate), {refs}));
    }
    if (acceptWord("RETURN")) return construct(keyword(FK(RETURN_)));
    return node(FK(StatementLine), {eventStatement()});
}

TreeNode* FieldParserCore::eventStatement() {
    TreeNode* event = nullptr;
    auto pcoThen = [&](Tok sign) {
        return at(Tok::Ident) && !isReservedWord(cur().text) && ahead(1).kind == sign;
    };
    if (at(Tok::Quest) || at(Tok::Bang) || pcoThen(Tok::Quest) || pcoThen(Tok::Bang)) {
        TreeNode* pco = at(Tok::Ident) ? identifier() : nullptr;
        bool send = take().kind == Tok::Bang;
        if (send) {
            event = node(FK(Event), {node(FK(Send), {pco, identifier()})});
        } else if (acceptWord("OTHERWISE")) {
            event = node(FK(Event), {node(FK(Otherwise), {pco})});
        } else if (!pco && acceptWord("TIMEOUT")) {
            TreeNode* timer = at(Tok::Ident) && !isReservedWord(cur().text) ? identifier() : nullptr;
            event = node(FK(Event), {node(FK(Timeout), {timer})});
        } else if (!pco && acceptWord("DONE")) {
            // "? DONE" alone waits for every component, like "? DONE()".
            std::vector<TreeNode*> ids;
            if (accept(Tok::LParen)) {
                if (!at(Tok::RParen)) {
                    do ids.push_back(identifier()); while (accept(Tok::Comma));
                }
                expect(Tok::RParen);
            }
            event = node(FK(Event), {node(FK(Done), {list(FK(TCompIdList), ids)})});
        } else {
            event = node(FK(Event), {node(FK(Receive), {pco, identifier()})});
        }
    }
    TreeNode* qual = at(Tok::LBrack) ? qualifier() : nullptr;
    TreeNode* assignments = at(Tok::LParen) ? assignmentList() : list(FK(AssignmentList), {});
    TreeNode* timers = timerOps();
    if (!event && !qual && assignments->count == 0 && timers->count == 0) fail();
    return node(FK(EventStatement), {event, qual, assignments, timers});
}

TreeNode* FieldParserCore::qualifier() {
    expect(Tok::LBrack);
    TreeNode* e = expression();
    expect(Tok::RBrack);
    return node(FK(Qualifier), {e});
}

TreeNode* FieldParserCore::assignmentList() {
    expect(Tok::LParen);
    std::vector<TreeNode*> items;
    do {
        TreeNode* target = dataObjectReference();
        expect(Tok::Assign);
        items.push_back(node(FK(Assignment), {target, expression()}));
    } while (accept(Tok::Comma));
    expect(Tok::RParen);
    return list(FK(AssignmentList), items);
}

TreeNode* FieldParserCore::timerOps() {
    std::vector<TreeNode*> ops;
    auto timerName = [&]() { return at(Tok::Ident) && !isReservedWord(cur().text); };
    for (;;) {
        if (acceptWord("START")) {
            TreeNode* id = identifier();
            TreeNode* v = nullptr;
            if (accept(Tok::LParen)) {
                v = node(FK(TimerValue), {expression()});
                expect(Tok::RParen);
            }
            ops.push_back(node(FK(TimerOp), {node(FK(StartTimer), {id, v})}));
        } else if (acceptWord("CANCEL")) {
            TreeNode* id = timerName() ? identifier() : nullptr;
            ops.push_back(node(FK(TimerOp), {node(FK(CancelTimer), {id})}));
        } else if (acceptWord("READTIMER")) {
            TreeNode* id = identifier();
            expect(Tok::LParen);
            TreeNode* ref = dataObjectReference();
            expect(Tok::RParen);
            ops.push_back(node(FK(TimerOp), {node(FK(ReadTimer), {id, ref})}));
        } else {
            if (!ops.empty()) fail();
            break;
        }
        if (!accept(Tok::Comma)) break;
    }
    return list(FK(TimerOps), ops);
}

TreeNode* FieldParserCore::constraintReference() {
    if (ahead(1).kind == Tok::LParen) {
        TreeNode* id = identifier();
        TreeNode* pars = actualParList(FK(ActualCrefParList));
        return node(FK(ConstraintReference), {node(FK(ConsRef), {id, pars})});
    }
    return node(FK(ConstraintReference), {identifier()});
}

TreeNode* FieldParserCore::verdict() {
    bool preliminary = accept(Tok::LParen);
    if (!at(Tok::Ident)) fail();
    std::string_view w = cur().text;
    TreeNode* v;
    if (w == "PASS" || w == "P") v = node(FK(Pass), {keyword(preliminary ? FK(PreliminaryPASS) : FK(PASS))});
    else if (w == "FAIL" || w == "F") v = node(FK(Fail), {keyword(preliminary ? FK(PreliminaryFAIL) : FK(FAIL))});
    else if (w == "INCONC" || w == "I")
        v = node(FK(Inconclusive), {keyword(preliminary ? FK(PreliminaryINCONC) : FK(INCONC))});
    else if (w == "R" && !preliminary) v = node(FK(Result), {keyword(FK(R))});
    else fail();
    take();
    if (preliminary) expect(Tok::RParen);
    return node(FK(Verdict), {v});
}
