// The symbol tables of a system of documents: per document the objects that
// its tables, groups and rows declare, and the objects imported into it from
// other documents of the system.
#pragma once

#include "tree/SymbolCode.h"
#include "suite/mp/VeldSystem.h"

#include <cstdio>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct SuiteSymbol {
    std::string_view name;
    SymbolCode code = SymbolCode::None;
    const SuiteNode* node = nullptr;  // the table, group or row that declares it
    const Document* document = nullptr;
};

// The object a table, group or row declares: its code, or None when it
// declares nothing in the document's table.
SymbolCode declaredSymbolCode(SuiteNodeType type);
// Groups and the suite itself: names that structure a suite rather than
// define something it uses.
bool isGroupCode(SymbolCode code);
// The name a table, group or row declares: the text of its first cell up to
// the first blank, "(" or line end.
std::string_view declaredName(const SuiteNode& node);

class SymbolTables {
public:
    // Rebuilds every document's table from the loaded documents. The import
    // graph of the system must be built already (the imports follow it).
    void rebuild(const VeldSystem& system);
    void clear();

    // The objects called `name` seen from `document`: its own, else those
    // imported into it (following imports of imports). Declaration order.
    std::vector<const SuiteSymbol*> lookup(const Document* document, std::string_view name) const;
    // As lookup; when nothing is found and the name holds a module qualifier
    // ("::" or "__"), the part after it is looked up in the document named by
    // the part before it.
    std::vector<const SuiteSymbol*> lookupQualified(const Document* document, std::string_view name) const;
    // The objects called `name` that `document` declares itself.
    std::vector<const SuiteSymbol*> own(const Document* document, std::string_view name) const;

    // An object import of a document: the row, the object name and the source.
    struct Import {
        std::string_view name;
        const SuiteNode* row = nullptr;
        const Document* source = nullptr;  // null when the source is not loaded
        std::string_view sourceName;
    };
    const std::vector<Import>& importsOf(const Document* document) const;

    // Prints "Unable to find object %s, imported from %s into %s.\n" for each
    // import of `document` whose source has no such object. Returns how many.
    int reportMissingImports(const Document* document, std::FILE* report) const;

    // True when `node` declares a name that an earlier table or row of its
    // document declares already (groups aside).
    bool redeclares(const Document* document, const SuiteNode* node) const;

    std::size_t symbolCount() const { return symbols_.size(); }

private:
    struct DocumentTable {
        std::unordered_map<std::string_view, std::vector<const SuiteSymbol*>> objects;
        std::vector<Import> imports;
        std::unordered_map<std::string_view, std::vector<std::size_t>> importsByName;
    };

    void addNode(const Document& document, const SuiteNode& node, DocumentTable& table);
    void lookupFrom(const Document* document, std::string_view name, int depth,
                    std::vector<const Document*>& seen, std::vector<const SuiteSymbol*>& found) const;
    const DocumentTable* tableOf(const Document* document) const;

    const VeldSystem* system_ = nullptr;
    std::deque<SuiteSymbol> symbols_;
    std::unordered_map<const Document*, DocumentTable> tables_;
};
