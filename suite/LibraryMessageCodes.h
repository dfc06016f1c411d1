// The numbers that the layers of the suite loader report with, named in one
// place that the MP reader, the field parsers and the analysis can all
// include: the analysis catalogue numbers of their findings (the texts are in
// suite/analysis/AnalysisMessages.cpp) and the results of the MP import call.
#pragma once

inline constexpr int kAnalysisMessageCount = 160;

// Catalogue numbers that the loader reports by name.
enum AnalysisMessageNumber : int {
    kMsgNameNotUnique = 16,
    kMsgEmptyArgumentList = 18,         // "Syntax error: The argument list is not allowed to be empty.~A"
    kMsgEmptyList = 19,                 // "Syntax error: The list is not allowed to be empty."
    kMsgLabelNotDefined = 30,           // "Illegal label ~S is not defined in this context."
    kMsgReferenceNotDeclared = 33,
    kMsgInternalError = 38,             // "Internal error #~D"
    kMsgClosingParenthesisMissing = 42,
    kMsgReservedWord = 47,              // "Illegal use of reserved word ~S."
    kMsgSyntaxError = 50,
    kMsgAsn1ModuleNotFound = 118,
    kMsgAsn1TypeNotFound = 119,
    kMsgAsn1ValueNotFound = 120,
    kMsgMismatchedIfEndif = 154,
    kMsgMismatchedIfEndifInBody = 155,
    kMsgExpectedEndif = 156,
    kMsgUnexpectedEndif = 157,
};

// The internal number of message 38 when memory ran out while parsing a field
// (otherwise it is the kind that has no grammar).
inline constexpr int kInternalErrorOutOfMemory = 1;

// What the MP import call returns.
enum MpImportResult : int {
    kMpImported = 0,
    kMpImportFailed = 98,
    kMpImportBadParameters = 160,
};
