#include "modconv/AsnLexer.h"

namespace {
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
}  // namespace

bool startsUpper(std::string_view word) { return !word.empty() && word[0] >= 'A' && word[0] <= 'Z'; }
bool startsLower(std::string_view word) { return !word.empty() && word[0] >= 'a' && word[0] <= 'z'; }

AsnSource::AsnSource(std::string text) : text_(std::move(text)) { scan(); }

std::string_view AsnSource::spelling(const AsnToken& token) const {
    return std::string_view(text_).substr(token.begin, token.end - token.begin);
}

std::string_view AsnSource::spelling(std::size_t index) const {
    if (index >= tokens_.size()) return {};
    return spelling(tokens_[index]);
}

void AsnSource::scan() {
    const std::string& s = text_;
    const std::size_t n = s.size();
    std::size_t i = 0;
    int line = 1;
    bool space = true;
    bool newLine = true;
    auto peek = [&](std::size_t at) { return at < n ? s[at] : '\0'; };
    auto countLines = [&](std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < to; ++k)
            if (s[k] == '\n') ++line;
    };
    auto push = [&](AsnTokenKind kind, std::size_t begin, std::size_t end, int startLine) {
        tokens_.push_back({kind, begin, end, startLine, space, newLine});
        space = false;
        newLine = false;
    };

    while (i < n) {
        char c = s[i];
        if (isSpace(c)) {
            if (c == '\n') {
                ++line;
                newLine = true;
            }
            space = true;
            ++i;
            continue;
        }
        // "--" comment: up to the next "--" or the end of the line.
        if (c == '-' && peek(i + 1) == '-') {
            i += 2;
            while (i < n && s[i] != '\n' && !(s[i] == '-' && peek(i + 1) == '-')) ++i;
            if (i < n && s[i] == '-') i += 2;
            space = true;
            continue;
        }
        // "/* */" comment, nested.
        if (c == '/' && peek(i + 1) == '*') {
            int startLine = line;
            int depth = 0;
            std::size_t k = i;
            while (k < n) {
                if (s[k] == '/' && peek(k + 1) == '*') {
                    ++depth;
                    k += 2;
                } else if (s[k] == '*' && peek(k + 1) == '/') {
                    k += 2;
                    if (--depth == 0) break;
                } else {
                    ++k;
                }
            }
            if (depth != 0) unclosedCommentLine_ = startLine;
            for (std::size_t m = i; m < k; ++m)
                if (s[m] == '\n') newLine = true;
            countLines(i, k);
            i = k;
            space = true;
            continue;
        }
        std::size_t begin = i;
        int startLine = line;
        if (isLetter(c) || (c == '&' && isLetter(peek(i + 1)))) {
            ++i;
            // A hyphen belongs to the word unless it ends it or starts a comment.
            while (i < n && (isLetter(s[i]) || isDigit(s[i]) ||
                             (s[i] == '-' && peek(i + 1) != '-' && (isLetter(peek(i + 1)) || isDigit(peek(i + 1))))))
                ++i;
            push(AsnTokenKind::Word, begin, i, startLine);
            continue;
        }
        if (isDigit(c)) {
            while (i < n && isDigit(s[i])) ++i;
            if (peek(i) == '.' && isDigit(peek(i + 1))) {
                ++i;
                while (i < n && isDigit(s[i])) ++i;
            }
            if ((peek(i) == 'e' || peek(i) == 'E') &&
                (isDigit(peek(i + 1)) || (peek(i + 1) == '-' && isDigit(peek(i + 2))))) {
                i += 2;
                while (i < n && isDigit(s[i])) ++i;
            }
            push(AsnTokenKind::Number, begin, i, startLine);
            continue;
        }
        if (c == '"') {
            ++i;
            for (;;) {
                if (i >= n) break;
                if (s[i] == '"') {
                    if (peek(i + 1) == '"') {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            bool closed = i > begin + 1 && s[i - 1] == '"' && i <= n;
            countLines(begin, i);
            push(closed ? AsnTokenKind::String : AsnTokenKind::Invalid, begin, i, startLine);
            continue;
        }
        if (c == '\'') {
            std::size_t k = i + 1;
            while (k < n && s[k] != '\'') ++k;
            if (k < n && (peek(k + 1) == 'B' || peek(k + 1) == 'H' || peek(k + 1) == 'b' || peek(k + 1) == 'h')) {
                i = k + 2;
                countLines(begin, i);
                push(AsnTokenKind::BitOrHexString, begin, i, startLine);
            } else {
                ++i;
                push(AsnTokenKind::Invalid, begin, i, startLine);
            }
            continue;
        }
        static constexpr std::string_view kLongSymbols[] = {"::=", "...", "..", "[[", "]]"};
        bool matched = false;
        for (std::string_view symbol : kLongSymbols) {
            if (s.compare(i, symbol.size(), symbol) == 0) {
                i += symbol.size();
                push(AsnTokenKind::Symbol, begin, i, startLine);
                matched = true;
                break;
            }
        }
        if (matched) continue;
        static constexpr std::string_view kSymbols = "{}()[],;.|^<>@!:&-+*/=";
        if (kSymbols.find(c) != std::string_view::npos) {
            ++i;
            push(AsnTokenKind::Symbol, begin, i, startLine);
            continue;
        }
        // Anything else, a multi-byte character as a whole.
        ++i;
        if (static_cast<unsigned char>(c) >= 0xC0)
            while (i < n && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
        push(AsnTokenKind::Invalid, begin, i, startLine);
    }
}
