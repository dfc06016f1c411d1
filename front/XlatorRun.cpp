#include "front/XlatorRun.h"

#include "front/Fatal.h"
#include "front/XlatorCommandLine.h"
#include "front/XlatorOutput.h"
#include "platform/TempFile.h"

#include <cctype>

namespace {

struct SortedFiles {
    std::string rootMpFile;
    std::string mpFileList;  // each name in double quotes, followed by a blank
    int mpCount = 0;
};

std::string upperCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Options set their switch; mp files join the list; asn files go to the list
// file; anything else is reported and skipped.
SortedFiles sortArguments(const std::vector<std::string>& arguments, std::FILE* asnList,
                          std::FILE* console) {
    SortedFiles files;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& given = arguments[i];
        std::string name = stripQuotes(given);
        if (!name.empty() && name[0] == '-') {
            if (upperCase(name.substr(1)) == "TFT") tabularFormat = true;
        } else if (isMpFile(name)) {
            files.mpFileList += "\"" + name + "\" ";
            if (files.mpCount == 0) files.rootMpFile = name;
            ++files.mpCount;
        } else if (isAsnFile(name)) {
            std::fprintf(asnList, "%s\n", name.c_str());
        } else {
            std::fprintf(console, "File '%s' has unknown type, skipping...\n", given.c_str());
        }
    }
    return files;
}

// Makes sure the conversion tool finds its keyword file in the working
// directory, copying it from the installation when it is missing.
bool provideKeywordFile(const std::string& programPath, std::FILE* console) {
    if (isReadable(kKeywordFile)) return true;
    std::fprintf(console, "No '%s' in the working directory, will try to copy from installation...\n",
                 kKeywordFile);
    std::string directory = installationDirectory(programPath);
    if (directory.empty()) {
        std::fprintf(console, "Unable to determine installation directory, exiting...\n");
        return false;
    }
    std::string source = directory + kKeywordFile;
    if (source[0] == '"') source += '"';
    if (!isReadable(source)) {
        std::fprintf(console, "'%s' doesn't exist or not accessible, exiting...\n", source.c_str());
        return false;
    }
    std::fprintf(console, "Copying '%s' into working directory...\n", source.c_str());
    std::fflush(console);
    if (!copyKeywordFile(source) || !isReadable(kKeywordFile)) {
        std::fprintf(console, "Failed to copy '%s', exiting...\n", source.c_str());
        return false;
    }
    return true;
}

}  // namespace

int runConverter(const std::vector<std::string>& arguments, std::FILE* console,
                 XlatorSuitePasses& suite) {
    printBanner(console);
    if (arguments.size() < 2) {
        std::fprintf(console, "No input files\n");
        printUsage(console);
        return 1;
    }

    std::string asnListName = createTempFile(".", "asn_lst");
    std::FILE* asn_list_file = asnListName.empty() ? nullptr : std::fopen(asnListName.c_str(), "w");
    XLATOR_ASSERT(asn_list_file, "Unable to create temporary file");
    SortedFiles files = sortArguments(arguments, asn_list_file, console);
    std::fclose(asn_list_file);  // left on disk for the conversion tool

    if (files.mpCount == 0) {
        std::fprintf(console, "No input 'mp' files specified\n");
        printUsage(console);
        return 1;
    }
    if (files.mpCount > 1)
        std::fprintf(console,
                     "warning: assuming '%s' contains root module (it is the first 'mp' file in "
                     "the list)\n",
                     files.rootMpFile.c_str());
    if (!provideKeywordFile(arguments[0], console)) return 1;

    std::fprintf(console, "Analyzing test suite files...\n");
    std::fflush(console);
    if (!suite.open(files.mpFileList, asnListName, console)) return 1;
    if (files.mpCount > 1)
        std::fprintf(console,
                     "warning: this converter will merge all TTCN-2 modules into single TTCN-3 "
                     "module\n");
    std::fprintf(console,
                 "warning: all ASN.1 definitions will be merged and placed into single ASN.1 "
                 "module\n");

    OutputNames names = outputNames(files.rootMpFile);
    std::FILE* ttcn_outfile = std::fopen(names.ttcn.c_str(), "w");
    XLATOR_ASSERT(ttcn_outfile, "Unable to create TTCN output file");
    std::FILE* asn_outfile = std::fopen(names.asn.c_str(), "w");
    XLATOR_ASSERT(asn_outfile, "Unable to create ASN output file");
    createOutput(ttcn_outfile, asn_outfile);

    std::fprintf(console, "Processing test suite files...\n");
    std::fflush(console);
    suite.collectDefinitions();
    suite.translate();

    std::fclose(ttcn_outfile);
    std::fclose(asn_outfile);
    std::fprintf(console, "Created two output files:\n");
    std::fprintf(console, "'%s' - with test suite specification in TTCN-3\n", names.ttcn.c_str());
    std::fprintf(console, "'%s' - with ASN.1 definitions\n", names.asn.c_str());
    std::fprintf(console, "Done.\n");
    std::fflush(console);
    return 0;
}
