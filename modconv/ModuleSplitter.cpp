#include "modconv/ModuleSplitter.h"

#include <optional>

#include "modconv/AsnLexer.h"

bool SplitResult::ok() const {
    for (const auto& message : messages)
        if (message.isError) return false;
    return !modules.empty();
}

namespace {
struct SplitFailure {
    int line;
    std::string text;
};

bool isOpen(std::string_view t) { return t == "{" || t == "(" || t == "[" || t == "[["; }
bool isClose(std::string_view t) { return t == "}" || t == ")" || t == "]" || t == "]]"; }
// A string written over several lines, as one line. In a character string
// the line ends and the blanks and tabs next to them are no part of the value;
// in a bit or hex string every white space is ignored. The exchange reader
// skips empty lines and takes a line "#TYPE" as a keyword, so a string must
// not bring its own line ends into a definition.
std::string foldedString(std::string_view spelling, bool characterString) {
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; };
    std::string out;
    for (std::size_t i = 0; i < spelling.size(); ++i) {
        char c = spelling[i];
        if (!characterString) {
            if (!isSpace(c)) out += c;
            continue;
        }
        if (c != '\n') {
            out += c;
            continue;
        }
        while (!out.empty() && (out.back() == ' ' || out.back() == '\t' || out.back() == '\r')) out.pop_back();
        while (i + 1 < spelling.size() && isSpace(spelling[i + 1])) ++i;
    }
    return out;
}

std::string_view closerOf(std::string_view open) {
    if (open == "{") return "}";
    if (open == "(") return ")";
    if (open == "[") return "]";
    return "]]";
}

class Splitter {
public:
    Splitter(const AsnSource& source, const std::set<std::string>& keywords, SplitResult& result)
        : src_(source), toks_(source.tokens()), keywords_(keywords), result_(result) {
        collectTypeNames();
    }

    void run() {
        if (src_.unclosedCommentLine())
            throw SplitFailure{src_.unclosedCommentLine(), "comment \"/*\" is never closed"};
        std::size_t at = 0;
        while (at < toks_.size()) at = module(at);
        if (result_.modules.empty()) throw SplitFailure{1, "no ASN.1 module found"};
    }

private:
    enum class HeadKind { Type, Value, Macro, Parameterised, ObjectOrMacroValue, ObjectOrValueSet };

    std::string_view text(std::size_t i) const { return src_.spelling(i); }
    int lineOf(std::size_t i) const { return i < toks_.size() ? toks_[i].line : lastLine(); }
    int lastLine() const { return toks_.empty() ? 1 : toks_.back().line; }
    bool isWord(std::size_t i) const { return i < toks_.size() && toks_[i].kind == AsnTokenKind::Word; }
    bool is(std::size_t i, std::string_view spelling) const {
        return i < toks_.size() && toks_[i].kind != AsnTokenKind::String && text(i) == spelling;
    }
    bool isKeyword(std::string_view word) const { return keywords_.count(std::string(word)) != 0; }

    // Information object classes and macros are written in capitals by
    // convention; a name that the module defines as a type is none of them.
    bool isClassLike(std::size_t i) const {
        if (!isWord(i)) return false;
        std::string_view word = text(i);
        if (word == "TYPE-IDENTIFIER" || word == "ABSTRACT-SYNTAX") return true;
        if (word.size() < 2 || isKeyword(word) || typeNames_.count(std::string(word))) return false;
        for (char c : word)
            if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-')) return false;
        return true;
    }

    void collectTypeNames() {
        for (std::size_t q = 1; q + 1 < toks_.size(); ++q)
            if (is(q, "::=") && isWord(q - 1) && startsUpper(text(q - 1)) && !is(q + 1, "CLASS") &&
                !(q >= 2 && isWord(q - 2) && toks_[q - 2].line == toks_[q - 1].line))
                typeNames_.insert(std::string(text(q - 1)));
    }

    void note(int line, std::string message) { result_.messages.push_back({false, line, std::move(message)}); }

    // Index just past the bracket group opened at `open`.
    std::size_t skipGroup(std::size_t open) const {
        std::vector<std::size_t> stack{open};
        for (std::size_t i = open + 1; i < toks_.size(); ++i) {
            if (toks_[i].kind != AsnTokenKind::Symbol) continue;
            if (isOpen(text(i))) stack.push_back(i);
            else if (isClose(text(i))) {
                if (text(i) != closerOf(text(stack.back())))
                    throw SplitFailure{lineOf(i), "\"" + std::string(text(i)) + "\" does not match \"" +
                                                      std::string(text(stack.back())) + "\" of line " +
                                                      std::to_string(lineOf(stack.back()))};
                stack.pop_back();
                if (stack.empty()) return i + 1;
            }
        }
        throw SplitFailure{lineOf(stack.back()), "\"" + std::string(text(stack.back())) + "\" is never closed"};
    }

