#include "front/XlatorCommandLine.h"

#include <cctype>
#include <sys/stat.h>


void printBanner(std::FILE* console) {
    std::fprintf(console, "%s, TTCN-2 To TTCN-3 Converter, %s\n\n", "Orvane", "3.3.0.3.19190.");
}

void printUsage(std::FILE* console) {
    std::fputs("Usage: xlator.exe [options] <root 'mp' file> [<'mp' and 'asn' files>]\n"
               "       where options are:\n"
               "       -TFT              generate 'display' attributes for tabular format\n",
               console);
}

std::string stripQuotes(const std::string& argument) {
    if (argument.size() >= 2 && (argument[0] == '\'' || argument[0] == '"'))
        return argument.substr(1, argument.size() - 2);
    return argument;
}

namespace {
// Only the first occurrence of the extension counts: it must end the name or
// be followed by a blank.
bool hasExtension(const std::string& name, const std::string& extension) {
    std::string lower = name;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string::size_type at = lower.find(extension);
    if (at == std::string::npos) return false;
    std::string::size_type after = at + extension.size();
    return after == lower.size() || lower[after] == ' ';
}
}  // namespace

bool isMpFile(const std::string& name) { return hasExtension(name, ".mp"); }
bool isAsnFile(const std::string& name) { return hasExtension(name, ".asn"); }

OutputNames outputNames(const std::string& rootMpFile) {
    std::string::size_type separator = rootMpFile.find_last_of("/\\");
    std::string::size_type from = separator == std::string::npos ? 0 : separator;
    std::string::size_type dot = rootMpFile.find('.', from);
    std::string base = dot == std::string::npos ? rootMpFile : rootMpFile.substr(0, dot);
    return {base + ".ttcn", base + ".asn"};
}

std::string installationDirectory(const std::string& programPath) {
    std::string::size_type separator = programPath.find_last_of("/\\");
    if (separator == std::string::npos) return {};
    return programPath.substr(0, separator + 1);
}

std::string unusableFileName(const std::string& name, bool asnFile) {
    if (name.find('"') != std::string::npos) return "holds a double quote";
    if (name.find_first_of("\n\r") != std::string::npos) return "holds a line end";
    if (asnFile && name.size() > kLongestListedName)
        return "is longer than " + std::to_string(kLongestListedName) + " characters";
    return {};
}

std::string shownFileName(const std::string& name) {
    std::string shown;
    for (char c : name) {
        if (c == '\n') shown += "\\n";
        else if (c == '\r') shown += "\\r";
        else shown += c;
    }
    return shown;
}

bool sameExistingFile(const std::string& first, const std::string& second) {
    struct stat a, b;
    return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

bool isReadable(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

bool copyKeywordFile(const std::string& sourcePath) {
    std::FILE* source = std::fopen(sourcePath.c_str(), "rb");
    if (!source) return false;
    std::FILE* target = std::fopen(kKeywordFile, "wb");
    if (!target) {
        std::fclose(source);
        return false;
    }
    bool ok = true;
    char buffer[8192];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, source)) > 0) {
        if (std::fwrite(buffer, 1, n, target) != n) {
            ok = false;
            break;
        }
    }
    if (std::ferror(source)) ok = false;
    if (std::fclose(source) != 0) ok = false;
    if (std::fclose(target) != 0) ok = false;
    return ok;
}
