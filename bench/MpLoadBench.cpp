// Loads MP files as the converter does up to the field parser: classify, scan,
// read the table structure, link the system and build the suite tree (cells
// without parse trees). Prints the documents, nodes and bytes loaded.
#include "suite/mp/SuiteTreeBuilder.h"
#include "suite/mp/VeldSystem.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: mp_load_bench ROOT.mp [MODULE.mp ...]\n");
        return 2;
    }
    std::vector<std::string> files(argv + 1, argv + argc);
    VeldSystem system;
    LibraryError error;
    if (!system.load(files, nullptr, error)) {
        std::fprintf(stderr, "%s\n", error.text.c_str());
        return 1;
    }
    system.rebuildImportGraph(stdout);
    std::size_t bytes = 0, nodes = 0, arena = 0;
    for (const auto& document : system.documents()) {
        buildSuiteTree(*document);
        bytes += document->fileSize();
        nodes += document->nodeCount();
        arena += document->arena().bytesUsed();
    }
    std::printf("documents %zu, bytes %zu, suite nodes %zu, tree arena bytes %zu\n", system.documents().size(), bytes,
                nodes, arena);
    return 0;
}
