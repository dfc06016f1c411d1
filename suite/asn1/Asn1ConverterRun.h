// One run of the ASN.1 module converter modconv.exe over a list of files, and
// extraction of one module block from its output.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "suite/LibraryError.h"

// Name prefix of every temporary file of the association.
inline constexpr const char* kAsn1TempPrefix = "Veld";

// Starts modconv.exe for `inputs` (in this order) and waits for it. On success
// returns true and the path of the converter's output file in `outputFile`;
// the caller deletes it. The converter's messages go to `messages` when given.
// On failure sets error 229 and leaves `outputFile` naming the output file to
// delete (possibly empty).
bool runModuleConverter(const std::vector<std::string>& inputs, std::FILE* messages,
                        std::string& outputFile, LibraryError& error);

// Copies the `ordinal`-th block (counting from 1) of the converter's output
// into a new temporary file and returns its path, or an empty string with
// error 230. `moduleName` receives the block's name line without its line end.
std::string extractModuleBlock(const std::string& outputFile, int ordinal, std::string& moduleName,
                               LibraryError& error);
