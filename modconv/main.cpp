// modconv.exe: converts ASN.1 modules into the exchange format of the suite
// library. Usage: modconv.exe -l <argument file>, where the argument file holds
// " -q -i <output file> "<input 1>" "<input 2>" ...". Writes one block per
// input file, in input order. Exit status 0 when every file converted, 1 when
// some could not be, 2 when the call itself is wrong.
#include <cstdio>
#include <optional>
#include <string>

#include "modconv/ConverterArguments.h"
#include "modconv/ExchangeWriter.h"
#include "modconv/Keywords.h"
#include "modconv/ModuleSplitter.h"
#include "platform/ConsoleText.h"
#include "platform/InputFile.h"

namespace {
constexpr const char* kProgram = "modconv.exe";

int usage(const char* problem) {
    std::fprintf(stderr, "%s: %s\nusage: %s -l <argument file>\n", kProgram, problem, kProgram);
    return 2;
}

// Messages quote the source (names, tokens), which may hold NUL bytes.
void printMessages(const std::string& file, const SplitResult& result) {
    for (const auto& message : result.messages)
        writeConsoleText(stderr, file + ":" + std::to_string(message.line) + ": " +
                                     (message.isError ? "error" : "note") + ": " + message.text + "\n");
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || std::string(argv[1]) != "-l") return usage("the argument file must be given with -l");
    std::string argumentText;
    if (!readRegularFile(argv[2], argumentText)) {
        std::fprintf(stderr, "%s: cannot read the argument file \"%s\"\n", kProgram, argv[2]);
        return 2;
    }
    std::string problem;
    std::optional<std::string> line = argumentLineOf(argumentText, problem);
    std::optional<ConverterArguments> arguments;
    if (line) arguments = parseArgumentLine(*line, problem);
    if (!arguments) return usage(("argument file: " + problem).c_str());
    auto keywords = readKeywordFile(kKeywordFileName);
    if (!keywords) {
        std::fprintf(stderr, "%s: cannot read the ASN.1 keyword file \"%s\" in the working directory\n", kProgram,
                     kKeywordFileName);
        return 2;
    }

    std::string exchange;
    int failed = 0;
    for (const auto& input : arguments->inputFiles) {
        std::string source;
        // Only a regular file is read: a FIFO or a device would block or never end.
        if (!readRegularFile(input, source)) {
            std::fprintf(stderr, "%s: error: cannot read \"%s\" (not found, not readable or not a regular file)\n",
                         input.c_str(), input.c_str());
            ++failed;
            continue;
        }
        SplitResult result = splitModules(std::move(source), *keywords);
        printMessages(input, result);
        if (!result.ok()) {
            std::fprintf(stderr, "%s: error: not converted\n", input.c_str());
            ++failed;
            continue;
        }
        if (result.modules.size() > 1)
            std::fprintf(stderr, "%s: note: %zu modules in one file; all their assignments go under \"%s\"\n",
                         input.c_str(), result.modules.size(), result.modules.front().name.c_str());
        if (!arguments->quiet) {
            std::size_t count = 0;
            for (const auto& module : result.modules) count += module.assignments.size();
            std::printf("%s: module %s, %zu assignments\n", input.c_str(), result.modules.front().name.c_str(), count);
        }
        exchange += exchangeBlock(result.modules);
    }

    std::FILE* out = std::fopen(arguments->outputFile.c_str(), "w");
    if (!out) {
        std::fprintf(stderr, "%s: cannot write the output file \"%s\"\n", kProgram, arguments->outputFile.c_str());
        return 1;
    }
    bool written = std::fwrite(exchange.data(), 1, exchange.size(), out) == exchange.size();
    written = std::fclose(out) == 0 && written;
    if (!written) {
        std::fprintf(stderr, "%s: writing \"%s\" failed\n", kProgram, arguments->outputFile.c_str());
        return 1;
    }
    if (failed) {
        std::fprintf(stderr, "%s: %d of %zu files could not be converted\n", kProgram, failed,
                     arguments->inputFiles.size());
        return 1;
    }
    return 0;
}
