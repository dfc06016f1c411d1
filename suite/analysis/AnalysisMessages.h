// The analysis message catalogue: 160 numbered texts whose placeholders are
// filled from a message's arguments in order. "~S" and "~s" take an object
// name, "~D" a decimal number, "~A" a place in the analysed field's text.
#pragma once

#include "suite/LibraryMessageCodes.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The shown text when a "~A" place cannot be found in the field's text.
inline constexpr std::string_view kUnableToFindSubstring = "(unable to find substring)";

// The catalogue text, placeholders unfilled; empty for 45, 52 and any number
// outside the catalogue.
std::string_view analysisMessageText(int number);

// One argument of a message. For "~A" the text is the part of the field's text
// the message is about; `offset` is where it starts in the field's text when
// the parser knows it (-1: search for the text).
struct AnalysisArgument {
    std::string text;
    int offset = -1;

    AnalysisArgument() = default;
    AnalysisArgument(std::string value, int at = -1) : text(std::move(value)), offset(at) {}
    AnalysisArgument(const char* value) : text(value) {}
    static AnalysisArgument number(long long value) { return AnalysisArgument(std::to_string(value)); }
};

// The place "~A" stands for: a line end, the line of the field's text that
// holds the place, a line end, and a caret under the place's first character.
// "(unable to find substring)" when the place is not in the text.
std::string showPlace(std::string_view fieldText, const AnalysisArgument& place);

// The message's text with its placeholders filled from `arguments` in order
// (a placeholder without an argument is left empty).
std::string formatAnalysisMessage(int number, const std::vector<AnalysisArgument>& arguments,
                                  std::string_view fieldText);
