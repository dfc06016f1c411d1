#include "access/AccessSuite.h"

#include "tree/AccessReport.h"
#include "platform/ConsoleText.h"
#include "platform/Environment.h"
#include "suite/analysis/DefinedFlags.h"
#include "suite/LibrarySettings.h"
#include "suite/OutOfMemory.h"
#include "suite/analysis/SuiteAnalyzer.h"
#include "suite/analysis/SymbolTables.h"
#include "suite/asn1/Asn1Association.h"
#include "suite/mp/SuiteTreeBuilder.h"
#include "suite/mp/VeldSystem.h"

#include <new>
#include <sys/stat.h>


namespace {

// The library's first-use set-up: the working directory of the suite's files.
void initialiseLibraryOnce(bool sourceDirectorySet) {
    static bool initialised = false;
    if (initialised) return;
    initialised = true;
    if (sourceDirectorySet) return;
    std::optional<std::string> dir = nonEmptyEnvironmentValue("TMP");
    if (!dir) dir = nonEmptyEnvironmentValue("TEMP");
    libraryDirectories().target = dir ? *dir : std::string("C:\\temp");
}

bool fileExists(const char* path) {
    struct stat st{};
    return ::stat(path, &st) == 0;
}

bool isSuiteRoot(DocumentType type) {
    return type == DocumentType::TestSuite || type == DocumentType::ModularTestSuite ||
           type == DocumentType::FlatView;
}


}  // namespace

AccessSuite::AccessSuite() = default;

AccessSuite::~AccessSuite() { unload(); }

void AccessSuite::setReportStream(std::FILE* stream) { report_ = stream; }

void AccessSuite::setDefinedFlags(const std::string& flagList, const std::string& flagFile) {
    flagList_ = flagList;
    flagFile_ = flagFile;
}

void AccessSuite::unload() {
    rootDocument_ = nullptr;
    documentOf_.clear();
    symbols_.reset();
    association_.reset();
    system_.reset();
}

int AccessSuite::open(const std::string& fileList, const char* asnListFile) {
    resetLibraryOutOfMemory();
    try {
        return openSuite(fileList, asnListFile);
    } catch (const std::bad_alloc&) {
        // Whatever stage ran out, the memory goes back before anything is said.
        unload();
        state_ = State::Closed;
        libraryOutOfMemory();
        LibraryError error;
        setLibraryError(error, LibraryErrorCode::OutOfMemory, {}, {}, __func__, __FILE__, __LINE__);
        printOpenError(error);
        return 0;
    }
}

