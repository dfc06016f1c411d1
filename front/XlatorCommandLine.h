// The converter's command line: banner, usage, sorting of the named files,
// output names and the keyword file of the ASN.1 conversion tool.
#pragma once

#include "front/XlatorOptions.h"

#include <cstddef>
#include <cstdio>
#include <string>

// The keyword file that the ASN.1 conversion tool reads from the working directory.
inline constexpr const char* kKeywordFile = "modconv_kwd.txt";

void printBanner(std::FILE* console);
void printUsage(std::FILE* console);

// A leading single or double quote removes the first and the last character.
std::string stripQuotes(const std::string& argument);
bool isMpFile(const std::string& name);
bool isAsnFile(const std::string& name);

struct OutputNames {
    std::string ttcn;
    std::string asn;
};
// Both files go beside the root mp file: its name up to the first "." after
// its last path separator, plus ".ttcn" and ".asn".
OutputNames outputNames(const std::string& rootMpFile);

// The directory part of the program path including its last "/" or "\"; empty
// when the path has neither.
std::string installationDirectory(const std::string& programPath);

// The longest ASN.1 file name that the list file carries on one line: the
// suite library reads it in lines of 1000 characters with the line end.
inline constexpr std::size_t kLongestListedName = 998;

// Why a named input cannot be handed on to the suite library, or empty when
// it can. A double quote or a line end would cut the name in two in the list
// of mp files, in the list of ASN.1 files or in the conversion tool's
// argument file; an ASN.1 file name must also fit one line of its list.
std::string unusableFileName(const std::string& name, bool asnFile);
// The name for a message: line ends shown as \n and \r.
std::string shownFileName(const std::string& name);

// True when both names reach one existing file (same device and inode, so
// also through links).
bool sameExistingFile(const std::string& first, const std::string& second);

bool isReadable(const std::string& path);
// Copies the installation's keyword file byte for byte into the working directory.
bool copyKeywordFile(const std::string& sourcePath);
