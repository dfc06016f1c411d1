// Internal: the recursive-descent parser shared by every field grammar. One
// instance parses one cell; its member functions are spread over
// ParseTypes.cpp, ParseValues.cpp, ParseBehaviour.cpp and ParseAsn1.cpp.
#pragma once

#include "suite/fields/FieldKinds.h"
#include "suite/fields/FieldLexer.h"
#include "suite/fields/FieldParser.h"
#include "suite/LibraryMessageCodes.h"

#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

// Thrown inside the parser on the first syntax error; parseField catches it.
struct FieldSyntaxError {
    int32_t message;
    int32_t offset;
};

class FieldParserCore {
public:
    FieldParserCore(std::string_view text, LexMode mode, int32_t line, TreeArena& arena);

    // ---- token stream -------------------------------------------------
    const Token& cur() const { return toks_[pos_]; }
    const Token& ahead(std::size_t n) const {
        return pos_ + n < toks_.size() ? toks_[pos_ + n] : toks_.back();
    }
    bool at(Tok k) const { return cur().kind == k; }
    bool atWord(std::string_view w) const { return cur().kind == Tok::Ident && cur().text == w; }
    bool aheadWord(std::size_t n, std::string_view w) const {
        return ahead(n).kind == Tok::Ident && ahead(n).text == w;
    }
    const Token& take() { const Token& t = toks_[pos_]; if (pos_ + 1 < toks_.size()) ++pos_; return t; }
    bool accept(Tok k) { if (at(k)) { take(); return true; } return false; }
    bool acceptWord(std::string_view w) { if (atWord(w)) { take(); return true; } return false; }
    // A missing ")" at the end of the text has a message of its own.
    const Token& expect(Tok k) {
        if (!at(k)) fail(k == Tok::RParen && at(Tok::End) ? kMsgClosingParenthesisMissing : kMsgSyntaxError);
        return take();
    }
    void expectWord(std::string_view w) { if (!atWord(w)) fail(); take(); }
    [[noreturn]] void fail(int32_t message = kMsgSyntaxError) const;
    [[noreturn]] void failAt(int32_t message, int32_t offset) const;
    void expectEnd() { if (!at(Tok::End)) fail(); }

    // ---- node building ------------------------------------------------
    TreeNode* node(int32_t kind, std::initializer_list<TreeNode*> children);
    TreeNode* list(int32_t kind, const std::vector<TreeNode*>& elements);
    TreeNode* keyword(int32_t kind);
    TreeNode* textLeaf(int32_t kind, std::string_view text);
    TreeNode* identifier();              // Ident token -> Identifier leaf
    TreeNode* number();                  // Number token -> Number leaf
    TreeNode* wrapIdentifier(int32_t kind) { return node(kind, {identifier()}); }

    // ---- nesting guard --------------------------------------------------
    struct Nest {
        explicit Nest(FieldParserCore& p);
        ~Nest() { --p_.depth_; }
        FieldParserCore& p_;
    };

    // ---- types, parameters (ParseTypes.cpp) ---------------------------
    TreeNode* ttcnType();
    TreeNode* typeOrPdu();
    TreeNode* typeAndRestriction();
    TreeNode* typeAndAttributes();
    TreeNode* formalParList();           // empty list when no "(" follows
    TreeNode* actualParList(int32_t listKind); // empty list when no "(" follows
    TreeNode* idAndFullId(int32_t kind);
    TreeNode* idAndParList(int32_t kind);
    TreeNode* identifierList(int32_t listKind);
    TreeNode* derivationPath();

    // ---- values, expressions (ParseValues.cpp) ------------------------
    TreeNode* expression();
    TreeNode* simpleExpression();
    TreeNode* term();
    TreeNode* factor();
    TreeNode* primary();
    TreeNode* value();                   // Value choice node, or null when no value starts here
    TreeNode* literalValue();            // LiteralValue choice node, or null
    TreeNode* dataObjectReference();
    TreeNode* opCall();
    TreeNode* constraintValueAndAttributes();
    TreeNode* constraintValue();
    TreeNode* valueList();
    TreeNode* signedNumber();            // "-" Number
    TreeNode* asn1BraceValue();          // an ASN.1 value in braces, as ASN1_Value or LiteralValue
    TreeNode* replacementList();
    TreeNode* consValueOrReplace();

    // ---- behaviour lines (ParseBehaviour.cpp) --------------------------
    TreeNode* line();
    TreeNode* statementLine();
    TreeNode* eventStatement();
    TreeNode* qualifier();
    TreeNode* assignmentList();
    TreeNode* timerOps();
    TreeNode* attach(int32_t kind);
    TreeNode* defaultRefList();
    TreeNode* constraintReference();
    TreeNode* verdict();

    // ---- ASN.1 (ParseAsn1.cpp) ----------------------------------------
    TreeNode* asn1TypeAndLocalTypes();
    TreeNode* asn1Type();
    TreeNode* builtinOrDefinedType();
    TreeNode* subTypeSpec();
    TreeNode* subtypeValueSet();
    TreeNode* namedNumberList(int32_t listKind);
    TreeNode* elementTypeList();
    TreeNode* namedType();
    void skipElementName();

    // Words that begin a matching symbol or other construct and so are no
    // data object names.
    static bool isReservedWord(std::string_view w);
    static bool isPredefinedOperation(std::string_view w);

    // What the "(" at token `from` (counted from the current one) opens: 0 a
    // parenthesised expression, 1 a list (a comma at its top level), 2 a range
    // (TO or ".." at its top level).
    int parenShape(std::size_t from = 0) const;
    bool indexContinues() const;

    // Whether a named value ("name value") starts at token `from`: No, Yes, or
    // Maybe for "name (...)" without a range inside, which a call looks like too.
    enum class Named { No, Yes, Maybe };
    Named namedValueAt(std::size_t from) const;
    // Whether `name` calls something (see CallableName); a call when nobody can tell.
    bool isCallable(std::string_view name) const { return !callable || (*callable)(name); }
    // Whether the braces opened just before the current token hold named values.
    bool bracesHoldNamedValues() const;

    std::string_view text() const { return text_; }
    LexMode mode() const { return mode_; }
    std::size_t position() const { return pos_; }
    void rewind(std::size_t pos) { pos_ = pos; }

    // The full name of an object, when the cell gave one after the name
    // ("Id (/* full name */)" or "Id (full name)"); split off before lexing.
    std::optional<std::string_view> fullName;

    // Set while an expression is parsed in a constraint value: a call there
    // is guessed to be a constraint reference.
    bool inConstraint = false;

    // Tells calls from named values where the text cannot; null: nobody.
    const CallableName* callable = nullptr;

private:
    std::string_view text_;
    LexMode mode_;
    int32_t line_;
    TreeArena& arena_;
    std::vector<Token> toks_;
    std::size_t pos_ = 0;
    int depth_ = 0;
};

