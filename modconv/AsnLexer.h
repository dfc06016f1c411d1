// The lexical items of an ASN.1 source file, as far as the module converter
// needs them: words, numbers, strings, symbols, and anything else as invalid.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

enum class AsnTokenKind { Word, Number, String, BitOrHexString, Symbol, Invalid };

struct AsnToken {
    AsnTokenKind kind;
    std::size_t begin;  // byte offsets into the source
    std::size_t end;
    int line;            // 1-based line of the first character
    bool spaceBefore;    // white space or a comment separates it from the previous token
    bool lineStart;      // first token of its line
};

class AsnSource {
public:
    explicit AsnSource(std::string text);

    const std::string& text() const { return text_; }
    const std::vector<AsnToken>& tokens() const { return tokens_; }
    std::string_view spelling(std::size_t index) const;
    std::string_view spelling(const AsnToken& token) const;
    // Line of the last comment that was never closed ("/*" without "*/"), 0 if none.
    int unclosedCommentLine() const { return unclosedCommentLine_; }

private:
    void scan();

    std::string text_;
    std::vector<AsnToken> tokens_;
    int unclosedCommentLine_ = 0;
};

bool startsUpper(std::string_view word);
bool startsLower(std::string_view word);
