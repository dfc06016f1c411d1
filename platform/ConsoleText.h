// Writing messages that quote outside text (a table cell, a line of an ASN.1
// file). Such text may hold NUL bytes; written as a C string it would end at
// the first one. These write by length and show every NUL byte as "<NUL>".
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

inline constexpr std::string_view kShownNulByte = "<NUL>";

// The text with every NUL byte replaced by "<NUL>".
std::string showNulBytes(std::string_view text);

// Writes the text, NUL bytes shown, to `stream`; false when the write fails.
bool writeConsoleText(std::FILE* stream, std::string_view text);
