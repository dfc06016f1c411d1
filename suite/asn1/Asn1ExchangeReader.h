// Reads one module block of the converter's exchange format into a new module
// handle of the process-wide table.
//
// A block is: "#MODULE", the module name, then type assignments ("#TYPE",
// name, "#DEFINITION", text lines) and value assignments ("#VALUE", name,
// "#TYPE", text lines, "#DEFINITION", text lines), then "#END". Lines are read
// with a limit of 1000 characters including the line end; empty lines are
// skipped but counted.
#pragma once

#include <cstdio>
#include <string>

#include "suite/LibraryError.h"
#include "suite/asn1/Asn1ModuleTable.h"

inline constexpr int kExchangeLineLimit = 1000;
inline constexpr int kExchangeDefinitionLimit = 40000;

// Parses the block in `path` into a new handle. On failure returns
// kNoAsn1Module with `error` set (233 unreadable, 234 bad format, 235 no free
// slot, 231 anything else); syntax errors are also printed on standard error.
Asn1ModuleHandle loadExchangeFile(const std::string& path, LibraryError& error);
// The same from a file already open for reading; `name` names it in errors.
Asn1ModuleHandle loadExchangeStream(std::FILE* file, const std::string& name, LibraryError& error);
