// The ASN.1 reserved words, read from the keyword file of the working directory.
#pragma once

#include <optional>
#include <set>
#include <string>

inline constexpr const char* kKeywordFileName = "modconv_kwd.txt";

// Words separated by white space; lines that begin with "#" are comments.
// None when the file cannot be read or holds no word.
std::optional<std::set<std::string>> readKeywordFile(const std::string& path);
