// Small checks and cuts on spans of text, shared by the MP reader, the field
// parsers and the analysis (each used to keep its own copy).
#pragma once

#include <string_view>

namespace textspan {

// Space, tab, line end, form feed, vertical tab; locale-free, unlike isspace.
inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// `text` without blanks at either end.
inline std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

inline bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace textspan
