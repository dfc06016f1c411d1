#include "suite/fields/FieldParserCore.h"

#include <algorithm>

FieldParserCore::FieldParserCore(std::string_view text, LexMode mode, int32_t line, TreeArena& arena)
    : text_(text), mode_(mode), line_(line), arena_(arena), toks_(lexField(text, mode)) {
    // Free text stands only inside a full identifier "(/* ... */)"; anywhere
    // else it is a comment and is dropped (in place, keeping the order).
    std::size_t kept = 0;
    for (std::size_t i = 0; i < toks_.size(); ++i) {
        if (toks_[i].kind == Tok::FreeText) {
            bool inFullId = kept > 0 && toks_[kept - 1].kind == Tok::LParen && i + 1 < toks_.size()
                && toks_[i + 1].kind == Tok::RParen;
            if (!inFullId) continue;
        }
        toks_[kept++] = toks_[i];
    }
    toks_.resize(kept);
}

void FieldParserCore::fail(int32_t message) const {
    throw FieldSyntaxError{message, cur().offset};
}

void FieldParserCore::failAt(int32_t message, int32_t offset) const {
    throw FieldSyntaxError{message, offset};
}

FieldParserCore::Nest::Nest(FieldParserCore& p) : p_(p) {
    if (++p_.depth_ > kMaxFieldNesting) {
        --p_.depth_;
        p_.fail();
    }
}

TreeNode* FieldParserCore::node(int32_t kind, std::initializer_list<TreeNode*> children) {
    TreeNode* n = arena_.make(kind, children, line_);
    n->production = kind;
    return n;
}

TreeNode* FieldParserCore::list(int32_t kind, const std::vector<TreeNode*>& elements) {
    TreeNode* n = arena_.make(kind, std::span<TreeNode* const>(elements.data(), elements.size()), line_);
    n->production = kind;
    return n;
}

TreeNode* FieldParserCore::keyword(int32_t kind) {
    TreeNode* n = arena_.make(kind, 0, line_);
    n->production = kind;
    return n;
}

TreeNode* FieldParserCore::textLeaf(int32_t kind, std::string_view text) {
    TreeNode* n = arena_.makeText(kind, text, line_);
    n->production = kind;
    return n;
}

TreeNode* FieldParserCore::identifier() {
    if (!at(Tok::Ident) || isReservedWord(cur().text)) fail();
    return textLeaf(FK(Identifier), take().text);
}

TreeNode* FieldParserCore::number() {
    if (!at(Tok::Number)) fail();
    return textLeaf(FK(Number), take().text);
}

int FieldParserCore::parenShape(std::size_t from) const {
    int depth = 0;
    for (std::size_t n = from;; ++n) {
        const Token& t = ahead(n);
        switch (t.kind) {
        case Tok::End:
            return 0;
        case Tok::LParen: case Tok::LBrack: case Tok::LBrace:
            ++depth;
            break;
        case Tok::RParen: case Tok::RBrack: case Tok::RBrace:
            if (--depth == 0) return 0;
            break;
        case Tok::Comma:
            if (depth == 1) return 1;
            break;
        case Tok::DotDot:
            if (depth == 1) return 2;
            break;
        case Tok::Ident:
            if (depth == 1 && t.text == "TO") return 2;
            break;
        default:
            break;
        }
    }
}

bool FieldParserCore::isReservedWord(std::string_view w) {
    static constexpr std::string_view words[] = {
        "ACTIVATE", "AND", "BY", "CANCEL", "COMPLEMENT", "CREATE", "DONE", "GOTO", "IF_PRESENT",
        "INFINITY", "MOD", "NOT", "OMIT", "OR", "OTHERWISE", "PERMUTATION", "READTIMER", "REPEAT",
        "REPLACE", "RETURN", "START", "SUBSET", "SUPERSET", "TIMEOUT", "TO", "UNTIL",
    };
    return std::find(std::begin(words), std::end(words), w) != std::end(words);
}

bool FieldParserCore::isPredefinedOperation(std::string_view w) {
    static constexpr std::string_view ops[] = {
        "INT_TO_BIT", "BIT_TO_INT", "INT_TO_HEX", "HEX_TO_INT",
        "IS_PRESENT", "IS_CHOSEN", "NUMBER_OF_ELEMENTS", "LENGTH_OF",
    };
    return std::find(std::begin(ops), std::end(ops), w) != std::end(ops);
}
