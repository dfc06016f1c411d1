#include "suite/LibraryError.h"

namespace {
struct CatalogueEntry {
    LibraryErrorCode code;
    const char* text;
};

constexpr CatalogueEntry kCatalogue[] = {
    {LibraryErrorCode::OutOfMemory, "Out of memory"},
    {LibraryErrorCode::ScannerBufferOverflow, "Scanner buffer overflow (probably an unmatched ' or \")"},
    {LibraryErrorCode::CreatingStructureFailed, "Creating suite structure failed, internal error 1229"},
    {LibraryErrorCode::RemovingWhiteSpaceFailed, "Removing white spaces is failed, internal error 1230"},
    {LibraryErrorCode::IllegalMpInputParameters, "Illegal parameters to mp-input, internal error 1245"},
    {LibraryErrorCode::SyntaxError, "Syntax error"},
    {LibraryErrorCode::CannotCreateRoot, "Can not create root"},
    {LibraryErrorCode::IllegalVersion, "Illegal version of file %f"},
    {LibraryErrorCode::AsnConvertFailed, "Unable to convert ASN.1 module"},
    {LibraryErrorCode::AsnExtractFailed, "Unable to extract TTCN representation of ASN.1 module"},
    {LibraryErrorCode::AsnOpenConvertedFailed, "Couldn't open converted ASN.1 modulefile"},
    {LibraryErrorCode::AsnDefinitionNotFound, "Unable to retrieve value or type definition"},
    {LibraryErrorCode::AsnReadFailed, "Couldn't read file"},
    {LibraryErrorCode::AsnIllegalFormat, "Converted ASN.1 module contains illegal format"},
    {LibraryErrorCode::AsnNoHandlesLeft, "No handles left for ASN.1 modules. Reached maximum"},
    {LibraryErrorCode::FileNotReadable, "File %f not found or not readable"},
};

void replaceAll(std::string& text, const std::string& placeholder, const std::string& value) {
    for (std::size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at + value.size()))
        text.replace(at, placeholder.size(), value);
}
}  // namespace

const char* libraryErrorText(LibraryErrorCode code) {
    for (const auto& entry : kCatalogue)
        if (entry.code == code) return entry.text;
    return "";
}

void setLibraryError(LibraryError& error, LibraryErrorCode code, const std::string& fileName,
                     const std::string& argument, const char* function, const char* sourceFile,
                     int sourceLine) {
    error.code = code;
    error.severity = Severity::Error;
    error.function = function;
    error.file = sourceFile;
    error.line = sourceLine;
    error.text = libraryErrorText(code);
    replaceAll(error.text, "%f", fileName);
    replaceAll(error.text, "%a", argument);
}
