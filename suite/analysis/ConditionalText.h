// Conditional text of table fields: "#if <condition>", "#else" and "#endif"
// lines select which lines of a field take part in parsing, as a preprocessor
// would, deciding `defined(NAME)` by the set of defined flags.
#pragma once

#include "suite/analysis/AnalysisMessages.h"
#include "suite/analysis/DefinedFlags.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A finding of the filter: a catalogue number and the place (the directive's
// line, by its offset in the unfiltered text).
struct ConditionalFinding {
    int message = 0;
    AnalysisArgument place;
};

// The directive state of one text (or of one table body, fed row by row).
class ConditionalState {
public:
    explicit ConditionalState(const DefinedFlags& flags) : flags_(flags) {}

    // True when the line is a directive ("#if ", "#else" or "#endif" after
    // leading blanks).
    static bool isDirective(std::string_view line);

    // Takes one line at `offset` of the text it belongs to. Returns true when
    // the line takes part (a line that is not a directive inside selected text).
    bool feed(std::string_view line, int offset, std::vector<ConditionalFinding>& findings);
    // The state at the end of the text: an "#if" still open is reported with
    // `openMessage` at the place of the innermost open "#if".
    void finish(int openMessage, std::vector<ConditionalFinding>& findings);

    bool active() const;

private:
    struct Frame {
        bool enclosingActive;
        bool condition;
        bool inElse;
        int offset;
        std::string line;
    };
    const DefinedFlags& flags_;
    std::vector<Frame> frames_;
};

// Whether the condition text holds, or nothing when it does not follow the
// syntax: defined(NAME), "!", "&&", "||", parentheses and blanks.
std::optional<bool> evaluateCondition(std::string_view condition, const DefinedFlags& flags);

struct FilteredText {
    // False when the text has no directive: then `text` is empty and the
    // original text is parsed as it is.
    bool filtered = false;
    std::string text;
    std::vector<ConditionalFinding> findings;
};

// Filters a field's text: the lines that take part, joined by line ends.
FilteredText filterConditionalText(std::string_view text, const DefinedFlags& flags);