int AccessSuite::openSuite(const std::string& fileList, const char* asnListFile) {
    // 1. Opening; nothing loaded.
    state_ = State::Opening;
    unload();
    bool sourceDirectorySet = LibrarySettings::sourceDirectory().has_value();

    // 2. The library's set-up, once per process.
    initialiseLibraryOnce(sourceDirectorySet);
    if (sourceDirectorySet) {
        libraryDirectories().source = *LibrarySettings::sourceDirectory();
        if (LibrarySettings::targetDirectory()) libraryDirectories().target = *LibrarySettings::targetDirectory();
    }

    // 3. The system of documents, read-only, from the file list.
    LibraryError error;
    auto system = std::make_unique<VeldSystem>();
    bool loaded = system->loadFromList(fileList, nullptr, error);
    if (loaded && system->root()) {
        system_ = std::move(system);
        symbols_ = std::make_unique<SymbolTables>();
        association_ = std::make_unique<Asn1Association>();
    }

    // 4. The ASN.1 association; its failures leave entries out, and the
    // analysis reports the references that stay unresolved.
    if (system_ && asnListFile && *asnListFile && fileExists(asnListFile)) {
        LibraryError associationError;
        association_->update_from_file(asnListFile, associationError);
    }

    bool graphBuilt = false;
    if (system_) {
        // 5. The root document; a flat view is analysed as the whole system.
        Document* root = system_->root();

        // 6. The defined flags, then the analysis of the whole system.
        DefinedFlags& flags = definedFlags();
        flags.clear();
        flags.addFromText(flagList_);
        AnalysisState state = AnalysisState::NotAnalysed;
        if (!flagFile_.empty() && !flags.addFromFile(flagFile_)) {
            if (report_) std::fprintf(report_, "Can't open file with defined flags: %s\n", flagFile_.c_str());
        } else {
            SuiteAnalyzer analyzer(*system_, *symbols_, flags);
            analyzer.setAsn1Association(association_.get());
            AnalysisRequest request;
            request.report = report_;
            state = analyzer.analyseSystem(root, request, error);
            graphBuilt = root->type() != DocumentType::Module;
        }

        // 7. Only a suite analysed without errors is opened.
        if (!analysisSucceeded(state)) {
            std::fputs("ERROR: Failed analysis in AccessSuite::open.\n", stderr);
            unload();
            // A cell that could not be parsed for want of memory failed the
            // analysis; the report only calls that an internal error.
            if (libraryRanOutOfMemory()) {
                setLibraryError(error, LibraryErrorCode::OutOfMemory, {}, {}, __func__, __FILE__, __LINE__);
                printOpenError(error);
            }
            state_ = State::Closed;
            return 0;
        }

        // 8. An import graph the analysis did not build is built now, its
        // findings on standard output.
        if (!graphBuilt) {
            system_->rebuildImportGraph(stdout);
            symbols_->rebuild(*system_);
        }
    }

    // 9. A test suite root is kept; any other root is refused.
    if (!error.isSet() && system_) {
        Document* root = system_->root();
        if (isSuiteRoot(root->type())) {
            for (const std::unique_ptr<Document>& document : system_->documents()) buildSuiteTree(*document);
            indexDocuments();
            rootDocument_ = root;
            state_ = State::Closed;
            return 1;
        }
        // Unloading releases memory only and never leaves an error, so the
        // refusal is always this fixed text (an error left by unloading would
        // be shown cut to 1023 characters instead).
        unload();
        std::fputs("ERROR in AccessSuite::open 'Could not open non-TestSuite document'\n", stderr);
        state_ = State::Closed;
        return 0;
    }
    unload();
    state_ = State::Closed;
    // 10. Nothing loaded and no error to tell.
    if (!error.isSet()) {
        std::fputs("ERROR in Suite::open 'Unable to open system'\n", stderr);
        return 0;
    }
    // 11. The library's error.
    printOpenError(error);
    return 0;
}

void AccessSuite::printOpenError(const LibraryError& error) {
    // The text may quote the file (a syntax error's detail): written by length.
    writeConsoleText(stderr, "ERROR in Suite::open '" + formatLibraryError(error) + "'\n");
}

AccessNode AccessSuite::root() const {
    if (!rootDocument_ || !rootDocument_->root()) return AccessNode();
    return AccessNode::fromSuiteNode(rootDocument_->root()->treeNode);
}

void AccessSuite::indexDocuments() {
    documentOf_.clear();
    for (const std::unique_ptr<Document>& document : system_->documents())
        documentOf_.add(document->arena(), document.get());
}

const Document* AccessSuite::documentHolding(const TreeNode* node) const {
    return static_cast<const Document*>(documentOf_.ownerOf(node));
}

AccessNode AccessSuite::find(const AccessNode& context, const std::string& name) const {
    if (context.isEmpty() || name.empty()) {
        accessReport("AccessSuite::find: no context or no name\n");
        return AccessNode();
    }
    if (!system_ || !symbols_) return AccessNode();
    const Document* scope = documentHolding(context.treeNode());
    if (!scope) scope = rootDocument_;
    std::vector<const SuiteSymbol*> found = symbols_->lookupQualified(scope, name);
    if (found.empty()) return AccessNode();
    if (found.size() > 1) accessReport("AccessSuite::find: %s is multiply defined\n", name.c_str());
    return AccessNode::fromSuiteNode(found.front()->node->treeNode);
}
