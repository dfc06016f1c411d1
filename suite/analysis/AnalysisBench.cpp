// Times the loading and the analysis of a suite: the MP import of every file,
// then the parsing and analysis of every cell, each with its own wall time.
// usage: analysis_bench ROOT.mp [MODULE.mp ...]
#include "suite/analysis/DefinedFlags.h"
#include "suite/analysis/SuiteAnalyzer.h"
#include "suite/mp/SuiteTreeBuilder.h"

#include <chrono>
#include <cstdio>
#include <sys/stat.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s ROOT.mp [MODULE.mp ...]\n", argv[0]);
        return 2;
    }
    std::vector<std::string> files(argv + 1, argv + argc);
    double bytes = 0;
    for (const std::string& file : files) {
        struct stat st{};
        if (::stat(file.c_str(), &st) == 0) bytes += static_cast<double>(st.st_size);
    }
    using Clock = std::chrono::steady_clock;
    auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };

    auto start = Clock::now();
    VeldSystem system;
    LibraryError error;
    if (!system.load(files, nullptr, error)) {
        std::fprintf(stderr, "load failed: %s\n", error.text.c_str());
        return 1;
    }
    auto loaded = Clock::now();
    SymbolTables symbols;
    SuiteAnalyzer analyzer(system, symbols, definedFlags());
    AnalysisRequest request;
    request.report = stdout;
    AnalysisState state = analyzer.analyseSystem(system.root(), request, error);
    auto analysed = Clock::now();
    for (const std::unique_ptr<Document>& document : system.documents()) buildSuiteTree(*document);
    auto built = Clock::now();

    double mb = bytes / 1e6;
    std::fprintf(stderr,
                 "%.1f MB: load %.2f s (%.1f MB/s), analysis %.2f s (%.1f MB/s), tree %.2f s; %zu symbols; %s\n", mb,
                 seconds(loaded - start), mb / seconds(loaded - start), seconds(analysed - loaded),
                 mb / seconds(analysed - loaded), seconds(built - analysed), symbols.symbolCount(),
                 analysisSucceeded(state) ? "analysed" : "analysis failed");
    return analysisSucceeded(state) ? 0 : 1;
}
