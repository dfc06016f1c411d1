#include "suite/analysis/ConditionalText.h"
#include "suite/TextSpan.h"

#include <cctype>

namespace {

std::string_view trimLeft(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    return s.substr(i);
}

using textspan::startsWith;

// Recursive descent over the condition; depth bounded so that a condition of
// thousands of parentheses is a syntax failure, not a stack overflow.
class ConditionParser {
public:
    ConditionParser(std::string_view text, const DefinedFlags& flags) : text_(text), flags_(flags) {}

    std::optional<bool> parse() {
        std::optional<bool> value = parseOr(0);
        skipBlanks();
        if (!value || pos_ != text_.size()) return std::nullopt;
        return value;
    }

private:
    static constexpr int kMaxDepth = 256;

    void skipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r'))
            ++pos_;
    }
    bool take(std::string_view token) {
        skipBlanks();
        if (text_.substr(pos_, token.size()) != token) return false;
        pos_ += token.size();
        return true;
    }

    std::optional<bool> parseOr(int depth) {
        std::optional<bool> left = parseAnd(depth);
        while (left && take("||")) {
            std::optional<bool> right = parseAnd(depth);
            if (!right) return std::nullopt;
            left = *left || *right;
        }
        return left;
    }
    std::optional<bool> parseAnd(int depth) {
        std::optional<bool> left = parseUnary(depth);
        while (left && take("&&")) {
            std::optional<bool> right = parseUnary(depth);
            if (!right) return std::nullopt;
            left = *left && *right;
        }
        return left;
    }
    std::optional<bool> parseUnary(int depth) {
        if (depth > kMaxDepth) return std::nullopt;
        if (take("!")) {
            std::optional<bool> operand = parseUnary(depth + 1);
            if (!operand) return std::nullopt;
            return !*operand;
        }
        if (take("(")) {
            std::optional<bool> inner = parseOr(depth + 1);
            if (!inner || !take(")")) return std::nullopt;
            return inner;
        }
        if (take("defined")) {
            if (!take("(")) return std::nullopt;
            skipBlanks();
            std::size_t start = pos_;
            while (pos_ < text_.size() &&
                   (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_'))
                ++pos_;
            if (pos_ == start) return std::nullopt;
            std::string_view name = text_.substr(start, pos_ - start);
            if (!take(")")) return std::nullopt;
            return flags_.contains(name);
        }
        return std::nullopt;
    }

    std::string_view text_;
    const DefinedFlags& flags_;
    std::size_t pos_ = 0;
};

}  // namespace

std::optional<bool> evaluateCondition(std::string_view condition, const DefinedFlags& flags) {
    return ConditionParser(condition, flags).parse();
}

bool ConditionalState::isDirective(std::string_view line) {
    std::string_view s = trimLeft(line);
    return startsWith(s, "#if ") || startsWith(s, "#if\t") || startsWith(s, "#else") ||
           startsWith(s, "#endif");
}

bool ConditionalState::active() const {
    return frames_.empty() || (frames_.back().enclosingActive &&
                               (frames_.back().inElse ? !frames_.back().condition : frames_.back().condition));
}

bool ConditionalState::feed(std::string_view line, int offset, std::vector<ConditionalFinding>& findings) {
    std::string_view s = trimLeft(line);
    int at = offset + static_cast<int>(line.size() - s.size());
    if (startsWith(s, "#if ") || startsWith(s, "#if\t")) {
        std::optional<bool> condition = evaluateCondition(s.substr(4), flags_);
        // A condition that does not follow the syntax selects nothing of its
        // branch; the "#else" branch then takes part.
        if (!condition) findings.push_back({kMsgMismatchedIfEndif, AnalysisArgument(std::string(s), at)});
        frames_.push_back({active(), condition.value_or(false), false, at, std::string(s)});
        return false;
    }
    if (startsWith(s, "#else")) {
        if (frames_.empty() || frames_.back().inElse) {
            findings.push_back({kMsgUnexpectedEndif, AnalysisArgument(std::string(s), at)});
        } else {
            frames_.back().inElse = true;
        }
        return false;
    }
    if (startsWith(s, "#endif")) {
        if (frames_.empty()) {
            findings.push_back({kMsgUnexpectedEndif, AnalysisArgument(std::string(s), at)});
        } else {
            frames_.pop_back();
        }
        return false;
    }
    return active();
}

void ConditionalState::finish(int openMessage, std::vector<ConditionalFinding>& findings) {
    if (!frames_.empty()) {
        const Frame& open = frames_.back();
        findings.push_back({openMessage, AnalysisArgument(open.line, open.offset)});
    }
    frames_.clear();
}

FilteredText filterConditionalText(std::string_view text, const DefinedFlags& flags) {
    FilteredText result;
    // Most fields have no directive at all: leave them untouched.
    if (text.find('#') == std::string_view::npos) return result;
    bool anyDirective = false;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        if (ConditionalState::isDirective(text.substr(start, end - start))) {
            anyDirective = true;
            break;
        }
        start = end + 1;
    }
    if (!anyDirective) return result;

    result.filtered = true;
    ConditionalState state(flags);
    bool first = true;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (state.feed(line, static_cast<int>(start), result.findings)) {
            if (!first) result.text += '\n';
            result.text += line;
            first = false;
        }
        start = end + 1;
    }
    state.finish(kMsgExpectedEndif, result.findings);
    return result;
}