    std::size_t skipPast(std::size_t at, std::string_view terminator, const char* what) const {
        for (std::size_t i = at; i < toks_.size(); ++i) {
            if (is(i, terminator)) return i + 1;
            if (toks_[i].kind == AsnTokenKind::Symbol && isOpen(text(i))) i = skipGroup(i) - 1;
        }
        throw SplitFailure{lineOf(at), std::string(what) + " list has no closing \"" + std::string(terminator) + "\""};
    }

    std::size_t module(std::size_t at) {
        if (!isWord(at) || !startsUpper(text(at)))
            throw SplitFailure{lineOf(at), "module name expected, found \"" + std::string(text(at)) + "\""};
        ConvertedModule module;
        module.name = std::string(text(at));
        module.line = lineOf(at);
        std::size_t i = at + 1;
        if (is(i, "{")) i = skipGroup(i);
        if (i < toks_.size() && toks_[i].kind == AsnTokenKind::String) ++i;  // IRI value
        if (!is(i, "DEFINITIONS"))
            throw SplitFailure{lineOf(i), "\"DEFINITIONS\" expected after the module name \"" + module.name +
                                              "\", found \"" + std::string(text(i)) + "\""};
        ++i;
        while (isWord(i)) ++i;  // tag default, extensibility
        if (!is(i, "::=") || !is(i + 1, "BEGIN"))
            throw SplitFailure{lineOf(i), "\"::= BEGIN\" expected in the header of module \"" + module.name + "\""};
        i += 2;
        if (is(i, "EXPORTS")) i = skipPast(i + 1, ";", "EXPORTS");
        if (is(i, "IMPORTS")) i = skipPast(i + 1, ";", "IMPORTS");
        i = body(i, module);
        result_.modules.push_back(std::move(module));
        return i;
    }

    // Assignments up to the module's END; returns the index after END.
    std::size_t body(std::size_t at, ConvertedModule& module) {
        std::size_t minHead = at;        // where the next head must start when nothing is open
        constexpr std::size_t kNone = static_cast<std::size_t>(-1);
        std::size_t open = kNone;         // head start of the assignment whose body is still open
        std::size_t openAssign = 0;       // its "::="
        std::vector<std::size_t> stack;
        for (std::size_t i = at; i < toks_.size(); ++i) {
            const AsnToken& token = toks_[i];
            if (token.kind == AsnTokenKind::Symbol && isOpen(text(i))) {
                stack.push_back(i);
                continue;
            }
            if (token.kind == AsnTokenKind::Symbol && isClose(text(i))) {
                if (stack.empty())
                    throw SplitFailure{token.line, "\"" + std::string(text(i)) + "\" without an opening bracket"};
                if (text(i) != closerOf(text(stack.back())))
                    throw SplitFailure{token.line, "\"" + std::string(text(i)) + "\" does not match \"" +
                                                       std::string(text(stack.back())) + "\" of line " +
                                                       std::to_string(lineOf(stack.back()))};
                stack.pop_back();
                continue;
            }
            if (!stack.empty()) continue;
            if (is(i, "END")) {
                if (open != kNone) finish(module, open, openAssign, i);
                else if (i != minHead)
                    throw SplitFailure{lineOf(minHead), "unexpected \"" + std::string(text(minHead)) + "\""};
                return i + 1;
            }
            if (!is(i, "::=")) continue;
            std::size_t lowest = open != kNone ? openAssign + 1 : minHead;
            HeadKind kind{};
            std::size_t head = headStart(lowest, i, kind);
            if (open == kNone && head != minHead)
                throw SplitFailure{lineOf(minHead), "unexpected \"" + std::string(text(minHead)) + "\""};
            if (open != kNone) finish(module, open, openAssign, head);
            open = kNone;
            if (kind == HeadKind::Macro) {
                if (!is(i + 1, "BEGIN"))
                    throw SplitFailure{lineOf(i), "\"BEGIN\" expected in macro \"" + std::string(text(head)) + "\""};
                std::size_t end = i + 2;
                while (end < toks_.size() && !is(end, "END")) ++end;
                if (end == toks_.size())
                    throw SplitFailure{lineOf(head), "macro \"" + std::string(text(head)) + "\" has no END"};
                note(lineOf(head), "macro definition \"" + std::string(text(head)) + "\" skipped");
                minHead = end + 1;
                i = end;
                continue;
            }
            open = head;
            openAssign = i;
            pendingKind_ = kind;
        }
        if (!stack.empty())
            throw SplitFailure{lineOf(stack.back()), "\"" + std::string(text(stack.back())) + "\" is never closed"};
        throw SplitFailure{lastLine(), "module \"" + module.name + "\" has no END"};
    }

