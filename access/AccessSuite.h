// The converter's handle on one loaded suite: opening loads the system of
// documents from the MP files, associates the ASN.1 files, analyses every
// table and checks that the root is a test suite; afterwards it hands out the
// root of the suite tree and finds objects by name.
#pragma once

#include "suite/LibraryError.h"
#include "tree/AccessNode.h"
#include "tree/TreeArena.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

class Document;
class VeldSystem;
class SymbolTables;
class Asn1Association;

class AccessSuite {
public:
    AccessSuite();
    ~AccessSuite();
    AccessSuite(const AccessSuite&) = delete;
    AccessSuite& operator=(const AccessSuite&) = delete;

    // Where the analysis writes its report; the converter gives standard output.
    void setReportStream(std::FILE* stream);
    // The flags of conditional table bodies: a list of flag names and a file of
    // flag names (one a line). Both empty by default.
    void setDefinedFlags(const std::string& flagList, const std::string& flagFile);

    // Opens the suite from `fileList` (each file name in double quotes and
    // followed by a blank, the root first) and the ASN.1 list file (null or
    // empty: none). 1 on success, 0 on failure after printing why. Never
    // throws: memory running out in any stage is a failure like the others
    // ("Out of memory"; see suite/OutOfMemory.h for VELD_ABORT_ON_OUT_OF_MEMORY).
    int open(const std::string& fileList, const char* asnListFile);

    // The root document's node (an ASuite for a test suite); empty when no
    // suite is open.
    AccessNode root() const;
    // The object called `name` seen from the scope of `context`: the document
    // that holds the context, else the root document. A name that two objects
    // share gives the first; a name with a module qualifier ("::" or "__")
    // looks in the module that it names. Empty when nothing is found.
    AccessNode find(const AccessNode& context, const std::string& name) const;

    // The loaded system (null when none is open), for the library's own tools.
    const VeldSystem* system() const { return system_.get(); }

private:
    // 1 while opening, as the handle's state is numbered.
    enum class State : int32_t { Closed = 0, Opening = 1 };

    int openSuite(const std::string& fileList, const char* asnListFile);
    // "ERROR in Suite::open '<text>'" on standard error.
    static void printOpenError(const LibraryError& error);
    const Document* documentHolding(const TreeNode* node) const;
    void indexDocuments();
    void unload();

    State state_ = State::Closed;
    std::unique_ptr<VeldSystem> system_;
    Document* rootDocument_ = nullptr;
    std::FILE* report_ = nullptr;
    std::string flagList_;
    std::string flagFile_;
    std::unique_ptr<SymbolTables> symbols_;
    std::unique_ptr<Asn1Association> association_;
    // Which document's arena holds a node (suite node or field), so that
    // find() knows the scope of its context in logarithmic time.
    mutable ArenaIndex documentOf_;
};
