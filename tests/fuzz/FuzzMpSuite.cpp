// Harness: one MP file through the MP importer, the analysis and the suite
// tree build, in the order the suite opening runs them (AccessSuite::open),
// but on text held in memory and with every report dropped.
#include "tests/fuzz/FuzzHarness.h"

#include "suite/analysis/DefinedFlags.h"
#include "suite/analysis/SuiteAnalyzer.h"
#include "suite/analysis/SymbolTables.h"
#include "suite/mp/MpImport.h"
#include "suite/mp/SuiteTreeBuilder.h"
#include "suite/mp/VeldSystem.h"

#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    MpImportOptions options;
    LibraryError error;
    std::unique_ptr<Document> document = importMpText("fuzz.mp", std::move(text), options, error);
    if (!document) return 0;

    VeldSystem system;
    system.add(std::move(document));
    SymbolTables symbols;
    DefinedFlags& flags = definedFlags();
    flags.clear();
    SuiteAnalyzer analyzer(system, symbols, flags);
    AnalysisRequest request;
    AnalysisState state = analyzer.analyseSystem(system.root(), request, error);
    if (!analysisSucceeded(state) || error.isSet()) return 0;
    if (system.root()->type() == DocumentType::Module) {
        system.rebuildImportGraph(nullptr);
        symbols.rebuild(system);
    }
    for (const std::unique_ptr<Document>& each : system.documents()) buildSuiteTree(*each);
    return 0;
}
