// Small checks and cuts on spans of text, shared by the MP reader, the field
// parsers and the analysis (each used to keep its own copy).
#pragma once

#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

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

// The number that `digits` spells in decimal, all of it; none when the text is
// empty, holds anything but the digits 0-9, or names a number that T cannot
// hold (a 30-digit number from a file is refused, not wrapped around).
template <class T>
std::optional<T> decimal(std::string_view digits) {
    if (digits.empty() || digits.front() < '0' || digits.front() > '9') return std::nullopt;
    T value{};
    const char* end = digits.data() + digits.size();
    auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

}  // namespace textspan
