// The one lexer for TTCN-2 field text: turns a cell's text into tokens that
// the field parsers read. Two flavours: TTCN text, and ASN.1 text (hyphens
// inside names, "--" comments).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

enum class Tok : uint8_t {
    End, Bad, Ident, Number, Bstring, Hstring, Ostring, Cstring, FreeText,
    LParen, RParen, LBrack, RBrack, LBrace, RBrace, Comma, Semi, Colon,
    Dot, DotDot, Ellipsis, Bang, Quest, Star, Minus, Plus, Arrow,
    Less, Greater, Equal, NotEqual, LessEq, GreaterEq, Assign, Define,
    Slash, Bar,
};

struct Token {
    Tok kind = Tok::End;
    // The token as written; for strings the contents between the quotes,
    // for free text the contents between "/*" and "*/".
    std::string_view text;
    // Offset of the token's first character in the field text.
    int32_t offset = 0;
};

enum class LexMode : uint8_t { Ttcn, Asn1 };

// Tokens of the whole text, ending with one End token. A character that
// starts no token, or an unterminated string or comment, gives a Bad token
// at its place; the parser reports it as a syntax error.
std::vector<Token> lexField(std::string_view text, LexMode mode);
// The same into `out` (emptied first), which keeps its memory from call to call.
void lexField(std::string_view text, LexMode mode, std::vector<Token>& out);