    // Where the head of the assignment whose "::=" is at `assign` begins; no
    // earlier than `lowest`.
    std::size_t headStart(std::size_t lowest, std::size_t assign, HeadKind& kind) const {
        auto fail = [&]() -> std::size_t {
            throw SplitFailure{lineOf(assign), "cannot tell where the assignment before \"::=\" begins"};
        };
        if (assign == 0 || assign - 1 < lowest) fail();
        std::size_t j = assign - 1;
        bool braces = false;
        if (is(j, "}")) {
            int depth = 0;
            std::size_t k = j;
            for (;; --k) {
                if (is(k, "}")) ++depth;
                else if (is(k, "{") && --depth == 0) break;
                if (k == lowest) return macroValueStart(lowest, assign, kind);
            }
            if (k == lowest) return macroValueStart(lowest, assign, kind);
            j = k - 1;
            braces = true;
        }
        if (!isWord(j)) return macroValueStart(lowest, assign, kind);
        if (j + 1 == assign && is(j, "MACRO")) {
            if (j == lowest || !isWord(j - 1)) fail();
            kind = HeadKind::Macro;
            return j - 1;
        }
        std::size_t s = j;
        for (;;) {
            if (s > lowest && is(s, "IDENTIFIER") && is(s - 1, "OBJECT")) --s;
            else if (s > lowest && is(s, "STRING") && (is(s - 1, "BIT") || is(s - 1, "OCTET") || is(s - 1, "CHARACTER"))) --s;
            else if (s >= lowest + 2 && is(s - 1, ".") && isWord(s - 2)) s -= 2;
            else break;
        }
        if (startsLower(text(s))) {
            // A value reference alone before "::=" is no head: macro value notation.
            return macroValueStart(lowest, assign, kind);
        }
        bool sameLineBefore = s > lowest && isWord(s - 1) && toks_[s - 1].line == toks_[s].line;
        if (sameLineBefore && startsLower(text(s - 1))) {
            kind = isClassLike(s) && s == j && !braces ? HeadKind::ObjectOrMacroValue : HeadKind::Value;
            return s - 1;
        }
        if (sameLineBefore && toks_[s - 1].lineStart && startsUpper(text(s - 1)) && !isKeyword(text(s - 1))) {
            // "SYNTAX INTEGER ::=" may be the last clause of a macro value.
            if (auto inMacroValue = enclosingMacroValue(lowest, s - 1)) {
                kind = HeadKind::ObjectOrMacroValue;
                return *inMacroValue;
            }
            kind = HeadKind::ObjectOrValueSet;
            return s - 1;
        }
        if (isKeyword(text(s)) && text(s) != "TYPE-IDENTIFIER") return macroValueStart(lowest, assign, kind);
        // "INDEX { ifIndex } ::=" may be the last clause of a macro value.
        if (auto inMacroValue = enclosingMacroValue(lowest, s)) {
            kind = HeadKind::ObjectOrMacroValue;
            return *inMacroValue;
        }
        kind = braces ? HeadKind::Parameterised : HeadKind::Type;
        return s;
    }

    static bool allCapitals(std::string_view word) {
        for (char c : word)
            if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-')) return false;
        return true;
    }

    // When the word at `candidate` is in capitals, it may be a clause of a
    // macro value that began earlier: the start of that value, if there is
    // one outside brackets between `lowest` and `candidate`.
    std::optional<std::size_t> enclosingMacroValue(std::size_t lowest, std::size_t candidate) const {
        if (!allCapitals(text(candidate))) return std::nullopt;
        int depth = 0;
        for (std::size_t k = candidate; k-- > lowest;) {
            if (toks_[k].kind == AsnTokenKind::Symbol && isClose(text(k))) ++depth;
            else if (toks_[k].kind == AsnTokenKind::Symbol && isOpen(text(k))) --depth;
            else if (depth == 0 && isWord(k) && toks_[k].lineStart && startsLower(text(k)) && isClassLike(k + 1))
                return k;
        }
        return std::nullopt;
    }

    // Macro value notation ("name OBJECT-TYPE SYNTAX ... ::= value"): the head
    // is the last line-leading value reference followed by a capitalised macro name.
    std::size_t macroValueStart(std::size_t lowest, std::size_t assign, HeadKind& kind) const {
        for (std::size_t k = assign; k-- > lowest;) {
            if (isWord(k) && toks_[k].lineStart && startsLower(text(k)) && isClassLike(k + 1)) {
                kind = HeadKind::ObjectOrMacroValue;
                return k;
            }
        }
        throw SplitFailure{lineOf(assign), "cannot tell where the assignment before \"::=\" begins"};
    }

