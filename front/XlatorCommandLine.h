// The converter's command line: banner, usage, sorting of the named files,
// output names and the keyword file of the ASN.1 conversion tool.
#pragma once

#include "front/XlatorOptions.h"

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

bool isReadable(const std::string& path);
// Copies the installation's keyword file byte for byte into the working directory.
bool copyKeywordFile(const std::string& sourcePath);
