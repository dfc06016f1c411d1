// The suite library's error record and its catalogue of numbered error texts
// (import, association and opening failures). The analysis messages of table
// fields are a separate catalogue, in suite/analysis/.
#pragma once

#include <string>

// The numbered library errors, each with its catalogue text.
enum class LibraryErrorCode : int {
    None = 0,
    OutOfMemory = 100,
    ScannerBufferOverflow = 157,
    CreatingStructureFailed = 158,
    RemovingWhiteSpaceFailed = 159,
    IllegalMpInputParameters = 160,
    SyntaxError = 162,
    CannotCreateRoot = 164,
    IllegalVersion = 178,
    AsnConvertFailed = 229,
    AsnExtractFailed = 230,
    AsnOpenConvertedFailed = 231,
    AsnDefinitionNotFound = 232,
    AsnReadFailed = 233,
    AsnIllegalFormat = 234,
    AsnNoHandlesLeft = 235,
    FileNotReadable = 247,
};

// The catalogue text of a code, with its placeholders ("%f" a file name,
// "%a" an argument) unfilled; empty for an unknown code.
const char* libraryErrorText(LibraryErrorCode code);

enum class Severity { Warning, Error };

// What the library remembers of its last failure.
struct LibraryError {
    LibraryErrorCode code = LibraryErrorCode::None;
    Severity severity = Severity::Error;
    std::string function;  // the library function that failed
    std::string file;      // the library source file of the failure
    int line = 0;          // and its line
    std::string text;      // the formatted text, placeholders filled

    bool isSet() const { return code != LibraryErrorCode::None; }
    void clear() { *this = LibraryError{}; }
};

// Fills `error` with `code` and its text, "%f" replaced by `fileName` and
// "%a" by `argument`.
void setLibraryError(LibraryError& error, LibraryErrorCode code, const std::string& fileName = {},
                     const std::string& argument = {}, const char* function = "",
                     const char* sourceFile = "", int sourceLine = 0);