    // The assignment with head [head, assign) and body [assign + 1, end).
    void finish(ConvertedModule& module, std::size_t head, std::size_t assign, std::size_t end) {
        std::string name(text(head));
        int line = lineOf(head);
        if (assign + 1 >= end) throw SplitFailure{lineOf(assign), "assignment \"" + name + "\" has no definition"};
        switch (pendingKind_) {
            case HeadKind::Macro: return;
            case HeadKind::Parameterised:
                note(line, "parameterised assignment \"" + name + "\" skipped");
                return;
            case HeadKind::ObjectOrMacroValue:
                note(line, "information object or macro value \"" + name + "\" of \"" + std::string(text(head + 1)) +
                               "\" skipped");
                return;
            case HeadKind::ObjectOrValueSet:
                note(line, "object set or value set \"" + name + "\" skipped");
                return;
            case HeadKind::Type:
                if (is(assign + 1, "CLASS")) {
                    note(line, "information object class \"" + name + "\" skipped");
                    return;
                }
                if (isWord(assign + 1) && startsUpper(text(assign + 1)) && !isKeyword(text(assign + 1)) &&
                    assign + 2 < end && isWord(assign + 2)) {
                    note(line, "type \"" + name + "\" in macro notation (" + std::string(text(assign + 1)) +
                                   ") skipped");
                    return;
                }
                module.assignments.push_back({false, name, {}, cleanText(name, assign + 1, end), line});
                return;
            case HeadKind::Value:
                if (is(head + 1, "{")) {
                    note(line, "parameterised assignment \"" + name + "\" skipped");
                    return;
                }
                module.assignments.push_back(
                    {true, name, cleanText(name, head + 1, assign), cleanText(name, assign + 1, end), line});
                return;
        }
    }

    // The tokens [from, to) without comments, runs of white space made one
    // blank, wrapped into lines the exchange reader takes.
    std::string cleanText(const std::string& owner, std::size_t from, std::size_t to) const {
        std::string out;
        std::size_t lineLength = 0;
        for (std::size_t i = from; i < to; ++i) {
            const AsnToken& token = toks_[i];
            std::string_view spelling = text(i);
            if (token.kind == AsnTokenKind::Invalid)
                throw SplitFailure{token.line, "\"" + std::string(spelling) + "\" is not ASN.1 (in \"" + owner + "\")"};
            std::string folded;
            if ((token.kind == AsnTokenKind::String || token.kind == AsnTokenKind::BitOrHexString) &&
                spelling.find('\n') != std::string_view::npos) {
                folded = foldedString(spelling, token.kind == AsnTokenKind::String);
                spelling = folded;
            }
            std::size_t firstLine = spelling.find('\n');
            std::size_t headLength = firstLine == std::string_view::npos ? spelling.size() : firstLine;
            if (i != from) {
                if (token.spaceBefore && lineLength + 1 + headLength > kWrapWidth) {
                    out += '\n';
                    lineLength = 0;
                } else if (lineLength + headLength > kMaxExchangeLine) {
                    out += '\n';  // a line break between two lexical items changes nothing
                    lineLength = 0;
                } else if (token.spaceBefore) {
                    out += ' ';
                    ++lineLength;
                }
            }
            out += spelling;
            std::size_t lastBreak = spelling.rfind('\n');
            lineLength = lastBreak == std::string_view::npos ? lineLength + spelling.size() : spelling.size() - lastBreak - 1;
            if (headLength > kMaxExchangeLine || lineLength > kMaxExchangeLine)
                throw SplitFailure{token.line, "a lexical item of \"" + owner + "\" is longer than an exchange line"};
        }
        if (out.find("#MODULE") != std::string::npos || out.find("#END") != std::string::npos)
            throw SplitFailure{lineOf(from), "\"" + owner + "\" holds \"#MODULE\" or \"#END\", which the exchange format cannot carry"};
        if (out.size() > kMaxDefinitionText)
            throw SplitFailure{lineOf(from), "the definition of \"" + owner + "\" has " + std::to_string(out.size()) +
                                                 " characters; the exchange format takes at most " +
                                                 std::to_string(kMaxDefinitionText)};
        return out;
    }

    const AsnSource& src_;
    const std::vector<AsnToken>& toks_;
    const std::set<std::string>& keywords_;
    SplitResult& result_;
    std::set<std::string> typeNames_;
    HeadKind pendingKind_ = HeadKind::Type;
};
}  // namespace

SplitResult splitModules(std::string sourceText, const std::set<std::string>& keywords) {
    SplitResult result;
    if (sourceText.size() >= kMaxAsnSourceSize) {
        result.messages.push_back({true, 1, "the file is too large (4 GiB or more)"});
        return result;
    }
    AsnSource source(std::move(sourceText));
    try {
        Splitter(source, keywords, result).run();
    } catch (const SplitFailure& failure) {
        result.messages.push_back({true, failure.line, failure.text});
    }
    return result;
}
