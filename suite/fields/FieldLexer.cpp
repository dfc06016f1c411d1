#include "suite/fields/FieldLexer.h"
#include "suite/TextSpan.h"

namespace {

bool isAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isNameChar(char c) { return isAlpha(c) || isDigit(c) || c == '_'; }
using textspan::isBlank;

class Lexer {
public:
    Lexer(std::string_view text, LexMode mode) : s_(text), mode_(mode) {}

    void run(std::vector<Token>& out) {
        out.clear();
        out.reserve(s_.size() / 3 + 2);
        for (;;) {
            skipBlanksAndComments();
            if (p_ >= s_.size()) break;
            Token t = next();
            out.push_back(t);
            if (t.kind == Tok::Bad) break;
        }
        Token end;
        end.kind = Tok::End;
        end.offset = static_cast<int32_t>(s_.size());
        out.push_back(end);
    }

private:
    Token make(Tok kind, std::size_t from, std::size_t len) const {
        Token t;
        t.kind = kind;
        t.offset = static_cast<int32_t>(from);
        t.text = s_.substr(from, len);
        return t;
    }

    char at(std::size_t i) const { return i < s_.size() ? s_[i] : '\0'; }

    void skipBlanksAndComments() {
        for (;;) {
            while (p_ < s_.size() && isBlank(s_[p_])) ++p_;
            // ASN.1 comment: "--" to the next "--" or the end of the line.
            if (mode_ == LexMode::Asn1 && at(p_) == '-' && at(p_ + 1) == '-') {
                p_ += 2;
                while (p_ < s_.size() && s_[p_] != '\n') {
                    if (s_[p_] == '-' && at(p_ + 1) == '-') { p_ += 2; break; }
                    ++p_;
                }
                continue;
            }
            return;
        }
    }

    Token next() {
        std::size_t start = p_;
        char c = s_[p_];
        if (isAlpha(c)) {
            ++p_;
            for (;;) {
                if (isNameChar(at(p_))) { ++p_; continue; }
                // ASN.1 names may hold single hyphens between name characters.
                // TTCN text refers to such names too ("pdu.user-data"), so
                // there a hyphen joins when a letter follows it ("n-1" stays
                // a subtraction).
                bool joins = mode_ == LexMode::Asn1 ? isNameChar(at(p_ + 1)) : isAlpha(at(p_ + 1));
                if (at(p_) == '-' && joins) {
                    p_ += 2;
                    continue;
                }
                break;
            }
            return make(Tok::Ident, start, p_ - start);
        }
        if (isDigit(c)) {
            while (isDigit(at(p_))) ++p_;
            return make(Tok::Number, start, p_ - start);
        }
        if (c == '"') return cstring();
        if (c == '\'') return binaryString();
        if (c == '/' && at(p_ + 1) == '*') return freeText();
        ++p_;
        switch (c) {
        case '(': return make(Tok::LParen, start, 1);
        case ')': return make(Tok::RParen, start, 1);
        case '[': return make(Tok::LBrack, start, 1);
        case ']': return make(Tok::RBrack, start, 1);
        case '{': return make(Tok::LBrace, start, 1);
        case '}': return make(Tok::RBrace, start, 1);
        case ',': return make(Tok::Comma, start, 1);
        case ';': return make(Tok::Semi, start, 1);
        case '!': return make(Tok::Bang, start, 1);
        case '?': return make(Tok::Quest, start, 1);
        case '*': return make(Tok::Star, start, 1);
        case '+': return make(Tok::Plus, start, 1);
        case '=': return make(Tok::Equal, start, 1);
        case '/': return make(Tok::Slash, start, 1);
        case '|': return make(Tok::Bar, start, 1);
        case '-':
            if (at(p_) == '>') { ++p_; return make(Tok::Arrow, start, 2); }
            return make(Tok::Minus, start, 1);
        case '.':
            if (at(p_) == '.') {
                ++p_;
                if (at(p_) == '.') { ++p_; return make(Tok::Ellipsis, start, 3); }
                return make(Tok::DotDot, start, 2);
            }
            return make(Tok::Dot, start, 1);
        case ':':
            if (at(p_) == '=') { ++p_; return make(Tok::Assign, start, 2); }
            if (at(p_) == ':' && at(p_ + 1) == '=') { p_ += 2; return make(Tok::Define, start, 3); }
            return make(Tok::Colon, start, 1);
        case '<':
            if (at(p_) == '=') { ++p_; return make(Tok::LessEq, start, 2); }
            if (at(p_) == '>') { ++p_; return make(Tok::NotEqual, start, 2); }
            return make(Tok::Less, start, 1);
        case '>':
            if (at(p_) == '=') { ++p_; return make(Tok::GreaterEq, start, 2); }
            return make(Tok::Greater, start, 1);
        default:
            return make(Tok::Bad, start, 1);
        }
    }

    // "..." with "" standing for one quote inside.
    Token cstring() {
        std::size_t start = p_++;
        for (;;) {
            if (p_ >= s_.size()) return make(Tok::Bad, start, 1);
            if (s_[p_] == '"') {
                if (at(p_ + 1) == '"') { p_ += 2; continue; }
                break;
            }
            ++p_;
        }
        Token t = make(Tok::Cstring, start, 0);
        t.text = s_.substr(start + 1, p_ - start - 1);
        ++p_;
        return t;
    }

    // '...'B, '...'H or '...'O.
    Token binaryString() {
        std::size_t start = p_++;
        while (p_ < s_.size() && s_[p_] != '\'') ++p_;
        if (p_ >= s_.size()) return make(Tok::Bad, start, 1);
        std::size_t close = p_++;
        Tok kind;
        switch (at(p_)) {
        case 'B': case 'b': kind = Tok::Bstring; break;
        case 'H': case 'h': kind = Tok::Hstring; break;
        case 'O': case 'o': kind = Tok::Ostring; break;
        default: return make(Tok::Bad, start, 1);
        }
        ++p_;
        if (isNameChar(at(p_))) return make(Tok::Bad, start, 1);
        Token t = make(kind, start, 0);
        t.text = s_.substr(start + 1, close - start - 1);
        return t;
    }

    Token freeText() {
        std::size_t start = p_;
        std::size_t end = s_.find("*/", p_ + 2);
        if (end == std::string_view::npos) return make(Tok::Bad, start, 2);
        p_ = end + 2;
        Token t = make(Tok::FreeText, start, 0);
        t.text = s_.substr(start + 2, end - start - 2);
        return t;
    }

    std::string_view s_;
    LexMode mode_;
    std::size_t p_ = 0;
};

} // namespace

std::vector<Token> lexField(std::string_view text, LexMode mode) {
    std::vector<Token> out;
    lexField(text, mode, out);
    return out;
}

void lexField(std::string_view text, LexMode mode, std::vector<Token>& out) { Lexer(text, mode).run(out); }
