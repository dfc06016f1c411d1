#include "front/XlatorRun.h"

#include "front/Fatal.h"
#include "front/XlatorCommandLine.h"
#include "front/XlatorOutput.h"
#include "platform/TempFile.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <new>

namespace {

struct SortedFiles {
    std::string rootMpFile;
    std::string mpFileList;  // each name in double quotes, followed by a blank
    int mpCount = 0;
    std::vector<std::string> inputs;  // every mp and asn file, quotes removed
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
            files.inputs.push_back(name);
        } else if (isAsnFile(name)) {
            std::fprintf(asnList, "%s\n", name.c_str());
            files.inputs.push_back(name);
        } else {
            std::fprintf(console, "File '%s' has unknown type, skipping...\n", given.c_str());
        }
    }
    return files;
}

// A name that the suite library could not be handed intact is refused before
// anything is written: the lists it travels in separate names by double
// quotes and line ends.
bool fileNamesAreUsable(const std::vector<std::string>& arguments, std::FILE* console) {
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        std::string name = stripQuotes(arguments[i]);
        if (!name.empty() && name[0] == '-') continue;
        bool asn = !isMpFile(name) && isAsnFile(name);
        if (!asn && !isMpFile(name)) continue;
        std::string problem = unusableFileName(name, asn);
        if (problem.empty()) continue;
        std::fflush(console);
        std::fprintf(stderr,
                     "ERROR: the file name '%s' %s, which the suite library cannot take: rename or move "
                     "the file.\n",
                     shownFileName(name).c_str(), problem.c_str());
        return false;
    }
    return true;
}

// Opening an output file truncates it: refused when it is one of the inputs,
// by name or through a link.
bool outputsSpareTheInputs(const OutputNames& names, const std::vector<std::string>& inputs,
                           std::FILE* console) {
    for (const std::string* output : {&names.ttcn, &names.asn})
        for (const std::string& input : inputs) {
            if (!sameExistingFile(*output, input)) continue;
            std::fflush(console);
            std::fprintf(stderr,
                         "ERROR: the output file '%s' is the input file '%s': writing it would destroy "
                         "the input.\nThe output files take the root 'mp' file's name up to its first '.', "
                         "then '.ttcn' and '.asn': rename or move the input file or the root 'mp' file.\n",
                         output->c_str(), input.c_str());
            return false;
        }
    return true;
}

// Closes an output file; a failure means that data written never reached it.
bool closeOutput(std::FILE* file, const std::string& name) {
    if (std::fclose(file) == 0) return true;
    std::fprintf(stderr, "ERROR: Unable to write output file '%s': %s\n", name.c_str(), std::strerror(errno));
    return false;
}

// The console's lines are part of the result: "Done." that never arrived is no success.
bool consoleWasWritten(std::FILE* console) {
    int failed = std::fflush(console) != 0 ? errno : 0;
    if (!failed && !std::ferror(console)) return true;
    std::fprintf(stderr, "ERROR: Unable to write the console messages%s%s\n", failed ? ": " : "",
                 failed ? std::strerror(failed) : "");
    return false;
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

    if (!fileNamesAreUsable(arguments, console)) return 1;

    TempFile asnList = TempFile::create(".", "asn_lst");
    std::FILE* asn_list_file = asnList.stream();
    XLATOR_ASSERT(asn_list_file, "Unable to create temporary file");
    asnList.keep();  // left on disk for the conversion tool
    const std::string asnListName = asnList.path();
    SortedFiles files = sortArguments(arguments, asn_list_file, console);
    if (!asnList.close()) {
        std::fprintf(stderr, "ERROR: Unable to write the temporary file '%s': %s\n", asnListName.c_str(),
                     std::strerror(errno));
        return 1;
    }

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
    OutputNames names = outputNames(files.rootMpFile);
    if (!outputsSpareTheInputs(names, files.inputs, console)) return 1;
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

    std::FILE* ttcn_outfile = std::fopen(names.ttcn.c_str(), "w");
    XLATOR_ASSERT(ttcn_outfile, "Unable to create TTCN output file");
    std::FILE* asn_outfile = std::fopen(names.asn.c_str(), "w");
    XLATOR_ASSERT(asn_outfile, "Unable to create ASN output file");
    createOutput(ttcn_outfile, asn_outfile, names.ttcn, names.asn);

    std::fprintf(console, "Processing test suite files...\n");
    std::fflush(console);
    try {
        suite.collectDefinitions();
        suite.translate();
    } catch (const std::bad_alloc&) {
        XLATOR_INTERNAL_ERROR("Out of memory");
    }

    bool closed = closeOutput(ttcn_outfile, names.ttcn);
    closed = closeOutput(asn_outfile, names.asn) && closed;
    if (!closed) return 1;
    std::fprintf(console, "Created two output files:\n");
    std::fprintf(console, "'%s' - with test suite specification in TTCN-3\n", names.ttcn.c_str());
    std::fprintf(console, "'%s' - with ASN.1 definitions\n", names.asn.c_str());
    std::fprintf(console, "Done.\n");
    return consoleWasWritten(console) ? 0 : 1;
}
