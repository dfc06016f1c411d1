// Import of TTCN.MP files into documents, and the classification of the
// files that the opening is given.
#pragma once

#include "suite/LibraryError.h"
#include "suite/LibraryMessageCodes.h"
#include "suite/mp/Document.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

enum class FileKind { StoredSuite, Mp, Unreadable };

// Reads the first 512 bytes of a file and classifies it: a stored suite (the
// two storage headers), an MP file (after leading white space "$Suite",
// "$TTCN_Module" or "$Package"), or anything else. Sets `error` for what
// cannot be loaded: 247 for an unreadable or unknown file, and for anything
// that is not a regular file (a FIFO or a device would block the reader), 178
// for a stored suite whose version is not 8, and a refusal for any other
// stored suite (only MP files are read).
FileKind classifyFile(const std::string& fileName, LibraryError& error);
// The same on bytes already read.
FileKind classifyBytes(std::string_view head);

struct MpImportOptions {
    // Type of a new document made from a skeleton (importMpFile reads the
    // type from the file's head keyword).
    DocumentType newDocumentType = DocumentType::TestSuite;
    // Where the document goes; named by the "Created ..." trace. Empty: the
    // file name.
    std::string destination;
    // Receives the "Created ..." line; when null, standard error when
    // VELD_MP_INPUT_TRACE is set, else nowhere.
    std::FILE* trace = nullptr;
    // Receives the warnings; when null they are dropped.
    std::FILE* log = nullptr;
};

// Imports an MP file: its head is read and classified first, the rest only
// when it is an MP file. On failure returns null with `error` set; the
// error's text is the formatted message (file and line where known).
std::unique_ptr<Document> importMpFile(const std::string& fileName, const MpImportOptions& options,
                                       LibraryError& error);
// Imports MP text already in memory; `fileName` names it in messages.
std::unique_ptr<Document> importMpText(const std::string& fileName, std::string text,
                                       const MpImportOptions& options, LibraryError& error);

// The import call of the library: kMpImported on success, kMpImportFailed
// when the import failed (the error text, at most 264 characters, then goes to
// `log`, or to standard error when no log is given), kMpImportBadParameters
// for wrong parameters.
int importMp(const std::string& fileName, const MpImportOptions& options, std::unique_ptr<Document>& result,
             LibraryError& error);

// A new, empty document of types 1 to 5 made from its skeleton text (head,
// name and end on one line); null for other types.
std::unique_ptr<Document> newDocument(DocumentType type, const std::string& name, const MpImportOptions& options,
                                      LibraryError& error);

// The rewriting of an identifier with a full identifier:
// "Id (/* full */)" becomes "Id (full)". Returns false (with `text` holding
// what was already changed) when the text has "(" without the comment marks.
bool rewriteFullIdentifier(std::string& text);
